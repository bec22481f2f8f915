#include "files/XmlDocument.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "files/XmlToken.h"

namespace pagelark {
namespace {

constexpr size_t kInitialTableSize = 50;
constexpr std::string_view kLineEnd = "\r\n";

// Entities in decoding order: the character and the name after "&".
struct Entity {
    char character;
    std::string_view name;
};
constexpr Entity kEntities[] = {
    {'<', "lt;"}, {'&', "amp;"}, {'>', "gt;"}, {'\'', "apos;"}, {'"', "quot;"}};

// The text never holds a zero byte: a saved file would end at the first one.
bool HasZero(std::string_view value) {
    return value.find('\0') != std::string_view::npos;
}

}  // namespace

XmlDocument::XmlDocument() {
    Load(nullptr);
}

bool XmlDocument::Load(const char* text) {
    if (text == nullptr) return LoadText(nullptr, std::nullopt);
    return LoadText(nullptr, std::string_view(text));
}

bool XmlDocument::Load(std::string&& text) {
    text.resize(std::min(text.size(), text.find('\0')));
    return LoadText(&text, std::nullopt);
}

bool XmlDocument::LoadText(std::string* adopt, std::optional<std::string_view> copy) {
    m_nextFree = 1;
    ResetCursor();
    if (m_table.size() < kInitialTableSize) {
        m_table.resize(kInitialTableSize);
        m_previous.resize(kInitialTableSize);
    }
    m_table[0] = ElementSpan{};
    m_order.Clear();
    m_ordered = false;
    m_marks.clear();
    if (adopt != nullptr || copy) {
        if (adopt != nullptr)
            m_text.Adopt(std::move(*adopt));
        else
            m_text.Assign(*copy);
        // Offsets are 32-bit; a text that could outgrow them is not taken.
        if (m_text.Size() < static_cast<size_t>(INT32_MAX / 2)) {
            SizeTableFor(m_text.View());
            m_parseBudget = kParsePasses * static_cast<int64_t>(m_text.Size()) + 4096;
            const int root = ParseElement(0, 0, 1);
            At(0).firstChild = root;
            if (root != 0 && m_parseBudget >= 0) {
                ResetCursor();
                return true;
            }
        }
    }
    m_text.Clear();
    At(0) = ElementSpan{};
    m_nextFree = 1;
    ResetCursor();
    return false;
}

// Each element starts at a "<" that no "/", "?" or "!" follows; a table of
// that many records is seldom outgrown, and never much too large.
void XmlDocument::SizeTableFor(std::string_view text) {
    size_t starts = 1;
    for (size_t lt = text.find('<'); lt != std::string_view::npos; lt = text.find('<', lt + 1)) {
        const char next = lt + 1 < text.size() ? text[lt + 1] : '/';
        starts += next != '/' && next != '?' && next != '!';
    }
    const size_t size = std::max(starts + 1, kInitialTableSize);
    if (m_table.size() >= size && m_table.size() <= 2 * size) return;
    m_table.assign(size, ElementSpan{});
    m_table.shrink_to_fit();
    m_previous.assign(size, 0);
    m_previous.shrink_to_fit();
}

void XmlDocument::KeepOrder() {
    if (m_ordered) return;
    m_order.Assign(TextOrder());
    m_ordered = true;
}

void XmlDocument::ResetCursor() {
    m_current = 0;
    m_child = 0;
    m_depth = 0;
}

int XmlDocument::TakeIndex() {
    if (static_cast<size_t>(m_nextFree) >= m_table.size()) {
        m_table.resize(m_table.size() + m_table.size() / 2);
        m_previous.resize(m_table.size());
    }
    return m_nextFree++;
}

// The elements reachable from the document level, in text order.
std::vector<int> XmlDocument::TextOrder() const {
    std::vector<int> order;
    int e = Stored(0).firstChild;
    while (e != 0) {
        order.push_back(e);
        if (Stored(e).firstChild != 0) {
            e = Stored(e).firstChild;
            continue;
        }
        while (e != 0 && Stored(e).nextSibling == 0)
            e = Stored(e).parent;
        if (e != 0) e = Stored(e).nextSibling;
    }
    return order;
}

ElementSpan XmlDocument::Span(int index) const {
    if (index < 0 || index >= m_nextFree) return {};
    ElementSpan span = Stored(index);
    const int32_t shift = ShiftOf(index);
    span.tagStart += shift;
    span.tagEnd += shift;
    span.closeStart += shift;
    span.closeEnd += shift;
    span.nextTag += shift;
    return span;
}

void XmlDocument::StoreOffsets(int index, const ElementSpan& offsets) {
    const int32_t shift = ShiftOf(index);
    ElementSpan& span = At(index);
    span.tagStart = offsets.tagStart - shift;
    span.tagEnd = offsets.tagEnd - shift;
    span.closeStart = offsets.closeStart - shift;
    span.closeEnd = offsets.closeEnd - shift;
    span.nextTag = offsets.nextTag - shift;
}

int32_t XmlDocument::NextTagAt(int32_t from) const {
    const size_t lt = m_text.View().find('<', static_cast<size_t>(std::max(from, 0)));
    return lt == std::string_view::npos ? Length() : static_cast<int32_t>(lt);
}

bool XmlDocument::IsLive(int index) const {
    return index > 0 && index < m_nextFree && (!m_ordered || m_order.Contains(index));
}

bool XmlDocument::IsEmptyForm(int index) const {
    // Both offsets are stored less the same shift.
    const ElementSpan& s = Stored(index);
    return index != 0 && s.tagEnd == s.closeStart + 1;
}

std::string XmlDocument::TagName(int index) const {
    return IsLive(index) ? std::string(NameView(index)) : std::string();
}

std::string_view XmlDocument::NameView(int index) const {
    const std::string_view text = m_text.View();
    XmlToken token;
    token.next = Span(index).tagStart + 1;
    if (!NextToken(text, token)) return {};
    return token.Text(text);
}

bool XmlDocument::Spend(int64_t bytes) {
    m_parseBudget -= bytes;
    return m_parseBudget >= 0;
}

int XmlDocument::ParseElement(int parent, int32_t scan, int level) {
    // Deep nesting is refused before it can exhaust the stack.
    if (level > kMaxDepth || !Spend(1)) return 0;
    const std::string_view text = m_text.View();
    const int e = TakeIndex();
    At(e) = ElementSpan{};
    At(e).parent = parent;
    m_previous[static_cast<size_t>(e)] = 0;
    // A failed element gives back its index and every index its children
    // took: an index below m_nextFree is always an element of the tree.
    const auto fail = [this, e] {
        m_nextFree = e;
        return 0;
    };

    bool empty = false;
    std::string_view name;
    ElementSpan span;
    XmlToken token;
    while (true) {
        const size_t lt = text.find('<', static_cast<size_t>(scan));
        if (lt == std::string_view::npos) return fail();
        if (!Spend(static_cast<int64_t>(lt) - scan)) return fail();
        span.tagStart = static_cast<int32_t>(lt);
        token = XmlToken{};
        token.next = span.tagStart + 1;
        token.start = span.tagStart + 1;
        int count = 0;
        int kind = 0;  // 0 element, 1 processing instruction, 2 declaration, 3 after "--"
        empty = false;
        while (NextToken(text, token)) {
            ++count;
            if (!Spend(token.end - token.start + 2)) return fail();
            if (token.quoted) continue;
            if (token.Is(text, '/')) {
                if (count == 1) return fail();  // an end tag: no element starts here
                if (kind == 0) empty = true;
            } else if (token.Is(text, '>')) {
                if (kind != 2) break;
            } else if (kind == 2 && token.Text(text) == "--") {
                kind = 3;
            }
            if (count == 1) {
                name = token.Text(text);
                if (name == "?") kind = 1;
                if (name == "!") kind = 2;
            }
        }
        if (kind != 0) {
            scan = token.start;  // skip the processing instruction or declaration
            continue;
        }
        if (count == 0) return fail();
        break;
    }

    span.tagEnd = token.start;
    if (empty) {
        span.closeStart = span.tagEnd - 1;
        span.closeEnd = span.tagEnd;
    } else {
        scan = span.tagEnd + 1;
        int previous = 0;
        while (const int child = ParseElement(e, scan, level + 1)) {
            if (previous == 0)
                At(e).firstChild = child;
            else
                At(previous).nextSibling = child;
            m_previous[static_cast<size_t>(child)] = previous;
            previous = child;
            scan = Span(child).closeEnd + 1;
        }
        const size_t lt = text.find('<', static_cast<size_t>(scan));
        if (lt == std::string_view::npos || !Spend(static_cast<int64_t>(lt) - scan)) return fail();
        XmlToken close;
        close.next = static_cast<int32_t>(lt) + 1;
        close.start = close.next;
        int count = 0;
        while (NextToken(text, close)) {
            ++count;
            if (!Spend(close.end - close.start + 2)) return fail();
            if (close.quoted) continue;
            if (count == 1 && !close.Is(text, '/')) return fail();
            if (count == 2 && close.Text(text) != name) return fail();
            if (close.Is(text, '>')) break;
        }
        if (count < 2) return fail();
        span.closeStart = static_cast<int32_t>(lt);
        span.closeEnd = close.start;
    }
    span.nextTag = NextTagAt(span.closeEnd);
    StoreOffsets(e, span);
    return e;
}

bool XmlDocument::FindElement(std::string_view name) {
    if (m_current != 0 && !IsLive(m_current)) return false;
    int candidate = m_current != 0 ? Stored(m_current).nextSibling : Stored(0).firstChild;
    for (; candidate != 0; candidate = Stored(candidate).nextSibling) {
        if (name.empty() || NameView(candidate) == name) {
            m_current = candidate;
            m_child = 0;
            return true;
        }
    }
    return false;
}

bool XmlDocument::FindChildElement(std::string_view name) {
    if (m_current == 0) FindElement();
    if (!IsLive(m_current) || IsEmptyForm(m_current)) return false;
    if (m_child != 0 && !IsLive(m_child)) return false;
    int candidate = m_child != 0 ? Stored(m_child).nextSibling : Stored(m_current).firstChild;
    for (; candidate != 0; candidate = Stored(candidate).nextSibling) {
        if (name.empty() || NameView(candidate) == name) {
            m_child = candidate;
            return true;
        }
    }
    return false;
}

bool XmlDocument::EnterChild() {
    if (m_child == 0) FindChildElement();
    // Current 0 with a child is the document level, left to from a top-level element.
    if (!IsLive(m_child) || (m_current != 0 && !IsLive(m_current))) return false;
    m_current = m_child;
    m_child = 0;
    ++m_depth;
    return true;
}

bool XmlDocument::LeaveToParent() {
    if (!IsLive(m_current) || m_depth <= 0) return false;
    m_child = m_current;
    m_current = Stored(m_current).parent;
    --m_depth;
    return true;
}

bool XmlDocument::SaveMark(const char* name) {
    if (!IsLive(m_current) || (m_child != 0 && !IsLive(m_child)) || name == nullptr) return false;
    m_marks.insert_or_assign(std::string(name), Cursor{m_current, m_child, m_depth});
    return true;
}

bool XmlDocument::RestoreMark(const char* name) {
    if (name == nullptr) return false;
    const auto it = m_marks.find(std::string_view(name));
    if (it == m_marks.end()) return false;
    m_current = it->second.current;
    m_child = it->second.child;
    m_depth = it->second.depth;
    return true;
}

bool XmlDocument::AddElement(std::string_view name, std::string_view text) {
    if (m_current != 0 && !IsLive(m_current)) return false;
    if (!IsWritableName(name) || HasZero(text)) return false;
    const int parent = m_current != 0 ? Stored(m_current).parent : 0;
    m_current = InsertElement(parent, m_current, name, text);
    m_child = 0;
    return true;
}

bool XmlDocument::AddChildElement(std::string_view name, std::string_view text) {
    if (!IsLive(m_current) || (m_child != 0 && !IsLive(m_child))) return false;
    if (!IsWritableName(name) || HasZero(text)) return false;
    int after = m_child;
    if (after == 0) {
        for (int c = Stored(m_current).firstChild; c != 0; c = Stored(c).nextSibling)
            after = c;
    }
    m_child = InsertElement(m_current, after, name, text);
    return true;
}

int XmlDocument::InsertElement(int parent, int after, std::string_view name,
                               std::string_view text) {
    KeepOrder();
    const int n = TakeIndex();
    const int firstChild = Stored(parent).firstChild;
    bool convertParent = false;
    int32_t at;
    if (after != 0) {
        at = Span(after).nextTag;
    } else if (firstChild != 0) {
        at = Span(firstChild).tagStart;
    } else if (IsEmptyForm(parent)) {
        at = Span(parent).tagEnd + 2;
        convertParent = true;
    } else {
        // A loaded document's level starts with its end at 0, not at the end
        // of the text, so once its only element is gone that end can lie
        // before the text: the new element goes first, where the splice puts it.
        at = std::clamp(Span(parent).closeStart, 0, Length());
    }

    At(n) = ElementSpan{};
    At(n).parent = parent;
    const int next = after != 0 ? Stored(after).nextSibling : firstChild;
    if (after != 0)
        At(after).nextSibling = n;
    else
        At(parent).firstChild = n;
    At(n).nextSibling = next;
    m_previous[static_cast<size_t>(n)] = after;
    if (next != 0) m_previous[static_cast<size_t>(next)] = n;
    // In text order the new element follows the whole of `after`, or its parent.
    m_order.InsertAfter(after != 0 ? LastInSubtree(after) : parent, n);

    const int32_t nameLength = static_cast<int32_t>(name.size());
    std::string element;
    ElementSpan span;
    span.tagStart = at;
    if (text.empty()) {
        element.append("<").append(name).append("/>").append(kLineEnd);
        span.tagEnd = at + nameLength + 2;
        span.closeStart = span.tagEnd - 1;
        span.closeEnd = span.tagEnd;
    } else {
        const std::string escaped = EscapeText(text, EscapeMode::Element);
        element.append("<").append(name).append(">").append(escaped);
        element.append("</").append(name).append(">").append(kLineEnd);
        span.tagEnd = at + nameLength + 1;
        span.closeStart = span.tagEnd + static_cast<int32_t>(escaped.size()) + 1;
        span.closeEnd = span.closeStart + nameLength + 2;
    }
    span.nextTag = span.closeEnd + 3;

    if (convertParent) {
        // "<parent/>" becomes "<parent>", CR LF, the new element, "</parent>".
        const std::string parentName(NameView(parent));
        const std::string replacement = ">\r\n" + element + "</" + parentName;
        Splice(at - 3, 1, replacement);
        ShiftAfter(n, static_cast<int32_t>(replacement.size()) - 1);
        ElementSpan outer = Span(parent);
        outer.tagEnd -= 1;
        outer.closeStart -= 1 + static_cast<int32_t>(parentName.size());
        StoreOffsets(parent, outer);
    } else {
        Splice(at, 0, element);
        ShiftAfter(n, static_cast<int32_t>(element.size()));
    }
    StoreOffsets(n, span);
    CheckEdit();
    return n;
}

bool XmlDocument::RemoveElement() {
    if (!IsLive(m_current)) return false;
    KeepOrder();
    const int x = m_current;
    m_child = 0;
    const ElementSpan span = Span(x);
    const int32_t length = span.nextTag - span.tagStart;
    Splice(span.tagStart, length, {});
    ShiftAfter(x, -length);

    const int previous = m_previous[static_cast<size_t>(x)];
    const int next = span.nextSibling;
    if (previous != 0)
        At(previous).nextSibling = next;
    else
        At(span.parent).firstChild = next;
    if (next != 0) m_previous[static_cast<size_t>(next)] = previous;
    // Off the text order the removed elements are dead: marks that still name
    // them are refused.
    int count = 0;
    std::vector<int> pending = {x};
    while (!pending.empty()) {
        const int e = pending.back();
        pending.pop_back();
        ++count;
        for (int c = Stored(e).firstChild; c != 0; c = Stored(c).nextSibling)
            pending.push_back(c);
    }
    m_order.Remove(x, count);
    m_current = previous;
    CheckEdit();
    return true;
}

int32_t XmlDocument::FindAttributeValue(int index, std::string_view name, int32_t& valueEnd) const {
    const std::string_view text = m_text.View();
    XmlToken token;
    token.next = Span(index).tagStart + 1;
    int number = -1;  // the element name is token 0
    int match = -1;
    while (NextToken(text, token)) {
        ++number;
        if (token.quoted) {
            if (match >= 0 && number == match + 2) {
                valueEnd = token.end;
                return token.start;
            }
            continue;
        }
        if (token.Is(text, '>')) break;
        if (match < 0 && number >= 1 && !token.Is(text, '=') && token.Text(text) == name)
            match = number;
    }
    return -1;
}

bool XmlDocument::SetAttribute(std::string_view name, std::string_view value) {
    const int x = m_current;
    if (!IsLive(x) || !IsWritableName(name) || HasZero(value)) return false;
    const std::string escaped = EscapeText(value, EscapeMode::Attribute);
    int32_t valueEnd = 0;
    const int32_t valueStart = FindAttributeValue(x, name, valueEnd);
    ElementSpan span = Span(x);
    int32_t delta;
    if (valueStart >= 0) {
        const int32_t oldLength = valueEnd - valueStart + 1;
        Splice(valueStart, oldLength, escaped);
        delta = static_cast<int32_t>(escaped.size()) - oldLength;
    } else {
        std::string attribute = " ";
        attribute.append(name).append("=\"").append(escaped).append("\"");
        Splice(IsEmptyForm(x) ? span.tagEnd - 1 : span.tagEnd, 0, attribute);
        delta = static_cast<int32_t>(attribute.size());
    }
    ShiftAfter(x, delta);
    span.tagEnd += delta;
    span.closeStart += delta;
    span.closeEnd += delta;
    span.nextTag += delta;
    StoreOffsets(x, span);
    CheckEdit();
    return true;
}

bool XmlDocument::SetAttributeInt(std::string_view name, int value) {
    return SetAttribute(name, std::to_string(value));
}

bool XmlDocument::SetElementText(int index, std::string_view text) {
    if (!IsLive(index) || Stored(index).firstChild != 0 || HasZero(text)) return false;
    const std::string escaped = EscapeText(text, EscapeMode::Element);
    ElementSpan span = Span(index);
    int32_t delta;
    if (IsEmptyForm(index)) {
        // "<name/>" becomes "<name>text</name>".
        const std::string name(NameView(index));
        const std::string replacement = ">" + escaped + "</" + name;
        Splice(span.closeStart, 1, replacement);
        span.tagEnd -= 1;
        span.closeStart -= 1 + static_cast<int32_t>(name.size());
        delta = static_cast<int32_t>(replacement.size()) - 1;
    } else {
        const int32_t first = span.tagEnd + 1;
        const int32_t oldLength = span.closeStart - first;
        Splice(first, oldLength, escaped);
        delta = static_cast<int32_t>(escaped.size()) - oldLength;
    }
    ShiftAfter(index, delta);
    span.closeStart += delta;
    span.closeEnd += delta;
    span.nextTag += delta;
    StoreOffsets(index, span);
    CheckEdit();
    return true;
}

std::string XmlDocument::GetElementText(int index) const {
    if (!IsLive(index) || Stored(index).firstChild != 0 || IsEmptyForm(index)) return {};
    const ElementSpan span = Span(index);
    return UnescapeText(span.tagEnd + 1, span.closeStart - 1);
}

std::string XmlDocument::EscapeText(std::string_view value, EscapeMode mode) {
    std::string out;
    out.reserve(value.size() + value.size() / 10 + 7);
    for (const char c : value) {
        switch (c) {
            case '<':
                out.append("&lt;");
                break;
            case '&':
                out.append("&amp;");
                break;
            case '>':
                out.append("&gt;");
                break;
            case '\'':
                out.append(mode == EscapeMode::Attribute ? "&apos;" : "'");
                break;
            case '"':
                out.append(mode == EscapeMode::Attribute ? "&quot;" : "\"");
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

std::string XmlDocument::UnescapeText(int first, int last) const {
    const std::string_view text = m_text.View();
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(text.size()) - 1);
    std::string out;
    if (last < first) return out;
    out.reserve(static_cast<size_t>(last - first + 1));
    for (int p = first; p <= last; ++p) {
        const char c = text[static_cast<size_t>(p)];
        if (c == '&') {
            const Entity* found = nullptr;
            for (const Entity& entity : kEntities) {
                const int length = static_cast<int>(entity.name.size());
                if (p + length <= last &&
                    text.substr(static_cast<size_t>(p) + 1, entity.name.size()) == entity.name) {
                    found = &entity;
                    break;
                }
            }
            if (found != nullptr) {
                out.push_back(found->character);
                p += static_cast<int>(found->name.size());
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

bool XmlDocument::IndexMatchesText() const {
    // Top-level elements after the first are parsed one after another, as
    // the children of an element are.
    XmlDocument fresh;
    fresh.m_text.Assign(m_text.View());
    fresh.m_parseBudget = INT64_MAX / 2;
    int32_t scan = 0;
    for (int e = Stored(0).firstChild, previous = 0; e != 0;
         previous = e, e = Stored(e).nextSibling) {
        const int f = fresh.ParseElement(0, scan, 1);
        if (f == 0 || Stored(e).parent != 0 || m_previous[static_cast<size_t>(e)] != previous ||
            !SameSubtree(e, fresh, f))
            return false;
        scan = fresh.Span(f).closeEnd + 1;
    }
    return !m_ordered || TextOrder() == m_order.Elements();
}

bool XmlDocument::SameSubtree(int e, const XmlDocument& fresh, int f) const {
    const ElementSpan a = Span(e);
    const ElementSpan b = fresh.Span(f);
    if (a.tagStart != b.tagStart || a.tagEnd != b.tagEnd || a.closeStart != b.closeStart ||
        a.closeEnd != b.closeEnd || a.nextTag != b.nextTag)
        return false;
    int c = a.firstChild;
    int g = b.firstChild;
    for (int previous = 0; c != 0 && g != 0;
         previous = c, c = Stored(c).nextSibling, g = fresh.Stored(g).nextSibling) {
        if (Stored(c).parent != e || m_previous[static_cast<size_t>(c)] != previous ||
            !SameSubtree(c, fresh, g))
            return false;
    }
    return c == 0 && g == 0;
}

void XmlDocument::CheckEdit() const {
#if defined(PAGELARK_CHECK_EDITS) || !defined(NDEBUG)
    if (m_text.Size() <= kCheckedSize && !IndexMatchesText()) {
        std::fprintf(stderr, "XmlDocument: the index no longer matches the text:\n%.*s\n",
                     static_cast<int>(m_text.Size()), m_text.View().data());
        std::abort();
    }
#endif
}

void XmlDocument::Splice(int32_t offset, int32_t count, std::string_view replacement) {
    const int32_t length = Length();
    offset = std::clamp(offset, 0, length);
    count = std::clamp(count, 0, length - offset);
    m_text.Replace(static_cast<size_t>(offset), static_cast<size_t>(count), replacement);
}

// After an edit at `index` that changed the text length by delta, everything
// after it in the text has moved: its descendants, the elements that follow,
// and the ends of its ancestors (whose start tags lie before the edit).
// `index` itself is left to the caller.
void XmlDocument::ShiftAfter(int index, int32_t delta) {
    if (delta == 0) return;
    KeepOrder();
    m_order.ShiftAfter(index, delta);
    for (int a = Stored(index).parent;; a = Stored(a).parent) {
        ElementSpan& s = At(a);
        s.closeStart += delta;
        s.closeEnd += delta;
        s.nextTag += delta;
        if (a == 0) break;
    }
}

int XmlDocument::LastInSubtree(int index) const {
    while (Stored(index).firstChild != 0) {
        index = Stored(index).firstChild;
        while (Stored(index).nextSibling != 0)
            index = Stored(index).nextSibling;
    }
    return index;
}

}  // namespace pagelark
