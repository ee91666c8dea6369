// The lock beside a log that keeps two runs from reading each other's results.

#include "cli/LogInUseLock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "support/TempFolder.h"

namespace orv::cli {
namespace {

namespace fs = std::filesystem;
using Outcome = LogInUseLock::Outcome;

TEST(LogInUseLock, ASecondRunIsRefusedWhileTheFirstHoldsItAndTheLockFileGoesWithTheLock) {
    test::TempFolder folder;
    const std::string log = (folder.path() / "analysis.log").string();
    const fs::path lockFile = log + ".lock";
    LogInUseLock first;
    ASSERT_EQ(LogInUseLock::Take(log, first), Outcome::Held);
    EXPECT_TRUE(first.held());
    EXPECT_TRUE(fs::exists(lockFile));

    LogInUseLock second;
    EXPECT_EQ(LogInUseLock::Take(log, second), Outcome::InUse);
    EXPECT_FALSE(second.held());

    first.Release();
    EXPECT_FALSE(first.held());
    EXPECT_FALSE(fs::exists(lockFile));
    EXPECT_EQ(LogInUseLock::Take(log, second), Outcome::Held);
}

TEST(LogInUseLock, ALockFileLeftBehindIsTakenOver) {
    test::TempFolder folder;
    const std::string log = (folder.path() / "analysis.log").string();
    folder.Write("analysis.log.lock", "");  // a run that crashed
    LogInUseLock lock;
    EXPECT_EQ(LogInUseLock::Take(log, lock), Outcome::Held);
}

TEST(LogInUseLock, MovingALockOverAnotherReleasesTheOneItReplaces) {
    test::TempFolder folder;
    const std::string logA = (folder.path() / "a.log").string();
    const std::string logB = (folder.path() / "b.log").string();
    LogInUseLock a;
    LogInUseLock b;
    ASSERT_EQ(LogInUseLock::Take(logA, a), Outcome::Held);
    ASSERT_EQ(LogInUseLock::Take(logB, b), Outcome::Held);
    a = std::move(b);
    EXPECT_FALSE(fs::exists(logA + ".lock"));
    EXPECT_TRUE(fs::exists(logB + ".lock"));
    LogInUseLock again;
    EXPECT_EQ(LogInUseLock::Take(logA, again), Outcome::Held);
    EXPECT_EQ(LogInUseLock::Take(logB, again), Outcome::InUse);
    // `again` gave up a.log's lock before it tried b.log's.
    EXPECT_FALSE(fs::exists(logA + ".lock"));
}

TEST(LogInUseLock, ALockThatCannotBeMadeLeavesTheRunUnguarded) {
    test::TempFolder folder;
    LogInUseLock lock;
    EXPECT_EQ(LogInUseLock::Take((folder.path() / "missing/analysis.log").string(), lock),
              Outcome::Unavailable);
    EXPECT_FALSE(lock.held());
    EXPECT_FALSE(fs::exists(folder.path() / "missing"));
}

}  // namespace
}  // namespace orv::cli
