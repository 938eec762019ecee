#pragma once
// The shell's "open" (ShellExecute) on Linux: documents, URLs and "mailto:" links go to the
// desktop's handler for their type; programs are started detached in a working directory.

#include <QString>
#include <QStringList>

#include <functional>

namespace quill::platform {

// Told the exit status of the desktop's opener (xdg-open) when it ended with a failure soon
// after it was started: it found no handler (3) or the handler failed (4, ...).
using OpenFailure = std::function<void(int status)>;

// A text with a URL scheme ("https:", "mailto:", "tel:", "file:"; two letters or more, so
// no drive letter counts) is opened as that URL; anything else as a local file, a relative
// path taken from the current directory. False when the desktop's opener could not be
// started; the opener's own verdict comes later, to onFailure, without blocking.
bool OpenDocument(const QString& documentOrUrl, OpenFailure onFailure = {});

// True when the text starts with a URL scheme and a colon, as OpenDocument tells them.
bool HasUrlScheme(const QString& text);

// Starts the program with the arguments in the working directory (the current one when
// empty) without waiting for it; the program outlives Quillmere. False when it could not be
// started (not found, not executable).
bool StartProgram(const QString& program, const QStringList& arguments,
                  const QString& workingDirectory = QString());

// The same with the arguments as one text, split as a shell would split them (blanks
// separate, double quotes group); the form the tools list stores.
bool StartProgram(const QString& program, const QString& argumentText,
                  const QString& workingDirectory = QString());

// "Open" of a program path: an executable file is started with the parameter text in the
// working directory; another existing file, without parameters, is opened as a document.
bool StartOrOpen(const QString& program, const QString& argumentText,
                 const QString& workingDirectory, OpenFailure onFailure = {});

} // namespace quill::platform
