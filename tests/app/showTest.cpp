// "Load and Run MMP" in the view, through macros: the pictures, the zoom and
// the paced SHIFT; the three ways a show is stopped; orxweb --show.
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

#include "app/view.h"
#include "studioFixture.h"
#include "workspace/bitmapFile.h"
#include "workspace/display.h"

namespace orx {
namespace {

void writeText(const std::string& path, const std::string& text)
{
    test::writeFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// The fixture's pattern saved as pic.RGB beside the macros, then blanked so
// that a show that loads it is seen.
std::vector<uint8_t> savePicture(test::MacroFixture& f)
{
    EXPECT_EQ(f.play("answer save pic.RGB\ncommand 32775\n"), "");
    std::vector<uint8_t> saved = f.image();
    std::fill(f.ws.image, f.ws.image + saved.size(), 0);
    return saved;
}

TEST(ShowInView, PicturesZoomAndShiftAtMost25StepsASecond)
{
    test::MacroFixture f;
    const std::vector<uint8_t> saved = savePicture(f);
    const int32_t fitted = f.ws.displayScale16;
    f.ws.maskVisible = 1;
    writeText(f.s.dir.path("show.MMP"), "pic.RGB\r\nZOOM 2 100 50\r\nSHIFT 1 0 10\r\nDELAY 0\r\n");
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(f.play("answer open show.MMP\ncommand 32876\n"), "");
    // Ten steps: nine waits of 40 ms at least.
    EXPECT_GE(clock.elapsed(), 360);
    EXPECT_TRUE(f.image() == saved);
    EXPECT_EQ(f.ws.displayScale16, zoomStepIn(zoomStepIn(fitted)));
    EXPECT_EQ(f.ws.viewCentreX, 110);
    EXPECT_EQ(f.ws.viewCentreY, 50);
    EXPECT_EQ(f.ws.maskVisible, 0);
    EXPECT_EQ(f.ws.toolMode, 0);
}

// An endless show with a long DELAY ends at the next poll: a macro's stop
// answer, or Esc or a right click pressed and let go during the wait.
TEST(ShowInView, StopsByAnswerEscOrRightClick)
{
    struct Case {
        const char* name;
        std::string answer;
        std::function<void(CVLX98View&)> press;
    };
    const Case cases[] = {
        {"answer", "answer stop 0\n", nullptr},
        {"Esc", "", [](CVLX98View& v) { QTest::keyClick(&v, Qt::Key_Escape); }},
        {"right click", "", [](CVLX98View& v) { QTest::mouseClick(&v, Qt::RightButton, {}, QPoint(50, 50)); }},
    };
    for (const Case& c : cases) {
        test::MacroFixture f;
        savePicture(f);
        writeText(f.s.dir.path("show.MMP"), "pic.RGB\r\nDELAY 9\r\nREPEAT\r\n");
        if (c.press) QTimer::singleShot(300, &f.view, [&] { c.press(f.view); });
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(f.play(c.answer + "answer open show.MMP\ncommand 32876\n"), "") << c.name;
        EXPECT_LT(clock.elapsed(), 5000) << c.name;
        EXPECT_EQ(f.ws.toolMode, 0) << c.name;
        EXPECT_FALSE(f.view.stopKeysDown()) << c.name << ": the next command starts afresh";
    }
}

// orxweb --show plays full-screen, then the macro saves what it left up.
TEST(ShowInView, TheProgramStartsIntoAShow)
{
    test::MacroFixture f;
    savePicture(f);
    test::writeFileBytes(f.s.dir.path("ORX10.CFG"), {'E', 'N', 'G', 'L', 'I', 'S', 'H', '\n'});
    writeText(f.s.dir.path("show.MMP"), "pic.RGB\r\nDELAY 0\r\n");
    writeText(f.s.dir.path("m.mac"), "save shown.RGB\n");
    const test::ProcessResult r = test::runProcess(
        test::orxwebPath(), {"--show", "show.MMP", "--macro", "m.mac", "--exit"},
        {{"ORX_LIBRARY_URL", test::sampleLibraryDir()}, {"QT_QPA_PLATFORM", "offscreen"}, {"ORX_BLOCK_BYTES", "64000000"}},
        f.s.dir.dir().string());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::readFileBytes(f.s.dir.path("shown.RGB")) == test::readFileBytes(f.s.dir.path("pic.RGB")));
}

}  // namespace
}  // namespace orx
