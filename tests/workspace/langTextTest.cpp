#include <cstring>
#include <fstream>
#include <regex>

#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/fileIo.h"
#include "workspace/langText.h"

namespace orx {
namespace {

using test::TempDir;

int32_t languageFromFile(const std::string& content, int32_t before = LangUnset)
{
    TempDir dir;
    std::ofstream(dir.path("ORX10.CFG")) << content;
    Workspace ws;
    ws.screenLanguage = before;
    readScreenLanguage(ws, dir.path("ORX10.CFG"));
    return ws.screenLanguage;
}

TEST(LanguageFile, WordsAreComparedExactlyAndAMissingFileMeansTaiwan)
{
    EXPECT_EQ(languageFromFile("TAIWAN\n"), LangTaiwan);
    EXPECT_EQ(languageFromFile("ENGLISH\n"), LangEnglish);
    EXPECT_EQ(languageFromFile("  KOREA"), LangKorea);
    // Lower case is another word: the language stays as it was.
    EXPECT_EQ(languageFromFile("english\n"), LangUnset);
    EXPECT_EQ(languageFromFile("FRENCH", LangEnglish), LangEnglish);
    EXPECT_EQ(languageFromFile(""), LangUnset);
    // Only the first 19 characters form the word.
    EXPECT_EQ(languageFromFile("ENGLISHENGLISHENGLISH"), LangUnset);

    Workspace ws;
    readScreenLanguage(ws, "/nonexistent/ORX10.CFG");
    EXPECT_EQ(ws.screenLanguage, LangTaiwan);
}

TEST(LanguageFile, WrittenToTheProgramDirectoryWithANewline)
{
    TempDir dir;
    Workspace ws;
    ws.VLX98DIR = dir.dir().string();
    for (auto [lang, word] : {std::pair{LangTaiwan, "TAIWAN\n"}, {LangEnglish, "ENGLISH\n"}, {LangKorea, "KOREA\n"}}) {
        ws.screenLanguage = lang;
        ASSERT_TRUE(writeScreenLanguage(ws));
        auto bytes = test::readFileBytes(dir.path("ORX10.CFG"));
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), word);
        Workspace back;
        readScreenLanguage(back, dir.path("ORX10.CFG"));
        EXPECT_EQ(back.screenLanguage, lang);
    }
    ws.VLX98DIR = "/nonexistent-dir";
    EXPECT_FALSE(writeScreenLanguage(ws));
}

TEST(LanguageText, ChineseOnlyForTaiwan)
{
    EXPECT_STREQ(langText(LangTaiwan, Msg::CantOpenFile), "無法開啟%s檔案.");
    EXPECT_STREQ(langText(LangEnglish, Msg::CantOpenFile), "Can not open %s file.");
    EXPECT_STREQ(langText(LangKorea, Msg::CantOpenFile), "Can not open %s file.");
    EXPECT_STREQ(langText(LangUnset, Msg::InitEnvError), "init_env()  ERROR");
    EXPECT_STREQ(langText(LangTaiwan, Msg::ProgramWillStop), "ORX程式即將結束.");
}

// Both texts of a message are filled in with the same arguments, so they
// must carry the same conversions in the same order.
TEST(LanguageText, BothLanguagesHaveTheSameConversions)
{
    const std::regex conv("%[-+ #0]*[0-9]*(\\.[0-9]+)?[a-zA-Z%]");
    auto conversions = [&](const char* s) {
        std::string out;
        for (std::cregex_iterator it(s, s + std::strlen(s), conv), end; it != end; ++it) out += it->str() + " ";
        return out;
    };
    for (int i = 0; i < int(Msg::Count); ++i) {
        const char* en = langText(LangEnglish, Msg(i));
        const char* zh = langText(LangTaiwan, Msg(i));
        EXPECT_GT(std::strlen(en), 0u) << i;
        EXPECT_GT(std::strlen(zh), 0u) << i;
        EXPECT_EQ(conversions(en), conversions(zh)) << en << " / " << zh;
    }
}

TEST(LanguageText, MessageBeepsAndFormatsInTheScreenLanguage)
{
    test::TestWorkspace t(test::kTestBlockBytes, LangTaiwan);
    showLangMessage(t.ws, Msg::CantOpenFile, "A.MSK");
    EXPECT_EQ(t.platform.beeps, 1);
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_EQ(t.platform.messages[0], "無法開啟A.MSK檔案.");
    t.ws.screenLanguage = LangKorea;
    showLangMessage(t.ws, Msg::RamTooSmallToLoad, "B.RGB");
    EXPECT_EQ(t.platform.messages[1], "RAM too small to load B.RGB file.");
}

TEST(FileNames, CompanionsReplaceTheLastThreeCharacters)
{
    EXPECT_EQ(companionName("A.RGB", "IPR"), "A.IPR");
    EXPECT_EQ(companionName("/x/y/model.mdl", "ORX"), "/x/y/model.ORX");
    EXPECT_EQ(upperExtension("/a.b/c.Clo"), "CLO");
    EXPECT_EQ(upperExtension("/a.b/noext"), "");
    EXPECT_EQ(joinPath("/dir/", "F"), "/dir/F");
    EXPECT_EQ(joinPath("/dir", "F"), "/dir/F");
    EXPECT_EQ(joinPath("/dir", "/abs/F"), "/abs/F");
}

TEST(AtomicFile, OldFileStaysUntilTheNewOneIsComplete)
{
    TempDir dir;
    const std::string target = dir.path("keep.bin");
    test::writeFileBytes(target, {1, 2, 3});
    {
        AtomicFile f(target);
        ASSERT_TRUE(f.ok());
        f.write("abcdef", 6);
        // Not committed: dropped on scope exit.
    }
    EXPECT_EQ(test::readFileBytes(target), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.dir()), {}), 1);

    ASSERT_TRUE(writeFileAtomically(target, "xy", 2));
    EXPECT_EQ(test::readFileBytes(target), (std::vector<uint8_t>{'x', 'y'}));
    EXPECT_FALSE(writeFileAtomically(dir.path("missing/sub/file"), "xy", 2));
}

}  // namespace
}  // namespace orx
