// Command macros: reading them, playing them through the frame, and work
// recorded from Qt's test events played back in a window of another size.
#include <QTest>
#include <QWheelEvent>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "app/commandTable.h"
#include "app/macroPlayer.h"
#include "app/macroRecorder.h"
#include "app/view.h"
#include "studioFixture.h"
#include "workspace/display.h"
#include "workspace/bitmapFile.h"
#include "workspace/nativeFile.h"

namespace orx {
namespace {

using namespace orx::app;

TEST(MacroReading, RefusalsNameTheLineAndWhy)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"wait 10\njump 1 2\n", "line 2: unknown action jump"},
        {"click 1\n", "line 1: click N N [right] [shift] [ctrl] is the form"},
        {"click 1 2 middle\n", "line 1: click N N [right] [shift] [ctrl] is the form"},
        {"down 1 2 right right\n", "line 1: down N N [right] [shift] [ctrl] is the form"},
        {"wait -1\n", "line 1: a wait is 0 ms or more"},
        {"wait 99999999999\n", "line 1: wait N is the form"},
        {"command 12345\n", "line 1: no such command"},
        {"view 17 0 0\n", "line 1: the scale is one of 1, 2, 4, 8, 16, 32, 48, ... 240"},
        {"key NoSuchKey\n", "line 1: no such key"},
        {"# fine\n\nanswer maybe\n", "line 3: unknown answer maybe"},
        {"answer language 2\n", "line 1: the language is 1 or 3"},
        {"answer print 3\n", "line 1: the print type is 1, 2, 4 or 5"},
        {"answer contrast 2.5\n", "line 1: the contrast lies between 0.1 and 2.0"},
        {"answer colour 1 2 256\n", "line 1: a colour is three values 0..255"},
        {"answer printer lpt1\n", "line 1: the printer is: pdf PATH [a4|letter|WxHin], or default"},
        {"answer open\n", "line 1: answer open PATH is the form"},
        {"answer editor\nA.MDL\n", "line 1: the editor's text has no end line \".\""},
        {"expect message\n", "line 1: expect message TEXT is the form"},
        {"open ${FILE}\n", "line 1: ${FILE} and ${STEM} need a START file"},
    };
    for (const Case& c : cases) {
        Macro m;
        std::string error;
        EXPECT_FALSE(parseMacro(c.text, "/m/a.mac", "", m, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(MacroReading, ValuesPathsAndBlocks)
{
    const char* text =
        "open ${STEM}.BMP\r\n"
        "save out dir/a b.RGB  \n"
        "  click 3 -4 ctrl right\n"
        "answer printer pdf sub/p q.pdf 8.5x11in\n"
        "answer printer pdf /abs/p.pdf\n"
        "answer editor\n"
        "A.MDL\n"
        "\n"
        ".\n"
        "expect message two\\nlines \\\\ here\n"
        "key Escape\n";
    Macro m;
    std::string error;
    ASSERT_TRUE(parseMacro(text, "/m/a.mac", "/w/pic.x.RGB", m, error)) << error;
    ASSERT_EQ(m.lines.size(), 8u);
    EXPECT_EQ(m.lines[0].args[0], "/w/pic.x.BMP");
    EXPECT_EQ(m.lines[1].args[0], "/m/out dir/a b.RGB");
    EXPECT_EQ(m.lines[2].number, 3);
    EXPECT_EQ(m.lines[2].integer(1), -4);
    EXPECT_TRUE(m.lines[2].has("right") && m.lines[2].has("ctrl") && !m.lines[2].has("shift"));
    EXPECT_EQ(m.lines[3].args, (std::vector<std::string>{"pdf", "/m/sub/p q.pdf", "8.5x11in"}));
    EXPECT_EQ(m.lines[4].args, (std::vector<std::string>{"pdf", "/abs/p.pdf", "a4"}));
    EXPECT_EQ(m.lines[5].kind, "editor");
    EXPECT_EQ(m.lines[5].block, (std::vector<std::string>{"A.MDL", ""}));
    EXPECT_EQ(m.lines[6].number, 10);
    EXPECT_EQ(m.lines[6].args[0], "two\nlines \\ here");
    EXPECT_EQ(escapeMacroText(m.lines[6].args[0]), "two\\nlines \\\\ here");
    EXPECT_EQ(m.lines[7].number, 11);
}

using test::MacroFixture;

TEST(MacroPlaying, AnswersAndMessagesMustMatchTheirAction)
{
    MacroFixture f;
    std::string err;
    // A save dialog answered, then the picture read back.
    EXPECT_EQ(f.play("answer save pic.RGB\ncommand " + std::to_string(IdSaveRgb) + "\n"), "");
    int32_t w = 0, h = 0;
    EXPECT_EQ(readImageSize(localFiles(), f.s.dir.path("pic.RGB"), w, h), SizeRead::Ok);
    EXPECT_EQ(w, 240);

    struct Case {
        std::string text;
        std::string error;  // its start
    };
    const std::string save = "command " + std::to_string(IdSaveRgb) + "\n";
    const Case cases[] = {
        {save, "line 1: no answer for: Save RGB file"},
        {"answer yes\n" + save, "line 2: answer yes (line 1) does not fit: Save RGB file"},
        {"answer cancel\nanswer cancel\n" + save, "line 3: answer cancel of line 2 was not used"},
        {"answer stop 3\nanswer cancel\n" + save, "line 3: answer stop of line 1 was not used"},
        {"expect message hello\nanswer cancel\n" + save, "line 3: message not shown: hello"},
        {"answer cancel\n", "line 1: nothing came after it to take it"},
        // The open says why it failed, and a message the macro did not expect is its error.
        {"open none.RGB\n", "line 1: unexpected message: Can not open " + f.s.dir.path("none.RGB") + " file."},
        {"command " + std::to_string(IdMemory) + "\n", "line 1: unexpected message: RAM: "},
    };
    for (const Case& c : cases) EXPECT_EQ(f.play(c.text, &err).substr(0, c.error.size()), c.error) << c.text;
    // A message box is printed and, announced, passes.
    const std::string memory = memoryRamText(f.ws);
    EXPECT_EQ(f.play("expect message " + escapeMacroText(memory) + "\nexpect message " +
                         escapeMacroText(memoryCapacityText(f.ws)) + "\ncommand " + std::to_string(IdMemory) + "\n",
                     &err),
              "");
    EXPECT_NE(err.find("message: RAM: "), std::string::npos) << err;
    // A disabled command fails its line; so does a mouse line with no picture.
    f.ws.imageLoaded = 0;
    EXPECT_EQ(f.play("command " + std::to_string(IdSharpen) + "\n"), "line 1: command 32877 is disabled");
    EXPECT_EQ(f.play("click 1 1\n"), "line 1: there is no picture");
}

// Work done with Qt's test events and recorded plays back in a smaller
// window to the same bytes: a zoom with Control and the wheel, a sharpened
// band dragged at that scale, an inverted mask, a saved picture.
TEST(MacroRecording, ReplaysInAnotherWindowToTheSameBytes)
{
    MacroFixture a;
    const std::string macro = a.s.dir.path("work.mac");
    const std::vector<uint8_t> before = a.image();
    const int32_t startScale = a.ws.displayScale16;
    {
        MacroRecorder recorder(*a.s.frame, macro);
        QTest::mouseClick(&a.view, Qt::LeftButton, Qt::ControlModifier, a.win(120, 90));  // one step in
        ASSERT_EQ(a.ws.displayScale16, zoomStepIn(startScale));
        QWheelEvent wheel(QPointF(a.win(60, 40)), a.view.mapToGlobal(QPointF(a.win(60, 40))), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&a.view, &wheel);
        ASSERT_TRUE(a.s.frame->execute(IdSharpen));
        const QPoint from = a.win(50, 30), to = a.win(110, 70);
        QTest::mousePress(&a.view, Qt::LeftButton, {}, from);
        QTest::mouseMove(&a.view, (from + to) / 2);
        QTest::mouseMove(&a.view, to);
        QTest::mouseRelease(&a.view, Qt::LeftButton, {}, to);
        ASSERT_TRUE(a.s.frame->execute(IdInvertMask));
        a.s.t.platform.files.push_back(a.s.dir.path("out.RGB"));
        ASSERT_TRUE(a.s.frame->execute(IdSaveRgb));
        ASSERT_TRUE(recorder.ok());
    }
    ASSERT_FALSE(a.image() == before) << "the band was not sharpened";
    const std::vector<uint8_t> bytes = test::readFileBytes(macro);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("click 120 90 ctrl\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nview "), std::string::npos) << text;
    EXPECT_NE(text.find("answer save out.RGB\ncommand 32775\n"), std::string::npos) << text;

    MacroFixture b(700, 500);
    ASSERT_NE(b.view.width(), a.view.width());
    std::string err;
    EXPECT_EQ(b.play(text), "") << text;
    ASSERT_EQ(b.image().size(), a.image().size());
    EXPECT_TRUE(b.image() == a.image()) << "the picture differs";
    EXPECT_EQ(std::memcmp(b.ws.mask, a.ws.mask, pixelCount(a.ws)), 0);
    EXPECT_EQ(b.ws.displayScale16, a.ws.displayScale16);
    EXPECT_TRUE(test::readFileBytes(b.s.dir.path("out.RGB")) == test::readFileBytes(a.s.dir.path("out.RGB")));
}

}  // namespace
}  // namespace orx

namespace orx {
namespace {

// The program itself: orxweb --macro FILE --exit START, offscreen.
TEST(MacroProgram, ExitStatusAndTheFailingLine)
{
    test::TempDir work;
    test::writeFileBytes(work.path("ORX10.CFG"), {'E', 'N', 'G', 'L', 'I', 'S', 'H', '\n'});
    for (const auto& e : std::filesystem::directory_iterator(test::sampleLibraryDir()))
        if (e.path().filename().string().rfind("DRESS", 0) == 0) std::filesystem::copy(e.path(), work.dir());
    const std::string start = work.path("DRESS.MDL");
    auto run = [&](const std::string& text) {
        test::writeFileBytes(work.path("m.mac"), std::vector<uint8_t>(text.begin(), text.end()));
        return test::runProcess(test::orxwebPath(), {"--macro", "m.mac", "--exit", start},
                                {{"ORX_LIBRARY_URL", test::sampleLibraryDir()}, {"QT_QPA_PLATFORM", "offscreen"},
                                 {"ORX_BLOCK_BYTES", "64000000"}},
                                work.dir().string());
    };
    test::ProcessResult r = run("save dressed.BMP\nsavemask ${STEM}-copy.MSK\n");
    EXPECT_EQ(r.status, 0) << r.err;
    int32_t w = 0, h = 0;
    EXPECT_TRUE(readBMPSize(localFiles(), work.path("dressed.BMP"), w, h));
    EXPECT_EQ(w, 1000);
    EXPECT_TRUE(fileExists(work.path("DRESS-copy.MSK"))) << "${STEM} is START less its extension";

    r = run("wait 1\ncommand 32877\nclick 10 10 middle\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 3: click N N [right] [shift] [ctrl] is the form"), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(work.path("dressed2.BMP")));
    r = run("save dressed2.BMP\nanswer cancel\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 2: nothing came after it to take it"), std::string::npos) << r.err;
    EXPECT_TRUE(fileExists(work.path("dressed2.BMP"))) << "the lines before the failing one played";
}

}  // namespace
}  // namespace orx
