#pragma once
// What a Firefox-family browser shows, read from the session store of its profile: the
// selected window's selected tab and that tab's current entry. Firefox writes the store
// (mozLz4: a magic, the size and an LZ4 block of JSON) every few seconds.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace quill::platform {

struct PageInfo {
    QString url;
    QString title;
};

// The directories that may hold Firefox's "profiles.ini", most likely first.
QStringList FirefoxProfileRoots(const QString& home, const QString& configHome);

// The default profile of the first root that has a "profiles.ini": the one the install in
// use starts ([Install...] Default=), else the profile marked Default=1, else the only one.
// Empty when there is none.
QString DefaultFirefoxProfile(const QStringList& roots);

// The profile of that name (a browser started with "-P name"); empty when none has it.
QString NamedFirefoxProfile(const QStringList& roots, const QString& name);

// The store file of a profile that Firefox rewrites while it runs.
QString SessionStoreFile(const QString& profileDirectory);

// mozLz4 to JSON; none when the data is not in that form.
std::optional<QByteArray> DecodeMozLz4(const QByteArray& data);
QByteArray EncodeMozLz4(const QByteArray& json);

// The current page of a session store's JSON.
std::optional<PageInfo> CurrentPageOfSession(const QByteArray& json);

// The current page of the profile's store; none when it cannot be read or belongs to
// another user.
std::optional<PageInfo> ReadFirefoxPage(const QString& profileDirectory);

} // namespace quill::platform
