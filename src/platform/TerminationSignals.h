#pragma once
// A program ended by the system (SIGTERM at shutdown, SIGHUP when its terminal goes,
// SIGINT from a terminal) would otherwise die without saving. These signals are turned into
// a call on the event loop, where the program can end as Exit does.

#include <QObject>

#include <functional>

namespace quill::platform {

// Calls onSignal from the event loop whenever SIGTERM, SIGINT or SIGHUP arrives; a later
// call replaces the function, and an empty one gives the signals their usual effect back.
// Needs the application object, which the watch lives as long as.
void WatchTerminationSignals(std::function<void()> onSignal);

} // namespace quill::platform
