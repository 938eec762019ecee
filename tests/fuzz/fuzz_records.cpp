// The record reader: whatever the text, reading it never fails in memory, and the outline it
// builds, once written, reads back into an outline that writes the very same text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"

namespace {

// Larger inputs find nothing new and only slow the run down.
constexpr std::size_t kMaxInput = std::size_t{64} << 10;

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

// The records of a data file's text: everything behind its first line, as the loader skips it.
std::string_view RecordsOf(std::string_view text) {
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        return {};
    }
    std::size_t start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') {
        ++start;
    }
    return text.substr(start);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput) {
        return 0;
    }
    // A record with id 0 draws a random one; a fixed seed keeps every run repeatable.
    quill::SeedItemIds(1);
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // The input is taken as a whole data file, whose first line the loader skips.
    quill::TOutline first;
    quill::ReadRecords(RecordsOf(input), first.CreateRoot(), "fuzz", 2);
    const std::string written = quill::DataFileText(first);
    Check(written.starts_with(quill::kDataFileFirstLine));

    quill::TOutline second;
    const quill::FileResult reread =
        quill::ReadRecords(RecordsOf(written), second.CreateRoot(), "fuzz", 2);
    // What the program writes it must read without an error and write back unchanged.
    Check(reread.ok);
    Check(second.NodeCount() == first.NodeCount());
    Check(quill::DataFileText(second) == written);
    return 0;
}
