#include <cstring>

#include <gtest/gtest.h>

#include "engine/mesh.h"
#include "support/testSupport.h"

namespace orx {
namespace {

using test::TempDir;
using test::TestWorkspace;

// A C x R mesh pair whose object point (c, r) is (10c + r, 100r + c) and
// material point is the object point plus (1000, 2000).
void makeMesh(Workspace& ws, int C, int R)
{
    ws.meshColumns = C;
    ws.meshRows = R;
    for (int r = 0; r <= R; ++r)
        for (int c = 0; c <= C; ++c) {
            const int i = r * (C + 1) + c;
            ws.Cpoint1[i] = {10 * c + r, 100 * r + c};
            ws.Cpoint2[i] = {10 * c + r + 1000, 100 * r + c + 2000};
        }
}

TEST(Mesh, CellCornersComeFromTheRightPoints)
{
    TestWorkspace t;
    makeMesh(t.ws, 3, 2);
    extractCell(t.ws, 4);  // row 1, column 1
    const MeshCell& k = t.ws.cell;
    EXPECT_EQ(k.p[0].x, 10 * 1 + 1);
    EXPECT_EQ(k.p[0].y, 100 * 1 + 1);
    EXPECT_EQ(k.p[1].x, 10 * 2 + 1);  // top-right (2, 1)
    EXPECT_EQ(k.p[2].y, 100 * 2 + 2);  // bottom-right (2, 2)
    EXPECT_EQ(k.p[3].x, 10 * 1 + 2);  // bottom-left (1, 2)
    EXPECT_EQ(k.q0.x, 1000 + 11);
    EXPECT_EQ(k.q2.y, 2000 + 202);
}

TEST(Mesh, MapFileRoundTripAndTheLargestMesh)
{
    TestWorkspace t;
    TempDir dir;
    makeMesh(t.ws, 200, 200);
    ASSERT_TRUE(saveMapFile(t.ws, dir.path("BIG.MAP")));
    auto bytes = test::readFileBytes(dir.path("BIG.MAP"));
    ASSERT_EQ(bytes.size(), 8u + 16u * 40'401u);
    EXPECT_EQ(bytes[0], 200);
    TestWorkspace u;
    ASSERT_TRUE(loadMapFile(u.ws, dir.path("BIG.MAP")));
    EXPECT_EQ(u.ws.meshColumns, 200);
    EXPECT_EQ(0, std::memcmp(u.ws.Cpoint1.get(), t.ws.Cpoint1.get(), 40'401 * sizeof(MeshPoint)));
    EXPECT_EQ(u.ws.Cpoint2[40'400].x, t.ws.Cpoint2[40'400].x);
    EXPECT_EQ(encodeMap(u.ws), bytes);
}

TEST(Mesh, BadMapFilesLeaveTheMeshesAlone)
{
    TestWorkspace t;
    makeMesh(t.ws, 2, 2);
    auto good = encodeMap(t.ws);
    auto with = [&](size_t o, int32_t v) {
        auto b = good;
        for (int i = 0; i < 4; ++i) b[o + i] = uint8_t(uint32_t(v) >> (8 * i));
        return b;
    };
    struct Case {
        std::vector<uint8_t> bytes;
        MapDecode want;
    } cases[] = {
        {std::vector<uint8_t>(good.begin(), good.begin() + good.size() - 1), MapDecode::Damaged},
        {std::vector<uint8_t>(good.begin(), good.begin() + 5), MapDecode::Damaged},
        {with(0, -1), MapDecode::Damaged},
        {with(4, 40401), MapDecode::TooLarge},
        {with(0, 0x7fffffff), MapDecode::TooLarge},
    };
    for (auto& c : cases) {
        EXPECT_EQ(decodeMap(t.ws, c.bytes.data(), c.bytes.size()), c.want);
        EXPECT_EQ(t.ws.meshColumns, 2);
        EXPECT_EQ(t.ws.Cpoint1[8].x, 22);
    }
    // No columns: a valid mesh with no cells.
    auto empty = with(0, 0);
    EXPECT_EQ(decodeMap(t.ws, empty.data(), empty.size()), MapDecode::Ok);
    EXPECT_EQ(t.ws.meshColumns, 0);
    EXPECT_EQ(t.ws.meshRows, 2);

    TempDir dir;
    test::writeFileBytes(dir.path("B.MAP"), with(4, 40401));
    EXPECT_FALSE(loadMapFile(t.ws, dir.path("B.MAP")));
    EXPECT_TRUE(t.platform.said("201 x 201"));
    EXPECT_FALSE(loadMapFile(t.ws, dir.path("none.MAP")));
    EXPECT_TRUE(t.platform.said("Can not open"));
}

}  // namespace
}  // namespace orx
