#pragma once
// Work done ahead of its use, on a thread of its own: slots are filled in order while the
// caller uses the one filled before (a file's next pieces read while the lines of this one
// are taken apart, the next vCards parsed while the items of this one are made). A slot is
// the filling thread's until it is filled, then the caller's until the caller asks for the
// next one; the slots are reused in turn, so what they hold is made once.

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace quill {

template <typename Slot> class FilledAhead {
public:
    // fill fills the slot given with the next item and returns false when there is none. With
    // more than one slot they are filled on a thread of their own, which passes them over a
    // batch at a time (little work a slot makes meeting once a slot costly); with one, it is
    // filled on the caller's thread at each call of Next.
    FilledAhead(std::vector<Slot> slots, std::size_t batch, std::function<bool(Slot&)> fill)
        : slots_(std::move(slots)), batch_(batch == 0 ? 1 : batch), fill_(std::move(fill)) {
        if (slots_.size() > 1) {
            thread_ = std::thread([this] { FillAhead(); });
        }
    }
    FilledAhead(const FilledAhead&) = delete;
    FilledAhead& operator=(const FilledAhead&) = delete;
    ~FilledAhead() { Stop(); }

    // The next slot filled, which stays the caller's until the next call; nullptr at the end.
    Slot* Next() {
        if (!thread_.joinable()) {
            return !slots_.empty() && fill_(slots_[0]) ? &slots_[0] : nullptr;
        }
        if (taken_ == available_) {
            std::unique_lock lock(mutex_);
            released_ = taken_; // the slot handed out last time is done with
            changed_.notify_all();
            changed_.wait(lock, [&] { return filled_ > taken_ || finished_; });
            available_ = filled_;
            if (available_ == taken_) {
                return nullptr;
            }
        }
        return &slots_[taken_++ % slots_.size()];
    }

    // Ends the filling ahead: fill is not called once this returns.
    void Stop() {
        if (!thread_.joinable()) {
            return;
        }
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

private:
    void FillAhead() {
        const std::size_t count = slots_.size();
        std::size_t room = 0; // slots may be filled up to this item
        for (std::size_t i = 0;; ++i) {
            if (i % batch_ == 0 || i >= room) {
                std::unique_lock lock(mutex_);
                filled_ = i;
                changed_.notify_all();
                // A slot is free once the caller is done with the item it held.
                changed_.wait(lock, [&] { return quit_ || i < released_ + count; });
                if (quit_) {
                    return;
                }
                room = released_ + count;
            }
            if (!fill_(slots_[i % count])) {
                std::lock_guard lock(mutex_);
                filled_ = i;
                finished_ = true;
                changed_.notify_all();
                return;
            }
        }
    }

    std::vector<Slot> slots_;
    std::size_t batch_;
    std::function<bool(Slot&)> fill_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t filled_ = 0;   // items filled, as the caller may know it
    std::size_t released_ = 0; // items the caller is done with
    bool finished_ = false;    // fill found no more
    bool quit_ = false;
    std::size_t taken_ = 0;     // items handed out (the caller's alone)
    std::size_t available_ = 0; // filled_ as the caller last read it (the caller's alone)
    std::thread thread_;
};

} // namespace quill
