// The record reader: whatever the text, reading it never fails in memory, the outline it
// builds, once written, reads back into an outline that writes the very same text, and the
// data file loader, which reads the file in pieces and decodes line by line, builds the same
// outline as the reader does from the decoded text.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include <unistd.h>

#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"
#include "core/util/text_encoding.h"
#include "core/util/utf16_text.h"

namespace {

// Larger inputs find nothing new and only slow the run down.
constexpr std::size_t kMaxInput = std::size_t{64} << 10;

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

// Behind the first line, which the loader skips; CR LF, LF and a lone CR each end a line.
std::size_t FirstLineEnd(std::string_view text) {
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        return text.size();
    }
    return end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
}

std::string_view RecordsOf(std::string_view text) {
    return text.substr(FirstLineEnd(text));
}

// The records as the loader sees them: text behind a UTF-16 byte order mark decoded; each
// line that is not valid UTF-8 read as Windows-1252.
std::string DecodedRecords(std::string_view text) {
    if (const std::optional<std::string> utf8 = quill::Utf16WithMarkToUtf8(text)) {
        return DecodedRecords(*utf8);
    }
    std::string decoded;
    std::string_view rest = RecordsOf(text);
    while (!rest.empty()) {
        const std::size_t end = FirstLineEnd(rest);
        std::string_view line = rest.substr(0, end);
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
            line.remove_suffix(1);
        }
        decoded.append(quill::IsValidUtf8(line) ? std::string(line)
                                                : quill::Windows1252ToUtf8(line));
        decoded.push_back('\n');
        rest.remove_prefix(end);
    }
    return decoded;
}

// One file per fuzzing process, removed when it ends.
class ScratchFile {
public:
    ScratchFile()
        : path_((std::filesystem::temp_directory_path() /
                 ("fuzz_records_" + std::to_string(::getpid()) + ".dat"))
                    .string()) {}
    ~ScratchFile() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    const std::string& Write(std::string_view bytes) const {
        std::ofstream(path_, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path_;
    }

private:
    std::string path_;
};

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

    // The loader agrees with the reader on the decoded text, up to the same error line.
    static const ScratchFile scratch;
    quill::SeedItemIds(1);
    quill::TOutline loaded;
    const quill::FileResult load = quill::TDataFile(scratch.Write(input)).LoadDataFile(loaded);
    quill::SeedItemIds(1);
    quill::TOutline decoded;
    const quill::FileResult read =
        quill::ReadRecords(DecodedRecords(input), decoded.CreateRoot(), "fuzz", 2);
    // A file of text in which not one record can be read is refused by the loader (it is
    // another program's, and saving must not overwrite it); the reader finds no item in it.
    if (read.ok && !load.ok && load.line == 0) {
        Check(decoded.NodeCount() == 1);
        return 0;
    }
    Check(load.ok == read.ok && load.line == read.line);
    Check(quill::DataFileText(loaded) == quill::DataFileText(decoded));
    return 0;
}
