#include "core/services.h"

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

Services WithDefaults(const Services& given) {
    static SystemClock clock;
    static NoIcons icons;
    static NoClipboard clipboard;
    static NoNavigator navigator;
    static NoEditors editors;
    static NoDatePicker datePicker;
    static NoShell shell;
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
