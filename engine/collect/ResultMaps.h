#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// Item number in decimal -> gathered entries text / preview text.
using EntryMap = std::map<std::string, std::string, std::less<>>;
using PreviewMap = std::map<std::string, std::string, std::less<>>;

// EntryMap and PreviewMap behind one lock: the worker writes them while the
// window may paint previews or list entries, and no map may be read while it
// is being changed.
class ResultMaps {
  public:
    void SetEntries(std::string_view key, std::string entries);
    void SetPreview(std::string_view key, std::string preview);
    std::optional<std::string> Entries(std::string_view key) const;
    std::optional<std::string> Preview(std::string_view key) const;

    // Removes both the entries and the preview of one item.
    void Remove(std::string_view key);
    void Clear();

    EntryMap EntriesSnapshot() const;

  private:
    mutable std::mutex m_lock;
    EntryMap m_entryMap;
    PreviewMap m_previewMap;
};

}  // namespace pagelark
