// The browsers' own bookmarks: Firefox profiles read from a copy of places.sqlite and its
// write-ahead log while the "browser" still holds the database open, the copy gone
// afterwards; Chromium's JSON; profiles found in a home.

#include "platform/BrowserBookmarks.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace quill;
using namespace quill::platform;

class BrowserBookmarksTest : public QObject {
    Q_OBJECT

    static void Exec(QSqlDatabase& db, const QString& statement) {
        QSqlQuery query(db);
        QVERIFY2(query.exec(statement), qPrintable(statement));
    }

private slots:
    void firefoxBookmarksComeFromACopyThatIsDeletedAfterwards() {
        QTemporaryDir home;
        QTemporaryDir scratch;
        const QString profile = home.filePath(QStringLiteral(".mozilla/firefox/ab12.default"));
        QVERIFY(QDir().mkpath(profile));
        const QString places = profile + QStringLiteral("/places.sqlite");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "browser");
            db.setDatabaseName(places);
            QVERIFY(db.open());
            Exec(db, "PRAGMA journal_mode=WAL");
            Exec(db, "PRAGMA wal_autocheckpoint=0");
            Exec(db, "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT)");
            Exec(db, "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, "
                     "fk INTEGER, parent INTEGER, position INTEGER, title TEXT)");
            Exec(db, "INSERT INTO moz_places VALUES (1, 'https://a.example/'), "
                     "(2, 'https://b.example/'), (3, 'place:sort=8'), (4, 'https://c.example/')");
            // root 1; menu 2 (folder) holding b, then toolbar 3 holding a folder with c; a
            // at the root's end; a smart query that is not a website.
            Exec(db, "INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 0, ''), "
                     "(2, 2, NULL, 1, 0, 'menu'), (3, 2, NULL, 1, 1, 'toolbar'), "
                     "(10, 1, 2, 2, 0, 'Bee'), (11, 2, NULL, 3, 0, 'Sub'), "
                     "(12, 1, 4, 11, 0, 'Cee'), (13, 1, 3, 3, 1, 'Most Visited'), "
                     "(14, 1, 1, 1, 2, 'Ay')");
            // The browser keeps running: its latest changes stand in the -wal file.
            QVERIFY(QFile::exists(places + QStringLiteral("-wal")));

            qputenv("TMPDIR", scratch.path().toUtf8());
            const QList<BrowserProfile> profiles = FindBrowserProfiles(home.path());
            QCOMPARE(profiles.size(), 1);
            QCOMPARE(profiles[0].Caption(), QStringLiteral("Firefox (default)"));
            BrowserBookmarks read;
            QString error;
            QVERIFY2(ReadBrowserBookmarks(profiles[0], read, &error), qPrintable(error));
            qunsetenv("TMPDIR");
            QCOMPARE(read.title, std::string("Firefox Bookmarks"));
            QCOMPARE(read.bookmarks.size(), std::size_t{3});
            QCOMPARE(read.bookmarks[0].title, std::string("Bee"));
            QCOMPARE(read.bookmarks[1].address, std::string("https://c.example/"));
            QCOMPARE(read.bookmarks[2].title, std::string("Ay"));
            // The copy of the history is gone.
            QCOMPARE(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList());
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("browser"));
    }

    void chromiumBookmarksFollowTheTreeAndABrokenFileIsReported() {
        QTemporaryDir home;
        const QString profile = home.filePath(QStringLiteral(".config/google-chrome/Profile 1"));
        QVERIFY(QDir().mkpath(profile));
        QFile file(profile + QStringLiteral("/Bookmarks"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"roots\":{\"other\":{\"type\":\"folder\",\"children\":["
                   "{\"type\":\"url\",\"name\":\"Later\",\"url\":\"https://later/\"}]},"
                   "\"bookmark_bar\":{\"type\":\"folder\",\"children\":["
                   "{\"type\":\"url\",\"name\":\"First\",\"url\":\"https://first/\"}]}}}");
        file.close();
        const QList<BrowserProfile> profiles = FindBrowserProfiles(home.path());
        QCOMPARE(profiles.size(), 1);
        QCOMPARE(profiles[0].Caption(), QStringLiteral("Google Chrome (Profile 1)"));
        BrowserBookmarks read;
        QVERIFY(ReadBrowserBookmarks(profiles[0], read));
        QCOMPARE(read.bookmarks.size(), std::size_t{2});
        QCOMPARE(read.bookmarks[0].title, std::string("First"));
        QCOMPARE(read.bookmarks[1].title, std::string("Later"));

        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("{not json");
        file.close();
        QString error;
        QVERIFY(!ReadBrowserBookmarks(profiles[0], read, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(BrowserBookmarksTest)
#include "BrowserBookmarksTest.moc"
