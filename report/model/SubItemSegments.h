#pragma once

#include <string>
#include <string_view>

namespace pagelark {

// The fields of one subitem; -1 means not set. length is -1 when there is no text.
struct Segment {
    int image = -1;
    int overlay = -1;
    int check = -1;
    int textColor = -1;
    int length = -1;
    std::string text;

    bool IsEmpty() const {
        return image == -1 && overlay == -1 && check == -1 && textColor == -1 && length == -1;
    }
};

// All subitems of a row in one string, one "(%d,%d,%d,%d,%d)%s|" segment per
// column. A segment's text is read by its stored length, so a '|' inside a
// text is kept and does not shift later segments.
class SubItemSegments {
  public:
    static std::string EmptySegment();
    static std::string Encode(const Segment& segment);

    // Byte offset where segment n starts; npos when the string has fewer segments.
    static size_t Find(std::string_view data, int n);
    // Segment n, or an empty segment when it does not exist or does not parse.
    static Segment Read(std::string_view data, int n);
    static bool Replace(std::string& data, int n, const Segment& segment);
    // Inserts an empty segment before segment n (n may equal the segment count).
    static bool InsertEmpty(std::string& data, int n);
    static int Count(std::string_view data);

  private:
    // Parses the segment at pos; returns the offset just past its separator, or npos.
    static size_t Parse(std::string_view data, size_t pos, Segment* out);
};

}  // namespace pagelark
