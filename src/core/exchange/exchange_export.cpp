#include "core/exchange/exchange_export.h"

#include "core/util/ascii.h"

namespace quill {

bool HasExtension(std::string_view fileName, std::string_view extension) {
    return EndsWithIgnoreAsciiCase(fileName, extension);
}

FileResult WrongExtension(std::string_view extension) {
    std::string message = "The exported filename needs to have an extension of \"";
    message.append(extension);
    message.append("\"");
    return FileResult::Failure(std::move(message), std::string(kCheckFilenameTitle));
}

FileResult ExportExchangeFile(const TOutlineNode& start, const std::string& fileName,
                              const HiddenItemTest& hidden) {
    if (!HasExtension(fileName, ".qld")) {
        return WrongExtension(".qld");
    }
    return WriteSubtree(start, fileName, hidden);
}

} // namespace quill
