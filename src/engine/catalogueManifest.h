// Catalogue manifests: the list of dresses a batch makes, one a line.
//
//   # comment
//   MODEL.MDL,MATERIAL.CLO[,LAYOUT[,CONTRAST[,SHADING]]]
//
// LAYOUT is normal, horizontal or vertical; CONTRAST 0.1 to 2.0; SHADING
// contrast or reflection and sharp or soft, joined by '+' ("reflection+soft",
// "soft"). An empty field keeps the default: normal, 1.0, contrast, sharp.
// Relative names are taken from the manifest's folder. Blank lines and
// lines starting with '#' are not dresses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orx {

enum class CatalogueFormat { Bmp, Rgb };

struct CatalogueLine {
    int32_t lineNumber = 0;  // in the file, from 1
    int64_t number = 0;      // among the dress lines, from 0: what a shard is chosen by
    std::string model, material;
    int32_t layout = 0;
    float contrast = 1.0f;
    int32_t reflection = 0, soft = 0;
    std::string output;  // the file written in the output folder: MODEL-MATERIAL[-n].EXT
    std::string error;   // why the line cannot be dressed; empty when it can
};

// The dress lines of a manifest in order. Every dress line is listed, a
// malformed one with its error. Names are given to all of them before any
// shard is chosen, so every machine names a dress alike: the first line of
// a model and material is MODEL-MATERIAL.EXT, the next MODEL-MATERIAL-2.EXT.
std::vector<CatalogueLine> parseCatalogueManifest(const std::string& text, const std::string& folder,
                                                  CatalogueFormat format);

// Shard `index` of `count`: the lines whose number modulo count is index.
bool inShard(const CatalogueLine& line, int64_t index, int64_t count);

}  // namespace orx
