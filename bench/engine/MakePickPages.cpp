// Writes the pages the filter builder is measured on (bench/engine/pages/):
//   build/bench/engine/make_pick_pages bench/engine/pages
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "PickPages.h"

int main(int argc, char** argv) {
    using pagelark::bench::PageKind;
    if (argc != 2) {
        std::cerr << "usage: make_pick_pages FOLDER\n";
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    const struct {
        const char* name;
        PageKind kind;
        unsigned seed;
        size_t bytes;
    } pages[] = {
        {"news-1.html", PageKind::News, 1, 150000},   {"news-2.html", PageKind::News, 2, 60000},
        {"shop-1.html", PageKind::Shop, 1, 100000},   {"shop-2.html", PageKind::Shop, 2, 50000},
        {"forum-1.html", PageKind::Forum, 1, 100000}, {"forum-2.html", PageKind::Forum, 2, 50000},
    };
    for (const auto& page : pages) {
        const std::string path = std::string(argv[1]) + "/" + page.name;
        std::ofstream out(path, std::ios::binary);
        out << pagelark::bench::MakePickPage(page.kind, page.seed, page.bytes);
        if (!out) {
            std::cerr << "make_pick_pages: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
