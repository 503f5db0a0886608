// Loading and saving by kind, the new image, the mask commands and the
// whole-image operations, as the menus run them.
#include <filesystem>

#include <gtest/gtest.h>

#include "app/commandTable.h"
#include "studioFixture.h"
#include "workspace/containerFile.h"
#include "workspace/nativeFile.h"

namespace orx {
namespace {

using namespace orx::app;

// A 6 x 4 picture with a mask over its left half, saved as P.RGB and P.MSK.
std::string writePicture(test::StudioFixture& f)
{
    test::TestWorkspace other(64'000'000);
    test::fillPattern(other.ws, 6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x) other.ws.mask[y * 6 + x] = 255;
    const std::string name = f.dir.path("P.RGB");
    EXPECT_TRUE(saveRGB(other.ws, name));
    EXPECT_TRUE(saveMSK(other.ws, f.dir.path("P.MSK"), other.ws.mask, 6, 4));
    return name;
}

TEST(FileCommands, LoadRgbBringsItsMaskAndStartsUndoAfresh)
{
    test::StudioFixture f;
    const std::string name = writePicture(f);
    f.ws.rgbUndoCount = 3;
    f.ws.mskRedoCount = 2;
    f.ws.modelLoaded = f.ws.modelMapped = 1;
    f.ws.toolMode = ModeLine;
    f.t.platform.files.push_back(name);
    EXPECT_TRUE(f.run(IdLoadRgb));
    EXPECT_EQ(f.ws.imageWidth, 6);
    EXPECT_EQ(f.ws.imageHeight, 4);
    EXPECT_EQ(f.ws.imageLoaded, 1);
    EXPECT_EQ(f.ws.maskVisible, 1);
    EXPECT_EQ(f.ws.mask[0], 255);
    EXPECT_EQ(f.ws.mask[5], 0);
    EXPECT_EQ(f.ws.rgbUndoCount, 0);
    EXPECT_EQ(f.ws.mskRedoCount, 0);
    EXPECT_EQ(f.ws.modelLoaded, 0);  // the model's photograph is gone
    EXPECT_EQ(f.ws.toolMode, ModeNone);
    EXPECT_GT(f.t.platform.redraws, 0);

    // Cancel: nothing changes.
    EXPECT_TRUE(f.run(IdLoadRgb));
    EXPECT_EQ(f.ws.imageWidth, 6);
}

TEST(FileCommands, SavesGetTheirExtensionAndTheShownMaskGoesWithTheRgb)
{
    test::StudioFixture f;
    f.t.platform.files.push_back(writePicture(f));
    ASSERT_TRUE(f.run(IdLoadRgb));
    f.t.platform.files.push_back(f.dir.path("OUT"));  // typed without the extension
    EXPECT_TRUE(f.run(IdSaveRgb));
    EXPECT_TRUE(std::filesystem::exists(f.dir.path("OUT.RGB")));
    EXPECT_TRUE(std::filesystem::exists(f.dir.path("OUT.IPR")));
    EXPECT_TRUE(std::filesystem::exists(f.dir.path("OUT.MSK")));
    EXPECT_EQ(test::readFileBytes(f.dir.path("OUT.RGB")), test::readFileBytes(f.dir.path("P.RGB")));
    EXPECT_EQ(test::readFileBytes(f.dir.path("OUT.MSK")), test::readFileBytes(f.dir.path("P.MSK")));

    for (auto [id, name] : {std::pair{IdSaveClo, "A.CLO"}, {IdSavePrt, "A.PRT"}, {IdSaveNit, "A.NIT"},
                            {IdSaveEmb, "A.EMB"}, {IdSaveBmp, "A.BMP"}, {IdSaveMsk, "M.MSK"}}) {
        f.t.platform.files.push_back(f.dir.path(name));
        EXPECT_TRUE(f.run(id));
        EXPECT_TRUE(std::filesystem::exists(f.dir.path(name))) << name;
    }
    // Each container kind and the bitmap load back as the same picture.
    const std::vector<uint8_t> pixels(f.ws.image, f.ws.image + 6 * 4 * 3);
    for (auto [id, name] : {std::pair{IdLoadClo, "A.CLO"}, {IdLoadPrt, "A.PRT"}, {IdLoadNit, "A.NIT"},
                            {IdLoadEmb, "A.EMB"}, {IdOpenImageFile, "A.BMP"}}) {
        f.run(IdClearMask);
        fillImageWhite(f.ws);
        f.ws.rgbUndoCount = 1;
        // The bitmap comes through the image-file browser.
        if (id == IdOpenImageFile) f.frame->imageAnswers.push_back(f.dir.path(name));
        else f.t.platform.files.push_back(f.dir.path(name));
        EXPECT_TRUE(f.run(id));
        EXPECT_EQ(std::vector<uint8_t>(f.ws.image, f.ws.image + 72), pixels) << name;
        EXPECT_EQ(f.ws.rgbUndoCount, 0) << name;
    }
    // The mask alone: the saved one comes back over the picture.
    clearMask(f.ws);
    f.t.platform.files.push_back(f.dir.path("M.MSK"));
    EXPECT_TRUE(f.run(IdLoadMsk));
    EXPECT_EQ(f.ws.mask[0], 255);
    EXPECT_EQ(f.ws.maskVisible, 1);
}

TEST(ImageCommands, NewImageIsWhiteOfTheAskedSize)
{
    test::StudioFixture f;
    f.frame->sizeAnswers.push_back({40, 30});
    f.ws.environmentReady = 0;  // "always"
    EXPECT_TRUE(f.run(IdNewImage));
    EXPECT_EQ(f.ws.imageWidth, 40);
    EXPECT_EQ(f.ws.imageHeight, 30);
    EXPECT_EQ(f.ws.image[0], 255);
    EXPECT_EQ(f.ws.image[40 * 30 * 3 - 1], 255);
    EXPECT_EQ(f.ws.imageLoaded, 1);
    // Too large for the block: refused with a message, the old image stays.
    f.frame->sizeAnswers.push_back({100'000, 100'000});
    EXPECT_TRUE(f.run(IdNewImage));
    EXPECT_EQ(f.ws.imageWidth, 40);
    EXPECT_EQ(f.t.platform.messages.size(), 1u);
    EXPECT_TRUE(f.run(IdNewImage));  // Cancel
    EXPECT_EQ(f.ws.imageWidth, 40);
}

TEST(ImageCommands, MaskDisplayOverlaysAndMaskEdits)
{
    test::StudioFixture f;
    test::fillPattern(f.ws, 4, 4);
    EXPECT_TRUE(f.run(IdMaskOn));
    EXPECT_EQ(f.ws.maskVisible, 1);
    EXPECT_TRUE(f.run(IdOverlayRed));
    EXPECT_EQ(f.ws.maskOverlayMode, 1);
    EXPECT_EQ(f.ws.maskOverlayColour[2], 255);
    EXPECT_EQ(f.ws.maskOverlayColour[0], 0);
    EXPECT_TRUE(f.frame->action(IdOverlayRed)->isChecked());
    EXPECT_FALSE(f.frame->action(IdOverlayBlue)->isChecked());
    EXPECT_TRUE(f.run(IdOverlayClear));
    EXPECT_EQ(f.ws.maskOverlayMode, 0);
    EXPECT_TRUE(f.run(IdOverlayBlue));
    EXPECT_EQ(f.ws.maskOverlayColour[0], 255);
    EXPECT_TRUE(f.run(IdMaskOff));
    EXPECT_EQ(f.ws.maskVisible, 0);

    EXPECT_TRUE(f.run(IdInvertMask));
    EXPECT_EQ(f.ws.mask[7], 255);
    EXPECT_TRUE(f.run(IdClearMask));
    EXPECT_EQ(f.ws.mask[7], 0);

    // (0, 0) is black in the pattern: black to mask selects it, shows the
    // mask in green; masked to black paints the selection.
    f.ws.toolMode = ModeMaskPen;
    EXPECT_TRUE(f.run(IdBlackToMask));
    EXPECT_EQ(f.ws.mask[0], 255);
    EXPECT_EQ(f.ws.mask[1], 0);
    EXPECT_EQ(f.ws.maskVisible, 1);
    EXPECT_EQ(f.ws.maskOverlayMode, 2);
    EXPECT_EQ(f.ws.toolMode, ModeNone);
    f.ws.mask[5] = 255;
    EXPECT_TRUE(f.run(IdMaskedToBlack));
    EXPECT_EQ(f.ws.image[15] | f.ws.image[16] | f.ws.image[17], 0);
    EXPECT_NE(f.ws.image[6] | f.ws.image[7] | f.ws.image[8], 0);
}

TEST(ImageCommands, RotateMirrorAndHalveTheImageWithItsMask)
{
    test::StudioFixture f;
    test::fillPattern(f.ws, 6, 4);
    f.ws.mask[1] = 255;  // (1, 0)
    const std::vector<uint8_t> orig(f.ws.image, f.ws.image + 72);
    f.ws.modelLoaded = f.ws.modelMapped = 1;
    EXPECT_TRUE(f.run(IdRotateClockwise));
    EXPECT_EQ(f.ws.imageWidth, 4);
    EXPECT_EQ(f.ws.imageHeight, 6);
    // Clockwise: new (x, y) = old (y, H - 1 - x): old (1, 0) lands at (3, 1).
    EXPECT_EQ(f.ws.mask[1 * 4 + 3], 255);
    EXPECT_EQ(f.ws.modelLoaded, 0);
    EXPECT_TRUE(f.run(IdRotateCounter));
    EXPECT_EQ(std::vector<uint8_t>(f.ws.image, f.ws.image + 72), orig);
    EXPECT_EQ(f.ws.mask[1], 255);

    EXPECT_TRUE(f.run(IdMirrorLeftRight));
    EXPECT_EQ(f.ws.mask[4], 255);
    EXPECT_EQ(f.ws.image[0], orig[5 * 3]);
    EXPECT_TRUE(f.run(IdMirrorLeftRight));
    EXPECT_TRUE(f.run(IdMirrorTopBottom));
    EXPECT_EQ(f.ws.mask[3 * 6 + 1], 255);
    EXPECT_TRUE(f.run(IdHalve));
    EXPECT_EQ(f.ws.imageWidth, 3);
    EXPECT_EQ(f.ws.imageHeight, 2);
}

}  // namespace
}  // namespace orx
