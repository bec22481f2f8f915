#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <optional>
#include <string>
#include <vector>

// The program's resources, compiled in with the Qt resource system and looked
// up by number: icons, bitmaps, menus and the string table.
namespace pagelark {

// The product's icon: the windows' own icon, the tray's and the about box's.
inline constexpr int kProductIcon = 128;

// The icon with this number, or a null icon when there is none.
QIcon LoadIcon(int id);

// The size the icon is drawn at by default; empty when there is no such icon.
QSize IconSize(int id);

// The bitmap with this number at the screen's pixel ratio; null when missing.
QPixmap LoadBitmap(int id);

// The bitmap as an image at a whole-number scale (1 or 2). Bitmaps kept as
// PNG come from "<id>.png" or "<id>@2x.png"; drawn ones are rendered.
QImage LoadBitmapImage(int id, int scale = 1);

// The raw string table entry (all its language pieces) in UTF-8.
std::optional<std::string> LoadString(int id);

struct MenuItem {
    int command = 0;
    QString text;
};

// A menu resource: one popup with its items in order.
struct MenuResource {
    std::vector<MenuItem> items;
};

std::optional<MenuResource> LoadMenu(int id);

}  // namespace pagelark
