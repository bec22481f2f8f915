#include "files/ScriptFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

// Reads from `fd` to its end into `text`; false (with errno set) on a read
// error or once more than kMaxScriptFileBytes came.
bool ReadAll(int fd, std::string& text) {
    char chunk[65536];
    while (true) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (text.size() + static_cast<size_t>(got) > kMaxScriptFileBytes) {
            errno = EFBIG;
            return false;
        }
        text.append(chunk, static_cast<size_t>(got));
    }
}

// About the bytes the live store will take for the items Load keeps: their
// text in the file and a little for the id and line ends.
size_t KeptItemBytes(XmlDocument& file) {
    constexpr size_t kPerItem = 32;
    size_t bytes = 0;
    file.ResetCursor();
    if (!file.FindElement("xml")) return 0;
    for (int items = 0; items < kMaxItemNumber && file.FindChildElement("item"); ++items) {
        const ElementSpan span = file.Span(file.Child());
        bytes += static_cast<size_t>(span.nextTag - span.tagStart) + kPerItem;
    }
    return bytes;
}

}  // namespace

bool ReadScriptFile(const std::string& path, std::string& text, std::string* error) {
    text.clear();
    const bool standardInput = path == "-";
    const int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    bool ok = fd >= 0;
    if (ok) {
        // A file's size is known before a byte is read: too large, and
        // nothing is; otherwise the text is made the right size at once.
        struct stat status {};
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
            if (static_cast<unsigned long long>(status.st_size) > kMaxScriptFileBytes) {
                errno = EFBIG;
                ok = false;
            } else {
                text.reserve(static_cast<size_t>(status.st_size));
            }
        }
        ok = ok && ReadAll(fd, text);
        const int readError = errno;
        if (!standardInput) ::close(fd);
        errno = readError;
    }
    if (ok) return true;
    if (error != nullptr)
        *error = errno == EFBIG ? "the file is larger than 64 MB" : std::strerror(errno);
    text.clear();
    text.shrink_to_fit();
    return false;
}

std::string BuildScriptText(XmlDocument& live) {
    // Each item added first to the new document reverses the newest-first
    // order of the live store, so the file lists the oldest item first.
    XmlDocument file;
    live.ResetCursor();
    while (live.FindElement()) {
        const std::string name = NextChildText(live);
        const std::string filter = NextChildText(live);
        const std::string url = NextChildText(live);
        const bool render = NextChildIsRender(live);
        file.ResetCursor();
        file.AddElement("item");
        file.AddChildElement("name", name);
        file.AddChildElement("format", filter);
        file.AddChildElement("url", url);
        // Written only when set, so that a list without it saves as it always did.
        if (render) file.AddChildElement(kRenderElement, kRenderYes);
    }
    std::string text(kHeader);
    text += file.GetText();
    text += kFooter;
    return text;
}

int LoadScriptText(std::string text, XmlDocument& live, ItemList& list, ItemRows& rows) {
    XmlDocument file;
    // The text ends at its first zero byte, as a C string does.
    file.Load(std::move(text));

    rows.DeleteAllItems();
    list.Empty(false);
    live.Load(nullptr);
    live.ReserveFront(KeptItemBytes(file));

    file.ResetCursor();
    if (!file.FindElement("xml")) return 0;
    // The rows go in at once: a list on screen lays them out and paints once.
    const RowBatch batch(rows);
    int added = 0;
    while (list.nextItemNumber < kMaxItemNumber && file.FindChildElement("item")) {
        const int number = ++list.nextItemNumber;  // used up even by a skipped item
        file.EnterChild();
        if (file.FindChildElement("name")) {
            ItemFields fields;
            fields.name = Trim(file.GetChildText());
            fields.filter = NextChildText(file);
            fields.url = NextChildText(file);
            // Looked for among the children after the URL, whatever stands between.
            fields.render =
                file.FindChildElement(kRenderElement) && Trim(file.GetChildText()) == kRenderYes;
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
