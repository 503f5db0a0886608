// The thumbnail browser as a person uses it: click to choose, right click
// to delete after a question, a letter to jump, the strip moved between the
// edges, another folder's files.
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include <gtest/gtest.h>

#include "app/thumbnailBrowser.h"
#include "library/folderLibrary.h"
#include "studioFixture.h"

namespace orx {
namespace {

using namespace orx::app;
namespace fs = std::filesystem;

QPoint cellPoint(const ThumbnailBrowser& b, int k)
{
    const BrowserCellBoxes c = browserCellBoxes(b.model().layout(), k);
    return QPoint(c.cell.x + 20, c.cell.y + 30);
}

// A folder library of n materials A00.CLO, B01.CLO, ... copied from the sample.
std::string materialFolder(const test::TempDir& dir, int n)
{
    const fs::path folder = dir.dir() / "lib";
    fs::create_directory(folder);
    for (int i = 0; i < n; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "%c%02d.CLO", 'A' + i / 2, i);
        fs::copy_file(test::sampleLibraryDir() + "/DENIM.CLO", folder / name);
    }
    return folder.string();
}

TEST(ThumbnailBrowser, AClickChoosesAndClosesForPurposeZero)
{
    test::StudioFixture f;
    const LibraryList& materials = f.studio.library.materialList;
    ASSERT_GE(materials.size(), 3u);
    ThumbnailBrowser b(f.studio, "Select Material", "CLO", nullptr);
    EXPECT_EQ(b.entries().size(), materials.size());
    EXPECT_EQ(b.windowTitle(), "Select Material  <Hint>keyin 1st character for fast search");
    EXPECT_EQ(b.button(0)->toolTip(), "Chage folder");
    EXPECT_EQ(b.button(1)->toolTip(), "Exit");
    EXPECT_EQ(b.button(2)->toolTip(), "Change position");
    EXPECT_EQ(b.scrollBar()->minimum(), 1);
    EXPECT_EQ(b.scrollBar()->maximum(), int(materials.size()));
    EXPECT_EQ(b.scrollBar()->value(), 1);
    b.show();
    EXPECT_EQ(b.scrollBar()->value(), 1);
    QTest::mouseClick(&b, Qt::LeftButton, {}, cellPoint(b, 1));
    EXPECT_EQ(b.result(), QDialog::Accepted);
    EXPECT_EQ(b.choice(), materials[1].name);
    EXPECT_EQ(b.selected(), 1);

    ThumbnailBrowser models(f.studio, "Select MDL file", "MDL", nullptr);
    EXPECT_EQ(models.entries().size(), f.studio.library.modelList.size());
    models.show();
    QTest::mouseClick(&models, Qt::LeftButton, {}, QPoint(5, 5) + QPoint(0, 90));  // beside the cells
    EXPECT_EQ(models.choice(), "");
}

TEST(ThumbnailBrowser, RightClickDeletesAfterYes)
{
    test::StudioFixture f;
    test::TempDir d;
    const std::string folder = materialFolder(d, 4);
    f.studio.library = OnlineLibrary();
    LibraryConfig cfg;
    cfg.location = folder;
    ASSERT_EQ(openLibrary(f.ws, cfg, f.studio.library), 1);
    ThumbnailBrowser b(f.studio, "Select Material", "CLO", nullptr);
    b.show();
    ASSERT_EQ(b.entries().size(), 4u);

    f.t.platform.answers = {false};
    QTest::mouseClick(&b, Qt::RightButton, {}, cellPoint(b, 2));
    EXPECT_TRUE(f.t.platform.said("Are you sure to delete B02.CLO ?"));
    EXPECT_TRUE(fs::exists(folder + "/B02.CLO"));
    EXPECT_EQ(b.selected(), -1);

    f.t.platform.answers = {true};
    QTest::mouseClick(&b, Qt::RightButton, {}, cellPoint(b, 2));
    EXPECT_FALSE(fs::exists(folder + "/B02.CLO"));
    EXPECT_EQ(b.entries().size(), 3u);
    EXPECT_EQ(b.scrollBar()->maximum(), 3);
    EXPECT_EQ(b.result(), 0);  // still open
}

TEST(ThumbnailBrowser, TypedLetterJumpsWithMoreThanTenFiles)
{
    test::StudioFixture f;
    test::TempDir d;
    f.studio.library = OnlineLibrary();
    LibraryConfig cfg;
    cfg.location = materialFolder(d, 14);
    ASSERT_EQ(openLibrary(f.ws, cfg, f.studio.library), 1);
    ThumbnailBrowser b(f.studio, "Select Material", "CLO", nullptr);
    b.show();
    QTest::keyClick(&b, 'e');
    EXPECT_EQ(b.model().firstVisible(), 9);  // E08.CLO is the ninth
    EXPECT_EQ(b.scrollBar()->value(), 9);
    EXPECT_TRUE(b.windowTitle().endsWith(" E "));
    QTest::keyClick(&b, 'z');  // no such name: the strip stays
    EXPECT_EQ(b.model().firstVisible(), 9);
    b.scrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(b.model().firstVisible(), 1);
    b.scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(b.model().firstVisible(), 2);
    b.scrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(b.model().firstVisible(), 14);
    // A click now lands on the file shown, not the first of the list.
    QTest::mouseClick(&b, Qt::LeftButton, {}, cellPoint(b, 0));
    EXPECT_EQ(b.choice(), f.studio.library.materialList[13].name);
}

TEST(ThumbnailBrowser, PositionFlipsAndIsKeptInTheLayoutFile)
{
    test::StudioFixture f;
    ThumbnailBrowser b(f.studio, "Select Material", "CLO", nullptr);
    EXPECT_EQ(b.model().layout(), BrowserHorizontal);
    EXPECT_EQ(b.scrollBar()->orientation(), Qt::Horizontal);
    b.button(2)->click();
    EXPECT_EQ(b.model().layout(), BrowserVertical);
    EXPECT_EQ(b.scrollBar()->orientation(), Qt::Vertical);
    EXPECT_EQ(b.width(), 110);
    const std::vector<uint8_t> bytes = test::readFileBytes(f.dir.path("VLXHV.CFG"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "VERTICAL\n");

    ThumbnailBrowser again(f.studio, "Select Material", "CLO", nullptr);  // opens where it was left
    EXPECT_EQ(again.model().layout(), BrowserVertical);
}

TEST(ThumbnailBrowser, ChangeFolderListsThatFolderAndChoosesFullPaths)
{
    test::StudioFixture f;
    test::TempDir d;
    const std::string folder = materialFolder(d, 3);
    const fs::path cwd = fs::current_path();
    struct Back {
        fs::path to;
        ~Back() { fs::current_path(to); }
    } back{cwd};
    ThumbnailBrowser b(f.studio, "Select Material", "CLO", nullptr);
    b.show();
    f.t.platform.files.push_back(folder + "/A00.CLO");
    b.button(0)->click();
    EXPECT_EQ(b.entries().size(), 3u);
    EXPECT_EQ(f.ws.WORKDIR, folder);
    EXPECT_TRUE(b.windowTitle().contains(QString::fromStdString(folder)));
    ASSERT_EQ(b.entries()[0].thumbnail.size(), kThumbBytes);
    EXPECT_GT(b.entries()[0].width, 0);
    QTest::mouseClick(&b, Qt::LeftButton, {}, cellPoint(b, 1));
    EXPECT_EQ(b.choice(), folder + "/A01.CLO");
    // The studio reads such a path from the disk, and library names from the library.
    EXPECT_NE(f.studio.files.open(b.choice()), nullptr);
    EXPECT_NE(f.studio.files.open("DENIM.CLO"), nullptr);
    EXPECT_EQ(f.studio.files.open("A01.CLO"), nullptr);
}

}  // namespace
}  // namespace orx
