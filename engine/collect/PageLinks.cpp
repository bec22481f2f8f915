#include "engine/collect/PageLinks.h"

#include <charconv>
#include <limits>

namespace pagelark {

std::string PageLinks::Record(std::string url, size_t maxMarkerBytes) {
    const LinkNumber number = NextNumber();
    // The top number is never handed out, so the counter cannot wrap.
    if (number == std::numeric_limits<LinkNumber>::max()) return {};
    std::string marker = OpeningMarker(number);
    if (marker.size() > maxMarkerBytes) return {};
    m_urls.push_back(std::move(url));
    return marker;
}

std::optional<std::string_view> PageLinks::Lookup(std::string_view marker) const {
    const std::optional<LinkNumber> number = MarkerNumber(marker);
    if (!number || *number < m_first || *number >= NextNumber()) return std::nullopt;
    return m_urls[static_cast<size_t>(*number - m_first)];
}

std::optional<LinkNumber> MarkerNumber(std::string_view marker) {
    constexpr std::string_view kOpen = "__A";
    if (!marker.starts_with(kOpen) || !marker.ends_with(';') || marker.size() < kOpen.size() + 2)
        return std::nullopt;
    const std::string_view digits = marker.substr(kOpen.size(), marker.size() - kOpen.size() - 1);
    // Only the form OpeningMarker writes: digits, no sign, no leading zero.
    if (digits[0] < '0' || digits[0] > '9' || (digits.size() > 1 && digits[0] == '0'))
        return std::nullopt;
    LinkNumber number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || number < 0)
        return std::nullopt;
    return number;
}

}  // namespace pagelark
