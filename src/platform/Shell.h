#pragma once
// The shell's "open" (ShellExecute) on Linux: documents, URLs and "mailto:" links go to the
// desktop's handler for their type; programs are started detached in a working directory.

#include <QString>
#include <QStringList>

namespace quill::platform {

// A text with a URL scheme ("https:", "mailto:", "tel:", "file:"; two letters or more, so
// no drive letter counts) is opened as that URL; anything else as a local file, a relative
// path taken from the current directory. False when the desktop has no handler for it.
bool OpenDocument(const QString& documentOrUrl);

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
                 const QString& workingDirectory);

} // namespace quill::platform
