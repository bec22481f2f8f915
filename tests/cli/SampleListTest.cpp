#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/LocalServer.h"
#include "tests/support/ReadFile.h"
#include "tests/support/RunCli.h"

namespace {

// The list scripts/run opens for a new user: served from the samples folder
// with the port put into its URLs as the script does, every item must give
// its words or links.
TEST(SampleListTest, EveryItemGivesItsResult) {
    pagelark::LocalServer server;
    ASSERT_TRUE(server.Routes().set_mount_point("/", PAGELARK_SAMPLES));
    server.Start();

    std::string script = pagelark::ReadFile(PAGELARK_SAMPLES "/sample.xml");
    const std::string placeholder = "127.0.0.1:PORT";
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    for (size_t at = 0; (at = script.find(placeholder, at)) != std::string::npos;)
        script.replace(at, placeholder.size(), host);
    const std::string path =
        ::testing::TempDir() + "pagelark-sample-" + std::to_string(::getpid()) + ".xml";
    std::ofstream(path, std::ios::binary) << script;

    const pagelark::CliRun run = pagelark::Cli("collect --json '" + path + "'");
    std::remove(path.c_str());
    ASSERT_EQ(run.status, 0) << run.out;
    const auto rows = nlohmann::json::parse(run.out);

    const std::pair<std::string, std::string> expected[] = {
        {"Top stories", "5 Items Found"},
        {"Gold price", "2,031.40 USD "},
        {"Coffee price", "1.87 USD per pound "},
        {"Weather today", "sunny spells, light wind, high of 18 degrees. "},
        {"水位 River level", "3.2 m "},
        {"Gazette headlines", "4 Items Found"},
    };
    ASSERT_EQ(rows.size(), std::size(expected)) << run.out;
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i]["name"], expected[i].first);
        EXPECT_EQ(rows[i]["state"], "Done") << expected[i].first;
        EXPECT_EQ(rows[i]["result"], expected[i].second) << expected[i].first;
    }
}

}  // namespace
