#include "platform/FirefoxSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>

#include <lz4.h>

#include <unistd.h>

namespace quill::platform {
namespace {

constexpr char kMozLz4Magic[] = "mozLz40"; // followed by a zero byte
constexpr qsizetype kMagicSize = 8;
constexpr qsizetype kHeaderSize = kMagicSize + 4;
// A session store is a few megabytes; a larger size in the header is a damaged file.
constexpr quint32 kLargestStore = 256u * 1024 * 1024;

// The element at a one-based index that Firefox stores; the first one when it is out of
// range (a store written while a window closes).
QJsonObject At(const QJsonArray& array, const QJsonValue& oneBased) {
    const qsizetype index = oneBased.toInteger(1) - 1;
    if (index >= 0 && index < array.size()) {
        return array.at(index).toObject();
    }
    return array.isEmpty() ? QJsonObject() : array.first().toObject();
}

QString ProfilePath(const QString& root, const QString& path, bool relative) {
    return relative ? QDir(root).filePath(path) : path;
}

} // namespace

QStringList FirefoxProfileRoots(const QString& home, const QString& configHome) {
    return {QDir(home).filePath(QStringLiteral(".mozilla/firefox")),
            QDir(configHome).filePath(QStringLiteral("mozilla/firefox")),
            QDir(home).filePath(QStringLiteral("snap/firefox/common/.mozilla/firefox")),
            QDir(home).filePath(QStringLiteral(".var/app/org.mozilla.firefox/.mozilla/firefox"))};
}

QString DefaultFirefoxProfile(const QStringList& roots) {
    for (const QString& root : roots) {
        const QString iniFile = QDir(root).filePath(QStringLiteral("profiles.ini"));
        if (!QFileInfo::exists(iniFile)) {
            continue;
        }
        const QSettings ini(iniFile, QSettings::IniFormat);
        QString marked;
        QString only;
        int profiles = 0;
        for (const QString& group : ini.childGroups()) {
            if (group.startsWith(QLatin1String("Install"))) {
                const QString path = ini.value(group + QStringLiteral("/Default")).toString();
                if (!path.isEmpty()) {
                    // Installs name their profile relative to the root.
                    return QDir(root).filePath(path);
                }
            } else if (group.startsWith(QLatin1String("Profile"))) {
                const QString path =
                    ProfilePath(root, ini.value(group + QStringLiteral("/Path")).toString(),
                                ini.value(group + QStringLiteral("/IsRelative"), 1).toInt() != 0);
                ++profiles;
                only = path;
                if (ini.value(group + QStringLiteral("/Default")).toInt() == 1 &&
                    marked.isEmpty()) {
                    marked = path;
                }
            }
        }
        if (!marked.isEmpty()) {
            return marked;
        }
        if (profiles == 1) {
            return only;
        }
    }
    return {};
}

QString NamedFirefoxProfile(const QStringList& roots, const QString& name) {
    for (const QString& root : roots) {
        const QString iniFile = QDir(root).filePath(QStringLiteral("profiles.ini"));
        if (!QFileInfo::exists(iniFile)) {
            continue;
        }
        const QSettings ini(iniFile, QSettings::IniFormat);
        for (const QString& group : ini.childGroups()) {
            if (group.startsWith(QLatin1String("Profile")) &&
                ini.value(group + QStringLiteral("/Name")).toString() == name) {
                return ProfilePath(root, ini.value(group + QStringLiteral("/Path")).toString(),
                                   ini.value(group + QStringLiteral("/IsRelative"), 1).toInt() !=
                                       0);
            }
        }
        return {};
    }
    return {};
}

QString SessionStoreFile(const QString& profileDirectory) {
    return QDir(profileDirectory).filePath(QStringLiteral("sessionstore-backups/recovery.jsonlz4"));
}

std::optional<QByteArray> DecodeMozLz4(const QByteArray& data) {
    if (data.size() < kHeaderSize || !data.startsWith(QByteArray(kMozLz4Magic, kMagicSize))) {
        return std::nullopt;
    }
    const auto* size = reinterpret_cast<const unsigned char*>(data.constData() + kMagicSize);
    const quint32 expected =
        quint32(size[0]) | quint32(size[1]) << 8 | quint32(size[2]) << 16 | quint32(size[3]) << 24;
    if (expected > kLargestStore) {
        return std::nullopt;
    }
    QByteArray json(static_cast<qsizetype>(expected), Qt::Uninitialized);
    const int produced = LZ4_decompress_safe(data.constData() + kHeaderSize, json.data(),
                                             static_cast<int>(data.size() - kHeaderSize),
                                             static_cast<int>(expected));
    // A store cut short decodes to less than its header promised.
    if (produced != static_cast<int>(expected)) {
        return std::nullopt;
    }
    return json;
}

QByteArray EncodeMozLz4(const QByteArray& json) {
    const int bound = LZ4_compressBound(static_cast<int>(json.size()));
    QByteArray out(kHeaderSize + bound, Qt::Uninitialized);
    std::copy(kMozLz4Magic, kMozLz4Magic + kMagicSize, out.data());
    const auto size = static_cast<quint32>(json.size());
    for (int i = 0; i < 4; ++i) {
        out[kMagicSize + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    }
    const int written = LZ4_compress_default(json.constData(), out.data() + kHeaderSize,
                                             static_cast<int>(json.size()), bound);
    out.truncate(kHeaderSize + std::max(written, 0));
    return out;
}

std::optional<PageInfo> CurrentPageOfSession(const QByteArray& json) {
    const QJsonObject session = QJsonDocument::fromJson(json).object();
    const QJsonObject window =
        At(session.value(QStringLiteral("windows")).toArray(), session.value("selectedWindow"));
    const QJsonObject tab =
        At(window.value(QStringLiteral("tabs")).toArray(), window.value("selected"));
    const QJsonObject entry =
        At(tab.value(QStringLiteral("entries")).toArray(), tab.value("index"));
    const QString url = entry.value(QStringLiteral("url")).toString();
    if (url.isEmpty()) {
        return std::nullopt;
    }
    // A page without a title shows its address in the tab.
    const QString title = entry.value(QStringLiteral("title")).toString();
    return PageInfo{url, title.isEmpty() ? url : title};
}

std::optional<PageInfo> ReadFirefoxPage(const QString& profileDirectory) {
    if (profileDirectory.isEmpty()) {
        return std::nullopt;
    }
    QFile file(SessionStoreFile(profileDirectory));
    if (QFileInfo(file).ownerId() != ::getuid() || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const std::optional<QByteArray> json = DecodeMozLz4(file.readAll());
    if (!json) {
        return std::nullopt;
    }
    return CurrentPageOfSession(*json);
}

} // namespace quill::platform
