#pragma once

#include <QBasicTimer>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

// The splash picture shown while the main window comes up: a borderless
// window centred over the main window that goes after 1200 ms or at the first
// key or mouse press anywhere in the program, which it consumes.
namespace pagelark {

class SplashWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kBitmapId = 176;
    static constexpr int kTimerMs = 1200;

    // The splash flag, set once from the command line; on at start.
    static void SetEnabled(bool enabled);
    static bool IsEnabled();

    // Shows the splash over owner, unless the flag is off, one already shows
    // or the picture is missing. Returns the splash or nullptr.
    static SplashWindow* ShowSplashScreen(QWidget* owner);
    // The splash showing now, or nullptr.
    static SplashWindow* Current();

    ~SplashWindow() override;

    bool IsTimerActive() const { return m_timer.isActive(); }

    // Closes the splash and repaints the owner at once.
    void HideSplashScreen();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    SplashWindow(const QPixmap& picture, QWidget* owner);

    QPixmap m_picture;
    QPointer<QWidget> m_owner;
    QBasicTimer m_timer;
};

}  // namespace pagelark
