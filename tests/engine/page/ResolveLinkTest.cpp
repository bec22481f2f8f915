#include "engine/page/ResolveLink.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

struct Case {
    const char* base;
    const char* value;
    const char* url;
};

TEST(ResolveLink, WorkedExamples) {
    const Case cases[] = {
        {"http://h/d/p.html", "x.html", "http://h/d/x.html"},
        {"http://h/d/p.html", "s/x.html", "http://h/d/s/x.html"},
        {"http://h/d/p.html", "../x.html", "http://h/x.html"},
        {"http://h/d/p.html", "/x.html", "http://h/x.html"},
        {"http://h/d/p.html", "#top", "http://h/d/p.html#top"},
        {"http://h/d/p.html", "HTTP://o/y", "HTTP://o/y"},
        {"http://h/d/p.html", "", "http://h/d/p.html"},
        {"http://h/d/p.html#f", " \t ", "http://h/d/p.html#f"},  // only blanks: the page itself
        {"  http://h/d/p.html ", " x.html\t", "http://h/d/x.html"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveLink(c.base, c.value), c.url) << c.value;
}

// Links the older step-by-step rule broke: https pages, "//" links, query-only
// links, directory links and pages whose URL has no path.
TEST(ResolveLink, ResolvesAsRfc3986) {
    const Case cases[] = {
        {"https://h/a/b", "c", "https://h/a/c"},
        {"https://h/a/b", "../c", "https://h/c"},
        {"http://h/d/p.html", "s/", "http://h/d/s/"},
        {"http://h/d/p.html", "./", "http://h/d/"},
        {"http://h/d/p.html", "//cdn/x.js", "http://cdn/x.js"},
        {"https://h/d/p.html?q", "//cdn", "https://cdn"},
        {"https://h/d/p.html", "//cdn/./a/../x.js", "https://cdn/x.js"},
        {"http://h/d/p.html", "?page=2", "http://h/d/p.html?page=2"},
        {"http://h/d/p.html?a=1", "?page=2", "http://h/d/p.html?page=2"},
        {"http://h/d/p.html?a=1#f", "x?q#z", "http://h/d/x?q#z"},
        {"http://h", "x.html", "http://h/x.html"},
        {"http://h?q=1", "x", "http://h/x"},
        {"http://h/a/b/c", "../../../../x", "http://h/x"},
        {"http://h/a/b", "./x/./y/../z", "http://h/a/x/z"},
        {"http://H/Dir/P", "Sub/%41", "http://H/Dir/Sub/%41"},  // no case or encoding change
        {"http://h/d/p.html", ".", "http://h/d/"},
        {"http://h/d/p.html", "..", "http://h/"},
        {"http://h/d/p.html", "a/..", "http://h/d/"},
        {"http://h/d/p.html", "a/.", "http://h/d/a/"},
        {"http://h/d/p.html", "/a/b/./../c/", "http://h/a/c/"},
        {"http://h/d/p.html", "a//b/../c", "http://h/d/a//c"},
        {"http://h/d/p.html", ".hidden/x", "http://h/d/.hidden/x"},
        {"http://h/d/p.html", "..x/y", "http://h/d/..x/y"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveLink(c.base, c.value), c.url) << c.value;
}

TEST(ResolveLink, SchemesAndBasesWithoutOne) {
    const Case cases[] = {
        {"http://h/p", "mailto:me@example.com", "mailto:me@example.com"},
        {"http://h/p", "javascript:void(0)", "javascript:void(0)"},
        {"http://h/p", "ftp://f/x", "ftp://f/x"},
        {"http://h/p", "a+b.c-d:x", "a+b.c-d:x"},
        {"http://h/p", "1x:y", "http://h/1x:y"},  // a scheme starts with a letter
        {"h/d/p.html", "x.html", "x.html"},       // base without a scheme
        {"", "x.html", "x.html"},
        {"", "#top", "#top"},
        {"h/d/p.html", "  ", "h/d/p.html"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveLink(c.base, c.value), c.url) << c.value;
}

}  // namespace
}  // namespace pagelark
