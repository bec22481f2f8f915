#include "PickPages.h"

#include <array>
#include <random>
#include <string_view>
#include <vector>

namespace pagelark::bench {
namespace {

constexpr std::array<std::string_view, 96> kWords{
    "the",       "a",        "of",       "and",     "to",       "in",         "with",
    "after",     "before",   "new",      "old",     "plans",    "river",      "council",
    "market",    "weekend",  "library",  "bridge",  "school",   "festival",   "weather",
    "transport", "election", "harbour",  "museum",  "football", "orchestra",  "housing",
    "residents", "said",     "would",    "could",   "which",    "their",      "about",
    "last",      "year",     "week",     "month",   "people",   "local",      "city",
    "centre",    "road",     "park",     "station", "minister", "report",     "budget",
    "money",     "water",    "energy",   "price",   "prices",   "rise",       "fall",
    "opens",     "closes",   "delay",    "works",   "garden",   "summer",     "winter",
    "children",  "families", "visitors", "shops",   "traffic",  "police",     "hospital",
    "doctors",   "teachers", "students", "club",    "team",     "match",      "season",
    "players",   "coach",    "fans",     "tickets", "concert",  "exhibition", "artists",
    "is",        "was",      "for",      "on",      "at",       "by",         "from",
    "that",      "this",     "it",       "not",     "but"};

constexpr std::array<std::string_view, 24> kNames{
    "Alice Moreno", "Ben Carter",   "Chloe Hart",   "David Osei",  "Ella Brooks", "Farid Khan",
    "Grace Liu",    "Hugo Berg",    "Ines Duarte",  "Jack Nolan",  "Kira Sato",   "Liam Walsh",
    "Maya Patel",   "Noah Fischer", "Olga Ivanova", "Pedro Alves", "Quinn Doyle", "Rosa Marin",
    "Sam Okafor",   "Tara Singh",   "Uma Reyes",    "Victor Lund", "Wendy Zhou",  "Yusuf Demir"};

constexpr std::array<std::string_view, 12> kMonths{"January",   "February", "March",    "April",
                                                   "May",       "June",     "July",     "August",
                                                   "September", "October",  "November", "December"};

// Entities a page writes for punctuation and letters, with a plain word around them.
constexpr std::array<std::string_view, 10> kEntityWords{
    "caf&eacute;", "don&rsquo;t", "&quot;quiet&quot;", "&amp;",    "&mdash;",
    "na&iuml;ve",  "&euro;4",     "it&#8217;s",        "&hellip;", "&laquo;new&raquo;"};

class Writer {
  public:
    explicit Writer(unsigned seed) : m_random(seed) {}

    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool Chance(int percent) { return Int(1, 100) <= percent; }
    template <typename List>
    std::string_view Pick(const List& list) {
        return list[static_cast<size_t>(Int(0, static_cast<int>(list.size()) - 1))];
    }

    std::string Words(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            if (i > 0) text += ' ';
            text += Pick(kWords);
        }
        return text;
    }
    std::string Title(int count) {
        std::string text = Words(count);
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
        return text;
    }
    std::string Date() {
        return std::to_string(Int(1, 28)) + " " + std::string(Pick(kMonths)) + " " +
               std::to_string(Int(2019, 2026));
    }
    std::string Time() {
        const int minute = Int(0, 59);
        return std::to_string(Int(0, 23)) + ":" + (minute < 10 ? "0" : "") + std::to_string(minute);
    }
    std::string Count() {
        const int n = Int(0, 4000);
        return n >= 1000
                   ? std::to_string(n / 1000) + "," + std::to_string(1000 + n % 1000).substr(1)
                   : std::to_string(n);
    }

    // A paragraph's inner text with inline markup, entities, numbers and,
    // now and then, a tag inside a word.
    std::string Sentence() {
        std::string text = Title(Int(4, 9));
        const int extras = Int(0, 3);
        for (int i = 0; i < extras; ++i) {
            switch (Int(0, 6)) {
                case 0:
                    text += " <b>" + Words(Int(1, 3)) + "</b>";
                    break;
                case 1:
                    text += " <a href=\"/topic/" + std::to_string(Int(1, 900)) + "\">" +
                            Words(Int(1, 4)) + "</a>";
                    break;
                case 2:
                    text += " " + std::string(Pick(kEntityWords));
                    break;
                case 3:
                    text += " " + std::to_string(Int(2, 950)) + " " + std::string(Pick(kWords));
                    break;
                case 4:
                    text += " <i>" + Words(Int(1, 2)) + "</i>";
                    break;
                case 5:
                    text += " on " + Date();
                    break;
                default: {
                    const std::string word(Pick(kWords));
                    if (word.size() > 3)
                        text += " " + word.substr(0, 2) + "<em>" + word.substr(2) + "</em>";
                    break;
                }
            }
            text += " " + Words(Int(2, 6));
        }
        return text + ".";
    }

    // A paragraph, its source broken into lines now and then: indented lines
    // keep their words apart, unindented ones join two words in the flattened text.
    std::string Paragraph(int sentences) {
        std::string text;
        for (int i = 0; i < sentences; ++i) {
            if (i > 0) text += Chance(15) ? (Chance(70) ? "\n      " : "\n") : " ";
            text += Sentence();
        }
        return "<p>" + text + "</p>\n";
    }

    std::mt19937& Random() { return m_random; }

  private:
    std::mt19937 m_random;
};

std::string Head(Writer& w, const std::string& title, const std::string& data) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
        title + "</title>\n<link rel=\"stylesheet\" href=\"/static/site.css?v=" +
        std::to_string(w.Int(100, 999)) +
        "\">\n<style>\nbody { margin: 0; font: 16px/1.5 sans-serif; }\n.nav a { padding: 0 8px; "
        "text-decoration: none; }\n.price .now { color: #b00; }\n.drawer { display: none; }\n"
        ".caps { text-transform: uppercase; }\n@media (max-width: 600px) { "
        ".side { display: none; } }\n</style>\n<script>window.dataLayer = window.dataLayer || [];"
        " function gtag(){dataLayer.push(arguments);} gtag('config', 'G-" +
        std::to_string(w.Int(100000, 999999)) +
        "'); if (a < b && c > d) { run(); }</script>\n<script type=\"application/ld+json\">" +
        data + "</script>\n</head>\n";
    return page;
}

std::string Nav(Writer& w, std::string_view site) {
    static constexpr std::array<std::string_view, 10> kSections{
        "Home",   "News",    "Sport",   "Business", "Culture",
        "Travel", "Opinion", "Weather", "Jobs",     "Contact"};
    std::string page = "<body>\n<header>\n  <div class=\"top\"><a href=\"/\">" + std::string(site) +
                       "</a> <span class=\"date\">" + w.Date() + "</span></div>\n  <nav><ul>";
    for (const std::string_view section : kSections)
        page +=
            "<li><a href=\"/" + std::string(section) + "/\">" + std::string(section) + "</a></li>";
    page += "</ul></nav>\n</header>\n";
    // The menu a small screen opens, hidden by the style sheet on a large one.
    page += "<div class=\"drawer\"><ul>";
    for (const std::string_view section : kSections)
        page += "<li><a href=\"/m/" + std::string(section) + "/\">" + std::string(section) +
                "</a></li>";
    return page + "</ul></div>\n";
}

std::string Footer(Writer& w, std::string_view site) {
    return "<footer>\n  <ul class=\"links\"><li><a href=\"/about\">About us</a></li><li><a "
           "href=\"/privacy\">Privacy</a></li><li><a href=\"/terms\">Terms of use</a></li></ul>\n"
           "  <p>&copy; " +
           std::to_string(w.Int(2020, 2026)) + " " + std::string(site) +
           ". All rights reserved.</p>\n</footer>\n<script>(function(){var s=document."
           "createElement('script');s.src='/t.js?id=" +
           std::to_string(w.Int(1000, 9999)) +
           "';document.body.appendChild(s);})();</script>\n"
           "</body>\n</html>\n";
}

std::string NewsPage(Writer& w, size_t bytes) {
    const std::string site = "The Riverside Gazette";
    const std::string headline = w.Title(w.Int(6, 10));
    const std::string author(w.Pick(kNames));
    std::string page = Head(w, headline + " | " + site,
                            "{\"@type\": \"NewsArticle\", \"headline\": \"" + headline +
                                "\", \"datePublished\": \"2026-12-0" + std::to_string(w.Int(1, 9)) +
                                "T09:30:00Z\", \"author\": {\"name\": \"" + author + "\"}}");
    page += Nav(w, site);
    page += "<main>\n<article>\n<h1>" + headline +
            "</h1>\n<p class=\"byline\">By <a href=\"/authors/" + std::to_string(w.Int(1, 99)) +
            "\">" + author + "</a> &middot; <time>" + w.Date() + ", " + w.Time() +
            "</time> &middot; <a href=\"#comments\">" + w.Count() + " comments</a></p>\n";
    for (int i = w.Int(5, 9); i > 0; --i)
        page += w.Paragraph(w.Int(2, 5));
    page += "<figure><img src=\"/img/" + std::to_string(w.Int(1, 9999)) +
            ".jpg\" alt=\"\"><figcaption>Photo: " + std::string(w.Pick(kNames)) +
            "</figcaption></figure>\n</article>\n";
    page += "<aside class=\"side\">\n<h2>Most read</h2>\n<ol>\n";
    for (int i = 0; i < 10; ++i)
        page += "  <li><a href=\"/news/2026/12/" + std::to_string(w.Int(1000, 9999)) + ".html\">" +
                w.Title(w.Int(5, 9)) + "</a> <span class=\"reads\">" + w.Count() +
                " reads</span></li>\n";
    page += "</ol>\n</aside>\n";
    while (page.size() + 2000 < bytes) {
        page += "<section>\n<h2 class=\"caps\">" + w.Title(2) + "</h2>\n<ul class=\"headlines\">\n";
        for (int i = w.Int(6, 14); i > 0; --i)
            page += "  <li><a href=\"/news/" + std::to_string(w.Int(10000, 99999)) + "\">" +
                    w.Title(w.Int(5, 10)) + "</a> <time>" + w.Time() + "</time></li>\n";
        page += "</ul>\n";
        for (int i = w.Int(2, 4); i > 0; --i) {
            page += "<div class=\"teaser\"><h3><a href=\"/story/" +
                    std::to_string(w.Int(1, 99999)) + "\">" + w.Title(w.Int(5, 9)) + "</a></h3>\n" +
                    w.Paragraph(w.Int(1, 3)) + "<p class=\"meta\">Updated " +
                    std::to_string(w.Int(1, 23)) + " hours ago &middot; " + w.Count() +
                    " comments</p></div>\n";
        }
        page += "</section>\n";
    }
    return page + "</main>\n" + Footer(w, site);
}

std::string ShopPage(Writer& w, size_t bytes) {
    static constexpr std::array<std::string_view, 8> kBrands{
        "Acme", "Borealis", "Cobalt", "Dunmore", "Elkhorn", "Fairway", "Granite", "Holloway"};
    static constexpr std::array<std::string_view, 8> kColours{"Blue",  "Red",    "Green", "Black",
                                                              "White", "Copper", "Grey",  "Cream"};
    static constexpr std::array<std::string_view, 8> kItems{
        "kettle", "toaster", "teapot", "mug set", "saucepan", "jug", "coffee grinder", "scale"};
    const std::string site = "Greenleaf Home Store";
    std::string page = Head(w, "Kitchen | " + site,
                            "{\"@type\": \"ItemList\", \"name\": \"Kitchen\", \"numberOfItems\": " +
                                std::to_string(w.Int(100, 400)) + "}");
    page += Nav(w, site);
    page +=
        "<main>\n<p class=\"crumbs\"><a href=\"/\">Home</a> &rsaquo; <a "
        "href=\"/kitchen\">Kitchen</a>"
        " &rsaquo; Small appliances</p>\n<h1>Kitchen</h1>\n<p>Showing 1&ndash;48 of " +
        std::to_string(w.Int(100, 400)) + " results</p>\n<ul class=\"brands\">\n";
    for (const std::string_view brand : kBrands)
        page += "  <li><a href=\"/brand/" + std::string(brand) + "\">" + std::string(brand) +
                "</a> (" + std::to_string(w.Int(1, 60)) + ")</li>\n";
    page += "</ul>\n<ul class=\"grid\">\n";
    while (page.size() + 2500 < bytes) {
        const int id = w.Int(10000, 99999);
        const std::string name = std::string(w.Pick(kBrands)) + " " +
                                 std::string(w.Pick(kColours)) + " " + std::string(w.Pick(kItems)) +
                                 (w.Chance(50) ? " " + std::to_string(w.Int(1, 3)) + "." +
                                                     std::to_string(w.Int(0, 9)) + " l"
                                               : "");
        page += "  <li class=\"product\">\n    <a href=\"/p/" + std::to_string(id) +
                "\"><img src=\"/img/p" + std::to_string(id) + ".jpg\" alt=\"" + name + "\"></a>\n";
        page += "    <h3 class=\"name\"><a href=\"/p/" + std::to_string(id) + "\">" + name +
                "</a></h3>\n";
        page += "    <div class=\"rating\">" + std::to_string(w.Int(1, 4)) + "." +
                std::to_string(w.Int(0, 9)) + " out of 5 stars <span>(" + w.Count() +
                ")</span></div>\n";
        const int euros = w.Int(5, 240);
        page += "    <div class=\"price\"><span class=\"now\">&euro;" + std::to_string(euros) +
                "<sup>" + std::to_string(w.Int(10, 99)) + "</sup></span>";
        if (w.Chance(30))
            page += " <s>&euro;" + std::to_string(euros + w.Int(2, 30)) + ".99</s> <b>Save " +
                    std::to_string(w.Int(5, 40)) + "%</b>";
        page += "</div>\n    <p class=\"stock\">" +
                (w.Chance(70) ? std::string("In stock")
                              : "Only " + std::to_string(w.Int(1, 9)) + " left") +
                " &middot; Delivery in " + std::to_string(w.Int(1, 5)) + " days</p>\n";
        if (w.Chance(40)) page += "    <p class=\"blurb\">" + w.Sentence() + "</p>\n";
        page += "    <button type=\"button\">Add to basket</button> <a href=\"/wishlist/add?id=" +
                std::to_string(id) + "\">Save for later</a>\n  </li>\n";
    }
    page += "</ul>\n<ul class=\"pages\">";
    for (int i = 1; i <= 9; ++i)
        page += "<li><a href=\"/kitchen?page=" + std::to_string(i) + "\">" + std::to_string(i) +
                "</a></li>";
    page += "<li><a href=\"/kitchen?page=2\">Next &rsaquo;</a></li></ul>\n</main>\n";
    return page + Footer(w, site);
}

std::string ForumPage(Writer& w, size_t bytes) {
    static constexpr std::array<std::string_view, 4> kRanks{"Member", "Senior Member", "Moderator",
                                                            "New Member"};
    const std::string site = "Riverbank Forums";
    const std::string thread = w.Title(w.Int(4, 8));
    std::string page =
        Head(w, thread + " - Page 2 - " + site,
             "{\"@type\": \"DiscussionForumPosting\", \"headline\": \"" + thread + "\"}");
    page += Nav(w, site);
    page +=
        "<main>\n<p class=\"crumbs\"><a href=\"/forums\">Forums</a> &raquo; <a "
        "href=\"/forums/garden\">"
        "Gardening</a> &raquo; " +
        thread + "</p>\n<h1>" + thread + "</h1>\n<p>Started by " + std::string(w.Pick(kNames)) +
        ", " + w.Date() + "</p>\n";
    const std::string pages =
        "<ul class=\"pages\"><li>Page 2 of 14</li><li><a href=\"?page=1\">1</a></li>"
        "<li><a href=\"?page=3\">3</a></li><li><a href=\"?page=14\">14</a></li>"
        "<li><a href=\"?page=3\">Next &raquo;</a></li></ul>\n";
    page += pages;
    int number = 20;
    while (page.size() + 4000 < bytes) {
        const int id = w.Int(100000, 999999);
        const std::string user(w.Pick(kNames));
        page += "<div class=\"post\" id=\"post" + std::to_string(id) +
                "\">\n  <div class=\"author\"><a href=\"/members/" +
                std::to_string(w.Int(1, 9999)) + "/\">" + user + "</a> <span class=\"rank\">" +
                std::string(w.Pick(kRanks)) +
                "</span> <span>Joined: " + std::string(w.Pick(kMonths)).substr(0, 3) + " " +
                std::to_string(w.Int(2005, 2025)) + "</span> <span>Messages: " + w.Count() +
                "</span></div>\n  <div class=\"date\"><a href=\"#post" + std::to_string(id) +
                "\">#" + std::to_string(++number) + "</a> <time>" + w.Date() + " at " + w.Time() +
                "</time></div>\n"
                "  <div class=\"body\">\n";
        if (w.Chance(30))
            page += "    <blockquote class=\"quote\"><b>" + std::string(w.Pick(kNames)) +
                    " said:</b> " + w.Sentence() + "</blockquote>\n";
        for (int i = w.Int(1, 3); i > 0; --i)
            page += "    " + w.Sentence() + (w.Chance(50) ? " " + w.Sentence() : "") + "<br>\n";
        page += "  </div>\n";
        if (w.Chance(40)) page += "  <div class=\"sig\">" + w.Title(w.Int(3, 6)) + "</div>\n";
        page += "  <div class=\"actions\"><a href=\"/reply?p=" + std::to_string(id) +
                "\">Reply</a> <a href=\"/quote?p=" + std::to_string(id) +
                "\">Quote</a> <a href=\"/report?p=" + std::to_string(id) +
                "\">Report</a> <span>Like (" + std::to_string(w.Int(0, 40)) +
                ")</span></div>\n</div>\n";
    }
    page += pages + "<h2 class=\"caps\">Similar threads</h2>\n<table class=\"threads\">\n";
    for (int i = 0; i < 10; ++i)
        page += "  <tr><td><a href=\"/threads/" + std::to_string(w.Int(1000, 99999)) + "/\">" +
                w.Title(w.Int(3, 7)) + "</a><br><span>by " + std::string(w.Pick(kNames)) +
                "</span></td><td>" + w.Count() + " replies</td><td>" + w.Count() +
                " views</td><td>" + w.Date() + "</td></tr>\n";
    page += "</table>\n</main>\n";
    return page + Footer(w, site);
}

}  // namespace

std::string MakePickPage(PageKind kind, unsigned seed, size_t bytes) {
    Writer w(seed);
    switch (kind) {
        case PageKind::News:
            return NewsPage(w, bytes);
        case PageKind::Shop:
            return ShopPage(w, bytes);
        case PageKind::Forum:
            return ForumPage(w, bytes);
    }
    return {};
}

}  // namespace pagelark::bench
