#include "report/model/SubItemSegments.h"

#include <charconv>
#include <cstdio>

namespace pagelark {

namespace {

constexpr char kSeparator = '|';

bool ParseInt(std::string_view data, size_t& pos, char end, int& value) {
    const char* first = data.data() + pos;
    const char* last = data.data() + data.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr == last || *ptr != end) return false;
    pos = static_cast<size_t>(ptr - data.data()) + 1;
    return true;
}

}  // namespace

std::string SubItemSegments::EmptySegment() {
    return "(-1,-1,-1,-1,-1)|";
}

std::string SubItemSegments::Encode(const Segment& segment) {
    char head[80];
    const int length = segment.length < 0 ? -1 : static_cast<int>(segment.text.size());
    std::snprintf(head, sizeof head, "(%d,%d,%d,%d,%d)", segment.image, segment.overlay,
                  segment.check, segment.textColor, length);
    std::string out = head;
    if (length >= 0) out += segment.text;
    out += kSeparator;
    return out;
}

size_t SubItemSegments::Parse(std::string_view data, size_t pos, Segment* out) {
    if (pos >= data.size() || data[pos] != '(') return std::string_view::npos;
    ++pos;
    int values[5];
    for (int i = 0; i < 5; ++i)
        if (!ParseInt(data, pos, i < 4 ? ',' : ')', values[i])) return std::string_view::npos;
    const int length = values[4];
    const size_t textLength = length < 0 ? 0 : static_cast<size_t>(length);
    if (data.size() - pos < textLength + 1 || data[pos + textLength] != kSeparator)
        return std::string_view::npos;
    if (out) {
        out->image = values[0];
        out->overlay = values[1];
        out->check = values[2];
        out->textColor = values[3];
        out->length = length < 0 ? -1 : length;
        out->text.assign(data.substr(pos, textLength));
    }
    return pos + textLength + 1;
}

size_t SubItemSegments::Find(std::string_view data, int n) {
    if (n < 0) return std::string_view::npos;
    size_t pos = 0;
    for (int i = 0; i < n; ++i) {
        pos = Parse(data, pos, nullptr);
        if (pos == std::string_view::npos) return pos;
    }
    return pos < data.size() ? pos : std::string_view::npos;
}

Segment SubItemSegments::Read(std::string_view data, int n) {
    Segment segment;
    const size_t pos = Find(data, n);
    if (pos == std::string_view::npos || Parse(data, pos, &segment) == std::string_view::npos)
        return Segment{};
    return segment;
}

bool SubItemSegments::Replace(std::string& data, int n, const Segment& segment) {
    const size_t pos = Find(data, n);
    if (pos == std::string_view::npos) return false;
    const size_t end = Parse(data, pos, nullptr);
    if (end == std::string_view::npos) return false;
    data.replace(pos, end - pos, Encode(segment));
    return true;
}

bool SubItemSegments::InsertEmpty(std::string& data, int n) {
    const size_t pos = n == Count(data) ? data.size() : Find(data, n);
    if (pos == std::string_view::npos) return false;
    data.insert(pos, EmptySegment());
    return true;
}

int SubItemSegments::Count(std::string_view data) {
    int count = 0;
    for (size_t pos = 0; pos < data.size(); ++count) {
        pos = Parse(data, pos, nullptr);
        if (pos == std::string_view::npos) break;
    }
    return count;
}

}  // namespace pagelark
