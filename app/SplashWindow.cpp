#include "app/SplashWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include "controls/platform/Resources.h"

namespace pagelark {
namespace {

bool g_enabled = true;
SplashWindow* g_current = nullptr;

bool IsConsumed(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
            return true;
        default:
            return false;
    }
}

}  // namespace

void SplashWindow::SetEnabled(bool enabled) {
    g_enabled = enabled;
}

bool SplashWindow::IsEnabled() {
    return g_enabled;
}

SplashWindow* SplashWindow::Current() {
    return g_current;
}

SplashWindow* SplashWindow::ShowSplashScreen(QWidget* owner) {
    if (!g_enabled || g_current != nullptr) return nullptr;
    const QPixmap picture = LoadBitmap(kBitmapId);
    if (picture.isNull()) return nullptr;
    // Owned by the owner's window (deleted with it) or, without one, by itself.
    auto* splash = new SplashWindow(picture, owner);
    splash->show();
    splash->repaint();
    return splash;
}

SplashWindow::SplashWindow(const QPixmap& picture, QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_picture(picture),
      m_owner(owner) {
    g_current = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_picture.deviceIndependentSize().toSize());
    QRect over = owner != nullptr ? owner->frameGeometry() : QRect();
    if (over.isEmpty() && screen() != nullptr) over = screen()->availableGeometry();
    QRect area(QPoint(), size());
    area.moveCenter(over.center());
    move(area.topLeft());
    m_timer.start(kTimerMs, this);
    qApp->installEventFilter(this);
}

SplashWindow::~SplashWindow() {
    if (g_current == this) g_current = nullptr;
}

void SplashWindow::HideSplashScreen() {
    if (g_current == this) g_current = nullptr;
    m_timer.stop();
    qApp->removeEventFilter(this);
    close();
    if (m_owner) m_owner->repaint();
}

void SplashWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

void SplashWindow::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId()) {
        HideSplashScreen();
    } else {
        QWidget::timerEvent(event);
    }
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (g_current == this) {
        if (IsConsumed(event->type())) {
            HideSplashScreen();
            return true;
        }
        // Keep a shortcut from acting on the key the splash is about to take.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pagelark
