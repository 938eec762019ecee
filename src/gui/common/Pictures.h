#pragma once
// The pictures bundled with the program (assets/icons, drawn by tools/icons): the 14
// standard pictures of the image lists at 16 and 32 pixels, the due bullet of the tree's
// state images (11 pixels wide), and the program icon for the windows, the tray and the
// desktop file.

#include <QIcon>
#include <QPixmap>

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

} // namespace quill::gui
