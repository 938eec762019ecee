#include "core/services.h"

#include "core/comm/browser_dde.h"
#include "core/model/locale_names.h"

#include <ctime>

namespace quill {
namespace {

class SystemClock final : public IClock {
public:
    Date Today() const override {
        // Loading asks once per reminder; the local time conversion looks at the time zone
        // file each time, so the answer is kept for the rest of the second.
        const std::time_t now = std::time(nullptr);
        if (now != askedAt_) {
            std::tm local{};
            // One user-interface thread: the static buffer of localtime is not shared.
            if (const std::tm* t = std::localtime(&now)) {
                local = *t;
            }
            today_ = Date{std::chrono::year{local.tm_year + 1900},
                          std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                          std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
            askedAt_ = now;
        }
        return today_;
    }

private:
    mutable std::time_t askedAt_ = -1;
    mutable Date today_{};
};

class NoIcons final : public IIconProvider {
public:
    int AddFileIcon(std::string_view) override { return kGenericFileImage; }
    void ReplaceFileIcon(int, std::string_view) override {}
    int ToolIconIndex(std::string_view) const override { return kGenericFileImage; }
};

class NoClipboard final : public IClipboard {
public:
    void StoreRecord(std::string_view, std::string_view) override {}
};

class NoNavigator final : public INavigator {
public:
    void SelectNode(TOutlineNode*) override {}
    void BeginEditCaption(TOutlineNode*) override {}
};

// Without a user interface nothing can be confirmed, so every dialog counts as cancelled.
class NoEditors final : public IItemEditors {
public:
    bool EditNew(TNRBObject&) override { return false; }
    void Edit(TNRBObject&) override {}
};

class NoDatePicker final : public IDatePicker {
public:
    bool Execute(TRecurringDate&) override { return false; }
};

// Without a desktop nothing is opened, started or called.
class NoShell final : public IShell {
public:
    void OpenDocument(std::string_view) override {}
    void StartProgram(std::string_view, std::string_view, std::string_view) override {}
    void MakeCall(std::string_view, std::string_view, std::string_view, std::string_view) override {
    }
};

// Without a messaging service nobody can log on, so nothing is sent.
class NoMapi final : public IMapi {
public:
    std::optional<std::string> DefaultProfile() const override { return std::nullopt; }
    MapiResult Logon(const std::optional<std::string>&, const std::optional<std::string>&,
                     unsigned long, MapiSession&) override {
        return MAPI_E_LOGIN_FAILURE;
    }
    MapiResult ResolveName(MapiSession, std::string_view, unsigned long, MapiRecipDesc*&) override {
        return MAPI_E_NOT_SUPPORTED;
    }
    MapiResult SendMail(MapiSession, const MapiMessage&, unsigned long) override {
        return MAPI_E_NOT_SUPPORTED;
    }
    MapiResult FreeBuffer(MapiRecipDesc*) override { return SUCCESS_SUCCESS; }
    MapiResult Logoff(MapiSession) override { return SUCCESS_SUCCESS; }
};

// No browser answers and none can be started.
class NoBrowserLink final : public IBrowserLink {
public:
    void SetLink(std::string_view, std::string_view) override {}
    bool OpenLink() override { return false; }
    std::optional<std::string> RequestData(std::string_view) override { return std::nullopt; }
    void CloseLink() override {}
    bool StartApplication(std::string_view) override { return false; }
};

// Without a main window there is no selection, and nothing is confirmed.
class NoMailHost final : public IMailHost {
public:
    std::string SettingsFile() const override { return {}; }
    bool ItemListActive() const override { return false; }
    std::vector<const TNRBObject*> SelectedListItems() const override { return {}; }
    bool Confirm(std::string_view) override { return false; }
    void ShowError(std::string_view) override {}
};

Services WithDefaults(const Services& given) {
    static SystemClock clock;
    static NoIcons icons;
    static NoClipboard clipboard;
    static NoNavigator navigator;
    static NoEditors editors;
    static NoDatePicker datePicker;
    static NoShell shell;
    static NoMapi mapi;
    static NoBrowserLink browserLink;
    static TBrowserDDE browser(browserLink);
    static NoMailHost mailHost;
    Services s = given;
    if (!s.clock) {
        s.clock = &clock;
    }
    if (!s.locale) {
        s.locale = &SystemLocaleNames();
    }
    if (!s.icons) {
        s.icons = &icons;
    }
    if (!s.clipboard) {
        s.clipboard = &clipboard;
    }
    if (!s.navigator) {
        s.navigator = &navigator;
    }
    if (!s.editors) {
        s.editors = &editors;
    }
    if (!s.datePicker) {
        s.datePicker = &datePicker;
    }
    if (!s.shell) {
        s.shell = &shell;
    }
    if (!s.mapi) {
        s.mapi = &mapi;
    }
    if (!s.browser) {
        s.browser = &browser;
    }
    if (!s.mailHost) {
        s.mailHost = &mailHost;
    }
    return s;
}

Services& Current() {
    static Services current = WithDefaults({});
    return current;
}

} // namespace

const Services& CurrentServices() {
    return Current();
}

void InstallServices(const Services& services) {
    Current() = WithDefaults(services);
}

ScopedServices::ScopedServices(const Services& services) : previous_(Current()) {
    InstallServices(services);
}

ScopedServices::~ScopedServices() {
    Current() = previous_;
}

} // namespace quill
