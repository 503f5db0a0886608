// "Open Image File" as a person uses it, and the commands around it: the
// type radios and the list, another folder, the preview and its size strip,
// OK only with a preview, pages of thumbnails decoded on other threads; the
// four open commands with their types, Save JPG with its quality, Save PNG
// and Save TIFF.
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/commandTable.h"
#include "app/imageFileBrowser.h"
#include "studioFixture.h"
#include "support/pictureFixtures.h"
#include "workspace/bitmapFile.h"
#include "workspace/pictureFile.h"

namespace orx {
namespace {

using namespace orx::app;
namespace fs = std::filesystem;

// The picture p as the working image of ws.
void take(Workspace& ws, const test::Pixels& p)
{
    layoutPlanes(ws, p.width, p.height);
    std::memcpy(ws.image, p.rgb.data(), p.rgb.size());
}

// A folder of pictures of every type, names in mixed case, and a file that
// only claims to be a picture.
struct PictureFolder {
    test::TempDir dir;
    test::TestWorkspace t;
    test::Pixels pic = test::seededPicture(90, 40, 5);
    std::string folder = dir.dir().string();

    PictureFolder()
    {
        take(t.ws, pic);
        EXPECT_TRUE(writeBMP(t.ws, dir.path("a.bmp"), t.ws.image, 90, 40));
        EXPECT_TRUE(savePNG(t.ws, dir.path("B.PNG")));
        EXPECT_TRUE(saveTIFF(t.ws, dir.path("c.TIF")));
        EXPECT_TRUE(saveTIFF(t.ws, dir.path("d.tiff")));
        const std::vector<uint8_t> pcx = test::bilevelPcx(8, 2, std::vector<uint8_t>(16, 1));
        std::ofstream(dir.path("E.PCX"), std::ios::binary).write((const char*)pcx.data(), pcx.size());
        std::ofstream(dir.path("broken.png")) << "not a picture";
        fs::create_directory(dir.dir() / "dir.png");
    }
};

TEST(ImageFileBrowser, TypesListTheirOwnFilesInAnyCaseAndTheRequestPreselects)
{
    PictureFolder pf;
    test::StudioFixture f;
    f.studio.imageFolder = pf.folder;
    struct Case {
        int32_t type;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {ImageBmp, {"a.bmp"}},
        {ImageTif, {"c.TIF", "d.tiff"}},
        {ImagePcx, {"E.PCX"}},
        {ImagePng, {"B.PNG", "broken.png"}},
        {ImageJpg, {}},
    };
    for (const Case& c : cases) {
        ImageFileBrowser b(f.studio, c.type, nullptr);
        EXPECT_EQ(b.imageType(), c.type);
        EXPECT_TRUE(b.typeButton(c.type)->isChecked());
        EXPECT_EQ(b.listedNames(), c.names) << imageTypeName(c.type);
    }
    // BMP, then a click on PCX: only the PCX files are left.
    ImageFileBrowser b(f.studio, ImageBmp, nullptr);
    b.show();
    b.typeButton(ImagePcx)->click();
    EXPECT_EQ(b.imageType(), ImagePcx);
    EXPECT_EQ(b.listedNames(), std::vector<std::string>{"E.PCX"});
    // No request: nothing chosen, nothing listed.
    ImageFileBrowser none(f.studio, ImageTypeNone, nullptr);
    EXPECT_TRUE(none.listedNames().empty());
    EXPECT_EQ(none.folderButton()->toolTip(), "Chage folder");
}

TEST(ImageFileBrowser, AnotherFolderKeepsTheTypeAndIsRememberedForTheNextOpening)
{
    PictureFolder pf;
    test::StudioFixture f;
    ImageFileBrowser b(f.studio, ImageTif, nullptr);
    EXPECT_TRUE(b.listedNames().empty());  // the work directory has none
    f.t.platform.files.push_back(pf.dir.path("c.TIF"));
    b.changeFolder();
    EXPECT_EQ(b.folder(), pf.folder);
    EXPECT_EQ(b.imageType(), ImageTif);
    EXPECT_EQ(b.listedNames(), (std::vector<std::string>{"c.TIF", "d.tiff"}));
    ImageFileBrowser again(f.studio, ImagePng, nullptr);
    EXPECT_EQ(again.folder(), pf.folder);
    // A cancelled folder dialog changes nothing.
    b.changeFolder();
    EXPECT_EQ(b.folder(), pf.folder);
}

TEST(ImageFileBrowser, OkWaitsForAPreviewAndTakesTheFileShown)
{
    PictureFolder pf;
    test::StudioFixture f;
    f.studio.imageFolder = pf.folder;
    ImageFileBrowser b(f.studio, ImagePng, nullptr);
    b.show();
    EXPECT_FALSE(b.okButton()->isEnabled());
    b.selectEntry(1);  // broken.png: no preview
    EXPECT_FALSE(b.preview()->hasPicture());
    EXPECT_FALSE(b.okButton()->isEnabled());
    b.okButton()->click();
    EXPECT_EQ(b.result(), QDialog::Rejected);
    b.selectEntry(0);
    EXPECT_TRUE(b.preview()->hasPicture());
    EXPECT_EQ(b.preview()->sizeText(), "90 x 40");
    EXPECT_FALSE(b.preview()->sizeInRed());
    // The preview is the picture fitted into 70 x 60: 70 x 31.
    const QImage shot = b.preview()->grab().toImage();
    EXPECT_NE(shot.pixelColor(35, 30), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(35, 2), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(1, 63), QColor(200, 200, 200));
    // Another type empties the preview again.
    b.typeButton(ImageBmp)->click();
    EXPECT_FALSE(b.okButton()->isEnabled());
    b.selectEntry(0);
    b.okButton()->click();
    EXPECT_EQ(b.result(), QDialog::Accepted);
    EXPECT_EQ(b.choice(), pf.dir.path("a.bmp"));
}

TEST(ImageFileBrowser, ASizeBeyondTheImageBlockIsRed)
{
    PictureFolder pf;
    test::StudioFixture f;
    f.studio.imageFolder = pf.folder;
    f.ws.planeCapacity = 90 * 40 - 1;
    ImageFileBrowser b(f.studio, ImageBmp, nullptr);
    b.selectEntry(0);
    EXPECT_TRUE(b.preview()->hasPicture());
    EXPECT_TRUE(b.preview()->sizeInRed());
    // OK is still there; the import itself says the picture is too large.
    EXPECT_TRUE(b.okButton()->isEnabled());
}

TEST(ImageFileBrowser, ThumbnailsComeInPagesOfTwentyDecodedOnceAndAClickSelects)
{
    test::TempDir dir;
    test::TestWorkspace t;
    take(t.ws, test::seededPicture(40, 30, 9));
    for (int i = 0; i < 23; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "P%02d.PNG", i);
        ASSERT_TRUE(savePNG(t.ws, dir.path(name)));
    }
    test::StudioFixture f;
    f.studio.imageFolder = dir.dir().string();
    ImageFileBrowser b(f.studio, ImagePng, nullptr);
    b.show();
    QSignalSpy ready(&b.page()->loader(), &PictureThumbnailLoader::ready);
    b.thumbnailsButton()->click();
    ASSERT_TRUE(b.page()->loader().waitForIdle(20000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ready.count() == 20; }, 20000));
    EXPECT_EQ(f.studio.pictureThumbs.size(), 20u);
    EXPECT_EQ(b.page()->pageCount(), 2);
    // The second page: three more; back to the first, all from the cache.
    b.page()->setPage(1);
    ASSERT_TRUE(b.page()->loader().waitForIdle(20000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ready.count() == 23; }, 20000));
    EXPECT_EQ(f.studio.pictureThumbs.size(), 23u);
    EXPECT_EQ(b.page()->hitTest(b.page()->cellCentre(3)), -1);
    b.page()->setPage(0);
    EXPECT_EQ(ready.count(), 43);  // reported at once
    // A click on cell 7 selects its file and shows it.
    QTest::mouseClick(b.page(), Qt::LeftButton, {}, b.page()->cellCentre(7));
    EXPECT_EQ(b.list()->currentRow(), 7);
    EXPECT_TRUE(b.okButton()->isEnabled());
    EXPECT_EQ(b.preview()->sizeText(), "40 x 30");
    // A changed file is decoded anew.
    take(t.ws, test::seededPicture(20, 10, 9));
    ASSERT_TRUE(savePNG(t.ws, dir.path("P07.PNG")));
    fs::last_write_time(dir.path("P07.PNG"), fs::last_write_time(dir.path("P07.PNG")) + std::chrono::seconds(5));
    b.selectEntry(8);
    b.selectEntry(7);
    EXPECT_EQ(b.preview()->sizeText(), "20 x 10");
}

// ---- the commands

TEST(ImageFileCommands, EachOpensTheBrowserOnItsTypeAndTheChosenFileBecomesTheImage)
{
    PictureFolder pf;
    test::StudioFixture f;
    const std::pair<int32_t, int32_t> requests[] = {
        {IdOpenImageFile, ImageBmp}, {IdOpenImageFile3, ImageTif}, {IdOpenImageFile4, ImageJpg}, {IdOpenImageFile5, ImagePcx}};
    for (const auto& [id, type] : requests) {
        f.frame->imageTypesAsked.clear();
        EXPECT_TRUE(f.run(id));  // cancelled
        EXPECT_EQ(f.frame->imageTypesAsked, std::vector<int32_t>{type});
    }
    EXPECT_EQ(f.ws.imageLoaded, 0);
    f.ws.rgbUndoCount = 2;
    f.ws.maskVisible = 1;
    f.frame->imageAnswers.push_back(pf.dir.path("c.TIF"));
    EXPECT_TRUE(f.run(IdOpenImageFile3));
    EXPECT_EQ(f.ws.imageWidth, 90);
    EXPECT_EQ(f.ws.imageHeight, 40);
    EXPECT_EQ(0, std::memcmp(f.ws.image, pf.pic.rgb.data(), pf.pic.rgb.size()));
    EXPECT_EQ(f.ws.rgbUndoCount, 0);
    EXPECT_EQ(f.ws.maskVisible, 0);
    EXPECT_EQ(f.ws.currentFileName, pf.dir.path("c.TIF"));
    // A file that is no picture: said, and the image stays.
    f.frame->imageAnswers.push_back(pf.dir.path("broken.png"));
    EXPECT_TRUE(f.run(IdOpenImageFile));
    EXPECT_TRUE(f.t.platform.said("broken.png"));
    EXPECT_EQ(f.ws.imageWidth, 90);
}

TEST(ImageFileCommands, SaveJpgRemembersItsQualityAndThePictureSavesKeepTheirSpelling)
{
    test::StudioFixture f;
    take(f.ws, test::seededPicture(64, 48, 3));
    f.ws.imageLoaded = 1;
    const std::string low = f.dir.path("low"), high = f.dir.path("high.jpeg");
    f.frame->jpegAnswers.push_back({low, 20});
    f.frame->jpegAnswers.push_back({high, 0});
    f.frame->jpegAnswers.push_back({"", 50});  // cancelled: the quality stays
    ASSERT_TRUE(f.run(IdSaveJpg));
    ASSERT_TRUE(f.run(IdSaveJpg));
    ASSERT_TRUE(f.run(IdSaveJpg));
    EXPECT_EQ(f.frame->jpegQualityShown, (std::vector<int32_t>{92, 20, 20}));
    EXPECT_EQ(f.ws.jpegQuality, 20);
    ASSERT_TRUE(fs::exists(low + ".JPG"));
    ASSERT_TRUE(fs::exists(high));
    EXPECT_FALSE(fs::exists(high + ".JPG"));
    // Both at quality 20: the same bytes.
    EXPECT_EQ(test::readFileBytes(low + ".JPG"), test::readFileBytes(high));

    f.t.platform.files = {f.dir.path("p"), f.dir.path("t.tiff")};
    ASSERT_TRUE(f.run(IdSavePng));
    ASSERT_TRUE(f.run(IdSaveTiff));
    for (const std::string& name : {f.dir.path("p.PNG"), f.dir.path("t.tiff")}) {
        test::TestWorkspace back;
        int32_t w = 0, h = 0;
        ASSERT_TRUE(readPicture(back.ws, name, back.ws.image, w, h)) << name;
        EXPECT_EQ(w, 64);
        EXPECT_EQ(0, std::memcmp(back.ws.image, f.ws.image, 64 * 48 * 3)) << name;
    }
    EXPECT_EQ(findCommand(IdSavePng)->english, std::string("Save PNG..."));
}

}  // namespace
}  // namespace orx
