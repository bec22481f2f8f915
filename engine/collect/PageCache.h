#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "engine/collect/PageLinks.h"

namespace pagelark {

// A downloaded page as flattening left it: its text and the links it
// numbered, with what its rows need to judge it.
struct FlatPage {
    std::string text;
    PageLinks links;
    int status = 0;    // the answer's HTTP status (0 for ftp)
    bool cut = false;  // the page went on past the bytes kept
};

// Flattened pages of one collection run, keyed by the upper-cased URL so that
// items sharing a page (in any letter case) download it once. A page is kept
// only while a later item of the run still needs it: the run says up front
// which URLs its items use, every item's turn uses its URL once, and the page
// goes after its last use.
class PageCache {
  public:
    // Forgets the pages and the planned uses (Start).
    void Clear();
    // One more item of this run will use `url`.
    void PlanUse(std::string_view url);

    bool Contains(std::string_view url) const;
    // An item's turn with `url`: its page when the cache holds it. After the
    // URL's last planned use the cache lets go of it.
    std::shared_ptr<const FlatPage> Use(std::string_view url);
    // A page downloaded for a use of `url`; kept while uses remain.
    void Put(std::string_view url, std::shared_ptr<const FlatPage> page);

    size_t Size() const;

  private:
    struct Entry {
        int usesLeft = 0;
        std::shared_ptr<const FlatPage> page;
    };

    mutable std::mutex m_lock;
    std::map<std::string, Entry, std::less<>> m_entries;
};

}  // namespace pagelark
