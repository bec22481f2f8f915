#pragma once

#include <string>

namespace pagelark {

class XmlDocument;

// Name, Filter and URL of one item as the live store keeps them: an element
// "item" (attribute "id") with the children "name", "format" and "url", and a
// mark named after the item number. An item marked "Render the page first"
// has a fourth child, "render" with the text "yes"; readers that take the
// first three children never see it.
struct ItemFields {
    std::string name;
    std::string filter;
    std::string url;
    bool render = false;
};

// The fourth child's name and text.
inline constexpr const char* kRenderElement = "render";
inline constexpr const char* kRenderYes = "yes";

// With the cursor's child on an item's URL: whether the next child is the
// render mark ("yes", white space around it allowed), the cursor then on it.
// Without a further child the cursor stays on the URL.
bool NextChildIsRender(XmlDocument& doc);

// The item editors' check, field by field in the order Name, Filter, URL: the
// string id of the message for the first field that is blank (white space
// only) or holds a zero byte, which the store cannot keep; 0 when all are fine.
// 131 "Field Name must not be blank.", 132 Filter, 133 URL.
int CheckItemFields(const ItemFields& fields);

// Puts the item first in the store and marks it with its number. Fields with a
// zero byte are refused: false, nothing added.
bool AddStoreItem(XmlDocument& store, int number, const ItemFields& fields);

// The item marked with `number`. Without such a mark the fields are read from
// wherever the cursor stands, as the store always did; callers only ask for
// numbers of rows they hold.
ItemFields ReadStoreItem(XmlDocument& store, int number);

// The Edit command's write: the three texts of the item marked `number`, in
// place, and its fourth child added or removed as `render` says. False, with
// nothing changed, when no item of the store has that mark or a field holds
// a zero byte.
bool WriteStoreItem(XmlDocument& store, int number, const ItemFields& fields);

// The Delete command's write: the item marked `number` leaves the text. False
// when no item of the store has that mark.
bool RemoveStoreItem(XmlDocument& store, int number);

}  // namespace pagelark
