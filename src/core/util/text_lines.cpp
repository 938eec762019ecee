#include "core/util/text_lines.h"

#include "core/util/filled_ahead.h"
#include "core/util/text_encoding.h"
#include "core/util/utf16_text.h"
#include "core/util/work_progress.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace quill {
namespace {

// Large enough that reading costs a few hundred calls for a big file, small enough not to
// add to the peak memory of a load.
constexpr std::size_t kReadChunk = std::size_t{256} << 10;

// Files at least this large are read ahead on a thread of their own; for a smaller one the
// thread would cost more than it saves.
constexpr std::uintmax_t kReadAheadFrom = 4 * kReadChunk;

// One piece of the file's text, and how much of it, up to its last line feed, is known to be
// valid UTF-8 (checked beside the reading, so that the lines need no check of their own).
struct Piece {
    std::string_view bytes;
    std::size_t validPrefix = 0;
    std::size_t fileBytes = 0; // what was read of the file for it
};

std::size_t ValidPrefix(std::string_view bytes) {
    const std::size_t lastLineFeed = bytes.rfind('\n');
    return lastLineFeed != std::string_view::npos && IsValidUtf8(bytes.substr(0, lastLineFeed))
               ? lastLineFeed
               : 0;
}

// Hands out a file's pieces in order. Reading ahead, a thread reads the next piece while the
// caller works on the current one, so that copying the bytes out of the system's cache (and
// checking them) overlaps the work on them; otherwise each piece is read when asked for.
class PieceReader {
public:
    PieceReader(std::FILE* in, std::size_t chunkSize, bool ahead)
        : in_(in), chunkSize_(chunkSize),
          pieces_(Slots(chunkSize, ahead ? 2 : 1), 1, [this](Slot& slot) { return Fill(slot); }) {}

    // The next piece, which stays valid until the next call; empty at the end of the file or
    // when reading failed.
    Piece Next() {
        const Slot* slot = pieces_.Next();
        return slot ? slot->piece : Piece{};
    }

    // Ends the reading ahead; the file is the caller's alone again.
    void Stop() { pieces_.Stop(); }

    // The errno of a failed read, or 0; reliable once Stop has returned.
    int Error() const { return error_; }

private:
    struct Slot {
        std::unique_ptr<char[]> bytes;
        std::string decoded; // the piece's text, when the file is in UTF-16
        Piece piece;
    };

    static std::vector<Slot> Slots(std::size_t chunkSize, std::size_t count) {
        std::vector<Slot> slots(count);
        for (Slot& slot : slots) {
            slot.bytes = std::make_unique_for_overwrite<char[]>(chunkSize);
        }
        return slots;
    }

    std::size_t ReadSome(char* into) {
        const std::size_t n = std::fread(into, 1, chunkSize_, in_);
        if (n < chunkSize_ && std::ferror(in_) != 0) {
            error_ = errno != 0 ? errno : EIO; // errno is the reading thread's own
        }
        return n;
    }

    // Reads the next piece into slot; false at the end of the file.
    bool Fill(Slot& slot) {
        for (;;) {
            const std::size_t n = ReadSome(slot.bytes.get());
            std::string_view bytes(slot.bytes.get(), n);
            if (atStart_) {
                atStart_ = false;
                if (const Utf16Mark mark = Utf16MarkOf(bytes); mark != Utf16Mark::None) {
                    utf16_.emplace(mark == Utf16Mark::LittleEndian);
                    bytes.remove_prefix(2);
                }
            }
            if (!utf16_) {
                slot.piece = {bytes, ValidPrefix(bytes), n};
                return n != 0;
            }
            slot.decoded.clear();
            if (n == 0) {
                utf16_->Finish(slot.decoded);
            } else {
                utf16_->Decode(bytes, slot.decoded);
            }
            // Decoded text is valid UTF-8 throughout.
            const std::size_t lastLineFeed = slot.decoded.rfind('\n');
            slot.piece = {slot.decoded, lastLineFeed == std::string::npos ? 0 : lastLineFeed, n};
            // A piece of a single byte of UTF-16 gives no text yet.
            if (!slot.decoded.empty() || n == 0) {
                return !slot.decoded.empty();
            }
        }
    }

    std::FILE* in_;
    std::size_t chunkSize_;
    int error_ = 0; // the caller reads it once the reading has stopped
    bool atStart_ = true;
    std::optional<Utf16Decoder> utf16_; // for a file that starts with a UTF-16 byte order mark
    FilledAhead<Slot> pieces_;          // last: its thread ends before the rest goes
};

// Where the line that starts the text ends: at CR, LF or the end.
std::size_t LineEnd(std::string_view text) {
    const void* lf = std::memchr(text.data(), '\n', text.size());
    const std::size_t limit =
        lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - text.data()) : text.size();
    const void* cr = std::memchr(text.data(), '\r', limit);
    return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - text.data()) : limit;
}

} // namespace

TextLinesOutcome ForEachTextLine(const std::string& path,
                                 const std::function<bool(std::string_view line)>& onLine,
                                 std::size_t maxLineBytes) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) {
        return {TextLinesStatus::CannotOpen, errno};
    }
    // A small file gets a small buffer: pasting through the clipboard file reads one often.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    // Reading ahead holds two pieces of half the size, so a load takes no more memory.
    const bool ahead = !ec && size >= kReadAheadFrom;
    const std::size_t chunkSize =
        ahead ? kReadChunk / 2
        : ec  ? kReadChunk
              : static_cast<std::size_t>(std::clamp<std::uintmax_t>(size + 1, 4096, kReadChunk));
    PieceReader reader(in, chunkSize, ahead);

    std::string carry;   // an unfinished line from the previous piece
    std::string decoded; // a line converted from Windows-1252
    bool firstLine = true;
    bool skipLineFeed = false; // the previous piece ended in CR
    bool stopped = false;
    int lineNumber = 0;
    int tooLong = 0; // the number of a line over the limit
    auto emit = [&](std::string_view line, bool knownValid) {
        ++lineNumber;
        if (line.size() > maxLineBytes) {
            tooLong = lineNumber;
            stopped = true;
            return;
        }
        if (firstLine) {
            firstLine = false;
            if (line.starts_with("\xEF\xBB\xBF")) {
                line.remove_prefix(3);
            }
        }
        if (!knownValid && !IsValidUtf8(line)) {
            decoded = Windows1252ToUtf8(line);
            line = decoded;
        }
        stopped = !onLine(line);
    };
    std::uint64_t bytesRead = 0;
    bool reachedEnd = false; // a failure read ahead of where the caller stopped is none
    while (!stopped) {
        // A listener waiting for a long import hears of every piece, and may stop it.
        if (!ReportWorkProgress(bytesRead, ec ? 0 : size)) {
            stopped = true;
            break;
        }
        const Piece read = reader.Next();
        std::string_view piece = read.bytes;
        bytesRead += read.fileBytes;
        if (piece.empty()) {
            reachedEnd = true;
            break;
        }
        // One check for the piece up to its last line end; lines are checked one by one
        // only where it fails.
        const char* validEnd = piece.data() + read.validPrefix;
        if (skipLineFeed && piece.front() == '\n') {
            piece.remove_prefix(1);
        }
        skipLineFeed = false;
        while (!stopped && !piece.empty()) {
            const std::size_t end = LineEnd(piece);
            if (end == piece.size()) {
                if (carry.size() + piece.size() > maxLineBytes) {
                    tooLong = lineNumber + 1;
                    stopped = true;
                    break;
                }
                carry.append(piece);
                break;
            }
            if (carry.empty()) {
                emit(piece.substr(0, end), piece.data() + end <= validEnd);
            } else {
                carry.append(piece.substr(0, end));
                emit(carry, false);
                carry.clear();
            }
            std::size_t next = end + 1;
            if (piece[end] == '\r') {
                if (next < piece.size()) {
                    next += piece[next] == '\n' ? 1 : 0;
                } else {
                    skipLineFeed = true;
                }
            }
            piece.remove_prefix(next);
        }
    }
    reader.Stop();
    const int error = reachedEnd ? reader.Error() : 0;
    std::fclose(in);
    if (error != 0) {
        return {TextLinesStatus::ReadError, error};
    }
    if (!stopped && !carry.empty()) {
        emit(carry, false);
    }
    if (tooLong != 0) {
        return {TextLinesStatus::ReadError, EFBIG, tooLong};
    }
    return {stopped ? TextLinesStatus::Stopped : TextLinesStatus::Read, 0};
}

std::string CannotReadMessage(const std::string& path, int error) {
    return "Cannot read \"" + path + "\": " + std::strerror(error);
}

std::string TextLinesFailure(const std::string& path, const TextLinesOutcome& outcome) {
    if (outcome.line != 0) {
        return "Line " + std::to_string(outcome.line) + " of \"" + path + "\" is longer than " +
               std::to_string(kMaxLineBytes >> 20) + " MiB.";
    }
    return CannotReadMessage(path, outcome.error);
}

} // namespace quill
