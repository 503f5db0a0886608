// What a camera writes beside its pictures: the JPEG header segments up to
// the picture data, and the EXIF block inside them (the orientation the
// camera was held in and the small embedded preview).
//
// Both readers work on bytes in memory and trust nothing: every offset and
// count is checked against the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orx {

// The header of a JPEG file as far as the start of the picture data.
struct JpegHeader {
    int32_t width = 0, height = 0;   // from the frame header; 0 when none was met
    int components = 0;
    const uint8_t* exif = nullptr;   // the TIFF-structured EXIF block (after "Exif\0\0")
    size_t exifBytes = 0;
};

// Walks the segments from the start-of-image marker to the start of scan
// (or the end of the bytes given, so the head of a file is enough). False
// when the bytes are no JPEG or a segment runs past a marker's rules.
bool readJpegHeader(const uint8_t* data, size_t n, JpegHeader& out);

struct ExifInfo {
    int orientation = 1;           // 1..8, as the EXIF orientation tag counts
    uint32_t thumbOffset = 0;      // the embedded JPEG preview within the block; 0 when none
    uint32_t thumbBytes = 0;
};

// Reads the first directory's orientation and the second directory's
// preview. False when the block is damaged: a bad byte order, a directory
// or value outside the block, an orientation outside 0..8 (0, written by
// some cameras, reads as 1). A preview that points outside the block is
// dropped, not an error: the picture itself is still sound.
bool readExif(const uint8_t* data, size_t n, ExifInfo& out);

}  // namespace orx
