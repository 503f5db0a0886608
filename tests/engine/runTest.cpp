// The mapping run and the repeat layouts on real files.
#include <cstring>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "engine/orxScript.h"
#include "engine/mesh.h"
#include "engine/repeatLayout.h"
#include "engine/simulation.h"
#include "support/testSupport.h"
#include "workspace/containerFile.h"
#include "workspace/nativeFile.h"

namespace orx {
namespace {

using test::TempDir;
using test::TestWorkspace;

constexpr int W = 60, H = 40;

// A 60 x 40 model: a grey photograph with a material area on the right
// (columns 40..59), two parts (A: columns 0..19, B: columns 20..39), each
// with a mask that leaves its part and the material area open, and a 2 x 2
// mesh of rectangle cells over the part.
struct ModelFiles {
    TempDir dir;
    std::string model = dir.path("M.MDL");

    explicit ModelFiles(const char* orx = "A.MSK\r\nA.MAP\r\nB.MSK\r\nB.MAP\r\n")
    {
        TestWorkspace t;
        Workspace& ws = t.ws;
        layoutPlanes(ws, W, H);
        std::memset(ws.image, 200, imageBytes(ws));
        EXPECT_TRUE(saveModelFile(ws, model, 40, 0, 60, 40));
        writePart(ws, "A", 0);
        writePart(ws, "B", 20);
        // A 7 x 5 material: pixel (u, v) = (u * 30, v * 50, 9).
        layoutPlanes(ws, 7, 5);
        for (int v = 0; v < 5; ++v)
            for (int u = 0; u < 7; ++u) {
                uint8_t* p = ws.image + (v * 7 + u) * 3;
                p[0] = uint8_t(u * 30), p[1] = uint8_t(v * 50), p[2] = 9;
            }
        EXPECT_TRUE(saveLinkFile(ws, dir.path("MAT.CLO")));
        writeFileAtomically(dir.path("M.ORX"), orx, std::strlen(orx));
    }

    void writePart(Workspace& ws, const char* name, int x0)
    {
        layoutPlanes(ws, W, H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) ws.mask[y * W + x] = (x >= x0 && x < x0 + 20) || x >= 40 ? 0 : 255;
        EXPECT_TRUE(saveMSK(ws, dir.path(std::string(name) + ".MSK"), ws.mask, W, H));
        ws.meshColumns = 2;
        ws.meshRows = 2;
        for (int r = 0; r <= 2; ++r)
            for (int c = 0; c <= 2; ++c) {
                ws.Cpoint1[r * 3 + c] = {x0 + c * 10 - (c == 2), r * 20 - (r == 2)};
                ws.Cpoint2[r * 3 + c] = {40 + c * 5, r * 10};
            }
        EXPECT_TRUE(saveMapFile(ws, dir.path(std::string(name) + ".MAP")));
    }
};

// Columns of the dressed picture that changed from the grey photograph.
std::vector<int> changedColumns(const Workspace& ws)
{
    std::vector<int> cols;
    for (int x = 0; x < 40; ++x) {
        bool changed = false;
        for (int y = 0; y < H && !changed; ++y) changed = ws.image[(y * W + x) * 3] != 200 || ws.image[(y * W + x) * 3 + 2] != 200;
        if (changed) cols.push_back(x);
    }
    return cols;
}

void dress(TestWorkspace& t, const ModelFiles& f, int expected)
{
    ASSERT_TRUE(loadModelForDressing(t.ws, f.model));
    t.ws.materialPath = f.dir.path("MAT.CLO");
    ASSERT_TRUE(buildRepeatedMaterial(t.ws));
    EXPECT_EQ(runMapping(t.ws, orxPathOf(f.model)), expected);
}

TEST(MappingRun, DressesEveryPartAndReportsProgress)
{
    ModelFiles f;
    TestWorkspace t;
    dress(t, f, 1);
    EXPECT_EQ(changedColumns(t.ws).size(), 40u);
    EXPECT_EQ(t.ws.maskMode, 1);
    EXPECT_EQ(t.ws.lastRunParts, 2);
    EXPECT_TRUE(t.platform.messages.empty());
    EXPECT_EQ(t.platform.redraws, 2);
    ASSERT_EQ(t.platform.statuses.size(), 3u);
    EXPECT_EQ(t.platform.statuses[0], "Use mouse right key or Esc to stop ORX");
    EXPECT_EQ(t.platform.statuses[2], "");
    // The grey photograph (max 200) shades the material: value * 200 / 255.
    const uint8_t* p = t.ws.image + (5 * W + 3) * 3;
    EXPECT_EQ(p[2], 9 * 200 / 255);
    // The part's mask is the last one installed.
    EXPECT_EQ(t.ws.mask[0], 255);
    EXPECT_EQ(t.ws.mask[25], 0);
}

TEST(MappingRun, EscStopsBeforeTheNextLine)
{
    ModelFiles f;
    TestWorkspace t;
    t.platform.stopAfterPolls = 2;  // after A.MSK and A.MAP; B.MSK's poll stops
    dress(t, f, 1);
    const auto cols = changedColumns(t.ws);
    ASSERT_FALSE(cols.empty());
    EXPECT_EQ(cols.back(), 19);
    EXPECT_EQ(t.ws.lastRunParts, 1);
    EXPECT_EQ(t.platform.statuses.back(), "");
}

TEST(MappingRun, AMissingMaskSkipsItsPartAndFailsTheRun)
{
    ModelFiles f("NONE.MSK\r\nA.MAP\r\nB.MSK\r\nB.MAP\r\n");
    TestWorkspace t;
    dress(t, f, 0);
    const auto cols = changedColumns(t.ws);
    ASSERT_FALSE(cols.empty());
    EXPECT_EQ(cols.front(), 20);  // A.MAP skipped, B mapped
    EXPECT_EQ(t.ws.lastRunFailures, 1);
    EXPECT_TRUE(t.platform.said("Can not open " + f.dir.path("NONE.MSK") + " file."));  // while preloading
    EXPECT_TRUE(t.platform.said("Can not open NONE.MSK file."));                       // its line
    EXPECT_GE(t.platform.beeps, 2);
}

TEST(MappingRun, MissingMapOrScriptGiveTheirMessages)
{
    ModelFiles f("A.MSK\r\nGONE.MAP\r\n");
    TestWorkspace t;
    dress(t, f, 0);
    EXPECT_TRUE(changedColumns(t.ws).empty());
    EXPECT_TRUE(t.platform.said("Can not open GONE.MAP file."));

    TestWorkspace u;
    ASSERT_TRUE(loadModelForDressing(u.ws, f.model));
    EXPECT_EQ(runMapping(u.ws, f.dir.path("NOPE.ORX")), 0);
    EXPECT_TRUE(u.platform.said("Cant not open " + f.dir.path("NOPE.ORX")));
}

TEST(MappingRun, NamesResolveBesideTheScriptWhateverTheirCase)
{
    // Written elsewhere: lower-case file names behind upper-case extensions,
    // and a name that differs from the file on disk only in case.
    ModelFiles f("a.MSK\nsub/../a.MAP\nB.MSK\nb.MAP\n");
    std::filesystem::rename(f.dir.path("A.MSK"), f.dir.path("a.MSK"));
    std::filesystem::rename(f.dir.path("A.MPR"), f.dir.path("a.MPR"));
    std::filesystem::create_directory(f.dir.path("sub"));
    std::filesystem::rename(f.dir.path("A.MAP"), f.dir.path("a.MAP"));
    TestWorkspace t;
    dress(t, f, 1);
    EXPECT_EQ(changedColumns(t.ws).size(), 40u);
}

TEST(MappingRun, AMapLineBeforeAnyMaskUsesTheMaskPlaneAsItIs)
{
    ModelFiles f("B.MAP\r\n");
    TestWorkspace t;
    dress(t, f, 1);
    EXPECT_EQ(t.ws.maskMode, 0);
    EXPECT_EQ(changedColumns(t.ws).front(), 20);
}

// A script may name one file on every line, or more files than memory
// holds: each file is kept once, and the files together may take no more
// than the image block.
TEST(MappingRun, TheStoreKeepsEachFileOnceWithinTheImageBlock)
{
    ModelFiles f;
    // The largest MAP there is: 200 x 200 cells, 646,424 bytes.
    {
        TestWorkspace t;
        t.ws.meshColumns = 200;
        t.ws.meshRows = 200;
        ASSERT_TRUE(saveMapFile(t.ws, f.dir.path("BIG.MAP")));
    }
    const uint64_t mapBytes = 8 + 16 * uint64_t(kMeshMaxPoints);
    const int copies = int(test::kTestBlockBytes / mapBytes) + 1;  // one more than the block holds

    // The same file on every line: one copy. (The missing mask skips the
    // MAP lines; they are read all the same.)
    std::string script = "GONE.MSK\n";
    for (int i = 0; i < 3 * copies; ++i) script += "BIG.MAP\n";
    writeFileAtomically(f.dir.path("M.ORX"), script.data(), script.size());
    {
        TestWorkspace t;
        dress(t, f, 0);
        EXPECT_EQ(t.ws.lastRunFailures, 1);
        EXPECT_FALSE(t.platform.said("image block"));
    }

    // As many different files as would overfill the block: refused before
    // anything is mapped.
    script = "A.MSK\nA.MAP\n";
    for (int i = 0; i < copies; ++i) {
        const std::string name = "BIG" + std::to_string(i) + ".MAP";
        std::filesystem::create_hard_link(f.dir.path("BIG.MAP"), f.dir.path(name));
        script += name + "\n";
    }
    writeFileAtomically(f.dir.path("M.ORX"), script.data(), script.size());
    TestWorkspace t;
    dress(t, f, 0);
    EXPECT_TRUE(t.platform.said("The files " + f.dir.path("M.ORX") + " names need more memory than the image block holds."));
    EXPECT_EQ(t.ws.lastRunParts, 0);
    EXPECT_TRUE(changedColumns(t.ws).empty());
}

// ---- repeat layouts

struct LayoutCase {
    int32_t layout;
    int x, y;   // area position
    int u, v;   // material pixel expected there
};

TEST(RepeatLayout, OddMaterialInAllThreeLayouts)
{
    // Material 5 x 3 (odd: the sideways shift is 2, the downward shift 1),
    // pixel (u, v) = (u, v, 9); the area starts at (3, 2).
    TempDir dir;
    TestWorkspace t;
    layoutPlanes(t.ws, 5, 3);
    for (int v = 0; v < 3; ++v)
        for (int u = 0; u < 5; ++u) {
            uint8_t* p = t.ws.image + (v * 5 + u) * 3;
            p[0] = uint8_t(u), p[1] = uint8_t(v), p[2] = 9;
        }
    ASSERT_TRUE(saveLinkFile(t.ws, dir.path("ODD.CLO")));

    const LayoutCase cases[] = {
        {0, 7, 4, 2, 1}, {0, 12, 0, 2, 0},
        {1, 7, 1, 2, 1}, {1, 7, 4, 0, 1}, {1, 1, 4, 3, 1}, {1, 4, 7, 4, 1},
        {2, 7, 4, 2, 0}, {2, 6, 0, 1, 1}, {2, 11, 0, 1, 0}, {2, 3, 2, 3, 2},
    };
    for (const LayoutCase& c : cases) {
        layoutPlanes(t.ws, 20, 12);
        std::memset(t.ws.secondImage, 250, imageBytes(t.ws));
        t.ws.modelArea[0] = 3, t.ws.modelArea[1] = 2, t.ws.modelArea[2] = 16, t.ws.modelArea[3] = 10;
        t.ws.repeatLayout = c.layout;
        t.ws.materialPath = dir.path("ODD.CLO");
        ASSERT_TRUE(buildRepeatedMaterial(t.ws));
        const uint8_t* p = t.ws.image + ((2 + c.y) * 20 + 3 + c.x) * 3;
        EXPECT_EQ(p[0], c.u) << "layout " << c.layout << " at " << c.x << "," << c.y;
        EXPECT_EQ(p[1], c.v) << "layout " << c.layout << " at " << c.x << "," << c.y;
        EXPECT_EQ(p[2], 9);
        // The area is columns 3..15 and rows 2..9: its edges stay photograph.
        EXPECT_EQ(t.ws.image[(2 * 20 + 16) * 3], 250);
        EXPECT_EQ(t.ws.image[(10 * 20 + 3) * 3], 250);
        EXPECT_EQ(t.ws.image[(1 * 20 + 3) * 3], 250);
        EXPECT_EQ(0, std::memcmp(t.ws.image, t.ws.secondImage, imageBytes(t.ws)));
    }
}

TEST(RepeatLayout, LibraryOrderAndAnAreaBeyondThePicture)
{
    TempDir dir;
    TestWorkspace t;
    test::fillPattern(t.ws, 4, 4);
    ASSERT_TRUE(saveLinkFile(t.ws, dir.path("P.CLO")));
    // The same material with its thumbnail first, as the library keeps it.
    auto bytes = test::readFileBytes(dir.path("P.CLO"));
    std::vector<uint8_t> lib(bytes.begin(), bytes.begin() + 256);
    lib.insert(lib.end(), bytes.begin() + 256 + 48, bytes.end());
    lib.insert(lib.end(), bytes.begin() + 256, bytes.begin() + 256 + 48);
    const uint32_t offset = 256 + 12600;
    std::memcpy(lib.data() + 74, &offset, 4);
    test::writeFileBytes(dir.path("L.CLO"), lib);

    std::vector<uint8_t> results[2];
    for (int i = 0; i < 2; ++i) {
        layoutPlanes(t.ws, 10, 6);
        std::memset(t.ws.secondImage, 1, imageBytes(t.ws));
        // Area from (-2, 3) to (30, 30): held to the picture, tiled from its corner.
        t.ws.modelArea[0] = -2, t.ws.modelArea[1] = 3, t.ws.modelArea[2] = 30, t.ws.modelArea[3] = 30;
        t.ws.repeatLayout = 0;
        t.ws.materialPath = dir.path(i ? "L.CLO" : "P.CLO");
        ASSERT_TRUE(buildRepeatedMaterial(t.ws));
        results[i].assign(t.ws.image, t.ws.image + imageBytes(t.ws));
    }
    EXPECT_EQ(results[0], results[1]);
    TestWorkspace ref;
    test::fillPattern(ref.ws, 4, 4);
    // Image (0, 3) is area (2, 0): material (2, 0).
    EXPECT_EQ(0, std::memcmp(results[0].data() + (3 * 10 + 0) * 3, ref.ws.image + 2 * 3, 3));
    EXPECT_EQ(results[0][(2 * 10 + 5) * 3], 1);

    // A material that cannot be read changes nothing.
    const std::vector<uint8_t> before = results[0];
    t.ws.materialPath = dir.path("NONE.CLO");
    EXPECT_FALSE(buildRepeatedMaterial(t.ws));
    EXPECT_EQ(std::vector<uint8_t>(t.ws.image, t.ws.image + imageBytes(t.ws)), before);
    EXPECT_TRUE(t.platform.said("Can not open " + dir.path("NONE.CLO") + " file."));
}

}  // namespace
}  // namespace orx
