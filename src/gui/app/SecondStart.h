#pragma once
// A second start hands its command line to the running copy and ends. A running copy that
// takes the connection but never acknowledges (hung, or busy) may never import the files:
// the user is told, rather than left to think they were imported.

#include <QString>
#include <QStringList>

#include <optional>

namespace quill::platform {
class SingleInstance;
}

namespace quill::gui {

// The exit code of a second start: 0 when the running copy took the command line, 1 when it
// did not answer (after the message). None when no copy runs: this start is the first.
// Either way nothing more is started here: two copies would write the same data file.
std::optional<int> HandOverToRunningCopy(platform::SingleInstance& instance,
                                         const QStringList& arguments, int timeoutMs);

// The message for a running copy that did not answer, naming the files it did not get.
QString UnansweredHandOverText(const QStringList& arguments);

} // namespace quill::gui
