// The scan dialog against SANE's test backend: Start Scan without a device
// asks for one first, a scan is saved as colour, grey and black-and-white
// RGB and handed over with To Screen, Cancel frees the dialog, and the
// commands around it. The backend now and then hangs at a scan's end, so a
// scan waits under a time limit and is tried once more after a hang.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "app/commandTable.h"
#include "app/scanDialog.h"
#include "studioFixture.h"
#include "workspace/nativeFile.h"

namespace orx {
namespace {

using namespace orx::app;

constexpr int kScanLimitMs = 20000;

// SANE reads its configuration once a process: only the test backend.
struct TestBackend {
    test::TempDir dir;
    TestBackend()
    {
        std::ofstream(dir.path("dll.conf")) << "test\n";
        std::ofstream(dir.path("test.conf")) << "";
        ::setenv("SANE_CONFIG_DIR", dir.dir().c_str(), 1);
    }
};

// Clicks a button that starts a scan and waits for its end; a hang is
// cancelled and the click made once more. The status the scan ended with.
int scanBy(ScanDialog& d, ScanDialog::Button b)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        QSignalSpy ended(&d, &ScanDialog::scanEnded);
        d.button(b)->click();
        if (QTest::qWaitFor([&] { return ended.count() > 0; }, kScanLimitMs)) return ended.at(0).at(0).toInt();
        d.cancelScan();
        if (!QTest::qWaitFor([&] { return ended.count() > 0; }, 5000)) return -1;
    }
    return -1;
}

void lowResolution(ScanDialog& d, double dpi)
{
    const int i = d.resolution()->findData(dpi);
    ASSERT_GE(i, 0) << dpi;
    d.resolution()->setCurrentIndex(i);
}

TEST(ScanDialog, StartScanWithoutADeviceAsksForOneThenSavesAndHandsOver)
{
    TestBackend backend;
    test::StudioFixture f;
    ScanDialog d(f.studio, nullptr);
    d.show();
    for (auto b : {ScanDialog::SaveColour, ScanDialog::SaveGrey, ScanDialog::SaveBlackWhite, ScanDialog::ToScreen,
                   ScanDialog::Preview, ScanDialog::CancelScan})
        EXPECT_FALSE(d.button(b)->isEnabled()) << b;
    EXPECT_EQ(d.button(ScanDialog::StartScan)->text(), "Start Scan");

    QSignalSpy listed(&d, &ScanDialog::devicesListed);
    QSignalSpy opened(&d, &ScanDialog::deviceOpened);
    QSignalSpy ended(&d, &ScanDialog::scanEnded);
    f.studio.lastScanner = "test:1";
    d.button(ScanDialog::StartScan)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.count() > 0; }, kScanLimitMs));
    EXPECT_EQ(listed.count(), 1);
    EXPECT_GE(d.devices()->count(), 2);
    EXPECT_EQ(d.device(), "test:1");  // the last one used comes first
    EXPECT_TRUE(d.scannerSelected());
    // The scan the click asked for runs by itself; the default is 300 dpi
    // over the whole bed.
    EXPECT_EQ(d.resolution()->currentData().toDouble(), 300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() > 0 || !d.scanning(); }, kScanLimitMs));
    d.cancelScan();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !d.scanning(); }, 5000));

    // A small scan of the colour pattern.
    std::string why;
    ASSERT_TRUE(d.scanner()->setOption("test-picture", "Color pattern", why)) << why;
    lowResolution(d, 50);
    d.areaBox(2)->setValue(40);
    d.areaBox(3)->setValue(30);
    ASSERT_EQ(scanBy(d, ScanDialog::StartScan), int(ScanStatus::Ok));
    const ScanImage& shown = d.picture();
    EXPECT_NEAR(shown.width, 79, 1);   // 40 mm at 50 dpi
    EXPECT_NEAR(shown.height, 59, 1);
    EXPECT_TRUE(d.button(ScanDialog::ToScreen)->isEnabled());

    struct Save {
        ScanDialog::Button button;
        ScanTone tone;
        const char* name;
    };
    for (const Save& s : {Save{ScanDialog::SaveColour, ScanTone::Colour, "colour"},
                          Save{ScanDialog::SaveGrey, ScanTone::Grey, "grey"},
                          Save{ScanDialog::SaveBlackWhite, ScanTone::BlackWhite, "bw"}}) {
        f.t.platform.files.push_back(f.dir.path(s.name));
        d.button(s.button)->click();
        test::TestWorkspace back;
        ASSERT_TRUE(loadRGB(back.ws, f.dir.path(s.name) + ".RGB", back.ws.image)) << s.name;
        ScanImage expected = shown;
        applyScanTone(expected, s.tone);
        EXPECT_EQ(back.ws.imageWidth, shown.width);
        EXPECT_EQ(0, std::memcmp(back.ws.image, expected.rgb.data(), expected.rgb.size())) << s.name;
    }
    d.button(ScanDialog::ToScreen)->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    const ScanImage taken = d.takePicture();
    EXPECT_EQ(taken.width, shown.width);
}

TEST(ScanDialog, CancelStopsASlowScanAndKeepsThePictureShown)
{
    TestBackend backend;
    test::StudioFixture f;
    ScanDialog d(f.studio, nullptr);
    QSignalSpy opened(&d, &ScanDialog::deviceOpened);
    d.selectDevice();
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.count() > 0; }, kScanLimitMs));
    lowResolution(d, 50);
    d.areaBox(2)->setValue(20);
    d.areaBox(3)->setValue(20);
    ASSERT_EQ(scanBy(d, ScanDialog::StartScan), int(ScanStatus::Ok));
    const int32_t width = d.picture().width;

    std::string why;
    // A kilobyte each 0.2 s: the whole bed would take a minute and a half.
    for (auto [name, value] : {std::pair{"read-limit", "yes"}, {"read-limit-size", "1024"}, {"read-delay", "yes"},
                               {"read-delay-duration", "200000"}})
        ASSERT_TRUE(d.scanner()->setOption(name, value, why)) << name << ": " << why;
    d.areaBox(2)->setValue(200);
    d.areaBox(3)->setValue(200);
    QSignalSpy ended(&d, &ScanDialog::scanEnded);
    d.button(ScanDialog::StartScan)->click();
    EXPECT_TRUE(d.scanning());
    EXPECT_TRUE(d.button(ScanDialog::CancelScan)->isEnabled());
    EXPECT_FALSE(d.button(ScanDialog::ToScreen)->isEnabled());
    QTest::qWait(300);
    d.button(ScanDialog::CancelScan)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() > 0; }, 5000));
    EXPECT_EQ(ended.at(0).at(0).toInt(), int(ScanStatus::Cancelled));
    EXPECT_FALSE(d.scanning());
    EXPECT_EQ(d.picture().width, width);
    EXPECT_TRUE(d.button(ScanDialog::ToScreen)->isEnabled());
}

TEST(ScanCommand, ToScreenEndsLikeAnImport)
{
    test::StudioFixture f;
    f.ws.rgbUndoCount = 2;
    f.frame->scanAnswers.push_back({});  // closed without To Screen
    EXPECT_TRUE(f.run(IdScan));
    EXPECT_EQ(f.ws.imageLoaded, 0);
    ScannedPicture scan{std::vector<uint8_t>(4 * 3 * 3, 77), 4, 3, "test:0", 50};
    f.frame->scanAnswers.push_back(scan);
    EXPECT_TRUE(f.run(IdScan));
    EXPECT_EQ(f.ws.imageLoaded, 1);
    EXPECT_EQ(f.ws.imageWidth, 4);
    EXPECT_EQ(f.ws.image[35], 77);
    EXPECT_EQ(f.ws.rgbUndoCount, 0);
    // Larger than the image block: said, and the image stays.
    f.ws.planeCapacity = 11;
    f.frame->scanAnswers.push_back(scan);
    EXPECT_TRUE(f.run(IdScan));
    EXPECT_TRUE(f.t.platform.said("RAM too small"));
    EXPECT_EQ(f.ws.imageWidth, 4);
}

}  // namespace
}  // namespace orx
