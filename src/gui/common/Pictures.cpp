#include "gui/common/Pictures.h"

#include <QFile>
#include <QRegularExpression>

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

// The resource of a command picture, empty if there is none of that name. Only plain
// names are looked up, so that a name cannot reach another resource.
QString CommandResource(const QString& name, int size) {
    static const QRegularExpression plain(QStringLiteral("^[a-z0-9]+(-[a-z0-9]+)*$"));
    if (!plain.match(name).hasMatch()) {
        return {};
    }
    EnsureResources();
    const QString path = QStringLiteral(":/quillmere/commands/%1/%2.png").arg(size).arg(name);
    return QFile::exists(path) ? path : QString();
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

QIcon CommandPicture(const QString& name) {
    QIcon icon;
    for (const int size : {16, 24}) {
        const QString path = CommandResource(name, size);
        if (path.isEmpty()) {
            return {};
        }
        icon.addFile(path, QSize(size, size));
    }
    return icon;
}

QPixmap CommandPicture(const QString& name, int size) {
    const int drawn = size <= 16 ? 16 : 24;
    const QString path = CommandResource(name, drawn);
    if (path.isEmpty()) {
        return {};
    }
    QPixmap pixmap(path);
    if (!pixmap.isNull() && drawn != size) {
        pixmap = pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return pixmap;
}

} // namespace quill::gui
