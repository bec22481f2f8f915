// CMainDlg: Save and Load of the script file, and Snap.

#include <QFile>
#include <QFileInfo>

#include "app/language/LangString.h"
#include "app/window/FileChooser.h"
#include "app/window/MainDlg.h"
#include "controls/platform/MessageBox.h"
#include "files/SafeFile.h"
#include "files/ScriptFile.h"
#include "files/SnapFile.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {
namespace {

constexpr int kWriteFailed = 135;
constexpr int kReadFailed = 136;
const char* const kScriptFilter = "Script File(*.xml)";
const char* const kSnapFilter = "Snap File(*.txt)";
const char* const kScriptName = "My Script.xml";
const char* const kSnapName = "My Snap.txt";

}  // namespace

void CMainDlg::OnSave() {
    if (m_list->GetItemCount() == 0) return;
    if (m_filePath.empty()) m_filePath = kScriptName;
    const QString path =
        ChooseFile(this, {true, kScriptFilter, QString::fromStdString(m_filePath), "xml"});
    if (path.isEmpty()) return;
    // The caption shows the new path at the next relabel.
    m_filePath = path.toStdString();
    m_captionFile = m_filePath;
    // Written beside the target and renamed over it: a failed save leaves the old file.
    if (!WriteFileSafely(m_filePath, BuildScriptText(m_live))) {
        ShowMessageBox(this, LangText(kWriteFailed), QMessageBox::NoIcon);
        return;
    }
    // The list's marks and last Results go with it to its new name.
    const ChangeTracker::Items kept = m_changes.Tracked();
    OpenState();
    m_stateProblem.clear();
    m_changes.Restore(kept);
    WriteState();
}

void CMainDlg::OnLoad() {
    const QString path = ChooseFile(this, {false, kScriptFilter, QString(), "xml"});
    if (path.isEmpty()) return;
    LoadScriptFile(path);
}

void CMainDlg::LoadScriptFile(const QString& path) {
    m_filePath = path.toStdString();
    m_captionFile = QFileInfo(path).fileName().toStdString();
    Relabel();
    // A file too large to be a list is refused like one that cannot be read.
    std::string text;
    if (!ReadScriptFile(QFile::encodeName(path).toStdString(), text)) {
        ShowMessageBox(this, LangText(kReadFailed), QMessageBox::NoIcon);
        return;
    }
    // The old rows go and the new ones come with their marks in one batch:
    // one layout and one repaint however long the list.
    const RowBatch batch(m_rows);
    LoadScriptText(std::move(text), m_live, m_items, m_rows);
    OpenState();
    MarkRows();
}

void CMainDlg::OnSnap() {
    const std::string text = BuildSnapText(m_rows, m_items.results, m_items.links);
    if (text.empty()) return;
    const QString path = ChooseFile(this, {true, kSnapFilter, kSnapName, "txt"});
    if (path.isEmpty()) return;
    if (!WriteFileSafely(path.toStdString(), text))
        ShowMessageBox(this, LangText(kWriteFailed), QMessageBox::NoIcon);
}

}  // namespace pagelark
