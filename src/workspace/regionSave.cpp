// Area saves and the mask region under a point.
#include "regionSave.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bitmapFile.h"
#include "containerFile.h"
#include "fileIo.h"
#include "fileKinds.h"
#include "langText.h"
#include "spanFill.h"
#include "thumbnail.h"

namespace orx {

namespace {

inline bool maskSet(const Workspace& ws, int32_t x, int32_t y)
{
    return ws.mask[uint64_t(y) * uint64_t(ws.imageWidth) + uint64_t(x)] > 254;
}

// Container and model headers keep their area in 16 bits.
int16_t to16(int32_t v) { return int16_t(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }

bool saveModelArea(Workspace& ws, const std::string& name, const Rect& r)
{
    return saveModelFile(ws, name, to16(r.x0), to16(r.y0), to16(r.x1), to16(r.y1));
}

bool saveLinkArea(Workspace& ws, const std::string& name, const Rect& r)
{
    return saveLinkRegion(ws, name, r.x0, r.y0, r.x1, r.y1);
}

bool saveBmpArea(Workspace& ws, const std::string& name, const Rect& r)
{
    return writeBMPRegion(ws, name, ws.image, r.x0, r.y0, r.x1, r.y1);
}

struct AreaWriter {
    int32_t request;
    bool (*save)(Workspace&, const std::string&, const Rect&);
};

const AreaWriter kAreaWriters[] = {
    {SaveAreaRgb, saveRGBRegion}, {SaveAreaClo, saveLinkArea}, {SaveAreaPrt, saveLinkArea},
    {SaveAreaBmp, saveBmpArea},   {SaveAreaModel, saveModelArea}, {SaveAreaEmb, saveLinkArea},
};

}  // namespace

bool clipToImage(const Workspace& ws, Point a, Point b, Rect& r)
{
    const Rect c{std::max(std::min(a.x, b.x), 0), std::max(std::min(a.y, b.y), 0),
                 std::min(std::max(a.x, b.x), ws.imageWidth - 1), std::min(std::max(a.y, b.y), ws.imageHeight - 1)};
    if (c.x0 > c.x1 || c.y0 > c.y1) return false;
    r = c;
    return true;
}

bool saveRGBRegion(Workspace& ws, const std::string& name, const Rect& r)
{
    const int32_t w = r.x1 - r.x0 + 1, h = r.y1 - r.y0 + 1;
    AtomicFile raw(name);
    AtomicFile companion(companionOf(name, FileKind::RGB));
    const uint64_t rowBytes = uint64_t(w) * 3;
    for (int32_t y = r.y0; y <= r.y1 && raw.ok(); ++y)
        raw.write(ws.image + uint64_t(y) * ws.imageRowBytes + uint64_t(r.x0) * 3, rowBytes);
    char text[kCompanionTextBytes] = {};
    std::snprintf(text, sizeof text, "%d %d 0 0", w, h);
    companion.write(text, sizeof text);
    makeRegionThumbnail(ws, r.x0, r.y0, r.x1, r.y1);
    companion.write(ws.buf1.get(), kThumbBytes);
    if (!commitTogether({&raw, &companion})) {
        const int err = raw.error() ? raw.error() : companion.error();
        showLangMessage(ws, Msg::FileCouldNotBeOpened, std::to_string(err).c_str());
        return false;
    }
    return true;
}

bool saveArea(Workspace& ws, int32_t request, const std::string& name, const Rect& r)
{
    for (const AreaWriter& w : kAreaWriters)
        if (w.request == request) return w.save(ws, name, r);
    return false;
}

bool maskRegionBounds(const Workspace& ws, int32_t x, int32_t y, Rect& bounds)
{
    const int32_t W = ws.imageWidth, H = ws.imageHeight;
    if (x < 0 || y < 0 || x >= W || y >= H) return false;
    const bool state = maskSet(ws, x, y);
    // The mask stays as it is: the walker marks the runs it took here.
    std::vector<uint8_t> seen(uint64_t(W) * uint64_t(H), 0);
    std::vector<FillSpan> stack;
    Rect box{x, y, x, y};
    walkSpans(
        W, H, x, y, stack,
        [&](int32_t px, int32_t py) {
            return !seen[uint64_t(py) * uint64_t(W) + uint64_t(px)] && maskSet(ws, px, py) == state;
        },
        [&](int32_t py, int32_t x0, int32_t x1) {
            std::fill_n(seen.begin() + int64_t(uint64_t(py) * uint64_t(W) + uint64_t(x0)), x1 - x0 + 1, 1);
            box = {std::min(box.x0, x0), std::min(box.y0, py), std::max(box.x1, x1), std::max(box.y1, py)};
        });
    bounds = box;
    return true;
}

}  // namespace orx
