#pragma once
// Where the program keeps its files (DESIGN.md, "Places and files"):
// - the data directory, the Windows program's "program directory": made current at start, so
//   "quil.dat", "clipdata.dat" and "ret_addr.dat" are opened by their bare names;
//   $QUILLMERE_HOME when set, else $XDG_DATA_HOME/quillmere (~/.local/share/quillmere);
// - the settings directory, the "Windows directory" that holds "nrb.ini":
//   $QUILLMERE_HOME when set, else $XDG_CONFIG_HOME/quillmere (~/.config/quillmere).
// With QUILLMERE_HOME set an instance is self-contained: tests and the demo never touch the
// user's real files.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace quill::platform {

inline constexpr char kSettingsFileName[] = "nrb.ini";

class Places {
public:
    // From the environment given (the process's by default). A relative QUILLMERE_HOME is
    // taken relative to the current directory; a relative or empty XDG_DATA_HOME or
    // XDG_CONFIG_HOME is ignored, as the XDG base directory rules say.
    static Places FromEnvironment(
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

    Places(QString dataDirectory, QString settingsDirectory);

    // Absolute and cleaned, without a trailing "/".
    const QString& DataDirectory() const { return data_; }
    const QString& SettingsDirectory() const { return settings_; }
    // The full path of "nrb.ini" in the settings directory.
    QString SettingsFile() const;

    // Creates both directories when missing (readable by the user only, since they hold the
    // user's contacts) and makes the data directory the current directory. False with a
    // message naming the directory when one could not be created or entered.
    bool Establish(QString* error = nullptr) const;

    // Where an instance keeps what lives only as long as the session: $XDG_RUNTIME_DIR, or
    // without one (a bare session, CI) a directory of our own in the temporary directory,
    // made for the user alone, or the temporary directory itself when that is not ours.
    static QString RuntimeDirectory();
    // "quillmere-<uid>-<hash of the data directory>": names what belongs to one instance.
    static QString DataDirectoryTag(const QString& dataDirectory);
    // The last place for a recovery file when the data directory takes none: a user-only
    // directory of this data directory's own in the runtime directory (created on demand;
    // empty when it cannot be).
    QString RecoveryFallbackDirectory(bool create) const;

private:
    QString data_;
    QString settings_;
};

// The program's own command line made independent of the current directory, which start-up
// changes: every argument after the first (the program path) that names an existing file or
// directory relative to baseDirectory, or a file to import (".qld", ".vcf") whether there or
// not, becomes its absolute path; switches, absolute paths, "HIDEWIN", URLs and other names
// of nothing stay as they are. Call it before Places::Establish and
// before a hand-over, so that "quillmere friends.qld" typed in a shell finds the file.
QStringList AbsoluteFileArguments(const QStringList& arguments, const QString& baseDirectory);

} // namespace quill::platform
