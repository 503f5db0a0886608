// The generated sample library, read back with the project's own readers:
// every file loads, the meshes are fit for the mapping engine, the masks
// open exactly what the meshes cover, runs repeat byte for byte and the
// materials tile without a seam.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/mesh.h"
#include "samples/sampleLibrary.h"
#include "support/testSupport.h"
#include "workspace/containerFile.h"
#include "workspace/fileIo.h"
#include "workspace/nativeFile.h"

namespace orx {
namespace {

using test::TempDir;
using test::TestWorkspace;

struct PartFiles {
    std::string mask, map;
    std::vector<uint8_t> open;  // 1 where the mask leaves the pixel to the run
    int columns = 0, rows = 0;
    std::vector<MeshPoint> object, material;
    MeshPoint obj(int c, int r) const { return object[size_t(r) * size_t(columns + 1) + size_t(c)]; }
    MeshPoint mat(int c, int r) const { return material[size_t(r) * size_t(columns + 1) + size_t(c)]; }
};

struct ModelFiles {
    int width = 0, height = 0;
    int area[4] = {};  // x0, y0, x1, y1: columns x0..x1-1, rows y0..y1-1
    std::vector<uint8_t> photo;
    std::vector<PartFiles> parts;
    bool inArea(int x, int y) const { return x >= area[0] && x < area[2] && y >= area[1] && y < area[3]; }
};

std::vector<std::string> textLines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

bool endsWith(const std::string& s, const char* tail)
{
    const size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// A name the browser shows whole: upper case, at most 8 + 3 characters and
// at most 10 in all.
bool shortUpperName(const std::string& name)
{
    const size_t dot = name.find('.');
    if (dot == std::string::npos || dot == 0 || dot > 8 || name.size() - dot - 1 != 3 || name.size() > 10) return false;
    for (char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.')) return false;
    return true;
}

// The model, its ORX file and every mask and MAP it names.
void readModel(Workspace& ws, const std::string& dir, const std::string& name, ModelFiles& m)
{
    ASSERT_TRUE(loadModel(ws, joinPath(dir, name + ".MDL"))) << name;
    m.width = ws.imageWidth;
    m.height = ws.imageHeight;
    for (int i = 0; i < 4; ++i) m.area[i] = ws.modelArea[i];
    m.photo.assign(ws.image, ws.image + imageBytes(ws));
    const std::vector<std::string> lines = textLines(joinPath(dir, name + ".ORX"));
    ASSERT_FALSE(lines.empty()) << name;
    ASSERT_EQ(lines.size() % 2, 0u) << name;
    for (size_t i = 0; i < lines.size(); i += 2) {
        PartFiles p;
        p.mask = lines[i];
        p.map = lines[i + 1];
        EXPECT_TRUE(endsWith(p.mask, ".MSK")) << p.mask;
        EXPECT_TRUE(endsWith(p.map, ".MAP")) << p.map;
        EXPECT_TRUE(shortUpperName(p.mask) && shortUpperName(p.map)) << p.mask << " " << p.map;
        int32_t w = 0, h = 0;
        ASSERT_EQ(readMaskSize(localFiles(), joinPath(dir, p.mask), w, h), SizeRead::Ok) << p.mask;
        EXPECT_EQ(w, m.width) << p.mask;
        EXPECT_EQ(h, m.height) << p.mask;
        std::vector<uint8_t> mask(size_t(m.width) * size_t(m.height));
        ASSERT_TRUE(loadMSK(ws, joinPath(dir, p.mask), mask.data())) << p.mask;
        p.open.resize(mask.size());
        for (size_t k = 0; k < mask.size(); ++k) p.open[k] = mask[k] == 0;
        ASSERT_TRUE(loadMapFile(ws, joinPath(dir, p.map))) << p.map;
        p.columns = ws.meshColumns;
        p.rows = ws.meshRows;
        p.object.assign(ws.Cpoint1.get(), ws.Cpoint1.get() + meshPointCount(ws));
        p.material.assign(ws.Cpoint2.get(), ws.Cpoint2.get() + meshPointCount(ws));
        m.parts.push_back(std::move(p));
    }
}

// ---- cell geometry, as the mapping engine sees a cell

struct Cell {
    MeshPoint p[4];  // top-left, top-right, bottom-right, bottom-left
};

Cell cellOf(const PartFiles& p, int c, int r) { return {{p.obj(c, r), p.obj(c + 1, r), p.obj(c + 1, r + 1), p.obj(c, r + 1)}}; }

// Twice the signed area of the triangle a, b, c; positive when a -> b -> c
// turns clockwise on the screen (y down).
int64_t turn(MeshPoint a, MeshPoint b, MeshPoint c)
{
    return int64_t(b.x - a.x) * (c.y - a.y) - int64_t(b.y - a.y) * (c.x - a.x);
}

bool convexClockwise(const Cell& k)
{
    for (int i = 0; i < 4; ++i)
        if (turn(k.p[i], k.p[(i + 1) % 4], k.p[(i + 2) % 4]) <= 0) return false;
    return true;
}

// Whether pixel (x, y) lies in the clockwise convex cell, allowing `slack`
// pixels outside its sides.
bool inCell(const Cell& k, double x, double y, double slack)
{
    for (int i = 0; i < 4; ++i) {
        const MeshPoint a = k.p[i], b = k.p[(i + 1) % 4];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len == 0) continue;
        const double side = ((b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x)) / len;
        if (side < -slack) return false;
    }
    return true;
}

enum class CellRoad { Rectangle, Parallelogram, Tapered };

// The road the mapping engine takes for a cell: axis-parallel rectangles,
// cells whose opposite sides are within 10 % of each other, and the rest.
CellRoad roadOf(const Cell& k)
{
    const MeshPoint* p = k.p;
    if (p[0].x == p[3].x && p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y) return CellRoad::Rectangle;
    auto len = [](MeshPoint a, MeshPoint b) { return std::hypot(double(b.x - a.x), double(b.y - a.y)); };
    const double kLR = len(p[3], p[0]) / std::max(len(p[1], p[2]), 0.1);
    const double kTB = len(p[0], p[1]) / std::max(len(p[2], p[3]), 1e-9);
    if (kLR >= 0.9 && kLR <= 1.1 && kTB >= 0.9 && kTB <= 1.1) return CellRoad::Parallelogram;
    return CellRoad::Tapered;
}

// Checks every part of a model against what the mapping engine needs.
void checkMeshes(const ModelFiles& m, const std::string& name)
{
    for (const PartFiles& p : m.parts) {
        ASSERT_GE(p.columns, 1) << name << " " << p.map;
        ASSERT_GE(p.rows, 1) << name << " " << p.map;
        EXPECT_LE(p.columns, 200) << name << " " << p.map;
        EXPECT_LE(p.rows, 200) << name << " " << p.map;
        int bad = 0, intoArea = 0;
        for (int r = 0; r < p.rows; ++r)
            for (int c = 0; c < p.columns; ++c) {
                const Cell k = cellOf(p, c, r);
                bad += !convexClockwise(k);
                int x0 = k.p[0].x, x1 = x0, y0 = k.p[0].y, y1 = y0;
                for (const MeshPoint& q : k.p) {
                    x0 = std::min(x0, q.x);
                    x1 = std::max(x1, q.x);
                    y0 = std::min(y0, q.y);
                    y1 = std::max(y1, q.y);
                }
                // Masks leave the swatch open, so no cell may reach it.
                intoArea += x1 >= m.area[0] && x0 < m.area[2] && y1 >= m.area[1] && y0 < m.area[3];
            }
        EXPECT_EQ(bad, 0) << name << " " << p.map << ": concave, crossed or counter-clockwise cells";
        EXPECT_EQ(intoArea, 0) << name << " " << p.map << ": cells reaching the material area";

        // The material mesh: a regular grid of real cells inside the area.
        for (int r = 0; r <= p.rows; ++r)
            for (int c = 0; c <= p.columns; ++c) {
                const MeshPoint q = p.mat(c, r);
                ASSERT_TRUE(m.inArea(q.x, q.y)) << name << " " << p.map << " material point " << c << "," << r;
                EXPECT_EQ(q.x, p.mat(c, 0).x) << name << " " << p.map;
                EXPECT_EQ(q.y, p.mat(0, r).y) << name << " " << p.map;
                if (c < p.columns) {
                    EXPECT_GT(p.mat(c + 1, r).x, q.x) << name << " " << p.map;
                }
                if (r < p.rows) {
                    EXPECT_GT(p.mat(c, r + 1).y, q.y) << name << " " << p.map;
                }
            }
    }
}

// Every pixel a part's mask opens (outside the swatch) lies in one of its
// object cells, the swatch is open in every mask, and the part is seen.
void checkMasks(const ModelFiles& m, const std::string& name)
{
    const int w = m.width, h = m.height;
    std::vector<uint8_t> covered(size_t(w) * size_t(h));
    for (const PartFiles& p : m.parts) {
        std::fill(covered.begin(), covered.end(), 0);
        for (int r = 0; r < p.rows; ++r)
            for (int c = 0; c < p.columns; ++c) {
                const Cell k = cellOf(p, c, r);
                int x0 = w, x1 = -1, y0 = h, y1 = -1;
                for (const MeshPoint& q : k.p) {
                    x0 = std::min(x0, q.x);
                    x1 = std::max(x1, q.x);
                    y0 = std::min(y0, q.y);
                    y1 = std::max(y1, q.y);
                }
                for (int y = std::max(y0 - 1, 0); y <= std::min(y1 + 1, h - 1); ++y)
                    for (int x = std::max(x0 - 1, 0); x <= std::min(x1 + 1, w - 1); ++x)
                        if (inCell(k, x, y, 1.0)) covered[size_t(y) * size_t(w) + size_t(x)] = 1;
            }
        int64_t open = 0, uncovered = 0, swatchClosed = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const size_t i = size_t(y) * size_t(w) + size_t(x);
                if (m.inArea(x, y)) {
                    swatchClosed += !p.open[i];
                    continue;
                }
                if (!p.open[i]) continue;
                ++open;
                uncovered += !covered[i];
            }
        EXPECT_EQ(uncovered, 0) << name << " " << p.mask << ": open pixels outside every cell";
        EXPECT_EQ(swatchClosed, 0) << name << " " << p.mask << ": the material area must stay open";
        EXPECT_GT(open, int64_t(w) * h / 200) << name << " " << p.mask << ": the part is hardly seen";
    }
}

// ---- the library, written once for the suite

class SampleLibrary : public ::testing::Test {
protected:
    struct Shared {
        TestWorkspace t;
        TempDir dir;
        bool written = false;
    };
    static void SetUpTestSuite()
    {
        shared_ = new Shared;
        shared_->written = writeSampleLibrary(shared_->t.ws, shared_->dir.dir().string());
    }
    static void TearDownTestSuite()
    {
        delete shared_;
        shared_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(shared_->written) << "the library was not written"; }
    static Workspace& ws() { return shared_->t.ws; }
    static std::string dir() { return shared_->dir.dir().string(); }

    static Shared* shared_;
};

SampleLibrary::Shared* SampleLibrary::shared_ = nullptr;

TEST_F(SampleLibrary, EveryFileReadsBackAndIsNamedByARecipe)
{
    std::set<std::string> expected;
    std::set<SampleScene> scenes;
    int64_t largest = 0;
    ASSERT_GE(sampleModelRecipes().size(), 3u);
    for (const SampleModelRecipe& r : sampleModelRecipes()) {
        ModelFiles m;
        readModel(ws(), dir(), r.name, m);
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(m.width, r.width);
        EXPECT_EQ(m.height, r.height);
        EXPECT_GE(r.width, 800);
        EXPECT_LE(r.width, 1600);
        EXPECT_TRUE(m.area[0] >= 0 && m.area[1] >= 0 && m.area[2] <= m.width && m.area[3] <= m.height) << r.name;
        EXPECT_GE(m.area[2] - m.area[0], 150) << r.name;
        EXPECT_GE(m.area[3] - m.area[1], 150) << r.name;
        EXPECT_GE(m.parts.size(), 2u) << r.name;
        EXPECT_LE(m.parts.size(), 4u) << r.name;
        scenes.insert(r.scene);
        largest = std::max(largest, int64_t(r.width) * r.height);
        expected.insert(std::string(r.name) + ".MDL");
        expected.insert(std::string(r.name) + ".ORX");
        for (const PartFiles& p : m.parts) {
            expected.insert(p.mask);
            expected.insert(companionName(p.mask, "MPR"));
            expected.insert(p.map);
        }
    }
    EXPECT_EQ(scenes, (std::set<SampleScene>{SampleScene::Dress, SampleScene::Sofa, SampleScene::Drape}));
    EXPECT_EQ(largest, 1600 * 1200);

    std::set<SampleWeave> weaves;
    ASSERT_GE(sampleMaterialRecipes().size(), 8u);
    for (const SampleMaterialRecipe& r : sampleMaterialRecipes()) {
        const std::string name = std::string(r.name) + ".CLO";
        ASSERT_TRUE(openContainerImage(ws(), joinPath(dir(), name))) << name;
        EXPECT_EQ(ws().imageWidth, r.width) << name;
        EXPECT_EQ(ws().imageHeight, r.height) << name;
        EXPECT_TRUE(r.width >= 120 && r.width <= 600 && r.height >= 120 && r.height <= 600) << name;
        weaves.insert(r.weave);
        expected.insert(name);
    }
    EXPECT_GE(weaves.size(), 8u);

    // Nothing else in the folder: no partial files, no stray names.
    std::set<std::string> found;
    for (const auto& e : std::filesystem::directory_iterator(dir())) found.insert(e.path().filename().string());
    EXPECT_EQ(found, expected);
    for (const std::string& f : found) EXPECT_TRUE(shortUpperName(f)) << f;
}

TEST_F(SampleLibrary, MeshesSuitTheEngineAndMasksOpenWhatTheyCover)
{
    for (const SampleModelRecipe& r : sampleModelRecipes()) {
        ModelFiles m;
        readModel(ws(), dir(), r.name, m);
        ASSERT_FALSE(HasFatalFailure());
        checkMeshes(m, r.name);
        checkMasks(m, r.name);
    }
}

TEST_F(SampleLibrary, GarmentsAreLightAndTheRestKeepsItsColour)
{
    for (const SampleModelRecipe& r : sampleModelRecipes()) {
        ModelFiles m;
        readModel(ws(), dir(), r.name, m);
        ASSERT_FALSE(HasFatalFailure());
        std::vector<uint8_t> anyPart(size_t(m.width) * size_t(m.height));
        for (const PartFiles& p : m.parts) {
            std::vector<int> value;
            for (size_t i = 0; i < p.open.size(); ++i) {
                if (!p.open[i] || m.inArea(int(i % size_t(m.width)), int(i / size_t(m.width)))) continue;
                anyPart[i] = 1;
                const uint8_t* px = &m.photo[3 * i];
                value.push_back(std::max({px[0], px[1], px[2]}));
            }
            ASSERT_FALSE(value.empty()) << p.mask;
            std::nth_element(value.begin(), value.begin() + value.size() / 2, value.end());
            // Light cloth, so that any material keeps most of its brightness.
            EXPECT_GE(value[value.size() / 2], 170) << r.name << " " << p.mask;
        }
        // Outside the garments the picture has colour of its own (skin,
        // wood, walls): not a grey cut-out.
        int64_t coloured = 0, rest = 0;
        for (size_t i = 0; i < anyPart.size(); ++i) {
            if (anyPart[i]) continue;
            const uint8_t* px = &m.photo[3 * i];
            ++rest;
            coloured += std::max({px[0], px[1], px[2]}) - std::min({px[0], px[1], px[2]}) > 12;
        }
        EXPECT_GT(coloured, rest / 4) << r.name;
    }
}

TEST_F(SampleLibrary, GarmentMeshesFollowTheFolds)
{
    // A mesh laid flat over a part has cells of one width along a row, give
    // or take the rounding to whole pixels, which can never spread them by
    // more than half a pixel (a standard deviation). One that follows the
    // folds crowds its cells where the cloth turns away: a little over a
    // padded cushion or a fitted bodice, much in a skirt's or a drape's
    // folds.
    double deepest = 0;
    for (const SampleModelRecipe& r : sampleModelRecipes()) {
        ModelFiles m;
        readModel(ws(), dir(), r.name, m);
        ASSERT_FALSE(HasFatalFailure());
        double mostFolded = 0;
        for (const PartFiles& p : m.parts) {
            double widest = 0;  // the largest spread of cell widths along a row
            for (int r = 0; r <= p.rows; ++r) {
                double sum = 0, squares = 0;
                for (int c = 0; c < p.columns; ++c) {
                    const MeshPoint a = p.obj(c, r), b = p.obj(c + 1, r);
                    const double w = std::hypot(double(b.x - a.x), double(b.y - a.y));
                    sum += w;
                    squares += w * w;
                }
                const double mean = sum / p.columns;
                widest = std::max(widest, std::sqrt(std::max(0.0, squares / p.columns - mean * mean)));
            }
            mostFolded = std::max(mostFolded, widest);
        }
        EXPECT_GE(mostFolded, 1.0) << r.name << ": no part's mesh bends with its folds";
        deepest = std::max(deepest, mostFolded);
    }
    EXPECT_GE(deepest, 2.0) << "no garment in the library has deep folds";
}

// How the tile's wrap-around step (last column to first, or last row to
// first) compares with the ordinary steps between neighbours inside it:
// its ratio to their 90th percentile, about 1 or less for a seamless tile
// whatever its motif (the steepest steps of a sine or the edges of a
// stripe are ordinary too when they recur inside).
double seamRatio(const uint8_t* rgb, int w, int h, bool across)
{
    auto step = [&](int a, int b) {  // mean difference between column (or row) a and b
        double sum = 0;
        const int n = across ? h : w;
        for (int i = 0; i < n; ++i)
            for (int ch = 0; ch < 3; ++ch) {
                const size_t pa = across ? (size_t(i) * w + a) : (size_t(a) * w + i);
                const size_t pb = across ? (size_t(i) * w + b) : (size_t(b) * w + i);
                sum += std::abs(int(rgb[3 * pa + ch]) - int(rgb[3 * pb + ch]));
            }
        return sum / (3.0 * n);
    };
    const int n = across ? w : h;
    std::vector<double> steps;
    for (int a = 0; a + 1 < n; ++a) steps.push_back(step(a, a + 1));
    std::sort(steps.begin(), steps.end());
    return step(n - 1, 0) / std::max(steps[steps.size() * 9 / 10], 0.5);
}

TEST(SampleSeam, TheMeasureTellsASeam)
{
    // A ramp jumps from its last column back to its first; a sine of whole
    // periods does not.
    std::vector<uint8_t> ramp(64 * 64 * 3), wave(64 * 64 * 3);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            for (int c = 0; c < 3; ++c) {
                ramp[3 * (size_t(y) * 64 + x) + c] = uint8_t(x * 4);
                wave[3 * (size_t(y) * 64 + x) + c] = uint8_t(128 + 100 * std::sin(2 * 3.14159265 * x / 16));
            }
    EXPECT_GT(seamRatio(ramp.data(), 64, 64, true), 10);
    EXPECT_LT(seamRatio(wave.data(), 64, 64, true), 1.2);
    // A sine cut off near its crest jumps at the wrap.
    std::vector<uint8_t> cut(40 * 64 * 3);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 40; ++x)
            for (int c = 0; c < 3; ++c) cut[3 * (size_t(y) * 40 + x) + c] = uint8_t(128 + 100 * std::sin(2 * 3.14159265 * x / 32));
    EXPECT_GT(seamRatio(cut.data(), 40, 64, true), 3);
}

TEST_F(SampleLibrary, MaterialsTileWithoutASeam)
{
    for (const SampleMaterialRecipe& r : sampleMaterialRecipes()) {
        const std::string name = std::string(r.name) + ".CLO";
        ASSERT_TRUE(openContainerImage(ws(), joinPath(dir(), name))) << name;
        EXPECT_LT(seamRatio(ws().image, r.width, r.height, true), 1.25) << name << ": left and right edges";
        EXPECT_LT(seamRatio(ws().image, r.width, r.height, false), 1.25) << name << ": top and bottom edges";
    }
}

TEST(SampleLibraryRuns, TheSameBytesOnEveryRun)
{
    // The second run starts from a workspace that has held another picture.
    TestWorkspace a, b;
    TempDir first, second;
    test::fillPattern(b.ws, 300, 200);
    ASSERT_TRUE(writeSampleLibrary(a.ws, first.dir().string()));
    ASSERT_TRUE(writeSampleLibrary(b.ws, second.dir().string()));
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(first.dir())) {
        const std::string name = e.path().filename().string();
        EXPECT_EQ(test::readFileBytes(e.path().string()), test::readFileBytes(second.path(name))) << name;
        ++files;
    }
    EXPECT_GT(files, 20);
}

// ---- models on request

TEST(SampleModels, TheBenchModelCoversTheShareAndTakesEveryRoad)
{
    TestWorkspace t;
    for (auto [w, h] : {std::pair{1600, 1200}, {900, 500}}) {
        TempDir dir;
        ASSERT_TRUE(writeBenchModel(t.ws, dir.dir().string(), w, h));
        ModelFiles m;
        readModel(t.ws, dir.dir().string(), "BENCH", m);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(m.parts.size(), 3u);
        EXPECT_EQ(m.width, w);
        checkMeshes(m, "BENCH");
        checkMasks(m, "BENCH");

        int64_t open = 0;
        for (size_t i = 0; i < m.parts[0].open.size(); ++i) {
            if (m.inArea(int(i % size_t(w)), int(i / size_t(w)))) continue;
            open += m.parts[0].open[i] || m.parts[1].open[i] || m.parts[2].open[i];
        }
        EXPECT_GE(double(open) / (double(w) * h), 0.6) << w << " x " << h;

        int count[3][3] = {};  // part, road
        for (int k = 0; k < 3; ++k)
            for (int r = 0; r < m.parts[size_t(k)].rows; ++r)
                for (int c = 0; c < m.parts[size_t(k)].columns; ++c) ++count[k][int(roadOf(cellOf(m.parts[size_t(k)], c, r)))];
        auto share = [&](int k, CellRoad road) {
            const int all = count[k][0] + count[k][1] + count[k][2];
            return double(count[k][int(road)]) / all;
        };
        EXPECT_EQ(share(0, CellRoad::Rectangle), 1.0) << "the banner is all rectangles";
        EXPECT_GE(share(1, CellRoad::Parallelogram), 0.9) << "the drape is near-parallelograms";
        EXPECT_GE(share(2, CellRoad::Tapered), 0.5) << "the fan is tapered";
    }
}

TEST(SampleModels, AnySizeStretchesTheScene)
{
    TestWorkspace t;
    TempDir dir;
    for (auto [w, h] : {std::pair{400, 300}, {640, 480}, {500, 900}})
        for (SampleScene scene : {SampleScene::Dress, SampleScene::Sofa, SampleScene::Drape, SampleScene::Display}) {
            ASSERT_TRUE(writeSampleModel(t.ws, dir.dir().string(), "SMALL", scene, w, h));
            ModelFiles m;
            readModel(t.ws, dir.dir().string(), "SMALL", m);
            ASSERT_FALSE(HasFatalFailure());
            EXPECT_EQ(m.width, w);
            EXPECT_EQ(m.height, h);
            const std::string what = "scene " + std::to_string(int(scene)) + " at " + std::to_string(w) + " x " + std::to_string(h);
            checkMeshes(m, what);
            checkMasks(m, what);
        }
}

TEST(SampleModels, RefusedRequestsChangeNothing)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 50, 40);
    const std::vector<uint8_t> before(t.ws.image, t.ws.image + imageBytes(t.ws));
    const struct {
        const char* name;
        int32_t w, h;
        const char* why;
    } cases[] = {
        {"DRESS", 399, 400, "400 x 300"},
        {"DRESS", 400, 299, "400 x 300"},
        {"DRESS", 6000, 6000, "image memory"},  // more than the test block holds
        {"DRESS", 40000, 400, "400 x 300"},
        {"dress", 400, 400, "capital letters"},
        {"TOOLONG", 400, 400, "capital letters"},
        {"", 400, 400, "capital letters"},
    };
    for (const auto& c : cases) {
        t.platform.messages.clear();
        EXPECT_FALSE(writeSampleModel(t.ws, dir.dir().string(), c.name, SampleScene::Dress, c.w, c.h)) << c.name;
        EXPECT_TRUE(t.platform.said(c.why)) << c.name << " " << c.w << " x " << c.h;
        EXPECT_EQ(t.ws.imageWidth, 50);
        EXPECT_EQ(t.ws.imageHeight, 40);
        EXPECT_EQ(0, std::memcmp(t.ws.image, before.data(), before.size()));
    }
    SampleMaterialRecipe huge = sampleMaterialRecipes()[0];
    huge.width = 6000;
    huge.height = 6000;
    EXPECT_FALSE(writeSampleMaterial(t.ws, dir.dir().string(), huge));
    EXPECT_TRUE(std::filesystem::is_empty(dir.dir()));

    // A folder that can not be written: the first file fails and says so.
    t.platform.messages.clear();
    EXPECT_FALSE(writeSampleLibrary(t.ws, dir.path("missing/folder")));
    EXPECT_FALSE(t.platform.messages.empty());
}

}  // namespace
}  // namespace orx
