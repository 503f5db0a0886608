// Catalogue batches: the dresses of a manifest made by a pool of workers,
// each output written whole beside its name and renamed in.
//
// Each worker has a workspace of its own and takes the lines one model at a
// time: it loads a model once for the run of lines it takes and dresses
// them one after another, bringing back from the photograph only what the
// previous dress changed. A model with many lines is cut into one run per
// worker, so that every worker has work to the end.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogueManifest.h"

namespace orx {

// True when the output is already there whole: a picture whose size can
// be read, and for an RGB its companion too, the pixels filling the size.
bool catalogueOutputComplete(const std::string& path);

struct CatalogueFailure {
    const CatalogueLine* line;
    std::string reason;
};

struct CatalogueProgress {
    std::atomic<int64_t> done{0};  // lines finished, dressed or failed
};

// Dresses `lines` into `folder` with `workers` workers (at least 1), whose
// messages are in `language` (a ScreenLanguage). A line
// fails when its model or material cannot be read or some part of it
// cannot be mapped; its output is then not written, so a later batch tries
// it again. Failures come back in manifest order.
std::vector<CatalogueFailure> runCatalogue(const std::vector<const CatalogueLine*>& lines, const std::string& folder,
                                           int workers, int32_t language, CatalogueProgress& progress);

}  // namespace orx
