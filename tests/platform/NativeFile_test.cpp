#include "platform/NativeFile.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/AutomationError.h"
#include "support/TempFolder.h"

namespace orv {
namespace {

using test::ReadBytes;
using test::TempFolder;

TEST(NativeFileTest, MovingHandsTheFileOnAndMoveAssignmentClosesTheOldOne) {
    TempFolder folder;
    const auto first = folder.path() / "first.txt";
    const auto second = folder.path() / "second.txt";

    NativeFile held = NativeFile::Open(first, NativeFile::Access::Write);
    held.Write("buffered");  // far below the stream's buffer: on disk only once closed
    NativeFile moved = std::move(held);
    EXPECT_FALSE(held.IsOpen());
    ASSERT_TRUE(moved.IsOpen());

    moved = NativeFile::Open(second, NativeFile::Access::Write);
    EXPECT_EQ(ReadBytes(first), "buffered");
    moved.Write("second");
    moved.Close();
    EXPECT_FALSE(moved.IsOpen());
    EXPECT_EQ(ReadBytes(second), "second");
    moved.Close();  // closing twice does nothing

    EXPECT_EQ(NativeFile::Open(second, NativeFile::Access::Read).ReadAll(), "second");
}

TEST(NativeFileTest, AFileNeverOpenedIsABadFileNumber) {
    NativeFile none;
    for (auto use :
         {+[](NativeFile& file) { file.ReadAll(); }, +[](NativeFile& file) { file.Write("x"); }}) {
        try {
            use(none);
            ADD_FAILURE() << "no error raised";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.number(), kErrBadFileName);
        }
    }
}

}  // namespace
}  // namespace orv
