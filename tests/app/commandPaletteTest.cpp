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
    for (int32_t id : {IdLine, IdMaskLine, IdPen, IdFill, IdText, IdRgbUndo, IdMskUndo, IdRgbRedo, IdMskRedo})
        EXPECT_NE(std::find(paint.begin(), paint.end(), id), paint.end()) << id;
    EXPECT_EQ(std::find(paint.begin(), paint.end(), IdLoadRgb), paint.end());
    EXPECT_EQ(idsOf(AirBrushPalette), (std::vector<int32_t>{IdAirBrush, IdAirBrushCopy}));
    EXPECT_EQ(idsOf(AutoMaskWindow), (std::vector<int32_t>{IdAutoMaskPick, IdAutoMaskPreview, IdAutoMaskArea}));
    EXPECT_EQ(idsOf(MaterialWindow),
              (std::vector<int32_t>{IdSelectMaterial, IdUndoPlacement, IdMoveMaterial, IdScaleMaterial}));
    EXPECT_EQ(idsOf(FileBrowser), (std::vector<int32_t>{IdMovePiece, IdMoveChosen, IdPlaceChosen}));
    EXPECT_EQ(idsOf(MeshToolPalette).size(), 22u);  // LOAD, SAVE and the twenty mesh tools

    test::StudioFixture f;
    CommandPalette palette(*f.frame, PaintPalette, "Paint");
    EXPECT_EQ(palette.findChildren<QToolButton*>().size(), paint.size());
    EXPECT_EQ(palette.button(IdRgbUndo)->text(), "RGB Undo");
    EXPECT_EQ(palette.button(IdLoadRgb), nullptr);
}

TEST(CommandPalette, ButtonsFollowTheRulesAndRunThroughTheFrame)
{
    test::StudioFixture f;
    Workspace& ws = f.ws;
    CommandPalette palette(*f.frame, PaintPalette, "Paint");
    EXPECT_FALSE(palette.button(IdLine)->isEnabled());  // no image yet
    EXPECT_FALSE(palette.button(IdRgbUndo)->isEnabled());

    test::fillPattern(ws, 8, 8);
    f.frame->refreshCommandStates();  // the palette follows the frame
    EXPECT_FALSE(palette.button(IdRgbUndo)->isEnabled());  // nothing to undo

    // An edit with its snapshot: undo comes on and puts the pixel back.
    takeSnapshot(ws, SnapshotImage, 0, 0, 0, 0, 0);
    const uint8_t before = ws.image[0];
    ws.image[0] = uint8_t(before + 1);
    f.frame->refreshCommandStates();
    ASSERT_TRUE(palette.button(IdRgbUndo)->isEnabled());
    palette.button(IdRgbUndo)->click();
    EXPECT_EQ(ws.image[0], before);
    EXPECT_EQ(ws.rgbUndoCount, 0);
    EXPECT_FALSE(palette.button(IdRgbUndo)->isEnabled());
    EXPECT_TRUE(palette.button(IdRgbRedo)->isEnabled());  // redo now

    // A button left enabled while its rule went false runs nothing.
    ws.rgbRedoCount = 0;
    ASSERT_TRUE(palette.button(IdRgbRedo)->isEnabled());
    const uint8_t now = ws.image[0];
    palette.button(IdRgbRedo)->click();
    EXPECT_EQ(ws.image[0], now);
    EXPECT_FALSE(palette.button(IdRgbRedo)->isEnabled());

    // Check marks follow the tool mode.
    ws.toolMode = ModeLine;
    f.frame->refreshCommandStates();
    EXPECT_TRUE(palette.button(IdLine)->isChecked());
    EXPECT_FALSE(palette.button(IdPen)->isChecked());
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
