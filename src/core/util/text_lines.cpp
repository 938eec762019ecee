#include "core/util/text_lines.h"

#include "core/util/text_encoding.h"
#include "core/util/work_progress.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace quill {
namespace {

// Large enough that reading costs a few hundred calls for a big file, small enough not to
// add to the peak memory of a load.
constexpr std::size_t kReadChunk = std::size_t{256} << 10;

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
    const std::size_t chunkSize =
        ec ? kReadChunk
           : static_cast<std::size_t>(std::clamp<std::uintmax_t>(size + 1, 4096, kReadChunk));
    const auto chunk = std::make_unique_for_overwrite<char[]>(chunkSize);

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
    while (!stopped) {
        // A listener waiting for a long import hears of every piece, and may stop it.
        if (!ReportWorkProgress(bytesRead, ec ? 0 : size)) {
            stopped = true;
            break;
        }
        const std::size_t n = std::fread(chunk.get(), 1, chunkSize, in);
        bytesRead += n;
        std::string_view piece(chunk.get(), n);
        if (n == 0) {
            break;
        }
        if (skipLineFeed && piece.front() == '\n') {
            piece.remove_prefix(1);
        }
        skipLineFeed = false;
        // One check for the piece up to its last line end; lines are checked one by one
        // only where it fails.
        const std::size_t lastLineFeed = piece.rfind('\n');
        const char* validEnd =
            (lastLineFeed != std::string_view::npos && IsValidUtf8(piece.substr(0, lastLineFeed)))
                ? piece.data() + lastLineFeed
                : piece.data();
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
    const bool failed = std::ferror(in) != 0;
    const int error = errno;
    std::fclose(in);
    if (failed) {
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
