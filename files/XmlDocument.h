#pragma once

#include <cstdint>
#include <map>
#include <optional>
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
// unchanged at any time.
//
// Elements are named by indexes into the element table; 0 is the document
// level (the virtual element around the whole text) and also means none.
// Indexes stay valid until the next Load; an element's index never changes
// and is never given to another element.
//
// The cursor is three values: `current` (an element or 0), `child` (a child
// of current, or 0) and `depth` (how many EnterChild calls deep current is).
//
// Refusals. Every operation that fails returns false (or empty text) and
// changes nothing: not the text, not the index, not the cursor (except for
// the step to the first element that FindChildElement and EnterChild take
// with no current element, described there). Edits refuse:
//  - an element that was removed (see Removed elements below);
//  - a value or text holding a zero byte, which the text cannot keep;
//  - a name that would not read back as one word of the tag: an empty name,
//    or one with white space (space, tab, CR, LF), a zero byte, a double
//    quote, or any of < > = \ / ? !
// Names are otherwise written as given; texts and values are escaped.
//
// Removed elements. RemoveElement does not touch marks, so a mark may still
// name the removed element or one inside it. Such a mark restores, and from
// then on every operation that needs the removed element refuses, so that
// nothing can be cut from or written into the elements that took its place.
// ResetCursor or restoring another mark makes the cursor useful again.
//
// Lifetimes. Everything returned is a copy, except that Span's offsets hold
// only until the next edit. Not thread-safe; reads move the cursor, so a
// document shared between threads needs every call serialised.
//
// Cost. An edit moves the offsets of everything after it. They are stored
// less a shift that ElementOrder keeps per block of elements in text order,
// so an edit touches a few hundred records at most: a list of thousands of
// items builds in linear time, and an item anywhere in it is edited or
// removed in microseconds (plus moving the text on the shorter side).
class XmlDocument {
  public:
    // An empty document, as after Load(nullptr).
    XmlDocument();

    // Replaces the document by a copy of `text` (up to its first zero byte)
    // and indexes its first top-level element; text before it and after it
    // stays in the text unindexed. Resets the cursor and forgets all marks.
    // A null text, one that does not parse, one nested deeper than kMaxDepth
    // or one that would take more than kParsePasses passes to parse leaves an
    // empty document and returns false.
    bool Load(const char* text);
    // The same, taking the text over rather than copying it (a file just
    // read), so that loading holds the text once.
    bool Load(std::string&& text);
    std::string GetText() const { return std::string(m_text.View()); }
    // Makes room for `bytes` more text in front of the first element, so that
    // adding that much there (as a list adds its newest items) does not move
    // the text again and again.
    void ReserveFront(size_t bytes) { m_text.ReserveFront(bytes); }

    // current, child and depth become 0.
    void ResetCursor();
    // child becomes 0, so AddChildElement appends and FindChildElement starts
    // from the first child again.
    void ClearChildCursor() { m_child = 0; }

    // Names are compared byte for byte; an empty name matches any element.
    //
    // Moves current to the next element after it with that name at the same
    // level (from the first top-level element when current is 0, whatever
    // depth says); child becomes 0. False leaves the cursor as it was.
    bool FindElement(std::string_view name = {});
    // Moves child to the next child of current after child (from the first
    // child when child is 0) with that name. With current 0 it first moves
    // current to the first top-level element, and that move stays even when
    // no child is found. False when current has no such child (or is in empty
    // form); child is then as it was.
    bool FindChildElement(std::string_view name = {});
    // Makes child the current element: child becomes 0, depth grows by one.
    // With child 0 it first calls FindChildElement, and keeps what that moved.
    // At the document level (current 0, left to from a top-level element,
    // which is then child) it enters that element.
    bool EnterChild();
    // Makes current's parent the current element and the element left its
    // child, so FindChildElement continues after it; depth shrinks by one.
    // False when depth is 0 or less, or there is no current element.
    bool LeaveToParent();

    // Stores the cursor under `name`, replacing what was stored there. False
    // for a null name or when there is no current element; an empty name is a
    // valid key.
    bool SaveMark(const char* name);
    // Restores the cursor stored under `name`; marks survive edits anywhere
    // else. False, with the cursor unchanged, for a null or unknown name.
    bool RestoreMark(const char* name);

    // Writes a new element: "<name/>" for an empty text, else
    // "<name>text</name>" with < & > escaped; either followed by CR LF.
    //
    // Inserts the new element after current at current's level: behind
    // current and the text that follows it up to the next "<". With current
    // 0 it becomes the first top-level element (at the very start of the text
    // when the document has none left). The new element becomes current;
    // child becomes 0, depth is unchanged.
    bool AddElement(std::string_view name, std::string_view text = {});
    // Inserts the new element as a child of current, after child, or after
    // the last child when child is 0 ("<p/>" becomes "<p>", CR LF, the new
    // element, "</p>"). The new element becomes child; current and depth are
    // unchanged. False when there is no current element.
    bool AddChildElement(std::string_view name, std::string_view text = {});
    // Deletes current, its content and the text after it up to the next "<"
    // (normally its CR LF). current becomes the previous sibling, or 0 when
    // it was the first; child becomes 0; depth is unchanged. False when there
    // is no current element.
    bool RemoveElement();

    // Sets an attribute of current: the value of the first attribute of that
    // name written in double quotes is replaced; otherwise ` name="value"` is
    // added at the end of the start tag (before the "/" of "<name/>"). Values
    // are escaped (< & > ' and the double quote). An attribute whose value is
    // written without quotes is not found, so a second one is added. The
    // cursor is unchanged. False when there is no current element.
    bool SetAttribute(std::string_view name, std::string_view value);
    // SetAttribute with the number in decimal.
    bool SetAttributeInt(std::string_view name, int value);

    // Replaces the text of the element: "<n/>" becomes "<n>text</n>", and an
    // empty text leaves "<n></n>". The cursor is unchanged. False for index 0,
    // an index never given out, and an element with children.
    bool SetElementText(int index, std::string_view text);
    // The decoded text of the element; empty for index 0, an unknown or
    // removed element, one in empty form and one with children (text between
    // children cannot be read).
    std::string GetElementText(int index) const;
    // The same for child (false or empty when child is 0).
    bool SetChildText(std::string_view text) { return SetElementText(m_child, text); }
    std::string GetChildText() const { return GetElementText(m_child); }

    // The name of the element, as the first word of its start tag; empty for
    // index 0, an unknown or removed element.
    std::string TagName(int index) const;

    int Current() const { return m_current; }
    int Child() const { return m_child; }
    int Depth() const { return m_depth; }
    // The element's offsets from the start of the text, and its links; all
    // zero outside the table. The offsets of a removed element are no longer
    // kept. Index 0's closeStart is the end of the text in a document built
    // from nothing.
    ElementSpan Span(int index) const;
    int NextFree() const { return m_nextFree; }
    size_t TableSize() const { return m_table.size(); }

    enum class EscapeMode { Element, Attribute };
    // Element mode escapes < & >, attribute mode also ' and the double quote.
    static std::string EscapeText(std::string_view value, EscapeMode mode);
    // Decodes the bytes first..last (inclusive) of the text: the five named
    // entities; numeric and unknown ones stay as they are.
    std::string UnescapeText(int first, int last) const;

    // True when a fresh parse of the text finds every indexed element at the
    // offsets the index holds, with the same children. Builds with
    // PAGELARK_CHECK_EDITS, and debug builds, check this after every edit
    // of a text up to kCheckedSize bytes and abort when it fails. (Edits of
    // a loaded text with comments between elements can leave a text that
    // does not parse; the program edits only documents it built.)
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

    // Load's work, on text taken over or copied.
    bool LoadText(std::string* adopt, std::optional<std::string_view> copy);
    void SizeTableFor(std::string_view text);
    // Lists the elements in text order for the first edit: a document that
    // is only read (a file being loaded) never needs the list, nor its memory.
    void KeepOrder();
    int32_t ShiftOf(int index) const { return m_ordered ? m_order.Shift(index) : 0; }
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
    ElementOrder m_order;         // the live elements in text order, once m_ordered
    bool m_ordered = false;
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
