// Jobs done behind the caller: in order, never more held than allowed, the storage of jobs
// done handed back for reuse, and the first failure ending the work.

#include "core/util/done_behind.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace quill {
namespace {

// Few held (handed over one by one) and many (handed over a batch at a time).
TEST(DoneBehindTest, JobsAreDoneInOrderWithNoMoreHeldThanAllowed) {
    for (const int held : {3, 256}) {
        SCOPED_TRACE(held);
        std::vector<int> done;
        std::atomic<int> finished{0};
        DoneBehind<int> behind(static_cast<std::size_t>(held), [&](int& job) {
            done.push_back(job);
            ++finished;
            return std::string();
        });
        for (int i = 0; i < 2000; ++i) {
            int job = i;
            ASSERT_TRUE(behind.Give(job));
            EXPECT_LE(i + 1 - finished.load(), held) << "held after giving job " << i;
        }
        ASSERT_TRUE(behind.WaitUntilDone());
        EXPECT_EQ(finished.load(), 2000);
        // The thread stays for more after a wait.
        int last = 2000;
        ASSERT_TRUE(behind.Give(last));
        ASSERT_TRUE(behind.Finish());
        ASSERT_EQ(done.size(), 2001u);
        for (int i = 0; i <= 2000; ++i) {
            ASSERT_EQ(done[static_cast<std::size_t>(i)], i);
        }
    }
}

// A batch not yet full is not left waiting for jobs that never come.
TEST(DoneBehindTest, JobsShortOfABatchAreDoneWhenTheCallerWaitsForThem) {
    std::atomic<int> finished{0};
    DoneBehind<int> behind(256, [&](int&) {
        ++finished;
        return std::string();
    });
    for (int round = 1; round <= 3; ++round) {
        for (int i = 0; i < 5; ++i) {
            int job = i;
            ASSERT_TRUE(behind.Give(job));
        }
        ASSERT_TRUE(behind.WaitUntilDone());
        EXPECT_EQ(finished.load(), 5 * round);
    }
    int job = 0;
    ASSERT_TRUE(behind.Give(job));
    ASSERT_TRUE(behind.Finish());
    EXPECT_EQ(finished.load(), 16);
}

TEST(DoneBehindTest, AJobDoneComesBackForItsStorageToBeUsedAgain) {
    DoneBehind<std::string> behind(1, [](std::string&) { return std::string(); });
    std::string piece(100'000, 'a');
    ASSERT_TRUE(behind.Give(piece));
    EXPECT_TRUE(piece.empty()); // nothing was done before the first
    piece.assign(10, 'b');
    ASSERT_TRUE(behind.Give(piece)); // waits for the first, which comes back
    EXPECT_EQ(piece.size(), 100'000u);
    EXPECT_TRUE(behind.Finish());
}

TEST(DoneBehindTest, TheFirstFailureDropsTheRestAndLeavesLaterJobsWithTheCaller) {
    std::vector<int> done;
    DoneBehind<int> behind(4, [&](int& job) {
        done.push_back(job);
        return job == 5 ? std::string("job 5 failed") : std::string();
    });
    bool refused = false;
    int job = 0;
    for (int i = 0; i < 1000 && !refused; ++i) {
        job = i;
        refused = !behind.Give(job);
    }
    ASSERT_TRUE(refused);
    EXPECT_GT(job, 5); // left with the caller, not taken
    EXPECT_FALSE(behind.WaitUntilDone());
    EXPECT_FALSE(behind.Finish());
    EXPECT_EQ(behind.Error(), "job 5 failed");
    ASSERT_FALSE(done.empty());
    EXPECT_EQ(done.back(), 5) << "a job was done after the failure";
}

TEST(DoneBehindTest, AbandonDropsWhatHasNotBegunAndWaitsForTheJobBeingDone) {
    std::atomic<bool> release{false};
    std::atomic<int> started{0};
    std::atomic<int> finished{0};
    DoneBehind<int> behind(10, [&](int&) {
        ++started;
        while (!release.load()) {
            std::this_thread::yield();
        }
        ++finished;
        return std::string();
    });
    for (int i = 0; i < 5; ++i) {
        int job = i;
        ASSERT_TRUE(behind.Give(job));
    }
    while (started.load() == 0) {
        std::this_thread::yield();
    }
    // The first job is held up until Abandon has long dropped the others.
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        release = true;
    });
    behind.Abandon();
    EXPECT_EQ(finished.load(), 1); // waited for
    releaser.join();
    EXPECT_EQ(started.load(), 1);
}

} // namespace
} // namespace quill
