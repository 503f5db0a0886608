// Text files: encodings, lines, and the atomic write.
#include "textFile.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

#include "fileIo.h"

namespace orx {

namespace {

constexpr char kBig5[] = "BIG5";

bool validUtf8(const std::string& s)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const unsigned char* end = p + s.size();
    while (p < end) {
        const unsigned c = *p;
        int more = 0;
        uint32_t cp = 0, least = 0;
        if (c < 0x80) {
            ++p;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            more = 1, cp = c & 0x1F, least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2, cp = c & 0x0F, least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3, cp = c & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (end - p <= more) return false;
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            cp = cp << 6 | (p[i] & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        p += more + 1;
    }
    return true;
}

// Converts between encodings with iconv; false when a character has no
// form in the target or the input is not of its encoding.
bool convert(const char* to, const char* from, const std::string& in, std::string& out)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) return false;
    out.assign(in.size() * 2 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    bool ok = true;
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1)) continue;
        if (errno != E2BIG) {
            ok = false;
            break;
        }
        const size_t used = size_t(dst - out.data());
        out.resize(out.size() * 2);
        dst = out.data() + used;
        dstLeft = out.size() - used;
    }
    iconv_close(cd);
    out.resize(size_t(dst - out.data()));
    return ok;
}

}  // namespace

TextRead readTextFile(const std::string& path, TextDocument& doc)
{
    const int64_t size = fileSize(path);
    if (size < 0) return fileExists(path) ? TextRead::Unreadable : TextRead::Missing;
    if (uint64_t(size) > kTextFileMaxBytes) return TextRead::TooLarge;
    std::vector<uint8_t> bytes;
    if (!readWholeFile(localFiles(), path, kTextFileMaxBytes, bytes)) return TextRead::Unreadable;
    std::string text(bytes.begin(), bytes.end());
    if (text.find('\0') != std::string::npos) return TextRead::NotText;
    TextDocument read;
    if (!validUtf8(text)) {
        std::string utf8;
        if (!convert("UTF-8", kBig5, text, utf8)) return TextRead::NotText;
        text.swap(utf8);
        read.encoding = TextEncoding::Big5;
    }
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        read.lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) read.lines.push_back(std::move(line));
    doc = std::move(read);
    return TextRead::Ok;
}

std::vector<std::string> linesOfText(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

std::string textOfLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    return text;
}

TextWrite writeTextFile(const std::string& path, const std::vector<std::string>& lines, TextEncoding encoding)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
        if (i + 1 < lines.size() || !lines[i].empty()) text += lines[i] + "\r\n";
    if (encoding == TextEncoding::Big5) {
        std::string big5;
        if (!convert(kBig5, "UTF-8", text, big5)) return TextWrite::NotInEncoding;
        text.swap(big5);
    }
    return writeFileAtomically(path, text.data(), text.size()) ? TextWrite::Ok : TextWrite::CannotWrite;
}

}  // namespace orx
