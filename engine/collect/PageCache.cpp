#include "engine/collect/PageCache.h"

#include "engine/page/TextBytes.h"

namespace pagelark {

void PageCache::Clear() {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_entries.clear();
}

void PageCache::PlanUse(std::string_view url) {
    std::string key = ToUpperAscii(url);
    const std::lock_guard<std::mutex> hold(m_lock);
    ++m_entries[std::move(key)].usesLeft;
}

bool PageCache::Contains(std::string_view url) const {
    const std::string key = ToUpperAscii(url);
    const std::lock_guard<std::mutex> hold(m_lock);
    const auto it = m_entries.find(key);
    return it != m_entries.end() && it->second.page != nullptr;
}

std::shared_ptr<const FlatPage> PageCache::Use(std::string_view url) {
    const std::string key = ToUpperAscii(url);
    const std::lock_guard<std::mutex> hold(m_lock);
    const auto it = m_entries.find(key);
    if (it == m_entries.end()) return nullptr;
    std::shared_ptr<const FlatPage> page = it->second.page;
    if (--it->second.usesLeft <= 0) m_entries.erase(it);
    return page;
}

void PageCache::Put(std::string_view url, std::shared_ptr<const FlatPage> page) {
    const std::string key = ToUpperAscii(url);
    const std::lock_guard<std::mutex> hold(m_lock);
    const auto it = m_entries.find(key);
    if (it != m_entries.end() && it->second.usesLeft > 0) it->second.page = std::move(page);
}

size_t PageCache::Size() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    size_t pages = 0;
    for (const auto& [key, entry] : m_entries)
        pages += entry.page != nullptr;
    return pages;
}

}  // namespace pagelark
