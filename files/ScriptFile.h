#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pagelark {

class ItemRows;
class XmlDocument;
struct ItemList;

// Script files hold the Name, Filter and URL of every item, oldest first:
//   <xml version=1.0>CR LF, per item <item> <name/> <format/> <url/> </item>
//   each with CR LF, then </xml> without a line end. An item marked "Render
//   the page first" has <render>yes</render> after its URL; the mark is
//   written only when set.

// The largest script file read: room for 9999 items with long names, Filters
// and URLs, and a bound on what a file can make the program hold.
inline constexpr size_t kMaxScriptFileBytes = 64 * 1024 * 1024;

// Reads a script file whole, or standard input for "-", holding its bytes
// once. A file over kMaxScriptFileBytes is refused (and, like any file, left
// as it is). False, with `error` saying why, when the file cannot be read or
// is too large.
bool ReadScriptFile(const std::string& path, std::string& text, std::string* error = nullptr);

// The file text for the items of the live store. Walks the store with its cursor.
std::string BuildScriptText(XmlDocument& live);

// Empties the list (rows, result and link maps, store, item numbering; the link
// counter goes on) and fills it with the items of a file's text, numbered in
// file order. Items without a non-empty name are skipped but use up their
// number; loading stops at the last item number. A text that does not parse
// or whose first element is not "xml" leaves the list empty. Returns the
// number of items added. The text is taken over, so that loading holds it once.
int LoadScriptText(std::string text, XmlDocument& live, ItemList& list, ItemRows& rows);

}  // namespace pagelark
