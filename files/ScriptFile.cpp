#include "files/ScriptFile.h"

#include "engine/collect/ItemList.h"
#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemRows.h"
#include "engine/page/TextBytes.h"
#include "files/ItemStore.h"
#include "files/XmlDocument.h"

namespace pagelark {
namespace {

constexpr std::string_view kHeader = "<xml version=1.0>\r\n";
constexpr std::string_view kFooter = "</xml>";

// The text of the current child of `doc`, trimmed; then the cursor moves on
// to the next child (a missing child leaves it where it was).
std::string NextChildText(XmlDocument& doc) {
    doc.FindChildElement();
    return std::string(Trim(doc.GetChildText()));
}

}  // namespace

std::string BuildScriptText(XmlDocument& live) {
    // Each item added first to the new document reverses the newest-first
    // order of the live store, so the file lists the oldest item first.
    XmlDocument file;
    live.ResetCursor();
    while (live.FindElement()) {
        const std::string name = NextChildText(live);
        const std::string filter = NextChildText(live);
        const std::string url = NextChildText(live);
        file.ResetCursor();
        file.AddElement("item");
        file.AddChildElement("name", name);
        file.AddChildElement("format", filter);
        file.AddChildElement("url", url);
    }
    std::string text(kHeader);
    text += file.GetText();
    text += kFooter;
    return text;
}

int LoadScriptText(std::string_view text, XmlDocument& live, ItemList& list, ItemRows& rows) {
    XmlDocument file;
    // The text ends at its first zero byte, as a C string does.
    file.Load(std::string(text.substr(0, text.find('\0'))).c_str());

    rows.DeleteAllItems();
    list.Empty(false);
    live.Load(nullptr);

    file.ResetCursor();
    if (!file.FindElement("xml")) return 0;
    int added = 0;
    while (list.nextItemNumber < kMaxItemNumber && file.FindChildElement("item")) {
        const int number = ++list.nextItemNumber;  // used up even by a skipped item
        file.EnterChild();
        if (file.FindChildElement("name")) {
            ItemFields fields;
            fields.name = Trim(file.GetChildText());
            fields.filter = NextChildText(file);
            fields.url = NextChildText(file);
            if (!fields.name.empty()) {
                AddStoreItem(live, number, fields);
                AppendItemRow(rows, number, fields.name);
                ++added;
            }
        }
        file.LeaveToParent();
    }
    return added;
}

}  // namespace pagelark
