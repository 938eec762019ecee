// One of the two places of the core that call the operating system (memory_blocks.cpp is the
// other): the standard library has no way to sync a file to disk or to create a file exclusively.
#include "core/util/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quill {

namespace {

namespace fs = std::filesystem;

// Large enough that a file of many megabytes goes out in few system calls.
constexpr std::size_t kBufferSize = std::size_t{1} << 20;

#ifdef _WIN32

int OpenExclusive(const std::string& path) {
    return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                 _S_IREAD | _S_IWRITE);
}

long long WriteSome(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}

int SyncFile(int fd) {
    return _commit(fd);
}
int CloseFile(int fd) {
    return _close(fd);
}

void TakeOverOwnerAndMode(int, const std::string& temp, const std::string& target) {
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (!ec && fs::exists(status)) {
        fs::permissions(temp, status.permissions(), ec);
    }
}

void SyncDirectoryOf(const std::string&) {} // NTFS journals the rename itself

#else

int OpenExclusive(const std::string& path) {
    // 0666 less the umask, like any new file; the target's mode is applied afterwards.
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

long long WriteSome(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, std::min<std::size_t>(size, std::size_t{1} << 30));
}

int SyncFile(int fd) {
    return ::fsync(fd);
}
int CloseFile(int fd) {
    return ::close(fd);
}

// Best effort: a file saved by another user (root, say) stays the owner's.
void TakeOverOwnerAndMode(int fd, const std::string&, const std::string& target) {
    struct stat st;
    if (::stat(target.c_str(), &st) != 0) {
        return;
    }
    if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
        // Not permitted for an ordinary user when the group differs; the mode still follows.
    }
    ::fchmod(fd, st.st_mode & 07777);
}

// Makes the rename itself durable.
void SyncDirectoryOf(const std::string& path) {
    std::string dir = fs::path(path).parent_path().string();
    if (dir.empty()) {
        dir = ".";
    }
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

#endif

std::string RandomSuffix() {
    static constexpr char kChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kChars) - 2);
    std::string suffix(6, ' ');
    for (char& c : suffix) {
        c = kChars[pick(engine)];
    }
    return suffix;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// The file a save should replace: through a symbolic link to its target, so the link stays.
std::string ResolveTarget(const std::string& path) {
    std::error_code ec;
    if (fs::is_symlink(path, ec)) {
        const fs::path resolved = fs::canonical(path, ec);
        if (!ec) {
            return resolved.string();
        }
    }
    return path;
}

} // namespace

AtomicFileWriter::AtomicFileWriter() = default;

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

bool AtomicFileWriter::Fail(const std::string& what, const std::string& file,
                            const std::string& reason) {
    failed_ = true;
    error_ = what + " " + Quoted(file);
    if (!reason.empty()) {
        error_ += ": " + reason;
    }
    return false;
}

void AtomicFileWriter::Discard() {
    if (fd_ >= 0) {
        CloseFile(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        std::remove(tempPath_.c_str());
        tempPath_.clear();
    }
    buffer_.clear();
}

bool AtomicFileWriter::Open(const std::string& path) {
    Discard();
    failed_ = false;
    error_.clear();
    targetPath_ = ResolveTarget(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = targetPath_ + ".tmp-" + RandomSuffix();
        fd_ = OpenExclusive(candidate);
        if (fd_ >= 0) {
            tempPath_ = candidate;
            break;
        }
        if (errno != EEXIST) {
            return Fail("Cannot save", path, std::strerror(errno));
        }
    }
    if (fd_ < 0) {
        return Fail("Cannot create a temporary file for", path, std::strerror(EEXIST));
    }
    TakeOverOwnerAndMode(fd_, tempPath_, targetPath_);
    buffer_.reserve(kBufferSize);
    return true;
}

bool AtomicFileWriter::WriteOut(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long long n = WriteSome(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail("Cannot write", targetPath_, std::strerror(errno));
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFileWriter::Flush() {
    const bool ok = WriteOut(buffer_);
    buffer_.clear();
    return ok;
}

bool AtomicFileWriter::Write(std::string_view bytes) {
    if (failed_) {
        return false;
    }
    if (fd_ < 0) {
        return Fail("No file open for writing", targetPath_, "");
    }
    if (buffer_.size() + bytes.size() <= kBufferSize) {
        buffer_.append(bytes);
        return true;
    }
    if (!Flush()) {
        return false;
    }
    if (bytes.size() < kBufferSize) {
        buffer_.append(bytes);
        return true;
    }
    // Large pieces go out directly rather than through the buffer.
    return WriteOut(bytes);
}

bool AtomicFileWriter::Commit() {
    if (fd_ < 0) {
        if (!failed_) {
            Fail("No file open for writing", targetPath_, "");
        }
        return false;
    }
    bool ok = !failed_ && Flush();
    if (ok && durable_ && SyncFile(fd_) != 0) {
        ok = Fail("Cannot write", targetPath_, std::strerror(errno));
    }
    const int closeResult = CloseFile(fd_);
    fd_ = -1;
    if (ok && closeResult != 0) {
        ok = Fail("Cannot write", targetPath_, std::strerror(errno));
    }
    if (ok) {
        std::error_code ec;
        fs::rename(tempPath_, targetPath_, ec);
        if (ec) {
            ok = Fail("Cannot replace", targetPath_, ec.message());
        }
    }
    if (!ok) {
        Discard();
        return false;
    }
    tempPath_.clear();
    if (durable_) {
        SyncDirectoryOf(targetPath_);
    }
    return true;
}

bool CopyFileBytes(const std::string& from, const std::string& to, std::string* error) {
    auto report = [&](const std::string& message) {
        if (error != nullptr) {
            *error = message;
        }
        return false;
    };
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (in == nullptr) {
        return report("Cannot open " + Quoted(from) + ": " + std::strerror(errno));
    }
    AtomicFileWriter writer;
    if (!writer.Open(to)) {
        std::fclose(in);
        return report(writer.Error());
    }
    std::string chunk(kBufferSize, '\0');
    for (;;) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in);
        if (n > 0 && !writer.Write(std::string_view(chunk.data(), n))) {
            std::fclose(in);
            return report(writer.Error());
        }
        if (n < chunk.size()) {
            break;
        }
    }
    const bool readFailed = std::ferror(in) != 0;
    const int readError = errno;
    std::fclose(in);
    if (readFailed) {
        return report("Cannot read " + Quoted(from) + ": " + std::strerror(readError));
    }
    if (!writer.Commit()) {
        return report(writer.Error());
    }
    return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) {
        return std::nullopt;
    }
    std::string content;
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (!ec) {
        content.reserve(static_cast<std::size_t>(size));
    }
    char chunk[65536];
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, in);
        content.append(chunk, n);
        if (n < sizeof chunk) {
            break;
        }
    }
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) {
        return std::nullopt;
    }
    return content;
}

} // namespace quill
