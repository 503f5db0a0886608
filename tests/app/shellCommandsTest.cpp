// The program's own commands through the frame: language dialog and file,
// about boxes, help and its hand-over file, memory figures, the two exits.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QSpinBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include <gtest/gtest.h>

#include "app/commandTable.h"
#include "app/dialogs.h"
#include "app/helpLauncher.h"
#include "app/qtPlatform.h"
#include "app/view.h"
#include "studioFixture.h"
#include "workspace/undoSnapshot.h"

namespace orx {
namespace {

using namespace orx::app;

std::string fileText(const std::string& path)
{
    const std::vector<uint8_t> b = test::readFileBytes(path);
    return std::string(b.begin(), b.end());
}

TEST(LanguageCommand, OkWritesTheFileAndRebuildsTheMenu)
{
    test::StudioFixture f(LangEnglish);
    f.ws.environmentReady = 0;  // a start that could not find its directory
    f.frame->languageAnswers.push_back({LangTaiwan, true});
    EXPECT_TRUE(f.run(IdLanguage));
    EXPECT_EQ(f.ws.screenLanguage, LangTaiwan);
    EXPECT_EQ(fileText(f.dir.path("ORX10.CFG")), "TAIWAN\n");
    EXPECT_EQ(f.frame->menuBarId(), 129);
    EXPECT_EQ(f.frame->windowTitle().toStdString(), "ORXWEB 布料自動模擬系統");
    EXPECT_EQ(f.ws.environmentReady, 1);
    EXPECT_TRUE(f.frame->action(IdLoadModel)->isEnabled());

    f.frame->languageAnswers.push_back({LangEnglish, true});
    EXPECT_TRUE(f.run(IdLanguage));
    EXPECT_EQ(fileText(f.dir.path("ORX10.CFG")), "ENGLISH\n");
    EXPECT_EQ(f.frame->menuBarId(), 130);
}

TEST(LanguageCommand, CancelPutsTheLanguageBackButStillRebuilds)
{
    test::StudioFixture f(LangEnglish);
    QAction* before = f.frame->action(IdLanguage);
    f.frame->languageAnswers.push_back({LangTaiwan, false});  // clicked TAIWAN, then Cancel
    EXPECT_TRUE(f.run(IdLanguage));
    EXPECT_EQ(f.ws.screenLanguage, LangEnglish);
    EXPECT_FALSE(std::filesystem::exists(f.dir.path("ORX10.CFG")));
    EXPECT_EQ(f.frame->menuBarId(), 130);
    EXPECT_NE(f.frame->action(IdLanguage), before);  // a new bar, new actions

    // Korea keeps the bar that is there.
    f.ws.screenLanguage = LangKorea;
    f.frame->languageAnswers.push_back({0, true});
    EXPECT_TRUE(f.run(IdLanguage));
    EXPECT_EQ(fileText(f.dir.path("ORX10.CFG")), "KOREA\n");
    EXPECT_EQ(f.frame->menuBarId(), 130);
}

TEST(LanguageDialog, ButtonsSetTheLanguageAtOnce)
{
    test::TestWorkspace t(64'000'000, LangTaiwan);
    LanguageDialog d(t.ws);
    EXPECT_TRUE(d.taiwanButton()->isChecked());
    EXPECT_FALSE(d.englishButton()->isChecked());
    EXPECT_EQ(d.windowTitle().toStdString(), "螢幕訊息使用語言 ");
    EXPECT_EQ(d.taiwanButton()->text(), "TAIWAN");
    EXPECT_EQ(d.englishButton()->text(), "English");
    d.englishButton()->click();
    EXPECT_EQ(t.ws.screenLanguage, LangEnglish);
    d.taiwanButton()->click();
    EXPECT_EQ(t.ws.screenLanguage, LangTaiwan);

    t.ws.screenLanguage = LangEnglish;
    LanguageDialog e(t.ws);
    EXPECT_EQ(e.windowTitle().toStdString(), "SCREEN MESSAGE LANGUAGE ");
    EXPECT_TRUE(e.englishButton()->isChecked());
    QTimer::singleShot(0, &e, [&e] { e.buttons()->button(QDialogButtonBox::Cancel)->click(); });
    EXPECT_EQ(e.exec(), QDialog::Rejected);
}

TEST(ContrastDialog, TwentyEntriesOpeningOnTheLastChoice)
{
    test::TestWorkspace t;
    ContrastDialog d(t.ws, 14);
    ASSERT_EQ(d.list()->count(), 20);
    EXPECT_EQ(d.list()->item(0)->text(), "0.1<Bright>");
    EXPECT_EQ(d.list()->item(9)->text(), "1.0<Normal>");
    EXPECT_EQ(d.list()->item(19)->text(), "2.0<Dark>");
    EXPECT_EQ(d.entry(), 14);
    EXPECT_EQ(d.windowTitle(), "Contrast Control");
    EXPECT_EQ(d.applyButton()->text(), "Apply");
    EXPECT_EQ(d.exitButton()->text(), "Exit");
    EXPECT_FALSE(d.findChildren<QLabel*>().isEmpty());
    EXPECT_EQ(d.findChildren<QLabel*>().first()->text(), "0.1 -->2.0<Dark>");
    d.list()->setCurrentRow(3);
    QTimer::singleShot(0, &d, [&d] { d.applyButton()->click(); });
    EXPECT_EQ(d.exec(), QDialog::Accepted);
    EXPECT_EQ(d.entry(), 3);

    t.ws.screenLanguage = LangTaiwan;
    ContrastDialog zh(t.ws, 9);
    EXPECT_EQ(zh.windowTitle().toStdString(), "設定明暗效果");
    EXPECT_EQ(zh.applyButton()->text().toStdString(), "套用");
    EXPECT_EQ(zh.exitButton()->text().toStdString(), "結束");
    EXPECT_EQ(zh.findChildren<QLabel*>().first()->text().toStdString(), "0.1<亮>->2.0<暗>");
    EXPECT_EQ(zh.list()->item(0)->text().toStdString(), "0.1<亮>");
    EXPECT_EQ(zh.list()->item(9)->text().toStdString(), "1.0<正常>");
    EXPECT_EQ(zh.list()->item(19)->text().toStdString(), "2.0<暗>");
    QTimer::singleShot(0, &zh, [&zh] { zh.exitButton()->click(); });
    EXPECT_EQ(zh.exec(), QDialog::Rejected);
}

// The program's questions and messages: their buttons are named in the
// screen language, and the answer is the button pressed.
TEST(Questions, ButtonsSpeakTheScreenLanguage)
{
    struct Case {
        int32_t language;
        const char* yes;
        const char* no;
        const char* ok;
    };
    for (const Case& c : {Case{LangTaiwan, "是(&Y)", "否(&N)", "確定"}, Case{LangEnglish, "&Yes", "&No", "OK"}}) {
        test::TestWorkspace t;
        t.ws.screenLanguage = c.language;
        QtPlatform platform(t.ws, false);
        std::vector<std::string> seen;
        // Reads the open box's buttons and presses the one named `press`.
        auto answer = [&seen](const std::string& press) {
            QTimer::singleShot(0, [&seen, press] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box) return;
                QAbstractButton* chosen = nullptr;
                for (QAbstractButton* b : box->buttons()) {
                    seen.push_back(b->text().toStdString());
                    if (b->text().toStdString() == press) chosen = b;
                }
                (chosen ? chosen : box->buttons().first())->click();
            });
        };
        answer(c.yes);
        EXPECT_TRUE(platform.askYesNo("?"));
        answer(c.no);
        EXPECT_FALSE(platform.askYesNo("?"));
        answer(c.ok);
        platform.message("!", Icon::Stop);
        std::sort(seen.begin(), seen.end());
        std::vector<std::string> expected = {c.yes, c.no, c.yes, c.no, c.ok};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(seen, expected) << c.language;
    }
}

TEST(NewImageDialog, AsksForBothSizes)
{
    test::TestWorkspace t;
    NewImageDialog d(t.ws, 640, 480);
    EXPECT_EQ(d.windowTitle(), "Input new RGB size");
    EXPECT_EQ(d.imageWidth(), 640);
    d.widthBox()->setValue(33);
    d.heightBox()->setValue(21);
    EXPECT_EQ(d.imageWidth(), 33);
    EXPECT_EQ(d.imageHeight(), 21);
    QStringList labels;
    for (QLabel* l : d.findChildren<QLabel*>()) labels << l->text();
    EXPECT_TRUE(labels.contains("X pixels:"));
    EXPECT_TRUE(labels.contains("Y pixels:"));
}

TEST(AboutCommands, BoxByLanguage)
{
    test::StudioFixture f(LangEnglish);
    EXPECT_TRUE(f.run(IdAboutWeb));
    f.ws.screenLanguage = LangTaiwan;
    EXPECT_TRUE(f.run(IdAboutWeb));
    EXPECT_TRUE(f.run(IdAbout));
    EXPECT_EQ(f.frame->aboutBoxes, (std::vector<int32_t>{214, 192, 100}));
}

TEST(MemoryCommand, TwoMessagesWithTheFigures)
{
    test::StudioFixture f(LangEnglish);
    f.ws.environmentReady = 0;  // "always"
    EXPECT_TRUE(f.run(IdMemory));
    ASSERT_EQ(f.t.platform.messages.size(), 2u);
    EXPECT_EQ(f.t.platform.messages[0], memoryRamText(f.ws));
    EXPECT_EQ(f.t.platform.messages[1], memoryCapacityText(f.ws));
    EXPECT_NE(f.t.platform.messages[0].find("RAM:"), std::string::npos);
    EXPECT_NE(f.t.platform.messages[1].find("Max VLX file size:"), std::string::npos);
}

TEST(ExitCommand, DeletesEverySnapshotFileClosesTheLibraryAndEndsWithZero)
{
    test::StudioFixture f(LangEnglish);
    for (SnapshotStack s : {SnapshotStack::RgbUndo, SnapshotStack::RgbRedo, SnapshotStack::MskUndo, SnapshotStack::MskRedo})
        for (int i = 0; i < 10; ++i) test::writeFileBytes(snapshotPath(f.ws, s, i), {1, 2, 3});
    ASSERT_TRUE(std::filesystem::exists(f.dir.path("VLXMSKREDO-9.FIX")));
    test::writeFileBytes(f.dir.path("KEEP.RGB"), {1});
    ASSERT_NE(f.studio.library.library, nullptr);

    EXPECT_TRUE(f.run(IdExit));
    for (const char* n : {"VLXRGB-0.FIX", "VLXRGB-9.FIX", "VLXRGBREDO-4.FIX", "VLXMSK-0.FIX", "VLXMSKREDO-9.FIX"})
        EXPECT_FALSE(std::filesystem::exists(f.dir.path(n))) << n;
    EXPECT_TRUE(std::filesystem::exists(f.dir.path("KEEP.RGB")));
    EXPECT_EQ(f.studio.library.library, nullptr);
    EXPECT_EQ(f.frame->terminatedWith, 0);
    EXPECT_FALSE(f.frame->closeAsked);

    EXPECT_TRUE(f.run(IdAppExit));  // the framework's exit closes the window instead
    EXPECT_TRUE(f.frame->closeAsked);
}

// A stand-in help program: records the hand-over file it finds beside it.
void writeFakeHelp(const std::string& dir, const std::string& body)
{
    const std::string path = dir + "/KOVAHELP";
    const std::string script = "#!/bin/sh\n" + body + "\n";
    test::writeFileBytes(path, std::vector<uint8_t>(script.begin(), script.end()));
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

TEST(HelpCommand, HandsThePageOfTheLanguageToTheHelpProgramAndWaits)
{
    test::StudioFixture f(LangEnglish);
    const std::string dir = f.dir.dir().string();
    writeFakeHelp(dir, "sleep 0.3; cat \"$(dirname \"$0\")/KOVA.HLP\" > \"$(dirname \"$0\")/seen.txt\"");
    f.ws.environmentReady = 0;  // "always"
    EXPECT_TRUE(f.run(IdHelp));
    // Waited for: the program's file is there as soon as the command returns.
    EXPECT_EQ(fileText(f.dir.path("seen.txt")), dir + "/VLX10MENUE/VLX98.htm");
    EXPECT_EQ(fileText(f.dir.path("KOVA.HLP")), dir + "/VLX10MENUE/VLX98.htm");  // no newline

    f.ws.screenLanguage = LangTaiwan;
    EXPECT_EQ(helpPagePath(f.ws), dir + "/VLX10MENU/VLX98.htm");
    EXPECT_TRUE(f.run(IdHelp));
    EXPECT_EQ(fileText(f.dir.path("seen.txt")), dir + "/VLX10MENU/VLX98.htm");
    EXPECT_TRUE(f.t.platform.messages.empty());
}

TEST(HelpCommand, AMissingHelpProgramIsReportedInTheScreenLanguage)
{
    test::StudioFixture f(LangEnglish);
    EXPECT_TRUE(f.run(IdHelp));
    ASSERT_EQ(f.t.platform.messages.size(), 1u);
    EXPECT_EQ(f.t.platform.messages[0], "Can not run Help Program KOVAHELP.exe ");
    EXPECT_EQ(f.t.platform.beeps, 1);
    f.ws.screenLanguage = LangTaiwan;
    EXPECT_TRUE(f.run(IdHelp));
    EXPECT_EQ(f.t.platform.messages[1], "無法執行操作說明程式 KOVAHELP.exe ");

    // No hand-over file, no help and nothing said.
    f.ws.VLX98DIR = f.dir.path("missing");
    EXPECT_TRUE(f.run(IdHelp));
    EXPECT_EQ(f.t.platform.messages.size(), 2u);
}

TEST(HelpProgram, ShowsTheShippedPagesOfBothLanguages)
{
    const std::string programDir = std::filesystem::path(test::kovahelpPath()).parent_path().string();
    for (const char* folder : {"VLX10MENUE", "VLX10MENU"}) {
        test::TempDir d;
        const std::string page = programDir + "/" + folder + "/VLX98.htm";
        test::writeFileBytes(d.path("KOVA.HLP"), std::vector<uint8_t>(page.begin(), page.end()));
        const test::ProcessResult r = test::runProcess(test::kovahelpPath(), {d.path("KOVA.HLP"), "--check"},
                                                       {{"QT_QPA_PLATFORM", "offscreen"}}, d.dir().string());
        EXPECT_EQ(r.status, 0) << folder << r.err;
        EXPECT_NE(r.out.find("ORXWEB"), std::string::npos) << r.out;
        const std::string html = fileText(page);
        EXPECT_NE(html.find(std::string(folder) == "VLX10MENU" ? "更換材質自動模擬" : "Change Contrtast and Re-Simulation"),
                  std::string::npos);
    }
    test::TempDir d;
    test::writeFileBytes(d.path("KOVA.HLP"), {'/', 'n', 'o'});
    const test::ProcessResult missing = test::runProcess(test::kovahelpPath(), {d.path("KOVA.HLP"), "--check"},
                                                         {{"QT_QPA_PLATFORM", "offscreen"}}, d.dir().string());
    EXPECT_EQ(missing.status, 1);
}

}  // namespace
}  // namespace orx

namespace orx {
namespace {

// The real frame's way out: the framework exit closes the window once the
// command has returned (it is still running while its handler runs).
TEST(ApplicationExit, TheWindowClosesAfterTheCommand)
{
    test::TempDir dir;
    test::TestWorkspace t;
    t.ws.VLX98DIR = dir.dir().string();
    t.ws.environmentReady = 1;
    app::Studio studio(t.ws);
    app::CursorTable cursors;
    app::CMainFrame frame(studio, cursors, nullptr);
    frame.show();
    ASSERT_TRUE(frame.isVisible());
    EXPECT_TRUE(frame.execute(app::IdAppExit));
    QApplication::processEvents();
    EXPECT_FALSE(frame.isVisible());
}

}  // namespace
}  // namespace orx

namespace orx {
namespace {

// A window system without a manager hands activation to nobody (here: to
// another window) when a modal dialog closes; the frame takes it back, so
// its shortcuts work at once.
TEST(ModalDialogs, TheFrameHasTheKeyboardAgainWhenOneCloses)
{
    test::TempDir dir;
    test::TestWorkspace t;
    t.ws.VLX98DIR = dir.dir().string();
    t.ws.environmentReady = 1;
    app::Studio studio(t.ws);
    app::CursorTable cursors;
    app::CMainFrame frame(studio, cursors, nullptr);
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QWidget elsewhere;
    QTimer::singleShot(0, [&elsewhere] {
        if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
        elsewhere.show();
        elsewhere.activateWindow();
    });
    frame.showAbout(214);
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeWindow(), &frame);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(frame.view()));
}

}  // namespace
}  // namespace orx
