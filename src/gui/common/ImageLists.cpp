#include "gui/common/ImageLists.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QStyle>

namespace quill::gui {
namespace {

struct StandardPicture {
    const char* themeName;
    QStyle::StandardPixmap fallback;
};

// Index by index: folder, organization, team, person, website, address, phone, e-mail, fax,
// reminder, document, open folder, due reminder, top item, file.
constexpr StandardPicture kPictures[ImageLists::kStandardCount] = {
    {"folder", QStyle::SP_DirClosedIcon},
    {"office-building", QStyle::SP_ComputerIcon},
    {"system-users", QStyle::SP_DirHomeIcon},
    {"user-identity", QStyle::SP_FileDialogInfoView},
    {"applications-internet", QStyle::SP_DriveNetIcon},
    {"mail-mark-notjunk", QStyle::SP_FileDialogDetailedView},
    {"call-start", QStyle::SP_MediaVolume},
    {"mail-message", QStyle::SP_DialogYesButton},
    {"printer", QStyle::SP_DriveFDIcon},
    {"appointment-new", QStyle::SP_BrowserReload},
    {"folder-open", QStyle::SP_DirOpenIcon},
    {"appointment-soon", QStyle::SP_MessageBoxWarning},
    {"address-book-new", QStyle::SP_DesktopIcon},
    {"text-x-generic", QStyle::SP_FileIcon},
};

} // namespace

ImageLists::ImageLists() {
    for (int i = 0; i < kStandardCount; ++i) {
        icons_.push_back(StandardIcon(i));
    }
}

QIcon ImageLists::StandardIcon(int index) {
    if (index < 0 || index >= kStandardCount) {
        return {};
    }
    const StandardPicture& p = kPictures[index];
    QIcon themed = QIcon::fromTheme(QLatin1String(p.themeName));
    if (!themed.isNull()) {
        return themed;
    }
    if (qApp && QApplication::style()) {
        return QApplication::style()->standardIcon(p.fallback);
    }
    return {};
}

QIcon ImageLists::Icon(int index) const {
    if (index < 0 || index >= Count()) {
        return {};
    }
    return icons_[index];
}

QPixmap ImageLists::Pixmap(int index, int size) const {
    return Icon(index).pixmap(size, size);
}

int ImageLists::Add(const QIcon& icon) {
    icons_.push_back(icon);
    return Count() - 1;
}

void ImageLists::Replace(int index, const QIcon& icon) {
    if (index >= 0 && index < Count()) {
        icons_[index] = icon;
    }
}

void ImageLists::SetToolIconLookup(std::function<int(std::string_view)> lookup) {
    toolLookup_ = std::move(lookup);
}

QIcon ImageLists::FileIcon(std::string_view fileName) {
    // A missing file still gets a picture: the one its name's type is shown with.
    static QFileIconProvider provider;
    const QFileInfo info(QString::fromUtf8(fileName.data(), static_cast<qsizetype>(fileName.size())));
    QIcon icon = provider.icon(info);
    return icon.isNull() ? StandardIcon(kGenericFileImage) : icon;
}

int ImageLists::AddFileIcon(std::string_view fileName) {
    return Add(FileIcon(fileName));
}

void ImageLists::ReplaceFileIcon(int index, std::string_view fileName) {
    Replace(index, FileIcon(fileName));
}

int ImageLists::ToolIconIndex(std::string_view program) const {
    return toolLookup_ ? toolLookup_(program) : kGenericFileImage;
}

} // namespace quill::gui
