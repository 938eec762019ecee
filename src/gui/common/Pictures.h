#pragma once
// The pictures bundled with the program (assets/icons, drawn by tools/icons): the 14
// standard pictures of the image lists at 16 and 32 pixels, the due bullet of the tree's
// state images (11 pixels wide), the program icon for the windows, the tray and the
// desktop file, and the pictures of the commands (toolbar, buttons, menus).

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace quill::gui {

inline constexpr int kBulletWidth = 11;

// Picture 0 to 13 (kind n is picture n, 10 the open folder, 11 a due reminder, 12 the top
// item, 13 the general file) at 16 and 32 pixels; a null icon for another index.
QIcon BundledPicture(int index);
// The picture drawn for that size (16 or 32); other sizes are scaled from the nearer one.
QPixmap BundledPicture(int index, int size);

// The program icon at 16, 32, 48, 64 and 128 pixels.
QIcon ProgramIcon();

// The due bullet, 11 pixels wide, for rows of 16 or 32 pixels.
QPixmap BulletPicture(int height = 16);

// The picture of a command, drawn at 16 (buttons, menus) and 24 pixels (the toolbar):
// "import", "publish", "print", "filter-any", "filter-all", "cut", "copy", "paste",
// "delete", "view-large-icons", "view-small-icons", "view-list", "view-details", "tools",
// "get-url", "help", "toggle-layout", "up-one-level" and "category" (the editors' category
// button). A null icon for another name.
QIcon CommandPicture(const QString& name);
// The picture drawn for that size (16 or 24); smaller sizes are scaled from 16, larger
// ones (and those between) from 24.
QPixmap CommandPicture(const QString& name, int size);

} // namespace quill::gui
