// The sample library: recipes and the writing of their files.
//
// A model is painted into the working image by its scene, saved with its
// material area, and followed by one mask and one mesh pair per part and
// the ORX file that lists them. Every part's material mesh is a regular
// grid inside the material area, sized from the length of cloth the part
// holds, so the same fabric keeps one scale over every part of a model.
#include "sampleLibrary.h"

#include <algorithm>
#include <cmath>

#include "engine/mesh.h"
#include "sampleFabrics.h"
#include "sampleScenes.h"
#include "workspace/containerFile.h"
#include "workspace/fileIo.h"
#include "workspace/langText.h"
#include "workspace/nativeFile.h"

namespace orx {

namespace {

const SampleModelRecipe kModels[] = {
    {"DRESS", SampleScene::Dress, 1000, 1280},
    {"SOFA", SampleScene::Sofa, 1600, 1200},
    {"DRAPE", SampleScene::Drape, 1280, 1024},
};

const SampleMaterialRecipe kMaterials[] = {
    {"STRIPE", SampleWeave::Stripe, 240, 240, {244, 241, 232}, {34, 48, 96}, {176, 36, 46}, {122, 164, 204}, 101},
    {"CHECK", SampleWeave::Gingham, 160, 160, {246, 244, 238}, {196, 44, 58}, {}, {}, 102},
    {"TARTAN", SampleWeave::Tartan, 240, 240, {28, 84, 56}, {24, 36, 86}, {20, 20, 24}, {186, 36, 44}, 103},
    {"HOUNDS", SampleWeave::Houndstooth, 192, 192, {236, 228, 210}, {34, 30, 34}, {}, {}, 104},
    {"DENIM", SampleWeave::Denim, 256, 256, {222, 214, 196}, {40, 62, 116}, {}, {}, 105},
    {"KNIT", SampleWeave::Knit, 240, 240, {}, {150, 44, 58}, {}, {}, 106},
    {"POLKA", SampleWeave::Polka, 200, 200, {26, 40, 88}, {242, 238, 226}, {}, {}, 107},
    {"FLORAL", SampleWeave::Floral, 480, 480, {242, 234, 216}, {212, 96, 118}, {92, 118, 178}, {92, 134, 84}, 108},
    {"LINEN", SampleWeave::Linen, 320, 320, {200, 186, 160}, {}, {}, {}, 109},
};

constexpr int32_t kMinWidth = 400, kMinHeight = 300;
// The material mesh keeps this far inside the area: soft sampling reads
// one pixel round the sample, and the frame around the area is no fabric.
constexpr int kSwatchMargin = 3;
// A mask pixel is opened for its part when the part shows over at least
// this much of it (0..255), so edge pixels take the fabric darkened by
// the edge's own light.
constexpr int kOpenCoverage = 96;

bool validModelName(const std::string& name)
{
    if (name.empty() || name.size() > 5) return false;
    for (char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

// The part's mask: open (0) over the part and over the material area.
// The run takes a material sample only where the mask is open, so the area
// must be open too; no object cell reaches the area, so nothing is drawn
// there.
bool writePartMask(Workspace& ws, const sample::StudioPart& part, const sample::Box& area, const std::string& path)
{
    const uint64_t n = pixelCount(ws);
    for (uint64_t i = 0; i < n; ++i) ws.mask[i] = part.seen[i] >= kOpenCoverage ? 0 : 255;
    for (int y = area.y0; y < area.y1; ++y)
        std::fill_n(ws.mask + uint64_t(y) * uint64_t(ws.imageWidth) + uint64_t(area.x0), area.x1 - area.x0, uint8_t(0));
    if (saveMSK(ws, path, ws.mask, ws.imageWidth, ws.imageHeight)) return true;
    showLangMessage(ws, Msg::FileNotWritten, path.c_str());
    return false;
}

// The material scale of a model: the scene's own, or less when the
// largest part's cloth would not fit the swatch at it.
double modelClothScale(const sample::Studio& studio, double designScale)
{
    const double w = studio.area.x1 - studio.area.x0 - 2 * kSwatchMargin - 1;
    const double h = studio.area.y1 - studio.area.y0 - 2 * kSwatchMargin - 1;
    double scale = designScale;
    for (const sample::StudioPart& p : studio.parts)
        scale = std::min({scale, w / std::max(p.grid.clothWidth, 1.0), h / std::max(p.grid.clothHeight, 1.0)});
    return scale;
}

// Object mesh from the part; material mesh a regular grid in the swatch,
// each part at its own place in it.
void setPartMeshes(Workspace& ws, const sample::Studio& studio, const sample::StudioPart& part, double scale, int index)
{
    const int C = part.cloth.columns, R = part.cloth.rows;
    ws.meshColumns = C;
    ws.meshRows = R;
    const sample::Box& a = studio.area;
    const double freeW = a.x1 - a.x0 - 2 * kSwatchMargin - 1, freeH = a.y1 - a.y0 - 2 * kSwatchMargin - 1;
    const double spanW = std::min(part.grid.clothWidth * scale, freeW), spanH = std::min(part.grid.clothHeight * scale, freeH);
    // Golden-ratio steps spread the parts over the swatch.
    const double fx = std::fmod(0.5 + index * 0.618034, 1.0), fy = std::fmod(0.5 + index * 0.381966, 1.0);
    const double ox = a.x0 + kSwatchMargin + (freeW - spanW) * fx, oy = a.y0 + kSwatchMargin + (freeH - spanH) * fy;
    for (int r = 0; r <= R; ++r)
        for (int c = 0; c <= C; ++c) {
            const size_t i = size_t(r) * size_t(C + 1) + size_t(c);
            ws.Cpoint1[i] = part.object[i];
            ws.Cpoint2[i] = {int32_t(std::lround(ox + spanW * c / C)), int32_t(std::lround(oy + spanH * r / R))};
        }
}

}  // namespace

std::span<const SampleModelRecipe> sampleModelRecipes() { return kModels; }
std::span<const SampleMaterialRecipe> sampleMaterialRecipes() { return kMaterials; }

bool writeSampleModel(Workspace& ws, const std::string& dir, const std::string& name, SampleScene scene,
                      int32_t width, int32_t height)
{
    if (!validModelName(name)) {
        showLangMessage(ws, Msg::SampleModelName, name.c_str());
        return false;
    }
    if (width < kMinWidth || height < kMinHeight || width > 32767 || height > 32767 || !imageFits(ws, width, height)) {
        showLangMessage(ws, Msg::SampleModelSize, int(width), int(height));
        return false;
    }
    layoutPlanes(ws, width, height);
    ws.imageLoaded = 1;
    ws.maskVisible = 0;

    const sample::SceneDesign& design = sample::sceneDesign(scene);
    sample::Studio studio(ws.image, width, height, design.width, design.height);
    design.paint(studio);

    const sample::Box& a = studio.area;
    if (!saveModelFile(ws, joinPath(dir, name + ".MDL"), int16_t(a.x0), int16_t(a.y0), int16_t(a.x1), int16_t(a.y1)))
        return false;

    const double scale = modelClothScale(studio, design.clothScale);
    std::string orx;
    for (size_t k = 0; k < studio.parts.size(); ++k) {
        const std::string part = name + std::to_string(k + 1);
        if (!writePartMask(ws, studio.parts[k], studio.area, joinPath(dir, part + ".MSK"))) return false;
        setPartMeshes(ws, studio, studio.parts[k], scale, int(k));
        if (!saveMapFile(ws, joinPath(dir, part + ".MAP"))) return false;
        orx += part + ".MSK\r\n" + part + ".MAP\r\n";
    }
    clearMask(ws);
    const std::string orxPath = joinPath(dir, name + ".ORX");
    if (!writeFileAtomically(orxPath, orx.data(), orx.size())) {
        showLangMessage(ws, Msg::FileNotWritten, orxPath.c_str());
        return false;
    }
    return true;
}

bool writeSampleMaterial(Workspace& ws, const std::string& dir, const SampleMaterialRecipe& recipe)
{
    if (!imageFits(ws, recipe.width, recipe.height)) {
        showLangMessage(ws, Msg::SampleTileSize, int(recipe.width), int(recipe.height));
        return false;
    }
    layoutPlanes(ws, recipe.width, recipe.height);
    clearMask(ws);
    ws.imageLoaded = 1;
    ws.maskVisible = 0;
    sample::Canvas canvas(ws.image, recipe.width, recipe.height);
    sample::paintFabric(canvas, recipe);
    return saveLinkFile(ws, joinPath(dir, std::string(recipe.name) + ".CLO"));
}

bool writeBenchModel(Workspace& ws, const std::string& dir, int32_t width, int32_t height)
{
    return writeSampleModel(ws, dir, "BENCH", SampleScene::Display, width, height);
}

bool writeSampleLibrary(Workspace& ws, const std::string& dir)
{
    for (const SampleModelRecipe& m : kModels)
        if (!writeSampleModel(ws, dir, m.name, m.scene, m.width, m.height)) return false;
    for (const SampleMaterialRecipe& m : kMaterials)
        if (!writeSampleMaterial(ws, dir, m)) return false;
    return true;
}

}  // namespace orx
