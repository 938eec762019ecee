#pragma once
// Saving a file so that a failure never leaves it half written: the new content goes to a
// temporary file in the same directory, is synced to disk and then renamed over the target.

#include "core/util/done_behind.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class AtomicFileWriter {
public:
    AtomicFileWriter();
    ~AtomicFileWriter(); // without a successful Commit the temporary file is removed
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file beside path (a symbolic link is followed, so the link stays).
    bool Open(const std::string& path);
    // Buffered; a failed write makes every later call and Commit fail.
    bool Write(std::string_view bytes);
    // Writes a large piece while the caller goes on making the next: the writer takes the
    // bytes over, and hands back in their place an emptied buffer of an earlier piece (of
    // the same capacity after the first). A failure is reported by a later call or Commit.
    bool WriteHandingOver(std::string& bytes);
    // Flushes, syncs and renames over the target, which keeps its permission bits.
    bool Commit();
    // Files that are only copies of the outline (published pages, vCard files) need not
    // wait for the disk: they are still replaced whole, but not synced.
    void SetDurable(bool durable) { durable_ = durable; }
    // Copies of the user's contacts kept beside the data file (recovery and autosave files)
    // are readable by the user alone, whatever the umask or an older file's mode. Call before
    // Open.
    void SetPrivate(bool userOnly) { private_ = userOnly; }
    // Commit never replaces an existing file: it fails when the target exists (a recovery
    // file must not overwrite another one).
    void SetExclusive(bool exclusive) { exclusive_ = exclusive; }

    // What went wrong, with the file's name, for the user.
    std::string Error() const { return error_; }
    const std::string& TempPath() const { return tempPath_; }

private:
    bool Flush();
    bool WriteOut(std::string_view bytes);
    int WriteAll(std::string_view bytes); // 0 or the errno of the failure
    bool WaitForBehind();                 // the piece handed over is written; false if not
    void StopBehind();
    bool Fail(const std::string& what, const std::string& file, const std::string& reason);
    void Discard();

    std::string targetPath_;
    std::string tempPath_;
    std::string buffer_;
    std::string error_;
    int fd_ = -1;
    bool failed_ = false;
    bool durable_ = true;
    bool private_ = false;
    bool exclusive_ = false;
    std::size_t written_ = 0;   // bytes written to the temporary file
    std::size_t kickedOff_ = 0; // of those, how many the disk was asked to take early
    // The writing of pieces handed over (one at a time), once there is one.
    std::unique_ptr<DoneBehind<std::string>> behind_;
};

// Whether fileName (without a directory) is a temporary file that a save of base left
// behind: base + ".tmp-" + six letters or digits. A base ending in "*" stands for every name
// that starts with what comes before it.
bool IsTempFileOf(std::string_view fileName, std::string_view base);

// Removes the temporary files that saves of the given base names left in directory (a save
// killed part-way leaves one) when they are older than minimumAge, so that a save still
// running in another process keeps its file. Returns the paths removed.
std::vector<std::string> SweepStaleTempFiles(const std::string& directory,
                                             const std::vector<std::string>& bases,
                                             std::chrono::seconds minimumAge);

// Saves a small file that is only a copy of the outline (a published vCard file): a file
// that does not exist yet is created and written in place, since there is nothing to replace
// and a failure removes what was written; an existing one (or a link) is replaced as an
// AtomicFileWriter replaces it, not synced. On failure *error, when given, says why.
bool SaveCopyFile(const std::string& path, std::string_view bytes, std::string* error);

// Copies the bytes of from to to (written atomically). On failure *error, when given, says why.
bool CopyFileBytes(const std::string& from, const std::string& to, std::string* error);

// The whole content, or nullopt when the file cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// For tests: while an object of this class lives, one step of the saves made by
// AtomicFileWriter fails with the given error number, as a full or failing disk would make
// it fail whatever the user's rights (a test run as root ignores permission bits). One at a
// time, on one thread.
class ScopedFileFault {
public:
    enum class Step { Create, Write, Sync, Close, Rename };

    // Saves whose target has the file name fileName fail (every save when it is empty). For
    // Write, bytesBeforeFailure bytes of those saves still go out: a disk that fills part-way
    // cuts one write short and fails the next.
    ScopedFileFault(Step step, int error, std::string fileName = {},
                    std::size_t bytesBeforeFailure = 0);
    ~ScopedFileFault();
    ScopedFileFault(const ScopedFileFault&) = delete;
    ScopedFileFault& operator=(const ScopedFileFault&) = delete;

    // How many calls were made to fail, so a test knows the fault was reached.
    int Failures() const { return failures_; }

    // The writer's side: 0, or the error number with which this step of a save of target
    // fails. For Write, *size is cut to what may still go out before the failure.
    static int Injected(Step step, const std::string& target, std::size_t* size = nullptr);

private:
    Step step_;
    int error_;
    std::string fileName_;
    std::size_t bytesLeft_;
    int failures_ = 0;
};

} // namespace quill
