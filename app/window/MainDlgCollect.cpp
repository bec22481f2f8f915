// CMainDlg as the collection worker's host: Start and Stop, the running look,
// the icon timer, and the calls the worker makes on the window thread.

#include <QCoreApplication>
#include <QProgressBar>
#include <QSettings>
#include <QThread>
#include <QTimerEvent>

#include <algorithm>
#include <atomic>
#include <random>

#include "app/language/LangString.h"
#include "app/render/RenderPool.h"
#include "app/render/WindowRenderer.h"
#include "app/window/MainDlg.h"
#include "controls/HoverButton.h"
#include "controls/platform/Resources.h"
#include "engine/collect/ItemNumber.h"
#include "files/ItemStore.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {
namespace {

constexpr int kStartText = 182;
constexpr int kStopText = 183;
constexpr int kJoinPollMs = 20;
constexpr int kRunIcons[] = {181, 186, 187, 188, 189};

// The buttons that change the list or its files: off while a run lasts.
constexpr int kRunLocked[] = {CMainDlg::IDC_NEW,    CMainDlg::IDC_ADD,    CMainDlg::IDC_EDIT,
                              CMainDlg::IDC_DELETE, CMainDlg::IDC_ENABLE, CMainDlg::IDC_DISABLE,
                              CMainDlg::IDC_LOAD,   CMainDlg::IDC_SAVE,   CMainDlg::IDC_SNAP};

}  // namespace

CollectSettings CMainDlg::ReadCollectSettings() const {
    const QSettings settings;
    CollectSettings collect;
    collect.parallelDownloads =
        std::clamp(settings.value("ParallelDownloads", 16).toInt(), 1, 1000);
    collect.fetch.pageDeadlineSeconds =
        std::clamp(settings.value("PageDeadlineSeconds", 120).toInt(), 0, 86400);
    return collect;
}

void CMainDlg::OnStartStop() {
    if (m_worker->IsRunning()) {
        m_stopPressed = true;  // no repeat until the next Start
        m_worker->Stop();
        return;
    }
    JoinFinishedRuns();
    m_worker->SetSettings(ReadCollectSettings());
    m_repeat.RunStarted();
    if (!m_worker->Start()) m_repeat.RunEnded();
}

int CMainDlg::JoinFinishedRuns() {
    // Every thread has left its loop once the worker is idle; joining is then
    // immediate. A stopped run's thread may still be on its way out: it is
    // joined at a later Start or when the window goes.
    if (m_worker->Idle()) m_worker->Wait();
    return m_worker->Idle() ? 0 : 1;
}

void CMainDlg::StopAndWait() {
    if (!m_worker) return;
    if (m_worker->IsRunning()) m_worker->Stop();
    // A worker may be waiting for a call on this thread: keep serving them
    // until it has left.
    while (!m_worker->Idle()) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    m_worker->Wait();
}

// One call a worker hands to the window thread. Qt's blocking hand-over
// already orders the two threads; the lock and the atomic state that order
// in a form ThreadSanitizer sees (Qt's own locks are not instrumented).
struct CMainDlg::ListCall {
    const std::function<void()>* task;
    std::atomic<bool> done{false};
};

void CMainDlg::RunOnListThread(const std::function<void()>& task) {
    if (QThread::currentThread() == thread()) {
        task();
        return;
    }
    ListCall call{&task};
    {
        const std::lock_guard lock(m_listCallsLock);
        m_listCalls.push_back(&call);
    }
    QMetaObject::invokeMethod(this, "RunListCalls", Qt::BlockingQueuedConnection);
    call.done.load(std::memory_order_acquire);
}

// Every waiting call runs, whichever worker's event arrives first: a worker
// is released only once its own event is handled, and by then its task ran.
void CMainDlg::RunListCalls() {
    for (;;) {
        ListCall* call = nullptr;
        {
            const std::lock_guard lock(m_listCallsLock);
            if (m_listCalls.empty()) return;
            call = m_listCalls.front();
            m_listCalls.pop_front();
        }
        (*call->task)();
        call->done.store(true, std::memory_order_release);
    }
}

ItemRecord CMainDlg::ReadItem(int number) {
    ItemFields fields = ReadStoreItem(m_live, number);
    ItemRecord item = DefinedItem(number, std::move(fields.name), std::move(fields.filter),
                                  std::move(fields.url));
    item.render = fields.render;
    return item;
}

PageRenderer* CMainDlg::Renderer() {
    return m_renderer.get();
}

void CMainDlg::SetRunLocked(bool locked) {
    for (const int id : kRunLocked)
        Button(id)->setEnabled(!locked);
}

void CMainDlg::ShowRunning(int progressRange) {
    m_iconTimer.start(kIconTimerMs, this);
    m_progress->setRange(0, progressRange);
    m_progress->setValue(0);
    m_progress->show();
    HoverButton* start = Button(IDC_START);
    start->setText(LangText(kStopText));
    start->setAccessibleName(start->text());
    start->setEnabled(true);
    SetRunLocked(true);
}

void CMainDlg::ShowStopping() {
    HoverButton* start = Button(IDC_START);
    start->setText(LangText(kStartText));
    start->setAccessibleName(start->text());
    start->setEnabled(false);
}

void CMainDlg::SetProgressPos(int position) {
    m_progress->setValue(position);
}

void CMainDlg::HideProgress() {
    m_progress->hide();
}

void CMainDlg::ResetRunLook() {
    m_iconTimer.stop();
    setWindowIcon(LoadIcon(kProductIcon));
    HoverButton* start = Button(IDC_START);
    start->setText(LangText(kStartText));
    start->setAccessibleName(start->text());
    start->setEnabled(true);
    SetRunLocked(false);
    m_progress->hide();
    // The run's thread is leaving; join it once it has left.
    m_joinTimer.start(kJoinPollMs, this);
    OnRunEnded();
}

void CMainDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_repeatTimer.timerId()) {
        RepeatTick();
        return;
    }
    if (event->timerId() == m_joinTimer.timerId()) {
        if (JoinFinishedRuns() == 0) m_joinTimer.stop();
        return;
    }
    if (event->timerId() != m_iconTimer.timerId()) {
        QDialog::timerEvent(event);
        return;
    }
    static std::minstd_rand random{std::random_device{}()};
    setWindowIcon(LoadIcon(kRunIcons[random() % std::size(kRunIcons)]));
}

}  // namespace pagelark
