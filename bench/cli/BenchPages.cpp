#include "bench/cli/BenchPages.h"

#include <stdlib.h>

#include <fstream>

namespace pagelark::bench {

std::string MakeLinkPage(int number, size_t bytes, int links, int generation, bool compact) {
    const std::string n = std::to_string(number);
    std::string page = "<html><head><title>Page " + n + "</title></head><body><p>Price: " + n +
                       "." + std::to_string(generation % 100) + " USD</p><h2>Links</h2>";
    const std::string tail = "<p>End</p></body></html>";
    const size_t room = bytes > page.size() + tail.size() ? bytes - page.size() - tail.size() : 0;
    std::string body;
    int made = 0;
    while (body.size() < room) {
        if (made < links && compact) {
            const std::string m = std::to_string(made++);
            body +=
                "<a href='/" + n + "/" + m + "?" + std::to_string(generation) + "'>" + m + "</a>";
        } else if (made < links) {
            body += "<a href='/t/" + n + "/" + std::to_string(made) +
                    "?g=" + std::to_string(generation) + "'>Topic number " + std::to_string(made) +
                    " of page " + n + "</a> ";
            ++made;
        } else {
            body += "Words that fill the page between its links, as a news site has. ";
        }
    }
    body.resize(room);
    // A cut inside a tag would swallow the tail; end the filler on a blank.
    if (const size_t open = body.rfind('<');
        open != std::string::npos && body.find('>', open) == std::string::npos)
        std::fill(body.begin() + static_cast<long>(open), body.end(), ' ');
    return page + body + tail;
}

std::string MakeScript(const LocalServer& server, int items, const std::string& filter) {
    std::string text = "<xml version=1.0>\r\n";
    for (int i = 1; i <= items; ++i) {
        text += "<item>\r\n<name>Item " + std::to_string(i) + "</name>\r\n<format>" + filter +
                "</format>\r\n<url>" + server.Url("/p/" + std::to_string(i)) +
                "</url>\r\n</item>\r\n";
    }
    return text + "</xml>";
}

std::string WriteTempFile(const std::string& name, const std::string& text) {
    char folder[] = "/tmp/pagelark-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return {};
    const std::string path = std::string(folder) + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

}  // namespace pagelark::bench
