#pragma once
// The clipboard with the private format "ROWANLEAF": a block of item records ended
// by one zero byte, under a MIME type of its own (on Windows the registered format name),
// with plain text beside it where a copy asks for it. The core's clipboard service.

#include "core/services.h"

#include <optional>
#include <string>
#include <string_view>

namespace quill::platform {

inline constexpr char kPrivateClipboardMime[] = "application/x-quillmere-rowanleaf";

class QtClipboard final : public IClipboard {
public:
    // The single-item copy (CopyToClipboard): empties the clipboard and puts the
    // record with its terminating zero byte in the private format and the plain text beside.
    void StoreRecord(std::string_view recordWithZero, std::string_view plainText) override;

    // The multi-item copy (CopySelection): empties the clipboard and puts the
    // records in the private format only; the zero byte is added here.
    static void SetRecordsOnly(std::string_view records);
    // The same for a copied person or organization, with plain text and a vCard
    // ("text/vcard") beside it for other programs; an empty text or card is left out.
    static void SetRecordsWithContact(std::string_view records, std::string_view plainText,
                                      std::string_view vcard);

    static bool HasPrivateFormat();
    // The private format's text up to its zero byte; none when the clipboard does not hold
    // the format.
    static std::optional<std::string> Records();
};

} // namespace quill::platform
