#include "core/util/background_files.h"

#include "core/util/atomic_file.h"

namespace quill {

namespace {
thread_local BackgroundFileWriter* current = nullptr;
} // namespace

BackgroundFileScope::BackgroundFileScope(BackgroundFileWriter& writer) : previous_(current) {
    current = &writer;
}

BackgroundFileScope::~BackgroundFileScope() {
    current = previous_;
}

BackgroundFileWriter* CurrentBackgroundFileWriter() {
    return current;
}

BackgroundFileWriter::~BackgroundFileWriter() {
    Abandon();
}

bool BackgroundFileWriter::Write(std::string path, std::string bytes) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return failed_ || queued_.size() < kMaxQueued; });
    if (failed_) {
        return false;
    }
    queued_.emplace_back(std::move(path), std::move(bytes));
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { WriteQueued(); });
    }
    changed_.notify_all();
    return true;
}

void BackgroundFileWriter::WriteQueued() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return quit_ || !queued_.empty(); });
        if (queued_.empty() || failed_) {
            return; // asked to end, with nothing (more) to write
        }
        std::pair<std::string, std::string> file = std::move(queued_.front());
        queued_.pop_front();
        writing_ = true;
        changed_.notify_all(); // room in the queue
        lock.unlock();
        std::string error;
        const bool saved = SaveCopyFile(file.first, file.second, &error);
        lock.lock();
        writing_ = false;
        if (!saved && !failed_) {
            failed_ = true;
            error_ = std::move(error);
            queued_.clear();
        }
        changed_.notify_all();
    }
}

void BackgroundFileWriter::Stop() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
    quit_ = false;
}

bool BackgroundFileWriter::Finish() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return failed_ || (queued_.empty() && !writing_); });
    }
    Stop();
    return !failed_;
}

void BackgroundFileWriter::Abandon() {
    {
        std::lock_guard lock(mutex_);
        queued_.clear();
    }
    Stop();
}

} // namespace quill
