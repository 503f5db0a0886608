// Dressing a loaded model again and again, as a catalogue batch does, gives
// the bytes of a fresh load and dress every time.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/dressAgain.h"
#include "engine/orxScript.h"
#include "engine/repeatLayout.h"
#include "engine/simulation.h"
#include "samples/sampleLibrary.h"
#include "support/testSupport.h"

namespace orx {
namespace {

struct Look {
    const char* material;
    int32_t layout, reflection, soft;
    float contrast;
};

// Materials and options changing from one dress to the next, so that each
// dress must undo what the one before it did.
const Look kLooks[] = {
    {"CHECK", 0, 0, 0, 1.0f},  {"STRIPE", 1, 1, 1, 1.5f}, {"CHECK", 2, 0, 1, 0.5f},
    {"STRIPE", 0, 1, 0, 2.0f}, {"CHECK", 0, 0, 0, 1.0f},
};

void apply(Workspace& ws, const test::TempDir& dir, const Look& look)
{
    ws.materialPath = dir.path(std::string(look.material) + ".CLO");
    ws.repeatLayout = look.layout;
    ws.reflection = look.reflection;
    ws.softMapping = look.soft;
    ws.contrastExponent = look.contrast;
}

TEST(DressAgain, EveryDressOfALoadedModelEqualsAFreshLoadAndDress)
{
    test::TempDir dir;
    test::TestWorkspace t(200'000'000);
    Workspace& ws = t.ws;
    for (const SampleMaterialRecipe& m : sampleMaterialRecipes()) {
        const std::string name = m.name;
        if (name == "CHECK" || name == "STRIPE") {
            ASSERT_TRUE(writeSampleMaterial(ws, dir.dir().string(), m)) << name;
        }
    }
    for (const SampleModelRecipe& r : sampleModelRecipes()) {
        ASSERT_TRUE(writeSampleModel(ws, dir.dir().string(), r.name, r.scene, r.width, r.height));
        const std::string model = dir.path(std::string(r.name) + ".MDL");
        std::vector<std::vector<uint8_t>> fresh;
        for (const Look& look : kLooks) {
            ASSERT_TRUE(loadModelForDressing(ws, model));
            apply(ws, dir, look);
            ASSERT_TRUE(buildRepeatedMaterial(ws));
            ASSERT_EQ(runMapping(ws, orxPathOf(model)), 1);
            fresh.emplace_back(ws.image, ws.image + imageBytes(ws));
        }

        ASSERT_TRUE(loadModelForDressing(ws, model));
        ws.modelPath = model;
        const std::vector<uint8_t> clearMask(ws.mask, ws.mask + pixelCount(ws));
        DressTrace trace;
        for (size_t i = 0; i < std::size(kLooks); ++i) {
            apply(ws, dir, kLooks[i]);
            ASSERT_EQ(dressLoadedModel(ws, trace), 1);
            ASSERT_TRUE(std::memcmp(ws.image, fresh[i].data(), fresh[i].size()) == 0) << r.name << " dress " << i;
            EXPECT_GT(trace.boxes.size(), 1u);
        }
        EXPECT_TRUE(std::memcmp(ws.mask, clearMask.data(), clearMask.size()) == 0) << r.name;

        // A material that cannot be read changes nothing, and the next dress
        // still comes out right.
        const std::vector<uint8_t> before(ws.image, ws.image + imageBytes(ws));
        ws.materialPath = dir.path("NONE.CLO");
        EXPECT_EQ(dressLoadedModel(ws, trace), 0);
        EXPECT_TRUE(std::memcmp(ws.image, before.data(), before.size()) == 0) << r.name;
        apply(ws, dir, kLooks[1]);
        ASSERT_EQ(dressLoadedModel(ws, trace), 1);
        EXPECT_TRUE(std::memcmp(ws.image, fresh[1].data(), fresh[1].size()) == 0) << r.name;
    }
}

}  // namespace
}  // namespace orx
