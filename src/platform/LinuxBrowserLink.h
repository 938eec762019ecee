#pragma once
// The browser conversation on the Linux desktop. The three services keep the names the
// settings file stores: "NETSCAPE" is the Firefox family, "IExplore" the desktop's default
// browser and "Mosaic" the Chromium family. A service answers when such a browser runs for
// this user (the default browser: when the desktop names one). Replies are given in the form
// a DDE browser gives them.

#include "core/services.h"
#include "platform/BrowserProcesses.h"
#include "platform/FirefoxSession.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace quill::platform {

class LinuxBrowserLink final : public IBrowserLink {
public:
    struct Environment {
        QString home;
        QString configHome;
        std::function<std::vector<BrowserProcess>()> runningBrowsers;
        QString xdgSettings = QStringLiteral("xdg-settings");
        QString xdgOpen = QStringLiteral("xdg-open");
        int waitMs = 5000;
        // The user's own places and processes.
        static Environment FromSystem();
    };

    LinuxBrowserLink();
    explicit LinuxBrowserLink(Environment environment);

    void SetLink(std::string_view service, std::string_view topic) override;
    bool OpenLink() override;
    std::optional<std::string> RequestData(std::string_view item) override;
    void CloseLink() override;
    bool StartApplication(std::string_view program) override;

private:
    enum class Topic { None, Version, OpenURL, Activate, WindowInfo };
    enum class Kind { None, Firefox, Default, Chromium };

    std::optional<BrowserProcess> Running(BrowserFamily family) const;
    QString DefaultBrowser() const;
    std::optional<std::string> Version();
    std::optional<std::string> Open(const QString& url);
    std::optional<std::string> Activate(const QString& window);
    std::optional<std::string> WindowInfo();
    std::optional<PageInfo> FirefoxPage(const BrowserProcess& firefox) const;
    std::optional<PageInfo> ChromiumPage(const BrowserProcess& chromium) const;
    QString ChromiumUserData(const BrowserProcess& chromium) const;

    Environment environment_;
    Kind kind_ = Kind::None;
    Topic topic_ = Topic::None;
    bool open_ = false;
    QString defaultBrowser_; // the desktop file the desktop named when the link opened
};

// The address a browser is asked to open for an entry's target: one without a scheme
// ("www.example.com/a") as a web page, everything else as it is.
QString WebAddressOf(const QString& target);

// The address of an open request "url,file,window": the text before the last two commas.
QString UrlOfOpenRequest(std::string_view item);

// The reply to "WWW_GetWindowInfo": the quoted address and title. A quote or comma of the
// address is percent-encoded and a quote of the title becomes a typographic one, so that the
// reply reads back whole.
std::string WindowInfoReply(const PageInfo& page);

// What a service name stands for on this desktop ("Firefox family" ...); empty for a name
// that no browser answers to.
QString BrowserServiceMeaning(const QString& service);

// The desktop file's family, for the default browser ("firefox-esr.desktop" -> Firefox).
std::optional<BrowserFamily> FamilyOfDesktopFile(const QString& desktopFile);

} // namespace quill::platform
