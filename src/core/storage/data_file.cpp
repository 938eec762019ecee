#include "core/storage/data_file.h"

#include "core/model/item_factory.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "core/util/ascii.h"
#include "core/util/atomic_file.h"
#include "core/util/text_encoding.h"

#include <charconv>
#include <filesystem>
#include <vector>

namespace quill {
namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 22;

// Cuts the text into lines; CR LF, LF and a lone CR each end a line.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool AtEnd() const { return pos_ >= text_.size(); }
    std::string_view Next() {
        const std::size_t start = pos_;
        std::size_t end = start;
        while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') {
            ++end;
        }
        pos_ = end;
        if (pos_ < text_.size() && text_[pos_] == '\r') {
            ++pos_;
        }
        if (pos_ < text_.size() && text_[pos_] == '\n') {
            ++pos_;
        }
        return text_.substr(start, end - start);
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Reads an integer the way a text file's numeric read does: blanks skipped, then a token
// up to the next blank that must be a whole decimal number within 32 bits.
bool ReadInteger(std::string_view line, std::size_t& pos, std::int32_t& value) {
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    const std::size_t start = pos;
    while (pos < line.size() && !IsBlank(line[pos])) {
        ++pos;
    }
    std::string_view token = line.substr(start, pos - start);
    if (!token.empty() && token.front() == '+') {
        token.remove_prefix(1);
    }
    if (token.empty()) {
        return false;
    }
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    return error == std::errc{} && end == token.data() + token.size();
}

std::string InputErrorMessage(std::string_view fileName, int line) {
    std::string message = "Invalid numeric input in ";
    message.append(fileName);
    message.append(", line ");
    AppendNumber(message, line);
    message.append(".");
    return message;
}

// The record with its categories written as 0; only tree items have them in their data
// line's last field.
void AppendZeroedCategories(std::string& out, std::string record) {
    const std::size_t at = record.rfind(kFieldSeparator);
    if (at != std::string::npos && record.find(kLineEnd) != std::string::npos) {
        record.resize(at + kFieldSeparator.size());
        record.push_back('0');
    }
    out.append(record);
}

void AppendChildren(const TNRBObject& item, std::string& out, int level) {
    for (std::size_t i = 0; i < item.ChildCount(); ++i) {
        WriteItemTree(*item.ChildAt(i), out, level);
    }
}

// Our own files are UTF-8. A file from the Windows program is in its ANSI code page; a file
// that mixes both (an old file extended by hand) is taken line by line, so one stray byte
// never turns every other line into mojibake.
std::string DecodeRecordText(std::string bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.erase(0, 3);
    }
    if (IsValidUtf8(bytes)) {
        return bytes;
    }
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    std::string_view rest = bytes;
    while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        end = end == std::string_view::npos ? rest.size() : end + 1;
        const std::string_view line = rest.substr(0, end);
        if (IsValidUtf8(line)) {
            text.append(line);
        } else {
            text.append(Windows1252ToUtf8(line));
        }
        rest.remove_prefix(end);
    }
    return text;
}

} // namespace

FileResult ReadRecords(std::string_view text, TOutlineNode* target, std::string_view fileName,
                       int firstLineNumber) {
    FileResult result;
    if (!target) {
        return result;
    }
    TOutline* outline = target->Outline();
    const int base = target->Depth();
    int current = base + 1;
    TOutlineNode* parent = target;
    TOutlineNode* last = target;

    LineReader lines(text);
    int lineNumber = firstLineNumber - 1;
    std::vector<std::string_view> fields;
    while (!lines.AtEnd()) {
        const std::string_view line = lines.Next();
        ++lineNumber;
        if (line.empty() || line.front() != '{') {
            continue;
        }
        std::size_t pos = 1;
        std::int32_t level = 0;
        std::int32_t kind = 0;
        if (!ReadInteger(line, pos, level) || !ReadInteger(line, pos, kind)) {
            result.ok = false;
            result.line = lineNumber;
            result.message = InputErrorMessage(fileName, lineNumber);
            return result;
        }
        // The two characters behind the kind must close the header: " }".
        if (pos + 2 > line.size() || line[pos + 1] != '}') {
            continue;
        }
        SplitFieldViews(line.substr(pos + 2), fields);
        if (fields.size() != 4) {
            continue;
        }
        const int effective = static_cast<std::int16_t>(level) + base;
        if (effective > current) {
            current = effective;
            parent = last;
        } else {
            while (current > effective) {
                parent = parent ? parent->Parent() : nullptr;
                --current;
            }
        }
        const int itemKind = static_cast<std::uint8_t>(kind);
        std::string_view dataLine;
        if (itemKind != kRootKind && !lines.AtEnd()) {
            dataLine = lines.Next();
            ++lineNumber;
        }
        TNRBObject* item = CreateItem(itemKind, fields[0], fields[1], fields[2],
                                      LeadingNumber(fields[3]), dataLine, parent, outline);
        if (item && IsTreeKind(itemKind)) {
            last = item->Node();
        }
    }
    return result;
}

void WriteItemTree(const TNRBObject& item, std::string& out, int level) {
    out.append(item.RecordText(level));
    out.append(kLineEnd);
    AppendChildren(item, out, level + 1);
}

void AppendSubtreeRecords(const TOutlineNode& top, std::string& out, const HiddenItemTest& hidden,
                          bool zeroTreeCategories) {
    // Depth-first in tree order; levels relative to the top node, which is level 1.
    struct Frame {
        const TOutlineNode* node;
        int level;
    };
    std::vector<Frame> stack{{&top, 1}};
    while (!stack.empty()) {
        const Frame frame = stack.back();
        stack.pop_back();
        const TNRBObject* item = frame.node->Item();
        if (item && !(hidden && hidden(*item))) {
            if (zeroTreeCategories && IsTreeKind(item->Kind())) {
                AppendZeroedCategories(out, item->RecordText(frame.level));
                out.append(kLineEnd);
                AppendChildren(*item, out, frame.level + 1);
            } else {
                WriteItemTree(*item, out, frame.level);
            }
        }
        for (std::size_t i = frame.node->ChildCount(); i-- > 0;) {
            stack.push_back({frame.node->ChildAt(i), frame.level + 1});
        }
    }
}

FileResult WriteSubtree(const TOutlineNode& node, const std::string& fileName,
                        const HiddenItemTest& hidden) {
    std::string text;
    AppendSubtreeRecords(node, text, hidden, true);
    AtomicFileWriter writer;
    if (!writer.Open(fileName) || !writer.Write(text) || !writer.Commit()) {
        return FileResult{false, writer.Error(), 0};
    }
    return {};
}

FileResult ImportFile(TOutlineNode* node, const std::string& fileName) {
    const std::string_view name = fileName;
    const std::size_t slash = name.find_last_of('/');
    const std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    if (!node || !(EndsWithIgnoreAsciiCase(base, ".qld") || base == kClipboardFileName)) {
        return {};
    }
    std::optional<std::string> bytes = ReadWholeFile(fileName);
    if (!bytes) {
        return {};
    }
    const std::string text = DecodeRecordText(std::move(*bytes));
    TOutline* outline = node->Outline();
    if (outline) {
        outline->BeginUpdate();
    }
    FileResult result = ReadRecords(text, node, base);
    if (outline) {
        outline->EndUpdate();
    }
    return result;
}

namespace {

// Streams the outline in tree order with each node's depth as its level, flushing to sink.
template <typename Sink> bool WriteOutline(const TOutline& outline, Sink&& sink) {
    std::string buffer(kDataFileFirstLine);
    buffer.append(kLineEnd);
    struct Frame {
        const TOutlineNode* node;
        int depth;
    };
    std::vector<Frame> stack;
    for (std::size_t i = outline.TopLevelCount(); i-- > 0;) {
        stack.push_back({outline.ChildOf(nullptr, i), 0});
    }
    while (!stack.empty()) {
        const Frame frame = stack.back();
        stack.pop_back();
        if (const TNRBObject* item = frame.node->Item()) {
            WriteItemTree(*item, buffer, frame.depth);
        }
        for (std::size_t i = frame.node->ChildCount(); i-- > 0;) {
            stack.push_back({frame.node->ChildAt(i), frame.depth + 1});
        }
        if (buffer.size() >= kFlushSize) {
            if (!sink(buffer)) {
                return false;
            }
            buffer.clear();
        }
    }
    return sink(buffer);
}

} // namespace

std::string DataFileText(const TOutline& outline) {
    std::string text;
    WriteOutline(outline, [&](std::string_view chunk) {
        text.append(chunk);
        return true;
    });
    return text;
}

TDataFile::TDataFile(std::string path) : path_(std::move(path)) {}

FileResult TDataFile::LoadDataFile(TOutline& outline) {
    TOutlineNode* root = outline.Root();
    if (!root) {
        root = outline.CreateRoot();
    }
    std::optional<std::string> bytes = ReadWholeFile(path_);
    if (!bytes) {
        return {};
    }
    const std::string text = DecodeRecordText(std::move(*bytes));
    std::string_view records = text;
    // The first line is skipped whatever it holds.
    const std::size_t lineEnd = records.find_first_of("\r\n");
    if (lineEnd == std::string_view::npos) {
        return {};
    }
    std::size_t start = lineEnd + 1;
    if (records[lineEnd] == '\r' && start < records.size() && records[start] == '\n') {
        ++start;
    }
    records.remove_prefix(start);

    outline.BeginUpdate();
    FileResult result = ReadRecords(records, root, path_, 2);
    outline.EndUpdate();
    if (!result.ok) {
        backupPending_ = true;
        result.message += " The items read up to there are shown. Before the file is next "
                          "saved, it is kept as " +
                          BackupPath() + ".";
    }
    return result;
}

FileResult TDataFile::SaveDataFile(const TOutline& outline) {
    if (backupPending_) {
        std::string error;
        std::error_code ec;
        if (std::filesystem::exists(path_, ec) && !CopyFileBytes(path_, BackupPath(), &error)) {
            return FileResult{false, "The damaged data file could not be kept: " + error, 0};
        }
        backupPending_ = false;
    }
    AtomicFileWriter writer;
    if (!writer.Open(path_)) {
        return FileResult{false, writer.Error(), 0};
    }
    const bool written =
        WriteOutline(outline, [&](std::string_view chunk) { return writer.Write(chunk); });
    if (!written || !writer.Commit()) {
        return FileResult{false, writer.Error(), 0};
    }
    return {};
}

} // namespace quill
