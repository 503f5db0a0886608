// The sample library: models and materials generated from recipes, so that
// a fresh build has something to dress without any file checked in.
//
// A model is a synthetic photograph (MDL) of a dressed figure, a sofa or a
// curtained window, with light garments shaded by their folds and a flat
// swatch panel as its material area; for each part, a mask (MSK) and a mesh
// pair (MAP) whose object mesh follows the same folds; its ORX file lists
// them. A part's mask is open (0) over the part's visible pixels and over
// the material area, where the run takes its material samples, and set
// (255) everywhere else; no object cell reaches the area. A material is a
// seamless fabric tile (CLO). Every file is written atomically, and the
// same recipes give the same bytes on every run: the generator draws its
// randomness from fixed seeds only.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "workspace/workspace.h"

namespace orx {

enum class SampleScene {
    Dress,    // a standing figure in a dress: bodice, skirt and two sleeves
    Sofa,     // a three-seat sofa: back cushions, seat cushions, arms and frame
    Drape,    // a window with two drapes and a swag on a rod
    Display,  // three large panels for benchmarks: rectangular, sheared and tapered cells
};

struct SampleModelRecipe {
    const char* name;  // file stem of at most 5 characters: NAME.MDL, NAME.ORX, NAME1.MSK, NAME1.MAP, ...
    SampleScene scene;
    int32_t width, height;
};

enum class SampleWeave {
    Stripe,       // woven stripes of several widths
    Gingham,      // two-colour check with its mixed squares
    Tartan,       // a mirrored sett in 2/2 twill
    Houndstooth,  // broken check from a four-and-four 2/2 twill
    Denim,        // indigo warp over white weft, 3/1 twill, with slubs
    Knit,         // stocking stitch: rows of V-shaped loops
    Polka,        // dots on a staggered grid
    Floral,       // a scattered print of small flowers and leaves
    Linen,        // a plain weave of uneven, slubbed yarns
};

struct SampleMaterialRecipe {
    const char* name;  // file stem: NAME.CLO
    SampleWeave weave;
    int32_t width, height;  // the tile; each weave repeats a whole number of times across it
    Rgb ground, first, second, third;
    uint32_t seed;
};

std::span<const SampleModelRecipe> sampleModelRecipes();
std::span<const SampleMaterialRecipe> sampleMaterialRecipes();

// Writes every model and material of the recipes into the existing folder
// dir. False (after the reason is shown) at the first file that can not be
// written; the files written before it stay.
bool writeSampleLibrary(Workspace& ws, const std::string& dir);

// One model of a scene at any size that fits the image block (at least
// 400 x 300; the scene is stretched to the size): NAME.MDL, NAME.ORX and,
// for each part k from 1, NAMEk.MSK (with NAMEk.MPR) and NAMEk.MAP. The
// working image is left holding the picture.
bool writeSampleModel(Workspace& ws, const std::string& dir, const std::string& name, SampleScene scene,
                      int32_t width, int32_t height);

// One material: NAME.CLO. The working image is left holding the tile.
bool writeSampleMaterial(Workspace& ws, const std::string& dir, const SampleMaterialRecipe& recipe);

// The benchmarks' model, BENCH.MDL with BENCH.ORX and three parts, at any
// size (4000 x 3000 for the mapping benchmark; the image block must hold
// width x height pixels). The three parts cover at least 60 % of the
// picture between them, and their cells take all three roads of the
// mapping engine: BENCH1 is a flat banner of axis-parallel rectangles,
// BENCH2 a sheared drape of near-parallelograms (opposite sides within
// 10 % of each other) and BENCH3 a flared skirt of strongly tapered cells.
// The material area is a swatch in the top right corner.
bool writeBenchModel(Workspace& ws, const std::string& dir, int32_t width, int32_t height);

}  // namespace orx
