#include "gui/common/ImageLists.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QPainter>
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

// The due bullet: a small filled dot in an 11-pixel-wide column.
constexpr int kBulletWidth = 11;

QPixmap WithBullet(const QPixmap& picture, int size) {
    QPixmap out(kBulletWidth + size, size);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal d = size >= 32 ? 8 : 6;
    p.setPen(QPen(QColor(90, 20, 20), 1));
    p.setBrush(QColor(220, 40, 40));
    p.drawEllipse(QRectF((kBulletWidth - d) / 2.0, (size - d) / 2.0, d, d));
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
    const QFileInfo info(
        QString::fromUtf8(fileName.data(), static_cast<qsizetype>(fileName.size())));
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
