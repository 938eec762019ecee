// Column names mapped to fields: whatever the names line and the records, the map names each
// field of the record type at most once and only fields the type offers, a record projects to
// exactly those fields, every value it passes over is one of the record's own, and importing
// the file by its names line never fails in memory. The first byte picks the record type and
// the separator; the rest is the file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "core/exchange/column_map.h"
#include "core/exchange/delimited_text.h"
#include "core/exchange/record_types.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > kMaxInput) {
        return 0;
    }
    quill::SeedItemIds(1);
    const quill::TRecordType& type = *quill::RecordTypeAt(data[0] % 7);
    const char separator = (data[0] & 0x80) ? quill::kTabSeparator : quill::kCommaSeparator;
    const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= file.size();) {
        std::size_t end = file.find('\n', start);
        if (end == std::string_view::npos) {
            end = file.size();
        }
        lines.emplace_back(file.substr(start, end - start));
        start = end + 1;
    }
    const std::vector<std::string> names = quill::SplitDelimitedLine(lines.front(), separator);
    quill::TColumnMap map(names, type);

    std::set<std::string> distinct(map.Fields().begin(), map.Fields().end());
    Check(distinct.size() == map.Fields().size());
    for (const std::string& field : map.Fields()) {
        Check(std::find(type.fields.begin(), type.fields.end(), field) != type.fields.end());
    }
    std::vector<std::string> values;
    quill::CSVFieldPositions positions;
    std::vector<std::string> unused;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> row = quill::SplitDelimitedLine(lines[i], separator);
        map.Project(row, values, positions, unused);
        Check(values.size() == map.Fields().size());
        for (std::size_t f = 0; f < values.size(); ++f) {
            const std::size_t position =
                positions[static_cast<std::size_t>(*quill::FindCSVField(map.Fields()[f]))];
            Check(position == f || position == quill::kCSVFieldAbsent);
            Check(position == f || values[f].empty());
            Check(values[f].empty() || std::find(row.begin(), row.end(), values[f]) != row.end());
        }
        for (const std::string& name : unused) {
            Check(std::find(names.begin(), names.end(), name) != names.end());
        }
    }

    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("fuzz_column_map_" + std::to_string(::getpid()) + ".csv"))
                                        .string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(file.data(), static_cast<std::streamsize>(file.size()));
    quill::TOutline outline;
    quill::TOutlineNode* target =
        quill::CreateItem(quill::kFolderKind, "Import", "", "", 1, "", outline.CreateRoot())
            ->Node();
    quill::DelimitedImportOptions options;
    options.separator = separator;
    options.firstLineHasNames = true;
    quill::TImportReport report;
    quill::ImportDelimitedText(path, target, type, options, &report);
    Check(report.items[type.kind] <= report.records);
    return 0;
}
