#pragma once

#include <string>
#include <string_view>

namespace pagelark {

class ItemRows;
class XmlDocument;
struct ItemList;

// Script files hold the Name, Filter and URL of every item, oldest first:
//   <xml version=1.0>CR LF, per item <item> <name/> <format/> <url/> </item>
//   each with CR LF, then </xml> without a line end.

// The file text for the items of the live store. Walks the store with its cursor.
std::string BuildScriptText(XmlDocument& live);

// Empties the list (rows, result and link maps, store, item numbering; the link
// counter goes on) and fills it with the items of a file's text, numbered in
// file order. Items without a non-empty name are skipped but use up their
// number; loading stops at the last item number. A text that does not parse
// or whose first element is not "xml" leaves the list empty. Returns the
// number of items added.
int LoadScriptText(std::string_view text, XmlDocument& live, ItemList& list, ItemRows& rows);

}  // namespace pagelark
