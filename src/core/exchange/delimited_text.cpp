#include "core/exchange/delimited_text.h"

#include "core/exchange/column_map.h"
#include "core/exchange/csv_fields.h"
#include "core/exchange/record_types.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "core/util/atomic_file.h"
#include "core/util/text_encoding.h"
#include "core/util/text_lines.h"
#include "core/util/work_progress.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

namespace quill {
namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 20;

// No address book writes more columns than this; a line of millions of separators is an
// attack, and splitting it whole would cost far more memory than the line itself.
constexpr std::size_t kMaxColumns = 4096;

std::size_t FindFrom(std::string_view text, char c, std::size_t from) {
    const void* at = std::memchr(text.data() + from, c, text.size() - from);
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - text.data()) : text.size();
}

bool HeaderNeedsQuotes(std::string_view name) {
    return name.find_first_of(" ,\"") != std::string_view::npos;
}

void AppendQuoted(std::string& out, std::string_view value) {
    out.push_back('"');
    for (std::size_t from = 0;;) {
        const std::size_t quote = value.find('"', from);
        if (quote == std::string_view::npos) {
            out.append(value.substr(from));
            break;
        }
        // Doubled, so that the value reads back whole instead of ending at this quote.
        out.append(value.substr(from, quote + 1 - from));
        out.push_back('"');
        from = quote + 1;
    }
    out.push_back('"');
}

using ResolvedFields = std::vector<std::optional<CSVField>>;

// The item's line (without the line end) appended to out, when it gives one.
void AppendLineOf(const TNRBObject& item, const ResolvedFields& fields, std::string& out) {
    const std::size_t start = out.size();
    AppendCSVFieldTexts(item, fields, out);
    if (out.size() == start) {
        return;
    }
    out.pop_back(); // the last column's comma
    if (out.size() == start) {
        return;
    }
    out.append(kLineEnd);
}

// The item's line when it is of the kind, else those of its Children of the kind, at any
// depth, in list order.
void AppendItemLines(const TNRBObject& top, int kind, const ResolvedFields& fields,
                     std::vector<const TNRBObject*>& stack, std::string& out) {
    stack.assign(1, &top);
    while (!stack.empty()) {
        const TNRBObject* item = stack.back();
        stack.pop_back();
        if (item->Kind() == kind) {
            AppendLineOf(*item, fields, out);
            continue;
        }
        for (std::size_t i = item->ChildCount(); i-- > 0;) {
            stack.push_back(item->ChildAt(i));
        }
    }
}

} // namespace

std::size_t SplitDelimitedLine(std::string_view line, char separator,
                               std::vector<std::string>& values, std::size_t maxValues) {
    std::size_t count = 0;
    std::size_t dropped = 0;
    std::string beyond; // a value past maxValues, only looked at
    // Reuses the strings already there, and their buffers.
    auto next = [&]() -> std::string& {
        if (count == maxValues) {
            beyond.clear();
            return beyond;
        }
        if (count == values.size()) {
            values.emplace_back();
        }
        std::string& value = values[count++];
        value.clear();
        return value;
    };
    std::size_t pos = 0;
    while (pos < line.size()) {
        std::string& value = next();
        if (line[pos] == '"') {
            ++pos;
            while (pos < line.size()) {
                const std::size_t quote = FindFrom(line, '"', pos);
                value.append(line.substr(pos, quote - pos));
                pos = quote;
                if (pos == line.size()) {
                    break; // never closed: the rest of the line is the value
                }
                if (pos + 1 < line.size() && line[pos + 1] == '"') {
                    value.push_back('"');
                    pos += 2;
                    continue;
                }
                ++pos;
                break;
            }
        }
        const std::size_t end = FindFrom(line, separator, pos);
        value.append(line.substr(pos, end - pos));
        if (&value == &beyond && !beyond.empty()) {
            ++dropped;
        }
        pos = end;
        if (pos < line.size()) {
            ++pos;
            if (pos == line.size()) {
                next(); // a separator at the end: one more, empty value
            }
        }
    }
    values.resize(count);
    return dropped;
}

std::vector<std::string> SplitDelimitedLine(std::string_view line, char separator) {
    std::vector<std::string> values;
    SplitDelimitedLine(line, separator, values);
    return values;
}

void AppendCSVColumn(std::string& out, std::string_view value) {
    AppendQuoted(out, value);
    out.push_back(',');
}

std::string CSVColumn(std::string_view value) {
    std::string out;
    out.reserve(value.size() + 3);
    AppendCSVColumn(out, value);
    return out;
}

std::string CSVHeaderLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line.push_back(',');
        }
        if (HeaderNeedsQuotes(fields[i])) {
            AppendQuoted(line, fields[i]);
        } else {
            line.append(fields[i]);
        }
    }
    return line;
}

std::string CSVLine(const TNRBObject& item, const std::vector<std::string>& fields) {
    std::string line;
    AppendLineOf(item, ResolveCSVFields(fields), line);
    if (line.ends_with(kLineEnd)) {
        line.resize(line.size() - kLineEnd.size());
    }
    return line;
}

namespace {

// Whether a quoted value is still open at the end of text, which goes on a record that was
// inside one (insideQuote) or not where text begins; see EndsInOpenQuote. A record of many
// lines is so scanned once, line by line, not again from its start at each line.
bool QuoteOpenAtEnd(std::string_view text, char separator, bool insideQuote) {
    std::size_t pos = 0;
    for (;;) {
        if (insideQuote) {
            const std::size_t quote = FindFrom(text, '"', pos);
            if (quote == text.size()) {
                return true;
            }
            if (quote + 1 < text.size() && text[quote + 1] == '"') {
                pos = quote + 2;
                continue;
            }
            insideQuote = false;
            pos = FindFrom(text, separator, quote + 1);
            if (pos == text.size()) {
                return false;
            }
            ++pos;
        }
        if (pos >= text.size()) {
            return false;
        }
        if (text[pos] == '"') {
            insideQuote = true;
            ++pos;
            continue;
        }
        pos = FindFrom(text, separator, pos);
        if (pos == text.size()) {
            return false;
        }
        ++pos;
    }
}

} // namespace

bool EndsInOpenQuote(std::string_view text, char separator) {
    return QuoteOpenAtEnd(text, separator, false);
}

FileResult ImportDelimitedText(const std::string& path, TOutlineNode* target,
                               const TRecordType& type,
                               const std::vector<std::string>& chosenFields, char separator) {
    DelimitedImportOptions options;
    options.separator = separator;
    options.fields = chosenFields;
    return ImportDelimitedText(path, target, type, options);
}

FileResult ImportDelimitedText(const std::string& path, TOutlineNode* target,
                               const TRecordType& type, const DelimitedImportOptions& options,
                               TImportReport* report) {
    std::error_code ec;
    if (!target || !target->Item() || !std::filesystem::exists(path, ec)) {
        return {};
    }
    char separator = options.separator;
    if (separator == '"' || separator == '\r' || separator == '\n') {
        separator = kCommaSeparator;
    }
    TOutline* outline = target->Outline();
    const int kind = type.kind;
    const bool treeKind = IsTreeKind(kind);
    if (treeKind && !outline) {
        return {};
    }
    // A skipped column is one whose field name is no field at all.
    std::vector<std::string> positional = options.fields;
    for (std::string& field : positional) {
        if (field == kIgnoredField) {
            field.clear();
        }
    }
    const bool byName = options.firstLineHasNames && options.fields.empty();
    const CSVFieldPositions positions = CSVFieldPositionsOf(positional);
    std::optional<TColumnMap> columns;
    FileResult result;

    if (outline) {
        outline->BeginUpdate();
    }
    std::vector<std::string> values;
    std::vector<std::string> projected;
    CSVFieldPositions rowPositions;
    std::vector<std::string> unused;
    std::vector<std::string> columnNames;
    bool firstRecord = true;
    bool madeTreeItems = false;
    auto make = [&](const std::vector<std::string>& recordValues,
                    const CSVFieldPositions& fields) -> const TNRBObject* {
        if (treeKind) {
            TNRBObject* item = CreateItem(kind, "New", {}, {}, 0, {}, target);
            if (!item) {
                return nullptr;
            }
            if (ReadCSVRecordAt(*item, recordValues, fields)) {
                madeTreeItems = true;
                return item;
            }
            outline->DeleteNode(item->Node());
            return nullptr;
        }
        // Read before it is hung in, so that a refused record never enters the list.
        std::unique_ptr<TNRBObject> item = ConstructItem(kind, "New", {}, {}, 0, {});
        if (!ReadCSVRecordAt(*item, recordValues, fields)) {
            return nullptr;
        }
        TNRBObject* added = target->Item()->AddChild(std::move(item));
        added->SetNode(target);
        return added;
    };
    auto handle = [&](std::string_view record) {
        const bool first = std::exchange(firstRecord, false);
        // Without values every kind refuses the record: nothing to make.
        if (record.empty()) {
            return true;
        }
        const std::size_t dropped = SplitDelimitedLine(record, separator, values, kMaxColumns);
        if (first && byName) {
            columns.emplace(values, type);
            if (!columns->MapsAnything()) {
                result = FileResult::Failure("The first line of \"" + path +
                                             "\" names no column that a record of type \"" +
                                             std::string(type.name) + "\" holds.");
                return false;
            }
            return true;
        }
        if (first && (options.firstLineHasNames || values == positional)) {
            if (options.firstLineHasNames) {
                // The report names the columns the fields left out as the file names them.
                columnNames = values;
            }
            return true;
        }
        const TNRBObject* item = nullptr;
        if (columns) {
            columns->Project(values, projected, rowPositions, unused);
            item = make(projected, rowPositions);
        } else {
            item = make(values, positions);
        }
        if (report) {
            ++report->records;
            if (item) {
                report->AddItemTree(*item);
            }
            if (columns) {
                for (const std::string& name : unused) {
                    report->AddNotKept(name);
                }
            } else {
                for (std::size_t i = 0; i < values.size(); ++i) {
                    if (!values[i].empty() && (i >= positional.size() || positional[i].empty())) {
                        report->AddNotKept(i < columnNames.size() && !columnNames[i].empty()
                                               ? columnNames[i]
                                               : "column " + std::to_string(i + 1));
                    }
                }
                if (dropped > 0) {
                    report->AddNotKept("columns after " + std::to_string(kMaxColumns));
                }
            }
        }
        return true;
    };
    // A quoted value may hold line breaks: its record then goes on on the next line. Such a
    // record is bounded as a line is.
    std::string pending;
    bool continuing = false;
    int lineNumber = 0;
    int recordStart = 0;
    const TextLinesOutcome outcome = ForEachTextLine(path, [&](std::string_view line) {
        ++lineNumber;
        if (!continuing) {
            if (!EndsInOpenQuote(line, separator)) {
                return handle(line);
            }
            pending.assign(line);
            continuing = true;
            recordStart = lineNumber;
            return true;
        }
        if (pending.size() + 1 + line.size() > kMaxLineBytes) {
            continuing = false;
            result = FileResult::Failure("The record from line " + std::to_string(recordStart) +
                                         " of \"" + path + "\" is longer than " +
                                         std::to_string(kMaxLineBytes >> 20) + " MiB.");
            return false;
        }
        pending += '\n';
        pending.append(line);
        continuing = QuoteOpenAtEnd(line, separator, true);
        return continuing || handle(pending);
    });
    if (continuing) {
        handle(pending); // the quote never closed: the rest of the file is its value
    }
    if (outcome.status == TextLinesStatus::CannotOpen ||
        outcome.status == TextLinesStatus::ReadError) {
        result = FileResult::Failure(TextLinesFailure(path, outcome));
    }
    // Records renamed their nodes without sorting each time; one sort puts them in order.
    if (madeTreeItems) {
        TOutline::SortChildren(target);
    }
    if (outline) {
        outline->EndUpdate();
    }
    return result;
}

namespace {

// The export's lines in order, handed to flush in pieces of about kFlushSize bytes; stops
// when flush fails.
template <typename Flush>
bool WriteCSVLines(const TOutlineNode& node, const TRecordType& type,
                   const std::vector<std::string>& fields, bool includeNames,
                   const HiddenItemTest& hidden, std::string& buffer, Flush&& flush) {
    if (includeNames && !fields.empty()) {
        buffer.append(CSVHeaderLine(fields));
        buffer.append(kLineEnd);
    }
    const ResolvedFields resolved = ResolveCSVFields(fields);
    std::vector<const TNRBObject*> stack;
    bool ok = true;
    std::uint64_t nodes = 0;
    ForEachInSubtree(&node, [&](const TOutlineNode* visited) {
        // A listener hears of every 1024 nodes written and may stop the export.
        ok = ok && ((++nodes & 1023) != 0 || ReportWorkProgress(nodes, 0));
        const TNRBObject* item = visited->Item();
        if (!ok || !item || (hidden && hidden(*item))) {
            return;
        }
        AppendItemLines(*item, type.kind, resolved, stack, buffer);
        if (buffer.size() >= kFlushSize) {
            ok = flush(buffer);
        }
    });
    return ok;
}

} // namespace

void AppendCSVSubtree(const TOutlineNode& node, std::string& out, const TRecordType& type,
                      const std::vector<std::string>& fields, bool includeNames,
                      const HiddenItemTest& hidden) {
    WriteCSVLines(node, type, fields, includeNames, hidden, out, [](std::string&) { return true; });
}

FileResult WriteCSVSubtree(const TOutlineNode& node, const std::string& fileName,
                           const TRecordType& type, const std::vector<std::string>& fields,
                           bool includeNames, const HiddenItemTest& hidden) {
    AtomicFileWriter writer;
    std::string buffer;
    buffer.reserve(kFlushSize + (kFlushSize >> 4));
    // Each piece is written while the next is made.
    auto flush = [&](std::string& pending) { return writer.WriteHandingOver(pending); };
    if (!writer.Open(fileName) ||
        !WriteCSVLines(node, type, fields, includeNames, hidden, buffer, flush) || !flush(buffer) ||
        !writer.Commit()) {
        FileResult result;
        result.ok = false;
        result.message = writer.Error();
        return result;
    }
    return {};
}

} // namespace quill
