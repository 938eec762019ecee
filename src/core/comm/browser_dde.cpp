#include "core/comm/browser_dde.h"

namespace quill {
namespace {

constexpr std::string_view kVersionTopic = "WWW_Version";
constexpr std::string_view kOpenURLTopic = "WWW_OpenURL";
constexpr std::string_view kActivateTopic = "WWW_Activate";
constexpr std::string_view kWindowInfoTopic = "WWW_GetWindowInfo";
// The window the browser chooses; in an open request it stands behind an empty file name.
constexpr std::string_view kAnyWindow = "0xFFFFFFFF";
constexpr std::string_view kNetscapeTitle = "Netscape - [";

} // namespace

TBrowserDDE::TBrowserDDE(IBrowserLink& link, std::string_view ddeSetting,
                         std::string_view pathSetting)
    : DefaultServer(ddeSetting), DefaultApp(BrowserProgram(pathSetting)), link_(link) {}

bool TBrowserDDE::OpenConversation() {
    if (link_.OpenLink()) {
        return true;
    }
    // Only a configured program is started: a program named after the service and topic
    // would be whatever the path holds under that name.
    if (startCommand_.empty() || !link_.StartApplication(startCommand_)) {
        return false;
    }
    return link_.OpenLink();
}

std::string TBrowserDDE::Request(std::string_view item) {
    return link_.RequestData(item).value_or(std::string());
}

bool TBrowserDDE::TryService(std::string_view service) {
    link_.SetLink(service, kVersionTopic);
    if (!OpenConversation()) {
        return false;
    }
    Request("");
    link_.CloseLink();
    return true;
}

bool TBrowserDDE::FindServer() {
    startCommand_.clear();
    if (TryService(ServerName)) {
        return true;
    }
    if (!DefaultServer.empty() && TryService(DefaultServer)) {
        ServerName = DefaultServer;
        return true;
    }
    for (std::string_view service : {kNetscapeService, kExplorerService, kMosaicService}) {
        if (TryService(service)) {
            ServerName = service;
            return true;
        }
    }
    if (!AutoLoad) {
        return false;
    }
    ServerName = DefaultServer;
    startCommand_ = DefaultApp;
    return TryService(ServerName);
}

std::string TBrowserDDE::OpenURL(std::string_view url) {
    if (!FindServer()) {
        return {};
    }
    std::string reply;
    link_.SetLink(ServerName, kOpenURLTopic);
    if (OpenConversation()) {
        std::string item(url);
        item.append(",,").append(kAnyWindow);
        reply = Request(item);
        link_.CloseLink();
        link_.SetLink(ServerName, kActivateTopic);
        if (OpenConversation()) {
            Request(reply);
        }
    }
    link_.CloseLink();
    return reply;
}

TBrowserDDE::WindowInfo TBrowserDDE::GetWindowInfo() {
    WindowInfo info;
    if (!FindServer()) {
        return info;
    }
    link_.SetLink(ServerName, kWindowInfoTopic);
    if (OpenConversation()) {
        info = ParseWindowInfo(Request(kAnyWindow));
        info.browserFound = true;
    }
    link_.CloseLink();
    return info;
}

std::string BrowserProgram(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const bool hasExtension = name.size() > 4 && name[name.size() - 4] == '.' &&
                              name.substr(name.size() - 3).find('.') == std::string_view::npos;
    return std::string(hasExtension ? path.substr(0, path.size() - 4) : path);
}

TBrowserDDE::WindowInfo ParseWindowInfo(std::string_view reply) {
    TBrowserDDE::WindowInfo info;
    if (reply.empty()) {
        return info;
    }
    // The title: from two characters after the first comma (past the comma and the opening
    // quote) up to the last character, cut at its first quote.
    const std::size_t comma = reply.find(',');
    const std::size_t start = comma == std::string_view::npos ? 1 : comma + 2;
    if (start + 1 < reply.size()) {
        std::string_view title = reply.substr(start, reply.size() - 1 - start);
        title = title.substr(0, title.find('"'));
        if (title.starts_with(kNetscapeTitle)) {
            title.remove_prefix(kNetscapeTitle.size());
            const std::size_t bracket = title.find(']');
            if (bracket != std::string_view::npos && bracket + 1 == title.size()) {
                title.remove_suffix(1);
            }
        }
        info.title = title;
    }
    // The address: after the opening quote up to the next one.
    const std::string_view rest = reply.substr(1);
    info.url = rest.substr(0, rest.find('"'));
    return info;
}

} // namespace quill
