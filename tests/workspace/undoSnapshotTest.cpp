#include <cstring>

#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/fileIo.h"
#include "workspace/undoSnapshot.h"

namespace orx {
namespace {

using test::TempDir;
using test::TestWorkspace;

struct Editing {
    TempDir dir;
    TestWorkspace t;
    Workspace& ws = t.ws;
    Editing()
    {
        ws.VLX98DIR = dir.dir().string();
        test::fillPattern(ws, 20, 10);
    }
    uint8_t* px(int x, int y) { return ws.image + (y * ws.imageWidth + x) * 3; }
    std::vector<uint8_t> image() const { return {ws.image, ws.image + imageBytes(ws)}; }
    // An edit as the mouse tools make it: snapshot, then paint a pixel.
    void edit(int x, int y, uint8_t value)
    {
        takeSnapshot(ws, SnapshotImage, x, y, x, y, 1);
        std::memset(px(x, y), value, 3);
    }
};

TEST(Snapshot, FileHoldsTheHeaderAndTheClippedRectangle)
{
    Editing e;
    // Dragged from right to left, with a margin past the top-left corner.
    takeSnapshot(e.ws, SnapshotImage, 3, 2, 0, 0, 2);
    EXPECT_EQ(e.ws.rgbUndoCount, 1);
    auto f = test::readFileBytes(e.dir.path("VLXRGB-0.FIX"));
    ASSERT_EQ(f.size(), 40u + 6 * 5 * 3);
    EXPECT_STREQ(reinterpret_cast<const char*>(f.data()), "0 0 5 4 0");
    EXPECT_EQ(0, std::memcmp(f.data() + 40, e.px(0, 0), 18));
    EXPECT_EQ(0, std::memcmp(f.data() + 40 + 18 * 4, e.px(0, 4), 18));

    takeSnapshot(e.ws, SnapshotMask, 18, 8, 25, 30, 0);
    f = test::readFileBytes(e.dir.path("VLXMSK-0.FIX"));
    EXPECT_STREQ(reinterpret_cast<const char*>(f.data()), "18 8 19 9");
    EXPECT_EQ(f.size(), 40u + 4);

    // Wholly outside: nothing is written.
    takeSnapshot(e.ws, SnapshotImage, 40, 40, 50, 50, 0);
    EXPECT_EQ(e.ws.rgbUndoCount, 1);
    EXPECT_EQ(e.t.platform.messages.size(), 0u);
}

TEST(Snapshot, ElevenEditsKeepTheLastTen)
{
    Editing e;
    for (int i = 1; i <= 11; ++i) e.edit(i, 1, uint8_t(i));
    EXPECT_EQ(e.ws.rgbUndoCount, 10);
    // File 0 now holds edit 2's snapshot (around x = 2); file 9 edit 11's.
    auto first = test::readFileBytes(e.dir.path("VLXRGB-0.FIX"));
    EXPECT_STREQ(reinterpret_cast<const char*>(first.data()), "1 0 3 2 0");
    auto last = test::readFileBytes(e.dir.path("VLXRGB-9.FIX"));
    EXPECT_STREQ(reinterpret_cast<const char*>(last.data()), "10 0 12 2 0");
    EXPECT_FALSE(fileExists(e.dir.path("VLXRGB-10.FIX")));
}

TEST(Snapshot, UndoThenRedoGoBackAndForth)
{
    Editing e;
    const auto original = e.image();
    e.edit(4, 4, 1);
    e.edit(5, 4, 2);
    const auto afterTwo = e.image();
    e.edit(6, 4, 3);
    const auto afterThree = e.image();

    EXPECT_EQ(undoImage(e.ws), UndoResult::Rectangle);
    EXPECT_EQ(e.image(), afterTwo);
    EXPECT_EQ(e.ws.rgbUndoCount, 2);
    EXPECT_EQ(e.ws.rgbRedoCount, 1);
    EXPECT_TRUE(fileExists(e.dir.path("VLXRGBREDO-0.FIX")));

    EXPECT_EQ(redoImage(e.ws), UndoResult::Rectangle);
    EXPECT_EQ(e.image(), afterThree);
    EXPECT_EQ(e.ws.rgbUndoCount, 3);
    EXPECT_EQ(e.ws.rgbRedoCount, 0);

    for (int i = 0; i < 3; ++i) undoImage(e.ws);
    EXPECT_EQ(e.image(), original);
    EXPECT_EQ(undoImage(e.ws), UndoResult::Nothing);
    EXPECT_EQ(e.ws.rgbRedoCount, 3);

    // An edit after an undo empties the redo stack.
    redoImage(e.ws);
    e.edit(9, 9, 7);
    EXPECT_EQ(e.ws.rgbRedoCount, 0);
    EXPECT_EQ(redoImage(e.ws), UndoResult::Nothing);
}

TEST(Snapshot, MaskStacksAreTheirOwn)
{
    Editing e;
    clearMask(e.ws);
    takeSnapshot(e.ws, SnapshotMask, 2, 2, 3, 3, 0);
    e.ws.mask[2 * 20 + 2] = 255;
    EXPECT_EQ(e.ws.rgbUndoCount, 0);
    EXPECT_EQ(undoMask(e.ws), UndoResult::Rectangle);
    EXPECT_EQ(e.ws.mask[2 * 20 + 2], 0);
    EXPECT_EQ(redoMask(e.ws), UndoResult::Rectangle);
    EXPECT_EQ(e.ws.mask[2 * 20 + 2], 255);
}

TEST(Snapshot, AWholeImageUndoRestoresAnotherSize)
{
    Editing e;
    const auto original = e.image();
    takeSnapshot(e.ws, SnapshotWholeImage, 0, 0, 0, 0, 0);
    test::fillPattern(e.ws, 7, 3);  // an operation that changed the size
    std::memset(e.ws.image, 9, imageBytes(e.ws));
    EXPECT_EQ(undoImage(e.ws), UndoResult::WholeImage);
    ASSERT_EQ(e.ws.imageWidth, 20);
    ASSERT_EQ(e.ws.imageHeight, 10);
    EXPECT_EQ(e.image(), original);
    EXPECT_EQ(e.ws.secondImage, e.ws.image + 600);
    EXPECT_EQ(redoImage(e.ws), UndoResult::WholeImage);
    EXPECT_EQ(e.ws.imageWidth, 7);
    EXPECT_EQ(e.ws.image[0], 9);
}

TEST(Snapshot, DamagedOrForeignFilesDoNothing)
{
    Editing e;
    e.edit(3, 3, 1);
    const auto edited = e.image();
    // A header that claims a rectangle outside the picture.
    std::vector<uint8_t> bad(40 + 300, 0);
    std::memcpy(bad.data(), "0 0 99 99 0", 11);
    test::writeFileBytes(e.dir.path("VLXRGB-0.FIX"), bad);
    EXPECT_EQ(undoImage(e.ws), UndoResult::Nothing);
    EXPECT_EQ(e.ws.rgbUndoCount, 1);
    EXPECT_EQ(e.image(), edited);
    // A body shorter than its rectangle.
    std::memcpy(bad.data(), "0 0 19 9 0 ", 11);
    test::writeFileBytes(e.dir.path("VLXRGB-0.FIX"), bad);
    EXPECT_EQ(undoImage(e.ws), UndoResult::Nothing);
    // No file at all.
    std::filesystem::remove(e.dir.path("VLXRGB-0.FIX"));
    EXPECT_EQ(undoImage(e.ws), UndoResult::Nothing);
    EXPECT_EQ(e.ws.rgbUndoCount, 1);
}

TEST(Snapshot, AnUnwritableFolderSaysSoAndKeepsTheCount)
{
    Editing e;
    e.ws.VLX98DIR = e.dir.path("missing");
    e.edit(1, 1, 5);
    EXPECT_EQ(e.ws.rgbUndoCount, 0);
    EXPECT_TRUE(e.t.platform.said("Can not open " + e.dir.path("missing") + "/VLXRGB-0.FIX file."));
}

TEST(Snapshot, ResetAndCleanUp)
{
    Editing e;
    e.edit(1, 1, 5);
    e.edit(2, 1, 5);
    undoImage(e.ws);
    takeSnapshot(e.ws, SnapshotMask, 0, 0, 1, 1, 0);
    resetUndo(e.ws);
    EXPECT_EQ(e.ws.rgbUndoCount + e.ws.rgbRedoCount + e.ws.mskUndoCount + e.ws.mskRedoCount, 0);
    EXPECT_EQ(undoImage(e.ws), UndoResult::Nothing);
    deleteSnapshotFiles(e.ws);
    EXPECT_TRUE(std::filesystem::is_empty(e.dir.dir()));
}

}  // namespace
}  // namespace orx
