#include "gui/app/NoDisplayExit.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace quill::gui {
namespace {

QtMessageHandler previousHandler = nullptr;
bool busStart = false;

void EndWithoutDisplay(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        if (previousHandler) {
            previousHandler(type, context, text);
        } else {
            std::fprintf(stderr, "%s\n",
                         qFormatLogMessage(type, context, text).toLocal8Bit().constData());
        }
        return;
    }
    // Nothing is open or half written yet: the program can end at once.
    std::fprintf(stderr, "Quillmere: %s\n", NoDisplayText(busStart).toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

NoDisplayExit::NoDisplayExit(bool startedByBus) {
    busStart = startedByBus;
    previousHandler = qInstallMessageHandler(EndWithoutDisplay);
}

NoDisplayExit::~NoDisplayExit() {
    qInstallMessageHandler(previousHandler);
    previousHandler = nullptr;
}

QString NoDisplayText(bool startedByBus) {
    QString text = QStringLiteral("cannot open its windows: no display could be reached "
                                  "(DISPLAY and WAYLAND_DISPLAY name none that answers).");
    if (startedByBus) {
        text += QStringLiteral(" Started for automation, as the session bus starts it, it found "
                               "no display in its environment: run "
                               "\"dbus-update-activation-environment DISPLAY XAUTHORITY "
                               "WAYLAND_DISPLAY\" in the desktop session, or start Quillmere "
                               "there before its automation clients.");
    }
    return text;
}

} // namespace quill::gui
