#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/RunCli.h"

namespace {

using pagelark::Cli;
using pagelark::CliRun;

const std::string kSample = std::string("'") + PAGELARK_SAMPLES + "/news.html'";

TEST(SuggestCli, PrintsTheBestFilterAndItsResult) {
    const CliRun run = Cli("suggest --select '12.50 USD' " + kSample);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Price:#DATA,1,2#\n12.50 USD \n");
    // The second place "Weather" is shown: after the link of that name.
    EXPECT_EQ(Cli("suggest --select Weather --occurrence 2 - < " + kSample).out,
              "Today:#DATA,1#\nWeather \n");
}

TEST(SuggestCli, JsonListsEveryCandidateWithItsResult) {
    const CliRun run =
        Cli("suggest --json --links --select \"Library extends weekend opening hours Farmers' "
            "market\" " +
            kSample);
    ASSERT_EQ(run.status, 0);
    const nlohmann::json candidates = nlohmann::json::parse(run.out);
    ASSERT_GT(candidates.size(), 1u);
    for (const auto& candidate : candidates) {
        EXPECT_EQ(candidate["result"], "2 Items Found");
        EXPECT_TRUE(candidate["entries"].get<std::string>().starts_with("__A3;<++<1. Library"));
        // What extract gives with the Filter is what suggest said.
        const std::string filter = candidate["filter"];
        EXPECT_EQ(Cli("extract --filter '" + filter + "' " + kSample).out, "2 Items Found\n");
    }
}

TEST(SuggestCli, NoFilterIsAFailureWithTheReason) {
    const CliRun run = Cli("suggest --select 'Zebra crossing' " + kSample, true);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "pagelark-cli: no Filter gives the selection in " + std::string(PAGELARK_SAMPLES) +
                  "/news.html: The selected words are not in the page's text (a script may "
                  "have written them, or they come from another frame).\n");
    EXPECT_EQ(Cli("suggest --json --select 'Zebra' " + kSample).out, "[]\n");
    EXPECT_EQ(Cli("suggest --select Weather --occurrence 0 " + kSample).status, 2);
    EXPECT_EQ(Cli("suggest " + kSample).status, 2);  // --select is required
}

}  // namespace
