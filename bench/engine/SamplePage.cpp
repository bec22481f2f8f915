#include "SamplePage.h"

#include <random>

namespace pagelark::bench {
namespace {

const char* const kWords[] = {"river",  "council",  "market",    "weekend",   "library",  "bridge",
                              "school", "festival", "weather",   "transport", "election", "harbour",
                              "museum", "football", "orchestra", "housing",   "the",      "a",
                              "of",     "and",      "to",        "in",        "with",     "after",
                              "before", "new",      "old",       "plans"};

std::string Words(std::mt19937& random, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        text += kWords[random() % std::size(kWords)];
    }
    return text;
}

}  // namespace

std::string MakeNewsPage(size_t bytes) {
    std::mt19937 random(2026);
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<title>Riverside Gazette - Local news</title>\n"
        "<link rel=\"stylesheet\" href=\"/static/site.css\">\n"
        "<style>\nbody { margin: 0; font: 16px/1.4 sans-serif; }\n.nav a { padding: 0 8px; }\n"
        ".story h2 { font-size: 1.4em; }\n</style>\n"
        "<script>window.dataLayer = window.dataLayer || []; function gtag(){dataLayer.push("
        "arguments);} gtag('js', new Date()); if (a < b && c > d) { run(); }</script>\n"
        "</head>\n<body class=\"home\">\n<div class=\"nav\">\n";
    for (int i = 0; i < 24; ++i) {
        page += "  <a href=\"/section/" + std::to_string(i) + "/\" class=\"nav-link\">" +
                Words(random, 1) + "</a>\n";
    }
    page += "</div>\n<main id=\"content\">\n";
    int story = 0;
    const size_t tailRoom = 3000;
    while (page.size() + tailRoom < bytes) {
        ++story;
        page += "<article class=\"story\" data-id=\"" + std::to_string(story) + "\">\n";
        page += "  <h2><a href=\"/news/2026/12/story-" + std::to_string(story) + ".html\">" +
                Words(random, 7) + "</a></h2>\n";
        page += "  <p class=\"byline\">By <span class=\"author\">" + Words(random, 2) +
                "</span> &middot; <time datetime=\"2026-12-08\">8 December 2026</time></p>\n";
        for (int p = 0; p < 3; ++p) {
            page += "  <p>" + Words(random, 18) + " <b>" + Words(random, 2) + "</b> " +
                    Words(random, 12) + "&nbsp;&amp; <i>" + Words(random, 3) + "</i> " +
                    Words(random, 10) + ".</p>\n";
        }
        page += "  <!-- related -->\n  <ul class=\"related\">\n";
        for (int r = 0; r < 3; ++r) {
            page += "    <li><a href='../related/" + std::to_string(story * 10 + r) +
                    ".html' title=\"" + Words(random, 3) + "\">" + Words(random, 5) + "</a></li>\n";
        }
        page += "  </ul>\n  <img src=\"/img/" + std::to_string(story) +
                ".jpg\" alt=\"photo\" width=\"640\" height=\"360\">\n</article>\n";
    }
    page += "<section id=\"latest\">\n<h3>Latest headlines</h3>\n<ul>\n";
    for (int i = 0; i < 12; ++i) {
        page += "  <li><a href=\"https://news.example.org/latest/" + std::to_string(i) + "\">" +
                Words(random, 6) + "</a></li>\n";
    }
    page += "</ul>\n<p><a href=\"/latest/\">More headlines</a></p>\n</section>\n";
    page += "<div class=\"market\">Gold price: 1,984.20 USD per ounce &lt;updated&gt;</div>\n";
    page += "</main>\n<footer><p>&copy; 2026 Riverside Gazette</p></footer>\n</body>\n</html>\n";
    return page;
}

}  // namespace pagelark::bench
