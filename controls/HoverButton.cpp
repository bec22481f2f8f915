#include "controls/HoverButton.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "controls/platform/CommandTarget.h"
#include "controls/platform/Resources.h"

namespace pagelark {
namespace {

constexpr int kIconGap = 3;
constexpr int kMaxTipWidth = 400;
constexpr int kCaptionFlags = Qt::AlignHCenter | Qt::TextWordWrap;

}  // namespace

HoverButton::HoverButton(QWidget* parent, int style) : QPushButton(parent) {
    m_model.Attach(style);
    if (m_model.IsDefault()) setDefault(true);
    if (m_model.IsToggle()) setAutoDefault(false);
    setMouseTracking(true);
    SetDefaultColors(false);
    // Connected first, so the button's own reaction comes before the owner's.
    connect(this, &QAbstractButton::clicked, this, &HoverButton::OnClicked);
}

HoverButton::~HoverButton() = default;

void HoverButton::FreeIcons() {
    m_iconIn = QIcon();
    m_iconOut = QIcon();
    m_iconInSize = QSize();
    m_iconOutSize = QSize();
}

int HoverButton::SetIcon(int inId, int outId) {
    const QIcon in = LoadIcon(inId);
    const QIcon out = outId != 0 ? LoadIcon(outId) : QIcon();
    if (in.isNull() || (outId != 0 && out.isNull())) {
        FreeIcons();
        update();
        return 1;
    }
    return SetIcon(in, IconSize(inId), out, outId != 0 ? IconSize(outId) : QSize());
}

int HoverButton::SetIcon(const QIcon& in, const QSize& inSize, const QIcon& out,
                         const QSize& outSize) {
    FreeIcons();
    const bool inBad = in.isNull() || inSize.isEmpty();
    const bool outBad = !out.isNull() && outSize.isEmpty();
    if (inBad || outBad) {
        update();
        return 1;
    }
    m_iconIn = in;
    m_iconInSize = inSize;
    if (!out.isNull()) {
        m_iconOut = out;
        m_iconOutSize = outSize;
    }
    update();
    return 0;
}

int HoverButton::SetColor(int slot, const QColor& colour, bool repaint) {
    const int result = m_model.SetColor(slot, colour);
    if (result == 0 && repaint) update();
    return result;
}

int HoverButton::SetDefaultColors(bool repaint) {
    m_model.SetDefaultColors(palette().color(QPalette::Button),
                             palette().color(QPalette::ButtonText));
    if (repaint) update();
    return 0;
}

QString HoverButton::WrapTip(const QString& text, const QFont& font, int maxWidth) {
    const QFontMetrics metrics(font);
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n')) {
        QString line;
        for (const QString& word : paragraph.split(u' ')) {
            const QString longer = line.isEmpty() ? word : line + u' ' + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > maxWidth) {
                lines << line;
                line = word;
            } else {
                line = longer;
            }
        }
        lines << line;
    }
    return lines.join(u'\n');
}

void HoverButton::SetTooltipText(const QString& text, bool activate) {
    if (text.isNull()) return;
    m_tooltipText = text;
    m_tooltipActive = activate;
    // A button that shows only an icon is named by its tooltip for screen
    // readers, whether or not the tip itself is active.
    if (QPushButton::text().isEmpty()) setAccessibleName(text);
    setToolTip(activate ? WrapTip(text, QToolTip::font(), kMaxTipWidth) : QString());
}

int HoverButton::SetMenu(int menuId, CommandTarget* owner, bool repaint) {
    m_menu.reset();
    m_menuOwner = nullptr;
    m_model.SetHasMenu(false);
    int result = 0;
    if (menuId != 0) {
        if (const auto resource = LoadMenu(menuId)) {
            m_menu = std::make_unique<QMenu>();
            for (const MenuItem& item : resource->items) {
                QAction* action = m_menu->addAction(item.text);
                action->setData(item.command);
            }
            connect(m_menu.get(), &QMenu::triggered, this, [this](QAction* action) {
                if (m_menuOwner != nullptr) m_menuOwner->OnCommand(action->data().toInt());
            });
            m_menuOwner = owner;
            m_model.SetHasMenu(true);
        } else {
            result = 1;
        }
    }
    if (repaint) update();
    return result;
}

void HoverButton::SetButtonStyle(int style) {
    m_model.ChangeStyle(style);
    setDefault(m_model.IsDefault());
    update();
}

void HoverButton::SetCheck(bool checked) {
    m_model.SetChecked(checked);
    update();
}

void HoverButton::SetMenuTracker(MenuTracker tracker) {
    m_menuTracker = std::move(tracker);
}

void HoverButton::OnClicked() {
    if (m_model.IsToggle()) {
        if (m_model.OnClick()) update();
        return;
    }
    if (!m_menu) return;
    m_model.SetMenuShowing(true);
    repaint();
    const QPoint screenPos = mapToGlobal(QPoint(0, height()));
    if (m_menuTracker) {
        m_menuTracker(*m_menu, screenPos);
    } else {
        m_menu->exec(screenPos);
    }
    m_model.SetMenuShowing(false);
    update();
}

void HoverButton::EndHover() {
    if (m_model.EndHover()) update();
}

void HoverButton::mouseMoveEvent(QMouseEvent* event) {
    QPushButton::mouseMoveEvent(event);
    const bool leftHeld = (event->buttons() & Qt::LeftButton) != 0;
    const bool over = rect().contains(event->position().toPoint());
    const bool active = QApplication::activeWindow() != nullptr;
    if (m_model.OnMouseMove(leftHeld, over, active) != HoverButtonModel::HoverChange::None) {
        update();
    }
}

void HoverButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    EndHover();
}

void HoverButton::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    EndHover();
}

void HoverButton::hideEvent(QHideEvent* event) {
    QPushButton::hideEvent(event);
    EndHover();
}

void HoverButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        EndHover();
    } else if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        EndHover();
        // The toolkit already moved the focus on to the next tab stop when
        // there is one; otherwise the parent takes it.
        if (QWidget* parent = parentWidget();
            parent != nullptr && window()->isActiveWindow() && window()->focusWidget() == nullptr) {
            parent->setFocus();
        }
    }
}

bool HoverButton::event(QEvent* event) {
    // A modal window opening over this one cancels the hover.
    if (event->type() == QEvent::WindowBlocked) EndHover();
    return QPushButton::event(event);
}

int HoverButton::OnDrawBackground(QPainter& painter, const QRect& rect) {
    painter.fillRect(rect, m_face.fill);
    return 0;
}

int HoverButton::OnDrawBorder(QPainter& painter, const QRect& rect) {
    const bool sunken = m_face.pressed;
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const QColor topLeft = sunken ? shadow : light;
    const QColor bottomRight = sunken ? light : shadow;
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
    return 0;
}

void HoverButton::DrawIcon(QPainter& painter, const QRect& rect, QRect& textRect) const {
    if (m_face.icon == HoverButtonModel::IconChoice::None) return;
    const bool useIn = m_face.icon == HoverButtonModel::IconChoice::In;
    const QIcon& icon = useIn ? m_iconIn : m_iconOut;
    const QSize size = useIn ? m_iconInSize : m_iconOutSize;

    QRect iconRect(QPoint(), size);
    if (!text().isEmpty()) {
        iconRect.moveTo(rect.left() + kIconGap + 1,
                        rect.top() + (rect.height() - size.height()) / 2);
        textRect.setLeft(textRect.left() + size.width() + kIconGap);
    } else {
        iconRect.moveTo(rect.left() + (rect.width() - size.width()) / 2,
                        rect.top() + (rect.height() - size.height()) / 2);
    }
    if (m_face.shiftContent) iconRect.translate(1, 1);
    icon.paint(&painter, iconRect, Qt::AlignCenter,
               m_face.disabled ? QIcon::Disabled : QIcon::Normal);
}

void HoverButton::DrawCaption(QPainter& painter, QRect textRect) const {
    const QString caption = text();
    if (caption.isEmpty()) return;
    if (m_face.shiftContent) textRect.translate(1, 1);

    // Measure the wrapped block and centre it in the text rectangle.
    const QFontMetrics metrics(font());
    const QSize block = metrics.boundingRect(textRect, kCaptionFlags, caption).size();
    const QRect blockRect(textRect.left() + (textRect.width() - block.width()) / 2,
                          textRect.top() + (textRect.height() - block.height()) / 2, block.width(),
                          block.height());

    painter.setFont(font());
    if (m_face.engraved) {
        // The engraving uses the normal light and shadow: the disabled-state
        // shadow is so pale the caption would all but vanish.
        painter.setPen(palette().color(QPalette::Active, QPalette::Light));
        painter.drawText(blockRect.translated(1, 1), kCaptionFlags, caption);
        painter.setPen(palette().color(QPalette::Active, QPalette::Dark));
        painter.drawText(blockRect, kCaptionFlags, caption);
    } else {
        painter.setPen(m_face.textColour);
        painter.drawText(blockRect, kCaptionFlags, caption);
    }
}

void HoverButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect area = rect();
    // The dialog moves the default to whichever push button has the focus.
    m_model.SetDefault(isDefault());
    m_face = m_model.Compose(isDown(), hasFocus(), !isEnabled(), !m_iconIn.isNull(),
                             !m_iconOut.isNull());

    OnDrawBackground(painter, area);
    if (m_face.pressed || m_face.hovered) OnDrawBorder(painter, area);

    QRect textRect = area;
    DrawIcon(painter, area, textRect);
    DrawCaption(painter, textRect);
    // No focus rectangle: focus shows through the focus face colour only.
}

}  // namespace pagelark
