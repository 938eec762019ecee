#pragma once
// The bookmarks that browsers keep for themselves in the user's home: Firefox profiles
// (places.sqlite, read through Qt's SQLite driver from a copy, since the running browser
// holds it locked; the copy, which carries the whole browsing history, lives in a user-only
// temporary folder and is deleted at once) and Chromium and Google Chrome profiles (their
// "Bookmarks" JSON file). Bookmarks come in tree order, folders left out, as the anchors of a
// bookmark page would.

#include "core/wizards/import_rules.h"

#include <QList>
#include <QString>

namespace quill::platform {

struct BrowserProfile {
    enum class Store { FirefoxPlaces, ChromiumJson };
    Store store = Store::FirefoxPlaces;
    QString browser; // "Firefox", "Chromium", "Google Chrome"
    QString name;    // the profile's directory name
    QString file;    // places.sqlite or Bookmarks
    // "Firefox (default-release)"
    QString Caption() const;
};

// The profiles found under home (the user's home directory by default), Firefox first.
QList<BrowserProfile> FindBrowserProfiles(const QString& home = {});

// The profile's bookmarks; false with a message when the store cannot be read.
bool ReadBrowserBookmarks(const BrowserProfile& profile, BrowserBookmarks& out,
                          QString* error = nullptr);

} // namespace quill::platform
