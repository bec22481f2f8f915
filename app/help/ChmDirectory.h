#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The directory of a compiled help file: the ITSF header, the ITSP header and
// its listing chunks (PMGL), each entry naming an object, its section, offset
// and length. Read from the file's bytes with every offset and length
// checked; the index chunks (PMGI) only speed up a search and are not needed.
namespace pagelark {

struct ChmObject {
    std::string name;      // as stored: "/index.html", "::DataSpace/NameList"
    uint64_t section = 0;  // 0 stored as it is, 1 compressed
    uint64_t offset = 0;   // within its section
    uint64_t length = 0;
};

struct ChmDirectory {
    uint64_t contentOffset = 0;      // where section 0 starts in the file
    std::vector<ChmObject> objects;  // in directory order

    // The first object of that name, letters compared without regard to case
    // as the help's links expect; nullptr when there is none.
    const ChmObject* Find(std::string_view name) const;
};

// The little-endian number of `size` bytes (at most 8) at `at`, which the
// caller has checked to lie within `bytes`.
uint64_t ChmNumber(std::string_view bytes, size_t at, size_t size);

// Nothing when the bytes are no compiled help file or its directory does not
// hold together (an offset or length outside the file, a broken entry).
std::optional<ChmDirectory> ReadChmDirectory(std::string_view file);

}  // namespace pagelark
