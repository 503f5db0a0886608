// Tool windows built from the command table: their buttons, the rules that
// enable and check them, and the same refusal of a disabled command as a
// menu gives.
#include <QToolButton>

#include <gtest/gtest.h>

#include "app/commandPalette.h"
#include "studioFixture.h"
#include "workspace/undoSnapshot.h"

namespace orx {
namespace {

using namespace orx::app;

std::vector<int32_t> idsOf(Issuer issuer)
{
    std::vector<int32_t> ids;
    for (const Command* c : commandsIssuedBy(issuer)) ids.push_back(c->id);
    return ids;
}

TEST(CommandPalette, EachToolWindowGetsTheCommandsItIssues)
{
    const std::vector<int32_t> paint = idsOf(PaintPalette);
    for (int32_t id : {32792, 32821, 32819, 32801, 32938, 32971, 32972, 32976, 32977})
        EXPECT_NE(std::find(paint.begin(), paint.end(), id), paint.end()) << id;
    EXPECT_EQ(std::find(paint.begin(), paint.end(), 32771), paint.end());
    EXPECT_EQ(idsOf(AirBrushPalette), (std::vector<int32_t>{32846, 32847}));
    EXPECT_EQ(idsOf(AutoMaskWindow), (std::vector<int32_t>{32896, 32897, 32898}));
    EXPECT_EQ(idsOf(MaterialWindow), (std::vector<int32_t>{32806, 32817, 32833, 32834}));
    EXPECT_EQ(idsOf(FileBrowser), (std::vector<int32_t>{32841, 32919, 32974}));
    EXPECT_EQ(idsOf(MeshToolPalette).size(), 22u);  // LOAD, SAVE and the twenty mesh tools

    test::StudioFixture f;
    CommandPalette palette(*f.frame, PaintPalette, "Paint");
    EXPECT_EQ(palette.findChildren<QToolButton*>().size(), paint.size());
    EXPECT_EQ(palette.button(32971)->text(), "RGB Undo");
    EXPECT_EQ(palette.button(32771), nullptr);
}

TEST(CommandPalette, ButtonsFollowTheRulesAndRunThroughTheFrame)
{
    test::StudioFixture f;
    Workspace& ws = f.ws;
    CommandPalette palette(*f.frame, PaintPalette, "Paint");
    EXPECT_FALSE(palette.button(32792)->isEnabled());  // no image yet
    EXPECT_FALSE(palette.button(32971)->isEnabled());

    test::fillPattern(ws, 8, 8);
    f.frame->refreshCommandStates();  // the palette follows the frame
    EXPECT_TRUE(palette.button(32792)->isEnabled());
    EXPECT_FALSE(palette.button(32971)->isEnabled());  // nothing to undo

    // An edit with its snapshot: undo comes on and puts the pixel back.
    takeSnapshot(ws, SnapshotImage, 0, 0, 0, 0, 0);
    const uint8_t before = ws.image[0];
    ws.image[0] = uint8_t(before + 1);
    f.frame->refreshCommandStates();
    ASSERT_TRUE(palette.button(32971)->isEnabled());
    palette.button(32971)->click();
    EXPECT_EQ(ws.image[0], before);
    EXPECT_EQ(ws.rgbUndoCount, 0);
    EXPECT_FALSE(palette.button(32971)->isEnabled());
    EXPECT_TRUE(palette.button(32976)->isEnabled());  // redo now

    // A button left enabled while its rule went false runs nothing.
    ws.rgbRedoCount = 0;
    ASSERT_TRUE(palette.button(32976)->isEnabled());
    const uint8_t now = ws.image[0];
    palette.button(32976)->click();
    EXPECT_EQ(ws.image[0], now);
    EXPECT_FALSE(palette.button(32976)->isEnabled());

    // Check marks follow the tool mode.
    ws.toolMode = 101;
    f.frame->refreshCommandStates();
    EXPECT_TRUE(palette.button(32792)->isChecked());
    EXPECT_FALSE(palette.button(32819)->isChecked());
}

TEST(CommandLine, AFileOpensAsTheWorkingImageAndAModelIsDressed)
{
    test::StudioFixture f;
    EXPECT_TRUE(f.frame->openStartFile(test::sampleLibraryDir() + "/DENIM.CLO"));
    EXPECT_EQ(f.ws.imageLoaded, 1);
    EXPECT_EQ(f.ws.imageWidth, 256);
    EXPECT_TRUE(f.frame->action(IdSaveRgb)->isEnabled());

    EXPECT_TRUE(f.frame->openStartFile(test::sampleLibraryDir() + "/DRESS.MDL"));
    EXPECT_EQ(f.ws.modelLoaded, 1);
    EXPECT_EQ(f.ws.modelMapped, 1);
    EXPECT_EQ(f.ws.lastRunParts, 4);
    EXPECT_TRUE(f.frame->action(IdChangeMaterial)->isEnabled());

    EXPECT_FALSE(f.frame->openStartFile(f.dir.path("NONE.RGB")));
}

}  // namespace
}  // namespace orx
