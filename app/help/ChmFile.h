#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/help/ChmDirectory.h"

// A compiled help file: its topics by path, and the default topic, contents
// and index files named in its #SYSTEM record. The file is read whole into
// memory; its directory and its LZX-compressed section are read by our own
// code, which checks every offset and length, so a damaged file gives
// "nothing there", never a crash.
namespace pagelark {

class ChmFile {
  public:
    // False when the file is missing, too large for a help file, or is no
    // compiled help file.
    bool Open(const std::string& path);
    // The same for the bytes of a file.
    bool Load(std::string bytes);
    bool IsOpen() const { return m_open; }

    // The object at an absolute path ("/filter.html"); nothing when absent or
    // unreadable.
    std::optional<std::string> Read(std::string_view path) const;
    // Paths of every topic and file, each starting with "/".
    std::vector<std::string> Paths() const;

    // Absolute paths; empty when the file names none and none can be found.
    const std::string& DefaultTopic() const { return m_defaultTopic; }
    const std::string& ContentsFile() const { return m_contentsFile; }
    const std::string& IndexFile() const { return m_indexFile; }

  private:
    // Where the compressed section and its reset table lie, checked once.
    struct Compression {
        int windowBits = 0;
        uint64_t framesPerReset = 0;
        uint64_t uncompressed = 0;
        uint64_t compressed = 0;
        uint64_t contentStart = 0;  // in the file
        uint64_t tableStart = 0;    // the frames' compressed offsets, in the file
        uint64_t frames = 0;        // entries in that table
    };
    std::optional<std::string_view> Stored(const ChmObject& object) const;
    bool ReadCompression();
    std::optional<std::string> Decompress(uint64_t offset, uint64_t length) const;
    void ReadSystemRecord();
    void FindMissingNames();

    bool m_open = false;
    std::string m_bytes;
    ChmDirectory m_directory;
    std::optional<Compression> m_compression;
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
