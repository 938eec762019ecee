#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace quill::platform {
namespace {

// The handler may only do what is safe in a signal handler: write one byte to a socket
// that the event loop watches.
int g_pipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
}

std::function<void()>& Callback() {
    static std::function<void()> callback;
    return callback;
}

} // namespace

void WatchTerminationSignals(std::function<void()> onSignal) {
    const bool watching = static_cast<bool>(onSignal);
    Callback() = std::move(onSignal);
    if (!watching) {
        // Nobody to tell: the signals end the process again as they normally would.
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            std::signal(signal, SIG_DFL);
        }
        return;
    }
    if (g_pipe[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) {
            g_pipe[0] = g_pipe[1] = -1;
            return;
        }
        // Lives as long as the application: the signals may come at any time.
        auto* notifier =
            new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(notifier, &QSocketNotifier::activated, [] {
            char byte = 0;
            [[maybe_unused]] const ssize_t read = ::read(g_pipe[1], &byte, 1);
            if (Callback()) {
                Callback()();
            }
        });
    }
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace quill::platform
