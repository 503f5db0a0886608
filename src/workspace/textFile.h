// Text files the program shows and edits by hand (ORX and MMP scripts).
//
// A file is read as UTF-8, or as Big5 (the traditional Chinese code page
// older files were written in) when it is not valid UTF-8, and written back
// in the encoding it came in, each line ended by CR LF. Lines are kept
// whole whatever their length.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orx {

constexpr uint64_t kTextFileMaxBytes = 1u << 20;

enum class TextEncoding { Utf8, Big5 };

enum class TextRead {
    Ok,
    Missing,     // no such file (an empty text)
    TooLarge,    // over kTextFileMaxBytes
    NotText,     // NUL bytes, or neither UTF-8 nor Big5
    Unreadable,  // there, but it cannot be read
};

struct TextDocument {
    std::vector<std::string> lines;  // UTF-8, without their ends
    TextEncoding encoding = TextEncoding::Utf8;
};

// The file's lines: each ends at CR LF, LF or CR; a last line without an
// end is a line too.
TextRead readTextFile(const std::string& path, TextDocument& doc);

// The lines of an edit field's text (split at LF; a CR before it goes).
std::vector<std::string> linesOfText(const std::string& text);
// The text an edit field shows: every line followed by a line break.
std::string textOfLines(const std::vector<std::string>& lines);

enum class TextWrite { Ok, CannotWrite, NotInEncoding };

// Writes every line but the last with CR LF, and the last too when it is
// not empty (an edit field's text ends with an empty line after its last
// break). Atomic: a failure leaves the old file as it was.
TextWrite writeTextFile(const std::string& path, const std::vector<std::string>& lines, TextEncoding encoding);

}  // namespace orx
