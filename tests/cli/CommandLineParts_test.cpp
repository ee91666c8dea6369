// The parts of the command line that turn what a user typed into what the component gets:
// the documents a list of paths and folders names, and the suggestion for a slip.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "cli/DocumentList.h"
#include "cli/Suggestion.h"
#include "cli/tm/UsageError.h"
#include "engine/text/PlainTextDocument.h"
#include "support/TempFolder.h"

namespace orv::cli::test {
namespace {

namespace fs = std::filesystem;
using orv::test::TempFolder;

// Runs in `folder`, so that relative arguments are the user's.
class InFolder {
public:
    explicit InFolder(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~InFolder() { fs::current_path(previous_); }

private:
    fs::path previous_;
};

TEST(DocumentList, FoldersGiveTheirDocumentsInNameOrderOnceEachAndAbsolute) {
    TempFolder folder;
    // An office document is found, and so is one in a format the engine refuses: it must show
    // in the analysis as a failure rather than be left out of a quote unseen.
    for (const char* name :
         {"docs/b.html", "docs/a.TXT", "docs/image.png", "docs/.hidden.txt", "docs/sub/c.po",
          "docs/.git/d.txt", "single.bin", "docs/c.Docx", "docs/d.odt", "docs/e.xls", "docs/f.zip"})
        folder.Write(name, "x");
    const InFolder here(folder.path());
    const fs::path root = fs::current_path();
    const struct {
        std::vector<std::string> arguments;
        bool recursive;
        std::vector<std::string> expected;  // relative to the folder
    } cases[] = {
        {{"docs"}, false, {"docs/a.TXT", "docs/b.html", "docs/c.Docx", "docs/d.odt", "docs/e.xls"}},
        {{"docs"},
         true,
         {"docs/a.TXT", "docs/b.html", "docs/c.Docx", "docs/d.odt", "docs/e.xls", "docs/sub/c.po"}},
        // A file named on its own is taken whatever its extension, and once.
        {{"single.bin", "docs/./b.html", "docs"},
         false,
         {"single.bin", "docs/b.html", "docs/a.TXT", "docs/c.Docx", "docs/d.odt", "docs/e.xls"}},
    };
    for (const auto& c : cases) {
        std::vector<fs::path> expected;
        for (const auto& name : c.expected) expected.push_back(root / name);
        EXPECT_EQ(CollectDocuments(c.arguments, c.recursive), expected) << c.arguments.front();
    }
}

TEST(DocumentList, RefusesWhatCannotBeAnalysedNamingIt) {
    TempFolder folder;
    folder.Write("empty/sub/a.txt", "x");
    const InFolder here(folder.path());
    const struct {
        std::vector<std::string> arguments;
        const char* says;
    } cases[] = {
        {{}, "no documents to analyse"},
        {{"empty"}, "holds no documents (add -r"},
        {{"a;b.txt"}, "a;b.txt"},
        {{""}, "empty document path"},
        {{"missing.txt"}, "cannot find the document \"missing.txt\""},
    };
    for (const auto& c : cases) {
        try {
            CollectDocuments(c.arguments, false);
            ADD_FAILURE() << c.says;
        } catch (const UsageError& error) {
            EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
        }
    }
}

TEST(DocumentList, RefusesWhatIsNoRegularFileOrTooLargeNamingItAndWhy) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder.path() / "pipe").c_str(), 0600), 0);
    folder.Write("docs/a.txt", "x");
    ASSERT_EQ(::mkfifo((folder.path() / "docs/b.txt").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", folder.path() / "zero.txt");
    fs::create_symlink("missing.txt", folder.path() / "dangling.txt");
    fs::resize_file(folder.Write("large.txt", ""), engine::kMaxDocumentFileBytes + 1);
    fs::resize_file(folder.Write("limit.txt", ""), engine::kMaxDocumentFileBytes);
    const InFolder here(folder.path());
    const struct {
        std::string argument;
        const char* says;
    } cases[] = {
        {"/dev/zero", "cannot analyse \"/dev/zero\": it is a character device, not a regular file"},
        {"zero.txt", "cannot analyse \"zero.txt\": it is a character device"},
        {"pipe", "cannot analyse \"pipe\": it is a named pipe, not a regular file"},
        {"docs", "docs/b.txt\": it is a named pipe"},
        {"dangling.txt", "cannot find the document \"dangling.txt\""},
        {"large.txt",
         "cannot analyse \"large.txt\": it is larger than the 512 MB a document may have"},
    };
    for (const auto& c : cases) {
        try {
            CollectDocuments({"limit.txt", c.argument}, false);
            ADD_FAILURE() << c.says;
        } catch (const UsageError& error) {
            EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
        }
    }
    // The limit itself is allowed.
    EXPECT_EQ(CollectDocuments({"limit.txt"}, false).size(), 1u);
}

TEST(Suggestion, OffersTheClosestNameOnlyWhenItIsLikelyWhatWasMeant) {
    const std::vector<std::string> options = {"--tm", "--target", "--source", "--format",
                                              "--export-unknown"};
    const struct {
        const char* typed;
        const char* meant;  // nullptr: no suggestion
    } cases[] = {
        {"--tmm", "--tm"},
        {"--targte", "--target"},
        {"--TARGET", "--target"},
        {"--fromat", "--format"},
        {"--export-unkown", "--export-unknown"},
        {"--verbose", nullptr},
        {"-x", nullptr},
    };
    for (const auto& c : cases) {
        const auto suggestion = ClosestName(c.typed, options);
        if (c.meant == nullptr) {
            EXPECT_FALSE(suggestion) << c.typed << " -> " << suggestion.value_or("");
        } else {
            EXPECT_EQ(suggestion.value_or("(none)"), c.meant) << c.typed;
        }
    }
    EXPECT_EQ(EditDistance("ab", "ba"), 1u);  // a swap is one slip
}

}  // namespace
}  // namespace orv::cli::test
