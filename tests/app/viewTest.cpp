#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "app/view.h"
#include "app/xorDraw.h"
#include "support/testSupport.h"
#include "workspace/display.h"

namespace orx {
namespace {

using test::FakePlatform;
using test::TestWorkspace;

// Shows the core's redraws and prompts on the view, as the program's
// platform does.
class ViewPlatform : public FakePlatform {
public:
    CVLX98View* view = nullptr;
    void redraw(const Rect* r) override
    {
        FakePlatform::redraw(r);
        if (view) view->showDisplay(r);
    }
    void status(const std::string& text, Rgb band) override
    {
        FakePlatform::status(text, band);
        if (view) view->showStatus(QString::fromStdString(text), QColor(band.r, band.g, band.b));
    }
};

// A view over a started workspace, shown on the offscreen screen.
struct ViewFixture {
    ViewPlatform platform;
    TestWorkspace t;
    Workspace& ws = t.ws;
    CVLX98View view{ws};

    explicit ViewFixture(int width = 320, int height = 240)
    {
        ws.platform = &platform;
        platform.view = &view;
        view.resize(width, height);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    ~ViewFixture() { platform.view = nullptr; }

    QImage screen() { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// A 4 x 4 image of distinct colours: R = 40x + 10, G = 40y + 20, B = 200 - 10(x + y).
void loadFourByFour(Workspace& ws)
{
    ASSERT_TRUE(newImage(ws, 4, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            uint8_t* p = ws.image + (y * 4 + x) * 3;
            p[0] = uint8_t(40 * x + 10);
            p[1] = uint8_t(40 * y + 20);
            p[2] = uint8_t(200 - 10 * (x + y));
        }
    ws.currentFileName = "/work/FOUR.RGB";
}

QRgb imageColour(int x, int y) { return qRgb(40 * x + 10, 40 * y + 20, 200 - 10 * (x + y)); }

bool textLike(QRgb c) { return qRed(c) > 128 && qGreen(c) > 128; }  // white glyph on blue or red

// Pixels of the band in [x0, x1) that look like text.
int textPixels(const QImage& shot, int bandTop, int x0, int x1)
{
    int n = 0;
    for (int y = bandTop; y < bandTop + kStatusBandHeight; ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, shot.width()); ++x) n += textLike(shot.pixel(x, y));
    return n;
}

TEST(ViewPicture, ShowsTheImageInScreenColours)
{
    ViewFixture f(320, 240);  // picture 320 x 220
    loadFourByFour(f.ws);
    showWholeImage(f.ws);
    ASSERT_EQ(f.ws.displayScale16, 16);
    ASSERT_EQ(f.ws.displayOriginX, 158);
    ASSERT_EQ(f.ws.displayOriginY, 108);
    QImage shot = f.screen();
    // RS holds B, G, R; the screen must show R, G, B.
    for (auto [x, y] : {std::pair{0, 0}, {3, 0}, {0, 3}, {2, 1}, {3, 3}})
        EXPECT_EQ(shot.pixel(158 + x, 108 + y), imageColour(x, y)) << x << "," << y;
    EXPECT_EQ(shot.pixel(157, 108), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(0, 0), qRgb(0, 0, 0));

    // 16X about pixel (1, 2): each image pixel is a 16 x 16 square.
    f.ws.displayScale16 = 1;
    redisplayAt(f.ws, 1, 2);
    shot = f.screen();
    const int ox = f.ws.displayOriginX, oy = f.ws.displayOriginY;
    EXPECT_EQ(shot.pixel(ox + 16 * 1 + 15, oy + 16 * 2), imageColour(1, 2));
    EXPECT_EQ(shot.pixel(ox + 16 * 2, oy + 16 * 2 + 15), imageColour(2, 2));
    EXPECT_EQ(shot.pixel(160, 110), imageColour(1, 2));  // the centre
}

TEST(ViewPicture, TheMaskTintReachesTheScreen)
{
    ViewFixture f;
    ASSERT_TRUE(newImage(f.ws, 4, 4));
    f.ws.mask[0] = 255;
    f.ws.maskVisible = 1;
    showWholeImage(f.ws);
    const QImage shot = f.screen();
    // Blue overlay on white: B 255, G 127, R 127.
    EXPECT_EQ(shot.pixel(f.ws.displayOriginX, f.ws.displayOriginY), qRgb(127, 127, 255));
    EXPECT_EQ(shot.pixel(f.ws.displayOriginX + 1, f.ws.displayOriginY), qRgb(255, 255, 255));
}

TEST(ViewResize, SizesTheDisplayAndRecomposesAboutTheViewCentre)
{
    ViewFixture f(320, 240);
    EXPECT_EQ(f.ws.clientWidth, 320);
    EXPECT_EQ(f.ws.bandTop, 220);
    loadFourByFour(f.ws);
    f.ws.displayScale16 = 4;
    redisplayAt(f.ws, 2, 1);
    QSignalSpy resized(&f.view, &CVLX98View::viewResized);

    f.view.resize(500, 300);
    QTest::qWait(20);
    ASSERT_GE(resized.count(), 1);
    EXPECT_EQ(f.ws.clientWidth, 500);
    EXPECT_EQ(f.ws.bandTop, 280);
    EXPECT_EQ(f.ws.displayWidth, 500);
    EXPECT_EQ(f.ws.displayHeight, 280);
    EXPECT_EQ(f.ws.displayScale16, 4);
    // Image pixel (2, 1) is again at the centre of the new picture.
    EXPECT_EQ(f.ws.displayOriginX, 250 - 8);
    EXPECT_EQ(f.ws.displayOriginY, 140 - 4);
    const QImage shot = f.screen();
    EXPECT_EQ(shot.pixel(250, 140), imageColour(2, 1));
    EXPECT_EQ(shot.pixel(249, 140), imageColour(1, 1));
    EXPECT_EQ(shot.pixel(10, 10), qRgb(0, 0, 0));
}

TEST(ViewMouse, ControlClicksStepTheZoomTableAboutTheClickedPoint)
{
    ViewFixture f(320, 240);
    test::fillPattern(f.ws, 100, 80);
    showWholeImage(f.ws);
    ASSERT_EQ(f.ws.displayScale16, 16);
    const QPoint click(f.ws.displayOriginX + 30, f.ws.displayOriginY + 20);  // image (30, 20)

    QTest::mouseClick(&f.view, Qt::LeftButton, Qt::ControlModifier, click);
    EXPECT_EQ(f.ws.displayScale16, 8);
    EXPECT_EQ(f.ws.viewCentreX, 30);
    EXPECT_EQ(f.ws.viewCentreY, 20);

    QTest::mouseClick(&f.view, Qt::RightButton, Qt::ControlModifier, QPoint(160, 110));
    EXPECT_EQ(f.ws.displayScale16, 16);
    QTest::mouseClick(&f.view, Qt::RightButton, Qt::ControlModifier, QPoint(160, 110));
    EXPECT_EQ(f.ws.displayScale16, 32);
    QTest::mouseClick(&f.view, Qt::RightButton, Qt::ControlModifier, QPoint(160, 110));
    EXPECT_EQ(f.ws.displayScale16, 48);

    f.ws.displayScale16 = 1;
    QTest::mouseClick(&f.view, Qt::LeftButton, Qt::ControlModifier, QPoint(160, 110));
    EXPECT_EQ(f.ws.displayScale16, 1);
    // A plain click changes nothing.
    f.ws.displayScale16 = 16;
    QTest::mouseClick(&f.view, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(f.ws.displayScale16, 16);
}

TEST(ViewMouse, ShiftClickPansAndKeepsThePictureInTheSecondBuffer)
{
    ViewFixture f(320, 240);
    test::fillPattern(f.ws, 600, 400);
    f.ws.displayScale16 = 16;
    redisplayAt(f.ws, 300, 200);
    const QPoint click(200, 50);
    const Point target = windowToImage(f.ws, click.x(), click.y());
    QTest::mouseClick(&f.view, Qt::LeftButton, Qt::ShiftModifier, click);
    EXPECT_EQ(f.ws.displayScale16, 16);
    EXPECT_EQ(f.ws.viewCentreX, target.x);
    EXPECT_EQ(f.ws.viewCentreY, target.y);
    EXPECT_EQ(std::memcmp(f.ws.RS.get(), f.ws.RS1.get(), f.ws.displayBytes), 0);
    // fillPattern's colour of the target pixel, now at the picture's centre.
    const QRgb want = qRgb((target.x * 7 + target.y) & 255, (target.y * 5 + target.x * 3) & 255, (target.x ^ target.y) & 255);
    EXPECT_EQ(f.screen().pixel(160, 110), want);
}

TEST(ViewMouse, DragsAndTheWheelMoveTheViewCentre)
{
    ViewFixture f(320, 240);
    test::fillPattern(f.ws, 600, 400);
    f.ws.displayScale16 = 32;
    redisplayAt(f.ws, 300, 200);

    // Middle-drag 10 right, 5 down: the image follows, 20 x 10 image pixels at 1/2.
    QTest::mousePress(&f.view, Qt::MiddleButton, Qt::NoModifier, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(110, 105), f.view.mapToGlobal(QPointF(110, 105)), Qt::NoButton,
                     Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(&f.view, &move);
    QTest::mouseRelease(&f.view, Qt::MiddleButton, Qt::NoModifier, QPoint(110, 105));
    EXPECT_EQ(f.ws.viewCentreX, 280);
    EXPECT_EQ(f.ws.viewCentreY, 190);

    // One notch away from the user scrolls up by 60 window pixels.
    auto wheel = [&](QPoint angle, Qt::KeyboardModifiers keys, QPointF at = QPointF(160, 110)) {
        QWheelEvent e(at, f.view.mapToGlobal(at), QPoint(), angle, Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&f.view, &e);
    };
    wheel(QPoint(0, 120), Qt::NoModifier);
    EXPECT_EQ(f.ws.viewCentreY, 190 - 120);
    // Half notches add up.
    wheel(QPoint(0, -60), Qt::NoModifier);
    EXPECT_EQ(f.ws.viewCentreY, 70);
    wheel(QPoint(0, -60), Qt::NoModifier);
    EXPECT_EQ(f.ws.viewCentreY, 190);
    wheel(QPoint(0, -120), Qt::ShiftModifier);
    EXPECT_EQ(f.ws.viewCentreX, 280 + 120);

    // Control + wheel steps the table and keeps the pointed pixel in place.
    const QPointF at(100, 60);
    const Point under = windowToImage(f.ws, 100, 60);
    wheel(QPoint(0, 120), Qt::ControlModifier, at);
    EXPECT_EQ(f.ws.displayScale16, 16);
    const Point again = windowToImage(f.ws, 100, 60);
    EXPECT_EQ(again.x, under.x);
    EXPECT_EQ(again.y, under.y);
    wheel(QPoint(0, -240), Qt::ControlModifier, at);
    EXPECT_EQ(f.ws.displayScale16, 48);
}

TEST(ViewKeys, EscAndTheRightButtonAskToStop)
{
    ViewFixture f;
    EXPECT_FALSE(f.view.stopKeysDown());
    QTest::keyPress(&f.view, Qt::Key_Escape);
    EXPECT_TRUE(f.view.stopKeysDown());
    QTest::keyRelease(&f.view, Qt::Key_Escape);
    EXPECT_FALSE(f.view.stopKeysDown());
    QTest::mousePress(&f.view, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_TRUE(f.view.stopKeysDown());
    QTest::mouseRelease(&f.view, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_FALSE(f.view.stopKeysDown());
}

TEST(ViewBand, LabelMaskStateAndPointerSitInTheirBoxes)
{
    ViewFixture f(640, 240);
    loadFourByFour(f.ws);
    showWholeImage(f.ws);
    f.view.showLabel();
    const int top = f.ws.bandTop;
    ASSERT_EQ(top, 220);
    const QString label = QString::fromStdString(sizeLabelText(f.ws));
    ASSERT_EQ(label, "size:4x4 scale:1X FOUR.RGB");
    const int labelEnd = 2 + QFontMetrics(f.view.font()).horizontalAdvance(label);
    ASSERT_LT(labelEnd, 640 - 230);

    QImage shot = f.screen();
    EXPECT_EQ(shot.pixel(0, top), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(639, top + 19), qRgb(0, 0, 255));
    // Each text begins at its place: glyphs in its first 8 pixels, none just before.
    EXPECT_GT(textPixels(shot, top, 2, 10), 0);
    EXPECT_GT(textPixels(shot, top, 640 - 118, 640 - 110), 0);  // "Mask OFF"
    EXPECT_EQ(textPixels(shot, top, 640 - 124, 640 - 118), 0);
    EXPECT_EQ(textPixels(shot, top, labelEnd + 2, 640 - 220), 0);
    EXPECT_EQ(textPixels(shot, top, 0, 2), 0);

    // The pointer box: "X:1 Y:1" over image pixel (0, 0).
    // Through the view's window: a widget move without a button goes by the
    // shared pointer, which sends nothing when a run before left it there.
    const QPoint origin(f.ws.displayOriginX, f.ws.displayOriginY);
    QTest::mouseMove(f.view.windowHandle(), origin + QPoint(1, 1));
    QTest::mouseMove(f.view.windowHandle(), origin);
    QTest::qWait(10);
    shot = f.screen();
    EXPECT_GT(textPixels(shot, top, 640 - 218, 640 - 210), 0);
    EXPECT_EQ(textPixels(shot, top, 640 - 224, 640 - 218), 0);
    EXPECT_EQ(textPixels(shot, top, labelEnd + 2, 640 - 220), 0);

    // A prompt covers the band in its colour; the label's next showing clears it.
    f.view.showStatus("Select Object Mesh", QColor(255, 0, 0));
    shot = f.screen();
    EXPECT_EQ(shot.pixel(0, top), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(639, top + 19), qRgb(255, 0, 0));
    EXPECT_EQ(textPixels(shot, top, 640 - 80, 640), 0);  // no mask state under a prompt
    f.view.showLabel();
    shot = f.screen();
    EXPECT_EQ(shot.pixel(0, top), qRgb(0, 0, 255));
    EXPECT_GT(textPixels(shot, top, 640 - 118, 640), 0);

    // A prompt from the core stays through a tool's rectangle redraw and
    // gives way to the label at the next redisplay.
    f.ws.platform->status("Select Object Mesh", Rgb{255, 0, 0});
    redrawRect(f.ws, Point{10, 10}, Point{20, 20}, 2);
    EXPECT_EQ(f.screen().pixel(0, top), qRgb(255, 0, 0));
    redisplayAt(f.ws, 1, 1);
    shot = f.screen();
    EXPECT_EQ(shot.pixel(0, top), qRgb(0, 0, 255));
    EXPECT_GT(textPixels(shot, top, 2, 10), 0);
}

TEST(ViewBand, NoLabelWithoutAnImage)
{
    ViewFixture f(640, 240);
    f.view.showLabel();
    const QImage shot = f.screen();
    EXPECT_EQ(shot.pixel(0, 230), qRgb(0, 0, 255));
    EXPECT_EQ(textPixels(shot, 220, 0, 640), 0);
    EXPECT_EQ(shot.pixel(320, 100), qRgb(0, 0, 0));
}

TEST(XorDraw, DrawingAFigureTwicePutsThePictureBack)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) picture.setPixel(x, y, qRgb(x * 6, y * 8, 77));
    const QImage original = picture.copy();
    {
        QPainter p(&picture);
        xorRect(p, QPoint(30, 20), QPoint(5, 4));  // corners in either order
    }
    // The outline, corners included, is inverted once; nothing else changes.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool onOutline = (x >= 5 && x <= 30 && (y == 4 || y == 20)) || (y >= 4 && y <= 20 && (x == 5 || x == 30));
            const QRgb want = onOutline ? (original.pixel(x, y) ^ 0x00FFFFFF) : original.pixel(x, y);
            ASSERT_EQ(picture.pixel(x, y), want) << x << "," << y;
        }
    {
        QPainter p(&picture);
        xorRect(p, QRect(QPoint(5, 4), QPoint(30, 20)));
        xorLine(p, QPoint(2, 2), QPoint(37, 25));
    }
    EXPECT_NE(picture, original);
    EXPECT_EQ(picture.pixel(2, 2), original.pixel(2, 2) ^ 0x00FFFFFF);
    EXPECT_EQ(picture.pixel(37, 25), original.pixel(37, 25) ^ 0x00FFFFFF);
    {
        QPainter p(&picture);
        xorLine(p, QPoint(2, 2), QPoint(37, 25));
        EXPECT_EQ(p.compositionMode(), QPainter::CompositionMode_SourceOver);
    }
    EXPECT_EQ(picture, original);
}

// The view repaints a figure's bounds: they must hold every pixel the
// figure inverts, whichever way it was dragged.
TEST(XorDraw, TheBoundsHoldTheFigureDraggedAnyWay)
{
    const QPoint topLeft(5, 4), bottomRight(30, 20), topRight(30, 4), bottomLeft(5, 20);
    const std::pair<QPoint, QPoint> drags[] = {
        {topLeft, bottomRight}, {bottomRight, topLeft}, {topRight, bottomLeft}, {bottomLeft, topRight}};
    for (XorFigure::Kind kind : {XorFigure::Rectangle, XorFigure::Line})
        for (const auto& [from, to] : drags) {
            const XorFigure figure{kind, from, to};
            QImage picture(40, 30, QImage::Format_RGB32);
            picture.fill(Qt::black);
            {
                QPainter p(&picture);
                xorFigure(p, figure);
            }
            QRect inverted;
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x)
                    if (picture.pixel(x, y) != qRgb(0, 0, 0)) inverted |= QRect(x, y, 1, 1);
            EXPECT_EQ(figure.bounds(), QRect(topLeft, bottomRight)) << kind << " " << from.x() << "," << from.y();
            EXPECT_TRUE(figure.bounds().contains(inverted)) << kind << " " << from.x() << "," << from.y();
        }
}

}  // namespace
}  // namespace orx
