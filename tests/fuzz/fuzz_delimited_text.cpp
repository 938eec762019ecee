// The delimited-text reader: whatever the file, importing it never fails in memory, every
// item it makes meets its kind's conditions, and what it made, exported and imported again,
// exports to the very same text. The first byte picks the record type and the separator,
// the next two which fields the columns hold; the rest is the file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "core/exchange/delimited_text.h"
#include "core/exchange/record_types.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"

namespace {

constexpr std::size_t kMaxInput = std::size_t{16} << 10;

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

class ScratchFile {
public:
    explicit ScratchFile(std::string_view name)
        : path_((std::filesystem::temp_directory_path() /
                 ("fuzz_delimited_" + std::to_string(::getpid()) + "_" + std::string(name)))
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

// The items an import made under target: its child nodes for tree kinds, else its list.
std::size_t ImportedCount(const quill::TOutlineNode* target, int kind) {
    return quill::IsTreeKind(kind) ? target->ChildCount() : target->Item()->ChildCount();
}

void CheckImported(const quill::TOutlineNode* target, int kind) {
    const std::size_t count = ImportedCount(target, kind);
    for (std::size_t i = 0; i < count; ++i) {
        const quill::TNRBObject* item =
            quill::IsTreeKind(kind) ? target->ChildAt(i)->Item() : target->Item()->ChildAt(i);
        Check(item->Kind() == kind);
        if (kind == quill::kPersonKind) {
            Check(item->Target().size() > 1);
        } else if (kind == quill::kOrganizationKind) {
            Check(!item->Title().empty());
        } else {
            Check(!item->Title().empty() && !item->Target().empty());
        }
        if (quill::IsTreeKind(kind)) {
            Check(target->ChildAt(i)->Text() == item->Title());
        }
        // Contact points of a holder are titled by their role and made primary.
        for (std::size_t c = 0; c < item->ChildCount(); ++c) {
            const quill::TNRBObject* point = item->ChildAt(c);
            Check(point->Title().starts_with("Primary "));
            Check(static_cast<const quill::TContactHolderObject*>(item)->PrimaryContact(
                      point->Kind()) == point);
        }
    }
}

std::string ExportAll(const quill::TOutlineNode& node, const quill::TRecordType& type,
                      const std::vector<std::string>& fields) {
    std::string text;
    quill::AppendCSVSubtree(node, text, type, fields, true);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3 || size > kMaxInput) {
        return 0;
    }
    quill::SeedItemIds(1);
    const quill::TRecordType& type = *quill::RecordTypeAt(data[0] % 7);
    const char separator = (data[0] & 0x80) ? quill::kTabSeparator : quill::kCommaSeparator;
    const unsigned mask = data[1] | (unsigned{data[2]} << 8);
    std::vector<std::string> chosen;
    for (std::size_t i = 0; i < type.fields.size(); ++i) {
        if (mask & (1u << (i % 16))) {
            chosen.emplace_back(type.fields[i]);
        }
    }
    // Columns in another order than the table's.
    if (!chosen.empty()) {
        std::rotate(chosen.begin(), chosen.begin() + ((data[0] >> 3) & 7) % chosen.size(),
                    chosen.end());
    }
    const std::string_view file(reinterpret_cast<const char*>(data) + 3, size - 3);

    // Splitting, then writing the values as the export does, gives the same values back.
    const std::string_view firstLine = file.substr(0, file.find_first_of("\r\n"));
    const std::vector<std::string> values = quill::SplitDelimitedLine(firstLine, separator);
    std::string rewritten;
    for (const std::string& value : values) {
        quill::AppendCSVColumn(rewritten, value);
    }
    if (!rewritten.empty()) {
        rewritten.pop_back();
    }
    Check(quill::SplitDelimitedLine(rewritten, ',') == values || values.empty());

    static const ScratchFile input("in.csv");
    static const ScratchFile first("first.csv");

    quill::TOutline outline;
    quill::TOutlineNode* target =
        quill::CreateItem(quill::kFolderKind, "Import", "", "", 1, "", outline.CreateRoot())
            ->Node();
    Check(quill::ImportDelimitedText(input.Write(file), target, type, chosen, separator).ok);
    CheckImported(target, type.kind);

    const std::vector<std::string> all(type.fields.begin(), type.fields.end());
    const std::string exported = ExportAll(*target, type, all);
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = exported.find("\r\n", at)) != std::string::npos; at += 2) {
        ++lines;
    }
    Check(lines == ImportedCount(target, type.kind) + 1);

    quill::TOutline again;
    quill::TOutlineNode* target2 =
        quill::CreateItem(quill::kFolderKind, "Import", "", "", 1, "", again.CreateRoot())->Node();
    Check(quill::ImportDelimitedText(first.Write(exported), target2, type, all, ',').ok);
    Check(ImportedCount(target2, type.kind) == ImportedCount(target, type.kind));
    Check(ExportAll(*target2, type, all) == exported);
    return 0;
}
