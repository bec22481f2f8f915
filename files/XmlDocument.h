#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "files/ElementOrder.h"
#include "files/SpliceText.h"

namespace pagelark {

// Where one element lies in the text. All fields are byte offsets into the
// text except the three links, which are element indexes (0 = none).
struct ElementSpan {
    int32_t tagStart = 0;    // "<" of the start tag
    int32_t tagEnd = 0;      // ">" of the start tag
    int32_t closeStart = 0;  // "<" of the end tag; the "/" of an element in empty form
    int32_t closeEnd = 0;    // ">" of the end tag; tagEnd in empty form
    int32_t nextTag = 0;     // first "<" after closeEnd, or the text length
    int32_t parent = 0;
    int32_t firstChild = 0;
    int32_t nextSibling = 0;
};

// An XML text held in memory with an index of its elements, a cursor and
// named marks. The text is the document: every edit splices it in place and
// keeps the offsets of every element true, so the text can be taken out
// unchanged at any time. Not thread-safe; reads move the cursor.
//
// An edit moves the offsets of everything after it. They are stored less a
// shift that ElementOrder keeps per block of elements in text order, so an
// edit touches a few hundred records at most: a list of thousands of items
// builds in linear time, and an item anywhere in it is edited or removed in
// microseconds.
class XmlDocument {
  public:
    XmlDocument();

    // Replaces the document by a copy of `text` (up to its first zero byte)
    // and indexes its first top-level element. A null text, or one that does
    // not parse, leaves an empty document and returns false.
    bool Load(const char* text);
    std::string GetText() const { return std::string(m_text.View()); }

    void ResetCursor();
    void ClearChildCursor() { m_child = 0; }

    // An empty name matches any element.
    bool FindElement(std::string_view name = {});
    bool FindChildElement(std::string_view name = {});
    bool EnterChild();
    bool LeaveToParent();

    // A null name is refused; an empty name is a valid key.
    bool SaveMark(const char* name);
    bool RestoreMark(const char* name);

    // An empty text writes the element in empty form ("<name/>").
    bool AddElement(std::string_view name, std::string_view text = {});
    bool AddChildElement(std::string_view name, std::string_view text = {});
    bool RemoveElement();

    bool SetAttribute(std::string_view name, std::string_view value);
    bool SetAttributeInt(std::string_view name, int value);

    bool SetElementText(int index, std::string_view text);
    std::string GetElementText(int index) const;
    bool SetChildText(std::string_view text) { return SetElementText(m_child, text); }
    std::string GetChildText() const { return GetElementText(m_child); }

    // The name of an element (empty for index 0 or an unreadable tag).
    std::string TagName(int index) const;

    int Current() const { return m_current; }
    int Child() const { return m_child; }
    int Depth() const { return m_depth; }
    // The element's offsets from the start of the text, and its links.
    ElementSpan Span(int index) const;
    int NextFree() const { return m_nextFree; }
    size_t TableSize() const { return m_table.size(); }

    enum class EscapeMode { Element, Attribute };
    static std::string EscapeText(std::string_view value, EscapeMode mode);
    // Decodes the bytes first..last (inclusive) of the text.
    std::string UnescapeText(int first, int last) const;

    // True when a fresh parse of the text finds every indexed element at the
    // offsets the index holds, with the same children. Builds with
    // PAGELARK_CHECK_EDITS, and debug builds, check this after every edit
    // of a text up to kCheckedSize bytes and abort when it fails.
    bool IndexMatchesText() const;
    static constexpr size_t kCheckedSize = 16 * 1024;

    // Documents nested deeper than this do not load.
    static constexpr int kMaxDepth = 1000;
    // Parsing may look at each byte this many times over before Load gives up.
    static constexpr int kParsePasses = 8;

  private:
    struct Cursor {
        int current = 0;
        int child = 0;
        int depth = 0;
    };

    ElementSpan& At(int index) { return m_table[static_cast<size_t>(index)]; }
    const ElementSpan& Stored(int index) const { return m_table[static_cast<size_t>(index)]; }
    int32_t Length() const { return static_cast<int32_t>(m_text.Size()); }
    // Writes the five offsets of `offsets` (from the start) into the table.
    void StoreOffsets(int index, const ElementSpan& offsets);
    int TakeIndex();
    int ParseElement(int parent, int32_t scan, int level);
    // Charges parsing work against the budget of this Load; false once spent.
    bool Spend(int64_t bytes);
    bool IsLive(int index) const;
    bool IsEmptyForm(int index) const;
    // The name as it stands in the text, valid until the next edit.
    std::string_view NameView(int index) const;
    int InsertElement(int parent, int after, std::string_view name, std::string_view text);
    void Splice(int32_t offset, int32_t count, std::string_view replacement);
    void ShiftAfter(int index, int32_t delta);
    int LastInSubtree(int index) const;
    std::vector<int> TextOrder() const;
    int32_t FindAttributeValue(int index, std::string_view name, int32_t& valueEnd) const;
    int32_t NextTagAt(int32_t from) const;
    bool SameSubtree(int index, const XmlDocument& fresh, int freshIndex) const;
    void CheckEdit() const;

    SpliceText m_text;
    // Offsets less the shift m_order keeps for the element; record 0 holds
    // the document level's offsets as they are.
    std::vector<ElementSpan> m_table;
    std::vector<int> m_previous;  // the previous sibling of each element, 0 for none
    ElementOrder m_order;         // the live elements in text order
    int m_nextFree = 1;
    // Parsing work left for the current Load. Quoted tokens can make a failed
    // element's end tag be found inside it, so a text could be parsed again
    // and again; a budget of a few passes over the text keeps Load linear.
    int64_t m_parseBudget = 0;
    int m_current = 0;
    int m_child = 0;
    int m_depth = 0;
    std::map<std::string, Cursor, std::less<>> m_marks;
};

}  // namespace pagelark
