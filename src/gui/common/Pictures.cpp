#include "gui/common/Pictures.h"

#include <QFile>

#include <mutex>

// Resources of a static library are linked in only when something names them.
static void InitPictureResources() {
    Q_INIT_RESOURCE(pictures);
}

namespace quill::gui {
namespace {

constexpr int kStandardPictures = 14;

void EnsureResources() {
    static std::once_flag once;
    std::call_once(once, [] { InitPictureResources(); });
}

QString Resource(const char* group, int size, int index = -1) {
    EnsureResources();
    return index < 0 ? QStringLiteral(":/quillmere/%1/%2.png").arg(QLatin1String(group)).arg(size)
                     : QStringLiteral(":/quillmere/%1/%2/%3.png")
                           .arg(QLatin1String(group))
                           .arg(size)
                           .arg(index);
}

} // namespace

QIcon BundledPicture(int index) {
    if (index < 0 || index >= kStandardPictures) {
        return {};
    }
    QIcon icon;
    for (const int size : {16, 32}) {
        icon.addFile(Resource("pictures", size, index), QSize(size, size));
    }
    return icon;
}

QPixmap BundledPicture(int index, int size) {
    if (index < 0 || index >= kStandardPictures) {
        return {};
    }
    const int drawn = size <= 16 ? 16 : 32;
    QPixmap pixmap(Resource("pictures", drawn, index));
    if (!pixmap.isNull() && drawn != size) {
        pixmap = pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128}) {
        icon.addFile(Resource("program", size), QSize(size, size));
    }
    return icon;
}

QPixmap BulletPicture(int height) {
    return QPixmap(Resource("bullet", height >= 32 ? 32 : 16));
}

} // namespace quill::gui
