#include "gui/common/ImageLists.h"

#include "platform/Utf8Text.h"

#include "gui/common/Pictures.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QPainter>

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
    ++generation_;
    icons_.push_back(icon);
    return Count() - 1;
}

void ImageLists::Replace(int index, const QIcon& icon) {
    if (index >= 0 && index < Count()) {
        ++generation_;
        icons_[index] = icon;
    }
}

namespace {

constexpr int kBulletWidth = 11;

// The picture with the due bullet in an 11-pixel-wide column on its left.
QPixmap WithBullet(const QPixmap& picture, int size) {
    QPixmap out(kBulletWidth + size, size);
    out.fill(Qt::transparent);
    QPainter p(&out);
    const QPixmap bullet = BulletPicture(size);
    p.drawPixmap(0, (size - bullet.height()) / 2, bullet);
    p.drawPixmap(kBulletWidth, 0, picture);
    return out;
}

} // namespace

QIcon ImageLists::EntryIcon(int image, int selected, int state) const {
    if (cacheGeneration_ != generation_) {
        entryIcons_.clear();
        cacheGeneration_ = generation_;
    }
    const qint64 key =
        (qint64(image) << 32) | (qint64(selected & 0xffff) << 16) | qint64((state + 1) & 0xffff);
    auto found = entryIcons_.constFind(key);
    if (found != entryIcons_.constEnd()) {
        return *found;
    }
    QIcon icon;
    for (const int size : {kSmall, kLarge}) {
        QPixmap normal = Pixmap(image, size);
        QPixmap chosen = Pixmap(selected, size);
        if (state >= 0) {
            normal = WithBullet(normal, size);
            chosen = WithBullet(chosen, size);
        }
        icon.addPixmap(normal, QIcon::Normal);
        icon.addPixmap(chosen, QIcon::Selected);
    }
    entryIcons_.insert(key, icon);
    return icon;
}

void ImageLists::SetToolIconLookup(std::function<int(std::string_view)> lookup) {
    toolLookup_ = std::move(lookup);
}

QIcon ImageLists::FileIcon(std::string_view fileName) {
    // A missing file still gets a picture: the one its name's type is shown with.
    static QFileIconProvider provider;
    const QFileInfo info(FromUtf8(fileName));
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
