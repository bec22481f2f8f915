#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/RunCli.h"

namespace {

using pagelark::Cli;
using pagelark::CliRun;
using pagelark::ReadFile;

const std::string kSample = std::string("'") + PAGELARK_SAMPLES + "/news.html'";
const std::string kScript = std::string(PAGELARK_SAMPLES) + "/watch.xml";

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "pagelark-cli-" + std::to_string(::getpid()) + "-" + name;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

TEST(Cli, FlattenPrintsTextAndLinksInNumberOrder) {
    const CliRun run =
        Cli("flatten --base http://news.example.org/local/index.html --links " + kSample);
    ASSERT_EQ(run.status, 0);
    const size_t lineEnd = run.out.find('\n');
    const std::string text = run.out.substr(0, lineEnd);
    EXPECT_EQ(text.find('<'), std::string::npos);
    EXPECT_NE(text.find("Price: 12.50 USD"), std::string::npos);
    EXPECT_NE(text.find("__A2;New footbridge opens over the river __A;"), std::string::npos);
    const std::string links = run.out.substr(lineEnd + 1);
    EXPECT_EQ(links.substr(0, links.find('\n')), "__A0;\thttp://news.example.org/");
    EXPECT_NE(links.find("__A4;\thttp://news.example.org/archive/market.html?day=2\n"),
              std::string::npos);
    EXPECT_NE(links.find("__A6;\thttp://cdn.example.org/sport/final.html\n"), std::string::npos);
    EXPECT_LT(links.find("__A9;"), links.find("__A10;")) << links;
}

TEST(Cli, ExtractPrintsTheResultLine) {
    EXPECT_EQ(Cli("extract --filter 'Price:#DATA,1,2#' " + kSample).out, "12.50 USD \n");
    EXPECT_EQ(Cli("extract --filter 'Nothing here#DATA,1#' " + kSample).out, "N/A\n");
    EXPECT_EQ(Cli("extract --filter 'Weather#PARA,1,3,NEAR Today#' - < " + kSample).out,
              "sunny spells, light \n");
}

TEST(Cli, ExtractJsonShape) {
    const CliRun run = Cli(
        "extract --json --base http://h/d/ --filter 'Headlines#HREF,3,10#More news' " + kSample);
    ASSERT_EQ(run.status, 0);
    const nlohmann::ordered_json json = nlohmann::ordered_json::parse(run.out);
    std::vector<std::string> keys;
    for (const auto& item : json.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"result", "entries", "preview", "preview_height",
                                              "links"}));
    EXPECT_EQ(json["result"], "3 Items Found");
    EXPECT_EQ(json["preview"],
              "1. New footbridge opens over the river\n2. Library extends weekend opening hours\n"
              "3. Farmers' market moves to the square\n");
    EXPECT_EQ(json["preview_height"], 60);  // no screen to measure the font: 56 + 4
    EXPECT_TRUE(json["entries"].get<std::string>().starts_with("__A2;<++<1. New footbridge"));
    EXPECT_EQ(json["links"]["__A3;"], "http://h/d/stories/library.html");
    EXPECT_EQ(json["links"].size(), 11u);

    const nlohmann::json none =
        nlohmann::json::parse(Cli("extract --json --filter 'Zebra#DATA,1#' " + kSample).out);
    EXPECT_EQ(none["result"], "N/A");
    EXPECT_EQ(none["entries"], "");
    EXPECT_EQ(none["preview_height"], 0);
}

TEST(Cli, ListPrintsTheItemsAsLoadWouldHoldThem) {
    const CliRun run = Cli("list '" + kScript + "'");
    ASSERT_EQ(run.status, 0);
    const nlohmann::ordered_json items = nlohmann::ordered_json::parse(run.out);
    ASSERT_EQ(items.size(), 5u);
    std::vector<std::string> keys;
    for (const auto& item : items[3].items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"number", "name", "filter", "url"}));
    EXPECT_EQ(items[3]["number"], 4);
    EXPECT_EQ(items[3]["name"], "Caf\xc3\xa9 menu & prices");
    EXPECT_EQ(items[3]["url"], "http://cafe.example.com/menu?lang=en&day=mon");

    const std::string gaps = TempPath("gaps.xml");
    WriteFile(gaps, "<xml><item><name/></item><item><name>b</name><format>f</format></item></xml>");
    EXPECT_EQ(Cli("list '" + gaps + "'").out,
              "[{\"number\":2,\"name\":\"b\",\"filter\":\"f\",\"url\":\"f\"}]\n");
    WriteFile(gaps, "<list><item><name>a</name></item></list>");
    EXPECT_EQ(Cli("list '" + gaps + "'").out, "[]\n");
    std::remove(gaps.c_str());
    EXPECT_EQ(Cli("list /nonexistent.xml").status, 1);
}

TEST(Cli, ResaveWritesTheSameBytes) {
    const std::string out = TempPath("resaved.xml");
    ASSERT_EQ(Cli("resave '" + kScript + "' '" + out + "'").status, 0);
    EXPECT_EQ(ReadFile(out), ReadFile(kScript));

    const std::string empty = TempPath("empty.xml");
    WriteFile(empty, "<xml version=1.0>\r\n</xml>");
    const std::string untouched = TempPath("untouched.xml");
    const CliRun none = Cli("resave '" + empty + "' '" + untouched + "'", true);
    EXPECT_EQ(none.status, 0);
    EXPECT_NE(none.out.find("holds no items"), std::string::npos);
    EXPECT_EQ(ReadFile(untouched), "(missing)");

    EXPECT_EQ(Cli("resave '" + kScript + "' /nonexistent/dir/out.xml").status, 1);
    std::remove(out.c_str());
    std::remove(empty.c_str());
}

TEST(Cli, UsageAndUnreadableFiles) {
    for (const char* args : {"", "frobnicate", "flatten", "flatten --base", "flatten a b",
                             "extract", "extract --filter x", "extract --wrong x f", "extract f",
                             "list", "list a b", "resave a", "resave a b c"}) {
        const CliRun run = Cli(args, true);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_NE(run.out.find("usage: "), std::string::npos) << args;
    }
    const CliRun missing = Cli("flatten /nonexistent/page.html", true);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("cannot read /nonexistent/page.html"), std::string::npos);
    EXPECT_EQ(Cli("extract --filter 'a#DATA#' /", true).status, 1);  // a directory
    const CliRun unwritable = Cli("resave '" + kScript + "' /nonexistent/dir/out.xml", true);
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.out.find("/nonexistent/dir/"), std::string::npos) << unwritable.out;
}

// Escape sequences and C1 controls from a page (raw, or as UTF-8) or from an
// argument never reach the terminal; --json keeps the exact text.
TEST(Cli, TextOutputCarriesNoRawControls) {
    const std::string page = TempPath("hostile.html");
    WriteFile(page,
              "<p>Say: a\x1b[31mred\x07 b\x9b"
              "2J c\xc2\x9d"
              "0;t d\x7f e\r f</p>"
              "<a href=\"http://h/\x1b]x\ty\">l</a>");
    const CliRun flat = Cli("flatten --links '" + page + "'", true);
    EXPECT_EQ(flat.status, 0);
    EXPECT_EQ(pagelark::RawControlIn(flat.out), "") << flat.out;
    EXPECT_NE(flat.out.find("\n__A0;\thttp://h/\xef\xbf\xbd]x\xef\xbf\xbdy\n"), std::string::npos)
        << flat.out;
    const CliRun result = Cli("extract --filter 'Say:#PARA,1,9#' '" + page + "'", true);
    EXPECT_EQ(pagelark::RawControlIn(result.out), "") << result.out;
    EXPECT_NE(result.out.find("b\xef\xbf\xbd"
                              "2J c\xef\xbf\xbd"
                              "0;t"),
              std::string::npos)
        << result.out;
    const auto json =
        nlohmann::json::parse(Cli("extract --json --filter 'Say:#PARA,1,9#' '" + page + "'").out);
    EXPECT_NE(json["result"].get<std::string>().find("c\xc2\x9d"
                                                     "0;t"),
              std::string::npos);
    const CliRun usage = Cli("\"$(printf 'fr\\033]0;x\\007ob')\"", true);
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(pagelark::RawControlIn(usage.out), "") << usage.out;
    std::remove(page.c_str());
}

TEST(Cli, HelpAndVersionGoToStdoutAndSucceed) {
    const CliRun overview = Cli("--help");
    EXPECT_EQ(overview.status, 0);
    for (const char* text :
         {"flatten", "extract", "list", "resave", "collect", "COMMAND --help", "  1    a file",
          "  2    bad usage", "  130  interrupted", "--json gives the exact text"})
        EXPECT_NE(overview.out.find(text), std::string::npos) << text;
    // Help for the command named, wherever --help stands among its arguments.
    for (const char* args : {"collect --help", "collect x.xml -h", "help collect"}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 0) << args;
        EXPECT_TRUE(run.out.starts_with("usage: pagelark-cli collect SCRIPT.xml")) << args;
        EXPECT_NE(run.out.find("--deadline S"), std::string::npos) << args;
    }
    EXPECT_EQ(Cli("help frobnicate").status, 2);
    const CliRun version = Cli("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("pagelark-cli (Pagelark) " PAGELARK_VERSION "\n"));
}

}  // namespace
