#pragma once

#include <QBasicTimer>
#include <QDialog>
#include <QIcon>
#include <QSize>

#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "app/detail/HistoryHtml.h"
#include "app/window/ReportRows.h"
#include "controls/ThemeHelper.h"
#include "controls/platform/CommandTarget.h"
#include "controls/platform/ImageList.h"
#include "engine/collect/CollectHost.h"
#include "engine/collect/CollectWorker.h"
#include "engine/collect/ItemList.h"
#include "engine/watch/ChangeTracker.h"
#include "engine/watch/RepeatSchedule.h"
#include "files/StateWriter.h"
#include "files/XmlDocument.h"
#include "report/model/ReportParent.h"

class QAction;
class QLabel;
class QProgressBar;
class QSystemTrayIcon;

// The program's only top-level window (template 102): the item list in a
// report control and a button for every command. It owns the whole list (the
// live item store, the rows, the maps and the counters), runs collection
// through its CollectWorker and keeps the script file's path.
//
// Its jobs live in separate files: MainDlg.cpp (creation, relabel, keys,
// closing), MainDlgLayout.cpp (sizing and the preview band),
// MainDlgCommands.cpp (the list commands and the language),
// MainDlgCollect.cpp (Start/Stop and the worker's host), MainDlgFiles.cpp
// (Save, Load, Snap), MainDlgWatch.cpp (change marks, their state file, the
// repeat and the notification), MainDlgHistory.cpp (a row's tip and the
// history the detail window shows).
namespace pagelark {

class ChangeCommand;
class CReportCtrl;
class RowTip;
class HoverButton;
class RenderPool;
class WindowRenderer;

class CMainDlg : public QDialog, public CollectHost, public ReportParent, public CommandTarget {
    Q_OBJECT

  public:
    // Control ids of template 102.
    enum ControlId {
        IDC_START = 1,
        IDC_HELP = 2,
        IDC_SNAP = 3,
        IDC_SAVE = 1000,
        IDC_LOAD = 1001,
        IDC_LANGUAGE = 1004,
        IDC_ADD = 1006,
        IDC_EDIT = 1007,
        IDC_DELETE = 1008,
        IDC_NEW = 1009,
        IDC_PROGRESS = 1010,
        IDC_LIST = 1011,
        IDC_ENABLE = 1014,
        IDC_DISABLE = 1015,
        IDC_DETAIL = 1018,
        IDC_ON_TOP = 1022,
        IDC_COPYRIGHT = 1023,
    };
    static constexpr int kIconTimerId = 100;
    static constexpr int kIconTimerMs = 200;
    // The settings menu's command that opens the repeat setting.
    static constexpr int ID_REPEAT = 32790;

    explicit CMainDlg(QWidget* parent = nullptr);
    ~CMainDlg() override;

    // Loads a script file as the Load command does after its dialog.
    void LoadScriptFile(const QString& path);
    // Loads it once the window is on screen and the splash has gone, so that
    // a message about the file shows over the window; "" loads nothing.
    void LoadScriptFileOnceShown(const QString& path) { m_startScript = path; }

    CReportCtrl* List() const { return m_list; }
    QProgressBar* Progress() const { return m_progress; }
    HoverButton* Button(int id) const;
    CollectWorker& Worker() { return *m_worker; }
    ItemList& Items() { return m_items; }
    XmlDocument& LiveStore() { return m_live; }
    const std::string& FilePath() const { return m_filePath; }
    bool IsAlwaysOnTop() const { return m_alwaysOnTop; }

    // CollectHost: the worker's view of the window.
    void RunOnListThread(const std::function<void()>& task) override;
    ItemRows& Rows() override { return m_rows; }
    ItemRecord ReadItem(int number) override;
    void ShowRunning(int progressRange) override;
    void ShowStopping() override;
    void SetProgressPos(int position) override;
    void HideProgress() override;
    void ResetRunLook() override;
    PageRenderer* Renderer() override;
    // The browser pages that render items marked "Render the page first".
    RenderPool& Renders() { return *m_renderPool; }

    int OnReportNotify(NotifyHeader& record) override;
    // The language menu's commands.
    void OnCommand(int commandId) override;

    // The commands, by button.
    void OnNew();
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnEnable();
    void OnDisable();
    void OnDetail();
    void OnSave();
    void OnLoad();
    void OnSnap();
    void OnHelp();
    void OnStartStop();
    void OnAlwaysOnTop();
    void OnAbout();

    // Watching: the rows changed since the previous run, and the repeat.
    ChangeTracker& Changes() { return m_changes; }
    RepeatSchedule& Repeat() { return m_repeat; }
    // Kept as the setting "RepeatMinutes"; the repeat dialog's OK comes here.
    void SetRepeatMinutes(int minutes);
    // The command run after a run with changes ("" for none), kept as the
    // setting "ChangeCommand"; the repeat dialog's OK comes here too.
    void SetChangeCommand(const QString& command);
    const QString& ChangeCommandText() const { return m_changeCommandText; }
    void OnRepeatSetting();
    // Starts the next run when it is due; a one-second timer calls it.
    void RepeatTick();
    // Where the list's last Results are kept ("" while it has no file).
    const std::string& StatePath() const { return m_statePath; }
    // Waits until the state handed to the writer's thread is in the file.
    void FlushState() { m_stateWriter.Flush(); }
    QLabel* WatchStatus() const { return m_watchStatus; }
    // "Mark a change only when seen twice" and the runs before a row needs
    // attention, kept as the settings "ConfirmChanges" and "AttentionRuns";
    // the repeat dialog's OK comes here too.
    void SetChangeRules(const ChangeRules& rules);
    // What the notification of a run says: the names of the first five
    // changed items, one a line, then "and N more"; then, under "Needs
    // attention", the items that need it since this run, the same way.
    QString ChangeNotice(const RunMarks& marks);
    // The tip of a row (by item index): why it has no good Result, whether it
    // needs attention, and its last good Result; empty for a good row.
    QString RowTipText(int item);
    // What the History view shows of an item.
    DetailHistory HistoryOf(int number);

    // All visible texts from the current language.
    void Relabel();
    // Threads of finished runs are joined; returns how many are still held.
    int JoinFinishedRuns();

  private slots:
    // Runs the tasks workers have handed to the window thread.
    void RunListCalls();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void CreateControls();
    void ConnectCommands();
    void InitDialog();
    void DefineColumns(bool redefine);
    void AppendRow(int number, const std::string& name);
    void SetRunLocked(bool locked);
    void StopAndWait();
    CollectSettings ReadCollectSettings() const;
    void OpenDetail(int number, DetailHistory history);
    // Preview bands measured again in the list's current font.
    void RefitPreviewBands();
    void DrawPreview(const struct PreviewNotify& record);
    void LayoutAfterResize(const QSize& client);
    int SelectedItemNumber(int row) const;
    void CreateWatch();
    void PlaceWatchStatus();
    void UpdateWatchStatus();
    // The state file of the current script file, read into the tracker.
    void OpenState();
    void WriteState();
    void MarkRows();
    void OnRunEnded();
    void OnRowSelected(int item, int data);
    void NotifyChanges(const RunMarks& marks);
    // The item's tracked outcome, when it is still the item the list defines.
    const TrackedItem* CurrentItem(int number);
    void RunChangeCommand(const RunMarks& marks);

    XmlDocument m_live;
    ItemList m_items;
    CReportCtrl* m_list = nullptr;
    ReportRows m_rows;
    QProgressBar* m_progress = nullptr;
    ImageList m_images;
    ThemeHelper m_theme;
    std::unique_ptr<RenderPool> m_renderPool;
    std::unique_ptr<WindowRenderer> m_renderer;
    std::unique_ptr<CollectWorker> m_worker;
    // Calls waiting for the window thread, handed over under a lock of our
    // own rather than through Qt's event (whose locks the thread checker
    // cannot see).
    struct ListCall;
    std::mutex m_listCallsLock;
    std::deque<ListCall*> m_listCalls;

    std::string m_title;
    std::string m_filePath;
    std::string m_captionFile;
    bool m_alwaysOnTop = false;
    QSize m_minimumSize;
    QSize m_lastClient{-1, -1};
    QIcon m_productIcon;
    QBasicTimer m_iconTimer;
    QBasicTimer m_joinTimer;  // joins a finished run's thread
    ChangeTracker m_changes;
    RepeatSchedule m_repeat;
    QBasicTimer m_repeatTimer;
    std::string m_statePath;
    StateWriter m_stateWriter;
    QString m_stateProblem;  // shown until the next run ends
    QLabel* m_watchStatus = nullptr;
    QAction* m_repeatAction = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    RowTip* m_rowTip = nullptr;
    ChangeCommand* m_changeCommand = nullptr;
    QString m_changeCommandText;
    QString m_commandProblem;  // shown until the next run ends
    bool m_stopPressed = false;
    bool m_splashShown = false;
    QString m_startScript;
    bool m_closing = false;
};

}  // namespace pagelark
