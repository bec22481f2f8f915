#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <QLabel>

// A label that acts as a hyperlink: link colours, an underline while the
// mouse is over it, a hand cursor, the URL as tooltip, a size fitted to its
// text, and opening the URL when its owner asks.
namespace pagelark {

class LinkLabel : public QLabel {
    Q_OBJECT

  public:
    static constexpr int kHoverTimerId = 100;
    static constexpr int kHoverTimerMs = 100;

    // The label is attached at once: an empty url takes the text and an empty
    // text takes the url.
    explicit LinkLabel(QWidget* parent = nullptr, const QString& text = QString(),
                       const QString& url = QString());
    ~LinkLabel() override;

    void SetURL(const QString& url);
    QString GetURL() const { return m_url; }

    // An invalid hover colour stands for the system highlight colour.
    void SetColours(const QColor& link, const QColor& visited, const QColor& hover = QColor());
    QColor LinkColour() const { return m_linkColour; }
    QColor VisitedColour() const { return m_visitedColour; }
    QColor HoverColour() const;

    void SetVisited(bool visited);
    bool GetVisited() const { return m_visited; }

    // 1 always underlined, 0 never, -1 while the mouse is over the link.
    void SetUnderline(int mode);
    int GetUnderline() const { return m_underline; }

    void SetAutoSize(bool autoSize) { m_autoSize = autoSize; }

    // Opens the URL; on failure beeps and reports the error.
    void OpenLink();

    // Fits the window to its text (auto size only), keeping its alignment.
    void PositionWindow();

    bool IsOver() const { return m_over; }
    bool IsUnderlined() const { return m_underlined; }
    // The colour the text is drawn in now.
    QColor TextColour() const;

    // One tick of the hover timer with the cursor at screenPos.
    void CheckHover(const QPoint& screenPos);

  signals:
    // A click on the label; the owner decides what it does.
    void linkClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void TakeFonts();
    void SetUnderlined(bool underlined);

    QString m_url;
    QColor m_linkColour{0, 0, 238};
    QColor m_visitedColour{85, 26, 139};
    QColor m_hoverColour{255, 0, 0};
    bool m_over = false;
    bool m_visited = false;
    int m_underline = -1;
    bool m_autoSize = true;
    bool m_underlined = false;
    QFont m_normalFont;
    QFont m_underlineFont;
    QBasicTimer m_hoverTimer;
};

}  // namespace pagelark
