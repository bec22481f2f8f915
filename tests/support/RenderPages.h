#pragma once

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/support/LocalServer.h"

namespace pagelark {

// The price is written 300 ms after the load, by a script that also tries
// what a rendered page may not: a window, a dialog, the user's position.
inline constexpr char kLatePricePage[] =
    "<html><body><p>Loading...</p><script>"
    "window.open('/popup'); alert('hello');"
    "if (navigator.geolocation) navigator.geolocation.getCurrentPosition(function () {"
    "  fetch('/located'); });"
    "setTimeout(function () { var p = document.createElement('p');"
    "  p.textContent = 'Pri' + 'ce: 12.50 USD'; document.body.appendChild(p); }, 300);"
    "</script></body></html>";

// Written as the browser writes a DOM back, so both readings see the same HTML.
inline constexpr char kLinksPage[] =
    "<html><head><title>News</title></head><body><h2>Latest</h2><a href=\"/one\">First story "
    "of the day</a> <a href=\"two.html\">Second story here</a><p>end</p></body></html>";

// The pages both renderers are tried on: /late (kLatePricePage), /links
// (kLinksPage) and /endless, whose script never comes until `released`, so
// the page never finishes loading.
inline void ServeRenderPages(LocalServer& server, const std::atomic<bool>& released) {
    server.Routes().Get("/late", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(kLatePricePage, "text/html");
    });
    server.Routes().Get("/links", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(kLinksPage, "text/html");
    });
    server.Routes().Get("/endless", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(
            "<html><body><p>Price: 1.00 USD</p><script src='/hang.js'></script></body></html>",
            "text/html");
    });
    server.Routes().Get("/hang.js",
                        [&released](const httplib::Request&, httplib::Response& response) {
                            for (int i = 0; i < 1000 && !released; ++i)
                                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                            response.set_content("", "text/javascript");
                        });
}

}  // namespace pagelark
