// Text files for the editor: line ends, long lines, encodings, refusals.
#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/textFile.h"

namespace orx {
namespace {

using test::TempDir;

std::vector<uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

// A file read into the editor and saved back unchanged.
std::string roundTrip(const TempDir& dir, const std::string& content, TextDocument& doc)
{
    const std::string path = dir.path("T.MMP");
    test::writeFileBytes(path, bytesOf(content));
    EXPECT_EQ(readTextFile(path, doc), TextRead::Ok);
    // What the edit field shows comes back as the same lines.
    EXPECT_EQ(writeTextFile(path, linesOfText(textOfLines(doc.lines)), doc.encoding), TextWrite::Ok);
    const std::vector<uint8_t> out = test::readFileBytes(path);
    return {out.begin(), out.end()};
}

TEST(TextFile, RoundTripsEndInCrLf)
{
    TempDir dir;
    const std::string longLine(300, 'x');
    struct Case {
        std::string in, out;
        size_t lines;
    };
    const Case cases[] = {
        {"A.MDL\r\nDELAY 2\r\n", "A.MDL\r\nDELAY 2\r\n", 2},
        {"A.MDL\nDELAY 2\n", "A.MDL\r\nDELAY 2\r\n", 2},
        {"A.MDL\rDELAY 2\r", "A.MDL\r\nDELAY 2\r\n", 2},
        {"A.MDL\n\nREPEAT", "A.MDL\r\n\r\nREPEAT\r\n", 3},  // an unended last line is kept, and ended
        {longLine + "\r\n" + longLine + "\n", longLine + "\r\n" + longLine + "\r\n", 2},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        TextDocument doc;
        EXPECT_EQ(roundTrip(dir, c.in, doc), c.out) << c.in;
        EXPECT_EQ(doc.lines.size(), c.lines) << c.in;
        EXPECT_EQ(doc.encoding, TextEncoding::Utf8);
    }
}

TEST(TextFile, Big5ComesBackAsBig5)
{
    TempDir dir;
    const std::string big5 = "\xA4\xA4\xA4\xE5.CLO\r\n";  // the two characters of "Chinese" in Big5
    TextDocument doc;
    EXPECT_EQ(roundTrip(dir, big5, doc), big5);
    EXPECT_EQ(doc.encoding, TextEncoding::Big5);
    EXPECT_EQ(doc.lines[0], "\xE4\xB8\xAD\xE6\x96\x87.CLO");  // shown as UTF-8
    // A character Big5 has no form for: refused, the file as it was.
    const std::string path = dir.path("T.MMP");
    EXPECT_EQ(writeTextFile(path, {"\xF0\x9F\x98\x80"}, TextEncoding::Big5), TextWrite::NotInEncoding);
    EXPECT_EQ(test::readFileBytes(path), bytesOf(big5));
    EXPECT_EQ(writeTextFile(path, {"\xF0\x9F\x98\x80", ""}, TextEncoding::Utf8), TextWrite::Ok);
    EXPECT_EQ(test::readFileBytes(path), bytesOf("\xF0\x9F\x98\x80\r\n"));
}

TEST(TextFile, Refusals)
{
    TempDir dir;
    TextDocument doc;
    doc.lines = {"kept"};
    EXPECT_EQ(readTextFile(dir.path("none.MMP"), doc), TextRead::Missing);
    test::writeFileBytes(dir.path("nul.MMP"), bytesOf(std::string("A.MDL\0\r\n", 8)));
    EXPECT_EQ(readTextFile(dir.path("nul.MMP"), doc), TextRead::NotText);
    test::writeFileBytes(dir.path("big.MMP"), std::vector<uint8_t>(kTextFileMaxBytes + 1, 'a'));
    EXPECT_EQ(readTextFile(dir.path("big.MMP"), doc), TextRead::TooLarge);
    test::writeFileBytes(dir.path("bin.MMP"), {0xFF, 0xFF, 0x0D, 0x0A});  // neither UTF-8 nor Big5
    EXPECT_EQ(readTextFile(dir.path("bin.MMP"), doc), TextRead::NotText);
    EXPECT_EQ(doc.lines, std::vector<std::string>{"kept"}) << "a refusal leaves the document alone";
    EXPECT_EQ(writeTextFile(dir.path("no/such/folder.MMP"), {"x"}, TextEncoding::Utf8), TextWrite::CannotWrite);
}

}  // namespace
}  // namespace orx
