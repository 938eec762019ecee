#include "platform/BrowserBookmarks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include <algorithm>

namespace quill::platform {
namespace {

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// Smart folders and separators are not places a website can stand for.
bool IsWebAddress(const QString& url) {
    return !url.isEmpty() && !url.startsWith(QLatin1String("place:"));
}

void AddFirefoxProfiles(const QString& directory, QList<BrowserProfile>& out) {
    const QDir dir(directory);
    const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        const QString places = dir.filePath(name + QStringLiteral("/places.sqlite"));
        if (QFileInfo(places).isFile()) {
            out.append({BrowserProfile::Store::FirefoxPlaces, QStringLiteral("Firefox"),
                        name.section(QLatin1Char('.'), 1).isEmpty()
                            ? name
                            : name.section(QLatin1Char('.'), 1),
                        places});
        }
    }
}

void AddChromiumProfiles(const QString& directory, const QString& browser,
                         QList<BrowserProfile>& out) {
    const QDir dir(directory);
    const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        const QString bookmarks = dir.filePath(name + QStringLiteral("/Bookmarks"));
        if (QFileInfo(bookmarks).isFile()) {
            out.append({BrowserProfile::Store::ChromiumJson, browser, name, bookmarks});
        }
    }
}

bool Fail(QString* error, const QString& message) {
    if (error) {
        *error = message;
    }
    return false;
}

// Copies the database and its write-ahead log (the running browser's latest changes stand
// there) into folder; false when the database itself could not be copied.
bool CopyPlaces(const QString& file, const QString& folder, QString& copy) {
    copy = QDir(folder).filePath(QStringLiteral("places.sqlite"));
    if (!QFile::copy(file, copy)) {
        return false;
    }
    const QString wal = file + QStringLiteral("-wal");
    if (QFileInfo(wal).isFile()) {
        QFile::copy(wal, copy + QStringLiteral("-wal"));
    }
    return true;
}

bool ReadPlaces(const QString& database, BrowserBookmarks& out, QString* error) {
    const QString connection = QStringLiteral("quill-places-") + QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(database);
        if (!db.open()) {
            ok = Fail(error, db.lastError().text());
        } else {
            struct Entry {
                qint64 id;
                int type; // 1 bookmark, 2 folder
                QString title;
                QString url;
            };
            QHash<qint64, QList<Entry>> children; // by parent, in position order
            QSqlQuery query(db);
            ok = query.exec(QStringLiteral(
                "SELECT b.id, b.type, b.parent, b.title, p.url FROM moz_bookmarks b "
                "LEFT JOIN moz_places p ON b.fk = p.id ORDER BY b.parent, b.position"));
            if (!ok) {
                Fail(error, query.lastError().text());
            }
            qint64 root = -1;
            while (ok && query.next()) {
                const qint64 parent = query.value(2).toLongLong();
                const qint64 id = query.value(0).toLongLong();
                if (parent == 0) {
                    root = id;
                }
                children[parent].append({id, query.value(1).toInt(), query.value(3).toString(),
                                         query.value(4).toString()});
            }
            // Depth first from the root, as an exported page lists them.
            std::vector<std::pair<qint64, int>> stack; // folder, next position
            if (root >= 0) {
                stack.emplace_back(root, 0);
            }
            while (!stack.empty()) {
                auto& [folder, next] = stack.back();
                const QList<Entry>& list = children[folder];
                if (next >= list.size()) {
                    stack.pop_back();
                    continue;
                }
                const Entry& entry = list[next++];
                if (entry.type == 2) {
                    stack.emplace_back(entry.id, 0);
                } else if (entry.type == 1 && IsWebAddress(entry.url)) {
                    out.bookmarks.push_back({Utf8(entry.title), Utf8(entry.url)});
                }
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

void WalkChromium(const QJsonObject& node, BrowserBookmarks& out) {
    const QString type = node.value(QStringLiteral("type")).toString();
    if (type == QLatin1String("url")) {
        const QString url = node.value(QStringLiteral("url")).toString();
        if (IsWebAddress(url)) {
            out.bookmarks.push_back(
                {Utf8(node.value(QStringLiteral("name")).toString()), Utf8(url)});
        }
        return;
    }
    const QJsonArray children = node.value(QStringLiteral("children")).toArray();
    for (const QJsonValue& child : children) {
        WalkChromium(child.toObject(), out);
    }
}

} // namespace

QString BrowserProfile::Caption() const {
    return QStringLiteral("%1 (%2)").arg(browser, name);
}

QList<BrowserProfile> FindBrowserProfiles(const QString& home) {
    const QDir base(home.isEmpty() ? QDir::homePath() : home);
    QList<BrowserProfile> profiles;
    for (const char* firefox : {".mozilla/firefox", "snap/firefox/common/.mozilla/firefox",
                                ".var/app/org.mozilla.firefox/.mozilla/firefox"}) {
        AddFirefoxProfiles(base.filePath(QLatin1String(firefox)), profiles);
    }
    AddChromiumProfiles(base.filePath(QStringLiteral(".config/chromium")),
                        QStringLiteral("Chromium"), profiles);
    AddChromiumProfiles(base.filePath(QStringLiteral("snap/chromium/common/chromium")),
                        QStringLiteral("Chromium"), profiles);
    AddChromiumProfiles(base.filePath(QStringLiteral(".config/google-chrome")),
                        QStringLiteral("Google Chrome"), profiles);
    return profiles;
}

bool ReadBrowserBookmarks(const BrowserProfile& profile, BrowserBookmarks& out, QString* error) {
    out.title = Utf8(profile.browser + QStringLiteral(" Bookmarks"));
    out.bookmarks.clear();
    if (profile.store == BrowserProfile::Store::ChromiumJson) {
        QFile file(profile.file);
        if (!file.open(QIODevice::ReadOnly)) {
            return Fail(error, file.errorString());
        }
        QJsonParseError parseError{};
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
        if (!document.isObject()) {
            return Fail(error, parseError.errorString());
        }
        const QJsonObject roots = document.object().value(QStringLiteral("roots")).toObject();
        for (const char* root : {"bookmark_bar", "other", "synced"}) {
            WalkChromium(roots.value(QLatin1String(root)).toObject(), out);
        }
        return true;
    }
    // QTemporaryDir makes its folder readable by the user only and removes it with the copy.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        return Fail(error, folder.errorString());
    }
    QString copy;
    if (!CopyPlaces(profile.file, folder.path(), copy)) {
        return Fail(error, QStringLiteral("Cannot copy \"%1\"").arg(profile.file));
    }
    return ReadPlaces(copy, out, error);
}

} // namespace quill::platform
