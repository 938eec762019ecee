#include "platform/Places.h"

#include "core/app/command_line.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace quill::platform {
namespace {

QString Clean(const QString& path) {
    return QDir::cleanPath(QDir(path).absolutePath());
}

QString XdgBase(const QProcessEnvironment& environment, const QString& variable,
                const QString& homeRelativeDefault) {
    const QString value = environment.value(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value)) {
        return value;
    }
    QString home = environment.value(QStringLiteral("HOME"));
    if (home.isEmpty()) {
        home = QDir::homePath();
    }
    return home + QLatin1Char('/') + homeRelativeDefault;
}

bool MakeDirectory(const QString& path, QString* error) {
    if (QFileInfo(path).isDir()) {
        return true;
    }
    if (!QDir().mkpath(path)) {
        if (error) {
            *error = QStringLiteral("Cannot create the directory %1.").arg(path);
        }
        return false;
    }
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
}

} // namespace

Places Places::FromEnvironment(const QProcessEnvironment& environment) {
    const QString home = environment.value(QStringLiteral("QUILLMERE_HOME"));
    if (!home.isEmpty()) {
        return Places(home, home);
    }
    const QString app = QStringLiteral("/quillmere");
    return Places(
        XdgBase(environment, QStringLiteral("XDG_DATA_HOME"), QStringLiteral(".local/share")) + app,
        XdgBase(environment, QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral(".config")) + app);
}

Places::Places(QString dataDirectory, QString settingsDirectory)
    : data_(Clean(dataDirectory)), settings_(Clean(settingsDirectory)) {}

QString Places::SettingsFile() const {
    return settings_ + QLatin1Char('/') + QLatin1String(kSettingsFileName);
}

QString Places::RuntimeDirectory() {
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg) && QFileInfo(xdg).isDir()) {
        return xdg;
    }
    const QString own = QDir::tempPath() + QStringLiteral("/quillmere-runtime-%1").arg(::getuid());
    if (!QFileInfo::exists(own) && QDir().mkdir(own)) {
        QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner);
    }
    const QFileInfo info(own);
    if (info.isDir() && !info.isSymLink() && info.ownerId() == ::getuid()) {
        return own;
    }
    return QDir::tempPath();
}

QString Places::DataDirectoryTag(const QString& dataDirectory) {
    const QFileInfo info(dataDirectory);
    QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) {
        canonical = QDir::cleanPath(info.absoluteFilePath());
    }
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("quillmere-%1-%2")
        .arg(static_cast<qulonglong>(::getuid()))
        .arg(QString::fromLatin1(hash));
}

QString Places::RecoveryFallbackDirectory(bool create) const {
    const QString path = RuntimeDirectory() + QLatin1Char('/') + DataDirectoryTag(data_);
    const QFileInfo info(path);
    if (!info.exists()) {
        if (!create || !QDir().mkdir(path)) {
            return {};
        }
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner);
    }
    // Only a directory of ours: another user could have made one of that name in /tmp.
    const QFileInfo made(path);
    if (!made.isDir() || made.isSymLink() || made.ownerId() != ::getuid()) {
        return {};
    }
    return path;
}

bool Places::Establish(QString* error) const {
    if (!MakeDirectory(data_, error) || !MakeDirectory(settings_, error)) {
        return false;
    }
    if (!QDir::setCurrent(data_)) {
        if (error) {
            *error = QStringLiteral("Cannot enter the directory %1.").arg(data_);
        }
        return false;
    }
    return true;
}

QStringList AbsoluteFileArguments(const QStringList& arguments, const QString& baseDirectory) {
    QStringList out = arguments;
    const QDir base(baseDirectory);
    for (qsizetype i = 1; i < out.size(); ++i) {
        const QString& argument = out[i];
        if (argument.isEmpty() || QDir::isAbsolutePath(argument) ||
            argument.startsWith(QLatin1Char('-')) ||
            argument == QLatin1String(kHideSwitch.data(), kHideSwitch.size())) {
            continue;
        }
        const QFileInfo info(base, argument);
        // A file to import that is missing is named where the caller meant it; relative, the
        // running program would look in its data directory and might find a namesake there.
        const bool toImport =
            ClassifyArgument(argument.toStdString()) != CommandLineFile::Ignored &&
            !argument.contains(QLatin1String("://"));
        if (info.exists() || toImport) {
            out[i] = QDir::cleanPath(info.absoluteFilePath());
        }
    }
    return out;
}

} // namespace quill::platform
