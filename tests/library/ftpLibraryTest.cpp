// The FTP library against a real server on 127.0.0.1: the start-up's
// failure messages, servers that stall or drop the connection, the one
// control connection kept for the run, and the readers of the workspace
// and the engine reading through it.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "engine/mesh.h"
#include "libraryFixture.h"
#include "library/ftpHeadReader.h"
#include "library/ftpLibrary.h"
#include "library/onlineLibrary.h"
#include "workspace/containerFile.h"
#include "workspace/nativeFile.h"

namespace orx {
namespace {

using test::containerBytes;
using test::FileOrder;
using test::FtpServer;
using test::FtpServerOptions;
using test::LibraryRoot;
using test::TempDir;
using test::TestWorkspace;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

std::unique_ptr<FtpLibrary> connect(TestWorkspace& t, const std::string& url, int timeout = 5)
{
    return connectFtpLibrary(t.ws, test::configFor(url, timeout));
}

std::vector<uint8_t> readAll(Library& lib, const std::string& name)
{
    std::vector<uint8_t> out;
    EXPECT_TRUE(readWholeFile(lib, name, 1u << 30, out)) << name;
    return out;
}

// ---- the failure table of the start-up

TEST(FtpLibraryStart, UrlsThatAreNoFtpServerAskForAValidUrl)
{
    for (const char* url : {"http://127.0.0.1/", "ftp://", "ftp://127.0.0.1:99999/", "ftp://127.0.0.1/a%5Cb/",
                            "sftp://127.0.0.1/"}) {
        TestWorkspace t;
        OnlineLibrary lib;
        EXPECT_EQ(openLibrary(t.ws, test::configFor(url), lib), 0) << url;
        EXPECT_EQ(t.platform.messages, (std::vector<std::string>{"Please enter a valid FTP URL"})) << url;
        EXPECT_EQ(lib.library, nullptr);
    }
}

TEST(FtpLibraryStart, AServerThatIsDownShowsTheErrorThenNoConnection)
{
    TestWorkspace t;
    OnlineLibrary lib;
    EXPECT_EQ(openLibrary(t.ws, test::configFor("ftp://127.0.0.1:" + std::to_string(test::unusedPort())), lib), 0);
    ASSERT_EQ(t.platform.messages.size(), 2u);
    EXPECT_NE(t.platform.messages[0].find("onnect"), std::string::npos) << t.platform.messages[0];
    EXPECT_EQ(t.platform.messages[1], "m_pFtpConnection == NULL");
    EXPECT_EQ(t.platform.beeps, 2);
}

TEST(FtpLibraryStart, ARefusedLoginShowsTheServersWordsThenNoConnection)
{
    LibraryRoot root;
    FtpServerOptions o;
    o.password = "other";
    FtpServer server(root.root.dir().string(), o);
    ASSERT_TRUE(server.running());
    TestWorkspace t;
    OnlineLibrary lib;
    EXPECT_EQ(openLibrary(t.ws, test::configFor(server.url()), lib), 0);
    ASSERT_EQ(t.platform.messages.size(), 2u);
    EXPECT_NE(t.platform.messages[0].find("530"), std::string::npos) << t.platform.messages[0];
    EXPECT_EQ(t.platform.messages[1], "m_pFtpConnection == NULL");
}

TEST(FtpLibraryStart, TheStartUpStopsWithItsOwnTwoTextsAfterTheLibrarysInTheScreenLanguage)
{
    TestWorkspace t(test::kTestBlockBytes, LangTaiwan);
    OnlineLibrary lib;
    EXPECT_FALSE(startLibrary(t.ws, test::configFor("http://x/"), lib));
    EXPECT_EQ(t.platform.messages,
              (std::vector<std::string>{"請輸入正確的FTP網址", "無法完成ORX系統環境設定", "ORX程式即將結束."}));
}

TEST(FtpLibraryStart, AMissingLibraryDirectoryIsReported)
{
    test::TempDir bare;
    FtpServer server(bare.dir().string());
    ASSERT_TRUE(server.running());
    TestWorkspace t;
    OnlineLibrary lib;
    EXPECT_EQ(openLibrary(t.ws, test::configFor(server.url()), lib), 0);
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_NE(t.platform.messages[0].find("library folder ORXWEBTRY is missing"), std::string::npos)
        << t.platform.messages[0];
}

TEST(FtpLibraryStart, ServerNamesFoldersAndCredentialsComeFromTheConfiguration)
{
    test::TempDir top;
    std::filesystem::create_directories(top.path("pub/SPRING"));
    test::writeFileBytes(top.path("pub/SPRING/X.CLO"), {1, 2, 3});
    FtpServerOptions o;
    o.user = "studio";
    o.password = "pass word";
    FtpServer server(top.dir().string(), o);
    ASSERT_TRUE(server.running());
    TestWorkspace t;
    // No "ftp://": the prefix is added, as for any server name.
    LibraryConfig cfg = test::configFor("127.0.0.1:" + std::to_string(server.port()) + "/pub");
    cfg.user = "studio";
    cfg.password = "pass word";
    cfg.directory = "SPRING";
    OnlineLibrary lib;
    ASSERT_EQ(openLibrary(t.ws, cfg, lib), 1) << (t.platform.messages.empty() ? "" : t.platform.messages[0]);
    EXPECT_EQ(lib.library->currentDirectory(), "/pub/SPRING");
    EXPECT_EQ(lib.caption.rfind("127.0.0.1:" + std::to_string(server.port()) + "/pub/pub/SPRING  <Hint>", 0), 0u)
        << lib.caption;
    EXPECT_EQ(readAll(*lib.library, "X.CLO"), (std::vector<uint8_t>{1, 2, 3}));
}

// ---- servers that stall

TEST(FtpLibraryStall, AServerThatNeverGreetsTimesOutWithAClearMessage)
{
    LibraryRoot root;
    FtpServerOptions o;
    o.silent = true;
    FtpServer server(root.root.dir().string(), o);
    ASSERT_TRUE(server.running());
    TestWorkspace t;
    OnlineLibrary lib;
    const auto start = Clock::now();
    EXPECT_EQ(openLibrary(t.ws, test::configFor(server.url(), 1), lib), 0);
    EXPECT_LT(secondsSince(start), 20.0) << "a time-out, not a hang";
    EXPECT_EQ(t.platform.messages,
              (std::vector<std::string>{"The library server did not answer within 1 seconds.",
                                        "m_pFtpConnection == NULL"}));
}

TEST(FtpLibraryStall, ATransferThatStallsEndsTheReadWithAClearMessage)
{
    LibraryRoot root;
    root.put("BIG.CLO", std::vector<uint8_t>(200'000, 7));
    FtpServerOptions o;
    o.stallAfter = 1000;
    FtpServer server(root.root.dir().string(), o);
    ASSERT_TRUE(server.running());
    TestWorkspace t;
    auto library = connect(t, server.url(), 1);
    ASSERT_NE(library, nullptr);
    auto in = library->open("BIG.CLO");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->size(), 200'000);
    std::vector<uint8_t> buf(200'000);
    const auto start = Clock::now();
    const size_t got = in->read(buf.data(), buf.size());
    EXPECT_LT(secondsSince(start), 20.0);
    EXPECT_EQ(got, 1000u);
    EXPECT_EQ(in->read(buf.data(), 10), 0u) << "a failed stream stays failed";
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_EQ(t.platform.messages[0],
              "Can not read BIG.CLO from the library (The library server did not answer within 1 seconds.).");
}

TEST(FtpLibraryStall, AServerThatStallsWhileTheListIsReadStopsTheStartNotOncePerFile)
{
    LibraryRoot root;
    TestWorkspace t;
    for (int i = 0; i < 12; ++i)
        root.put("M" + std::to_string(i) + ".MDL", containerBytes(t.ws, true, 40, 30, FileOrder::Library));
    FtpServerOptions o;
    o.stallAfter = 100;
    FtpServer server(root.root.dir().string(), o);
    ASSERT_TRUE(server.running());
    OnlineLibrary lib;
    const auto start = Clock::now();
    EXPECT_EQ(openLibrary(t.ws, test::configFor(server.url(), 1), lib), 0);
    EXPECT_LT(secondsSince(start), 8.0) << "twelve files must not cost twelve time-outs one after another";
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_NE(t.platform.messages[0].find("did not answer within 1 seconds"), std::string::npos)
        << t.platform.messages[0];
}

// A server that sends a byte every quarter second is never silent for the
// time-out, yet gets nowhere: the read and the list both end after about
// the time-out, not after the 10 s the 40 bytes would take.
TEST(FtpLibraryStall, ATransferThatTricklesEndsAfterTheTimeOut)
{
    LibraryRoot root;
    root.put("SLOW.CLO", std::vector<uint8_t>(40, 7));
    root.put("SLOW.MDL", std::vector<uint8_t>(40, 7));
    FtpServerOptions o;
    o.trickle = 0.25;
    FtpServer server(root.root.dir().string(), o);
    ASSERT_TRUE(server.running());
    const std::string timedOut = "The library server did not answer within 1 seconds.";
    {
        TestWorkspace t;
        auto library = connect(t, server.url(), 1);
        ASSERT_NE(library, nullptr);
        auto in = library->open("SLOW.CLO");
        ASSERT_NE(in, nullptr);
        std::vector<uint8_t> buf(40);
        const auto start = Clock::now();
        EXPECT_LT(in->read(buf.data(), buf.size()), 40u);
        EXPECT_LT(secondsSince(start), 6.0);
        EXPECT_EQ(t.platform.messages,
                  (std::vector<std::string>{"Can not read SLOW.CLO from the library (" + timedOut + ")."}));
    }
    {
        TestWorkspace t;
        OnlineLibrary lib;
        const auto start = Clock::now();
        EXPECT_EQ(openLibrary(t.ws, test::configFor(server.url(), 1), lib), 0);
        EXPECT_LT(secondsSince(start), 6.0);
        ASSERT_FALSE(t.platform.messages.empty());
        EXPECT_NE(t.platform.messages[0].find(timedOut), std::string::npos) << t.platform.messages[0];
    }
}

// ---- the heads of a list

// The heads of many files go over a few connections kept for the batch, not
// one per file; every entry gets its own file's size and thumbnail, in
// either container order.
TEST(FtpLibraryHeads, AListOfManyFilesLogsInOncePerConnection)
{
    LibraryRoot root;
    TempDir logs;
    TestWorkspace t;
    constexpr int kModels = 60, kMaterials = 20;
    for (int i = 0; i < kModels; ++i)
        root.put("M" + std::to_string(i) + ".MDL", containerBytes(t.ws, true, 20 + i, 10, FileOrder::Library, uint8_t(i)));
    for (int i = 0; i < kMaterials; ++i)
        root.put("C" + std::to_string(i) + ".CLO", containerBytes(t.ws, false, 8, 8 + i, FileOrder::Local, uint8_t(100 + i)));
    FtpServerOptions o;
    o.logins = logs.path("logins");
    FtpServer server(root.root.dir().string(), o);
    ASSERT_TRUE(server.running());
    LibraryConfig cfg = test::configFor(server.url());
    cfg.connections = 3;
    OnlineLibrary lib;
    ASSERT_EQ(openLibrary(t.ws, cfg, lib), 1);
    EXPECT_TRUE(t.platform.messages.empty());
    ASSERT_EQ(lib.modelList.size(), size_t(kModels));
    ASSERT_EQ(lib.materialList.size(), size_t(kMaterials));
    for (const LibraryEntry& e : lib.modelList) {
        const int i = std::stoi(e.name.substr(1));
        EXPECT_EQ(e.width, 20 + i) << e.name;
        EXPECT_EQ(e.thumbnail, test::containerThumbnail(t.ws, 20 + i, 10, uint8_t(i))) << e.name;
    }
    for (const LibraryEntry& e : lib.materialList) {
        const int i = std::stoi(e.name.substr(1));
        EXPECT_EQ(e.height, 8 + i) << e.name;
        EXPECT_EQ(e.thumbnail, test::containerThumbnail(t.ws, 8, 8 + i, uint8_t(100 + i))) << e.name;
    }
    // The kept connection, then three for the heads and three for the
    // thumbnails behind the pixels.
    EXPECT_LE(test::readFileBytes(o.logins).size() / std::string("47302615\n").size(), 7u);
}

TEST(FtpLibraryHeads, SizesAreReadFromTheFactsOfFileEntriesOnly)
{
    const std::string listing =
        "type=file;size=27256;modify=20261209033500;perm=r; F00001.MDL\r\n"
        "Type=File;Size=0; EMPTY.CLO\r\n"
        "type=dir;size=4096; SUB\r\n"
        "type=file;size=12; with two  spaces.CLO\n"
        "type=file; NOSIZE.CLO\r\n"
        "type=file;size=-5; NEGATIVE.CLO\r\n"
        "type=file;size=99999999999999999999999; HUGE.CLO\r\n"
        "garbage without facts\r\n"
        "type=file;size=7;\r\n";
    const std::unordered_map<std::string, int64_t> expected = {
        {"F00001.MDL", 27256}, {"EMPTY.CLO", 0}, {"with two  spaces.CLO", 12}};
    EXPECT_EQ(sizesFromMlsd(listing), expected);
}

// ---- the kept connection

TEST(FtpLibraryConnection, OneControlConnectionServesTheWholeRun)
{
    LibraryRoot root;
    TestWorkspace t;
    for (int i = 0; i < 5; ++i) root.put("M" + std::to_string(i) + ".MDL", containerBytes(t.ws, true, 50, 40, FileOrder::Library));
    root.put("A.RGB", std::vector<uint8_t>(30'000, 1));
    root.put("A.IPR", std::vector<uint8_t>(12'630, 2));
    FtpServer server(root.root.dir().string());
    ASSERT_TRUE(server.running());
    auto library = connect(t, server.url());
    ASSERT_NE(library, nullptr);
    std::vector<LibraryEntry> models;
    ASSERT_TRUE(buildLibraryList(*library, "*.MDL", models));
    EXPECT_EQ(models.size(), 5u);
    for (int round = 0; round < 10; ++round) {
        EXPECT_EQ(readAll(*library, "A.RGB").size(), 30'000u);
        // A companion read only for its first 30 bytes, as the readers do.
        auto in = library->open("A.IPR");
        ASSERT_NE(in, nullptr);
        char head[30];
        EXPECT_EQ(in->read(head, sizeof head), sizeof head);
        EXPECT_EQ(library->open("NONE.RGB"), nullptr);
        EXPECT_EQ(library->listFolder(".").size(), 7u);
    }
    EXPECT_TRUE(library->remove("A.IPR"));
    EXPECT_EQ(library->connectionsMade(), 1) << "lists, reads, misses, listings and deletes share one connection";
    EXPECT_TRUE(t.platform.messages.empty());
}

TEST(FtpLibraryConnection, StoppingALargeFileEarlyCostsOneNewConnectionAndNothingElse)
{
    LibraryRoot root;
    std::vector<uint8_t> big(3'000'000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = uint8_t(i % 251);
    root.put("BIG.MDL", big);
    root.put("SMALL.CLO", {9, 8, 7});
    FtpServer server(root.root.dir().string());
    ASSERT_TRUE(server.running());
    TestWorkspace t;
    auto library = connect(t, server.url());
    ASSERT_NE(library, nullptr);
    {
        auto in = library->open("BIG.MDL");
        ASSERT_NE(in, nullptr);
        uint8_t head[256];
        ASSERT_EQ(in->read(head, sizeof head), sizeof head);
        EXPECT_TRUE(std::equal(head, head + 256, big.begin()));
    }  // the rest of the file is not fetched: its transfer stops here
    EXPECT_EQ(library->connectionsMade(), 1);
    EXPECT_EQ(readAll(*library, "SMALL.CLO"), (std::vector<uint8_t>{9, 8, 7}));
    EXPECT_EQ(library->connectionsMade(), 2);
    EXPECT_EQ(readAll(*library, "BIG.MDL"), big);
    EXPECT_EQ(library->connectionsMade(), 2);
    EXPECT_TRUE(t.platform.messages.empty());
}

TEST(FtpLibraryConnection, ADroppedConnectionIsMadeAgainOnceThenReported)
{
    LibraryRoot root;
    root.put("A.CLO", {1, 2, 3, 4});
    auto server = std::make_unique<FtpServer>(root.root.dir().string());
    ASSERT_TRUE(server->running());
    TestWorkspace t;
    auto library = connect(t, server->url(), 2);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(readAll(*library, "A.CLO").size(), 4u);

    server->dropConnections();
    EXPECT_EQ(readAll(*library, "A.CLO").size(), 4u) << "the next open reconnects";
    EXPECT_EQ(library->connectionsMade(), 2);
    EXPECT_TRUE(t.platform.messages.empty());

    server->dropConnections();
    EXPECT_EQ(library->list("*.CLO"), (std::vector<std::string>{"A.CLO"}));
    EXPECT_TRUE(library->remove("A.CLO"));
    EXPECT_EQ(library->connectionsMade(), 3);

    server->stop();
    const auto start = Clock::now();
    EXPECT_EQ(library->open("A.CLO"), nullptr);
    EXPECT_LT(secondsSince(start), 10.0);
    ASSERT_EQ(t.platform.messages.size(), 1u) << "reported once";
    EXPECT_EQ(t.platform.messages[0].rfind("Can not read A.CLO from the library (", 0), 0u) << t.platform.messages[0];
    EXPECT_FALSE(library->remove("A.CLO"));
    EXPECT_FALSE(library->lastError().empty());
}

// ---- the readers of the workspace and the engine, through the library

TEST(FtpLibraryReaders, ModelsImagesMasksAndMeshesReadAsFromDisk)
{
    LibraryRoot root;
    TestWorkspace src;
    // A model in the library's order, an RGB image with its mask, a mesh.
    root.put("DRESS.MDL", containerBytes(src.ws, true, 120, 90, FileOrder::Library, 5));
    test::fillPattern(src.ws, 64, 48);
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 64; ++x) src.ws.mask[y * 64 + x] = (x + y) % 3 ? 0 : 255;
    ASSERT_TRUE(saveRGB(src.ws, root.path("PHOTO.RGB")));
    ASSERT_TRUE(saveMSK(src.ws, root.path("PHOTO.MSK"), src.ws.mask, 64, 48));
    const std::vector<uint8_t> photo(src.ws.image, src.ws.image + 64 * 48 * 3);
    const std::vector<uint8_t> mask(src.ws.mask, src.ws.mask + 64 * 48);
    src.ws.meshColumns = 2;
    src.ws.meshRows = 1;
    for (int i = 0; i < 6; ++i) {
        src.ws.Cpoint1[i] = {i * 10, i * 3};
        src.ws.Cpoint2[i] = {i * 7, i};
    }
    ASSERT_TRUE(saveMapFile(src.ws, root.path("PART1.MAP")));

    FtpServer server(root.root.dir().string());
    ASSERT_TRUE(server.running());
    TestWorkspace t;
    auto library = connect(t, server.url());
    ASSERT_NE(library, nullptr);

    ASSERT_TRUE(loadModel(t.ws, "DRESS.MDL", *library));
    EXPECT_EQ(t.ws.imageWidth, 120);
    test::fillPattern(src.ws, 120, 90);
    for (uint64_t i = 0; i < 120 * 90 * 3; ++i) src.ws.image[i] = uint8_t(src.ws.image[i] + 5);
    EXPECT_EQ(std::memcmp(t.ws.image, src.ws.image, 120 * 90 * 3), 0);
    EXPECT_EQ(t.ws.modelArea[2], 119);

    ASSERT_TRUE(openRGBImage(t.ws, "PHOTO.RGB", *library));
    EXPECT_EQ(t.ws.imageWidth, 64);
    EXPECT_EQ(std::vector<uint8_t>(t.ws.image, t.ws.image + photo.size()), photo);
    EXPECT_EQ(t.ws.maskVisible, 1);
    EXPECT_EQ(std::vector<uint8_t>(t.ws.mask, t.ws.mask + mask.size()), mask);

    // An ORX file names its meshes in any letter case, relative to itself.
    const std::string mesh = resolveNamedFile(*library, "DRESS.ORX", "part1.map");
    EXPECT_EQ(mesh, "./PART1.MAP");
    ASSERT_TRUE(loadMapFile(t.ws, mesh, *library));
    EXPECT_EQ(t.ws.meshColumns, 2);
    EXPECT_EQ(t.ws.Cpoint1[5].x, 50);
    EXPECT_EQ(t.ws.Cpoint2[5].y, 5);
    EXPECT_TRUE(t.platform.messages.empty()) << t.platform.messages.front();
    EXPECT_EQ(library->connectionsMade(), 1);
}

TEST(FtpLibraryReaders, ACutFileIsRefusedBeforeTheWorkspaceChanges)
{
    LibraryRoot root;
    TestWorkspace t;
    std::vector<uint8_t> model = containerBytes(t.ws, true, 400, 300, FileOrder::Library);
    model.resize(model.size() - 1);
    root.put("CUT.MDL", model);
    FtpServer server(root.root.dir().string());
    ASSERT_TRUE(server.running());
    auto library = connect(t, server.url());
    ASSERT_NE(library, nullptr);
    test::fillPattern(t.ws, 20, 10);
    t.ws.imageLoaded = 1;
    EXPECT_FALSE(loadModel(t.ws, "CUT.MDL", *library));
    EXPECT_TRUE(t.platform.said("CUT.MDL file is incomplete or damaged."));
    EXPECT_EQ(t.ws.imageWidth, 20) << "the size from SIZE refused it before any pixel was read";
    // Only the head was fetched: the transfer was stopped, not drained, so
    // the next request needs a new connection.
    EXPECT_EQ(library->connectionsMade(), 1);
    EXPECT_NE(library->open("CUT.MDL"), nullptr);
    EXPECT_EQ(library->connectionsMade(), 2);
}

}  // namespace
}  // namespace orx
