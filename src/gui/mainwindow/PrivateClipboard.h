#pragma once
// The clipboard's private format "ROWANLEAF" (a block of item records ended by a zero byte)
// under a MIME type of its own, with plain text beside it where a copy asks for it.

#include "core/services.h"

#include <optional>
#include <string>
#include <string_view>

namespace quill::gui {

inline constexpr char kPrivateClipboardMime[] = "application/x-quillmere-rowanleaf";

class PrivateClipboard final : public IClipboard {
public:
    // The single-item copy: the record and the item's text for other programs.
    void StoreRecord(std::string_view recordWithZero, std::string_view plainText) override;

    // Replaces the clipboard's content by the records in the private format only.
    static void SetRecordsOnly(std::string_view records);
    // The records of the private format without the zero byte; none when the clipboard
    // does not hold it.
    static std::optional<std::string> Records();
};

} // namespace quill::gui
