#pragma once
// Registering the program as the automation server with the session bus: the activation
// file "Quil.Application.service" in $XDG_DATA_HOME/dbus-1/services
// (~/.local/share/dbus-1/services when XDG_DATA_HOME is unset or not absolute).

#include <QProcessEnvironment>
#include <QString>

#include <optional>

namespace quill::gui {

// The directory the file goes in, for the environment given.
QString ActivationServicesDirectory(
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// Writes the file naming this program (and QUILLMERE_HOME, when set, made absolute).
bool RegisterServer(QString* error);
// Removes it; a missing file is no failure.
bool UnregisterServer(QString* error);

// "-REGSERVER" and "-UNREGSERVER" (or with "/", any case): registers or unregisters and
// gives the exit status, 0 or 1 (a failure said on standard error). None for every other
// command line. Needs no application object and no display.
std::optional<int> RunRegistrationSwitch(int argc, char** argv);

} // namespace quill::gui
