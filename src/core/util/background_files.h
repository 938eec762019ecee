#pragma once
// Many small files (the cards of a published site) written on a thread of their own while the
// caller makes the next ones: creating a file costs the system about as much as making its
// text costs us, so the two overlap.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace quill {

class BackgroundFileWriter {
public:
    BackgroundFileWriter() = default;
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
    const std::string& Error() const { return error_; }

private:
    void WriteQueued();
    void Stop();

    static constexpr std::size_t kMaxQueued = 256;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<std::string, std::string>> queued_;
    bool writing_ = false; // a file taken off the queue is being written
    bool quit_ = false;
    bool failed_ = false;
    std::string error_;
    std::thread thread_;
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
