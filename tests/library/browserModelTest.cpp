// The thumbnail browser's model: geometry of both layouts, which cell a
// point lands on, scrolling within 1..fileCount, the first-letter search
// and the layout file.
#include <gtest/gtest.h>

#include "library/browserModel.h"
#include "support/testSupport.h"

namespace orx {
namespace {

std::vector<std::string> lettersNames(int n)
{
    // A0, A1, ... in runs of three per letter: AAA BBB CCC ...
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.push_back(std::string(1, char('A' + i / 3)) + "NAME" + std::to_string(i) + ".CLO");
    return names;
}

TEST(BrowserGeometry, HorizontalStripAlongTheBottom)
{
    const BrowserGeometry g = browserGeometry(BrowserHorizontal, 1280, 1024);
    EXPECT_EQ(g.window.x, 0);
    EXPECT_EQ(g.window.y, 1024 - 140 - 25);
    EXPECT_EQ(g.window.width, 1280);
    EXPECT_EQ(g.window.height, 140);
    EXPECT_EQ(g.innerWidth, 1274);
    EXPECT_EQ(g.innerHeight, 96);
    EXPECT_EQ(g.cellsPerView, (1280 - 6 - 25) / 80);
    EXPECT_EQ(g.buttons[0].x, 2);
    EXPECT_EQ(g.buttons[1].y, 28);
    EXPECT_EQ(g.buttons[2].y, 54);

    const BrowserCellBoxes c = browserCellBoxes(BrowserHorizontal, 2);
    EXPECT_EQ(c.cell.x, 32 + 160);
    EXPECT_EQ(c.cell.width, 73);
    EXPECT_EQ(c.cell.height, 95);
    EXPECT_EQ(c.thumbnail.y, 16);
    EXPECT_EQ(c.size.y, 77);
}

TEST(BrowserGeometry, VerticalStripAtTheRight)
{
    const BrowserGeometry g = browserGeometry(BrowserVertical, 1280, 1024);
    EXPECT_EQ(g.window.x, 1280 - 110);
    EXPECT_EQ(g.window.y, 40);
    EXPECT_EQ(g.window.width, 110);
    EXPECT_EQ(g.window.height, 1024 - 40);
    EXPECT_EQ(g.cellsPerView, (1024 - 84 - 30) / 95);
    EXPECT_EQ(g.buttons[1].x, 28);
    EXPECT_EQ(g.buttons[2].x, 54);
    EXPECT_EQ(g.buttons[2].y, 2);

    const BrowserCellBoxes c = browserCellBoxes(BrowserVertical, 1);
    EXPECT_EQ(c.cell.x, 2);
    EXPECT_EQ(c.cell.y, 30 + 95);
    EXPECT_EQ(c.thumbnail.y, 30 + 95 + 32);
    EXPECT_EQ(c.size.y, 30 + 95 + 16);
}

TEST(BrowserCells, NameIsCutToTenCharactersAndTheSizeIsWidthByHeight)
{
    EXPECT_EQ(browserCellName("ABCDEFGHIJKL"), "ABCDEFGHIJ");
    EXPECT_EQ(browserCellName("SHORT.CLO"), "SHORT.CLO");
    EXPECT_EQ(browserCellSize(1000, 1280), "1000x1280");
}

TEST(BrowserHitTest, ClicksLandOnCellsOfTheView)
{
    BrowserModel m;
    m.setLayout(BrowserHorizontal, 1280, 1024);
    m.setFileCount(30);
    EXPECT_EQ(m.hitTest(32, 2), 0);
    EXPECT_EQ(m.hitTest(111, 78), 0);   // still the first step of 80
    EXPECT_EQ(m.hitTest(112, 40), 1);
    EXPECT_EQ(m.hitTest(31, 40), -1);   // left of the cells: the buttons
    EXPECT_EQ(m.hitTest(40, 1), -1);
    EXPECT_EQ(m.hitTest(40, 79), -1);   // below the thumbnails
    m.setFirstVisible(5);
    EXPECT_EQ(m.hitTest(112, 40), 5);
    EXPECT_EQ(m.cellOf(5), 1);
    EXPECT_EQ(m.cellOf(2), -1);

    // Past the last file nothing is hit.
    m.setFileCount(6);
    m.setFirstVisible(5);
    EXPECT_EQ(m.hitTest(32 + 80, 40), 5);
    EXPECT_EQ(m.hitTest(32 + 160, 40), -1);

    BrowserModel v;
    v.setLayout(BrowserVertical, 1280, 1024);
    v.setFileCount(30);
    EXPECT_EQ(v.hitTest(2, 30), 0);
    EXPECT_EQ(v.hitTest(71, 30 + 95), 1);
    EXPECT_EQ(v.hitTest(72, 40), -1);
    EXPECT_EQ(v.hitTest(10, 29), -1);
}

TEST(BrowserScrolling, StaysWithinOneToFileCount)
{
    BrowserModel m;
    m.setLayout(BrowserHorizontal, 12 * 80 + 31, 1024);  // 12 cells
    ASSERT_EQ(m.cellsPerView(), 12);
    m.setFileCount(25);

    m.scroll(BrowserScroll::LineBack);
    EXPECT_EQ(m.firstVisible(), 1);
    m.scroll(BrowserScroll::LineForward);
    EXPECT_EQ(m.firstVisible(), 2);
    m.scroll(BrowserScroll::PageForward);
    EXPECT_EQ(m.firstVisible(), 14);
    m.setFirstVisible(20);
    m.scroll(BrowserScroll::PageForward);
    EXPECT_EQ(m.firstVisible(), 25);
    m.scroll(BrowserScroll::LineForward);
    EXPECT_EQ(m.firstVisible(), 25);
    m.scroll(BrowserScroll::PageBack);
    EXPECT_EQ(m.firstVisible(), 13);
    m.scroll(BrowserScroll::PageBack);
    m.scroll(BrowserScroll::PageBack);
    EXPECT_EQ(m.firstVisible(), 1);
    m.scroll(BrowserScroll::Thumb, 17);
    EXPECT_EQ(m.firstVisible(), 17);
    m.scroll(BrowserScroll::Thumb, 99);
    EXPECT_EQ(m.firstVisible(), 25);
    m.scroll(BrowserScroll::Top);
    EXPECT_EQ(m.firstVisible(), 1);
    m.scroll(BrowserScroll::Bottom);
    EXPECT_EQ(m.firstVisible(), 25);

    // A list that shrinks takes the first cell with it; an empty one stays at 1.
    m.setFileCount(3);
    EXPECT_EQ(m.firstVisible(), 3);
    m.setFileCount(0);
    m.scroll(BrowserScroll::Bottom);
    EXPECT_EQ(m.firstVisible(), 1);
}

TEST(BrowserSearch, FirstLetterJumpsOnlyWithMoreThanTenFiles)
{
    BrowserModel m;
    m.setLayout(BrowserHorizontal, 1280, 1024);
    std::vector<std::string> names = lettersNames(10);
    m.setFileCount(10);
    EXPECT_FALSE(m.search('C', names));
    EXPECT_EQ(m.firstVisible(), 1);

    names = lettersNames(11);
    m.setFileCount(11);
    EXPECT_TRUE(m.search('c', names));  // typed in lower case, compared in upper case
    EXPECT_EQ(m.firstVisible(), 7);     // CNAME6 is the seventh
    EXPECT_TRUE(m.search('A', names));
    EXPECT_EQ(m.firstVisible(), 1);
    EXPECT_FALSE(m.search('Z', names));  // no such name: the strip stays
    EXPECT_EQ(m.firstVisible(), 1);

    names[3] = "bLower.CLO";  // names are compared in upper case too
    EXPECT_TRUE(m.search('B', names));
    EXPECT_EQ(m.firstVisible(), 4);
}

TEST(BrowserLayoutFile, ReadWithoutRegardToCaseWrittenWithANewline)
{
    test::TempDir dir;
    const std::string path = dir.path("VLXHV.CFG");
    EXPECT_EQ(readBrowserLayout(path, BrowserVertical), BrowserHorizontal);  // missing file

    test::writeFileBytes(path, {'v', 'e', 'r', 't', 'i', 'c', 'a', 'l'});
    EXPECT_EQ(readBrowserLayout(path, BrowserHorizontal), BrowserVertical);
    test::writeFileBytes(path, {'H', 'o', 'r', 'i', 'z', 'o', 'n', 't', 'a', 'l', '\n'});
    EXPECT_EQ(readBrowserLayout(path, BrowserVertical), BrowserHorizontal);
    test::writeFileBytes(path, {'D', 'I', 'A', 'G', 'O', 'N', 'A', 'L'});
    EXPECT_EQ(readBrowserLayout(path, BrowserVertical), BrowserVertical);  // other words keep it
    EXPECT_EQ(readBrowserLayout(path, BrowserHorizontal), BrowserHorizontal);

    ASSERT_TRUE(writeBrowserLayout(path, BrowserVertical));
    const std::vector<uint8_t> bytes = test::readFileBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "VERTICAL\n");
    ASSERT_TRUE(writeBrowserLayout(path, BrowserHorizontal));
    const std::vector<uint8_t> again = test::readFileBytes(path);
    EXPECT_EQ(std::string(again.begin(), again.end()), "HORIZONTAL\n");
    EXPECT_FALSE(writeBrowserLayout(dir.path("missing/VLXHV.CFG"), BrowserVertical));
}

}  // namespace
}  // namespace orx
