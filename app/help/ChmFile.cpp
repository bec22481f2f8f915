#include "app/help/ChmFile.h"

#include <chm_lib.h>

#include <algorithm>
#include <cctype>

namespace pagelark {
namespace {

// Objects larger than this are no help page; it bounds what one read allocates.
constexpr LONGUINT64 kMaxObjectBytes = 16u << 20;

std::string Absolute(std::string name) {
    if (!name.empty() && name.front() != '/') name.insert(name.begin(), '/');
    return name;
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    return std::equal(tail.begin(), tail.end(), text.end() - static_cast<long>(tail.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

int CollectPath(chmFile*, chmUnitInfo* unit, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(unit->path);
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

ChmSystemNames ParseChmSystem(std::string_view record) {
    ChmSystemNames names;
    size_t at = 4;  // the version
    while (at + 4 <= record.size()) {
        const auto byte = [&](size_t i) { return static_cast<unsigned char>(record[i]); };
        const unsigned code = byte(at) | (byte(at + 1) << 8);
        const size_t length = byte(at + 2) | (byte(at + 3) << 8);
        at += 4;
        if (length > record.size() - at) break;
        std::string_view data = record.substr(at, length);
        data = data.substr(0, data.find('\0'));
        if (code == 0) names.contents = Absolute(std::string(data));
        if (code == 1) names.index = Absolute(std::string(data));
        if (code == 2) names.defaultTopic = Absolute(std::string(data));
        at += length;
    }
    return names;
}

ChmFile::~ChmFile() {
    if (m_file != nullptr) chm_close(m_file);
}

bool ChmFile::Open(const std::string& path) {
    if (m_file != nullptr) chm_close(m_file);
    m_file = chm_open(path.c_str());
    if (m_file == nullptr) return false;
    ReadSystemRecord();
    FindMissingNames();
    return true;
}

std::optional<std::string> ChmFile::Read(std::string_view path) const {
    if (m_file == nullptr) return std::nullopt;
    chmUnitInfo unit{};
    const std::string name(path);
    if (chm_resolve_object(m_file, name.c_str(), &unit) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    if (unit.length > kMaxObjectBytes) return std::nullopt;
    std::string bytes(static_cast<size_t>(unit.length), '\0');
    const LONGINT64 got =
        chm_retrieve_object(m_file, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(unit.length));
    if (got < 0) return std::nullopt;
    bytes.resize(static_cast<size_t>(got));
    return bytes;
}

std::vector<std::string> ChmFile::Paths() const {
    std::vector<std::string> paths;
    if (m_file != nullptr)
        chm_enumerate(m_file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectPath, &paths);
    return paths;
}

void ChmFile::ReadSystemRecord() {
    const std::optional<std::string> record = Read("/#SYSTEM");
    if (!record) return;
    const ChmSystemNames names = ParseChmSystem(*record);
    if (Read(names.defaultTopic)) m_defaultTopic = names.defaultTopic;
    if (Read(names.contents)) m_contentsFile = names.contents;
    if (Read(names.index)) m_indexFile = names.index;
}

void ChmFile::FindMissingNames() {
    if (!m_defaultTopic.empty() && !m_contentsFile.empty() && !m_indexFile.empty()) return;
    for (const std::string& path : Paths()) {
        if (m_contentsFile.empty() && EndsWithNoCase(path, ".hhc")) m_contentsFile = path;
        if (m_indexFile.empty() && EndsWithNoCase(path, ".hhk")) m_indexFile = path;
        if (m_defaultTopic.empty() &&
            (EndsWithNoCase(path, "/index.html") || EndsWithNoCase(path, "/index.htm")))
            m_defaultTopic = path;
    }
}

}  // namespace pagelark
