#include "engine/collect/PageCache.h"

#include "engine/page/TextBytes.h"

namespace pagelark {

std::optional<std::string> PageCache::Find(std::string_view url) const {
    const std::string key = ToUpperAscii(url);
    const std::lock_guard<std::mutex> hold(m_lock);
    const auto it = m_pages.find(key);
    if (it == m_pages.end()) return std::nullopt;
    return it->second;
}

void PageCache::Put(std::string_view url, std::string text) {
    std::string key = ToUpperAscii(url);
    const std::lock_guard<std::mutex> hold(m_lock);
    m_pages.insert_or_assign(std::move(key), std::move(text));
}

void PageCache::Clear() {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_pages.clear();
}

size_t PageCache::Size() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_pages.size();
}

}  // namespace pagelark
