#pragma once
// Work done behind the caller, on a thread of its own: jobs are done in the order they are
// given while the caller makes the next ones (pieces of a file written while the next are
// made, the cards of a published site written while the pages are made). At most a set
// number are held, waiting or being done; the caller waits for room. The first job that fails
// ends the work: the jobs after it are dropped and every later call says so. The counterpart
// of FilledAhead, which works ahead of the caller instead.
//
// With many held, the two threads meet once a batch rather than once a job: the thread starts
// on a full batch (or when the caller waits for the end), and a caller that found no room
// waits until a batch fits. Waking a sleeping thread costs more than a small job (a published
// site's card file), so meeting once a job cost more than the jobs themselves.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace quill {

template <typename Job> class DoneBehind {
public:
    // work does one job and answers what went wrong, or nothing when it was done. The thread
    // starts with the first job given.
    DoneBehind(std::size_t held, std::function<std::string(Job&)> work)
        : held_(held == 0 ? 1 : held), batch_(held_ >= 8 ? held_ / 4 : 1), work_(std::move(work)) {}
    DoneBehind(const DoneBehind&) = delete;
    DoneBehind& operator=(const DoneBehind&) = delete;
    ~DoneBehind() { Abandon(); }

    // Takes the job over, waiting while as many as may be held are. In its place the caller
    // gets a job done before (or a new one), so that the storage of jobs is used again. False,
    // the job left with the caller, once a job has failed.
    bool Give(Job& job) {
        std::unique_lock lock(mutex_);
        if (Held() >= held_) {
            changed_.wait(lock, [&] { return failed_ || Held() + batch_ <= held_; });
        }
        if (failed_) {
            return false;
        }
        queued_.push_back(std::move(job));
        job = std::exchange(spare_, Job{});
        if (!thread_.joinable()) {
            thread_ = std::thread([this] { DoQueued(); });
        }
        if (queued_.size() >= batch_) {
            changed_.notify_all();
        }
        return true;
    }

    // Waits until every job given is done, the thread kept for more; false when one failed.
    bool WaitUntilDone() {
        std::unique_lock lock(mutex_);
        ++draining_; // the jobs of a batch not yet full are begun
        changed_.notify_all();
        changed_.wait(lock, [&] { return failed_ || (queued_.empty() && doing_ == 0); });
        --draining_;
        return !failed_;
    }

    // Waits until every job given is done and ends the thread; false when one failed.
    bool Finish() {
        const bool done = WaitUntilDone();
        Stop();
        return done;
    }

    // Drops the jobs not yet begun and waits for the one being done: no job is done after it
    // returns.
    void Abandon() {
        {
            std::lock_guard lock(mutex_);
            queued_.clear();
        }
        Stop();
    }

    // What went wrong with the job that failed.
    const std::string& Error() const { return error_; }

private:
    void DoQueued() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] {
                return quit_ || queued_.size() >= batch_ || (draining_ > 0 && !queued_.empty());
            });
            if (queued_.empty() || failed_) {
                return; // asked to end, with nothing (more) to do
            }
            Job job = std::move(queued_.front());
            queued_.pop_front();
            doing_ = 1;
            lock.unlock();
            std::string error = work_(job);
            lock.lock();
            doing_ = 0;
            spare_ = std::move(job);
            if (!error.empty() && !failed_) {
                failed_ = true;
                error_ = std::move(error);
                queued_.clear();
            }
            // Without a waiter this costs nothing; a caller waiting for room wakes once a
            // batch fits, one waiting for the end once all is done.
            if (failed_ || queued_.empty() || Held() + batch_ <= held_) {
                changed_.notify_all();
            }
        }
    }

    std::size_t Held() const { return queued_.size() + doing_; }

    void Stop() {
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

    const std::size_t held_;
    const std::size_t batch_; // jobs handed over at once
    std::function<std::string(Job&)> work_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> queued_;
    std::size_t doing_ = 0;    // a job taken off the queue is being done
    std::size_t draining_ = 0; // callers waiting for every job to be done
    Job spare_{};              // the job done last, handed back by the next Give
    bool quit_ = false;
    bool failed_ = false;
    std::string error_;
    std::thread thread_;
};

} // namespace quill
