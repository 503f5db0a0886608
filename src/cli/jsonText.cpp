// Text as a JSON string. Names come from servers and disks in any
// encoding: valid UTF-8 passes as it is, and every byte that is not part of
// a valid sequence is read as Latin-1 and written as \u00XX, so the output
// always parses and no name is lost.
#include <cstdint>
#include <cstdio>
#include <string>

#include "cli.h"

namespace orx {

namespace {

// The length of the valid UTF-8 sequence at s[i] (2 to 4), or 0 when the
// bytes there are none: no overlong forms, no surrogates, nothing past
// U+10FFFF.
size_t utf8Sequence(const std::string& s, size_t i)
{
    const auto at = [&](size_t k) { return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0u; };
    const auto follows = [&](size_t k, unsigned lo = 0x80, unsigned hi = 0xBF) {
        const unsigned c = at(k);
        return c >= lo && c <= hi;
    };
    const unsigned c = at(0);
    if (c >= 0xC2 && c <= 0xDF) return follows(1) ? 2 : 0;
    if (c == 0xE0) return follows(1, 0xA0) && follows(2) ? 3 : 0;
    if (c == 0xED) return follows(1, 0x80, 0x9F) && follows(2) ? 3 : 0;
    if (c >= 0xE1 && c <= 0xEF) return follows(1) && follows(2) ? 3 : 0;
    if (c == 0xF0) return follows(1, 0x90) && follows(2) && follows(3) ? 4 : 0;
    if (c >= 0xF1 && c <= 0xF3) return follows(1) && follows(2) && follows(3) ? 4 : 0;
    if (c == 0xF4) return follows(1, 0x80, 0x8F) && follows(2) && follows(3) ? 4 : 0;
    return 0;
}

}  // namespace

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
            ++i;
        } else if (c >= 0x20 && c < 0x80) {
            out += char(c);
            ++i;
        } else if (const size_t n = c >= 0x80 ? utf8Sequence(s, i) : 0) {
            out.append(s, i, n);
            i += n;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", unsigned(c));
            out += buf;
            ++i;
        }
    }
    return out + "\"";
}

}  // namespace orx
