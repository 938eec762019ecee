#pragma once
// The browser link: one conversation object for the whole run that shows pages in the
// user's running web browser and reads back the page it shows. It speaks the topics
// "WWW_Version", "WWW_OpenURL", "WWW_Activate" and "WWW_GetWindowInfo" with whichever
// service answers, the one that answered last first.

#include "core/services.h"

#include <string>
#include <string_view>

namespace quill {

// The services tried in this order when neither the last nor the preferred one answers.
inline constexpr std::string_view kNetscapeService = "NETSCAPE";
inline constexpr std::string_view kExplorerService = "IExplore";
inline constexpr std::string_view kMosaicService = "Mosaic";

class TBrowserDDE {
public:
    // ddeSetting and pathSetting are "Browser"/"DDE" and "Browser"/"Path" of the settings
    // file.
    explicit TBrowserDDE(IBrowserLink& link, std::string_view ddeSetting = kExplorerService,
                         std::string_view pathSetting = {});

    std::string ServerName{kNetscapeService}; // the service that answered last
    std::string DefaultServer;                // the user's preferred service
    std::string DefaultApp;                   // the preferred browser's program
    bool AutoLoad = true;                     // start DefaultApp when no browser answers

    // True when some service answers on "WWW_Version"; ServerName then names it.
    bool FindServer();
    // Shows the address in the browser and brings its window forward; the browser's reply
    // (the window that shows it), empty when there was none.
    std::string OpenURL(std::string_view url);
    struct WindowInfo {
        std::string url;
        std::string title;
        // A browser took the request for its page, whether or not it gave one.
        bool browserFound = false;
    };
    // The address and title of the page the browser shows; both empty on failure.
    WindowInfo GetWindowInfo();

    // The start command of the conversation: what is started when a conversation cannot be
    // opened; empty when nothing is.
    const std::string& StartCommand() const { return startCommand_; }

private:
    bool TryService(std::string_view service);
    bool OpenConversation();
    std::string Request(std::string_view item);

    IBrowserLink& link_;
    std::string startCommand_;
};

// The program of the "Path" setting: a Windows-style four-character extension (".exe") is
// dropped; a path without one is kept whole.
std::string BrowserProgram(std::string_view path);

// The reply to "WWW_GetWindowInfo": quote, URL, quote, comma, quote, title, quote, further
// fields. A title "Netscape - [page]" gives the bare page title.
TBrowserDDE::WindowInfo ParseWindowInfo(std::string_view reply);

} // namespace quill
