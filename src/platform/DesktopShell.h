#pragma once
// The core's shell service on the Linux desktop: documents and addresses through the
// desktop's handlers, programs started detached, calls handed over as "tel:" links so that
// the user's softphone or phone link dials.

#include "core/services.h"
#include "platform/Shell.h"

#include <QString>

#include <functional>

namespace quill::platform {

// The "tel:" link of a number as stored (literals of its mask included): the visual
// separators a tel link allows are kept, anything else a dialer cannot use is dropped. The
// number ends at a word behind it; an extension written there ("x7", "ext. 7") goes as the
// link's "ext" parameter.
QString TelephoneUri(std::string_view number);

// What the user is told when a document or program named by an entry is not there, and
// when the desktop could not open or start one that is.
QString NotFoundText(const QString& path);
QString NotOpenedText(const QString& documentOrUrl);
QString NotStartedText(const QString& program);
// The desktop's opener found a program for it, but that program failed at once.
QString OpenerFailedText(const QString& documentOrUrl);

class DesktopShell final : public IShell {
public:
    // report shows the user a message: the desktop's handlers run detached and say nothing
    // when there is nothing to open.
    explicit DesktopShell(std::function<void(const QString&)> report = {});

    void OpenDocument(std::string_view path) override;
    void StartProgram(std::string_view program, std::string_view parameters,
                      std::string_view workingDirectory) override;
    void MakeCall(std::string_view number, std::string_view application,
                  std::string_view calledParty, std::string_view comment) override;

private:
    void Report(const QString& text) const;
    // What the opener says when it fails on the document after it started.
    OpenFailure ReportOpenFailure(const QString& documentOrUrl) const;

    std::function<void(const QString&)> report_;
};

} // namespace quill::platform
