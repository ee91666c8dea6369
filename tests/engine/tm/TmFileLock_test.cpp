// The lock of an open TM file: one writer or any number of readers, between objects of one
// process and between processes, let go of on close, on destruction and by a move.

#include "engine/tm/TmFileLock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/model/EngineError.h"
#include "engine/tm/TmUsers.h"
#include "tm/UsersTesting.h"

namespace orv::engine::test {
namespace {

using ::testing::HasSubstr;
using Kind = TmFileLock::Kind;

constexpr const wchar_t* kInUse = L"The translation memory is in use by another process";

bool CanLock(const std::wstring& path, Kind kind) {
    return !RaisedBy([&] { TmFileLock::Take(path, kind); });
}

TEST(TmFileLock, MoveAssignmentLetsGoOfTheLockHeldBefore) {
    TempFolder folder;
    const std::wstring first = WriteSmallTm(folder, "first.tmx");
    const std::wstring second = WriteSmallTm(folder, "second.tmx");
    TmFileLock lock = TmFileLock::Take(first, Kind::Exclusive);
    EXPECT_FALSE(CanLock(first, Kind::Shared));

    lock = TmFileLock::Take(second, Kind::Exclusive);
    EXPECT_TRUE(CanLock(first, Kind::Exclusive));
    EXPECT_FALSE(CanLock(second, Kind::Shared));
    lock.Release();
    EXPECT_TRUE(CanLock(second, Kind::Exclusive));
}

TEST(EngineTMLock, AWriterInAnotherProcessKeepsTheTmClosedUntilItCloses) {
    TempFolder folder;
    const std::wstring path = WriteSmallTm(folder);
    AddTmUser(path, L"anna", L"sesame");
    int ready[2];
    int go[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(go), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int status = 1;
        try {
            EngineApplication app;
            app.get_CurrentTM()->Open(path, L"anna", L"sesame", L"w");
            char byte = 'r';
            if (::write(ready[1], &byte, 1) == 1 && ::read(go[0], &byte, 1) == 1) status = 0;
            app.get_CurrentTM()->Close();
        } catch (...) {
        }
        ::_exit(status);
    }
    ::close(ready[1]);
    ::close(go[0]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1) << "the child could not open the TM";

    EngineApplication app;
    for (const wchar_t* mode : {L"r", L"w"}) {
        const auto error = OpenFails(app, path, L"anna", L"wrong", mode);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), kEngineFailure);
        EXPECT_THAT(error->description(), HasSubstr(kInUse));
    }
    EXPECT_THAT(RaisedBy([&] { AddTmUser(path, L"ben", L"pw"); })->description(),
                HasSubstr(kInUse));

    ASSERT_EQ(::write(go[1], &byte, 1), 1);
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(OpenFails(app, path, L"anna", L"sesame", L"w"));
    ::close(ready[0]);
    ::close(go[1]);
}

TEST(EngineTMLock, ReadersShareTheTmAndCloseDestructionAndAnotherTmLetGo) {
    TempFolder folder;
    const std::wstring path = WriteSmallTm(folder);
    EngineApplication first;
    auto second = std::make_unique<EngineApplication>();
    EXPECT_FALSE(OpenFails(first, path, L"", L"", L"r"));
    EXPECT_FALSE(OpenFails(*second, path, L"", L"", L"r"));
    EXPECT_FALSE(CanLock(path, Kind::Exclusive));

    first.get_CurrentTM()->Close();
    second.reset();
    EXPECT_FALSE(OpenFails(first, path, L"", L"", L"w"));
    EXPECT_FALSE(OpenFails(first, path, L"", L"", L"w")) << "its own lock is no obstacle";
    EXPECT_FALSE(CanLock(path, Kind::Shared));
    first.CreateTM(folder.wpath("other.tmp"), L"", 1033, L"", 1031, L"", -1, -1, -1, -1, -1, -1, -1,
                   L"", L"", L"");
    EXPECT_TRUE(CanLock(path, Kind::Exclusive));
}

}  // namespace
}  // namespace orv::engine::test
