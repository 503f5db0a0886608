// Scans from SANE's test backend through orxsim, against scanimage's own
// pictures of the same scans. The test backend now and then hangs at the
// end of a scan or on a cancel (scanimage too), so every scan runs under a
// time limit and is tried once more when it hangs.
#include <csignal>
#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

#include "support/pictureFixtures.h"
#include "support/testSupport.h"
#include "workspace/pictureFile.h"

namespace orx {
namespace {

using test::TempDir;

constexpr int kTimeoutStatus = 124;  // timeout(1)'s status for a command it stopped

// A SANE configuration that knows only the test backend.
struct TestBackend {
    TempDir dir;
    TestBackend()
    {
        std::ofstream(dir.path("dll.conf")) << "test\n";
        std::ofstream(dir.path("test.conf")) << "";
    }
    std::string env() const { return "SANE_CONFIG_DIR=" + test::quoted(dir.dir().string()) + " "; }
};

struct ScanRun {
    int status = -1;
    std::vector<uint8_t> out;
    std::string err;
};

ScanRun runOnce(const TestBackend& b, const std::string& command)
{
    ScanRun r;
    bool ok = false;
    const std::string errFile = b.dir.path("stderr.txt");
    r.out = test::runCommand(b.env() + "timeout -s KILL 30 " + command + " 2>" + test::quoted(errFile) +
                                 "; echo \" $?\" >" + test::quoted(b.dir.path("status.txt")),
                             ok);
    const auto err = test::readFileBytes(errFile);
    r.err.assign(err.begin(), err.end());
    const auto status = test::readFileBytes(b.dir.path("status.txt"));
    r.status = std::atoi(std::string(status.begin(), status.end()).c_str());
    return r;
}

// Killed by the time limit: status 128 + 9 from the shell.
ScanRun runScan(const TestBackend& b, const std::string& command)
{
    ScanRun r = runOnce(b, command);
    if (r.status == 128 + SIGKILL || r.status == kTimeoutStatus) r = runOnce(b, command);
    return r;
}

// scanimage's PNM (P4, P5, P6; 8 or 16 bits) as 8-bit R, G, B.
test::Pixels readPnm(const std::vector<uint8_t>& b)
{
    size_t i = 0;
    auto token = [&]() {
        std::string t;
        while (i < b.size()) {
            if (b[i] == '#') {
                while (i < b.size() && b[i] != '\n') ++i;
            } else if (std::isspace(b[i])) {
                if (!t.empty()) break;
                ++i;
            } else {
                t += char(b[i++]);
            }
        }
        return t;
    };
    test::Pixels p;
    const std::string kind = token();
    p.width = std::atoi(token().c_str());
    p.height = std::atoi(token().c_str());
    const int maxval = kind == "P4" ? 1 : std::atoi(token().c_str());
    ++i;  // the one white-space byte before the samples
    const size_t n = size_t(p.width) * p.height;
    for (size_t k = 0; k < n; ++k) {
        const size_t x = k % p.width, y = k / p.width;
        if (kind == "P4") {
            const size_t row = (p.width + 7) / 8;
            const bool black = b[i + y * row + x / 8] & (0x80 >> (x % 8));
            p.rgb.insert(p.rgb.end(), 3, black ? 0 : 255);
            continue;
        }
        const int channels = kind == "P6" ? 3 : 1;
        for (int c = 0; c < 3; ++c) {
            const size_t s = k * channels + (channels == 3 ? c : 0);
            const unsigned v = maxval > 255 ? (b[i + 2 * s] << 8 | b[i + 2 * s + 1]) : b[i + s];
            p.rgb.push_back(uint8_t(maxval > 255 ? (v + 128) / 257 : v));
        }
    }
    return p;
}

test::Pixels readOurs(const std::string& path)
{
    test::TestWorkspace t;
    test::Pixels p;
    if (!openPictureImage(t.ws, path)) return p;
    p.width = t.ws.imageWidth;
    p.height = t.ws.imageHeight;
    p.rgb.assign(t.ws.image, t.ws.image + imageBytes(t.ws));
    return p;
}

const std::string kOrxsim = ORXSIM_PATH;
const std::string kPattern = " --test-picture 'Color pattern' -x 200 -y 200 --resolution 100";

TEST(SaneScan, ScansMatchScanimageInEveryFormTheBackendSends)
{
    TestBackend b;
    const test::Pixels plain = readPnm(runScan(b, "scanimage -d test:0 --mode Color" + kPattern).out);
    ASSERT_GT(plain.width, 700);
    test::Pixels cropped{plain.width - 7, plain.height, {}};
    for (int32_t y = 0; y < plain.height; ++y)
        cropped.rgb.insert(cropped.rgb.end(), plain.rgb.begin() + size_t(y) * plain.width * 3,
                           plain.rgb.begin() + (size_t(y) * plain.width + cropped.width) * 3);

    struct Case {
        const char* what;
        std::string orxsimOptions;
        std::string scanimageOptions;   // empty: the picture is `expected`
        const test::Pixels* expected = nullptr;
    } cases[] = {
        {"colour", "", "--mode Color"},
        {"grey", "--option mode=Gray", "--mode Gray"},
        {"16 bits", "--option depth=16", "--mode Color --depth 16"},
        {"line art", "--option mode=Gray --option depth=1", "--mode Gray --depth 1"},
        {"three frames", "--option three-pass=yes --option three-pass-order=GBR", "", &plain},
        {"hand scanner", "--option hand-scanner=yes", "--mode Color --hand-scanner=yes"},
        // scanimage writes these lines with their lost pixels; the picture is the plain scan, cropped.
        {"lines with lost pixels", "--option ppl-loss=7", "", &cropped},
    };
    for (const Case& c : cases) {
        const std::string out = b.dir.path("scan.bmp");
        std::remove(out.c_str());
        const ScanRun r = runScan(b, kOrxsim + " scan --device test:0 --resolution 100 --option 'test-picture=Color pattern' " +
                                     c.orxsimOptions + " -o " + test::quoted(out));
        ASSERT_EQ(r.status, 0) << c.what << ": " << r.err;
        const test::Pixels ours = readOurs(out);
        const test::Pixels theirs =
            c.expected ? *c.expected : readPnm(runScan(b, "scanimage -d test:0 " + c.scanimageOptions + kPattern).out);
        ASSERT_GT(theirs.width, 0) << c.what;
        EXPECT_EQ(ours.width, theirs.width) << c.what;
        EXPECT_EQ(ours.height, theirs.height) << c.what;
        EXPECT_TRUE(ours.rgb == theirs.rgb) << c.what;
    }

    // Grey and black-and-white made from the colour scan, in tenths.
    for (const char* as : {"grey", "bw"}) {
        const std::string out = b.dir.path(std::string(as) + ".bmp");
        const ScanRun r = runScan(b, kOrxsim + " scan --device test:0 --resolution 100 --option 'test-picture=Color pattern'" +
                                     " --as " + as + " -o " + test::quoted(out));
        ASSERT_EQ(r.status, 0) << as << ": " << r.err;
        const test::Pixels ours = readOurs(out);
        ASSERT_EQ(ours.rgb.size(), plain.rgb.size()) << as;
        bool same = true;
        for (size_t i = 0; i < plain.rgb.size() && same; i += 3) {
            const int tenths = 3 * plain.rgb[i] + 6 * plain.rgb[i + 1] + plain.rgb[i + 2];
            const int want = as[0] == 'g' ? tenths / 10 : (tenths > 1280 ? 255 : 0);
            same = ours.rgb[i] == want && ours.rgb[i + 1] == want && ours.rgb[i + 2] == want;
        }
        EXPECT_TRUE(same) << as;
    }
}

TEST(SaneScan, ScannerErrorsAreSaidInTheScannersWords)
{
    TestBackend b;
    struct Case {
        const char* status;
        const char* says;
    } cases[] = {
        {"SANE_STATUS_JAMMED", "jammed"},
        {"SANE_STATUS_NO_DOCS", "out of documents"},
        {"SANE_STATUS_COVER_OPEN", "cover is open"},
        {"SANE_STATUS_IO_ERROR", "I/O"},
    };
    const std::string out = b.dir.path("never.png");
    for (const Case& c : cases) {
        const ScanRun r = runScan(b, kOrxsim + " scan --device test:0 --resolution 50 --option read-return-value=" +
                                     c.status + " -o " + test::quoted(out));
        EXPECT_EQ(r.status, 1) << c.status;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.status << ": " << r.err;
        EXPECT_FALSE(fileExists(out)) << c.status;
    }
    const ScanRun missing = runScan(b, kOrxsim + " scan --device test:7 -o " + test::quoted(out));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("can not open the scanner test:7"), std::string::npos) << missing.err;
    const ScanRun badOption = runScan(b, kOrxsim + " scan --device test:0 --option no-such=1 -o " + test::quoted(out));
    EXPECT_EQ(badOption.status, 1);
    EXPECT_NE(badOption.err.find("no option no-such"), std::string::npos) << badOption.err;

    const ScanRun list = runScan(b, kOrxsim + " scan --list --json");
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(std::string(list.out.begin(), list.out.end()).find("\"name\": \"test:0\""), std::string::npos);
}

TEST(SaneScan, CancelStopsASlowScan)
{
    TestBackend b;
    const std::string out = b.dir.path("slow.png");
    // A scan that takes minutes; Ctrl-C half a second in.
    const ScanRun r = runScan(b, "sh -c '" + kOrxsim + " scan --device test:0 --resolution 300 --option read-delay=yes" +
                                 " --option read-delay-duration=200000 --option read-limit=yes --option read-limit-size=1000 -o " +
                                 out + " & pid=$!; sleep 0.5; kill -INT $pid; wait $pid'");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("cancelled"), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(out));
}

}  // namespace
}  // namespace orx
