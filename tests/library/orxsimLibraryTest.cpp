// orxsim library list / rm as a user drives them, and orxsim dress reading
// its model, material, ORX, MSK and MAP files from an FTP library.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "engine/simulation.h"
#include "libraryFixture.h"
#include "library/onlineLibrary.h"
#include "workspace/bitmapFile.h"

#ifndef ORXSIM_PATH
#error "ORXSIM_PATH names the orxsim program"
#endif

namespace orx {
namespace {

using test::containerBytes;
using test::containerThumbnail;
using test::FileOrder;
using test::FtpServer;
using test::LibraryRoot;
using test::TempDir;
using test::TestWorkspace;

struct RunResult {
    int status = -1;
    std::string out, err;
};

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs orxsim in cwd with ORX_LIBRARY_URL set to url (unset when empty),
// with an image block as small as the unit tests' (the machine's whole
// memory is slow to obtain under the sanitizers).
RunResult orxsim(const std::vector<std::string>& args, const std::string& url = "", const std::string& cwd = ".")
{
    TempDir io;
    const std::string out = io.path("out"), err = io.path("err");
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(cwd.c_str()) != 0) ::_exit(126);
        ::setenv("ORX_BLOCK_BYTES", std::to_string(test::kTestBlockBytes).c_str(), 1);
        if (url.empty())
            ::unsetenv(kLibraryUrlVariable);
        else
            ::setenv(kLibraryUrlVariable, url.c_str(), 1);
        ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        std::vector<std::string> all = {ORXSIM_PATH};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(ORXSIM_PATH, argv.data());
        ::_exit(127);
    }
    RunResult r;
    // A run that hangs is a failure, not a test that never ends.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ADD_FAILURE() << "orxsim did not end";
            return r;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
}

class OrxsimLibrary : public ::testing::Test {
protected:
    TestWorkspace t;
    LibraryRoot root;
    std::unique_ptr<FtpServer> server;

    void SetUp() override
    {
        root.put("M.MDL", containerBytes(t.ws, true, 40, 30, FileOrder::Library, 1));
        root.put("B.MDL", std::vector<uint8_t>(300, 0xee));
        root.put("C.CLO", containerBytes(t.ws, false, 64, 64, FileOrder::Local, 2));
        root.put("A.RGB", {1});
        root.put("A.IPR", {2});
        server = std::make_unique<FtpServer>(root.root.dir().string());
        ASSERT_TRUE(server->running());
    }
};

TEST_F(OrxsimLibrary, ListPrintsBothListsInTheServersOrderPlainOrAsJson)
{
    RunResult r = orxsim({"library", "list", "--library", server->url()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "models: 2\nB.MDL 0x0\nM.MDL 40x30\nmaterials: 1\nC.CLO 64x64\n");
    EXPECT_EQ(r.err, "");

    r = orxsim({"library", "list", "--json"}, server->url());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"models\": [{\"name\": \"B.MDL\", \"width\": 0, \"height\": 0}, "
              "{\"name\": \"M.MDL\", \"width\": 40, \"height\": 30}], "
              "\"materials\": [{\"name\": \"C.CLO\", \"width\": 64, \"height\": 64}]}\n");

    // --library wins over the variable; a folder is a library too.
    r = orxsim({"library", "list", "--library", root.root.dir().string()},
               "ftp://127.0.0.1:" + std::to_string(test::unusedPort()));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "models: 2\nB.MDL 0x0\nM.MDL 40x30\nmaterials: 1\nC.CLO 64x64\n");

    // Names that are no UTF-8 (Latin-1 bytes, a cut sequence, an encoded
    // surrogate) come out as \u00XX per byte; UTF-8 and quotes as JSON has them.
    TempDir folder;
    std::filesystem::create_directory(folder.path("ORXWEBTRY"));
    for (const char* name : {"Caf\xe9.CLO", "\xe4\xb8.CLO", "\xed\xa0\x80.CLO", "\xe7\xb6\xb2 \"q\".CLO"})
        test::writeFileBytes(folder.path(std::string("ORXWEBTRY/") + name), {1});
    r = orxsim({"library", "list", "--json", "--library", folder.dir().string()});
    EXPECT_EQ(r.status, 0) << r.err;
    for (const char* json : {"\"Caf\\u00e9.CLO\"", "\"\\u00e4\\u00b8.CLO\"", "\"\\u00ed\\u00a0\\u0080.CLO\"",
                             "\"\xe7\xb6\xb2 \\\"q\\\".CLO\""})
        EXPECT_NE(r.out.find(std::string("{\"name\": ") + json + ", \"width\": 0, \"height\": 0}"), std::string::npos)
            << json << " in " << r.out;
}

TEST_F(OrxsimLibrary, ThumbnailsAreWrittenAsBitmapsOfTheirEntries)
{
    TempDir out;
    const std::string dir = out.path("thumbs");
    RunResult r = orxsim({"library", "list", "--thumbnails", dir}, server->url());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/B.MDL.BMP")) << "an entry without a thumbnail gives no file";
    const std::pair<const char*, std::vector<uint8_t>> expected[] = {
        {"M.MDL.BMP", containerThumbnail(t.ws, 40, 30, 1)}, {"C.CLO.BMP", containerThumbnail(t.ws, 64, 64, 2)}};
    for (const auto& [name, thumb] : expected) {
        int32_t w = 0, h = 0;
        std::vector<uint8_t> pixels(kThumbBytes);
        ASSERT_TRUE(readBMP(t.ws, dir + "/" + name, pixels.data(), w, h)) << name;
        EXPECT_EQ(w, 70);
        EXPECT_EQ(h, 60);
        EXPECT_EQ(pixels, thumb) << name;
    }

    // A thumbnail that cannot be written (a folder holds its name) is named,
    // the others are written all the same, and the run says it was partly done.
    TempDir again;
    const std::string dir2 = again.path("thumbs");
    std::filesystem::create_directories(dir2 + "/M.MDL.BMP");
    r = orxsim({"library", "list", "--thumbnails", dir2}, server->url());
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_EQ(r.out, "models: 2\nB.MDL 0x0\nM.MDL 40x30\nmaterials: 1\nC.CLO 64x64\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(dir2 + "/C.CLO.BMP"));
    EXPECT_EQ(r.err.substr(r.err.rfind('\n', r.err.size() - 2) + 1), "orxsim: thumbnails not written: M.MDL\n")
        << r.err;
}

TEST_F(OrxsimLibrary, RmDeletesWithTheCompanionAndReportsWhatCannotBeDeleted)
{
    RunResult r = orxsim({"library", "rm", "A.RGB", "--library", server->url()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(std::filesystem::exists(root.path("A.RGB")));
    EXPECT_FALSE(std::filesystem::exists(root.path("A.IPR")));

    r = orxsim({"library", "rm", "A.RGB"}, server->url());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Can not delete A.RGB from the library (", 0), 0u) << r.err;
    r = orxsim({"library", "rm", "../ORXWEBTRY/M.MDL"}, server->url());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is not a valid library file name"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::exists(root.path("M.MDL")));

    EXPECT_EQ(orxsim({"library"}).status, 2);
    EXPECT_EQ(orxsim({"library", "move"}).status, 2);
    EXPECT_EQ(orxsim({"library", "rm"}).status, 2);
}

TEST_F(OrxsimLibrary, ALibraryThatCannotBeOpenedStopsWithTheStartUpTexts)
{
    const std::string url = "ftp://127.0.0.1:" + std::to_string(test::unusedPort());
    for (const std::vector<std::string>& args : {std::vector<std::string>{"library", "list"},
                                                 std::vector<std::string>{"library", "rm", "A.RGB"}}) {
        RunResult r = orxsim(args, url);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        std::vector<std::string> lines;
        std::stringstream s(r.err);
        for (std::string line; std::getline(s, line);) lines.push_back(line);
        ASSERT_EQ(lines.size(), 4u) << r.err;
        EXPECT_NE(lines[0].find("onnect"), std::string::npos) << lines[0];
        EXPECT_EQ(lines[1], "m_pFtpConnection == NULL");
        EXPECT_EQ(lines[2], "init_env()  ERROR");
        EXPECT_EQ(lines[3], "ORX Program Will Stop.");
    }
}

// The sample library written by orxsim, in dir; its models and materials
// in name order.
void makeSampleLibrary(const std::string& dir, std::vector<std::string>& models, std::vector<std::string>& materials)
{
    RunResult made = orxsim({"sample-library", dir});
    ASSERT_EQ(made.status, 0) << made.err;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        const std::string ext = name.size() > 4 ? name.substr(name.size() - 4) : "";
        if (ext == ".MDL") models.push_back(name);
        if (ext == ".CLO") materials.push_back(name);
    }
    std::sort(models.begin(), models.end());
    std::sort(materials.begin(), materials.end());
    ASSERT_FALSE(models.empty());
    ASSERT_GE(materials.size(), 2u);
}

// The change-material road with every file read through src: the model,
// the material, and the ORX, MSK and MAP files the run names.
std::vector<uint8_t> dress(Workspace& ws, FileSource& src, const std::string& model, const std::string& material)
{
    EXPECT_TRUE(loadModelForDressing(ws, model, src)) << model;
    ws.materialPath = material;
    EXPECT_EQ(resimulate(ws, src), 1) << model;
    return std::vector<uint8_t>(ws.image, ws.image + imageBytes(ws));
}

TEST(LibraryDress, TheMappingRunReadsEveryFileThroughTheModelsLibrary)
{
    TempDir work;
    const std::string sample = work.path("sample");
    std::vector<std::string> models, materials;
    makeSampleLibrary(sample, models, materials);
    LibraryRoot root;
    for (const auto& e : std::filesystem::directory_iterator(sample))
        std::filesystem::copy_file(e.path(), root.path(e.path().filename().string()));
    FtpServer server(root.root.dir().string());
    ASSERT_TRUE(server.running());

    TestWorkspace disk, remote;
    auto library = connectLibrary(remote.ws, test::configFor(server.url()));
    ASSERT_NE(library, nullptr);
    const std::string model = models[0], material = materials[0];
    const std::vector<uint8_t> local = dress(disk.ws, localFiles(), sample + "/" + model, sample + "/" + material);
    const std::vector<uint8_t> served = dress(remote.ws, *library, model, material);
    EXPECT_EQ(served.size(), local.size());
    EXPECT_TRUE(served == local) << "the picture dressed over FTP differs from the one dressed from disk";
    EXPECT_TRUE(remote.platform.messages.empty()) << remote.platform.messages.front();
}

// The picture dressed from the library is the one dressed from the same
// files on disk. The model and the materials are the bundled sample
// library's, served by a real FTP server.
TEST(OrxsimDress, ThePictureDressedFromTheLibraryIsTheOneDressedFromDisk)
{
    TempDir work;
    const std::string sample = work.path("sample");
    std::vector<std::string> models, materials;
    makeSampleLibrary(sample, models, materials);
    const std::string model = models[0], material = materials[0], other = materials[1];

    RunResult r = orxsim({"dress", model, "--material", material, "-o", work.path("disk.BMP")}, "", sample);
    ASSERT_EQ(r.status, 0) << r.err;
    r = orxsim({"dress", model, "--material", other, "-o", work.path("other.BMP")}, "", sample);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_NE(slurp(work.path("disk.BMP")), slurp(work.path("other.BMP"))) << "the two materials must differ";

    // The library serves the sample library. The folder orxsim runs in holds
    // the same files, except that its material is the other one: a dress
    // that read the disk instead of the library would show it.
    LibraryRoot root;
    const std::string decoy = work.path("decoy");
    std::filesystem::create_directories(decoy);
    for (const auto& e : std::filesystem::directory_iterator(sample)) {
        std::filesystem::copy_file(e.path(), root.path(e.path().filename().string()));
        std::filesystem::copy_file(e.path(), decoy + "/" + e.path().filename().string());
    }
    std::filesystem::copy_file(sample + "/" + other, decoy + "/" + material,
                               std::filesystem::copy_options::overwrite_existing);
    FtpServer server(root.root.dir().string());
    ASSERT_TRUE(server.running());

    r = orxsim({"dress", model, "--material", material, "-o", work.path("library.BMP")}, server.url(), decoy);
    const std::string dressed = slurp(work.path("library.BMP"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(dressed, slurp(work.path("other.BMP"))) << "orxsim dress read the files on disk, not the library";
    EXPECT_EQ(dressed, slurp(work.path("disk.BMP")));
}

}  // namespace
}  // namespace orx
