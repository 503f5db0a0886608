// The command table and the menu bars built from it: every id once, the
// web edition's menus with their exact labels, every command reachable,
// and the enable and check rules before and after a load.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <memory>
#include <set>

#include <gtest/gtest.h>

#include "app/commandContext.h"
#include "app/commandPalette.h"
#include "app/commandTable.h"
#include "app/commands.h"
#include "app/menus.h"
#include "studioFixture.h"
#include "workspace/nativeFile.h"

namespace orx {
namespace {

using namespace orx::app;

// The command ids of a bar's items, in order, without separators.
std::vector<int32_t> commandsOf(std::span<const MenuItem> items)
{
    std::vector<int32_t> ids;
    for (const MenuItem& m : items)
        if (m.kind == MenuItem::Command) ids.push_back(m.id);
    return ids;
}

// The labels of one popup of a built menu bar, separators left out.
QStringList labelsOf(QMenuBar* bar, const QString& title)
{
    QStringList labels;
    for (QAction* top : bar->actions()) {
        if (top->text() != title || !top->menu()) continue;
        for (QAction* a : top->menu()->actions())
            if (!a->isSeparator()) labels << a->text();
    }
    return labels;
}

TEST(CommandTable, EveryIdOnceInAscendingOrder)
{
    const auto table = commandTable();
    EXPECT_EQ(table.size(), 193u);  // the view's 189, Save PNG and Save TIFF, and the framework's about and exit
    for (size_t i = 1; i < table.size(); ++i) EXPECT_LT(table[i - 1].id, table[i].id);
    for (const Command& c : table) {
        EXPECT_EQ(findCommand(c.id), &c);
        EXPECT_NE(std::string(c.english), "") << c.id;
        EXPECT_NE(std::string(c.chinese), "") << c.id;
    }
    EXPECT_EQ(findCommand(32785), nullptr);
    EXPECT_EQ(findCommand(0), nullptr);
}

TEST(CommandTable, RowsCarryTheirModesCursorsAndPlanes)
{
    const Command* line = findCommand(IdLine);
    EXPECT_EQ(line->toolMode, ModeLine);
    EXPECT_EQ(line->cursor, kCursorLine);
    EXPECT_EQ(line->paintTarget, PaintImage);
    const Command* maskLine = findCommand(IdMaskLine);
    EXPECT_EQ(maskLine->toolMode, ModeMaskLine);
    EXPECT_EQ(maskLine->paintTarget, PaintMask);
    EXPECT_EQ(findCommand(IdBlackToMask)->cursor, kCursorArrow);
    EXPECT_EQ(findCommand(IdBlackToMask)->toolMode, ModeNone);
    EXPECT_EQ(findCommand(IdNewMesh)->toolMode, kModeUnchanged);  // 0 or 951: the action decides
    EXPECT_EQ(findCommand(IdChangeMaterial)->issuers, uint32_t(Menu129 | Menu130));
    EXPECT_EQ(findCommand(IdAboutWeb)->issuers, uint32_t(Menu128 | Menu129 | Menu130));
    EXPECT_EQ(findCommand(IdMoveMaterial)->issuers, uint32_t(MaterialWindow));
    EXPECT_EQ(findCommand(IdRgbUndo)->enable, uint32_t(Ready | NeedImage | NeedRgbUndo));
}

// The commands that do something today. A new handler, or a new row of the
// tool-mode table behind a toolOnly command, adds its id here.
TEST(CommandTable, TheBuiltCommandsAreExactlyThoseThatAct)
{
    const std::set<int32_t> acting = {
        IdLoadRgb, IdOpenImageFile, IdLoadMsk, IdSaveRgb, IdSaveMsk, IdSaveBmp, IdNewImage, IdAboutWeb,
        IdLanguage, IdMaskOn, IdMaskOff, IdRedraw, IdOverlayBlue, IdOverlayRed, IdOverlayGreen, IdOverlayClear,
        IdInvertMask, IdAll, IdLoadClo, IdExit, IdWhiteFill, IdSaveClo, IdSavePrt, IdContrast, IdLoadModel,
        IdChangeMaterial, IdChangeContrast, IdClearMask, IdLoadPrt, IdSavePartialRgb, IdSaveAreaClo,
        IdSaveAreaPrt, IdSaveAreaBmp, IdSaveMaterialArea, IdSharpen, IdBlur, IdSaturation, IdGrey, IdBlackWhite,
        IdDivideAtRow, IdDivideAtColumn, IdWhiteBalance, IdContrastBoost, IdAddRgb, IdSaveNit, IdLoadNit,
        IdLoadEmb, IdSaveEmb, IdSaveAreaEmb, IdNegative, IdBlackToMask, IdSharp, IdSoft, IdRotateClockwise,
        IdRotateCounter, IdNormalRepeat, IdHorizontalRepeat, IdVerticalRepeat, IdHelp, IdChangeMaterialReflection,
        IdMaskedToBlack, IdMemory, IdMirrorLeftRight, IdMirrorTopBottom, IdHalve, IdAddRgbWithMask,
        IdMirroredBlock, IdFlippedBlock, IdRgbUndo, IdMskUndo, IdSavePrtFromMaskEdge, IdRgbRedo, IdMskRedo,
        IdAbout, IdAppExit, IdEditOrx, IdEditMmp, IdOpenImageFile3, IdOpenImageFile4, IdOpenImageFile5,
        IdSaveJpg, IdSavePng, IdSaveTiff, IdScan,
        IdPrint, IdPrintDirect, IdPrintPreview, IdRunMmp,
        // The paint tools, their windows and the floating piece's move.
        IdPen, IdLine, IdCurve, IdRectangle, IdPenWidth, IdFill, IdMaskFill, IdChangeColour, IdMaskPen, IdMaskLine,
        IdMaskCurve, IdMaskRectangle, IdColourBoxAndPaint, IdColourBox, IdMovePiece, IdAirBrush, IdAirBrushCopy,
        IdColourBoxAndAirBrush, IdFilledRectangle, IdMaskFilledRectangle, IdDashedCurve, IdShadedCurve,
        IdHoledCurve, IdShadedFill, IdShadedFillMaskEdge, IdFont, IdText, IdReflectionFill, IdCircle,
        IdFilledCircle, IdMaskCircle, IdMaskFilledCircle, IdEllipse, IdFilledEllipse, IdMaskEllipse,
        IdMaskFilledEllipse, IdGradientRectangle, IdGradientCircle, IdGradientEllipse};
    for (const Command& c : commandTable()) EXPECT_EQ(isBuilt(c), acting.count(c.id) == 1) << c.id;
}

TEST(MenuBars, EnglishBarHasTheWebEditionItemsAndLabels)
{
    test::StudioFixture f(LangEnglish);
    ASSERT_EQ(f.frame->menuBarId(), 130);
    QMenuBar* bar = f.frame->menuBar();
    QStringList tops;
    for (QAction* a : bar->actions()) tops << a->text();
    EXPECT_EQ(tops.mid(0, 4), (QStringList{"File", "Auto Simulation", "View", "Help"}));
    EXPECT_EQ(tops.last(), "Exit");  // the top-level exit stays the last item
    EXPECT_EQ(labelsOf(bar, "File"),
              (QStringList{"Load RGB", "Save RGB", "Save partial RGB", "Print \tCtrl+P", "Exit"}));
    EXPECT_EQ(labelsOf(bar, "Auto Simulation"),
              (QStringList{"Load Model MDL File", "Change Material and Re-Simulation<with Contrast> ",
                           "Change Material and Re-Simulation<with Reflection>", "Change Contrtast and Re-Simulation",
                           "Sharp Mapping and Re-Simulation", "Soft Mapping and Re-Simulation",
                           "Normal Repeat and Re-Simulation", "Horizontal Shifted Repeat and Re-Simulation",
                           "Vertical Shifted Repeat and Re-Simulation", "Load and Run MMP"}));
    EXPECT_EQ(labelsOf(bar, "View"), (QStringList{"All", "Redraw"}));
    EXPECT_EQ(labelsOf(bar, "Help"), (QStringList{"Screen Message Language", "About ORXWEB"}));
    EXPECT_EQ(f.frame->action(IdLoadRgb)->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(f.frame->action(IdRgbRedo)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    EXPECT_EQ(f.frame->action(IdAll)->shortcut(), QKeySequence(Qt::Key_F));
}

TEST(MenuBars, ChineseBarHasTheSameItemsLessTheFileCommands)
{
    test::StudioFixture f(LangTaiwan);
    ASSERT_EQ(f.frame->menuBarId(), 129);
    QMenuBar* bar = f.frame->menuBar();
    EXPECT_EQ(labelsOf(bar, "檔案管理"), (QStringList{"印圖\tCtrl+P", "結束"}));
    EXPECT_EQ(labelsOf(bar, "自動材質模擬"),
              (QStringList{"讀取款式檔<MDL檔>", "更換材質自動模擬<明暗效果>", "更換材質自動模擬<反光效果>",
                           "更改明暗度自動模擬", "銳利模擬", "柔化模擬", "材質四方連續", "材質水平斜方連續",
                           "材質垂直斜方連續"}));
    EXPECT_EQ(labelsOf(bar, "視窗"), (QStringList{"顯示全圖", "重新顯示"}));
    EXPECT_EQ(labelsOf(bar, "說明"), (QStringList{"螢幕訊息使用語言", "關於ORXWEB"}));
    EXPECT_EQ(bar->actions().last()->text(), "結束");
}

TEST(MenuBars, DefaultBarHasFileEditViewHelpWithLanguageAndAbout)
{
    const std::vector<int32_t> ids = commandsOf(menuBarItems(MenuDefault));
    EXPECT_EQ(menuBarItems(MenuDefault)[0].english, std::string("&File"));
    EXPECT_NE(std::find(ids.begin(), ids.end(), IdAboutWeb), ids.end());
    EXPECT_NE(std::find(ids.begin(), ids.end(), IdLanguage), ids.end());
    EXPECT_EQ(std::find(ids.begin(), ids.end(), IdExit), ids.end());  // the web edition's exit is not on it
    EXPECT_EQ(menuBarOf(LangTaiwan), 129);
    EXPECT_EQ(menuBarOf(LangEnglish), 130);
    EXPECT_EQ(menuBarOf(LangKorea), 128);
    EXPECT_EQ(menuBarOf(LangUnset), 128);
}

TEST(MenuBars, EveryCommandIsReachableFromEveryBar)
{
    for (int32_t bar : {128, 129, 130}) {
        const std::vector<int32_t> ids = commandsOf(menuBarItems(bar));
        const std::set<int32_t> reach(ids.begin(), ids.end());
        for (const Command& c : commandTable()) {
            if (c.id == IdExit && bar == 128) continue;  // the default bar exits the framework's way
            EXPECT_EQ(reach.count(c.id), 1u) << "bar " << bar << " lacks " << c.id;
        }
        for (int32_t id : ids) EXPECT_NE(findCommand(id), nullptr) << id;
        // Popups close as often as they open.
        int depth = 0;
        for (const MenuItem& m : menuBarItems(bar)) {
            depth += m.kind == MenuItem::Popup ? 1 : m.kind == MenuItem::End ? -1 : 0;
            ASSERT_GE(depth, 0);
        }
        EXPECT_EQ(depth, 0);
    }
}

// The commands whose enable rule holds, built or not.
std::set<int32_t> enabledIds(const Workspace& ws)
{
    std::set<int32_t> out;
    for (const Command& c : commandTable())
        if (ruleHolds(c, ws)) out.insert(c.id);
    return out;
}

TEST(EnableRules, BeforeAnyLoadOnlyReadyAndAlwaysCommands)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    ws.environmentReady = 0;
    for (const Command& c : commandTable()) EXPECT_EQ(ruleHolds(c, ws), c.enable == Always) << c.id;

    ws.environmentReady = 1;
    const std::set<int32_t> on = enabledIds(ws);
    for (const Command& c : commandTable())
        EXPECT_EQ(on.count(c.id) == 1, c.enable == Always || c.enable == Ready) << c.id;
    for (int32_t id : {IdLoadRgb, IdLoadMsk, IdLoadClo, IdLoadModel, IdLanguage, IdAboutWeb, IdExit, IdHelp, IdMemory})
        EXPECT_EQ(on.count(id), 1u) << id;
    for (int32_t id : {IdSaveRgb, IdAll, IdChangeMaterial, IdSharp, IdRgbUndo, IdPrint})
        EXPECT_EQ(on.count(id), 0u) << id;
}

TEST(EnableRules, AfterLoadsTheImageModelAndUndoRulesFollowTheFlags)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    ws.environmentReady = 1;
    test::fillPattern(ws, 8, 6);
    std::set<int32_t> on = enabledIds(ws);
    for (int32_t id :
         {IdSaveRgb, IdAll, IdRedraw, IdInvertMask, IdRotateClockwise, IdMirrorLeftRight, IdHalve, IdPrint})
        EXPECT_EQ(on.count(id), 1u) << id;
    for (int32_t id : {IdChangeMaterial, IdChangeContrast, IdSharp, IdNormalRepeat, IdSaveMesh, IdMoveMaterial,
                       IdScalePiece, IdMoveChosen, IdRgbUndo, IdRgbRedo, IdMskUndo, IdMskRedo})
        EXPECT_EQ(on.count(id), 0u) << id;

    auto holds = [&](int32_t id) { return ruleHolds(*findCommand(id), ws); };
    ws.modelLoaded = 1;
    EXPECT_FALSE(holds(IdChangeMaterial));  // a model not yet mapped
    ws.modelMapped = 1;
    ws.meshPresent = 1;
    on = enabledIds(ws);
    for (int32_t id : {IdChangeMaterial, IdChangeContrast, IdSharp, IdSoft, IdNormalRepeat, IdHorizontalRepeat,
                       IdVerticalRepeat, IdChangeMaterialReflection, IdSaveMesh, IdObjectMeshMoveAll})
        EXPECT_EQ(on.count(id), 1u) << id;

    ws.rgbUndoCount = 1;
    ws.mskRedoCount = 1;
    EXPECT_TRUE(holds(IdRgbUndo));
    EXPECT_FALSE(holds(IdRgbRedo));
    EXPECT_FALSE(holds(IdMskUndo));
    EXPECT_TRUE(holds(IdMskRedo));
    ws.materialChosen = ws.pieceFloating = ws.pieceChosen = 1;
    for (int32_t id : {IdMoveMaterial, IdScalePiece, IdMoveChosen}) EXPECT_TRUE(holds(id)) << id;
    ws.environmentReady = 0;
    EXPECT_FALSE(holds(IdChangeMaterial));
    EXPECT_TRUE(holds(IdLanguage));
}

TEST(CheckRules, MarksFollowOverlaySharpnessRepeatAndTool)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    auto checked = [&](int32_t id) { return isChecked(*findCommand(id), ws); };
    EXPECT_TRUE(checked(IdOverlayBlue));  // blue overlay at the start
    ws.maskOverlayMode = 0;
    EXPECT_TRUE(checked(IdOverlayClear));
    EXPECT_FALSE(checked(IdOverlayBlue));
    EXPECT_TRUE(checked(IdSharp));
    ws.softMapping = 1;
    EXPECT_TRUE(checked(IdSoft));
    EXPECT_FALSE(checked(IdSharp));
    ws.repeatLayout = 2;
    EXPECT_TRUE(checked(IdVerticalRepeat));
    EXPECT_FALSE(checked(IdNormalRepeat));
    ws.toolMode = ModeMaskLine;
    EXPECT_TRUE(checked(IdMaskLine));
    EXPECT_FALSE(checked(IdLine));
    ws.materialVariant = 1;
    EXPECT_TRUE(checked(IdMaterialLayout2));
    EXPECT_FALSE(isCheckable(*findCommand(IdLoadRgb)));
    EXPECT_FALSE(checked(IdLoadRgb));
}

TEST(MenuStates, ActionsFollowTheRulesBeforeAndAfterALoad)
{
    test::StudioFixture f(LangEnglish);
    f.frame->refreshCommandStates();
    EXPECT_TRUE(f.frame->action(IdLoadRgb)->isEnabled());
    EXPECT_TRUE(f.frame->action(IdLoadModel)->isEnabled());
    EXPECT_FALSE(f.frame->action(IdSaveRgb)->isEnabled());
    EXPECT_FALSE(f.frame->action(IdChangeMaterial)->isEnabled());
    EXPECT_TRUE(f.frame->action(IdSharp)->isChecked());

    // A load through the menu: the image commands come on, undo stays off.
    test::TestWorkspace other;
    test::fillPattern(other.ws, 16, 12);
    const std::string name = f.dir.path("P.RGB");
    ASSERT_TRUE(saveRGB(other.ws, name));
    f.t.platform.files.push_back(name);
    ASSERT_TRUE(f.frame->action(IdLoadRgb)->isEnabled());
    f.frame->action(IdLoadRgb)->trigger();
    EXPECT_EQ(f.ws.imageWidth, 16);
    EXPECT_TRUE(f.frame->action(IdSaveRgb)->isEnabled());
    EXPECT_TRUE(f.frame->action(IdAll)->isEnabled());
    EXPECT_FALSE(f.frame->action(IdRgbUndo)->isEnabled());
    EXPECT_FALSE(f.frame->action(IdChangeMaterial)->isEnabled());
}

TEST(Dispatch, DisabledBusyUnknownAndUnbuiltCommandsDoNothing)
{
    test::StudioFixture f(LangEnglish);
    Workspace& ws = f.ws;
    // Disabled: no image yet, so "All" does not run, nor does a menu's trigger.
    EXPECT_FALSE(f.run(IdAll));
    f.frame->action(IdWhiteFill)->trigger();
    EXPECT_EQ(ws.toolMode, ModeNone);

    test::fillPattern(ws, 8, 8);
    f.frame->refreshCommandStates();
    ws.toolMode = FilterGrey;
    EXPECT_FALSE(f.run(12345));

    f.studio.busy = true;  // another command is running
    EXPECT_FALSE(f.run(IdWhiteFill));
    EXPECT_EQ(ws.toolMode, FilterGrey);
    f.studio.busy = false;

    EXPECT_TRUE(f.run(IdWhiteFill));
    EXPECT_EQ(ws.toolMode, ModeNone);  // the table's mode for IdWhiteFill
    EXPECT_EQ(ws.image[0], 255);
    EXPECT_FALSE(f.studio.busy);

    // A tool window's command gets the same test as a menu's.
    ws.environmentReady = 0;
    EXPECT_FALSE(f.run(IdWhiteFill));
    EXPECT_TRUE(f.run(IdMemory));  // "always"
}

// With every rule holding, what is greyed out is what is not built, in the
// menus and in every tool window; an unbuilt tool leaves the armed tool as
// it was, and a built one always arms its own (a tool chosen after the Grey
// filter must not leave Grey armed).
TEST(Dispatch, UnbuiltCommandsAreGreyedOutAndToolsAlwaysSetTheirMode)
{
    test::StudioFixture f(LangEnglish);
    Workspace& ws = f.ws;
    test::fillPattern(ws, 16, 16);
    ws.meshPresent = ws.materialChosen = ws.pieceFloating = ws.pieceChosen = 1;
    ws.modelLoaded = ws.modelMapped = 1;
    ws.rgbUndoCount = ws.mskUndoCount = ws.rgbRedoCount = ws.mskRedoCount = 1;
    std::vector<std::unique_ptr<CommandPalette>> palettes;
    for (Issuer i : {PaintPalette, MeshToolPalette, MaterialWindow, AirBrushPalette, ColourChangeWindow,
                     AutoMaskWindow, FileBrowser})
        palettes.push_back(std::make_unique<CommandPalette>(*f.frame, i, "palette"));
    f.frame->refreshCommandStates();

    int toolsArmed = 0;
    for (const Command& c : commandTable()) {
        ASSERT_TRUE(ruleHolds(c, ws)) << c.id;
        EXPECT_EQ(f.frame->action(c.id)->isEnabled(), isBuilt(c)) << c.id;
        for (const auto& p : palettes)
            if (QToolButton* b = p->button(c.id)) EXPECT_EQ(b->isEnabled(), isBuilt(c)) << c.id;
        if (c.toolMode == kModeUnchanged) continue;
        ws.toolMode = FilterGrey;
        if (!isBuilt(c)) {
            EXPECT_FALSE(f.run(c.id)) << c.id;
            EXPECT_EQ(ws.toolMode, FilterGrey) << c.id;
        } else if (c.handler == toolOnly || c.handler == areaTool) {  // no dialog before the gesture
            if (c.id == IdGrey) ws.toolMode = FilterBlur;
            EXPECT_TRUE(f.run(c.id)) << c.id;
            EXPECT_EQ(ws.toolMode, c.toolMode) << c.id;
            if (c.paintTarget != 0) EXPECT_EQ(ws.paintTarget, c.paintTarget) << c.id;
            ++toolsArmed;
        }
    }
    EXPECT_GE(toolsArmed, 12);  // the area filters, the block copies and the divides at least
}

}  // namespace
}  // namespace orx
