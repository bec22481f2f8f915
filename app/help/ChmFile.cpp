#include "app/help/ChmFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "app/help/LzxDecoder.h"

namespace pagelark {
namespace {

// Larger than any help file; it bounds what opening one reads.
constexpr uint64_t kMaxFileBytes = 64u << 20;
// Objects larger than this are no help page; it bounds what one read makes.
constexpr uint64_t kMaxObjectBytes = 16u << 20;
constexpr uint64_t kFrame = LzxDecoder::kFrameBytes;

constexpr char kControlData[] = "::DataSpace/Storage/MSCompressed/ControlData";
constexpr char kResetTable[] =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
    "InstanceData/ResetTable";
constexpr char kContent[] = "::DataSpace/Storage/MSCompressed/Content";

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

bool ChmFile::Open(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    char chunk[65536];
    while (in && bytes.size() <= kMaxFileBytes) {
        in.read(chunk, sizeof chunk);
        bytes.append(chunk, static_cast<size_t>(in.gcount()));
    }
    if (in.bad() || !in.eof() || bytes.size() > kMaxFileBytes) {
        *this = ChmFile();
        return false;
    }
    return Load(std::move(bytes));
}

bool ChmFile::Load(std::string bytes) {
    *this = ChmFile();
    m_bytes = std::move(bytes);
    std::optional<ChmDirectory> directory = ReadChmDirectory(m_bytes);
    if (directory) m_directory = std::move(*directory);
    if (!directory || !ReadCompression()) {
        *this = ChmFile();
        return false;
    }
    m_open = true;
    ReadSystemRecord();
    FindMissingNames();
    return true;
}

std::optional<std::string_view> ChmFile::Stored(const ChmObject& object) const {
    const uint64_t size = m_bytes.size();
    if (object.section != 0 || m_directory.contentOffset > size ||
        object.offset > size - m_directory.contentOffset ||
        object.length > size - m_directory.contentOffset - object.offset)
        return std::nullopt;
    return std::string_view(m_bytes).substr(m_directory.contentOffset + object.offset,
                                            object.length);
}

bool ChmFile::ReadCompression() {
    const ChmObject* control = m_directory.Find(kControlData);
    const ChmObject* table = m_directory.Find(kResetTable);
    const ChmObject* content = m_directory.Find(kContent);
    // Without them nothing is compressed; with them, they must hold together.
    if (control == nullptr && table == nullptr && content == nullptr) return true;
    if (control == nullptr || table == nullptr || content == nullptr) return false;
    const std::optional<std::string_view> controlData = Stored(*control);
    const std::optional<std::string_view> resetTable = Stored(*table);
    const std::optional<std::string_view> stream = Stored(*content);
    if (!controlData || !resetTable || !stream || controlData->size() < 0x18 ||
        controlData->substr(4, 4) != "LZXC" || resetTable->size() < 0x28)
        return false;

    // Version 2 counts the reset interval and the window in 32 KB frames.
    const uint64_t version = ChmNumber(*controlData, 8, 4);
    if (version != 1 && version != 2) return false;
    const uint64_t unit = version == 2 ? kFrame : 1;
    const uint64_t resetInterval = ChmNumber(*controlData, 12, 4) * unit;
    const uint64_t window = ChmNumber(*controlData, 16, 4) * unit;
    Compression compression;
    for (int bits = 15; bits <= 21; ++bits)
        if (window == (uint64_t{1} << bits)) compression.windowBits = bits;
    if (compression.windowBits == 0 || resetInterval == 0 || resetInterval % kFrame != 0)
        return false;
    compression.framesPerReset = resetInterval / kFrame;

    // The reset table: the compressed offset of every 32 KB frame.
    const uint64_t frames = ChmNumber(*resetTable, 4, 4);
    const uint64_t entrySize = ChmNumber(*resetTable, 8, 4);
    const uint64_t tableOffset = ChmNumber(*resetTable, 12, 4);
    compression.uncompressed = ChmNumber(*resetTable, 0x10, 8);
    compression.compressed = ChmNumber(*resetTable, 0x18, 8);
    if (ChmNumber(*resetTable, 0, 4) != 2 || entrySize != 8 ||
        ChmNumber(*resetTable, 0x20, 8) != kFrame || tableOffset > resetTable->size() ||
        frames > (resetTable->size() - tableOffset) / 8 ||
        compression.compressed > stream->size() || compression.uncompressed > frames * kFrame)
        return false;
    compression.frames = frames;
    compression.tableStart =
        static_cast<uint64_t>(resetTable->data() - m_bytes.data()) + tableOffset;
    compression.contentStart = static_cast<uint64_t>(stream->data() - m_bytes.data());
    m_compression = compression;
    return true;
}

std::optional<std::string> ChmFile::Decompress(uint64_t offset, uint64_t length) const {
    if (!m_compression) return std::nullopt;
    const Compression& c = *m_compression;
    if (offset > c.uncompressed || length > c.uncompressed - offset) return std::nullopt;
    if (length == 0) return std::string();
    const uint64_t first = offset / kFrame;
    const uint64_t last = (offset + length - 1) / kFrame;
    // Decoding starts at the reset point before the first frame wanted.
    const uint64_t start = first - first % c.framesPerReset;
    const std::string_view stream = std::string_view(m_bytes).substr(c.contentStart, c.compressed);
    const auto entry = [&](uint64_t frame) {
        return ChmNumber(m_bytes, static_cast<size_t>(c.tableStart + frame * 8), 8);
    };
    LzxDecoder decoder(c.windowBits);
    std::string out;
    for (uint64_t frame = start; frame <= last; ++frame) {
        if ((frame - start) % c.framesPerReset == 0) decoder.Reset();
        const uint64_t from = entry(frame);
        const uint64_t to = frame + 1 < c.frames ? entry(frame + 1) : c.compressed;
        if (from > to || to > c.compressed) return std::nullopt;
        const uint64_t size = std::min(kFrame, c.uncompressed - frame * kFrame);
        if (!decoder.DecodeFrame(stream.substr(from, to - from), size, out)) return std::nullopt;
    }
    return out.substr(offset - start * kFrame, length);
}

std::optional<std::string> ChmFile::Read(std::string_view path) const {
    const ChmObject* object = m_open ? m_directory.Find(path) : nullptr;
    if (object == nullptr || object->length > kMaxObjectBytes) return std::nullopt;
    if (object->section == 1) return Decompress(object->offset, object->length);
    const std::optional<std::string_view> stored = Stored(*object);
    if (!stored) return std::nullopt;
    return std::string(*stored);
}

std::vector<std::string> ChmFile::Paths() const {
    // Topics and files: not folders, nor the file's own records (/#, /$).
    std::vector<std::string> paths;
    for (const ChmObject& object : m_directory.objects) {
        const std::string& name = object.name;
        if (name.size() < 2 || name.front() != '/' || name.back() == '/' || name[1] == '#' ||
            name[1] == '$')
            continue;
        paths.push_back(name);
    }
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
