#pragma once
// Runs a desktop helper (xdg-email, sendfax, xdg-settings ...) with its arguments as a list,
// never through a shell, and waits a while for its exit status.

#include <QString>
#include <QStringList>

#include <optional>

namespace quill::platform {

struct ProgramExit {
    bool started = false;
    // The exit status; none when the program crashed or was still running at the end of the
    // wait (it is then left to run, as a mail composer that stays open is).
    std::optional<int> status;
    QByteArray output; // standard output, when it ended in time
};

// Starts the program and waits up to waitMs for it to end, keeping timers and sockets alive
// but taking no user input meanwhile. Standard input is empty.
ProgramExit RunProgram(const QString& program, const QStringList& arguments, int waitMs);

} // namespace quill::platform
