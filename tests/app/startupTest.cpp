// The program's start: the language word and what it gives (menu bar,
// caption, message language), the program paths, and the failure path when
// the library cannot be reached, in-process and as the real program.
#include <cstdlib>

#include <gtest/gtest.h>

#include "app/mainFrame.h"
#include "app/startup.h"
#include "studioFixture.h"
#include "workspace/fileIo.h"
#include "workspace/langText.h"

namespace orx {
namespace {

using namespace orx::app;

// Sets environment variables for one scope and puts the old values back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (had_) ::setenv(name_, old_.c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

struct StartCase {
    const char* word;  // nullptr: no ORX10.CFG
    int32_t language;
    int32_t menuBar;
    const char* caption;
};

const StartCase kStartCases[] = {
    {"TAIWAN", LangTaiwan, 129, "ORXWEB 布料自動模擬系統"},
    {"ENGLISH", LangEnglish, 130, "ORXWEB Fabric Draping Studio"},
    {"KOREA", LangKorea, 128, "ORXWEB Fabric Draping Studio"},
    {"english", LangUnset, 128, "ORXWEB"},  // compared exactly: the language stays unset
    {nullptr, LangTaiwan, 129, "ORXWEB 布料自動模擬系統"},
};

TEST(Start, LanguageWordGivesMenuBarAndCaption)
{
    ScopedEnv block("ORX_BLOCK_BYTES", "64000000");
    ScopedEnv library("ORX_LIBRARY_URL", test::sampleLibraryDir());
    for (const StartCase& c : kStartCases) {
        SCOPED_TRACE(c.word ? c.word : "no file");
        test::TempDir program, work;
        if (c.word) {
            const std::string line = std::string(c.word) + "\n";
            test::writeFileBytes(work.path("ORX10.CFG"), std::vector<uint8_t>(line.begin(), line.end()));
        }
        test::FakePlatform platform;
        Workspace ws;
        ws.platform = &platform;
        Studio studio(ws);
        StartPaths paths;
        paths.programDir = program.dir().string();
        paths.workDir = work.dir().string();
        ASSERT_TRUE(startEnvironment(studio, paths));
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(ws.screenLanguage, c.language);
        EXPECT_EQ(ws.environmentReady, 1);
        EXPECT_GT(studio.library.modelList.size(), 0u);
        EXPECT_GT(studio.library.materialList.size(), 0u);

        CursorTable cursors;
        CMainFrame frame(studio, cursors, nullptr);
        EXPECT_EQ(frame.menuBarId(), c.menuBar);
        EXPECT_EQ(frame.windowTitle().toStdString(), c.caption);
    }
}

TEST(Start, ProgramPathsAndToolDefaults)
{
    ScopedEnv block("ORX_BLOCK_BYTES", "64000000");
    ScopedEnv library("ORX_LIBRARY_URL", test::sampleLibraryDir());
    test::TempDir program, work;
    test::FakePlatform platform;
    Workspace ws;
    ws.platform = &platform;
    ws.contrastExponent = 0.5f;
    Studio studio(ws);
    StartPaths paths;
    paths.programDir = program.dir().string();
    paths.workDir = work.dir().string();
    ASSERT_TRUE(startEnvironment(studio, paths));
    EXPECT_EQ(ws.VLX98DIR, paths.programDir);
    EXPECT_EQ(ws.WORKDIR, paths.workDir);
    EXPECT_EQ(ws.webExePath, joinPath(paths.programDir, "orxweb"));
    EXPECT_EQ(ws.webCompanionPath, joinPath(paths.programDir, "orx001"));  // the last three characters replaced
    EXPECT_EQ(ws.contrastExponent, 1.0f);
    EXPECT_EQ(ws.contrastIndex, 9);
    EXPECT_EQ(ws.imageLoaded, 0);
    EXPECT_EQ(ws.maskVisible, 0);
    EXPECT_EQ(ws.maskOverlayMode, 3);
    EXPECT_EQ(ws.rgbUndoDepth, 10);
    EXPECT_NE(ws.RS, nullptr);
}

// The language dialog writes where the start reads: a choice survives a
// restart even when the work folder holds another word.
TEST(Start, TheLanguageChosenInTheDialogSurvivesARestart)
{
    ScopedEnv block("ORX_BLOCK_BYTES", "64000000");
    ScopedEnv library("ORX_LIBRARY_URL", test::sampleLibraryDir());
    test::TempDir program, work;
    test::writeFileBytes(work.path("ORX10.CFG"), {'E', 'N', 'G', 'L', 'I', 'S', 'H', '\n'});
    StartPaths paths;
    paths.programDir = program.dir().string();
    paths.workDir = work.dir().string();
    auto start = [&](int32_t chosen) {
        test::FakePlatform platform;
        Workspace ws;
        ws.platform = &platform;
        Studio studio(ws);
        EXPECT_TRUE(startEnvironment(studio, paths));
        const int32_t started = ws.screenLanguage;
        ws.screenLanguage = chosen;  // the dialog's choice, kept with OK
        EXPECT_TRUE(writeScreenLanguage(ws));
        return started;
    };
    EXPECT_EQ(start(LangTaiwan), LangEnglish);  // only the work folder's word so far
    EXPECT_TRUE(fileExists(program.path("ORX10.CFG")));
    EXPECT_EQ(start(LangEnglish), LangTaiwan);
    EXPECT_EQ(start(LangEnglish), LangEnglish);
}

TEST(StartFailure, UnreachableLibraryShowsBothMessagesInTheConfiguredLanguage)
{
    ScopedEnv block("ORX_BLOCK_BYTES", "64000000");
    ScopedEnv library("ORX_LIBRARY_URL", "ftp://127.0.0.1:1");
    for (const char* word : {"ENGLISH", "TAIWAN"}) {
        SCOPED_TRACE(word);
        test::TempDir program, work;
        const std::string w(word);
        test::writeFileBytes(work.path("ORX10.CFG"), std::vector<uint8_t>(w.begin(), w.end()));
        test::FakePlatform platform;
        Workspace ws;
        ws.platform = &platform;
        Studio studio(ws);
        StartPaths paths;
        paths.programDir = program.dir().string();
        paths.workDir = work.dir().string();
        EXPECT_FALSE(startEnvironment(studio, paths));
        ASSERT_GE(platform.messages.size(), 3u);  // the library's own, then the two
        const size_t n = platform.messages.size();
        if (w == "ENGLISH") {
            EXPECT_EQ(platform.messages[n - 2], "init_env()  ERROR");
            EXPECT_EQ(platform.messages[n - 1], "ORX Program Will Stop.");
        } else {
            EXPECT_EQ(platform.messages[n - 2], "無法完成ORX系統環境設定");
            EXPECT_EQ(platform.messages[n - 1], "ORX程式即將結束.");
        }
        EXPECT_EQ(ws.environmentReady, 0);  // the paths were not reached
        EXPECT_EQ(studio.library.library, nullptr);
    }
}

TEST(StartFailure, TheProgramEndsWithANonZeroStatusBeforeAnyWindow)
{
    test::TempDir work;
    test::writeFileBytes(work.path("ORX10.CFG"), {'E', 'N', 'G', 'L', 'I', 'S', 'H', '\n'});
    const test::ProcessResult r = test::runProcess(
        test::orxwebPath(), {}, {{"ORX_LIBRARY_URL", "ftp://127.0.0.1:1"}, {"ORX_PLATFORM", "console"},
                                  {"QT_QPA_PLATFORM", "offscreen"}, {"ORX_BLOCK_BYTES", "64000000"}},
        work.dir().string());
    EXPECT_EQ(r.status, kStartFailureStatus);
    const size_t first = r.err.find("init_env()  ERROR");
    ASSERT_NE(first, std::string::npos) << r.err;
    EXPECT_NE(r.err.find("ORX Program Will Stop.", first), std::string::npos) << r.err;

    // Without a language file the texts are Chinese.
    test::TempDir bare;
    const test::ProcessResult zh = test::runProcess(
        test::orxwebPath(), {}, {{"ORX_LIBRARY_URL", "ftp://127.0.0.1:1"}, {"ORX_PLATFORM", "console"},
                                  {"QT_QPA_PLATFORM", "offscreen"}, {"ORX_BLOCK_BYTES", "64000000"}},
        bare.dir().string());
    EXPECT_EQ(zh.status, kStartFailureStatus);
    EXPECT_NE(zh.err.find("無法完成ORX系統環境設定"), std::string::npos) << zh.err;
    EXPECT_NE(zh.err.find("ORX程式即將結束."), std::string::npos) << zh.err;
}

TEST(StartSuccess, TheProgramPaintsAndQuitsWhenMeasured)
{
    test::TempDir work;
    const test::ProcessResult r = test::runProcess(
        test::orxwebPath(), {"--first-paint-time"},
        {{"ORX_LIBRARY_URL", test::sampleLibraryDir()}, {"QT_QPA_PLATFORM", "offscreen"},
         {"ORX_BLOCK_BYTES", "64000000"}},
        work.dir().string());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("first paint after"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace orx
