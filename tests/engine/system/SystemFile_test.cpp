// The engine's files on the running system: every failure arrives as the same problem
// whatever the system calls it, files are known by what they are rather than by how their
// path is spelled, and a lock excludes another owner on the same machine.

#include "engine/system/SystemFile.h"

#include <gtest/gtest.h>

#include <chrono>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "engine/system/FileFailure.h"
#include "engine/system/WholeFile.h"
#include "platform/NarrowText.h"
#include "support/TempFolder.h"

namespace orv::engine::test {
namespace {

namespace fs = std::filesystem;
using orv::test::TempFolder;

std::optional<FileProblem> ProblemOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const FileFailure& failure) {
        return failure.problem();
    }
    return std::nullopt;
}

TEST(SystemFile, EachFailureArrivesAsItsProblem) {
    TempFolder folder;
    const std::wstring file = folder.Write("a.txt", "twelve bytes").wstring();
    fs::create_directories(folder.path() / "sub");
    const std::wstring sub = (folder.path() / "sub").wstring();
    const std::wstring missing = folder.wpath("missing.txt");
    const std::wstring inMissingFolder = folder.wpath("none/a.txt");
    int stops = 0;
    const struct {
        const char* name;
        std::function<void()> step;
        FileProblem expected;
    } cases[] = {
        {"open a missing file", [&] { SystemFile::OpenToRead(missing); }, FileProblem::NotFound},
        {"open in a missing folder", [&] { SystemFile::OpenToRead(inMissingFolder); },
         FileProblem::NotFound},
        {"create in a missing folder", [&] { SystemFile::CreateNew(inMissingFolder); },
         FileProblem::FolderNotFound},
        {"create over a file", [&] { SystemFile::CreateNew(file); }, FileProblem::AlreadyExists},
        {"an empty name", [&] { SystemFile::OpenToRead(L""); }, FileProblem::BadName},
        {"a NUL in the name", [&] { SystemFile::OpenToRead(file + L'\0' + L"x"); },
         FileProblem::BadName},
        {"read a folder whole", [&] { ReadWholeFile(sub, 100); }, FileProblem::IsFolder},
        {"a file over the limit", [&] { ReadWholeFile(file, 11); }, FileProblem::TooLarge},
        {"a stop asked for", [&] { ReadWholeFile(file, 100, [&] { return ++stops > 0; }); },
         FileProblem::Cancelled},
        {"rename a missing file", [&] { RenameReplacing(missing, file); }, FileProblem::NotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<FileProblem> problem = ProblemOf(c.step);
        ASSERT_TRUE(problem.has_value()) << "no failure";
        EXPECT_EQ(*problem, c.expected) << ToNarrow(FileProblemText(*problem));
    }
    EXPECT_EQ(ReadWholeFile(file, 12), "twelve bytes") << "a file of just the limit is read";
}

TEST(SystemFile, ProblemsReadAsWordsWithoutDigitsAndAsSentences) {
    for (int p = 0; p <= static_cast<int>(FileProblem::Cancelled); ++p) {
        const auto problem = static_cast<FileProblem>(p);
        const std::wstring text = FileProblemText(problem);
        SCOPED_TRACE(p);
        EXPECT_FALSE(text.empty());
        // The text fills a CSV cell of the log, which must not read as a number.
        EXPECT_EQ(text.find_first_of(L"0123456789;"), std::wstring::npos);
        EXPECT_EQ(FileProblemSentence(problem).substr(1), text.substr(1));
        EXPECT_TRUE(FileProblemSentence(problem)[0] >= L'A' &&
                    FileProblemSentence(problem)[0] <= L'Z');
    }
}

TEST(SystemFile, AFileIsKnownByWhatItIsWhateverItsPathSays) {
    TempFolder folder;
    const fs::path file = folder.Write("a.txt", "x");
    const fs::path other = folder.Write("b.txt", "x");
    fs::create_hard_link(file, folder.path() / "link.txt");
    fs::create_directories(folder.path() / "sub");
    const std::optional<FileStatus> status = StatusOfPath(file.wstring());
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->kind, FileKind::Regular);
    EXPECT_EQ(status->size, 1u);
    EXPECT_EQ(StatusOfPath(folder.path() / "sub" / ".." / "a.txt")->node, status->node);
    EXPECT_EQ(StatusOfPath(folder.path() / "link.txt")->node, status->node);
    EXPECT_NE(StatusOfPath(other)->node, status->node);
    EXPECT_EQ(SystemFile::OpenToRead(file.wstring()).Status().node, status->node);
    EXPECT_EQ(StatusOfPath(folder.path())->kind, FileKind::Folder);
    EXPECT_FALSE(StatusOfPath(folder.wpath("missing.txt")).has_value());
    EXPECT_FALSE(StatusOfPath(std::wstring()).has_value());
}

// What a cache of the file's contents goes by: a rewrite that keeps the size and puts the
// modification time back still moves the change time, and a replacement is another file.
TEST(SystemFile, ARewriteInPlaceOrAReplacementShowsInTheStatus) {
    TempFolder folder;
    const fs::path file = folder.Write("tm.tmx", "aaaa");
    // A whole second, which every system can put back (the Windows runtime keeps no less).
    const auto written = std::chrono::floor<std::chrono::seconds>(fs::last_write_time(file));
    fs::last_write_time(file, written);
    const FileStatus before = *StatusOfPath(file);
    EXPECT_NE(before.modifiedNs, 0);
    EXPECT_EQ(SystemFile::OpenToRead(file.wstring()).Status().changedNs, before.changedNs);

    folder.Write("tm.tmx", "bbbb");
    fs::last_write_time(file, written);
    const FileStatus rewritten = *StatusOfPath(file);
    EXPECT_EQ(rewritten.size, before.size);
    EXPECT_EQ(rewritten.node, before.node);
    EXPECT_EQ(rewritten.modifiedNs, before.modifiedNs) << "the time was not put back";
    // Apart even within one clock tick: the status was read since the last change.
    EXPECT_NE(rewritten.changedNs, before.changedNs);

    RenameReplacing(folder.Write("new.tmx", "cccc").wstring(), file.wstring());
    EXPECT_NE(StatusOfPath(file)->node, before.node);
}

TEST(SystemFile, ALockExcludesAnotherOwnerAndEndsWithItsFile) {
    TempFolder folder;
    const std::wstring file = folder.Write("tm.tmx", "x").wstring();
    using Kind = SystemFile::LockKind;
    using Result = SystemFile::LockResult;
    const struct {
        const char* name;
        Kind first;
        Kind second;
        Result expected;
    } cases[] = {
        {"two readers", Kind::Shared, Kind::Shared, Result::Held},
        {"a writer, then a reader", Kind::Exclusive, Kind::Shared, Result::InUse},
        {"a reader, then a writer", Kind::Shared, Kind::Exclusive, Result::InUse},
        {"two writers", Kind::Exclusive, Kind::Exclusive, Result::InUse},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SystemFile holder = SystemFile::OpenToLock(file, true);
        ASSERT_EQ(holder.TryLock(c.first), Result::Held);
        SystemFile other = SystemFile::OpenToLock(file, c.second == Kind::Exclusive);
        EXPECT_EQ(other.TryLock(c.second), c.expected);
        // The holder's lock ends with its file; other then gets it on a new try.
        holder = SystemFile();
        SystemFile again = SystemFile::OpenToLock(file, true);
        EXPECT_EQ(again.TryLock(c.second), Result::Held);
    }
}

TEST(SystemFile, AFileHeldForALockCanStillBeReadReplacedAndRemoved) {
    TempFolder folder;
    const std::wstring file = folder.Write("tm.tmx", "old").wstring();
    // Where the system cannot replace an open file, the lock is held on a file beside it.
    const std::wstring lockFile = LockFileOf(file);
    if (!StatusOfPath(lockFile)) SystemFile::CreateNew(lockFile).Close();
    SystemFile held = SystemFile::OpenToLock(lockFile, true);
    ASSERT_EQ(held.TryLock(SystemFile::LockKind::Exclusive), SystemFile::LockResult::Held);
    EXPECT_EQ(ReadWholeFile(file, 100), "old");
    const std::wstring fresh = folder.Write("new.tmx", "new").wstring();
    RenameReplacing(fresh, file);
    EXPECT_EQ(ReadWholeFile(file, 100), "new");
    RemoveFileQuietly(file);
    EXPECT_FALSE(StatusOfPath(file).has_value());
}

TEST(SystemFile, RemovingQuietlyLeavesAFolderAndIgnoresWhatIsNotThere) {
    TempFolder folder;
    fs::create_directories(folder.path() / "log.csv");
    RemoveFileQuietly(folder.wpath("log.csv"));
    RemoveFileQuietly(folder.wpath("missing.csv"));
    RemoveFileQuietly(L"");
    EXPECT_TRUE(fs::is_directory(folder.path() / "log.csv"));
}

TEST(SystemFile, WrittenBytesAreReadBackAndANewFileStartsEmpty) {
    TempFolder folder;
    const std::wstring name = folder.wpath("out.bin");
    SystemFile file = SystemFile::CreateNew(name);
    EXPECT_EQ(file.Status().size, 0u);
    const std::string bytes("a\0b\r\nc", 6);
    file.Write(bytes);
    file.Sync();
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_NO_THROW(file.Close()) << "closing twice is harmless";
    EXPECT_EQ(ReadWholeFile(name, 6), bytes);
}

}  // namespace
}  // namespace orv::engine::test
