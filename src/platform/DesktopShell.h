#pragma once
// The core's shell service on the Linux desktop: documents and addresses through the
// desktop's handlers, programs started detached, calls handed over as "tel:" links so that
// the user's softphone or phone link dials.

#include "core/services.h"

#include <QString>

namespace quill::platform {

// The "tel:" link of a number as stored (literals of its mask included): the visual
// separators a tel link allows are kept, anything else a dialer cannot use is dropped.
QString TelephoneUri(std::string_view number);

class DesktopShell final : public IShell {
public:
    void OpenDocument(std::string_view path) override;
    void StartProgram(std::string_view program, std::string_view parameters,
                      std::string_view workingDirectory) override;
    void MakeCall(std::string_view number, std::string_view application,
                  std::string_view calledParty, std::string_view comment) override;
};

} // namespace quill::platform
