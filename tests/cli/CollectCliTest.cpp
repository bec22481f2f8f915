#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/support/LocalServer.h"
#include "tests/support/RunCli.h"

namespace {

std::string RunCli(const std::string& args, int& status) {
    const pagelark::CliRun run = pagelark::Cli(args);
    status = run.status;
    return run.out;
}

using pagelark::ReadFile;

class CollectCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server.Routes().Get("/page", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content(std::string("<p>Price: ") + (raised ? "13.00" : "12.50") +
                                     " USD</p><h2>Latest</h2><a href='/one'>First story</a>"
                                     "<a href='two.html'>Second, story</a><p>end</p>",
                                 "text/html");
        });
        // One byte each in iso-8859-2 becomes the C1 controls U+009B and U+009D.
        server.Routes().Get("/hostile", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(
                "<p>Say: a\x1b[31mred\x07 b\x9b"
                "2J c\x9d"
                "0;t\x07 d</p>",
                "text/html; charset=iso-8859-2");
        });
        server.Start();
        const std::string base =
            ::testing::TempDir() + "pagelark-collect-" + std::to_string(::getpid());
        script = base + ".xml";
        snap = base + ".txt";
        std::ofstream(script, std::ios::binary)
            << "<xml version=1.0>\r\n"
            << "<item><name>Price</name><format>Price:#DATA,1,2#</format><url>"
            << server.Url("/page") << "</url></item>\r\n"
            << "<item><name>News, local</name><format>Latest#HREF,5,4#end</format><url>"
            << server.Url("/page") << "</url></item>\r\n"
            << "<item><name>Gone</name><format>x#DATA#</format><url>http://127.0.0.1:"
            << pagelark::ClosedPort() << "/</url></item>\r\n</xml>";
    }
    void TearDown() override {
        std::remove(script.c_str());
        std::remove(snap.c_str());
    }

    std::atomic<bool> raised{false};
    pagelark::LocalServer server;
    std::string script;
    std::string snap;
};

TEST_F(CollectCliTest, PrintsRowsAndWritesTheSnapshot) {
    int status = -1;
    const std::string out = RunCli("collect '" + script + "' --snap '" + snap + "'", status);
    ASSERT_EQ(status, 1) << out;  // Gone could not be fetched; the rows are printed all the same
    std::istringstream lines(out);
    std::string price, news, gone;
    std::getline(lines, price);
    std::getline(lines, news);
    std::getline(lines, gone);
    for (std::string* line : {&price, &news, &gone}) {
        EXPECT_EQ(line->substr(line->size() - 3), "\tno") << "no state file, nothing changed";
        line->resize(line->size() - 3);
    }
    const std::string time = price.substr(price.rfind('\t') + 1);
    ASSERT_EQ(time.size(), 11u) << out;
    EXPECT_EQ(price, "1\tDone\tPrice\t12.50 USD \t" + time);
    EXPECT_EQ(news.substr(0, news.rfind('\t')), "2\tDone\tNews, local\t2 Items Found");
    EXPECT_EQ(gone, "3\tFailed\tGone\t\t");

    const std::string newsTime = news.substr(news.rfind('\t') + 1);
    EXPECT_EQ(ReadFile(snap), "Price,12.50 USD," + time + "\r\n" +  //
                                  "News, local,2 Items Found," + newsTime + "\r\n" +
                                  "1. First story," + server.Url("/one") + "\r\n" +
                                  "2. Second, story," + server.Url("/two.html") + "\r\n" +
                                  "Gone,,\r\n");
}

TEST_F(CollectCliTest, JsonCarriesTheEntries) {
    int status = -1;
    const auto rows = nlohmann::json::parse(RunCli("collect --json '" + script + "'", status));
    ASSERT_EQ(status, 1);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1]["state"], "Done");
    EXPECT_EQ(rows[1]["entries"], "__A0;<++<1. First story\n<++<__A1;<++<2. Second, story\n<++<");
    EXPECT_EQ(rows[2]["state"], "Failed");
    EXPECT_EQ(rows[2]["last_update"], "");
    EXPECT_EQ(RunCli("collect /nonexistent.xml", status), "");
    EXPECT_EQ(status, 1);
    RunCli("collect", status);
    EXPECT_EQ(status, 2);
    for (const char* bad : {"--jobs 0", "--jobs x", "--deadline -1"}) {
        RunCli("collect --json '" + script + "' " + bad, status);
        EXPECT_EQ(status, 2) << bad;
    }
    // One download at a time with a deadline gives the same rows (the
    // clock aside).
    auto serial = nlohmann::json::parse(
        RunCli("collect --json --jobs 1 --deadline 30 '" + script + "'", status));
    auto expected = rows;
    for (auto* list : {&serial, &expected})
        for (auto& row : *list)
            row.erase("last_update");
    EXPECT_EQ(serial, expected);
    EXPECT_EQ(status, 1);
}

TEST_F(CollectCliTest, NamesThePageThatFailedOnStderr) {
    const pagelark::CliRun run = pagelark::Cli("collect '" + script + "'", true);
    EXPECT_EQ(run.status, 1);
    // Only the item that failed, with its URL.
    const std::string errors = run.out.substr(run.out.find("pagelark-cli:"));
    EXPECT_TRUE(errors.starts_with("pagelark-cli: item 3 (Gone): cannot fetch http://127.0.0.1:"))
        << errors;
    EXPECT_TRUE(errors.ends_with("/: the connection was refused\n")) << errors;
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
}

TEST_F(CollectCliTest, AStateFileMarksWhatChangedSinceTheLastRun) {
    const std::string state = script + ".state";
    int status = -1;
    const std::string first = "collect --json --state '" + state + "' '" + script + "'";
    auto rows = nlohmann::json::parse(RunCli(first, status));
    ASSERT_EQ(status, 1);  // the list's third page is gone
    for (const auto& row : rows)
        EXPECT_EQ(row["changed"], false) << row;

    raised = true;
    rows = nlohmann::json::parse(RunCli(first, status));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]["changed"], true);
    EXPECT_EQ(rows[1]["changed"], false);
    EXPECT_EQ(rows[2]["changed"], false);

    // Only the changed rows, and once the row that has had no good Result for
    // three runs in a row; the next run finds nothing new.
    const std::string changedOnly =
        "collect --changed-only --state '" + state + "' '" + script + "'";
    EXPECT_EQ(RunCli(changedOnly, status), "3\tFailed\tGone\t\t\tno\n");
    EXPECT_EQ(RunCli(changedOnly, status), "");
    std::ofstream(state, std::ios::binary) << "{\"format\":1,\"items\":[";
    const pagelark::CliRun damaged =
        pagelark::Cli("collect --changed-only --state '" + state + "' '" + script + "'", true);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.out.find("damaged; taken as no earlier run"), std::string::npos)
        << damaged.out;
    EXPECT_EQ(damaged.out.find("\tyes"), std::string::npos) << damaged.out;
    std::remove(state.c_str());
}

// The page changes, answers 404, comes back as before, then with the first
// value: only real changes are marked, the 404 says why, and the history
// holds the good Results with their times.
TEST_F(CollectCliTest, AFailureBetweenEqualResultsIsNoChangeAndTheHistoryKeepsTheGoodOnes) {
    std::atomic<int> step{0};
    server.Routes().Get("/shop", [&](const httplib::Request&, httplib::Response& response) {
        static const char* const prices[] = {"10.00", "12.00", "", "12.00", "10.00", "11.00"};
        if (step == 2) response.status = 404;
        response.set_content(
            std::string("<p>Price: ") + (step == 2 ? "unknown" : prices[step]) + " USD</p>",
            "text/html");
    });
    std::ofstream(script, std::ios::binary)
        << "<xml version=1.0>\r\n<item><name>Shop</name><format>Price:#DATA,1#</format><url>"
        << server.Url("/shop") << "</url></item>\r\n</xml>";
    const std::string state = script + ".state";
    const auto collect = [&](const std::string& options = "") {
        int status = -1;
        const std::string out = RunCli(
            "collect --json --state '" + state + "' " + options + " '" + script + "'", status);
        EXPECT_EQ(status, 0) << out;
        return nlohmann::json::parse(out).at(0);
    };
    const auto results = [](const nlohmann::json& history) {
        std::vector<std::string> list;
        for (const auto& entry : history) {
            EXPECT_TRUE(entry["time"].is_string() && entry["time"].get<std::string>().size() == 25)
                << entry;
            list.push_back(entry["result"]);
        }
        return list;
    };
    using Results = std::vector<std::string>;
    nlohmann::json row = collect();
    EXPECT_EQ(row["changed"], false);
    EXPECT_EQ(row["history"], nlohmann::json::array());
    step = 1;
    row = collect();
    EXPECT_EQ(row["changed"], true);
    EXPECT_EQ(results(row["history"]), Results{"10.00 "});
    step = 2;
    row = collect();
    EXPECT_EQ(row["result"], "unknown ");  // the error page, read as a page
    EXPECT_EQ(row["changed"], false);
    EXPECT_EQ(row["reason"], "the server answered with HTTP status 404");
    EXPECT_EQ(results(row["history"]), (Results{"12.00 ", "10.00 "}));
    step = 3;
    row = collect();
    EXPECT_EQ(row["changed"], false);
    EXPECT_EQ(row["reason"], "");
    step = 4;
    row = collect();
    EXPECT_EQ(row["changed"], true);
    EXPECT_EQ(results(row["history"]), (Results{"12.00 ", "10.00 "}));

    // The state file's history, newest first, each with when it appeared.
    const pagelark::CliRun history = pagelark::Cli("history --state '" + state + "' 1");
    EXPECT_EQ(history.status, 0);
    std::istringstream lines(history.out);
    std::vector<std::string> shown;
    for (std::string line; std::getline(lines, line);) {
        const size_t tab = line.find('\t', 2);
        EXPECT_EQ(line.substr(0, 2), "1\t") << line;
        shown.push_back(line.substr(tab + 1));
    }
    EXPECT_EQ(shown, (Results{"10.00 \t", "12.00 \t", "10.00 \t"}));
    EXPECT_EQ(pagelark::Cli("history --state '" + state + "' 2").status, 1);
    EXPECT_EQ(pagelark::Cli("history --state '" + state + "' 0").status, 2);

    // With --confirm, a Result seen once and gone again is no change.
    std::remove(state.c_str());
    step = 0;
    collect("--confirm");
    for (const int flap : {5, 0}) {
        step = flap;
        EXPECT_EQ(collect("--confirm")["changed"], false) << flap;
    }
    std::remove(state.c_str());
}

// A hostile page or name cannot reach the terminal or break a row: every row
// keeps its six fields, stderr names the item without its control bytes.
TEST_F(CollectCliTest, RowsAndMessagesCarryNoRawControls) {
    std::ofstream(script, std::ios::binary)
        << "<xml version=1.0>\r\n"
        << "<item><name>Tab\there\nnext\x1b]0;owned\x07</name><format>Say:#PARA,1,9#</format>"
        << "<url>" << server.Url("/hostile") << "</url></item>\r\n"
        << "<item><name>Gone\x1b[2J\xc2\x9b"
           "5m</name><format>x#DATA#</format>"
        << "<url>http://127.0.0.1:" << pagelark::ClosedPort() << "/</url></item>\r\n</xml>";
    const pagelark::CliRun run = pagelark::Cli("collect '" + script + "'", true);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(pagelark::RawControlIn(run.out), "") << run.out;
    const std::string stand = "\xef\xbf\xbd";  // U+FFFD
    const std::string rows = run.out.substr(0, run.out.find("pagelark-cli:"));
    std::istringstream lines(rows);
    std::string first, second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(std::count(first.begin(), first.end(), '\t'), 5) << first;
    // Flattening already drops ESC and BEL; the C1 controls come through it.
    EXPECT_TRUE(first.starts_with("1\tDone\tTab" + stand + "here" + stand + "next" + stand +
                                  "]0;owned" + stand + "\ta[31mred b" + stand + "2J c" + stand +
                                  "0;t d \t"))
        << first;
    EXPECT_TRUE(second.starts_with("2\tFailed\tGone" + stand + "[2J" + stand + "5m\t")) << second;
    EXPECT_NE(run.out.find("(Gone" + stand + "[2J" + stand + "5m): cannot fetch"),
              std::string::npos);
    EXPECT_NE(run.out.find("/: the connection was refused\n"), std::string::npos);
}

}  // namespace
