// The command table and the menu bars built from it: every id once, the
// web edition's menus with their exact labels, every command reachable,
// and the enable and check rules before and after a load.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <set>

#include <gtest/gtest.h>

#include "app/commandContext.h"
#include "app/commandTable.h"
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
    EXPECT_EQ(table.size(), 191u);  // the view's 189 and the framework's about and exit
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
    const Command* line = findCommand(32792);
    EXPECT_EQ(line->toolMode, 101);
    EXPECT_EQ(line->cursor, 235);
    EXPECT_EQ(line->paintTarget, 1);
    const Command* maskLine = findCommand(32821);
    EXPECT_EQ(maskLine->toolMode, 501);
    EXPECT_EQ(maskLine->paintTarget, 2);
    EXPECT_EQ(findCommand(32926)->cursor, kCursorArrow);
    EXPECT_EQ(findCommand(32926)->toolMode, 0);
    EXPECT_EQ(findCommand(32854)->toolMode, kModeUnchanged);  // 0 or 951: the action decides
    EXPECT_EQ(findCommand(32852)->issuers, uint32_t(Menu129 | Menu130));
    EXPECT_EQ(findCommand(32780)->issuers, uint32_t(Menu128 | Menu129 | Menu130));
    EXPECT_EQ(findCommand(32833)->issuers, uint32_t(MaterialWindow));
    EXPECT_EQ(findCommand(32971)->enable, uint32_t(Ready | NeedImage | NeedRgbUndo));
}

TEST(CommandTable, TheCommandsThatActHaveHandlersAndTheOthersAreMarked)
{
    const std::set<int32_t> acting = {
        32771, 32772, 32773, 32775, 32776, 32778, 32779, 32780, 32781, 32782, 32783, 32784, 32786, 32787,
        32788, 32789, 32790, 32791, 32815, 32818, 32829, 32836, 32837, 32844, 32851, 32852, 32853, 32862,
        32864, 32865, 32867, 32868, 32869, 32870, 32877, 32878, 32879, 32880, 32881, 32882, 32883, 32884,
        32885, 32899, 32913, 32914, 32922, 32923, 32924, 32925, 32926, 32927, 32928, 32932, 32933, 32934,
        32935, 32936, 32940, 32942, 32945, 32963, 32964, 32965, 32966, 32967, 32969, 32970, 32971, 32972,
        32975, 32976, 32977, 57664, 57665};
    for (const Command& c : commandTable()) EXPECT_EQ(c.handler != nullptr, acting.count(c.id) == 1) << c.id;
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
    EXPECT_EQ(labelsOf(bar, "File"), (QStringList{"Load RGB", "Save RGB", "Save partial RGB", "Print \tCtrl+P", "Exit"}));
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
    EXPECT_NE(std::find(ids.begin(), ids.end(), 32780), ids.end());
    EXPECT_NE(std::find(ids.begin(), ids.end(), 32781), ids.end());
    EXPECT_EQ(std::find(ids.begin(), ids.end(), 32818), ids.end());  // the web edition's exit is not on it
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

std::set<int32_t> enabledIds(const Workspace& ws)
{
    std::set<int32_t> out;
    for (const Command& c : commandTable())
        if (isEnabled(c, ws)) out.insert(c.id);
    return out;
}

TEST(EnableRules, BeforeAnyLoadOnlyReadyAndAlwaysCommands)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    ws.environmentReady = 0;
    for (const Command& c : commandTable()) EXPECT_EQ(isEnabled(c, ws), c.enable == Always) << c.id;

    ws.environmentReady = 1;
    const std::set<int32_t> on = enabledIds(ws);
    for (const Command& c : commandTable())
        EXPECT_EQ(on.count(c.id) == 1, c.enable == Always || c.enable == Ready) << c.id;
    for (int32_t id : {32771, 32773, 32815, 32851, 32781, 32780, 32818, 32940, 32963}) EXPECT_EQ(on.count(id), 1u) << id;
    for (int32_t id : {32775, 32791, 32852, 32927, 32971, 57607}) EXPECT_EQ(on.count(id), 0u) << id;
}

TEST(EnableRules, AfterLoadsTheImageModelAndUndoRulesFollowTheFlags)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    ws.environmentReady = 1;
    test::fillPattern(ws, 8, 6);
    std::set<int32_t> on = enabledIds(ws);
    for (int32_t id : {32775, 32791, 32784, 32790, 32932, 32964, 32966, 57607}) EXPECT_EQ(on.count(id), 1u) << id;
    for (int32_t id : {32852, 32853, 32927, 32934, 32777, 32833, 32839, 32919, 32971, 32976, 32972, 32977})
        EXPECT_EQ(on.count(id), 0u) << id;

    ws.modelLoaded = 1;
    EXPECT_FALSE(isEnabled(*findCommand(32852), ws));  // a model not yet mapped
    ws.modelMapped = 1;
    ws.meshPresent = 1;
    on = enabledIds(ws);
    for (int32_t id : {32852, 32853, 32927, 32928, 32934, 32935, 32936, 32942, 32777, 32855}) EXPECT_EQ(on.count(id), 1u) << id;

    ws.rgbUndoCount = 1;
    ws.mskRedoCount = 1;
    EXPECT_TRUE(isEnabled(*findCommand(32971), ws));
    EXPECT_FALSE(isEnabled(*findCommand(32976), ws));
    EXPECT_FALSE(isEnabled(*findCommand(32972), ws));
    EXPECT_TRUE(isEnabled(*findCommand(32977), ws));
    ws.materialChosen = ws.pieceFloating = ws.pieceChosen = 1;
    for (int32_t id : {32833, 32839, 32919}) EXPECT_TRUE(isEnabled(*findCommand(id), ws)) << id;
    ws.environmentReady = 0;
    EXPECT_FALSE(isEnabled(*findCommand(32852), ws));
    EXPECT_TRUE(isEnabled(*findCommand(32781), ws));
}

TEST(CheckRules, MarksFollowOverlaySharpnessRepeatAndTool)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    auto checked = [&](int32_t id) { return isChecked(*findCommand(id), ws); };
    EXPECT_TRUE(checked(32786));  // blue overlay at the start
    ws.maskOverlayMode = 0;
    EXPECT_TRUE(checked(32789));
    EXPECT_FALSE(checked(32786));
    EXPECT_TRUE(checked(32927));
    ws.softMapping = 1;
    EXPECT_TRUE(checked(32928));
    EXPECT_FALSE(checked(32927));
    ws.repeatLayout = 2;
    EXPECT_TRUE(checked(32936));
    EXPECT_FALSE(checked(32934));
    ws.toolMode = 501;
    EXPECT_TRUE(checked(32821));
    EXPECT_FALSE(checked(32792));
    ws.materialVariant = 1;
    EXPECT_TRUE(checked(32930));
    EXPECT_FALSE(isCheckable(*findCommand(32771)));
    EXPECT_FALSE(checked(32771));
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
    EXPECT_EQ(ws.toolMode, 0);

    test::fillPattern(ws, 8, 8);
    f.frame->refreshCommandStates();
    ws.toolMode = 7;
    EXPECT_FALSE(f.run(32792));  // the line tool: in the table, not built yet
    EXPECT_EQ(ws.toolMode, 7);
    EXPECT_FALSE(f.run(12345));

    f.studio.busy = true;  // another command is running
    EXPECT_FALSE(f.run(IdWhiteFill));
    EXPECT_EQ(ws.toolMode, 7);
    f.studio.busy = false;

    EXPECT_TRUE(f.run(IdWhiteFill));
    EXPECT_EQ(ws.toolMode, 0);  // the table's mode for 32829
    EXPECT_EQ(ws.image[0], 255);
    EXPECT_FALSE(f.studio.busy);

    // A tool window's command gets the same test as a menu's.
    ws.environmentReady = 0;
    EXPECT_FALSE(f.run(IdWhiteFill));
    EXPECT_TRUE(f.run(IdMemory));  // "always"
}

}  // namespace
}  // namespace orx
