// A newcomer's first minute: the command line, and a start that opens on a
// model already dressed with the material strip offered for the next one.
#include <filesystem>

#include <gtest/gtest.h>

#include "app/commandIds.h"
#include "studioFixture.h"
#include "workspace/langText.h"

namespace orx {
namespace {

// --help and mistakes are answered before any window exists: these runs
// ask for a display that is not there.
TEST(CommandLine, HelpAndMistakesAreAnsweredWithoutADisplay)
{
    struct Case {
        std::vector<std::string> args;
        int status;
        bool onStdout;
        const char* says;
    };
    const Case cases[] = {
        {{"--help"}, 0, true, "--material NAME"},
        {{"--frobnicate"}, 2, false, "unknown option --frobnicate"},
        {{"DRESS.MDL", "--material"}, 2, false, "--material needs a value"},
    };
    test::TempDir work;
    for (const Case& c : cases) {
        const test::ProcessResult r = test::runProcess(
            test::orxwebPath(), c.args, {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":99999"}}, work.dir().string());
        EXPECT_EQ(r.status, c.status) << c.args[0] << r.err;
        const std::string& said = c.onStdout ? r.out : r.err;
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        EXPECT_NE(said.find("usage: orxweb"), std::string::npos) << said;
    }
    // A material needs a model; that is checked once the arguments are Qt's.
    const test::ProcessResult r = test::runProcess(test::orxwebPath(), {"PICTURE.BMP", "--material", "STRIPE.CLO"},
                                                   {{"QT_QPA_PLATFORM", "offscreen"}}, work.dir().string());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--material needs a model"), std::string::npos) << r.err;
}

// orxweb MODEL --material NAME shows the picture orxsim dress makes of the
// pair.
TEST(DressedStart, TheProgramShowsWhatOrxsimDresses)
{
    test::TempDir work;
    test::writeFileBytes(work.path("ORX10.CFG"), {'E', 'N', 'G', 'L', 'I', 'S', 'H', '\n'});
    const std::string library = test::sampleLibraryDir();
    const std::string save = "save shown.BMP\n";
    test::writeFileBytes(work.path("m.mac"), std::vector<uint8_t>(save.begin(), save.end()));
    const test::ProcessResult shown = test::runProcess(
        test::orxwebPath(), {"--macro", "m.mac", "--exit", library + "/DRESS.MDL", "--material", "STRIPE.CLO"},
        {{"ORX_LIBRARY_URL", library}, {"QT_QPA_PLATFORM", "offscreen"}, {"ORX_BLOCK_BYTES", "64000000"}},
        work.dir().string());
    ASSERT_EQ(shown.status, 0) << shown.err;
    const test::ProcessResult dressed = test::runProcess(
        test::orxsimPath(),
        {"dress", library + "/DRESS.MDL", "--material", library + "/STRIPE.CLO", "-o", work.path("dressed.BMP")},
        {{"ORX_BLOCK_BYTES", "64000000"}}, work.dir().string());
    ASSERT_EQ(dressed.status, 0) << dressed.err;
    const std::vector<uint8_t> a = test::readFileBytes(work.path("shown.BMP"));
    EXPECT_GT(a.size(), 1000u);
    EXPECT_TRUE(a == test::readFileBytes(work.path("dressed.BMP"))) << "the pictures differ";
}

// After the dressed start the status band says what to do next, in the
// screen language, and the strip of materials is open: one choice dresses
// the model again.
TEST(DressedStart, OffersTheMaterialStripWithAHint)
{
    for (int32_t language : {LangEnglish, LangTaiwan}) {
        test::StudioFixture f(language);
        f.frame->setStartMaterial("STRIPE.CLO");
        ASSERT_TRUE(f.frame->openStartFile("DRESS.MDL"));
        EXPECT_EQ(f.ws.materialPath, "STRIPE.CLO");
        f.t.platform.statuses.clear();
        f.frame->libraryAnswers = {"CHECK.CLO", ""};  // one fabric, then Exit
        f.frame->offerMaterials();
        ASSERT_FALSE(f.frame->libraryAsked.empty());
        EXPECT_EQ(f.frame->libraryAsked[0].first, langText(language, Msg::TitleSelectMaterial));
        EXPECT_EQ(f.frame->libraryAsked[0].second, "CLO");
        ASSERT_FALSE(f.t.platform.statuses.empty());
        EXPECT_EQ(f.t.platform.statuses[0], langText(language, Msg::StartHintMaterial));
        EXPECT_EQ(f.ws.materialPath, "CHECK.CLO");
        EXPECT_EQ(f.ws.modelMapped, 1);
    }
}

}  // namespace
}  // namespace orx
