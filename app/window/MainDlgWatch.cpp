// CMainDlg watching its list: rows whose good Result changed since the last
// good one are drawn bold until seen, rows without a good Result for some
// runs get their own picture, a row's tip says why it has no good Result,
// the marks, last Results and their history are kept in a state file per
// script file, runs repeat on an interval, a desktop notification tells of
// changes while the window is in the background, and the command set in the
// repeat dialog gets the changed rows.

#include <QApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QSystemTrayIcon>

#include <algorithm>
#include <ctime>

#include "app/detail/ReasonText.h"
#include "app/language/LangString.h"
#include "app/window/ChangeCommand.h"
#include "app/window/MainDlg.h"
#include "app/window/MainListLook.h"
#include "app/window/RepeatDlg.h"
#include "app/window/RowTip.h"
#include "controls/HoverButton.h"
#include "controls/platform/DlgItem.h"
#include "controls/platform/Resources.h"
#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemState.h"
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
constexpr int kAttentionTitle = 290;
constexpr int kAttentionCount = 291;
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
    ChangeRules rules;
    rules.confirm = QSettings().value("ConfirmChanges", false).toBool();
    rules.attentionRuns = std::clamp(QSettings().value("AttentionRuns", 3).toInt(), 1,
                                     ChangeRules::kMostAttentionRuns);
    m_changes.SetRules(rules);
    m_rowTip = new RowTip(*m_list, [this](int item) { return RowTipText(item); });
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
    if (const int attention = m_changes.AttentionCount(); attention > 0)
        parts << LangText(kAttentionCount).arg(attention);
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

void CMainDlg::SetChangeRules(const ChangeRules& rules) {
    m_changes.SetRules(rules);
    QSettings().setValue("ConfirmChanges", rules.confirm);
    QSettings().setValue("AttentionRuns", rules.attentionRuns);
}

void CMainDlg::OnRepeatSetting() {
    RepeatDlg dialog(m_repeat.Minutes(), m_changeCommandText, m_changes.Rules(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    SetChangeCommand(dialog.Command());
    SetChangeRules(dialog.Rules());
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
    // A write of this very file may still be on its way.
    m_stateWriter.Flush();
    StateRead read = ReadStateFile(m_statePath);
    if (!read.problem.empty()) m_stateProblem = LangText(kStateUnreadable);
    m_changes.Restore(std::move(read.items));
}

void CMainDlg::WriteState() {
    // Off the window thread: a long list's histories take a while to write.
    if (!m_statePath.empty()) m_stateWriter.Write(m_statePath, m_changes.Tracked());
}

void CMainDlg::MarkRows() {
    {
        const RowBatch batch(m_rows);
        for (int row = 0; row < m_list->GetItemCount(); ++row) {
            const int data = m_rows.GetItemData(row);
            const int number = ItemNumberFromData(data);
            ReportItemInfo info;
            info.mask = RIF_STATE;
            info.item = row;
            info.state = m_changes.IsChanged(number) ? RIS_BOLD : 0;
            // The picture stands in for Done, Failed or Ready, never for a
            // disabled row or one being worked on.
            const int image = m_rows.GetItemImage(row);
            const TrackedItem* tracked = CurrentItem(number);
            if (!IsDisabledData(data) && image != static_cast<int>(ItemState::Working) &&
                tracked != nullptr && tracked->attention) {
                info.mask |= RIF_IMAGE;
                info.image = kAttentionImage;
            }
            m_rows.SetItem(info);
        }
    }
    UpdateWatchStatus();
}

void CMainDlg::OnRunEnded() {
    const RunMarks marks = m_changes.Record(RunOutcomes(*this, m_items), std::time(nullptr));
    if (m_stopPressed) m_repeat.Halt();
    m_stopPressed = false;
    m_repeat.RunEnded();
    m_stateProblem.clear();
    m_commandProblem.clear();
    WriteState();
    // Before the attention picture stands in for Done and Failed.
    RunChangeCommand(marks);
    MarkRows();
    NotifyChanges(marks);
}

void CMainDlg::RunChangeCommand(const RunMarks& marks) {
    if ((marks.changed.empty() && marks.attention.empty()) || m_changeCommandText.isEmpty()) return;
    m_changeCommand->Run(
        m_changeCommandText,
        RowsJson(m_rows, m_items, m_changes, marks, true, EnglishReasonText) + "\n");
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

QString CMainDlg::ChangeNotice(const RunMarks& marks) {
    const auto names = [this](const std::vector<int>& numbers) {
        QStringList lines;
        for (const int number : numbers) {
            if (lines.size() == kNamedChanges) break;
            lines << QString::fromStdString(ReadItem(number).name);
        }
        if (numbers.size() > kNamedChanges)
            lines << LangText(kAndMore).arg(numbers.size() - kNamedChanges);
        return lines;
    };
    QStringList lines = names(marks.changed);
    if (!marks.attention.empty())
        lines << LangText(kAttentionTitle) + ":" << names(marks.attention);
    return lines.join("\n");
}

void CMainDlg::NotifyChanges(const RunMarks& marks) {
    if ((marks.changed.empty() && marks.attention.empty()) || isActiveWindow() ||
        !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    if (m_tray == nullptr) {
        m_tray = new QSystemTrayIcon(LoadIcon(kProductIcon), this);
        connect(m_tray, &QSystemTrayIcon::messageClicked, this, [this] {
            showNormal();
            raise();
            activateWindow();
        });
    }
    m_tray->show();
    m_tray->showMessage(QString::fromStdString(m_title), ChangeNotice(marks),
                        LoadIcon(kProductIcon), kNotifyMs);
}

}  // namespace pagelark
