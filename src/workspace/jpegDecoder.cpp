// JPEG pictures decoded with libjpeg-turbo.
//
// libjpeg reports fatal errors through error_exit, which must not return:
// the decoder jumps back to its start with longjmp, so the function that
// calls setjmp holds no object with a destructor of its own.
#include "jpegDecoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <jerror.h>

namespace orx {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool cut;
    char text[JMSG_LENGTH_MAX];
    std::unique_ptr<uint8_t[]> cmykLine;  // here, not on decode()'s stack: a jump skips no destructor
};

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto* e = reinterpret_cast<ErrorManager*>(cinfo->err);
    cinfo->err->format_message(cinfo, e->text);
    std::longjmp(e->jump, 1);
}

// Warnings are not printed. The end of the data before the last row stops
// the decoding at once.
void emitMessage(j_common_ptr cinfo, int level)
{
    auto* e = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level >= 0) return;  // trace messages
    if (cinfo->err->msg_code == JWRN_JPEG_EOF) {
        e->cut = true;
        std::longjmp(e->jump, 1);
    }
    ++cinfo->err->num_warnings;
}

void silent(j_common_ptr) {}

// CMYK as R, G, B. Files with an Adobe segment store the inks inverted.
void cmykToRgb(const uint8_t* cmyk, uint8_t* rgb, int32_t w, bool inverted)
{
    for (int32_t x = 0; x < w; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned v = inverted ? cmyk[c] : 255u - cmyk[c];
            rgb[c] = uint8_t((v * k + 127) / 255);
        }
    }
}

JpegResult decode(jpeg_decompress_struct& cinfo, ErrorManager& err, const uint8_t* data, size_t n, int denominator,
                  const std::function<bool(int32_t, int32_t)>& accept, DecodedJpeg& out)
{
    if (setjmp(err.jump)) return err.cut ? JpegResult::Cut : JpegResult::Damaged;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(n));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xFFFF);  // ICC profile chunks
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return JpegResult::Damaged;

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGB;
    cinfo.scale_num = 1;
    cinfo.scale_denom = unsigned(denominator);
    jpeg_calc_output_dimensions(&cinfo);
    const int32_t w = int32_t(cinfo.output_width), h = int32_t(cinfo.output_height);
    if (w <= 0 || h <= 0 || !accept(w, h)) return JpegResult::Refused;

    JOCTET* icc = nullptr;
    unsigned int iccBytes = 0;
    if (jpeg_read_icc_profile(&cinfo, &icc, &iccBytes)) {
        out.iccProfile.assign(icc, icc + iccBytes);
        std::free(icc);
    }

    out.rgb.reset(new uint8_t[uint64_t(w) * uint64_t(h) * 3]);
    out.width = w;
    out.height = h;
    jpeg_start_decompress(&cinfo);
    const uint64_t rowBytes = uint64_t(w) * 3;
    if (cmyk) {
        out.iccProfile.clear();  // a CMYK profile does not describe our R, G, B
        err.cmykLine.reset(new uint8_t[uint64_t(w) * 4]);
        JSAMPROW row = err.cmykLine.get();
        while (cinfo.output_scanline < cinfo.output_height) {
            const JDIMENSION y = cinfo.output_scanline;
            jpeg_read_scanlines(&cinfo, &row, 1);
            cmykToRgb(row, out.rgb.get() + y * rowBytes, w, cinfo.saw_Adobe_marker);
        }
    } else {
        JSAMPROW rows[16];
        while (cinfo.output_scanline < cinfo.output_height) {
            const JDIMENSION y = cinfo.output_scanline;
            const JDIMENSION want = std::min<JDIMENSION>(16, cinfo.output_height - y);
            for (JDIMENSION i = 0; i < want; ++i) rows[i] = out.rgb.get() + (y + i) * rowBytes;
            jpeg_read_scanlines(&cinfo, rows, want);
        }
    }
    jpeg_finish_decompress(&cinfo);
    return JpegResult::Ok;
}

}  // namespace

JpegResult decodeJpeg(const uint8_t* data, size_t n, int scaleDenominator,
                      const std::function<bool(int32_t, int32_t)>& accept, DecodedJpeg& out, std::string& why)
{
    out = DecodedJpeg{};
    if (n < 3 || data[0] != 0xFF || data[1] != 0xD8) return JpegResult::NotJpeg;
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = errorExit;
    err.pub.emit_message = emitMessage;
    err.pub.output_message = silent;
    const JpegResult r = decode(cinfo, err, data, n, scaleDenominator, accept, out);
    jpeg_destroy_decompress(&cinfo);
    if (r != JpegResult::Ok) {
        out = DecodedJpeg{};
        why = err.text;
    }
    return r;
}

}  // namespace orx
