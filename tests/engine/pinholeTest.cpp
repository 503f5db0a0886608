// Pinholes: photograph pixels left inside a dressed part where cells meet.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/cellMapping.h"
#include "engine/mesh.h"
#include "engine/orxScript.h"
#include "engine/pinholes.h"
#include "engine/repeatLayout.h"
#include "engine/shading.h"
#include "engine/simulation.h"
#include "samples/sampleLibrary.h"
#include "support/testSupport.h"
#include "workspace/containerFile.h"
#include "workspace/fileIo.h"
#include "workspace/nativeFile.h"

namespace orx {
namespace {

using test::TempDir;
using test::TestWorkspace;

constexpr uint8_t kWhite[3] = {255, 255, 255};

const uint8_t* pixel(const std::vector<uint8_t>& p, int w, int x, int y) { return p.data() + (size_t(y) * w + x) * 3; }

// Two tapered cells sharing the side (15,10)-(20,30) on a white photograph,
// the material a ramp: each cell cuts the shared side at its own
// perspective points, and the two staircases leave (17,19) between them.
TEST(Pinholes, AHoleWhereTwoCellsMeetTakesItsNeighboursMean)
{
    auto dress = [](int32_t closing) {
        TestWorkspace t;
        Workspace& ws = t.ws;
        layoutPlanes(ws, 200, 100);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) {
                uint8_t* p = ws.secondImage + (y * 200 + x) * 3;
                if (x < 100)
                    std::memcpy(p, kWhite, 3);
                else
                    p[0] = uint8_t(x), p[1] = uint8_t(3 * y), p[2] = 77;
            }
        std::memcpy(ws.image, ws.secondImage, imageBytes(ws));
        clearMask(ws);
        buildContrastTable(ws);
        ws.meshColumns = 2;
        ws.meshRows = 1;
        const MeshPoint object[6] = {{10, 10}, {15, 10}, {40, 10}, {10, 30}, {20, 30}, {40, 22}};
        const MeshPoint material[6] = {{110, 10}, {130, 10}, {150, 10}, {110, 40}, {130, 40}, {150, 40}};
        std::copy(object, object + 6, ws.Cpoint1.get());
        std::copy(material, material + 6, ws.Cpoint2.get());
        ws.pinholeClosing = closing;
        mapAllCells(ws);
        return std::vector<uint8_t>(ws.image, ws.image + imageBytes(ws));
    };
    const std::vector<uint8_t> open = dress(0), closed = dress(1);
    ASSERT_EQ(0, std::memcmp(pixel(open, 200, 17, 19), kWhite, 3));
    unsigned sum[3] = {}, n = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const uint8_t* q = pixel(open, 200, 17 + dx, 19 + dy);
            if ((dx || dy) && std::memcmp(q, kWhite, 3) != 0) {
                for (int k = 0; k < 3; ++k) sum[k] += q[k];
                ++n;
            }
        }
    ASSERT_EQ(n, 8u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(pixel(closed, 200, 17, 19)[k], (sum[k] + 4) / 8) << k;
    // Nothing else moves: not the outline, not the pixels the cells wrote.
    for (int i = 0; i < 200 * 100; ++i) {
        if (i == 19 * 200 + 17) continue;
        ASSERT_EQ(0, std::memcmp(&open[size_t(i) * 3], &closed[size_t(i) * 3], 3)) << i % 200 << "," << i / 200;
    }
}

// The closing's rules on a record drawn by hand: a block of written pixels
// inside one cell, with holes of several shapes.
TEST(Pinholes, WhichUnwrittenPixelsAreClosed)
{
    TestWorkspace t;
    Workspace& ws = t.ws;
    layoutPlanes(ws, 40, 20);
    clearMask(ws);
    std::memset(ws.image, 0, imageBytes(ws));
    WrittenRecord r;
    r.reset(0, 0, 40, 20);
    auto write = [&](int x, int y) {
        uint8_t* p = ws.image + (y * 40 + x) * 3;
        p[0] = uint8_t(x * 4), p[1] = uint8_t(y * 10), p[2] = 200;
        r.row(y)[size_t(x) / 64] |= uint64_t(1) << (x % 64);
    };
    // Written: columns 2..37 of rows 2..17, and a tongue (38, 9) reaching
    // out of the cell, which ends at column 37.
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 38; ++x) write(x, y);
    write(38, 9);
    write(38, 11);
    auto clear = [&](int x, int y) {
        std::memset(ws.image + (y * 40 + x) * 3, 0, 3);
        r.row(y)[size_t(x) / 64] &= ~(uint64_t(1) << (x % 64));
    };
    struct Hole {
        int x, y;
        bool closes;
    };
    const Hole holes[] = {
        {5, 5, true},                                  // alone: 8 written neighbours
        {10, 5, true}, {11, 5, true}, {12, 5, true},   // three in a row
        {20, 4, true}, {22, 4, true}, {20, 6, true}, {22, 6, true},  // a 3 x 3 block: corners first,
        {21, 4, true}, {20, 5, true}, {22, 5, true}, {21, 6, true},  // then, beside them, its sides
        {21, 5, true},                                               // and its centre
        {24, 12, true}, {25, 13, true}, {26, 14, true}, {27, 15, true}, {28, 16, true},  // a diagonal run
        {30, 10, false},  // protected by the mask
        {38, 10, false},  // 5 written neighbours, but outside the cell
        {2, 17, false},   // the outline's corner: 3 written neighbours
    };
    for (const Hole& h : holes) clear(h.x, h.y);
    ws.mask[10 * 40 + 30] = 255;
    MeshCell cell;
    cell.p[0] = {2, 2}, cell.p[1] = {37, 2}, cell.p[2] = {37, 17}, cell.p[3] = {2, 17};
    const std::vector<uint8_t> before(ws.image, ws.image + imageBytes(ws));
    const int64_t closed = closePinholes(ws, r, CellList{{}, &cell}, PartMask(ws, nullptr), std::nullopt);
    int64_t expected = 0;
    for (const Hole& h : holes) {
        const uint8_t* p = ws.image + (h.y * 40 + h.x) * 3;
        EXPECT_EQ(p[2] != 0, h.closes) << h.x << "," << h.y;
        expected += h.closes;
    }
    EXPECT_EQ(closed, expected);
    // The lone hole is the mean of its eight neighbours, channel by channel, rounded.
    EXPECT_EQ(ws.image[(5 * 40 + 5) * 3 + 0], 20);
    EXPECT_EQ(ws.image[(5 * 40 + 5) * 3 + 1], 50);
    // Outside the cell's outline nothing is written, however many neighbours.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            if (x >= 2 && x <= 37 && y >= 2 && y <= 17) continue;
            ASSERT_EQ(ws.image[(y * 40 + x) * 3 + 2], before[size_t(y * 40 + x) * 3 + 2]) << x << "," << y;
        }
}

// Pixels that some part of the model may write: open in one of its masks.
std::vector<uint8_t> openInSomePart(const std::string& dir, const SampleModelRecipe& r)
{
    const int w = r.width, h = r.height;
    const size_t rowBytes = size_t(w + 7) / 8;
    std::vector<uint8_t> open(size_t(w) * h, 0), row(static_cast<size_t>(w));
    std::vector<uint8_t> packed;
    for (int k = 1; readWholeFile(localFiles(), dir + "/" + r.name + std::to_string(k) + ".MSK", 1u << 30, packed); ++k)
        for (int y = 0; y < h; ++y) {
            unpackMaskRow(packed.data() + y * rowBytes, w, row.data());
            for (int x = 0; x < w; ++x) open[size_t(y) * w + x] |= row[size_t(x)] == 0;
        }
    return open;
}

// The sample library dressed in a solid colour, with and without the
// closing: only photograph pixels change, and afterwards no photograph
// pixel that a part may write is left with 5 or more dressed neighbours.
TEST(Pinholes, NoneLeftOnTheSampleModels)
{
    TempDir dir;
    TestWorkspace t(200'000'000);
    Workspace& ws = t.ws;
    layoutPlanes(ws, 256, 256);
    for (uint64_t i = 0; i < pixelCount(ws); ++i) ws.image[i * 3] = 220, ws.image[i * 3 + 1] = 16, ws.image[i * 3 + 2] = 24;
    ASSERT_TRUE(saveLinkFile(ws, dir.path("RED.CLO")));
    int64_t closedOnDressAndDrape = 0;
    for (const SampleModelRecipe& r : sampleModelRecipes()) {
        ASSERT_TRUE(writeSampleModel(ws, dir.dir().string(), r.name, r.scene, r.width, r.height));
        const std::string model = dir.path(std::string(r.name) + ".MDL");
        const std::vector<uint8_t> open = openInSomePart(dir.dir().string(), r);
        for (int32_t soft : {0, 1}) {
            std::vector<uint8_t> pictures[2];
            for (int32_t closing : {0, 1}) {
                ASSERT_TRUE(loadModelForDressing(ws, model));
                ws.materialPath = dir.path("RED.CLO");
                ws.softMapping = soft;
                ws.pinholeClosing = closing;
                ASSERT_EQ(resimulate(ws), 1);
                pictures[closing].assign(ws.image, ws.image + imageBytes(ws));
            }
            const int w = ws.imageWidth, h = ws.imageHeight;
            const uint8_t* photo = ws.secondImage;
            auto dressed = [&](const std::vector<uint8_t>& p, int x, int y) {
                return x >= 0 && y >= 0 && x < w && y < h && std::memcmp(&p[(size_t(y) * w + x) * 3], photo + (size_t(y) * w + x) * 3, 3) != 0;
            };
            int64_t closed = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const size_t i = (size_t(y) * w + x) * 3;
                    if (std::memcmp(&pictures[0][i], &pictures[1][i], 3) != 0) {
                        ASSERT_FALSE(dressed(pictures[0], x, y)) << r.name << " " << x << "," << y;
                        ++closed;
                    }
                    if (dressed(pictures[1], x, y) || !open[size_t(y) * w + x]) continue;
                    int around = 0;
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx) around += (dx || dy) && dressed(pictures[1], x + dx, y + dy);
                    ASSERT_LT(around, 5) << r.name << (soft ? " soft " : " sharp ") << x << "," << y;
                }
            if (r.scene != SampleScene::Sofa) closedOnDressAndDrape += closed;
        }
    }
    EXPECT_GT(closedOnDressAndDrape, 0);
}

}  // namespace
}  // namespace orx
