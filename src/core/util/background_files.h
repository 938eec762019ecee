#pragma once
// Many small files (the cards of a published site) written on a thread of their own while the
// caller makes the next ones: creating a file costs the system about as much as making its
// text costs us, so the two overlap.

#include "core/util/done_behind.h"

#include <string>
#include <utility>

namespace quill {

class BackgroundFileWriter {
public:
    BackgroundFileWriter();
    ~BackgroundFileWriter(); // as Abandon
    BackgroundFileWriter(const BackgroundFileWriter&) = delete;
    BackgroundFileWriter& operator=(const BackgroundFileWriter&) = delete;

    // Queues a file, written in turn as SaveCopyFile writes it; waits while many are queued.
    // False once a file could not be written: the caller should make no more.
    bool Write(std::string path, std::string bytes);
    // Waits until every file queued is written; false when one could not be.
    bool Finish();
    // Drops the files not yet begun and waits for the one being written: nothing is written
    // after it returns.
    void Abandon();
    // The first failure: which file, and why.
    const std::string& Error() const { return files_.Error(); }

private:
    static constexpr std::size_t kMaxQueued = 256;
    DoneBehind<std::pair<std::string, std::string>> files_;
};

// Installs a writer for the files saved on this thread while the scope lives (nests), so
// that the savers keep their signatures: a saver that finds one queues its file there.
class BackgroundFileScope {
public:
    explicit BackgroundFileScope(BackgroundFileWriter& writer);
    ~BackgroundFileScope();
    BackgroundFileScope(const BackgroundFileScope&) = delete;
    BackgroundFileScope& operator=(const BackgroundFileScope&) = delete;

private:
    BackgroundFileWriter* previous_;
};

// The writer installed on this thread, or none.
BackgroundFileWriter* CurrentBackgroundFileWriter();

} // namespace quill
