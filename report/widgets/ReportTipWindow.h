#pragma once

#include <QBasicTimer>
#include <QEvent>
#include <QFont>
#include <QString>
#include <QWidget>

#include "report/widgets/PlatformComposites.h"
#include "report/widgets/ReportTipState.h"

class QMouseEvent;
class QWheelEvent;

// The report control's tip: a small window laid over a cell whose text is
// clipped, showing the whole text. It fades in where windows are composited,
// hides at any key, click or wheel turn and passes them on, so the list under it behaves
// as if the tip were not there.
namespace pagelark {

class ReportTipOwner;

class ReportTipWindow : public QWidget {
    Q_OBJECT

  public:
    // layered: whether to fade; by default where the window system composites.
    explicit ReportTipWindow(ReportTipOwner& owner, bool layered = PlatformComposites());
    ~ReportTipWindow() override;

    // rect: the cell's text rectangle in the owner's coordinates; font: the
    // row's font, null for the owner's. 1 when the tip is now shown, else 0.
    int Show(const QRect& rect, const QString& text, const QFont* font = nullptr);
    void Hide();

    const ReportTipState& State() const { return m_state; }
    // One step of the fade, as the timer makes it.
    void FadeTick();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool event(QEvent* event) override;
    // Keys typed anywhere while the tip is up.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Hides the tip and posts the event, as type, to the window under its point.
    void PassOn(const QMouseEvent& event, QEvent::Type type);

    ReportTipOwner& m_owner;
    ReportTipState m_state;
    QBasicTimer m_fade;
    QString m_text;
    QFont m_font;
};

}  // namespace pagelark
