#include "controls/ThemeHelper.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

namespace pagelark {
namespace {

bool ClassListHasButton(QStringView classList) {
    for (const QStringView name : classList.split(u';')) {
        if (name.trimmed().compare(u"BUTTON", Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

// The style in force right now; looked up at every call, since the user or the
// program may change it while running.
QStyle* CurrentStyle() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return nullptr;
    return QApplication::style();
}

}  // namespace

ThemeHelper::ThemeHelper(Binding binding) : m_bound(binding == Binding::Style) {}

ThemeHelper::~ThemeHelper() {
    m_open.clear();
    m_bound = false;
}

bool ThemeHelper::IsAppThemed() const {
    return m_bound && CurrentStyle() != nullptr;
}

HTHEME ThemeHelper::OpenThemeData(QWidget* window, QStringView classList) {
    if (!IsAppThemed() || !ClassListHasButton(classList)) return 0;
    const HTHEME handle = m_nextHandle++;
    m_open[handle] = window;
    return handle;
}

long ThemeHelper::CloseThemeData(HTHEME theme) {
    if (!m_bound) return kFail;
    return m_open.erase(theme) == 1 ? kOk : kInvalidArg;
}

long ThemeHelper::DrawThemeBackground(HTHEME theme, QPainter* painter, int partId, int stateId,
                                      const QRect& rect, const QRect* clip) {
    if (!m_bound) return kFail;
    const auto it = m_open.find(theme);
    QStyle* style = CurrentStyle();
    if (it == m_open.end() || painter == nullptr || style == nullptr) return kInvalidArg;
    if (partId != kPushButtonPart || stateId < kStateNormal || stateId > kStateDefaulted) {
        return kInvalidArg;
    }
    QWidget* window = it->second;
    if (window != nullptr) style = window->style();

    QStyleOptionButton option;
    if (window != nullptr) option.initFrom(window);
    option.rect = rect;
    option.state = QStyle::State_Enabled | QStyle::State_Raised;
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver | QStyle::State_Sunken);
    switch (stateId) {
        case kStateHot:
            option.state |= QStyle::State_MouseOver;
            break;
        case kStatePressed:
            option.state = (option.state & ~QStyle::State_Raised) | QStyle::State_Sunken;
            break;
        case kStateDisabled:
            option.state &= ~QStyle::State_Enabled;
            option.palette.setCurrentColorGroup(QPalette::Disabled);
            break;
        case kStateDefaulted:
            option.features |= QStyleOptionButton::DefaultButton;
            break;
        default:
            break;
    }

    painter->save();
    if (clip != nullptr) painter->setClipRect(*clip, Qt::IntersectClip);
    style->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, painter, window);
    painter->restore();
    return kOk;
}

}  // namespace pagelark
