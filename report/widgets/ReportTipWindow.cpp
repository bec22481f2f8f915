#include "report/widgets/ReportTipWindow.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QtMath>

#include "report/widgets/ReportTipOwner.h"

namespace pagelark {

ReportTipWindow::ReportTipWindow(ReportTipOwner& owner, bool layered)
    : QWidget(owner.TipOwnerWidget(), Qt::ToolTip | Qt::FramelessWindowHint),
      m_owner(owner),
      m_state(layered, QApplication::doubleClickInterval()) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    m_state.SetTimerControl([this](int interval) {
        if (interval > 0)
            m_fade.start(interval, this);
        else
            m_fade.stop();
    });
    qApp->installEventFilter(this);
}

ReportTipWindow::~ReportTipWindow() {
    qApp->removeEventFilter(this);
}

int ReportTipWindow::Show(const QRect& rect, const QString& text, const QFont* font) {
    QWidget* owner = m_owner.TipOwnerWidget();
    const QFont used = font ? *font : owner->font();
    const QFontMetricsF metrics(used);
    const QSize extent(qCeil(metrics.horizontalAdvance(text)), qCeil(metrics.height()));
    const ReportTipState::ShowResult result =
        m_state.Show(rect, extent, QApplication::focusWidget() != nullptr);
    if (!result.shown) {
        hide();
        return 0;
    }
    m_text = text;
    m_font = used;
    setGeometry(QRect(owner->mapToGlobal(result.window.topLeft()), result.window.size()));
    if (result.applyOpacity) setWindowOpacity(m_state.Opacity() / 255.0);
    update();
    show();
    return 1;
}

void ReportTipWindow::Hide() {
    m_state.Hide();
    hide();
}

void ReportTipWindow::FadeTick() {
    if (m_state.Tick()) setWindowOpacity(m_state.Opacity() / 255.0);
}

void ReportTipWindow::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_fade.timerId())
        FadeTick();
    else
        QWidget::timerEvent(event);
}

void ReportTipWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::ToolTipBase));
    painter.setPen(colours.color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(m_font);
    // Inside the border at the margin, so the text lies over the cell's own.
    const int margin = m_state.Margin();
    painter.drawText(QRect(margin, 2, width() - margin, height() - 2),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_text);
}

bool ReportTipWindow::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            // Without a focused window of ours the tip has no business being up.
            if (!QApplication::focusWidget()) {
                Hide();
                return true;
            }
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

void ReportTipWindow::mouseMoveEvent(QMouseEvent* event) {
    if (m_state.InHitArea(event->position().toPoint())) return;
    PassOn(*event, QEvent::MouseMove);
}

void ReportTipWindow::mousePressEvent(QMouseEvent* event) {
    QEvent::Type type = QEvent::MouseButtonPress;
    if (event->button() == Qt::LeftButton &&
        m_state.LeftPress(static_cast<int64_t>(event->timestamp())))
        type = QEvent::MouseButtonDblClick;
    PassOn(*event, type);
}

void ReportTipWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    // The press of the same click came first and hid the tip already.
    if (isVisible()) mousePressEvent(event);
}

// The wheel belongs to the list under the tip: it scrolls, which moves
// another row under the pointer, so the tip goes.
void ReportTipWindow::wheelEvent(QWheelEvent* event) {
    Hide();
    const QPointF global = event->globalPosition();
    QWidget* target = QApplication::widgetAt(global.toPoint());
    if (!target || target == this) target = m_owner.TipOwnerWidget();
    QWheelEvent passed(target->mapFromGlobal(global), global, event->pixelDelta(),
                       event->angleDelta(), event->buttons(), event->modifiers(), event->phase(),
                       event->inverted(), event->source());
    QApplication::sendEvent(target, &passed);
    event->setAccepted(passed.isAccepted());
}

void ReportTipWindow::PassOn(const QMouseEvent& event, QEvent::Type type) {
    Hide();
    const QPointF global = event.globalPosition();
    QWidget* target = QApplication::widgetAt(global.toPoint());
    if (!target || target == this) target = m_owner.TipOwnerWidget();
    QCoreApplication::postEvent(
        target, new QMouseEvent(type, target->mapFromGlobal(global), global, event.button(),
                                event.buttons(), event.modifiers()));
}

bool ReportTipWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !isVisible()) return false;
    Hide();
    QWidget* owner = m_owner.TipOwnerWidget();
    // A key on its way to the owner goes on; any other is sent there instead.
    if (watched == owner) return false;
    QCoreApplication::postEvent(owner, static_cast<QKeyEvent*>(event)->clone());
    return true;
}

}  // namespace pagelark
