// Show scripts: line kinds, line ends, and the player on a small sample model.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/showScript.h"
#include "engine/simulation.h"
#include "samples/sampleLibrary.h"
#include "support/testSupport.h"
#include "workspace/display.h"
#include "workspace/nativeFile.h"

namespace orx {
namespace {

using test::TempDir;
using test::TestWorkspace;

TEST(ShowLines, KindsAndNumbers)
{
    struct Case {
        const char* line;
        int kind;
        bool present[3];
        int32_t number[3];
    };
    const Case cases[] = {
        {"DELAY 3", ShowDelay, {true, false, false}, {3}},
        {"DELAY 12", ShowDelay, {true, false, false}, {1}},       // one digit only
        {"DELAY x", ShowDelay, {true, false, false}, {0}},        // no digit: no wait
        {"DELAY", ShowDelay, {true, false, false}, {0}},
        {"REPEAT", ShowRepeat, {}, {}},
        {"ZOOM 9 100 50", ShowZoom, {true, true, true}, {9, 100, 50}},
        {"ZOUT 2  -40\t7", ShowZoomOut, {true, true, true}, {2, -40, 7}},
        {"SHIFT -5 3 2", ShowShift, {true, true, true}, {-5, 3, 2}},
        {"SHIFT 10px 3", ShowShift, {true, true, false}, {10, 3}},  // leading digits
        {"ZOOM 2", ShowZoom, {true, false, false}, {2}},
        {"ZOOM - 1 x", ShowZoom, {false, true, false}, {0, 1}},
        {"ZOOM 1 123456789012 -2147483648", ShowZoom, {true, false, true}, {1, 0, INT32_MIN}},  // 12 characters
        {"SHIFT 1 -9999999999 1", ShowShift, {true, false, true}, {1, 0, 1}},  // beyond 32 bits
        {"DELAY 3 DRESS.MDL", ShowModel, {}, {}},  // a file line first
        {"C:\\SHOWS\\A.B.CLO", ShowMaterial, {}, {}},
        {"PHOTO.RGB", ShowImage, {}, {}},
        {"photo.rgb", ShowOther, {}, {}},  // extensions are upper case
        {"zoom 2 1 1", ShowOther, {}, {}},
        {" DELAY 3", ShowOther, {}, {}},
        {"", ShowOther, {}, {}},
    };
    for (const Case& c : cases) {
        const ShowLineInfo info = classifyShowLine(c.line);
        EXPECT_EQ(info.kind, c.kind) << c.line;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(info.present[i], c.present[i]) << c.line << " field " << i;
            if (c.present[i]) {
                EXPECT_EQ(info.number[i], c.number[i]) << c.line << " field " << i;
            }
        }
    }
    // The extension is found anywhere on a long line.
    EXPECT_EQ(classifyShowLine(std::string(3000, 'x') + ".MDL").kind, ShowModel);
}

TEST(ShowLines, EndsAndLengths)
{
    const std::string text = "A\r\nB\nC\rD\r\r\n" + std::string(5000, 'L') + "\nlast";
    const std::vector<std::string> lines = splitShowLines(std::vector<uint8_t>(text.begin(), text.end()));
    ASSERT_EQ(lines.size(), 6u);  // "last" has no end and is not played
    EXPECT_EQ(lines[0], "A");
    EXPECT_EQ(lines[1], "B");
    EXPECT_EQ(lines[2], "C");
    EXPECT_EQ(lines[3], "D");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], std::string(kShowLineBytes, 'L'));
}

// Records what the player shows and holds; a hold polls the platform as a
// window would while it waits.
struct RecordingStage : ShowStage {
    struct Event {
        ShowPicture what;
        int32_t line;
        uint64_t sum;  // of the image after model, material and image lines, else of the display
        int32_t scale, centreX, centreY;
    };
    Workspace& ws;
    std::vector<Event> events;
    std::vector<int32_t> holds;

    explicit RecordingStage(Workspace& w) : ws(w) {}

    static uint64_t sum(const uint8_t* p, uint64_t n)
    {
        uint64_t s = 0;
        for (uint64_t i = 0; i < n; ++i) s = s * 31 + p[i];
        return s;
    }
    void shown(ShowPicture what, int32_t line) override
    {
        const bool picture = what == ShowPicture::Model || what == ShowPicture::Material || what == ShowPicture::Image;
        events.push_back({what, line, picture ? sum(ws.image, imageBytes(ws)) : sum(ws.RS.get(), ws.displayBytes),
                          ws.displayScale16, ws.viewCentreX, ws.viewCentreY});
    }
    bool hold(int32_t seconds) override
    {
        holds.push_back(seconds);
        return !ws.platform->stopRequested();
    }
};

// A 400 x 300 dressed-figure model (four parts) and two materials beside
// the scripts, and an image.
struct ShowFixture : ::testing::Test {
    TempDir dir;
    TestWorkspace t;
    Workspace& ws = t.ws;
    RecordingStage stage{ws};
    ShowFiles diskOnly;
    ShowFiles* files = &diskOnly;

    void SetUp() override
    {
        const std::string d = dir.dir().string();
        ASSERT_TRUE(writeSampleModel(ws, d, "FIG", SampleScene::Dress, 400, 300));
        ASSERT_TRUE(writeSampleMaterial(ws, d, sampleMaterialRecipes()[0]));
        ASSERT_TRUE(writeSampleMaterial(ws, d, sampleMaterialRecipes()[1]));
        test::fillPattern(ws, 120, 80);
        ASSERT_TRUE(saveRGB(ws, dir.path("PIC.RGB")));
        ws.imageLoaded = 0;
        setViewSize(ws, 200, 170);  // a 200 x 150 picture area
    }
    std::string material(int i) const { return std::string(sampleMaterialRecipes()[i].name) + ".CLO"; }
    ShowResult play(const std::string& text, int32_t passes = 0)
    {
        test::writeFileBytes(dir.path("S.MMP"), std::vector<uint8_t>(text.begin(), text.end()));
        return playShowScript(ws, dir.path("S.MMP"), stage, *files, passes);
    }
};

TEST_F(ShowFixture, ModelMaterialDelayRepeat)
{
    const ShowResult r = play("FIG.MDL\r\n" + material(0) + "\r\nDELAY 2\r\nREPEAT\r\nDELAY 9\r\n", 2);
    ASSERT_TRUE(r.opened);
    EXPECT_TRUE(r.failed.empty()) << r.failed.front().second;
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(r.passes, 2);
    EXPECT_EQ(r.linesPlayed, 8);
    ASSERT_EQ(stage.events.size(), 4u);
    EXPECT_EQ(stage.holds, (std::vector<int32_t>{2, 2}));  // never reaches DELAY 9
    EXPECT_EQ(stage.events[0].what, ShowPicture::Model);
    EXPECT_EQ(stage.events[1].what, ShowPicture::Material);
    EXPECT_EQ(stage.events[1].line, 2);
    // The material changes the dress; after REPEAT it stays current, so the
    // model comes back already dressed in it.
    EXPECT_NE(stage.events[0].sum, stage.events[1].sum);
    EXPECT_EQ(stage.events[2].sum, stage.events[1].sum);
    EXPECT_EQ(stage.events[3].sum, stage.events[1].sum);

    // The same as the dressing road gives.
    TestWorkspace other;
    ASSERT_TRUE(loadModelForDressing(other.ws, dir.path("FIG.MDL")));
    other.ws.materialPath = dir.path(material(0));
    ASSERT_EQ(resimulate(other.ws), 1);
    EXPECT_EQ(RecordingStage::sum(other.ws.image, imageBytes(other.ws)), stage.events[1].sum);
    EXPECT_EQ(ws.toolMode, 0);
    EXPECT_EQ(ws.maskVisible, 0);
}

TEST_F(ShowFixture, OddLinesZoomAndShift)
{
    ws.maskVisible = 1;
    const ShowResult r = play("DELAY 3 NONE.MDL\r\n"  // a keyword line naming a model: a model line
                              "photo.rgb\r\n"         // ignored
                              "PIC.RGB\r\n"
                              "DELAY 12\r\n"
                              "ZOOM 9 100 50\r\n"     // keeps the zoom count (0): no step
                              "ZOOM 1 30 20\r\n"
                              "ZOOM\r\n"              // count 1 again, centre kept
                              "SHIFT -5 2 3\r\n"
                              "SHIFT\r\n"             // the same again
                              "ZOUT 2 1000 -1000\r\n"
                              "DELAY 1");             // no line end: not played
    EXPECT_TRUE(r.opened);
    ASSERT_EQ(r.failed.size(), 1u);
    EXPECT_EQ(r.failed[0].first, 1);
    EXPECT_TRUE(t.platform.said("Can not open")) << "the unreadable model is named";
    EXPECT_EQ(r.linesPlayed, 10);
    EXPECT_EQ(stage.holds, (std::vector<int32_t>{1}));

    using P = ShowPicture;
    const std::vector<std::pair<P, int32_t>> kinds = {{P::Image, 3},     {P::Zoom, 5},      {P::Zoom, 6},
                                                      {P::Zoom, 7},      {P::ShiftStep, 8}, {P::ShiftStep, 8},
                                                      {P::ShiftStep, 8}, {P::ShiftStep, 9}, {P::ShiftStep, 9},
                                                      {P::ShiftStep, 9}, {P::ZoomOut, 10}};
    ASSERT_EQ(stage.events.size(), kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(stage.events[i].what, kinds[i].first) << i;
        EXPECT_EQ(stage.events[i].line, kinds[i].second) << i;
    }
    // The 120 x 80 image fits the 200 x 150 picture at 1:1.
    const auto& e = stage.events;
    EXPECT_EQ(e[0].scale, 16);
    EXPECT_EQ(e[1].scale, 16);
    EXPECT_EQ(std::make_pair(e[1].centreX, e[1].centreY), std::make_pair(100, 50));
    EXPECT_EQ(e[2].scale, 8);
    EXPECT_EQ(std::make_pair(e[2].centreX, e[2].centreY), std::make_pair(30, 20));
    EXPECT_EQ(e[3].scale, 4);
    EXPECT_EQ(std::make_pair(e[3].centreX, e[3].centreY), std::make_pair(30, 20));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(e[4 + i].centreX, 25 - 5 * i) << i;
        EXPECT_EQ(e[4 + i].centreY, 22 + 2 * i) << i;
    }
    // ZOUT 2 from 4: two steps to 16; the point is held to the image.
    EXPECT_EQ(e[10].scale, 16);
    EXPECT_EQ(std::make_pair(e[10].centreX, e[10].centreY), std::make_pair(119, 0));
    EXPECT_EQ(ws.maskVisible, 0);
}

TEST_F(ShowFixture, ZoomedPictureIsACropOfTheImage)
{
    play("PIC.RGB\r\nZOOM 1 40 30\r\n");
    ASSERT_EQ(ws.displayScale16, 8);
    // Image point (40, 30) at the centre (100, 75) of the picture, every
    // pixel twice; black where no image pixel falls.
    auto floorHalf = [](int32_t v) { return v >= 0 ? v / 2 : -((1 - v) / 2); };
    int mismatches = 0;
    for (int32_t dy = 0; dy < ws.displayHeight; ++dy)
        for (int32_t dx = 0; dx < ws.displayWidth; ++dx) {
            const int32_t x = floorHalf(dx - 100) + 40;
            const int32_t y = floorHalf(dy - 75) + 30;
            const uint8_t* d = ws.RS.get() + ws.displayRowOffset[dy] + 3 * dx;
            uint8_t want[3] = {0, 0, 0};
            if (x >= 0 && x < 120 && y >= 0 && y < 80) {
                const uint8_t* s = ws.image + (y * 120 + x) * 3;
                want[0] = s[2], want[1] = s[1], want[2] = s[0];
            }
            mismatches += std::memcmp(d, want, 3) != 0;
        }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(ShowFixture, MaterialWithoutModelOnlySetsIt)
{
    const ShowResult r = play(material(1) + "\r\nNONE.CLO\r\n");
    EXPECT_TRUE(stage.events.empty());
    ASSERT_EQ(r.failed.size(), 1u);
    EXPECT_EQ(r.failed[0].first, 2);
    EXPECT_EQ(ws.materialPath, dir.path(material(1))) << "an unreadable material leaves the one before";
}

TEST_F(ShowFixture, StopInARunOrADelay)
{
    // The model's run polls after each line of its ORX file (a mask and a
    // MAP line a part); the third poll says stop, so the run ends after one
    // part and the show with it.
    t.platform.stopAfterPolls = 2;
    ShowResult r = play("FIG.MDL\r\nDELAY 1\r\nREPEAT\r\n");
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.linesPlayed, 1);
    EXPECT_EQ(ws.lastRunParts, 1);
    EXPECT_EQ(ws.toolMode, 0);
    EXPECT_TRUE(stage.holds.empty());

    // Stopped while waiting: lines 1 and 2 play, the hold's poll stops it.
    t.platform.polls = 0;
    t.platform.stopAfterPolls = -1;
    play("FIG.MDL\r\n");
    t.platform.stopAfterPolls = t.platform.polls;  // the run's polls and the one after the line
    t.platform.polls = 0;
    stage.events.clear();
    r = play("FIG.MDL\r\nDELAY 4\r\nDELAY 5\r\nREPEAT\r\n");
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(stage.holds, (std::vector<int32_t>{4}));
    EXPECT_EQ(r.linesPlayed, 2);
    EXPECT_EQ(r.passes, 1);

    // A SHIFT stops between its steps.
    t.platform.polls = 0;
    t.platform.stopAfterPolls = 2;
    stage.events.clear();
    r = play("PIC.RGB\r\nSHIFT 1 1 100\r\n");
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(stage.events.size(), 3u);  // the image and two steps
}

TEST_F(ShowFixture, BareNamesMissingHereComeFromTheLibrary)
{
    // The "library" is another folder; the script's folder holds only PIC.
    TempDir library;
    ASSERT_TRUE(writeSampleModel(ws, library.dir().string(), "FIG", SampleScene::Dress, 400, 300));
    struct FolderSource : FileSource {
        std::string dir;
        std::unique_ptr<InStream> open(const std::string& name) override
        {
            return name.find('/') == 0 ? nullptr : localFiles().open(joinPath(dir, name));
        }
        std::vector<std::string> listFolder(const std::string&) override { return localFiles().listFolder(dir); }
    } folder;
    folder.dir = library.dir().string();
    ShowFiles withLibrary(&folder);
    files = &withLibrary;
    for (const char* f : {"FIG.MDL", "FIG.ORX"}) std::remove(dir.path(f).c_str());
    const ShowResult r = play("fig.MDL\nPIC.RGB\n");
    EXPECT_TRUE(r.failed.empty()) << (r.failed.empty() ? "" : r.failed[0].second);
    ASSERT_EQ(stage.events.size(), 2u);
    EXPECT_EQ(ws.lastRunParts, 4) << "the model's parts come from the library too";
    EXPECT_EQ(ws.currentFileName, dir.path("PIC.RGB")) << "a file beside the script is taken from there";
}

TEST_F(ShowFixture, UnreadableScript)
{
    const ShowResult r = playShowScript(ws, dir.path("NONE.MMP"), stage, diskOnly);
    EXPECT_FALSE(r.opened);
    EXPECT_TRUE(t.platform.said("Can not open"));
    EXPECT_EQ(ws.toolMode, 0);
}

}  // namespace
}  // namespace orx
