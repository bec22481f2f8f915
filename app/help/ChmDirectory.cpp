#include "app/help/ChmDirectory.h"

#include <algorithm>
#include <cctype>

namespace pagelark {
namespace {

constexpr size_t kItsfVersion2 = 0x58;
constexpr size_t kItsfVersion3 = 0x60;
constexpr size_t kItspLength = 0x54;
constexpr size_t kChunkHeader = 0x14;
constexpr uint64_t kMaxChunkBytes = 1 << 20;

// A number as the directory stores it: seven bits a byte, the most
// significant first, the top bit set on every byte but the last.
bool ReadNumber(std::string_view chunk, size_t& at, size_t end, uint64_t& value) {
    value = 0;
    for (int i = 0; i < 9 && at < end; ++i) {
        const unsigned char byte = static_cast<unsigned char>(chunk[at++]);
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

// The entries of one listing chunk, appended to `objects`; false when one of
// them does not fit the chunk's used part.
bool ReadListing(std::string_view chunk, std::vector<ChmObject>& objects) {
    const uint64_t freeSpace = ChmNumber(chunk, 4, 4);
    if (freeSpace > chunk.size() - kChunkHeader) return false;
    const size_t end = chunk.size() - static_cast<size_t>(freeSpace);
    for (size_t at = kChunkHeader; at < end;) {
        uint64_t nameLength = 0;
        if (!ReadNumber(chunk, at, end, nameLength) || nameLength == 0 || nameLength > end - at)
            return false;
        ChmObject object;
        object.name.assign(chunk.substr(at, static_cast<size_t>(nameLength)));
        at += static_cast<size_t>(nameLength);
        if (!ReadNumber(chunk, at, end, object.section) ||
            !ReadNumber(chunk, at, end, object.offset) ||
            !ReadNumber(chunk, at, end, object.length))
            return false;
        objects.push_back(std::move(object));
    }
    return true;
}

}  // namespace

uint64_t ChmNumber(std::string_view bytes, size_t at, size_t size) {
    uint64_t value = 0;
    for (size_t i = size; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

const ChmObject* ChmDirectory::Find(std::string_view name) const {
    const auto same = [&](const ChmObject& object) {
        return object.name.size() == name.size() &&
               std::equal(name.begin(), name.end(), object.name.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) ==
                          std::tolower(static_cast<unsigned char>(b));
               });
    };
    const auto found = std::find_if(objects.begin(), objects.end(), same);
    return found == objects.end() ? nullptr : &*found;
}

std::optional<ChmDirectory> ReadChmDirectory(std::string_view file) {
    if (file.size() < kItsfVersion2 || file.substr(0, 4) != "ITSF") return std::nullopt;
    const uint64_t version = ChmNumber(file, 4, 4);
    const uint64_t headerLength = ChmNumber(file, 8, 4);
    const size_t needed = version == 3 ? kItsfVersion3 : kItsfVersion2;
    if ((version != 2 && version != 3) || headerLength < needed || headerLength > file.size())
        return std::nullopt;
    const uint64_t dirOffset = ChmNumber(file, 0x48, 8);
    const uint64_t dirLength = ChmNumber(file, 0x50, 8);
    if (dirOffset > file.size() || dirLength > file.size() - dirOffset || dirLength < kItspLength)
        return std::nullopt;
    ChmDirectory directory;
    // Version 2 keeps section 0 right after the directory.
    directory.contentOffset = version == 3 ? ChmNumber(file, 0x58, 8) : dirOffset + dirLength;
    if (directory.contentOffset > file.size()) return std::nullopt;

    const std::string_view dir = file.substr(dirOffset, dirLength);
    if (dir.substr(0, 4) != "ITSP" || ChmNumber(dir, 4, 4) != 1) return std::nullopt;
    const uint64_t itspLength = ChmNumber(dir, 8, 4);
    const uint64_t chunkSize = ChmNumber(dir, 0x10, 4);
    const uint64_t chunks = ChmNumber(dir, 0x2C, 4);
    if (itspLength < kItspLength || itspLength > dir.size() || chunkSize < kChunkHeader ||
        chunkSize > kMaxChunkBytes || chunks > (dir.size() - itspLength) / chunkSize)
        return std::nullopt;
    for (uint64_t i = 0; i < chunks; ++i) {
        const std::string_view chunk = dir.substr(itspLength + i * chunkSize, chunkSize);
        if (chunk.substr(0, 4) == "PMGL" && !ReadListing(chunk, directory.objects))
            return std::nullopt;
    }
    return directory;
}

}  // namespace pagelark
