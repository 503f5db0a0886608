// The mouse tool modes driven as a user drives them: commands from the
// table, then presses, moves and releases on the view (Qt's offscreen
// platform), checked against the bytes of the image, the files written, the
// undo stacks and what the screen shows.
#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <cstring>
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "app/commandTable.h"
#include "app/toolModes.h"
#include "app/view.h"
#include "studioFixture.h"
#include "workspace/areaFilter.h"
#include "workspace/display.h"
#include "workspace/nativeFile.h"
#include "workspace/undoSnapshot.h"

namespace orx {
namespace {

using namespace orx::app;

// The program's platform in small: redraws and prompts reach the frame's
// view, undo counts refresh the menus; file dialogs answer from the queue
// and are recorded.
class FramePlatform : public test::FakePlatform {
public:
    CMainFrame* frame = nullptr;
    std::vector<std::pair<std::string, std::string>> dialogs;  // title, filter

    void redraw(const Rect* r) override
    {
        FakePlatform::redraw(r);
        if (frame) frame->view()->showDisplay(r);
    }
    void status(const std::string& text, Rgb band) override
    {
        FakePlatform::status(text, band);
        if (frame) frame->view()->showStatus(QString::fromStdString(text), QColor(band.r, band.g, band.b));
    }
    void undoStateChanged() override
    {
        if (frame) frame->refreshCommandStates();
    }
    std::string chooseOpenFile(const std::string& title, const std::string& filter) override
    {
        dialogs.emplace_back(title, filter);
        return FakePlatform::chooseOpenFile(title, filter);
    }
    std::string chooseSaveFile(const std::string& title, const std::string& filter) override
    {
        dialogs.emplace_back(title, filter);
        return FakePlatform::chooseSaveFile(title, filter);
    }
};

// A shown frame over a 120 x 90 test pattern at 1:1.
struct ToolFixture {
    test::StudioFixture s{LangEnglish, false};
    FramePlatform platform;
    Workspace& ws = s.ws;
    CVLX98View& view = *s.frame->view();

    ToolFixture()
    {
        ws.platform = &platform;
        platform.frame = s.frame.get();
        s.frame->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(s.frame.get()));
        test::fillPattern(ws, 120, 90);
        showWholeImage(ws);
        EXPECT_EQ(ws.displayScale16, 16);
        s.frame->refreshCommandStates();
    }
    ~ToolFixture()
    {
        platform.frame = nullptr;
        ws.platform = &s.t.platform;
    }

    bool run(int32_t id) { return s.frame->execute(id); }
    QPoint win(int x, int y) const
    {
        const Point p = imageToWindow(ws, x, y);
        return QPoint(p.x, p.y);
    }
    std::vector<uint8_t> image() const { return {ws.image, ws.image + imageBytes(ws)}; }
    const uint8_t* pixel(int x, int y) const { return ws.image + (y * ws.imageWidth + x) * 3; }

    void press(QPoint p, Qt::KeyboardModifiers keys = {}) { QTest::mousePress(&view, Qt::LeftButton, keys, p); }
    void release(QPoint p, Qt::KeyboardModifiers keys = {}) { QTest::mouseRelease(&view, Qt::LeftButton, keys, p); }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = {})
    {
        press(from, keys);
        QTest::mouseMove(&view, (from + to) / 2);
        QTest::mouseMove(&view, to);
        release(to, keys);
    }
    void dragImage(int x0, int y0, int x1, int y1) { drag(win(x0, y0), win(x1, y1)); }
    void click(QPoint p, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(&view, button, {}, p); }
    void rightClick() { click(win(60, 45), Qt::RightButton); }
    // A move with no button held comes through the frame's window, as the
    // pointer's own moves do. (Moving a widget without a button moves the
    // shared pointer instead, which another test's window may be under.)
    // Qt drops a move to where the pointer already is, so it steps beside
    // the point first.
    void hover(QPoint p)
    {
        QWindow* window = s.frame->windowHandle();
        const QPoint at = view.mapTo(s.frame.get(), p);
        QTest::mouseMove(window, at + QPoint(1, 1));
        QTest::mouseMove(window, at);
    }

    QImage screen() { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

std::vector<uint8_t> rowsOf(const Workspace& ws, const Rect& r)
{
    std::vector<uint8_t> out;
    for (int y = r.y0; y <= r.y1; ++y) {
        const uint8_t* row = ws.image + (y * ws.imageWidth + r.x0) * 3;
        out.insert(out.end(), row, row + (r.x1 - r.x0 + 1) * 3);
    }
    return out;
}

uint32_t le32(const std::vector<uint8_t>& b, size_t o)
{
    return uint32_t(b[o]) | uint32_t(b[o + 1]) << 8 | uint32_t(b[o + 2]) << 16 | uint32_t(b[o + 3]) << 24;
}

QRgb inverted(QRgb c) { return c ^ 0x00FFFFFF; }

// ---- the tables

TEST(ToolModeTable, EveryBuiltToolCommandHasItsModeWithTheSameCursor)
{
    int tools = 0;
    for (const Command& c : commandTable()) {
        if (!isBuilt(c) || c.toolMode == kModeUnchanged || c.toolMode == ModeNone) continue;
        ++tools;
        const ToolMode* m = findToolMode(c.toolMode);
        ASSERT_NE(m, nullptr) << c.id;
        EXPECT_EQ(m->cursor, c.cursor) << c.id;
    }
    EXPECT_EQ(tools, 54);
    std::set<int32_t> seen;
    for (const ToolMode& m : toolModes()) EXPECT_TRUE(seen.insert(m.mode).second) << m.mode;
    EXPECT_EQ(toolCursor(-7), -1);  // no such mode
    // The placing modes that follow the block copies have their rows too.
    EXPECT_NE(findToolMode(ModePlaceMirrored), nullptr);
    EXPECT_NE(findToolMode(ModePlaceFlipped), nullptr);
}

// ---- rubber bands and the common gestures

TEST(RubberBand, DraggedEitherWayGivesTheSameRectangleAndLeavesNoFigure)
{
    ToolFixture f;
    const Rect r{10, 8, 29, 21};
    const QImage before = f.screen();
    f.platform.files = {f.s.dir.path("A"), f.s.dir.path("B")};

    ASSERT_TRUE(f.run(IdSavePartialRgb));
    EXPECT_EQ(f.ws.toolMode, ModeAreaSave);
    EXPECT_EQ(f.platform.statuses.back(), "Select area to save");
    // Half way: the rectangle is on screen, inverted, and nothing is saved yet.
    f.press(f.win(10, 8));
    QTest::mouseMove(&f.view, f.win(29, 21));
    ASSERT_EQ(f.view.figures().size(), 1u);
    EXPECT_EQ(f.view.cursorResource(), 147);
    const QImage during = f.screen();
    for (QPoint p : {f.win(10, 8), f.win(29, 8), f.win(29, 21), f.win(10, 15)})
        EXPECT_EQ(during.pixel(p), inverted(before.pixel(p))) << p.x() << "," << p.y();
    EXPECT_EQ(during.pixel(f.win(20, 15)), before.pixel(f.win(20, 15)));
    EXPECT_FALSE(std::filesystem::exists(f.s.dir.path("A.RGB")));
    f.release(f.win(29, 21));
    EXPECT_TRUE(f.view.figures().empty());
    EXPECT_EQ(f.ws.toolMode, ModeNone);
    EXPECT_EQ(f.view.cursorResource(), kCursorArrow);
    EXPECT_EQ(f.platform.statuses.back(), "");
    const QRect picture(0, 0, f.ws.clientWidth, f.ws.bandTop);
    EXPECT_EQ(f.screen().copy(picture), before.copy(picture));

    // From the bottom right to the top left.
    ASSERT_TRUE(f.run(IdSavePartialRgb));
    f.dragImage(29, 21, 10, 8);
    const auto a = test::readFileBytes(f.s.dir.path("A.RGB"));
    EXPECT_EQ(a.size(), 20u * 14 * 3);
    EXPECT_EQ(a, rowsOf(f.ws, r));
    EXPECT_EQ(test::readFileBytes(f.s.dir.path("B.RGB")), a);
    EXPECT_EQ(test::readFileBytes(f.s.dir.path("B.IPR")), test::readFileBytes(f.s.dir.path("A.IPR")));
}

TEST(RubberBand, ShiftControlWheelAndPanGesturesDoNotEdit)
{
    ToolFixture f;
    ASSERT_TRUE(f.run(IdNegative));
    ASSERT_EQ(f.platform.statuses.back(), "Select an area");
    const auto original = f.image();

    // Shift: only the cursor while pressed and moved; the release pans.
    const QPoint target = f.win(90, 70);
    f.press(f.win(10, 10), Qt::ShiftModifier);
    EXPECT_EQ(f.view.cursorResource(), kCursorPan);
    QTest::mouseMove(&f.view, target);
    EXPECT_TRUE(f.view.figures().empty());
    f.release(target, Qt::ShiftModifier);
    EXPECT_EQ(f.view.cursorResource(), kCursorPan);
    EXPECT_EQ(f.ws.viewCentreX, 90);
    EXPECT_EQ(f.ws.viewCentreY, 70);
    // Control: a left release enlarges, a right release reduces.
    f.drag(f.win(20, 20), f.win(40, 30), Qt::ControlModifier);
    EXPECT_EQ(f.view.cursorResource(), kCursorZoom);
    EXPECT_EQ(f.ws.displayScale16, 8);
    QTest::mouseClick(&f.view, Qt::RightButton, Qt::ControlModifier, f.win(40, 30));
    EXPECT_EQ(f.ws.displayScale16, 16);
    // A plain press released under Shift drops its rectangle.
    f.press(f.win(10, 10));
    QTest::mouseMove(&f.view, f.win(30, 30));
    EXPECT_EQ(f.view.figures().size(), 1u);
    f.release(f.win(30, 30), Qt::ShiftModifier);
    EXPECT_TRUE(f.view.figures().empty());

    // Middle drag and Space + drag move the view centre.
    const int cx = f.ws.viewCentreX;
    QTest::mousePress(&f.view, Qt::MiddleButton, {}, QPoint(300, 200));
    QTest::mouseMove(&f.view, QPoint(310, 200));
    QTest::mouseRelease(&f.view, Qt::MiddleButton, {}, QPoint(310, 200));
    EXPECT_EQ(f.ws.viewCentreX, cx - 10);
    QTest::keyPress(&f.view, Qt::Key_Space);
    f.drag(QPoint(300, 200), QPoint(320, 200));
    QTest::keyRelease(&f.view, Qt::Key_Space);
    EXPECT_EQ(f.ws.viewCentreX, cx - 30);
    // The wheel scrolls, Control + wheel zooms about the pointer.
    auto wheel = [&](int delta, Qt::KeyboardModifiers keys) {
        const QPointF at(200, 150);
        QWheelEvent e(at, f.view.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, keys,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(&f.view, &e);
    };
    const int cy = f.ws.viewCentreY;
    wheel(-120, Qt::NoModifier);
    EXPECT_EQ(f.ws.viewCentreY, std::min(cy + 60, 89));
    wheel(120, Qt::ControlModifier);
    EXPECT_EQ(f.ws.displayScale16, 8);

    EXPECT_EQ(f.image(), original);
    EXPECT_EQ(f.ws.rgbUndoCount, 0);
    EXPECT_EQ(f.ws.toolMode, FilterNegative);
    // The tool is still there: a plain drag now edits.
    showWholeImage(f.ws);
    f.dragImage(2, 2, 5, 5);
    EXPECT_NE(f.image(), original);
    EXPECT_EQ(f.ws.rgbUndoCount, 1);
}

// ---- the backup, the cancel and the undo stacks

TEST(Cancel, RestoresTheBackupAndLowersTheCountOnEachClick)
{
    ToolFixture f;
    ASSERT_TRUE(f.run(IdNegative));
    f.dragImage(5, 5, 30, 20);
    const auto afterFirst = f.image();
    f.dragImage(20, 10, 60, 40);
    ASSERT_EQ(f.ws.rgbUndoCount, 2);
    ASSERT_NE(f.image(), afterFirst);

    f.rightClick();
    EXPECT_EQ(f.image(), afterFirst);
    EXPECT_EQ(f.ws.rgbUndoCount, 1);
    EXPECT_TRUE(f.s.frame->action(IdRgbUndo)->isEnabled());
    // The backup holds one state: copied again, the count lowered again.
    f.rightClick();
    EXPECT_EQ(f.image(), afterFirst);
    EXPECT_EQ(f.ws.rgbUndoCount, 0);
    EXPECT_FALSE(f.s.frame->action(IdRgbUndo)->isEnabled());
    f.rightClick();
    EXPECT_EQ(f.ws.rgbUndoCount, 0);

    // After a command the backup planes may hold anything: no cancel.
    f.dragImage(40, 40, 50, 50);
    const auto edited = f.image();
    ASSERT_TRUE(f.run(IdRedraw));
    f.rightClick();
    EXPECT_EQ(f.image(), edited);
    EXPECT_EQ(f.ws.rgbUndoCount, 1);
}

TEST(Undo, ElevenEditsKeepTheSnapshotsOfEditsTwoToEleven)
{
    ToolFixture f;
    ASSERT_TRUE(f.run(IdNegative));
    for (int i = 1; i <= 11; ++i) f.dragImage(i, 2 * i, i + 3, 2 * i + 2);
    EXPECT_EQ(f.ws.rgbUndoCount, 10);
    for (int k = 0; k < 10; ++k) {
        const auto file = test::readFileBytes(snapshotPath(f.ws, SnapshotStack::RgbUndo, k));
        ASSERT_GE(file.size(), 40u) << k;
        const int i = k + 2;
        char want[40];
        std::snprintf(want, sizeof want, "%d %d %d %d 0", i, 2 * i, i + 3, 2 * i + 2);
        EXPECT_STREQ(reinterpret_cast<const char*>(file.data()), want) << k;
        EXPECT_EQ(file.size(), 40u + 4 * 3 * 3) << k;
    }
    EXPECT_FALSE(std::filesystem::exists(snapshotPath(f.ws, SnapshotStack::RgbUndo, 10)));
}

TEST(Undo, UndoAndRedoCommandsRestoreTheSameBytesAndANewEditDisablesRedo)
{
    ToolFixture f;
    const auto original = f.image();
    ASSERT_TRUE(f.run(IdGrey));
    f.dragImage(10, 10, 40, 30);
    const auto edited = f.image();
    ASSERT_NE(edited, original);
    EXPECT_FALSE(f.s.frame->action(IdRgbRedo)->isEnabled());

    f.ws.displayScale16 = 8;
    redisplayAt(f.ws, 30, 20);
    ASSERT_TRUE(f.run(IdRgbUndo));
    EXPECT_EQ(f.image(), original);
    // A rectangle comes back where the view is.
    EXPECT_EQ(f.ws.displayScale16, 8);
    EXPECT_EQ(f.ws.viewCentreX, 30);
    EXPECT_TRUE(f.s.frame->action(IdRgbRedo)->isEnabled());
    ASSERT_TRUE(f.run(IdRgbRedo));
    EXPECT_EQ(f.image(), edited);
    EXPECT_EQ(f.ws.rgbUndoCount, 1);
    EXPECT_EQ(f.ws.rgbRedoCount, 0);

    ASSERT_TRUE(f.run(IdRgbUndo));
    ASSERT_TRUE(f.s.frame->action(IdRgbRedo)->isEnabled());
    ASSERT_TRUE(f.run(IdGrey));
    f.dragImage(50, 50, 60, 60);
    EXPECT_EQ(f.ws.rgbRedoCount, 0);
    EXPECT_FALSE(isEnabled(*findCommand(IdRgbRedo), f.ws));
    EXPECT_FALSE(f.s.frame->action(IdRgbRedo)->isEnabled());
    EXPECT_FALSE(f.run(IdRgbRedo));
}

TEST(Undo, AWholeImageUndoBringsBackAnotherSizeAndFitsTheView)
{
    ToolFixture f;
    const auto original = f.image();
    ASSERT_TRUE(f.run(IdWhiteBalance));
    EXPECT_EQ(f.platform.statuses.back(), "Select an sampling area");
    f.dragImage(30, 20, 70, 50);
    ASSERT_NE(f.image(), original);
    // White balance keeps the whole picture; halving leaves no snapshot.
    ASSERT_TRUE(f.run(IdHalve));
    ASSERT_EQ(f.ws.imageWidth, 60);
    f.ws.displayScale16 = 4;
    redisplayAt(f.ws, 5, 5);

    ASSERT_TRUE(f.run(IdRgbUndo));
    EXPECT_EQ(f.ws.imageWidth, 120);
    EXPECT_EQ(f.ws.imageHeight, 90);
    EXPECT_EQ(f.image(), original);
    EXPECT_EQ(f.ws.displayScale16, 16);
    EXPECT_EQ(f.ws.viewCentreX, 60);
    EXPECT_EQ(f.ws.viewCentreY, 45);
    EXPECT_EQ(f.ws.displayOriginX, (f.ws.displayWidth - 120) / 2);
}

// ---- the area filters through the mouse

TEST(Filters, EachChangesExactlyItsRectangleAsTheFilterDoes)
{
    const Rect r{20, 15, 49, 39};
    for (auto [id, mode] : {std::pair{IdSharpen, FilterSharpen},
                            {IdBlur, FilterBlur},
                            {IdSaturation, FilterSaturation},
                            {IdContrastBoost, FilterContrast},
                            {IdWhiteBalance, FilterWhiteBalance},
                            {IdBlackWhite, FilterBlackWhite},
                            {IdGrey, FilterGrey},
                            {IdNegative, FilterNegative}}) {
        ToolFixture f;
        // The filter of the core on a copy of the same picture.
        test::TestWorkspace ref;
        test::fillPattern(ref.ws, 120, 90);
        std::memcpy(ref.ws.secondImage, ref.ws.image, imageBytes(ref.ws));
        applyAreaFilter(ref.ws, r.x0, r.y0, r.x1, r.y1, mode);

        const auto original = f.image();
        ASSERT_TRUE(f.run(id));
        EXPECT_EQ(f.ws.toolMode, mode);
        f.dragImage(r.x1, r.y0, r.x0, r.y1);
        EXPECT_EQ(f.image(), std::vector<uint8_t>(ref.ws.image, ref.ws.image + imageBytes(ref.ws))) << mode;
        int changedInside = 0, changedOutside = 0;
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x) {
                const bool inside = x >= r.x0 && x <= r.x1 && y >= r.y0 && y <= r.y1;
                const bool changed = std::memcmp(f.pixel(x, y), original.data() + (y * 120 + x) * 3, 3) != 0;
                (inside ? changedInside : changedOutside) += changed;
            }
        EXPECT_GT(changedInside, 0) << mode;
        // Only white balance reaches past its sample.
        EXPECT_EQ(changedOutside > 0, mode == FilterWhiteBalance) << mode;
        EXPECT_EQ(f.ws.toolMode, mode);  // the tool stays for the next area
        EXPECT_EQ(f.ws.rgbUndoCount, 1);
    }
}

TEST(Filters, KnownValuesThroughTheMouse)
{
    ToolFixture f;
    std::memset(f.ws.image, 0, imageBytes(f.ws));
    f.ws.image[(20 * 120 + 20) * 3] = 255;  // a lone red 255
    uint8_t* p = f.ws.image + (40 * 120 + 60) * 3;
    p[0] = 10, p[1] = 20, p[2] = 30;
    ASSERT_TRUE(f.run(IdBlur));
    f.dragImage(18, 18, 22, 22);
    EXPECT_EQ(f.pixel(20, 20)[0], 28);
    EXPECT_EQ(f.pixel(19, 21)[0], 28);
    EXPECT_EQ(f.pixel(20, 20)[1], 0);
    ASSERT_TRUE(f.run(IdGrey));
    f.dragImage(59, 39, 61, 41);
    EXPECT_EQ(f.pixel(60, 40)[0], 18);
    EXPECT_EQ(f.pixel(60, 40)[1], 18);
    EXPECT_EQ(f.pixel(60, 40)[2], 18);
}

TEST(Filters, MaskedPixelsStayWithTheMaskShown)
{
    ToolFixture f;
    for (int y = 20; y < 30; ++y)
        for (int x = 20; x < 30; ++x) f.ws.mask[y * 120 + x] = 255;
    f.ws.maskVisible = 1;
    const auto original = f.image();
    for (int32_t id : {IdNegative, IdBlur, IdGrey}) {
        ASSERT_TRUE(f.run(id));
        f.dragImage(10, 10, 40, 40);
    }
    for (int y = 20; y < 30; ++y)
        for (int x = 20; x < 30; ++x)
            ASSERT_EQ(std::memcmp(f.pixel(x, y), original.data() + (y * 120 + x) * 3, 3), 0) << x << "," << y;
    EXPECT_NE(std::memcmp(f.pixel(15, 15), original.data() + (15 * 120 + 15) * 3, 3), 0);
}

// ---- area saves

// A dress shades from the photograph in secondImage; a filter's backup
// overwrites it, so after a filter there is no model left to re-dress, and
// loading the model again dresses from the clean photograph.
TEST(Filters, AfterADressTheModelIsGoneAndAReloadDressesClean)
{
    ToolFixture f;
    const std::string model = test::sampleLibraryDir() + "/DRESS.MDL";
    ASSERT_TRUE(f.s.frame->openStartFile(model));
    ASSERT_EQ(f.ws.modelMapped, 1);
    EXPECT_EQ(f.ws.secondImageHolds, SecondImage::Photograph);
    const auto dressed = f.image();

    ASSERT_TRUE(f.run(IdGrey));
    f.dragImage(0, 0, f.ws.imageWidth - 1, f.ws.imageHeight - 1);
    ASSERT_NE(f.image(), dressed);
    EXPECT_EQ(f.ws.secondImageHolds, SecondImage::Scratch);
    EXPECT_EQ(f.ws.modelLoaded, 0);
    EXPECT_EQ(f.ws.modelMapped, 0);
    f.s.frame->refreshCommandStates();  // as a menu does when it opens
    EXPECT_FALSE(f.s.frame->action(IdChangeMaterial)->isEnabled());
    EXPECT_FALSE(f.run(IdChangeMaterial));
    f.rightClick();  // the backup still takes the filter back
    EXPECT_EQ(f.image(), dressed);

    ASSERT_TRUE(f.s.frame->openStartFile(model));
    EXPECT_EQ(f.image(), dressed);
    EXPECT_TRUE(f.s.frame->action(IdChangeMaterial)->isEnabled());
}

TEST(AreaSave, EachCommandAsksItsFileFirstAndWritesTheRectangle)
{
    ToolFixture f;
    const Rect r{4, 6, 23, 15};  // 20 x 10
    struct Case {
        int32_t id;
        const char* name;
        const char* title;
        size_t size;
    };
    const size_t pixels = 20 * 10 * 3;
    for (const Case& c : {Case{IdSavePartialRgb, "P.RGB", "Save RGB file", pixels},
                          Case{IdSaveAreaClo, "P.CLO", "New CLO file name", 256 + pixels + 12'600},
                          Case{IdSaveAreaPrt, "P.PRT", "New PRT file name", 256 + pixels + 12'600},
                          Case{IdSaveAreaEmb, "P.EMB", "New EMB file name", 256 + pixels + 12'600},
                          Case{IdSaveAreaBmp, "P.BMP", "Please input BMP file name", 54 + 10 * 60},
                          Case{IdSaveMaterialArea, "P.MDL", "New MDL file name", 256 + 120 * 90 * 3 + 12'600}}) {
        const std::string stem = f.s.dir.path("P");
        f.platform.files = {stem};  // typed without the extension
        ASSERT_TRUE(f.run(c.id));
        EXPECT_EQ(f.platform.dialogs.back().first, c.title);
        EXPECT_EQ(f.ws.toolMode, ModeAreaSave);
        f.dragImage(r.x0, r.y0, r.x1, r.y1);
        const auto file = test::readFileBytes(f.s.dir.path(c.name));
        EXPECT_EQ(file.size(), c.size) << c.name;
        EXPECT_EQ(f.ws.toolMode, ModeNone);
        if (file.size() > 256 + pixels && c.id != IdSaveMaterialArea && c.id != IdSaveAreaBmp) {
            EXPECT_EQ(le32(file, 66), 20u) << c.name;
            EXPECT_EQ(le32(file, 70), 10u) << c.name;
        }
    }
    EXPECT_EQ(f.platform.dialogs.back().second, "MDL file ( *.MDL )|*.MDL||");
    EXPECT_EQ(f.platform.statuses.end()[-2], "Select material area ");
    const auto model = test::readFileBytes(f.s.dir.path("P.MDL"));
    EXPECT_EQ(model[41], 4);
    EXPECT_EQ(model[43], 6);
    EXPECT_EQ(model[45], 23);
    EXPECT_EQ(model[47], 15);

    // A cancelled dialog selects no tool.
    ASSERT_TRUE(f.run(IdSaveAreaClo));
    EXPECT_EQ(f.ws.toolMode, ModeNone);
    EXPECT_EQ(f.view.cursorResource(), kCursorArrow);
}

TEST(MaskEdge, SavesThePartsFileOfTheClickedRegionsBoundingBox)
{
    ToolFixture f;
    // An L of set mask pixels: columns 30 to 34 of rows 10 to 39, then rows
    // 35 to 39 out to column 59.
    for (int y = 10; y < 40; ++y)
        for (int x = 30; x < 35; ++x) f.ws.mask[y * 120 + x] = 255;
    for (int y = 35; y < 40; ++y)
        for (int x = 30; x < 60; ++x) f.ws.mask[y * 120 + x] = 255;
    f.platform.files = {f.s.dir.path("EDGE.PRT")};
    ASSERT_TRUE(f.run(IdSavePrtFromMaskEdge));
    EXPECT_EQ(f.ws.toolMode, ModeMaskEdgeSave);
    EXPECT_EQ(f.platform.statuses.back(), "Select area to save<MSK edge>");
    f.click(f.win(32, 12));
    const auto file = test::readFileBytes(f.s.dir.path("EDGE.PRT"));
    ASSERT_EQ(file.size(), 256u + 30 * 30 * 3 + 12'600);
    EXPECT_EQ(le32(file, 66), 30u);
    EXPECT_EQ(le32(file, 70), 30u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 256, file.begin() + 256 + 30 * 30 * 3),
              rowsOf(f.ws, Rect{30, 10, 59, 39}));
    EXPECT_EQ(f.ws.toolMode, ModeNone);
}

// ---- adding a colour file

TEST(AddRgb, TheOutlineFollowsTheClickPastesAndTheRightButtonTakesItBack)
{
    ToolFixture f;
    test::TestWorkspace other;
    ASSERT_TRUE(newImage(other.ws, 10, 6));
    for (uint64_t i = 0; i < 60; ++i) other.ws.image[i * 3 + 1] = 99;  // (255, 99, 255)
    const std::string name = f.s.dir.path("ADD.RGB");
    ASSERT_TRUE(saveRGB(other.ws, name));
    const auto original = f.image();

    f.platform.files = {name};
    ASSERT_TRUE(f.run(IdAddRgb));
    EXPECT_EQ(f.platform.dialogs.back().first, "Select RGB file");
    EXPECT_EQ(f.ws.toolMode, ModeAddRgb);
    const QImage before = f.screen();
    f.hover(f.win(30, 20));
    ASSERT_EQ(f.view.figures().size(), 1u);
    EXPECT_EQ(f.view.figures()[0].a, f.win(30, 20));
    EXPECT_EQ(f.view.figures()[0].b, f.win(39, 25));
    EXPECT_EQ(f.screen().pixel(f.win(39, 25)), inverted(before.pixel(f.win(39, 25))));
    f.hover(f.win(50, 40));
    ASSERT_EQ(f.view.figures().size(), 1u);  // the old outline was erased
    EXPECT_EQ(f.view.figures()[0].a, f.win(50, 40));

    f.click(f.win(50, 40));
    EXPECT_EQ(f.pixel(50, 40)[1], 99);
    EXPECT_EQ(f.pixel(59, 45)[1], 99);
    EXPECT_EQ(std::memcmp(f.pixel(60, 45), original.data() + (45 * 120 + 60) * 3, 3), 0);
    EXPECT_EQ(std::memcmp(f.pixel(50, 46), original.data() + (46 * 120 + 50) * 3, 3), 0);
    EXPECT_EQ(f.ws.rgbUndoCount, 1);
    EXPECT_EQ(f.ws.toolMode, ModeAddRgb);

    f.rightClick();
    EXPECT_EQ(f.image(), original);
    EXPECT_EQ(f.ws.rgbUndoCount, 0);
    EXPECT_TRUE(f.view.figures().empty());

    // With the mask shown (mode 124 keeps the mask with the picture) masked
    // pixels stay.
    f.ws.mask[42 * 120 + 52] = 255;
    f.ws.maskVisible = 1;
    f.platform.files = {name};
    ASSERT_TRUE(f.run(IdAddRgbWithMask));
    EXPECT_EQ(f.ws.toolMode, ModeAddRgbWithMask);
    f.hover(f.win(50, 40));
    f.click(f.win(50, 40));
    EXPECT_EQ(f.pixel(51, 42)[1], 99);
    EXPECT_EQ(std::memcmp(f.pixel(52, 42), original.data() + (42 * 120 + 52) * 3, 3), 0);
    f.rightClick();
    EXPECT_EQ(f.image(), original);
    EXPECT_EQ(f.ws.mask[42 * 120 + 52], 255);
}

TEST(AddRgb, AFileLargerThanTheImageIsRefused)
{
    ToolFixture f;
    test::TestWorkspace other;
    ASSERT_TRUE(newImage(other.ws, 121, 4));
    const std::string name = f.s.dir.path("WIDE.RGB");
    ASSERT_TRUE(saveRGB(other.ws, name));
    f.platform.files = {name};
    ASSERT_TRUE(f.run(IdAddRgb));
    EXPECT_TRUE(f.platform.said("Size is too big to add to current working RGB"));
    EXPECT_EQ(f.ws.toolMode, ModeNone);
    f.platform.files = {f.s.dir.path("NONE.RGB")};
    ASSERT_TRUE(f.run(IdAddRgb));
    EXPECT_TRUE(f.platform.said("Can not open"));
    EXPECT_EQ(f.ws.toolMode, ModeNone);
}

// ---- dividing and the block copies

TEST(Divide, TheGuideLineFollowsAndTheClickDividesThere)
{
    for (auto [id, mode] : {std::pair{IdDivideAtRow, DivideAtRow}, {IdDivideAtColumn, DivideAtColumn}}) {
        ToolFixture f;
        test::TestWorkspace ref;
        test::fillPattern(ref.ws, 120, 90);
        std::memcpy(ref.ws.secondImage, ref.ws.image, imageBytes(ref.ws));
        divideImage(ref.ws, mode, 30);

        ASSERT_TRUE(f.run(id));
        EXPECT_EQ(f.platform.statuses.back(), "Select seperate line");
        const QImage before = f.screen();
        f.hover(f.win(30, 30));
        ASSERT_EQ(f.view.figures().size(), 1u);
        const QPoint onLine = mode == DivideAtRow ? f.win(100, 30) : f.win(30, 80);
        EXPECT_EQ(f.screen().pixel(onLine), inverted(before.pixel(onLine)));
        f.rightClick();  // erases the line, the tool stays
        EXPECT_TRUE(f.view.figures().empty());
        EXPECT_EQ(f.ws.toolMode, mode);

        f.hover(f.win(30, 30));
        f.click(f.win(30, 30));
        EXPECT_EQ(f.image(), std::vector<uint8_t>(ref.ws.image, ref.ws.image + imageBytes(ref.ws))) << mode;
        EXPECT_TRUE(f.view.figures().empty());
        EXPECT_EQ(f.ws.toolMode, ModeNone);
        ASSERT_TRUE(f.run(IdRgbUndo));  // the division can be taken back
        test::fillPattern(ref.ws, 120, 90);
        EXPECT_EQ(f.image(), std::vector<uint8_t>(ref.ws.image, ref.ws.image + imageBytes(ref.ws)));
    }
}

TEST(BlockCopy, TheMirroredBlockFollowsThePointerAndIsPlacedAtTheClick)
{
    ToolFixture f;
    const auto original = f.image();
    ASSERT_TRUE(f.run(IdMirroredBlock));
    f.dragImage(10, 10, 19, 14);
    EXPECT_EQ(f.ws.toolMode, ModePlaceMirrored);
    EXPECT_EQ(f.ws.blockWidth, 10);
    EXPECT_EQ(f.ws.blockHeight, 5);
    EXPECT_EQ(std::memcmp(f.ws.RS1.get(), f.ws.RS.get(), f.ws.displayBytes), 0);
    EXPECT_EQ(f.image(), original);

    // The block's first pixel is image pixel (19, 10), mirrored.
    f.hover(f.win(50, 40));
    const uint8_t* corner = original.data() + (10 * 120 + 19) * 3;
    EXPECT_EQ(f.screen().pixel(f.win(50, 40)), qRgb(corner[0], corner[1], corner[2]));
    f.hover(f.win(70, 60));
    EXPECT_EQ(f.screen().pixel(f.win(70, 60)), qRgb(corner[0], corner[1], corner[2]));
    EXPECT_EQ(std::memcmp(f.ws.RS.get() + f.ws.displayRowOffset[f.win(50, 40).y()] + 3 * f.win(50, 40).x(),
                          f.ws.RS1.get() + f.ws.displayRowOffset[f.win(50, 40).y()] + 3 * f.win(50, 40).x(), 3),
              0);  // the earlier place shows the picture again

    f.click(f.win(70, 60));
    EXPECT_EQ(f.ws.toolMode, ModeNone);
    EXPECT_EQ(f.ws.rgbUndoCount, 1);
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 10; ++i)
            ASSERT_EQ(std::memcmp(f.pixel(70 + i, 60 + j), original.data() + ((10 + j) * 120 + 19 - i) * 3, 3), 0)
                << i << "," << j;

    // The flipped block, dropped with the right button: nothing changes.
    const auto placed = f.image();
    ASSERT_TRUE(f.run(IdFlippedBlock));
    f.dragImage(0, 0, 4, 4);
    EXPECT_EQ(f.ws.toolMode, ModePlaceFlipped);
    f.hover(f.win(90, 70));
    f.rightClick();
    EXPECT_EQ(f.ws.toolMode, ModeNone);
    EXPECT_EQ(f.image(), placed);
    EXPECT_EQ(std::memcmp(f.ws.RS1.get(), f.ws.RS.get(), f.ws.displayBytes), 0);
}

// ---- the black-line question and the keys

TEST(BlackLine, OnlyABlackPixelAsksAndOnlyYesGoesOn)
{
    test::TestWorkspace t(test::kTestBlockBytes, LangTaiwan);
    ASSERT_TRUE(newImage(t.ws, 4, 4));
    std::memset(t.ws.image, 0, 3);  // (0, 0) black
    EXPECT_TRUE(confirmBlackLine(t.ws, 1, 0, Msg::BlackLineFill));
    EXPECT_TRUE(confirmBlackLine(t.ws, 9, 0, Msg::BlackLineFill));
    EXPECT_TRUE(t.platform.messages.empty());
    t.platform.answers = {false, true};
    EXPECT_FALSE(confirmBlackLine(t.ws, 0, 0, Msg::BlackLineMaterial));
    EXPECT_TRUE(confirmBlackLine(t.ws, 0, 0, Msg::BlackLineChange));
    ASSERT_EQ(t.platform.messages.size(), 2u);
    EXPECT_EQ(t.platform.messages[0], "要灌材質的部份可能是黑色線條稿, 是否要灌材質?");
    EXPECT_EQ(t.platform.messages[1], "要換色的部份可能是黑色線條稿, 是否要換色?");
    t.ws.screenLanguage = LangEnglish;
    t.platform.answers = {false};
    EXPECT_FALSE(confirmBlackLine(t.ws, 0, 0, Msg::BlackLineFill));
    EXPECT_EQ(t.platform.messages.back(), "Do you want to fill the black line art ?");
}

TEST(Shortcuts, UndoAndRedoOfBothPlanesAreOnTheKeys)
{
    ToolFixture f;
    f.s.frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.s.frame.get()));
    const auto original = f.image();
    ASSERT_TRUE(f.run(IdNegative));
    f.dragImage(5, 5, 20, 20);
    const auto edited = f.image();
    QTest::keyClick(&f.view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.image(), original);
    QTest::keyClick(&f.view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(f.image(), edited);

    takeSnapshot(f.ws, SnapshotMask, 0, 0, 3, 3, 0);
    f.ws.mask[0] = 255;
    f.s.frame->refreshCommandStates();
    QTest::keyClick(&f.view, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(f.ws.mask[0], 0);
    QTest::keyClick(&f.view, Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(f.ws.mask[0], 255);
}

}  // namespace
}  // namespace orx
