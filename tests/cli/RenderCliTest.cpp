// pagelark-cli collect renders the items marked "Render the page first" in
// its helper process, with no display: the same list as the window test, run
// as a user runs it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <thread>

#include "tests/support/LocalServer.h"
#include "tests/support/RenderPages.h"
#include "tests/support/RunCli.h"

namespace {

using namespace std::chrono_literals;

class RenderCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pagelark::ServeRenderPages(server, released);
        // The price comes from a request of the page's script that takes
        // longer than the quiet time: the page is read once it is in.
        server.Routes().Get("/fetching", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(
                "<p>Wait</p><script>fetch('/price').then(function (r) {"
                " return r.text(); }).then(function (t) {"
                " document.body.innerHTML += '<p>Pri' + 'ce: ' + t + '</p>'; });"
                "</script>",
                "text/html");
        });
        server.Routes().Get("/price", [](const httplib::Request&, httplib::Response& response) {
            std::this_thread::sleep_for(900ms);
            response.set_content("7.25 USD", "text/plain");
        });
        server.Start();
        script = ::testing::TempDir() + "pagelark-render-" + std::to_string(::getpid()) + ".xml";
    }
    void TearDown() override {
        released = true;
        std::remove(script.c_str());
    }
    void Add(const std::string& name, const std::string& filter, const std::string& path,
             bool render) {
        items += "<item>\r\n<name>" + name + "</name>\r\n<format>" + filter + "</format>\r\n<url>" +
                 server.Url(path) + "</url>\r\n" + (render ? "<render>yes</render>\r\n" : "") +
                 "</item>\r\n";
    }
    void Write() {
        std::ofstream(script, std::ios::binary) << "<xml version=1.0>\r\n" << items << "</xml>";
    }

    std::atomic<bool> released{false};
    pagelark::LocalServer server;
    std::string script;
    std::string items;
};

TEST_F(RenderCliTest, CollectRendersFlaggedItemsWithoutADisplay) {
    Add("Plain", "Price:#DATA,1,2#", "/late", false);
    Add("Rendered", "Price:#DATA,1,2#", "/late", true);
    Add("News", "Latest#HREF,5,4#end", "/links", false);
    Add("News", "Latest#HREF,5,4#end", "/links", true);
    Add("Endless", "Price:#DATA,1,2#", "/endless", true);
    Add("Fetching", "Price:#DATA,1,2#", "/fetching", true);
    Write();
    const std::string errors = script + ".err";
    // Standard error into a file of its own (what Cli adds then goes to `exit`).
    const pagelark::CliRun run =
        pagelark::Cli("collect '" + script + "' --json --deadline 3 2>'" + errors + "'; exit $?");
    ASSERT_EQ(run.status, 1) << run.out;  // Endless failed
    const nlohmann::json rows = nlohmann::json::parse(run.out);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0]["result"], "N/A");
    EXPECT_EQ(rows[1]["result"], "12.50 USD ");
    EXPECT_EQ(rows[1]["state"], "Done");
    // The same HTML rendered and downloaded gathers the same links.
    EXPECT_EQ(rows[3]["result"], "2 Items Found");
    const std::regex marker("__A\\d+;");
    EXPECT_EQ(std::regex_replace(rows[2]["entries"].get<std::string>(), marker, "#"),
              std::regex_replace(rows[3]["entries"].get<std::string>(), marker, "#"));
    EXPECT_EQ(rows[4]["state"], "Failed");
    EXPECT_EQ(rows[5]["result"], "7.25 USD ");

    // Its reason is said on standard error.
    const std::string said = pagelark::ReadFile(errors);
    std::remove(errors.c_str());
    EXPECT_NE(said.find("item 5 (Endless): cannot render " + server.Url("/endless") +
                        ": the page did not finish loading in time"),
              std::string::npos)
        << said;
}

}  // namespace
