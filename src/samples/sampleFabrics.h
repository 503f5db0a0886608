// The sample materials: fabric tiles woven, knitted or printed from a
// recipe, each repeating exactly across its tile so that the repeat
// layouts lay it without a seam.
#pragma once

#include "sampleLibrary.h"
#include "samplePaint.h"

namespace orx::sample {

// Paints the recipe's tile over the whole canvas (the recipe's size).
void paintFabric(Canvas& canvas, const SampleMaterialRecipe& recipe);

}  // namespace orx::sample
