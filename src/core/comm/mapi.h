#pragma once
// Simple MAPI as the messaging service takes it: result codes, flags, and the message,
// recipient and file descriptors. The names are Simple MAPI's own, so that the sending code
// reads as the calls it makes.

#include <cstdint>
#include <string>
#include <vector>

namespace quill {

using MapiResult = unsigned long;
// A session handle; 0 when there is none.
using MapiSession = std::uintptr_t;

inline constexpr MapiResult SUCCESS_SUCCESS = 0;
inline constexpr MapiResult MAPI_USER_ABORT = 1;
inline constexpr MapiResult MAPI_E_FAILURE = 2;
inline constexpr MapiResult MAPI_E_LOGIN_FAILURE = 3;
inline constexpr MapiResult MAPI_E_INSUFFICIENT_MEMORY = 5;
inline constexpr MapiResult MAPI_E_TOO_MANY_FILES = 9;
inline constexpr MapiResult MAPI_E_TOO_MANY_RECIPIENTS = 10;
inline constexpr MapiResult MAPI_E_ATTACHMENT_NOT_FOUND = 11;
inline constexpr MapiResult MAPI_E_ATTACHMENT_OPEN_FAILURE = 12;
inline constexpr MapiResult MAPI_E_UNKNOWN_RECIPIENT = 14;
inline constexpr MapiResult MAPI_E_BAD_RECIPTYPE = 15;
inline constexpr MapiResult MAPI_E_INVALID_SESSION = 19;
inline constexpr MapiResult MAPI_E_AMBIGUOUS_RECIPIENT = 21;
inline constexpr MapiResult MAPI_E_INVALID_RECIPS = 25;
inline constexpr MapiResult MAPI_E_NOT_SUPPORTED = 26;

// Flags of the calls.
inline constexpr unsigned long MAPI_LOGON_UI = 0x1;
inline constexpr unsigned long MAPI_NEW_SESSION = 0x2;
inline constexpr unsigned long MAPI_DIALOG = 0x8;
// Flag of a message.
inline constexpr unsigned long MAPI_RECEIPT_REQUESTED = 0x2;

// Recipient classes.
inline constexpr unsigned long MAPI_ORIG = 0;
inline constexpr unsigned long MAPI_TO = 1;
inline constexpr unsigned long MAPI_CC = 2;
inline constexpr unsigned long MAPI_BCC = 3;

// The address type of a fax recipient: "FAX:" and the number.
inline constexpr char kFaxAddressType[] = "FAX:";

struct MapiRecipDesc {
    unsigned long recipClass = MAPI_ORIG;
    std::string name; // the display name
    std::string
        address; // type and address ("FAX:555-0100", or a bare e-mail address); may be empty
};

// No placement in the body: the attachment goes at the end.
inline constexpr unsigned long kNoPosition = 0xFFFFFFFF;

struct MapiFileDesc {
    unsigned long position = kNoPosition;
    std::string pathName;
    std::string fileName; // empty: the name of the path
};

struct MapiMessage {
    std::string subject;
    std::string noteText; // empty: no text
    unsigned long flags = 0;
    std::vector<MapiRecipDesc> recips;
    std::vector<MapiFileDesc> files;
};

} // namespace quill
