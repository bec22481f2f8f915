// CMainDlg watching its list: rows whose Result changed since the previous run
// are drawn bold until seen, the marks and last Results are kept in a state
// file per script file, runs repeat on an interval, a desktop notification
// tells of changes while the window is in the background, and the command
// set in the repeat dialog gets the changed rows.

#include <QApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QSystemTrayIcon>

#include <set>

#include "app/language/LangString.h"
#include "app/window/ChangeCommand.h"
#include "app/window/MainDlg.h"
#include "app/window/RepeatDlg.h"
#include "controls/HoverButton.h"
#include "controls/platform/DlgItem.h"
#include "controls/platform/Resources.h"
#include "engine/collect/ItemNumber.h"
#include "engine/watch/RunOutcomes.h"
#include "files/RowsJson.h"
#include "files/StateFile.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {
namespace {

constexpr int kRepeatMenuText = 202;
constexpr int kChangedCount = 203;
constexpr int kNextRun = 204;
constexpr int kStateUnreadable = 205;
constexpr int kAndMore = 206;
constexpr int kCommandFailed = 209;
constexpr int kTickMs = 1000;
constexpr int kNamedChanges = 5;
constexpr int kNotifyMs = 10000;

QString Countdown(std::chrono::seconds left) {
    const long long s = left.count();
    if (s >= 3600)
        return QString("%1:%2:%3")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QChar('0'))
            .arg(s % 60, 2, 10, QChar('0'));
    return QString("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QChar('0'));
}

}  // namespace

void CMainDlg::CreateWatch() {
    m_watchStatus = new QLabel(this);
    m_watchStatus->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QMenu* menu = Button(IDC_LANGUAGE)->DropMenu();
    menu->addSeparator();
    m_repeatAction = menu->addAction(LangText(kRepeatMenuText));
    m_repeatAction->setData(ID_REPEAT);
    m_repeat.SetMinutes(QSettings().value("RepeatMinutes", 0).toInt());
    m_changeCommandText = QSettings().value("ChangeCommand").toString();
    m_changeCommand = new ChangeCommand(
        [this](const QString& problem) {
            m_commandProblem = LangText(kCommandFailed).arg(problem);
            UpdateWatchStatus();
        },
        this);
    m_repeatTimer.start(kTickMs, this);
    PlaceWatchStatus();
    UpdateWatchStatus();
}

// Along the bottom edge, between the copyright label and the on-top pin.
void CMainDlg::PlaceWatchStatus() {
    if (m_watchStatus == nullptr) return;
    const QWidget* pin = GetDlgItem(this, IDC_ON_TOP);
    const QWidget* list = m_list;
    const int left = list->geometry().center().x();
    m_watchStatus->setGeometry(left, pin->y(), pin->x() - 6 - left, pin->height());
}

void CMainDlg::UpdateWatchStatus() {
    QStringList parts;
    if (const int changed = m_changes.ChangedCount(); changed > 0)
        parts << LangText(kChangedCount).arg(changed);
    if (const auto left = m_repeat.TimeToNext()) parts << LangText(kNextRun).arg(Countdown(*left));
    QString status = parts.join(", ");
    if (!m_stateProblem.isEmpty()) status = m_stateProblem;
    if (!m_commandProblem.isEmpty()) status = m_commandProblem;

    QString caption = QString::fromStdString(m_title);
    if (!m_captionFile.empty()) caption += " - " + QString::fromStdString(m_captionFile);
    if (!parts.isEmpty()) caption += " - " + parts.join(", ");
    setWindowTitle(caption);
    if (m_watchStatus == nullptr) return;
    m_watchStatus->setText(status);
    m_watchStatus->setToolTip(status);
    m_watchStatus->setAccessibleName(status);
    m_repeatAction->setText(LangText(kRepeatMenuText));
}

void CMainDlg::SetRepeatMinutes(int minutes) {
    m_repeat.SetMinutes(minutes);
    QSettings().setValue("RepeatMinutes", m_repeat.Minutes());
    UpdateWatchStatus();
}

void CMainDlg::SetChangeCommand(const QString& command) {
    m_changeCommandText = command.trimmed();
    QSettings().setValue("ChangeCommand", m_changeCommandText);
}

void CMainDlg::OnRepeatSetting() {
    RepeatDlg dialog(m_repeat.Minutes(), m_changeCommandText, this);
    if (dialog.exec() != QDialog::Accepted) return;
    SetChangeCommand(dialog.Command());
    SetRepeatMinutes(dialog.Minutes());
}

void CMainDlg::RepeatTick() {
    // Never over a run still going or a dialog the user is working in.
    const QWidget* modal = QApplication::activeModalWidget();
    if (m_repeat.Due() && !m_worker->IsRunning() && (modal == nullptr || modal == this)) {
        JoinFinishedRuns();
        m_worker->SetSettings(ReadCollectSettings());
        m_repeat.RunStarted();
        if (!m_worker->Start()) m_repeat.RunEnded();
    }
    UpdateWatchStatus();
}

void CMainDlg::OpenState() {
    m_changes.Forget();
    m_statePath.clear();
    m_stateProblem.clear();
    if (m_filePath.empty()) return;
    // One file per script file, named after its absolute path; the script
    // file itself is never touched.
    const QByteArray key =
        QFileInfo(QString::fromStdString(m_filePath)).absoluteFilePath().toUtf8();
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/state";
    MakeStateFolder(folder.toStdString());
    m_statePath =
        (folder + "/" + QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(32) +
         ".json")
            .toStdString();
    StateRead read = ReadStateFile(m_statePath);
    if (!read.problem.empty()) m_stateProblem = LangText(kStateUnreadable);
    m_changes.Restore(std::move(read.items));
}

void CMainDlg::WriteState() {
    // A state that cannot be written costs only the next run's marks.
    if (!m_statePath.empty()) WriteStateFile(m_statePath, m_changes.Tracked());
}

void CMainDlg::MarkRows() {
    {
        const RowBatch batch(m_rows);
        for (int row = 0; row < m_list->GetItemCount(); ++row) {
            ReportItemInfo info;
            info.mask = RIF_STATE;
            info.item = row;
            info.state =
                m_changes.IsChanged(ItemNumberFromData(m_rows.GetItemData(row))) ? RIS_BOLD : 0;
            m_rows.SetItem(info);
        }
    }
    UpdateWatchStatus();
}

void CMainDlg::OnRunEnded() {
    const std::vector<int> changed = m_changes.Record(RunOutcomes(*this, m_items));
    if (m_stopPressed) m_repeat.Halt();
    m_stopPressed = false;
    m_repeat.RunEnded();
    m_stateProblem.clear();
    m_commandProblem.clear();
    WriteState();
    MarkRows();
    NotifyChanges(changed);
    RunChangeCommand(changed);
}

void CMainDlg::RunChangeCommand(const std::vector<int>& changed) {
    if (changed.empty() || m_changeCommandText.isEmpty()) return;
    const std::set<int> numbers(changed.begin(), changed.end());
    m_changeCommand->Run(m_changeCommandText,
                         RowsJson(m_rows, m_items.results, numbers, true) + "\n");
}

void CMainDlg::OnRowSelected(int item, int data) {
    if (!m_changes.ClearChanged(ItemNumberFromData(data))) return;
    ReportItemInfo info;
    info.mask = RIF_STATE;
    info.item = item;
    info.state = 0;
    m_rows.SetItem(info);
    WriteState();
    UpdateWatchStatus();
}

QString CMainDlg::ChangeNotice(const std::vector<int>& changed) {
    QStringList names;
    for (const int number : changed) {
        if (names.size() == kNamedChanges) break;
        names << QString::fromStdString(ReadItem(number).name);
    }
    if (changed.size() > kNamedChanges)
        names << LangText(kAndMore).arg(changed.size() - kNamedChanges);
    return names.join("\n");
}

void CMainDlg::NotifyChanges(const std::vector<int>& changed) {
    if (changed.empty() || isActiveWindow() || !QSystemTrayIcon::isSystemTrayAvailable()) return;
    if (m_tray == nullptr) {
        m_tray = new QSystemTrayIcon(LoadIcon(kProductIcon), this);
        connect(m_tray, &QSystemTrayIcon::messageClicked, this, [this] {
            showNormal();
            raise();
            activateWindow();
        });
    }
    m_tray->show();
    m_tray->showMessage(QString::fromStdString(m_title), ChangeNotice(changed),
                        LoadIcon(kProductIcon), kNotifyMs);
}

}  // namespace pagelark
