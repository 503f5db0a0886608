// The paint tools through the program: the palette's planes, strokes,
// shapes, curves, fills, the air brush, the text tool and the colour box,
// driven with the mouse on Qt's offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include <gtest/gtest.h>

#include "app/airBrushPalette.h"
#include "app/colourBoxWindow.h"
#include "app/commandTable.h"
#include "app/macroPlayer.h"
#include "app/macroRecorder.h"
#include "app/paintPalette.h"
#include "app/view.h"
#include "studioFixture.h"
#include "tools/colourBox.h"
#include "workspace/display.h"
#include "workspace/undoSnapshot.h"

namespace orx {
namespace {

using namespace orx::app;

// A shown frame over a 120 x 90 test pattern at 1:1.
struct PaintFixture {
    test::StudioFixture s{LangEnglish, false};
    Workspace& ws = s.ws;
    CVLX98View& view = *s.frame->view();

    PaintFixture()
    {
        s.frame->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(s.frame.get()));
        test::fillPattern(ws, 120, 90);
        showWholeImage(ws);
        EXPECT_EQ(ws.displayScale16, 16);
        ws.penColour = Rgb{250, 0, 0};
        ws.penDensity = 100;
        s.frame->refreshCommandStates();
    }

    bool run(int32_t id) { return s.frame->execute(id); }
    QPoint win(int x, int y) const
    {
        const Point p = imageToWindow(ws, x, y);
        return QPoint(p.x, p.y);
    }
    std::vector<uint8_t> image() const { return {ws.image, ws.image + imageBytes(ws)}; }
    const uint8_t* pixel(int x, int y) const { return ws.image + (y * ws.imageWidth + x) * 3; }
    bool red(int x, int y) const { return pixel(x, y)[0] == 250 && pixel(x, y)[1] == 0 && pixel(x, y)[2] == 0; }
    // The box of the pixels that changed from `before`.
    Rect changedBox(const std::vector<uint8_t>& before) const
    {
        Rect r{ws.imageWidth, ws.imageHeight, -1, -1};
        for (int y = 0; y < ws.imageHeight; ++y)
            for (int x = 0; x < ws.imageWidth; ++x)
                if (std::memcmp(pixel(x, y), before.data() + (y * ws.imageWidth + x) * 3, 3) != 0)
                    r = Rect{std::min(r.x0, x), std::min(r.y0, y), std::max(r.x1, x), std::max(r.y1, y)};
        return r;
    }

    void press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(&view, b, {}, p); }
    void release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(&view, b, {}, p); }
    void move(QPoint p) { QTest::mouseMove(&view, p); }
    void click(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseClick(&view, b, {}, p); }
    // As the window system sends one: a click, then the second press as a
    // double click, then its release.
    void doubleClick(QPoint p)
    {
        click(p);
        QTest::mouseDClick(&view, Qt::LeftButton, {}, p);
        release(p);
    }
    // Plays a macro; its error, empty when every line played.
    std::string play(const std::string& text)
    {
        Macro m;
        std::string error;
        if (!parseMacro(text, s.dir.path("m.mac"), "", m, error)) return error;
        MacroPlayer player(*s.frame, m);
        ::testing::internal::CaptureStderr();
        player.play();
        ::testing::internal::GetCapturedStderr();
        return player.error();
    }
};

TEST(PaintPalette, PlanesMapToolsToTheirTwinsAndDropTheColourImagesOwn)
{
    struct Row {
        int32_t mode, onMask, onImage;
    };
    for (const Row r : {Row{ModeLine, ModeMaskLine, ModeLine}, Row{ModeFill, ModeMaskFill, ModeFill},
                        Row{ModeFilledRectangle, ModeMaskFilledRectangle, ModeFilledRectangle},
                        Row{ModeGradientCircle, ModeNone, ModeGradientCircle}, Row{ModeShadedCurve, ModeNone, ModeShadedCurve},
                        Row{ModeMaskPen, ModeMaskPen, ModePen}, Row{FilterBlur, FilterBlur, FilterBlur}}) {
        EXPECT_EQ(twinMode(r.mode, PaintMask), r.onMask) << r.mode;
        EXPECT_EQ(twinMode(r.mode, PaintImage), r.onImage) << r.mode;
    }

    PaintFixture f;
    ASSERT_TRUE(f.run(IdColourBoxAndPaint));
    PaintPaletteWindow* palette = f.s.frame->paintPalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_NE(f.s.frame->colourBox(), nullptr);
    palette->toolButton(IdLine)->click();
    EXPECT_EQ(f.ws.toolMode, ModeLine);
    palette->planeButton(PaintMask)->click();
    EXPECT_EQ(f.ws.toolMode, ModeMaskLine);
    EXPECT_EQ(f.ws.paintTarget, PaintMask);
    EXPECT_EQ(f.ws.maskVisible, 1);
    EXPECT_FALSE(palette->toolButton(IdGradientCircle)->isEnabled());
    EXPECT_TRUE(palette->toolButton(IdLine)->isChecked());
    palette->planeButton(PaintImage)->click();
    EXPECT_EQ(f.ws.toolMode, ModeLine);
    palette->toolButton(IdGradientCircle)->click();
    EXPECT_EQ(f.ws.toolMode, ModeGradientCircle);
    palette->planeButton(PaintMask)->click();
    EXPECT_EQ(f.ws.toolMode, ModeNone);
    // Widths and dash lengths.
    palette->widthButton(4)->click();
    EXPECT_EQ(f.ws.penWidth, 4);
    palette->pitchList()->activated(19);
    EXPECT_EQ(f.ws.dashPitch, 20);
}

TEST(PaintTools, AStrokeIsOneUndoAndTheRightButtonPicksTheColour)
{
    PaintFixture f;
    const auto before = f.image();
    ASSERT_TRUE(f.run(IdPen));
    f.ws.penWidth = 1;
    f.press(f.win(10, 10));
    for (int x = 12; x <= 40; x += 4) f.move(f.win(x, 10));
    f.release(f.win(40, 12));
    for (int x = 10; x <= 38; ++x) EXPECT_TRUE(f.red(x, 10)) << x;
    EXPECT_EQ(f.ws.rgbUndoCount, 1);
    ASSERT_TRUE(f.run(IdRgbUndo));
    EXPECT_EQ(f.image(), before);

    // The eyedropper takes the pixel under the pointer.
    ASSERT_TRUE(f.run(IdPen));
    f.click(f.win(70, 33), Qt::RightButton);
    EXPECT_EQ(f.ws.penColour.r, f.pixel(70, 33)[0]);
    EXPECT_EQ(f.ws.penColour.g, f.pixel(70, 33)[1]);

    // The mask pen erases while the right button is held.
    ASSERT_TRUE(f.run(IdMaskPen));
    std::fill(f.ws.mask, f.ws.mask + pixelCount(f.ws), 255);
    f.press(f.win(5, 50), Qt::RightButton);
    f.move(f.win(25, 50));
    f.release(f.win(25, 50), Qt::RightButton);
    for (int x = 5; x <= 25; ++x) EXPECT_EQ(f.ws.mask[50 * 120 + x], 0) << x;
    EXPECT_EQ(f.ws.mask[51 * 120 + 15], 255);
    EXPECT_EQ(f.ws.mskUndoCount, 1);
}

TEST(PaintTools, ACircleDraggedThirtyRightAndTenDownIsDrawnInATenByTenBox)
{
    PaintFixture f;
    const auto before = f.image();
    ASSERT_TRUE(f.run(IdFilledCircle));
    f.press(f.win(20, 20));
    f.move(f.win(35, 25));
    f.move(f.win(50, 30));
    EXPECT_EQ(f.view.figures().size(), 1u);
    f.release(f.win(50, 30));
    EXPECT_TRUE(f.view.figures().empty());
    const Rect r = f.changedBox(before);
    EXPECT_EQ(r.x0, 20);
    EXPECT_EQ(r.y0, 20);
    EXPECT_EQ(r.x1, 30);
    EXPECT_EQ(r.y1, 30);
    EXPECT_TRUE(f.red(25, 25));
    // Up and to the left the box keeps the drag's direction.
    ASSERT_TRUE(f.run(IdRgbUndo));
    f.press(f.win(60, 60));
    f.move(f.win(40, 52));
    f.release(f.win(40, 52));
    const Rect l = f.changedBox(before);
    EXPECT_EQ(l.x0, 52);
    EXPECT_EQ(l.x1, 60);
    // The right button takes it back.
    f.click(f.win(5, 5), Qt::RightButton);
    EXPECT_EQ(f.image(), before);
}

TEST(PaintTools, CurvePointsPreviewAndADoubleClickDrawsTheCurveOnce)
{
    PaintFixture f;
    const auto before = f.image();
    ASSERT_TRUE(f.run(IdCurve));
    f.ws.penWidth = 1;
    f.click(f.win(10, 60));
    f.click(f.win(40, 20));
    EXPECT_EQ(f.ws.curvePointCount, 2);
    f.click(f.win(70, 70));
    f.click(f.win(90, 30));
    f.click(f.win(5, 5), Qt::RightButton);  // takes the last point back
    EXPECT_EQ(f.ws.curvePointCount, 3);
    EXPECT_FALSE(f.view.figures().empty());
    EXPECT_EQ(f.image(), before);
    f.doubleClick(f.win(100, 60));
    EXPECT_EQ(f.ws.curvePointCount, 0);
    EXPECT_TRUE(f.view.figures().empty());
    EXPECT_TRUE(f.red(10, 60));
    EXPECT_TRUE(f.red(100, 60));
    EXPECT_FALSE(f.red(90, 30));
    EXPECT_EQ(f.ws.rgbUndoCount, 1);

    // A hundred points at most: the next click beeps and adds none.
    for (int i = 0; i < 101; ++i) f.click(f.win(10 + i % 80, 10 + i / 20));
    EXPECT_EQ(f.ws.curvePointCount, 100);
    EXPECT_EQ(f.s.t.platform.beeps, 1);
}

TEST(PaintTools, FillsAskAboutBlackAndTheRightButtonTakesThemBack)
{
    PaintFixture f;
    Workspace& ws = f.ws;
    std::fill(ws.image, ws.image + imageBytes(ws), 200);
    for (int y = 0; y < 90; ++y) std::fill_n(ws.image + (y * 120 + 60) * 3, 3, 0);  // a black line
    const auto before = f.image();
    ASSERT_TRUE(f.run(IdFill));
    f.click(f.win(60, 40));  // on the black line: asked, answered no
    EXPECT_TRUE(f.s.t.platform.said("black line art"));
    EXPECT_EQ(f.image(), before);
    f.click(f.win(20, 40));
    EXPECT_TRUE(f.red(0, 0));
    EXPECT_TRUE(f.red(59, 89));
    EXPECT_FALSE(f.red(61, 0));
    EXPECT_EQ(ws.rgbUndoCount, 1);
    f.click(f.win(20, 40), Qt::RightButton);
    EXPECT_EQ(f.image(), before);
    EXPECT_EQ(ws.rgbUndoCount, 0);

    // The mask fill, then its undo.
    ASSERT_TRUE(f.run(IdMaskFill));
    std::fill(ws.mask, ws.mask + pixelCount(ws), 0);
    ws.mask[40 * 120 + 10] = 255;
    f.click(f.win(100, 80));
    EXPECT_EQ(std::count(ws.mask, ws.mask + pixelCount(ws), 255), 120 * 90);
    ASSERT_TRUE(f.run(IdMskUndo));
    EXPECT_EQ(std::count(ws.mask, ws.mask + pixelCount(ws), 255), 1);
}

TEST(PaintTools, TheTextBecomesAFloatingPieceThatMovesAndIsAppliedByADoubleClick)
{
    PaintFixture f;
    Workspace& ws = f.ws;
    std::fill(ws.image, ws.image + imageBytes(ws), 255);
    const auto before = f.image();
    f.s.frame->fontAnswers.push_back({"", Rgb{0, 0, 200}});
    ASSERT_TRUE(f.run(IdFont));
    EXPECT_EQ(ws.textColour.b, 200);
    f.s.frame->textAnswers.push_back("");
    ASSERT_TRUE(f.run(IdText));  // cancelled: nothing
    EXPECT_EQ(ws.pieceFloating, 0);
    f.s.frame->textAnswers.push_back("Hi");
    ASSERT_TRUE(f.run(IdText));
    ASSERT_EQ(ws.pieceFloating, 1);
    EXPECT_EQ(ws.toolMode, ModeMovePiece);
    EXPECT_EQ(f.image(), before);
    const int x0 = ws.piece.x, y0 = ws.piece.y;
    // Drag it 10 right and 5 down, then apply it.
    f.press(f.win(x0 + 2, y0 + 2));
    f.move(f.win(x0 + 7, y0 + 4));
    f.move(f.win(x0 + 12, y0 + 7));
    f.release(f.win(x0 + 12, y0 + 7));
    EXPECT_EQ(ws.piece.x, x0 + 10);
    EXPECT_EQ(ws.piece.y, y0 + 5);
    f.doubleClick(f.win(x0 + 12, y0 + 7));
    EXPECT_EQ(ws.pieceFloating, 0);
    EXPECT_EQ(ws.toolMode, ModeNone);
    const Rect r = f.changedBox(before);
    EXPECT_GE(r.x0, x0 + 10);
    EXPECT_GE(r.y0, y0 + 5);
    // Blue ink over white: blue stays above red wherever the text lies.
    int inked = 0;
    for (int y = r.y0; y <= r.y1; ++y)
        for (int x = r.x0; x <= r.x1; ++x) inked += f.pixel(x, y)[2] > f.pixel(x, y)[0];
    EXPECT_GT(inked, 10);
    EXPECT_EQ(ws.rgbUndoCount, 1);
    ASSERT_TRUE(f.run(IdRgbUndo));
    EXPECT_EQ(f.image(), before);
}

TEST(PaintTools, AirBrushSpraysAStrokeAndTheCopyBrushSourceFollowsTheRightDrag)
{
    PaintFixture f;
    Workspace& ws = f.ws;
    ASSERT_TRUE(f.run(IdColourBoxAndAirBrush));
    AirBrushPaletteWindow* brushes = f.s.frame->airBrushPalette();
    ASSERT_NE(brushes, nullptr);
    brushes->diameter()->setValue(6);
    brushes->density()->setValue(255);
    EXPECT_EQ(ws.brushRadius, 6);
    brushes->brushButton(false)->click();
    EXPECT_EQ(ws.toolMode, ModeAirBrush);
    EXPECT_EQ(ws.paintTarget, PaintImage);
    const auto before = f.image();
    f.press(f.win(30, 30));
    f.move(f.win(40, 30));
    f.release(f.win(50, 30));
    EXPECT_TRUE(f.red(30, 30));
    EXPECT_TRUE(f.red(50, 30));
    EXPECT_EQ(ws.rgbUndoCount, 1);
    const Rect r = f.changedBox(before);
    EXPECT_EQ(r.x0, 25);
    EXPECT_EQ(r.x1, 55);

    brushes->brushButton(true)->click();
    EXPECT_EQ(ws.toolMode, ModeAirBrushCopy);
    EXPECT_TRUE(brushes->brushButton(true)->isChecked());
    EXPECT_FALSE(brushes->brushButton(false)->isChecked());
    EXPECT_EQ(ws.cloneOffset.x, 100);
    EXPECT_EQ(ws.cloneOffset.y, -100);
    // The source stands at (160, -40); the right button drags the brush to
    // 30 left of it and 20 below.
    f.press(f.win(60, 60), Qt::RightButton);
    f.move(f.win(90, 50));
    f.move(f.win(130, -20));
    f.release(f.win(130, -20), Qt::RightButton);
    EXPECT_EQ(ws.cloneOffset.x, 30);
    EXPECT_EQ(ws.cloneOffset.y, -20);
}

TEST(ColourBox, SlidersFieldsAndTheFileWhenTheBoxOpensAndCloses)
{
    PaintFixture f;
    Workspace& ws = f.ws;
    ws.webCompanionPath = f.s.dir.path("orx001");
    ASSERT_TRUE(f.run(IdColourBox));
    ColourBoxWindow* box = f.s.frame->colourBox();
    ASSERT_NE(box, nullptr);
    box->slider(SliderRed)->setValue(250);
    box->slider(SliderRed)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(ws.penColour.r, 255);
    EXPECT_EQ(box->field(SliderRed)->value(), 255);
    box->field(SliderDensity)->setValue(40);
    EXPECT_EQ(ws.penDensity, 40);
    EXPECT_EQ(box->slider(SliderDensity)->value(), 40);
    // A right click on the lower colour field's bottom row.
    QTest::mouseClick(box, Qt::RightButton, {}, QPoint(kFieldX0, kFieldY0 + 2 * kFieldHeight - 1));
    EXPECT_EQ(ws.penColour.r, 7);
    EXPECT_EQ(box->slider(SliderRed)->value(), 7);
    box->close();
    const auto bytes = test::readFileBytes(f.s.dir.path("orx001"));
    ASSERT_EQ(bytes.size(), 166u);
    EXPECT_EQ(bytes[30], 7);
    EXPECT_EQ(bytes[33], 40);
}

TEST(PaintMacros, ThePenLineAndRecordedPaintWorkPlayBackToTheSameBytes)
{
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case c : {Case{"pen 1 2\n", "line 1: pen N N N [density N] [width N] is the form"},
                         Case{"pen 1 2 256\n", "line 1: a colour is three values 0..255"},
                         Case{"pen 1 2 3 density 101\n", "line 1: the density is 0 to 100"},
                         Case{"pen 1 2 3 width 6\n", "line 1: the pen width is 1 to 5"},
                         Case{"answer width 0\n", "line 1: the pen width is 1 to 5"}}) {
        Macro m;
        std::string error;
        EXPECT_FALSE(parseMacro(c.text, "/m/a.mac", "", m, error)) << c.text;
        EXPECT_EQ(error, c.error);
    }

    PaintFixture a;
    const std::string path = a.s.dir.path("paint.mac");
    {
        MacroRecorder recorder(*a.s.frame, path);
        ASSERT_TRUE(a.run(IdColourBox));
        ColourBoxWindow* box = a.s.frame->colourBox();
        for (int v = 0; v <= 200; v += 50) box->slider(SliderGreen)->setValue(v);  // one line for the whole drag
        box->field(SliderDensity)->setValue(50);
        a.s.frame->penWidthAnswers.push_back(3);
        ASSERT_TRUE(a.run(IdPenWidth));
        ASSERT_TRUE(a.run(IdPen));
        a.press(a.win(10, 10));
        a.move(a.win(30, 20));
        a.release(a.win(50, 12));
        a.s.frame->fontAnswers.push_back({QFont().toString().toStdString(), Rgb{0, 90, 0}});
        ASSERT_TRUE(a.run(IdFont));
        a.s.frame->textAnswers.push_back("Ok");
        ASSERT_TRUE(a.run(IdText));
        a.doubleClick(a.win(a.ws.piece.x + 1, a.ws.piece.y + 1));
        ASSERT_TRUE(recorder.ok());
    }
    const std::vector<uint8_t> bytes = test::readFileBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("pen 250 200 0 density 50 width 1\nanswer width 3\ncommand 32799\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("pen 250 100 0"), std::string::npos) << text;
    EXPECT_NE(text.find("answer text Ok\n"), std::string::npos) << text;

    PaintFixture b;
    EXPECT_EQ(b.play(text), "") << text;
    EXPECT_TRUE(b.image() == a.image());
    EXPECT_EQ(b.ws.penWidth, 3);
    EXPECT_EQ(b.ws.penDensity, 50);
    EXPECT_EQ(b.ws.textColour.g, 90);
}

}  // namespace
}  // namespace orx
