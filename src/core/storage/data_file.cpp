#include "core/storage/data_file.h"

#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "core/util/ascii.h"
#include "core/util/atomic_file.h"
#include "core/util/prefetch.h"
#include "core/util/text_encoding.h"
#include "core/util/text_lines.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace quill {
namespace {

// The save hands its records to the file in pieces of this size, one being made while the
// one before is written: the two add to the peak memory of a save while the whole outline is
// in memory.
constexpr std::size_t kFlushSize = std::size_t{128} << 10;

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

// Splits the header's text behind "}" at "~~" into exactly four fields; false for any other
// count.
bool SplitHeaderFields(std::string_view text, std::string_view (&fields)[4]) {
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t at = FindFieldSeparator(text);
        if (at == std::string_view::npos) {
            return false;
        }
        fields[i] = text.substr(0, at);
        text.remove_prefix(at + kFieldSeparator.size());
    }
    if (FindFieldSeparator(text) != std::string_view::npos) {
        return false;
    }
    fields[3] = text;
    return true;
}

std::string InputErrorMessage(std::string_view fileName, int line) {
    std::string message = "Invalid numeric input in ";
    message.append(fileName);
    message.append(", line ");
    AppendNumber(message, line);
    message.append(".");
    return message;
}

// The record of a tree item with its categories written as 0. They are the data line's last
// field: behind its last separator, or right behind the tag when the line holds nothing else
// (folders, teams, websites), where the last separator is the header's.
void AppendRecordWithZeroCategories(const TNRBObject& item, std::string& out, int level) {
    const std::size_t start = out.size();
    item.AppendRecord(out, level);
    const std::string_view record(out.data() + start, out.size() - start);
    const std::size_t lineEnd = record.find(kLineEnd);
    if (lineEnd == std::string_view::npos) {
        return;
    }
    const std::size_t dataStart = lineEnd + kLineEnd.size();
    const std::size_t at = record.rfind(kFieldSeparator);
    const std::size_t field = at != std::string_view::npos && at >= dataStart
                                  ? at + kFieldSeparator.size()
                                  : dataStart + DataLineTag(item.Kind()).size();
    if (field <= record.size()) {
        out.resize(start + field);
        out.push_back('0');
    }
}

void AppendChildren(const TNRBObject& item, std::string& out, int level) {
    for (std::size_t i = 0; i < item.ChildCount(); ++i) {
        WriteItemTree(*item.ChildAt(i), out, level);
    }
}

} // namespace

RecordReader::RecordReader(TOutlineNode* target, std::string_view fileName, int firstLineNumber)
    : target_(target), outline_(target ? target->Outline() : nullptr),
      base_(target ? target->Depth() : 0), current_(base_ + 1), parent_(target), last_(target),
      fileName_(fileName), lineNumber_(firstLineNumber - 1) {
    if (outline_) {
        outline_->DeferDueMarks();
        deferringDueMarks_ = true;
    }
}

RecordReader::~RecordReader() {
    EndDueMarkDeferral();
}

void RecordReader::EndDueMarkDeferral() {
    if (deferringDueMarks_) {
        deferringDueMarks_ = false;
        outline_->EndDeferredDueMarks(target_);
    }
}

bool RecordReader::Line(std::string_view line) {
    ++lineNumber_;
    if (!result_.ok || !target_) {
        return false;
    }
    if (awaitingData_) {
        awaitingData_ = false;
        Create(line);
        return true;
    }
    if (line.empty() || line.front() != '{') {
        return true;
    }
    std::size_t pos = 1;
    std::int32_t level = 0;
    std::int32_t kind = 0;
    if (!ReadInteger(line, pos, level) || !ReadInteger(line, pos, kind)) {
        result_.ok = false;
        result_.line = lineNumber_;
        result_.message = InputErrorMessage(fileName_, lineNumber_);
        return false;
    }
    // The two characters behind the kind must close the header: " }".
    if (pos + 2 > line.size() || line[pos + 1] != '}') {
        return true;
    }
    // Exactly four fields; a header with more is skipped without splitting all of them.
    std::string_view fields[4];
    if (!SplitHeaderFields(line.substr(pos + 2), fields)) {
        return true;
    }
    ++headersRead_;
    // Levels are read whole: an outline nested deeper than 32767 levels reads back as written.
    const long long effective = static_cast<long long>(level) + base_;
    if (effective > current_) {
        current_ = effective;
        parent_ = last_;
    } else {
        // Above the top of the outline there is nothing to climb: the walk is bounded by the
        // tree's depth, not by the size of the jump.
        while (current_ > effective && parent_) {
            parent_ = parent_->Parent();
            --current_;
        }
        current_ = std::min(current_, effective);
    }
    kind_ = static_cast<std::uint8_t>(kind);
    title_.assign(fields[0]);
    targetText_.assign(fields[1]);
    comment_.assign(fields[2]);
    id_ = LeadingNumber(fields[3]);
    if (kind_ == kRootKind) {
        Create({});
    } else {
        awaitingData_ = true;
    }
    return true;
}

void RecordReader::Create(std::string_view dataLine) {
    TNRBObject* item =
        CreateItem(kind_, title_, targetText_, comment_, id_, dataLine, parent_, outline_);
    if (item && IsTreeKind(kind_)) {
        last_ = item->Node();
    }
}

FileResult RecordReader::Finish() {
    // A header on the last line has an empty data line.
    if (awaitingData_ && result_.ok) {
        awaitingData_ = false;
        Create({});
    }
    EndDueMarkDeferral();
    return result_;
}

FileResult ReadRecords(std::string_view text, TOutlineNode* target, std::string_view fileName,
                       int firstLineNumber) {
    RecordReader reader(target, fileName, firstLineNumber);
    LineReader lines(text);
    while (!lines.AtEnd() && reader.Line(lines.Next())) {
    }
    return reader.Finish();
}

namespace {

// Reads a record file in pieces, so a large file never sits in memory beside its outline.
// Lines are decoded one by one: our own files are UTF-8; a file of the Windows program is
// in its ANSI code page; a file that mixes both (an old file extended by hand) loses
// nothing, since one stray byte never turns the other lines into mojibake.
FileResult ReadRecordFile(const std::string& path, TOutlineNode* target, std::string_view fileName,
                          bool skipFirstLine, bool& opened, bool* recognised = nullptr) {
    RecordReader reader(target, fileName, skipFirstLine ? 2 : 1);
    bool first = true;
    bool firstLineIsOurs = false;
    bool anyText = false;
    const TextLinesOutcome outcome = ForEachTextLine(path, [&](std::string_view line) {
        anyText = anyText || line.find_first_not_of(" \t") != std::string_view::npos;
        if (first) {
            first = false;
            // "{Params}", or a record of a file that lost its first line.
            firstLineIsOurs = line.starts_with('{');
            if (skipFirstLine) {
                return true;
            }
        }
        return reader.Line(line);
    });
    opened = outcome.status != TextLinesStatus::CannotOpen;
    if (!opened) {
        return {};
    }
    if (recognised) {
        *recognised = !anyText || firstLineIsOurs || reader.HeadersRead() > 0;
    }
    FileResult result = reader.Finish();
    if (result.ok && outcome.status == TextLinesStatus::ReadError) {
        FileResult failure = FileResult::Failure(TextLinesFailure(path, outcome));
        failure.line = outcome.line;
        return failure;
    }
    return result;
}

} // namespace

void WriteItemTree(const TNRBObject& item, std::string& out, int level) {
    item.AppendRecord(out, level);
    out.append(kLineEnd);
    AppendChildren(item, out, level + 1);
}

void AppendSubtreeRecords(const TOutlineNode& top, std::string& out, const HiddenItemTest& hidden,
                          bool zeroTreeCategories) {
    // Depth-first in tree order; levels relative to the top node, which is level 1.
    const auto append = [&](const TOutlineNode& node, int level) {
        const TNRBObject* item = node.Item();
        if (!item || (hidden && hidden(*item))) {
            return;
        }
        if (zeroTreeCategories && IsTreeKind(item->Kind())) {
            AppendRecordWithZeroCategories(*item, out, level);
            out.append(kLineEnd);
            AppendChildren(*item, out, level + 1);
        } else {
            WriteItemTree(*item, out, level);
        }
    };
    append(top, 1);
    // The walk keeps one place per level, never the siblings still to come: a node of a
    // million children costs no list of them.
    struct Frame {
        const TOutlineNode* parent;
        std::size_t next;
    };
    std::vector<Frame> stack{{&top, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.parent->ChildCount()) {
            stack.pop_back();
            continue;
        }
        const TOutlineNode* node = frame.parent->ChildAt(frame.next++);
        append(*node, static_cast<int>(stack.size()) + 1);
        stack.push_back({node, 0});
    }
}

FileResult WriteSubtree(const TOutlineNode& node, const std::string& fileName,
                        const HiddenItemTest& hidden) {
    std::string text;
    AppendSubtreeRecords(node, text, hidden, true);
    AtomicFileWriter writer;
    if (!writer.Open(fileName) || !writer.Write(text) || !writer.Commit()) {
        return FileResult::Failure(writer.Error());
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
    TOutline* outline = node->Outline();
    if (outline) {
        outline->BeginUpdate();
    }
    bool opened = false;
    FileResult result = ReadRecordFile(fileName, node, base, false, opened);
    if (outline) {
        outline->EndUpdate();
    }
    return result;
}

namespace {

// Siblings sorted after they were made (an import of a million persons) lie scattered through
// memory: while one is written, the node a few places ahead and the item of a nearer one are
// asked for, so that the waits for them overlap.
void PrefetchSiblingsAhead(const TOutlineNode& parent, std::size_t position, std::size_t count) {
    constexpr std::size_t kNodeDistance = 16;
    constexpr std::size_t kItemDistance = 8;
    constexpr std::size_t kTextDistance = 4;
    // An object may straddle two cache lines: both ends are asked for.
    const auto both = [](const auto* object) {
        PrefetchForReading(object);
        PrefetchForReading(reinterpret_cast<const char*>(object + 1) - 1);
    };
    if (position + kNodeDistance < count) {
        both(parent.ChildAt(position + kNodeDistance));
    }
    if (position + kItemDistance < count) {
        if (const TNRBObject* item = parent.ChildAt(position + kItemDistance)->Item()) {
            both(item);
        }
    }
    if (position + kTextDistance < count) {
        if (const TNRBObject* item = parent.ChildAt(position + kTextDistance)->Item()) {
            item->PrefetchRecord();
        }
    }
}

// Streams the outline in tree order with each node's depth as its level, flushing to sink,
// which is given the buffer and may take its bytes (leaving another buffer in their place).
template <typename Sink> bool WriteOutline(const TOutline& outline, Sink&& sink) {
    std::string buffer;
    buffer.reserve(kFlushSize + (kFlushSize >> 4));
    buffer.append(kDataFileFirstLine);
    buffer.append(kLineEnd);
    // One place per level (none for the top level, whose nodes the outline lists), never
    // the siblings still to come: a million top-level nodes cost no list of them.
    struct Frame {
        const TOutlineNode* parent;
        std::size_t next;
    };
    std::vector<Frame> stack{{nullptr, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const std::size_t count =
            frame.parent ? frame.parent->ChildCount() : outline.TopLevelCount();
        if (frame.next == count) {
            stack.pop_back();
            continue;
        }
        const std::size_t position = frame.next++;
        const TOutlineNode* node =
            frame.parent ? frame.parent->ChildAt(position) : outline.ChildOf(nullptr, position);
        if (frame.parent) {
            PrefetchSiblingsAhead(*frame.parent, position, count);
        }
        // Top-level nodes are level 0.
        if (const TNRBObject* item = node->Item()) {
            WriteItemTree(*item, buffer, static_cast<int>(stack.size()) - 1);
        }
        stack.push_back({node, 0});
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

FileStamp ReadFileStamp(const std::string& path) {
    FileStamp stamp;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        return stamp;
    }
    stamp.exists = true;
    if (std::filesystem::is_regular_file(status)) {
        stamp.size = std::filesystem::file_size(path, ec);
    }
    stamp.written = std::filesystem::last_write_time(path, ec);
    return stamp;
}

TDataFile::TDataFile(std::string path) : path_(std::move(path)) {}

FileResult TDataFile::LoadDataFile(TOutline& outline) {
    return Load(outline, path_);
}

FileResult TDataFile::Load(TOutline& outline, const std::string& source) {
    TOutlineNode* root = outline.Root();
    if (!root) {
        root = outline.CreateRoot();
    }
    const bool own = source == path_;
    if (own) {
        stamp_ = ReadFileStamp(path_);
    }
    outline.BeginUpdate();
    bool opened = false;
    bool recognised = true;
    FileResult result = ReadRecordFile(source, root, source, true, opened, &recognised);
    outline.EndUpdate();
    if (result.ok && opened && !recognised) {
        // Something else stands where the data file should be; saving over it would
        // destroy it without a trace.
        result = FileResult::Failure("The file " + source +
                                     " does not hold Quillmere's contacts: not one item record "
                                     "could be read from it.");
        if (own) {
            backupPending_ = true;
            backupNote_ = "Quillmere starts with an empty outline. Before anything is saved, the "
                          "file is kept as " +
                          BackupPath() + ".";
        }
        return result;
    }
    if (!result.ok && own) {
        backupPending_ = true;
        backupNote_ = "The items read up to there are shown. Before the file is next saved, it "
                      "is kept as " +
                      BackupPath() + ".";
    }
    return result;
}

FileResult TDataFile::ReloadDataFile(TOutline& outline, const std::string& source) {
    outline.BeginUpdate();
    // The stored root and any other top-level node go too: items held by the root and nodes
    // beside it would otherwise be kept and read again.
    outline.DeleteChildrenOf(nullptr);
    outline.CreateRoot();
    FileResult result = Load(outline, source.empty() ? path_ : source);
    outline.EndUpdate();
    return result;
}

std::string TDataFile::BackupNote() const {
    return backupNote_;
}

FileResult WriteDataFileCopy(const TOutline& outline, const std::string& path,
                             CopyOptions options) {
    AtomicFileWriter writer;
    writer.SetPrivate(options.userOnly);
    writer.SetExclusive(options.exclusive);
    if (!writer.Open(path)) {
        return FileResult::Failure(writer.Error());
    }
    const bool written =
        WriteOutline(outline, [&](std::string& piece) { return writer.WriteHandingOver(piece); });
    if (!written || !writer.Commit()) {
        return FileResult::Failure(writer.Error());
    }
    return {};
}

FileResult TDataFile::SaveDataFile(const TOutline& outline) {
    if (backupPending_) {
        std::string error;
        std::error_code ec;
        if (std::filesystem::exists(path_, ec) && !CopyFileBytes(path_, BackupPath(), &error)) {
            return FileResult::Failure("The damaged data file could not be kept: " + error);
        }
        backupPending_ = false;
    }
    FileResult result = WriteDataFileCopy(outline, path_);
    if (result) {
        stamp_ = ReadFileStamp(path_);
    }
    return result;
}

} // namespace quill
