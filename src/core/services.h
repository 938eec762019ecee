#pragma once
// The services the core calls but cannot provide itself. The program installs real ones at
// start-up (src/platform); tests install fakes. Until something is installed, harmless
// defaults stand in: the system clock and locale, no icons, no clipboard, no navigation,
// editors and a picker that cancel, and no messaging service or browser to reach.

#include "core/comm/mapi.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TOutlineNode;
class TNRBObject;
class TRecurringDate;
class TBrowserDDE;

using Date = std::chrono::year_month_day;

// Today's date in local time.
class IClock {
public:
    virtual ~IClock() = default;
    virtual Date Today() const = 0;
};

// Names and date formats of the user's locale; English when no locale is set.
class ILocaleNames {
public:
    virtual ~ILocaleNames() = default;
    virtual std::string LongMonthName(unsigned month) const = 0; // 1 to 12
    virtual std::string ShortMonthName(unsigned month) const = 0;
    virtual std::string LongDayName(unsigned weekday) const = 0; // 0 Sunday to 6 Saturday
    virtual std::string ShortDayName(unsigned weekday) const = 0;
    virtual std::string ShortDate(Date date) const = 0;
    virtual std::string LongDate(Date date) const = 0;
};

// Icons of files and programs, kept in the main window's two image lists in step.
inline constexpr int kGenericFileImage = 13;
class IIconProvider {
public:
    virtual ~IIconProvider() = default;
    // Adds the icon associated with the file to both image lists; returns its index.
    virtual int AddFileIcon(std::string_view fileName) = 0;
    // Replaces the picture at index in both image lists by the file's icon.
    virtual void ReplaceFileIcon(int index, std::string_view fileName) = 0;
    // The image index of the configured tool whose program equals the text exactly, or
    // kGenericFileImage when there is none.
    virtual int ToolIconIndex(std::string_view program) const = 0;
};

inline constexpr std::string_view kPrivateClipboardFormat = "ROWANLEAF";
class IClipboard {
public:
    virtual ~IClipboard() = default;
    // Empties the clipboard, then stores the record (under the private format, with its
    // terminating zero byte) and the plain text beside it.
    virtual void StoreRecord(std::string_view recordWithZero, std::string_view plainText) = 0;
};

// The main window as far as items need it.
class INavigator {
public:
    virtual ~INavigator() = default;
    virtual void SelectNode(TOutlineNode* node) = 0;
    // Makes the node visible and starts editing its caption in place.
    virtual void BeginEditCaption(TOutlineNode* node) = 0;
};

// The item editors: one modal dialog per kind. EditNew completes an item just created in
// the outline and returns whether it stays; Edit changes an existing one on OK.
class IItemEditors {
public:
    virtual ~IItemEditors() = default;
    virtual bool EditNew(TNRBObject& item) = 0;
    virtual void Edit(TNRBObject& item) = 0;
};

// The date picker of recurring dates; true when the user chose a date with OK.
class IDatePicker {
public:
    virtual ~IDatePicker() = default;
    virtual bool Execute(TRecurringDate& date) = 0;
};

// The desktop's ways out: a document or address opened with what the desktop associates
// with it, a program started in a working directory, a call handed to the user's dialer.
class IShell {
public:
    virtual ~IShell() = default;
    virtual void OpenDocument(std::string_view path) = 0;
    // parameters is one text split as a shell would; empty for none.
    virtual void StartProgram(std::string_view program, std::string_view parameters,
                              std::string_view workingDirectory) = 0;
    virtual void MakeCall(std::string_view number, std::string_view application,
                          std::string_view calledParty, std::string_view comment) = 0;
};

// Simple MAPI: the messaging service that resolves names and sends mail and faxes.
class IMapi {
public:
    virtual ~IMapi() = default;
    // The default messaging profile's name; none when the system keeps none.
    virtual std::optional<std::string> DefaultProfile() const = 0;
    // A profile and password of none (rather than empty texts) let the service ask the user.
    virtual MapiResult Logon(const std::optional<std::string>& profile,
                             const std::optional<std::string>& password, unsigned long flags,
                             MapiSession& session) = 0;
    // On success *resolved is a descriptor the caller hands back to FreeBuffer.
    virtual MapiResult ResolveName(MapiSession session, std::string_view name, unsigned long flags,
                                   MapiRecipDesc*& resolved) = 0;
    virtual MapiResult SendMail(MapiSession session, const MapiMessage& message,
                                unsigned long flags) = 0;
    virtual MapiResult FreeBuffer(MapiRecipDesc* buffer) = 0;
    virtual MapiResult Logoff(MapiSession session) = 0;
};

// A conversation with a running web browser: a service (the browser) and a topic, opened
// and closed around each request.
class IBrowserLink {
public:
    virtual ~IBrowserLink() = default;
    virtual void SetLink(std::string_view service, std::string_view topic) = 0;
    // True when the service answers on the topic.
    virtual bool OpenLink() = 0;
    // The reply to a request for the item in text form; none when there was no reply.
    virtual std::optional<std::string> RequestData(std::string_view item) = 0;
    virtual void CloseLink() = 0;
    // Starts the program (no shell, no arguments); true when it started.
    virtual bool StartApplication(std::string_view program) = 0;
};

// What mail and fax need of the main window around them.
class IMailHost {
public:
    virtual ~IMailHost() = default;
    // The settings file, where the mail method is read for each message.
    virtual std::string SettingsFile() const = 0;
    // True when the item list is the active pane.
    virtual bool ItemListActive() const = 0;
    // The items of the list's selected rows, in list order.
    virtual std::vector<const TNRBObject*> SelectedListItems() const = 0;
    // A confirmation with Yes, No and Cancel; true on Yes.
    virtual bool Confirm(std::string_view text) = 0;
    // An error message with an OK button.
    virtual void ShowError(std::string_view text) = 0;
};

struct Services {
    IClock* clock = nullptr;
    ILocaleNames* locale = nullptr;
    IIconProvider* icons = nullptr;
    IClipboard* clipboard = nullptr;
    INavigator* navigator = nullptr;
    IItemEditors* editors = nullptr;
    IDatePicker* datePicker = nullptr;
    IShell* shell = nullptr;
    IMapi* mapi = nullptr;
    TBrowserDDE* browser = nullptr; // the run's one browser link
    IMailHost* mailHost = nullptr;
};

// The services in force; members never null (defaults fill what was not installed).
const Services& CurrentServices();

// Installs the given services; null members take the defaults.
void InstallServices(const Services& services);

// Installs services for a scope and puts the previous ones back at its end (tests).
class ScopedServices {
public:
    explicit ScopedServices(const Services& services);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services previous_;
};

} // namespace quill
