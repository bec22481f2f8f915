#pragma once

#include <string>

namespace pagelark {

class XmlDocument;

// Name, Filter and URL of one item as the live store keeps them: an element
// "item" (attribute "id") with the children "name", "format" and "url", and a
// mark named after the item number.
struct ItemFields {
    std::string name;
    std::string filter;
    std::string url;
};

// Puts the item first in the store and marks it with its number.
void AddStoreItem(XmlDocument& store, int number, const ItemFields& fields);

// The item marked with `number`. Without such a mark the fields are read from
// wherever the cursor stands, as the store always did; callers only ask for
// numbers of rows they hold.
ItemFields ReadStoreItem(XmlDocument& store, int number);

}  // namespace pagelark
