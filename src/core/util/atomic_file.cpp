// One of the two places of the core that call the operating system (memory_blocks.cpp is the
// other): the standard library has no way to sync a file to disk or to create a file exclusively.
#include "core/util/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <utility>

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
// Pieces this large gain nothing from being copied into the buffer first.
constexpr std::size_t kDirectSize = std::size_t{64} << 10;
// How much a durable save writes before it asks for those bytes to go out to the disk.
constexpr std::size_t kWritebackStep = std::size_t{8} << 20;

#ifdef _WIN32

int SysOpenExclusive(const std::string& path, bool) {
    return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                 _S_IREAD | _S_IWRITE);
}

// Fails when the target exists.
bool SysRenameNoReplace(const std::string& from, const std::string& to, std::string* reason) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        *reason = std::strerror(errno);
        return false;
    }
    return true;
}

long long SysWrite(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}

int SysSync(int fd) {
    return _commit(fd);
}
void SysStartWriteback(int, std::size_t, std::size_t) {}
int SysClose(int fd) {
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

int SysOpenExclusive(const std::string& path, bool userOnly) {
    // 0666 less the umask, like any new file; the target's mode is applied afterwards.
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, userOnly ? 0600 : 0666);
}

// A hard link fails when the target exists, where a rename would replace it.
bool SysRenameNoReplace(const std::string& from, const std::string& to, std::string* reason) {
    if (::link(from.c_str(), to.c_str()) != 0) {
        *reason = std::strerror(errno);
        return false;
    }
    ::unlink(from.c_str());
    return true;
}

long long SysWrite(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, std::min<std::size_t>(size, std::size_t{1} << 30));
}

int SysSync(int fd) {
    return ::fsync(fd);
}

// Asks the system to start writing a range out now, without waiting: a large save's bytes are
// then mostly on their way to the disk by the time the sync at its end waits for them.
void SysStartWriteback(int fd, std::size_t offset, std::size_t size) {
#ifdef SYNC_FILE_RANGE_WRITE
    ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(size),
                      SYNC_FILE_RANGE_WRITE);
#else
    (void)fd, (void)offset, (void)size;
#endif
}
int SysClose(int fd) {
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

// The calls of a save, each of which a ScopedFileFault can make fail. target is the file the
// save replaces.
using Step = ScopedFileFault::Step;

int OpenExclusive(const std::string& path, bool userOnly, const std::string& target) {
    if (const int injected = ScopedFileFault::Injected(Step::Create, target)) {
        errno = injected;
        return -1;
    }
    return SysOpenExclusive(path, userOnly);
}

long long WriteSome(int fd, const char* data, std::size_t size, const std::string& target) {
    if (const int injected = ScopedFileFault::Injected(Step::Write, target, &size)) {
        errno = injected;
        return -1;
    }
    return SysWrite(fd, data, size);
}

int SyncFile(int fd, const std::string& target) {
    if (const int injected = ScopedFileFault::Injected(Step::Sync, target)) {
        errno = injected;
        return -1;
    }
    return SysSync(fd);
}

// The descriptor is closed even when the close reports an error.
int CloseFile(int fd, const std::string& target) {
    const int result = SysClose(fd);
    if (const int injected = ScopedFileFault::Injected(Step::Close, target)) {
        errno = injected;
        return -1;
    }
    return result;
}

bool RenameNoReplace(const std::string& from, const std::string& to, std::string* reason) {
    if (const int injected = ScopedFileFault::Injected(Step::Rename, to)) {
        *reason = std::strerror(injected);
        return false;
    }
    return SysRenameNoReplace(from, to, reason);
}

bool RenameOver(const std::string& from, const std::string& to, std::string* reason) {
    if (const int injected = ScopedFileFault::Injected(Step::Rename, to)) {
        *reason = std::strerror(injected);
        return false;
    }
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) {
        *reason = ec.message();
        return false;
    }
    return true;
}

ScopedFileFault* activeFault = nullptr;

constexpr std::string_view kTempInfix = ".tmp-";
constexpr std::size_t kSuffixLength = 6;

std::string RandomSuffix() {
    static constexpr char kChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kChars) - 2);
    std::string suffix(kSuffixLength, ' ');
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
    StopBehind();
    if (fd_ >= 0) {
        SysClose(fd_);
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
    written_ = kickedOff_ = 0;
    targetPath_ = ResolveTarget(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = targetPath_ + std::string(kTempInfix) + RandomSuffix();
        fd_ = OpenExclusive(candidate, private_, targetPath_);
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
    if (!private_) {
        TakeOverOwnerAndMode(fd_, tempPath_, targetPath_);
    }
    buffer_.reserve(kBufferSize);
    return true;
}

int AtomicFileWriter::WriteAll(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long long n = WriteSome(fd_, bytes.data() + done, bytes.size() - done, targetPath_);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    written_ += bytes.size();
    if (durable_ && written_ - kickedOff_ >= kWritebackStep) {
        SysStartWriteback(fd_, kickedOff_, written_ - kickedOff_);
        kickedOff_ = written_;
    }
    return 0;
}

bool AtomicFileWriter::WriteOut(std::string_view bytes) {
    const int error = WriteAll(bytes);
    return error == 0 || Fail("Cannot write", targetPath_, std::strerror(error));
}

bool AtomicFileWriter::WaitForBehind() {
    return !behind_ || behind_->WaitUntilDone() ||
           Fail("Cannot write", targetPath_, behind_->Error());
}

void AtomicFileWriter::StopBehind() {
    if (behind_) {
        behind_->Abandon(); // after the piece in flight, if any
        behind_.reset();
    }
}

bool AtomicFileWriter::WriteHandingOver(std::string& bytes) {
    if (failed_ || !WaitForBehind()) {
        bytes.clear();
        return false;
    }
    if (fd_ < 0) {
        return Fail("No file open for writing", targetPath_, "");
    }
    // What was buffered goes first, in order.
    if (!Flush()) {
        return false;
    }
    if (!behind_) {
        // One piece in flight at a time, and the writer touches the file itself only once
        // it has been written.
        behind_ = std::make_unique<DoneBehind<std::string>>(1, [this](std::string& piece) {
            const int error = WriteAll(piece);
            return error == 0 ? std::string() : std::string(std::strerror(error));
        });
    }
    const std::size_t capacity = bytes.capacity();
    if (!behind_->Give(bytes)) {
        bytes.clear();
        return WaitForBehind();
    }
    bytes.clear();
    if (bytes.capacity() < capacity) {
        // A fresh buffer of exactly that size: growing the smaller one would double it, and
        // buffers handed over in turn would keep doubling each other.
        std::string fresh;
        fresh.reserve(capacity);
        bytes.swap(fresh);
    }
    return true;
}

bool AtomicFileWriter::Flush() {
    if (!WaitForBehind()) {
        return false;
    }
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
    if (bytes.size() < kDirectSize && buffer_.size() + bytes.size() <= kBufferSize) {
        buffer_.append(bytes);
        return true;
    }
    if (!Flush()) {
        return false;
    }
    if (bytes.size() < kDirectSize) {
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
    StopBehind();
    // Synced before the rename: a crash after it must find the new content on disk.
    if (ok && durable_ && SyncFile(fd_, targetPath_) != 0) {
        ok = Fail("Cannot write", targetPath_, std::strerror(errno));
    }
    const int closeResult = CloseFile(fd_, targetPath_);
    fd_ = -1;
    if (ok && closeResult != 0) {
        ok = Fail("Cannot write", targetPath_, std::strerror(errno));
    }
    std::string reason;
    if (ok && exclusive_) {
        if (!RenameNoReplace(tempPath_, targetPath_, &reason)) {
            ok = Fail("Cannot create", targetPath_, reason);
        }
    } else if (ok && !RenameOver(tempPath_, targetPath_, &reason)) {
        ok = Fail("Cannot replace", targetPath_, reason);
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

bool SaveCopyFile(const std::string& path, std::string_view bytes, std::string* error) {
    auto report = [&](const std::string& message) {
        if (error != nullptr) {
            *error = message;
        }
        return false;
    };
    const int fd = OpenExclusive(path, false, path);
    if (fd < 0) {
        if (errno != EEXIST) {
            return report("Cannot save " + Quoted(path) + ": " + std::strerror(errno));
        }
        AtomicFileWriter writer;
        writer.SetDurable(false);
        if (!writer.Open(path) || !writer.Write(bytes) || !writer.Commit()) {
            return report(writer.Error());
        }
        return true;
    }
    std::size_t done = 0;
    int failure = 0;
    while (done < bytes.size()) {
        const long long n = WriteSome(fd, bytes.data() + done, bytes.size() - done, path);
        if (n < 0 && errno != EINTR) {
            failure = errno;
            break;
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    if (CloseFile(fd, path) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure != 0) {
        std::remove(path.c_str());
        return report("Cannot write " + Quoted(path) + ": " + std::strerror(failure));
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

bool IsTempFileOf(std::string_view fileName, std::string_view base) {
    const std::size_t tail = kTempInfix.size() + kSuffixLength;
    if (fileName.size() <= tail) {
        return false;
    }
    const std::string_view stem = fileName.substr(0, fileName.size() - tail);
    const bool stemMatches = !base.empty() && base.back() == '*'
                                 ? stem.size() >= base.size() && stem.substr(0, base.size() - 1) ==
                                                                     base.substr(0, base.size() - 1)
                                 : stem == base;
    if (!stemMatches || fileName.substr(stem.size(), kTempInfix.size()) != kTempInfix) {
        return false;
    }
    for (const char c : fileName.substr(stem.size() + kTempInfix.size())) {
        const bool alnum =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alnum) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> SweepStaleTempFiles(const std::string& directory,
                                             const std::vector<std::string>& bases,
                                             std::chrono::seconds minimumAge) {
    std::vector<std::string> removed;
    std::error_code ec;
    fs::directory_iterator entries(directory, ec);
    if (ec) {
        return removed;
    }
    const auto now = fs::file_time_type::clock::now();
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        bool ours = false;
        for (const std::string& base : bases) {
            ours = ours || IsTempFileOf(name, base);
        }
        // Only plain files of ours: a link or a directory of that name is someone else's.
        if (!ours || !entry.is_regular_file(ec) || entry.is_symlink(ec)) {
            continue;
        }
        const auto written = entry.last_write_time(ec);
        if (ec || now - written < minimumAge) {
            continue;
        }
        if (fs::remove(entry.path(), ec)) {
            removed.push_back(entry.path().string());
        }
    }
    return removed;
}

ScopedFileFault::ScopedFileFault(Step step, int error, std::string fileName,
                                 std::size_t bytesBeforeFailure)
    : step_(step), error_(error), fileName_(std::move(fileName)), bytesLeft_(bytesBeforeFailure) {
    activeFault = this;
}

ScopedFileFault::~ScopedFileFault() {
    if (activeFault == this) {
        activeFault = nullptr;
    }
}

int ScopedFileFault::Injected(Step step, const std::string& target, std::size_t* size) {
    ScopedFileFault* fault = activeFault;
    if (fault == nullptr || fault->step_ != step ||
        (!fault->fileName_.empty() && fs::path(target).filename() != fault->fileName_)) {
        return 0;
    }
    if (step == Step::Write && size != nullptr && fault->bytesLeft_ > 0) {
        *size = std::min(*size, fault->bytesLeft_);
        fault->bytesLeft_ -= *size;
        return 0;
    }
    ++fault->failures_;
    return fault->error_;
}

} // namespace quill
