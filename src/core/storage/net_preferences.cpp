#include "core/storage/net_preferences.h"

#include "core/storage/profile_file.h"

namespace quill {

std::string ReadBrowserDde(const std::string& iniPath) {
    return ReadProfileString(iniPath, kBrowserSection, "DDE", kDefaultBrowserDde);
}

std::string ReadBrowserPath(const std::string& iniPath) {
    return ReadProfileString(iniPath, kBrowserSection, "Path", "");
}

int ReadINetMail(const std::string& iniPath, int defaultValue) {
    return ReadProfileInt(iniPath, kSettingsSection, "INetMail", defaultValue);
}

NetPreferences ReadNetPreferences(const std::string& iniPath) {
    const IniDocument doc = ReadProfileDocument(iniPath);
    NetPreferences p;
    p.dde = doc.Value(kBrowserSection, "DDE").value_or(std::string(kDefaultBrowserDde));
    p.path = doc.Value(kBrowserSection, "Path").value_or(std::string());
    if (const std::optional<std::string> mail = doc.Value(kSettingsSection, "INetMail")) {
        p.inetMail = ParseProfileInt(*mail).value_or(kMailtoLink);
    }
    return p;
}

bool WriteNetPreferences(const std::string& iniPath, const NetPreferences& preferences,
                         std::string* error) {
    return UpdateProfile(
        iniPath,
        [&](IniDocument& doc) {
            bool ok = doc.SetValue(kBrowserSection, "Path", preferences.path);
            ok = doc.SetValue(kBrowserSection, "DDE", preferences.dde) && ok;
            ok = doc.SetValue(kSettingsSection, "INetMail", std::to_string(preferences.inetMail)) &&
                 ok;
            return ok;
        },
        error);
}

} // namespace quill
