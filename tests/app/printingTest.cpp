// Printing through macros into PDF files, read back with poppler's tools:
// the placement on the rendered page, the pixels of the embedded bands, the
// marked white corner, Cancel, a file that can not be written, and the
// planes left as they were.
// The preview's page against the image.
#include <QImage>
#include <QPainter>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "app/commandIds.h"
#include "app/printing.h"
#include "studioFixture.h"
#include "workspace/printLayout.h"

namespace orx {
namespace {

using namespace orx::app;
using test::MacroFixture;

// A binary PPM (P6, maxval 255) as width, height and RGB bytes.
struct Ppm {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* at(int32_t x, int32_t y) const { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

bool readPpm(const std::string& path, Ppm& ppm)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int max = 0;
    if (!(in >> magic >> ppm.width >> ppm.height >> max) || magic != "P6" || max != 255) return false;
    in.get();
    ppm.rgb.resize(size_t(ppm.width) * size_t(ppm.height) * 3);
    return bool(in.read(reinterpret_cast<char*>(ppm.rgb.data()), std::streamsize(ppm.rgb.size())));
}

int run(const std::string& command) { return std::system(command.c_str()); }

int32_t pdfFiles(const std::string& dir)
{
    int32_t n = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) n += e.path().extension() == ".pdf";
    return n;
}

bool white(const uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }

std::string printMacro(int32_t type, const std::string& pdf, const char* command = "57607")
{
    return "answer print " + std::to_string(type) + "\nanswer printer pdf " + pdf + " 8x11in\ncommand " + command +
           "\n";
}

// 800 x 600 on an 8 x 11 in page at 600 dpi (4800 x 6600 pixels): type 5 at
// (0, 1500) 4800 x 3600, type 4 1:1 at (2000, 3000).
TEST(Printing, PdfPagesPlaceTheImageAndCarryItsPixels)
{
    MacroFixture f;
    test::fillPattern(f.ws, 800, 600);
    f.ws.image[0] = f.ws.image[1] = f.ws.image[2] = 255;
    std::memset(f.ws.secondImage, 0x5A, imageBytes(f.ws));
    std::memset(f.ws.mask, 0x21, pixelCount(f.ws));
    const std::vector<uint8_t> image = f.image();
    const std::string dir = f.s.dir.dir().string();

    ASSERT_EQ(f.play(printMacro(5, "p5.pdf") + printMacro(4, "p4.pdf")), "");
    EXPECT_EQ(f.ws.printType, 4) << "the type is kept for the next print";
    for (size_t i = 0; i < pixelCount(f.ws); ++i) ASSERT_EQ(f.ws.mask[i], 0x21) << "the mask changed at " << i;
    for (size_t i = 0; i < imageBytes(f.ws); ++i) ASSERT_EQ(f.ws.secondImage[i], 0x5A) << "secondImage changed";
    EXPECT_TRUE(f.image() == image);

    // The pages rendered at 60 dpi: a tenth of the printer's pixels. Poppler
    // spreads an image by part of a pixel past its far edges.
    struct Placement {
        const char* pdf;
        int32_t x0, y0, x1, y1;  // the image on the 480 x 660 page, half-open
    };
    for (const Placement& p : {Placement{"p5", 0, 150, 480, 510}, Placement{"p4", 200, 300, 280, 360}}) {
        ASSERT_EQ(run("cd " + dir + " && pdftoppm -r 60 " + p.pdf + ".pdf " + p.pdf), 0);
        Ppm page;
        ASSERT_TRUE(readPpm(dir + "/" + p.pdf + "-1.ppm", page)) << p.pdf;
        ASSERT_EQ(page.width, 480);
        ASSERT_EQ(page.height, 660);
        int32_t x0 = page.width, y0 = page.height, x1 = 0, y1 = 0;
        for (int32_t y = 0; y < page.height; ++y)
            for (int32_t x = 0; x < page.width; ++x)
                if (!white(page.at(x, y))) {
                    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x + 1), y1 = std::max(y1, y + 1);
                }
        EXPECT_EQ(x0, p.x0) << p.pdf;
        EXPECT_EQ(y0, p.y0) << p.pdf;
        EXPECT_TRUE(x1 == p.x1 || x1 == p.x1 + 1) << p.pdf << " ends at x " << x1;
        EXPECT_TRUE(y1 == p.y1 || y1 == p.y1 + 1) << p.pdf << " ends at y " << y1;
    }

    // Type 5's bands, losslessly compressed, each at most 8 MB, hold the
    // image stretched by whole pixels; the first pixel is (253, 254, 255).
    ASSERT_EQ(run("cd " + dir + " && pdfimages -list p5.pdf > list.txt && pdfimages p5.pdf band"), 0);
    std::ifstream list(dir + "/list.txt");
    std::string line;
    std::getline(list, line), std::getline(list, line);
    int32_t bands = 0;
    while (std::getline(list, line)) {
        std::istringstream row(line);
        std::string page, num, kind, w, h, colour, comp, bpc, enc;
        row >> page >> num >> kind >> w >> h >> colour >> comp >> bpc >> enc;
        EXPECT_EQ(enc, "image") << line;
        EXPECT_LE(std::stoll(w) * std::stoll(h) * 3, 8ll << 20) << line;
        ++bands;
    }
    ASSERT_GT(bands, 1);
    int32_t top = 0;
    for (int32_t b = 0; b < bands; ++b) {
        char name[32];
        std::snprintf(name, sizeof name, "/band-%03d.ppm", b);
        Ppm band;
        ASSERT_TRUE(readPpm(dir + name, band)) << name;
        ASSERT_EQ(band.width, 4800);
        for (int32_t y = 0; y < band.height; y += 7)
            for (int32_t x = 0; x < band.width; x += 5) {
                const int32_t ix = x / 6, iy = (top + y) / 6;
                const uint8_t* want = ix == 0 && iy == 0 ? (const uint8_t*)"\xFD\xFE\xFF" : &image[(size_t(iy) * 800 + ix) * 3];
                ASSERT_EQ(std::vector<uint8_t>(band.at(x, y), band.at(x, y) + 3), std::vector<uint8_t>(want, want + 3))
                    << "page " << x << "," << top + y;
            }
        top += band.height;
    }
    EXPECT_EQ(top, 3600);
}

TEST(Printing, CancelUnwritableFilesAndNoImage)
{
    MacroFixture f;
    const std::string dir = f.s.dir.dir().string();
    // Cancel in either dialog prints nothing; the type chosen before Cancel stays.
    EXPECT_EQ(f.play("answer cancel\ncommand 57607\nanswer print 2\nanswer cancel\ncommand 57607\n"), "");
    EXPECT_EQ(f.ws.printType, 2);
    EXPECT_EQ(pdfFiles(dir), 0);
    // A PDF that can not be started says so and leaves nothing behind.
    const std::string bad = dir + "/none/x.pdf";
    EXPECT_EQ(f.play("expect message Can not open " + bad + " file.\n" + printMacro(1, bad)), "");
    std::filesystem::create_directory(dir + "/none");
    std::filesystem::permissions(dir + "/none", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::geteuid() != 0) {
        EXPECT_EQ(f.play("expect message Can not open " + bad + " file.\n" + printMacro(1, bad)), "");
    }
    EXPECT_EQ(pdfFiles(dir), 0);
    // The preview prints what the person chose there; Cancel closes it.
    EXPECT_EQ(f.play(printMacro(1, "preview.pdf", "57609") + "answer print 5\nanswer cancel\ncommand 57609\n"), "");
    EXPECT_TRUE(std::filesystem::exists(dir + "/preview.pdf"));
    EXPECT_EQ(f.ws.printType, 5);
    // Printing directly uses the type kept and the default printer (here a file).
    EXPECT_EQ(f.play("answer printer pdf direct.pdf a4\ncommand 57608\n"), "");
    EXPECT_TRUE(std::filesystem::exists(dir + "/direct.pdf"));
    // No picture, no printing.
    f.ws.imageLoaded = 0;
    f.s.frame->refreshCommandStates();
    for (const char* id : {"57607", "57608", "57609"})
        EXPECT_EQ(f.play(std::string("command ") + id + "\n"), std::string("line 1: command ") + id + " is disabled");
}

// The preview draws the page from fewer pixels: every previewed pixel is an
// image pixel next to the one the printed page has there, and the paper
// around the image stays white.
TEST(Printing, PreviewShowsThePrintedPage)
{
    test::TestWorkspace t;
    test::fillPattern(t.ws, 800, 600);
    const int32_t pageW = 2400, pageH = 3300;
    // Type 5 prints the image 3:1 at (0, 750) on this page.
    QImage preview(pageW, pageH, QImage::Format_RGB888);
    preview.fill(Qt::white);
    {
        QPainter painter(&preview);
        paintPreviewPage(t.ws, painter, PrintFittedCentred);
    }
    auto image = [&](int32_t x, int32_t y) { return t.ws.image + (size_t(y) * 800 + size_t(x)) * 3; };
    for (int32_t y = 10; y < pageH; y += 97)
        for (int32_t x = 10; x < pageW; x += 89) {
            const uint8_t* p = preview.constScanLine(y) + x * 3;
            const bool onImage = y >= 750 && y < 2550;
            if (!onImage) {
                EXPECT_TRUE(white(p)) << x << "," << y;
                continue;
            }
            bool near = false;
            for (int32_t dy = -1; dy <= 1; ++dy)
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    const int32_t ix = std::clamp(x / 3 + dx, 0, 799), iy = std::clamp((y - 750) / 3 + dy, 0, 599);
                    near = near || std::memcmp(p, image(ix, iy), 3) == 0;
                }
            EXPECT_TRUE(near) << x << "," << y;
        }
}

}  // namespace
}  // namespace orx
