#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

// A compiled help file read with chmlib: its topics by path, and the default
// topic, contents and index files named in its #SYSTEM record.
namespace pagelark {

class ChmFile {
  public:
    ChmFile() = default;
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // False when the file is missing or is no compiled help file.
    bool Open(const std::string& path);
    bool IsOpen() const { return m_file != nullptr; }

    // The object at an absolute path ("/filter.html"); nothing when absent.
    std::optional<std::string> Read(std::string_view path) const;
    // Paths of every ordinary object, each starting with "/".
    std::vector<std::string> Paths() const;

    // Absolute paths; empty when the file names none and none can be found.
    const std::string& DefaultTopic() const { return m_defaultTopic; }
    const std::string& ContentsFile() const { return m_contentsFile; }
    const std::string& IndexFile() const { return m_indexFile; }

  private:
    void ReadSystemRecord();
    void FindMissingNames();

    chmFile* m_file = nullptr;
    std::string m_defaultTopic;
    std::string m_contentsFile;
    std::string m_indexFile;
};

// The #SYSTEM record's entries: a 4-byte version, then (code, length, data)
// with 16-bit little-endian code and length. Codes 0 contents, 1 index,
// 2 default topic; their data is a file name ending in a zero byte.
struct ChmSystemNames {
    std::string contents;
    std::string index;
    std::string defaultTopic;
};
ChmSystemNames ParseChmSystem(std::string_view record);

}  // namespace pagelark
