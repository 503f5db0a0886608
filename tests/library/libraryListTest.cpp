// The two libraries, folder and FTP, give the same lists, thumbnails and
// deletes, and refuse the same names: every test here runs on both, the
// FTP one against a real server on 127.0.0.1.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "libraryFixture.h"
#include "library/onlineLibrary.h"
#include "workspace/containerFile.h"

namespace orx {
namespace {

using test::containerBytes;
using test::containerThumbnail;
using test::FileOrder;
using test::FtpServer;
using test::LibraryRoot;
using test::TestWorkspace;

enum class Kind { Folder, Ftp };

class BothLibraries : public ::testing::TestWithParam<Kind> {
protected:
    TestWorkspace t;
    LibraryRoot root;
    std::unique_ptr<FtpServer> server;

    std::string location()
    {
        if (GetParam() == Kind::Folder) return root.root.dir().string();
        if (!server) server = std::make_unique<FtpServer>(root.root.dir().string());
        return server->url();
    }

    int open(OnlineLibrary& lib) { return openLibrary(t.ws, test::configFor(location()), lib); }

    const LibraryEntry* find(const LibraryList& list, const std::string& name)
    {
        for (const LibraryEntry& e : list)
            if (e.name == name) return &e;
        return nullptr;
    }

    void expectEmptyEntry(const LibraryList& list, const std::string& name)
    {
        const LibraryEntry* e = find(list, name);
        ASSERT_NE(e, nullptr) << name << " keeps its place in the list";
        EXPECT_EQ(e->width, 0) << name;
        EXPECT_EQ(e->height, 0) << name;
        EXPECT_TRUE(e->thumbnail.empty()) << name;
    }
};

std::vector<std::string> namesOf(const LibraryList& list)
{
    std::vector<std::string> names;
    for (const LibraryEntry& e : list) names.push_back(e.name);
    return names;
}

TEST_P(BothLibraries, ListsHoldEveryKindInTheLibrarysOrderWithSizesAndThumbnails)
{
    Workspace& ws = t.ws;
    root.put("B.MDL", containerBytes(ws, true, 90, 40, FileOrder::Library, 1));
    root.put("a.mdl", containerBytes(ws, true, 30, 20, FileOrder::Local, 2));  // this system's own order
    root.put("C.MDL", containerBytes(ws, true, 200, 150, FileOrder::Library, 3));
    root.put("silk.CLO", containerBytes(ws, false, 64, 64, FileOrder::Library, 4));
    root.put("A.RGB", {1, 2, 3});
    root.put("NOTES.TXT", {'x'});
    ::mkdir(root.path("SUB.MDL").c_str(), 0777);  // a folder is no file of the list
    test::writeFileBytes(root.root.path("OUTSIDE.MDL"), containerBytes(ws, true, 8, 8, FileOrder::Library));

    OnlineLibrary lib;
    ASSERT_EQ(open(lib), 1);
    EXPECT_TRUE(t.platform.messages.empty());
    // A server lists its folders too; opening one fails, which leaves an empty entry.
    EXPECT_EQ(namesOf(lib.modelList), (std::vector<std::string>{"B.MDL", "C.MDL", "SUB.MDL", "a.mdl"}));
    expectEmptyEntry(lib.modelList, "SUB.MDL");
    EXPECT_EQ(namesOf(lib.materialList), (std::vector<std::string>{"silk.CLO"}));

    const struct {
        const char* name;
        int32_t w, h;
        uint8_t seed;
    } expected[] = {{"B.MDL", 90, 40, 1}, {"a.mdl", 30, 20, 2}, {"C.MDL", 200, 150, 3}, {"silk.CLO", 64, 64, 4}};
    for (const auto& x : expected) {
        const LibraryEntry* e = find(lib.modelList, x.name);
        if (!e) e = find(lib.materialList, x.name);
        ASSERT_NE(e, nullptr) << x.name;
        EXPECT_EQ(e->width, x.w) << x.name;
        EXPECT_EQ(e->height, x.h) << x.name;
        EXPECT_EQ(e->thumbnail, containerThumbnail(ws, x.w, x.h, x.seed)) << x.name;
    }
    EXPECT_EQ(libraryListFor(lib, "mdl"), &lib.modelList);
    EXPECT_EQ(libraryListFor(lib, "CLO"), &lib.materialList);
    EXPECT_EQ(libraryListFor(lib, "PRT"), nullptr);
    EXPECT_NE(lib.caption.find("ORXWEBTRY"), std::string::npos) << lib.caption;
    EXPECT_NE(lib.caption.find("  <Hint>keyin 1st character for fast search"), std::string::npos) << lib.caption;
}

TEST_P(BothLibraries, AnEmptyDirectoryGivesEmptyListsAndStillOpens)
{
    OnlineLibrary lib;
    ASSERT_EQ(open(lib), 1);
    EXPECT_TRUE(lib.modelList.empty());
    EXPECT_TRUE(lib.materialList.empty());
    EXPECT_NE(lib.library, nullptr);
    EXPECT_TRUE(t.platform.messages.empty());
}

TEST_P(BothLibraries, DamagedFilesGiveEmptyEntriesAndNoMessages)
{
    Workspace& ws = t.ws;
    const std::vector<uint8_t> good = containerBytes(ws, true, 40, 30, FileOrder::Library, 9);
    root.put("GOOD.MDL", good);
    root.put("EMPTY.MDL", {});
    root.put("HEADONLY.MDL", std::vector<uint8_t>(good.begin(), good.begin() + 256));
    root.put("HALFTHUMB.MDL", std::vector<uint8_t>(good.begin(), good.begin() + 6000));
    // The header promises more pixels than the file holds.
    root.put("CUT.MDL", std::vector<uint8_t>(good.begin(), good.end() - 1));
    std::vector<uint8_t> garbage(20000);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = uint8_t(i * 131 + 7);
    root.put("GARBAGE.MDL", garbage);
    std::vector<uint8_t> negative = good;
    negative[69] = 0x80;  // width < 0
    root.put("NEGATIVE.MDL", negative);
    std::vector<uint8_t> offset = good;
    offset[74] = 0x01;  // pixels neither right behind the header nor the thumbnail
    root.put("OFFSET.MDL", offset);
    std::vector<uint8_t> huge = good;
    huge[68] = 0x7f;  // 2 billion pixels wide
    root.put("HUGE.MDL", huge);
    // A local-order file whose thumbnail was cut off.
    const std::vector<uint8_t> local = containerBytes(ws, true, 40, 30, FileOrder::Local, 9);
    root.put("NOTHUMB.MDL", std::vector<uint8_t>(local.begin(), local.end() - 12600));
    ASSERT_EQ(::symlink("/nonexistent/target", root.path("DANGLING.MDL").c_str()), 0);

    OnlineLibrary lib;
    ASSERT_EQ(open(lib), 1);
    EXPECT_TRUE(t.platform.messages.empty()) << t.platform.messages.front();
    for (const char* name : {"EMPTY.MDL", "HEADONLY.MDL", "HALFTHUMB.MDL", "CUT.MDL", "GARBAGE.MDL", "NEGATIVE.MDL",
                             "OFFSET.MDL", "HUGE.MDL", "NOTHUMB.MDL"})
        expectEmptyEntry(lib.modelList, name);
    // A link to nowhere is listed and cannot be opened.
    expectEmptyEntry(lib.modelList, "DANGLING.MDL");
    const LibraryEntry* e = find(lib.modelList, "GOOD.MDL");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->width, 40);
    EXPECT_EQ(e->thumbnail, containerThumbnail(ws, 40, 30, 9));
}

TEST_P(BothLibraries, MoreThanAHundredFilesAreAllListedInOrder)
{
    Workspace& ws = t.ws;
    const std::vector<uint8_t> small = containerBytes(ws, false, 6, 5, FileOrder::Library);
    std::vector<std::string> names;
    for (int i = 0; i < 130; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "F%03d.CLO", i);
        names.push_back(name);
        root.put(name, small);
    }
    OnlineLibrary lib;
    ASSERT_EQ(open(lib), 1);
    EXPECT_EQ(namesOf(lib.materialList), names);
    for (const LibraryEntry& e : lib.materialList) {
        EXPECT_EQ(e.width, 6) << e.name;
        EXPECT_EQ(e.thumbnail.size(), kThumbBytes) << e.name;
    }
}

TEST_P(BothLibraries, DeletesTakeTheCompanionAlongAndLeaveTheLists)
{
    Workspace& ws = t.ws;
    for (const char* name : {"A.RGB", "A.IPR", "B.msk", "B.MPR", "C.RGB", "D.CLO", "D.IPR"}) root.put(name, {1});
    root.put("M.MDL", containerBytes(ws, true, 8, 8, FileOrder::Library));
    OnlineLibrary lib;
    ASSERT_EQ(open(lib), 1);
    ASSERT_EQ(lib.modelList.size(), 1u);

    EXPECT_TRUE(deleteFromLibrary(lib, "A.RGB"));
    EXPECT_FALSE(std::filesystem::exists(root.path("A.RGB")));
    EXPECT_FALSE(std::filesystem::exists(root.path("A.IPR")));
    EXPECT_TRUE(deleteFromLibrary(lib, "B.msk"));
    EXPECT_FALSE(std::filesystem::exists(root.path("B.MPR")));
    EXPECT_TRUE(deleteFromLibrary(lib, "C.RGB")) << "a missing companion is no failure";
    EXPECT_TRUE(deleteFromLibrary(lib, "D.CLO"));
    EXPECT_TRUE(std::filesystem::exists(root.path("D.IPR"))) << "only RGB and MSK files have companions";
    EXPECT_TRUE(deleteFromLibrary(lib, "M.MDL"));
    EXPECT_TRUE(lib.modelList.empty());

    EXPECT_FALSE(deleteFromLibrary(lib, "NONE.RGB"));
    EXPECT_FALSE(lib.library->lastError().empty());
    EXPECT_FALSE(deleteFromLibrary(lib, "../ORXWEBTRY/D.IPR"));
    EXPECT_TRUE(std::filesystem::exists(root.path("D.IPR")));
    EXPECT_TRUE(t.platform.messages.empty()) << "deletes say nothing themselves";
}

TEST_P(BothLibraries, NamesThatCouldLeaveTheLibraryAreRefused)
{
    Workspace& ws = t.ws;
    test::writeFileBytes(root.root.path("SECRET.MDL"), containerBytes(ws, true, 8, 8, FileOrder::Library));
    root.put("IN.MDL", containerBytes(ws, true, 8, 8, FileOrder::Library));
    root.put("bad\x01name.MDL", {1});
    root.put("back\\slash.MDL", {1});
    OnlineLibrary lib;
    ASSERT_EQ(open(lib), 1);
    EXPECT_EQ(namesOf(lib.modelList), (std::vector<std::string>{"IN.MDL"}));
    ASSERT_EQ(t.platform.messages.size(), 2u) << "each listed name that cannot be used is reported";
    EXPECT_TRUE(t.platform.said("bad\\x01name.MDL"));
    EXPECT_TRUE(t.platform.said("back\\slash.MDL"));

    t.platform.messages.clear();
    Library& library = *lib.library;
    for (const char* bad : {"../SECRET.MDL", "/etc/passwd", "..", "sub/IN.MDL", "..\\SECRET.MDL", "IN.MDL\r\nDELE IN.MDL"})
        EXPECT_EQ(library.open(bad), nullptr) << bad;
    EXPECT_EQ(t.platform.messages.size(), 6u);
    EXPECT_TRUE(t.platform.said("is not a valid library file name"));
    EXPECT_TRUE(std::filesystem::exists(root.path("IN.MDL")));

    std::vector<RangeRead> reads(2);
    reads[0].name = "../SECRET.MDL";
    reads[0].length = 256;
    reads[1].name = "./IN.MDL";  // what resolveNamedFile makes of a bare name
    reads[1].length = 256;
    library.readRanges(reads);
    EXPECT_FALSE(reads[0].opened);
    EXPECT_TRUE(reads[0].bytes.empty());
    EXPECT_TRUE(reads[1].opened);
    EXPECT_EQ(reads[1].bytes.size(), 256u);
    EXPECT_TRUE(library.listFolder("..").empty());
    EXPECT_TRUE(library.listFolder("/").empty());
    EXPECT_EQ(library.listFolder("."), (std::vector<std::string>{"IN.MDL"}));
}

TEST_P(BothLibraries, StreamsGiveTheFileSequentiallyWithItsSize)
{
    std::vector<uint8_t> bytes(300'000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t((i * 2654435761u) >> 13);
    root.put("BIG.CLO", bytes);
    root.put("SMALL.IPR", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 12630));
    std::unique_ptr<Library> library = connectLibrary(t.ws, test::configFor(location()));
    ASSERT_NE(library, nullptr);

    auto in = library->open("BIG.CLO");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->size(), int64_t(bytes.size()));
    std::vector<uint8_t> got(bytes.size());
    size_t at = 0;
    for (size_t chunk : {size_t(1), size_t(255), size_t(70'000), size_t(4096)}) {
        ASSERT_EQ(in->read(got.data() + at, chunk), chunk);
        at += chunk;
    }
    ASSERT_TRUE(in->seekTo(200'000)) << "forward";
    at = 200'000;
    ASSERT_EQ(in->read(got.data() + at, 50'000), 50'000u);
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + 74'352, bytes.begin()));
    EXPECT_TRUE(std::equal(got.begin() + 200'000, got.begin() + 250'000, bytes.begin() + 200'000));
    ASSERT_TRUE(in->seekTo(10)) << "back again";
    uint8_t ten[10];
    ASSERT_EQ(in->read(ten, 10), 10u);
    EXPECT_TRUE(std::equal(ten, ten + 10, bytes.begin() + 10));
    ASSERT_TRUE(in->seekTo(bytes.size() - 5));
    uint8_t tail[64];
    EXPECT_EQ(in->read(tail, sizeof tail), 5u) << "short at the end";
    EXPECT_EQ(in->read(tail, sizeof tail), 0u);
    EXPECT_FALSE(in->seekTo(bytes.size() + 1));
    in.reset();

    // Two files open at once, read in turns.
    auto a = library->open("BIG.CLO");
    auto b = library->open("./SMALL.IPR");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    std::vector<uint8_t> ga(bytes.size()), gb(12630);
    ASSERT_EQ(a->read(ga.data(), 1000), 1000u);
    ASSERT_EQ(b->read(gb.data(), 30), 30u);
    ASSERT_EQ(a->read(ga.data() + 1000, ga.size() - 1000), ga.size() - 1000);
    ASSERT_EQ(b->read(gb.data() + 30, gb.size() - 30), gb.size() - 30);
    EXPECT_EQ(ga, bytes);
    EXPECT_TRUE(std::equal(gb.begin(), gb.end(), bytes.begin()));
    EXPECT_EQ(library->open("MISSING.CLO"), nullptr);
    EXPECT_TRUE(t.platform.messages.empty()) << "a missing file is not reported by the library";
}

INSTANTIATE_TEST_SUITE_P(Library, BothLibraries, ::testing::Values(Kind::Folder, Kind::Ftp),
                         [](const ::testing::TestParamInfo<Kind>& i) {
                             return std::string(i.param == Kind::Folder ? "Folder" : "Ftp");
                         });

}  // namespace
}  // namespace orx
