#pragma once
// Qt ends a program that reaches no display with abort(): a core dump, and for a program the
// session bus started, nothing that tells its user why. While the application object is
// made, that end becomes a message on standard error and exit status 1.

#include <QString>

namespace quill::gui {

class NoDisplayExit {
public:
    // startedByBus: started with "-AUTOMATION" or "-EMBEDDING", as the session bus starts it.
    explicit NoDisplayExit(bool startedByBus);
    ~NoDisplayExit();
    NoDisplayExit(const NoDisplayExit&) = delete;
    NoDisplayExit& operator=(const NoDisplayExit&) = delete;
};

// What standard error is told, behind "Quillmere: ".
QString NoDisplayText(bool startedByBus);

} // namespace quill::gui
