#include "gui/common/ImageLists.h"

#include "gui/common/Pictures.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QStyle>

namespace quill::gui {
namespace {

// The icon theme's name for each standard picture, index by index: folder, organization,
// team, person, website, address, phone, e-mail, fax, reminder, open folder, due reminder,
// top item, file. Where the theme has none, the bundled picture stands in.
constexpr const char* kThemeNames[ImageLists::kStandardCount] = {
    "folder",
    "office-building",
    "system-users",
    "user-identity",
    "applications-internet",
    "go-home",
    "call-start",
    "mail-message",
    "printer",
    "appointment-new",
    "folder-open",
    "appointment-soon",
    "x-office-address-book",
    "text-x-generic",
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
    return QIcon::fromTheme(QLatin1String(kThemeNames[index]), BundledPicture(index));
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
