// secondImage holds the model's photograph only as model loading left it:
// every other writer gives it up, and the model with it.
#include <cstring>
#include <functional>

#include <gtest/gtest.h>

#include "engine/simulation.h"
#include "support/testSupport.h"
#include "workspace/areaFilter.h"
#include "workspace/containerFile.h"

namespace orx {
namespace {

TEST(SecondImage, EveryWriterButModelLoadingTakesThePhotographAway)
{
    test::TempDir dir;
    const std::string model = dir.path("M.MDL");
    {
        test::TestWorkspace t;
        test::fillPattern(t.ws, 16, 12);
        ASSERT_TRUE(saveModelFile(t.ws, model, 8, 0, 16, 12));
    }
    const std::pair<const char*, std::function<void(Workspace&)>> writers[] = {
        {"block copy", [](Workspace& ws) { applyAreaFilter(ws, 1, 1, 4, 4, BlockMirror); }},
        {"halve", halveImage},
        {"rotate", [](Workspace& ws) { rotateImage(ws, true); }},
        {"mirror", [](Workspace& ws) { mirrorImage(ws, false); }},
        {"new image", [](Workspace& ws) { newImage(ws, 16, 12); }},
        {"a load's layout", [](Workspace& ws) { layoutPlanes(ws, 16, 12); }},
    };
    for (const auto& [what, write] : writers) {
        test::TestWorkspace t;
        Workspace& ws = t.ws;
        ASSERT_TRUE(loadModelForDressing(ws, model));
        ws.modelMapped = 1;
        ASSERT_EQ(ws.secondImageHolds, SecondImage::Photograph);
        ASSERT_EQ(std::memcmp(ws.secondImage, ws.image, imageBytes(ws)), 0);
        write(ws);
        EXPECT_EQ(ws.secondImageHolds, SecondImage::Scratch) << what;
        EXPECT_EQ(ws.modelLoaded, 0) << what;
        EXPECT_EQ(ws.modelMapped, 0) << what;
    }
}

}  // namespace
}  // namespace orx
