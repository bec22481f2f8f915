#include "report/widgets/PlatformComposites.h"

#include <QGuiApplication>

#include <cstdlib>
#include <string>

#ifdef PAGELARK_HAVE_XCB
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#endif

namespace pagelark {
namespace {

#ifdef PAGELARK_HAVE_XCB
// An X screen composites while some client owns its compositing manager selection.
bool X11Composites() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return false;
    xcb_connection_t* connection = x11->connection();
    const std::string name = "_NET_WM_CM_S0";
    const xcb_intern_atom_cookie_t atomCookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str());
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(connection, atomCookie, nullptr);
    if (!atom) return false;
    const xcb_get_selection_owner_cookie_t ownerCookie =
        xcb_get_selection_owner(connection, atom->atom);
    std::free(atom);
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection, ownerCookie, nullptr);
    if (!owner) return false;
    const bool composited = owner->owner != XCB_NONE;
    std::free(owner);
    return composited;
}
#endif

}  // namespace

bool PlatformComposites() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")) || platform == QLatin1String("windows") ||
        platform == QLatin1String("cocoa"))
        return true;
#ifdef PAGELARK_HAVE_XCB
    if (platform == QLatin1String("xcb")) return X11Composites();
#endif
    return false;
}

}  // namespace pagelark
