#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// Flattened page texts of one collection run, keyed by the upper-cased URL so
// that items sharing a page (in any letter case) download it once.
class PageCache {
  public:
    std::optional<std::string> Find(std::string_view url) const;
    void Put(std::string_view url, std::string text);
    void Clear();
    size_t Size() const;

  private:
    mutable std::mutex m_lock;
    std::map<std::string, std::string, std::less<>> m_pages;
};

}  // namespace pagelark
