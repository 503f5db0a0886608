// The Auto Simulation road in the program, against orxsim on the same
// sample model: a model chosen in the browser, materials one after another,
// contrast, sharpness and layouts; the parts shown as they are mapped; Esc
// stopping a run.
#include <gtest/gtest.h>

#include "app/commandTable.h"
#include "app/runProgress.h"
#include "studioFixture.h"

namespace orx {
namespace {

using namespace orx::app;

// Records the progress of runs beside everything a FakePlatform records.
class ProgressPlatform : public test::FakePlatform {
public:
    std::vector<std::pair<int, int>> steps;
    void progress(int done, int total) override { steps.emplace_back(done, total); }
};

// The picture orxsim dresses with the same choices.
std::vector<uint8_t> dressedByOrxsim(const test::TempDir& dir, const std::string& model, const std::string& material,
                                     std::vector<std::string> options)
{
    const std::string lib = test::sampleLibraryDir();
    std::vector<std::string> args = {"dress", lib + "/" + model, "--material", lib + "/" + material,
                                     "-o", dir.path("EXPECTED.RGB")};
    args.insert(args.end(), options.begin(), options.end());
    const test::ProcessResult r = test::runProcess(test::orxsimPath(), args, {}, dir.dir().string());
    EXPECT_EQ(r.status, 0) << r.err;
    return test::readFileBytes(dir.path("EXPECTED.RGB"));
}

std::vector<uint8_t> workingImage(const Workspace& ws) { return std::vector<uint8_t>(ws.image, ws.image + imageBytes(ws)); }

TEST(SimulationRoad, ModelThenMaterialGivesOrxsimsPicture)
{
    test::StudioFixture f(LangEnglish);
    ProgressPlatform platform;
    f.ws.platform = &platform;

    f.frame->libraryAnswers = {"DRESS.MDL"};
    ASSERT_TRUE(f.run(IdLoadModel));
    ASSERT_EQ(f.frame->libraryAsked.size(), 1u);
    EXPECT_EQ(f.frame->libraryAsked[0], (std::pair<std::string, std::string>{"Select MDL file", "MDL"}));
    EXPECT_EQ(f.ws.modelLoaded, 1);
    EXPECT_EQ(f.ws.modelMapped, 1);
    EXPECT_EQ(f.ws.meshPresent, 1);
    EXPECT_EQ(f.ws.modelPath, "DRESS.MDL");
    EXPECT_TRUE(f.frame->action(IdChangeMaterial)->isEnabled());

    // Two materials, then "Exit": the browser is asked three times.
    f.frame->libraryAnswers = {"STRIPE.CLO", "DENIM.CLO", ""};
    platform.steps.clear();
    ASSERT_TRUE(f.run(IdChangeMaterial));
    EXPECT_EQ(f.frame->libraryAsked.size(), 4u);
    EXPECT_EQ(f.frame->libraryAsked[1], (std::pair<std::string, std::string>{"Select Material", "CLO"}));
    EXPECT_EQ(f.ws.materialPath, "DENIM.CLO");
    EXPECT_EQ(f.ws.reflection, 0);
    // Each run tells its four parts as they are done, and ends its bar.
    const std::vector<std::pair<int, int>> oneRun = {{1, 4}, {2, 4}, {3, 4}, {4, 4}, {0, 0}};
    std::vector<std::pair<int, int>> twoRuns = oneRun;
    twoRuns.insert(twoRuns.end(), oneRun.begin(), oneRun.end());
    EXPECT_EQ(platform.steps, twoRuns);
    EXPECT_GT(platform.redraws, 8);

    test::TempDir out;
    EXPECT_EQ(workingImage(f.ws), dressedByOrxsim(out, "DRESS.MDL", "DENIM.CLO", {}));
}

TEST(SimulationRoad, ContrastSoftLayoutAndReflectionGiveOrxsimsPicture)
{
    test::StudioFixture f(LangEnglish);
    f.frame->libraryAnswers = {"SOFA.MDL"};
    ASSERT_TRUE(f.run(IdLoadModel));
    ASSERT_EQ(f.ws.modelMapped, 1);

    EXPECT_TRUE(f.run(IdSoft));
    EXPECT_TRUE(f.frame->action(IdSoft)->isChecked());
    EXPECT_FALSE(f.frame->action(IdSharp)->isChecked());
    EXPECT_TRUE(f.run(IdHorizontalRepeat));
    EXPECT_TRUE(f.frame->action(IdHorizontalRepeat)->isChecked());
    EXPECT_FALSE(f.frame->action(IdNormalRepeat)->isChecked());

    // "Apply" twice, then "Exit": the dialog reopens on the last choice.
    f.frame->contrastAnswers = {4, 14, -1};
    EXPECT_TRUE(f.run(IdChangeContrast));
    EXPECT_EQ(f.frame->contrastOpenedOn, (std::vector<int32_t>{9, 4, 14}));
    EXPECT_EQ(f.ws.contrastIndex, 14);
    EXPECT_FLOAT_EQ(f.ws.contrastExponent, 1.5f);

    f.frame->libraryAnswers = {"TARTAN.CLO", ""};
    EXPECT_TRUE(f.run(IdChangeMaterialReflection));
    EXPECT_EQ(f.ws.reflection, 1);

    test::TempDir out;
    EXPECT_EQ(workingImage(f.ws), dressedByOrxsim(out, "SOFA.MDL", "TARTAN.CLO",
                                                  {"--layout", "horizontal", "--contrast", "1.5", "--soft", "--reflection"}));

    // Back to sharp and the vertical layout, with contrast shading.
    EXPECT_TRUE(f.run(IdSharp));
    f.frame->libraryAnswers = {"TARTAN.CLO", ""};
    EXPECT_TRUE(f.run(IdChangeMaterial));
    EXPECT_TRUE(f.run(IdVerticalRepeat));
    EXPECT_EQ(workingImage(f.ws),
              dressedByOrxsim(out, "SOFA.MDL", "TARTAN.CLO", {"--layout", "vertical", "--contrast", "1.5"}));
}

TEST(SimulationRoad, CancelledChoicesAndAMissingModel)
{
    test::StudioFixture f(LangEnglish);
    EXPECT_TRUE(f.run(IdLoadModel));  // "Exit" in the browser
    EXPECT_EQ(f.ws.modelLoaded, 0);
    EXPECT_TRUE(f.t.platform.messages.empty());

    f.frame->libraryAnswers = {"NOSUCH.MDL"};
    EXPECT_TRUE(f.run(IdLoadModel));
    EXPECT_EQ(f.ws.modelLoaded, 0);
    EXPECT_TRUE(f.t.platform.said("Can not open MDL File."));
    EXPECT_FALSE(f.frame->action(IdChangeMaterial)->isEnabled());
    EXPECT_FALSE(f.run(IdChangeMaterial));
}

TEST(SimulationRoad, EscStopsTheRunBetweenParts)
{
    test::StudioFixture f(LangEnglish);
    f.frame->libraryAnswers = {"DRESS.MDL"};
    ASSERT_TRUE(f.run(IdLoadModel));
    EXPECT_EQ(f.ws.lastRunParts, 4);

    f.t.platform.polls = 0;
    f.t.platform.stopAfterPolls = 2;  // the third poll finds Esc down
    f.frame->libraryAnswers = {"DENIM.CLO", ""};
    ASSERT_TRUE(f.run(IdChangeMaterial));
    EXPECT_LT(f.ws.lastRunParts, 4);
    EXPECT_GE(f.ws.lastRunParts, 1);
    test::TempDir out;
    EXPECT_NE(workingImage(f.ws), dressedByOrxsim(out, "DRESS.MDL", "DENIM.CLO", {}));
}

TEST(RunProgress, AThinBarAboveTheBandWhileARunIsUnderWay)
{
    QWidget view;
    view.resize(400, 300);
    view.show();
    RunProgress bar(&view);
    EXPECT_FALSE(bar.isVisibleTo(&view));
    EXPECT_EQ(bar.geometry(), QRect(0, 300 - 20 - 3, 400, 3));
    bar.setProgress(1, 4);
    EXPECT_TRUE(bar.isVisibleTo(&view));
    bar.setProgress(4, 4);
    EXPECT_FALSE(bar.isVisibleTo(&view));
    bar.setProgress(2, 4);
    bar.setProgress(0, 0);
    EXPECT_FALSE(bar.isVisibleTo(&view));
    view.resize(500, 200);
    EXPECT_EQ(bar.geometry(), QRect(0, 200 - 23, 500, 3));
}

}  // namespace
}  // namespace orx
