#pragma once
// Writing a subtree to the program's own exchange file, as the publishing wizard does.

#include "core/storage/data_file.h"

#include <string>

namespace quill {

class TOutlineNode;

inline constexpr std::string_view kCheckFilenameTitle = "Check Filename";

// True when the file name ends in the extension (".qld", ".vcf"), whatever its case.
bool HasExtension(std::string_view fileName, std::string_view extension);

// The refusal the wizard shows for a file name without the extension it needs.
FileResult WrongExtension(std::string_view extension);

// Writes start and everything below it to an exchange file (".qld" in any case); a file
// name without that extension is refused with the wizard's message, and nothing is written.
FileResult ExportExchangeFile(const TOutlineNode& start, const std::string& fileName,
                              const HiddenItemTest& hidden = {});

} // namespace quill
