// Every output is written whole or not at all: the helper all of them go through, on real
// files, with a file-size limit in a child process standing in for a full disk.

#include "engine/system/AtomicFileWriter.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/system/FileFailure.h"
#include "support/TempFolder.h"

namespace orv::engine::test {
namespace {

namespace fs = std::filesystem;
using orv::test::ReadBytes;
using orv::test::TempFolder;

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// 1 + the problem the write raised in a child whose files may not grow past `limit` bytes; 0
// when it succeeded. SIGXFSZ ignored: the write fails with EFBIG, as on a full disk ENOSPC.
int ReplaceUnderFileSizeLimit(const fs::path& file, const std::string& bytes, rlim_t limit) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limited{};
        ::getrlimit(RLIMIT_FSIZE, &limited);
        limited.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &limited);
        try {
            ReplaceFileAtomically(file.wstring(), bytes);
        } catch (const FileFailure& failure) {
            ::_exit(1 + static_cast<int>(failure.problem()));
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(AtomicFileWriter, ReplacesTheFileWholeKeepsItsPermissionsAndLeavesNothingBeside) {
    TempFolder folder;
    const fs::path file = folder.Write("out.log", "earlier");
    ::chmod(file.c_str(), 0600);
    ReplaceFileAtomically(file.wstring(), "new content");
    EXPECT_EQ(ReadBytes(file), "new content");
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(Names(folder.path()), std::vector<std::string>{"out.log"});
}

mode_t ModeOf(const fs::path& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 ? status.st_mode & 0777 : 0;
}

// Even the temporary file, before a byte is written: no moment when others could open it.
TEST(AtomicFileWriter, AnOwnerOnlyFileIsSoFromItsCreationWhateverTheUmaskOrTheTarget) {
    const mode_t umaskBefore = ::umask(0);
    for (const bool earlier : {false, true}) {
        SCOPED_TRACE(earlier ? "over a file open to all" : "a new file");
        TempFolder folder;
        const fs::path file = folder.path() / "index.cache";
        if (earlier) ::chmod(folder.Write("index.cache", "earlier").c_str(), 0644);
        AtomicFileWriter writer(file.wstring(), AtomicFileWriter::Access::OwnerOnly);
        for (const auto& entry : fs::directory_iterator(folder.path()))
            if (entry.path() != file) {
                EXPECT_EQ(ModeOf(entry.path()), 0600u);
            }
        writer.Write("cache");
        writer.Commit();
        EXPECT_EQ(ModeOf(file), 0600u);
        EXPECT_EQ(ReadBytes(file), "cache");
    }
    ::umask(umaskBefore);
}

TEST(AtomicFileWriter, AWriteCutShortLeavesTheEarlierFileOrNoneAndNoTemporaryFile) {
    const std::string big(64 * 1024, 'x');
    const struct {
        const char* name;
        bool earlier;
    } cases[] = {{"replaced.log", true}, {"new.log", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const fs::path file = folder.path() / c.name;
        if (c.earlier) folder.Write(c.name, "earlier");
        EXPECT_EQ(ReplaceUnderFileSizeLimit(file, big, 4096),
                  1 + static_cast<int>(FileProblem::TooLarge));
        if (c.earlier)
            EXPECT_EQ(ReadBytes(file), "earlier");
        else
            EXPECT_FALSE(fs::exists(file));
        EXPECT_EQ(Names(folder.path()).size(), c.earlier ? 1u : 0u) << "a temporary file is left";
        // The same write within the limit goes through: the failure above was the limit's.
        EXPECT_EQ(ReplaceUnderFileSizeLimit(file, "fits", 4096), 0);
        EXPECT_EQ(ReadBytes(file), "fits");
    }
}

TEST(AtomicFileWriter, AFolderThatIsNotThereIsAnErrorAndCreatesNothing) {
    TempFolder folder;
    try {
        ReplaceFileAtomically((folder.path() / "missing" / "out.log").wstring(), "text");
        ADD_FAILURE() << "no error";
    } catch (const FileFailure& failure) {
        EXPECT_EQ(failure.problem(), FileProblem::FolderNotFound);
    }
    EXPECT_TRUE(Names(folder.path()).empty());
}

}  // namespace
}  // namespace orv::engine::test
