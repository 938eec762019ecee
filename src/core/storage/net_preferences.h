#pragma once
// The preferences for the web browser and for Internet mail in the settings file, edited by
// the options dialog and read by the mail and browser links.

#include <string>
#include <string_view>

namespace quill {

inline constexpr std::string_view kBrowserSection = "Browser";
inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kDefaultBrowserDde = "IExplore";

// How mail goes to an Internet address.
enum INetMailMethod : int {
    kMailtoLink = 1,       // a "mailto" link
    kMessagingService = 2, // MAPI
    kWebBrowser = 3,
};

struct NetPreferences {
    std::string dde = std::string(kDefaultBrowserDde); // "Browser"/"DDE": the browser's service
    std::string path;                                  // "Browser"/"Path": its program file
    int inetMail = kMailtoLink;                        // "Settings"/"INetMail"
};

// "Browser"/"DDE", default "IExplore".
std::string ReadBrowserDde(const std::string& iniPath);
// "Browser"/"Path", default empty.
std::string ReadBrowserPath(const std::string& iniPath);
// "Settings"/"INetMail"; the options dialog reads it with the default 1, the mail link
// with 0.
int ReadINetMail(const std::string& iniPath, int defaultValue = kMailtoLink);

// All three as the options dialog reads them.
NetPreferences ReadNetPreferences(const std::string& iniPath);
// Writes "Browser"/"Path", "Browser"/"DDE" and "Settings"/"INetMail" in that order, in one
// write. False (with *error) when the file cannot be written.
bool WriteNetPreferences(const std::string& iniPath, const NetPreferences& preferences,
                         std::string* error = nullptr);

} // namespace quill
