// JPEG pictures decoded with libjpeg-turbo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orx {

struct DecodedJpeg {
    int32_t width = 0, height = 0;   // as stored (not turned upright), after scaling
    std::unique_ptr<uint8_t[]> rgb;  // R, G, B rows
    std::vector<uint8_t> iccProfile; // empty when none is embedded
};

enum class JpegResult { Ok, NotJpeg, Cut, Damaged, Refused };

// Decodes a JPEG in memory, scaled down by 1, 2, 4 or 8 in the DCT (the
// cheap way to a small picture). accept(w, h) sees the decoded size before
// any pixel is decoded and may refuse it. A file that ends before its last
// row is Cut: libjpeg would only warn and grey the rest. Other warnings
// (stray bytes between segments, which many cameras write) still decode.
// why says what went wrong for Damaged.
JpegResult decodeJpeg(const uint8_t* data, size_t n, int scaleDenominator,
                      const std::function<bool(int32_t, int32_t)>& accept, DecodedJpeg& out, std::string& why);

}  // namespace orx
