// Foreign pictures at the sizes people bring: a photo-like 6000 x 4000
// picture (the sofa sample model stretched, with film grain) as JPEG, PNG
// and TIFF, a 7000 x 10000 TIFF, a page of 20 camera JPEGs in the image-file
// browser, and scans from SANE's test backend.
//
// Goals: open the 24 MP JPEG <= 250 ms; Save JPG (bitmap, encoder, rename)
// <= 0.5 s; Save PNG <= 1.5 s; open the 70 MP TIFF <= 1.5 s using <= 1 GB
// beyond the image block (the peak_extra_mb counter); thumbnails of 20
// camera JPEGs: the first <= 150 ms, the page <= 1 s cold, <= 50 ms cached;
// a 600 dpi 200 x 200 mm test scan shown <= 0.5 s; Cancel to idle <= 0.5 s.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

#include "app/pictureThumbnails.h"
#include "samples/sampleLibrary.h"
#include "scan/scanner.h"
#include "workspace/jpegExport.h"
#include "workspace/pictureFile.h"
#include "workspace/workspace.h"

namespace {

namespace fs = std::filesystem;
using namespace orx;

constexpr int32_t kPhotoWidth = 6000, kPhotoHeight = 4000;
constexpr int32_t kTiffWidth = 7000, kTiffHeight = 10000;
constexpr int kPageFiles = 20;

// The pictures, written once for every benchmark.
struct Pictures {
    QuietPlatform platform;
    Workspace ws;
    fs::path dir;
    std::string jpeg, png, tiff, bigTiff;
    std::string camera, plainJpegs;   // folders of 20 JPEGs with and without an EXIF preview
    std::vector<uint8_t> photo;

    Pictures()
    {
        ::setenv("ORX_BLOCK_BYTES", "640000000", 0);
        ws.platform = &platform;
        ws.screenLanguage = LangEnglish;
        dir = fs::temp_directory_path() / ("formats-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir / "camera");
        fs::create_directories(dir / "plain");
        ws.VLX98DIR = ws.WORKDIR = dir.string();
        startWorkspace(ws);
        if (!writeSampleModel(ws, dir.string(), "PHOTO", SampleScene::Sofa, kPhotoWidth, kPhotoHeight)) std::abort();
        addGrain(ws);
        photo.assign(ws.image, ws.image + imageBytes(ws));
        jpeg = path("photo.jpg");
        png = path("photo.png");
        tiff = path("photo.tif");
        if (!saveJPG(ws, jpeg, ORX_ENCODER_PATH) || !savePNG(ws, png) || !saveTIFF(ws, tiff)) std::abort();
        writeCameraFolders();
        // The large TIFF: the photo tiled into 7000 x 10000.
        layoutPlanes(ws, kTiffWidth, kTiffHeight);
        for (int32_t y = 0; y < kTiffHeight; ++y)
            for (int32_t x = 0; x < kTiffWidth; ++x)
                std::memcpy(ws.image + (uint64_t(y) * kTiffWidth + x) * 3,
                            photo.data() + (uint64_t(y % kPhotoHeight) * kPhotoWidth + x % kPhotoWidth) * 3, 3);
        bigTiff = path("big.tif");
        if (!saveTIFF(ws, bigTiff)) std::abort();
        restorePhoto();
    }
    ~Pictures() { fs::remove_all(dir); }

    std::string path(const char* name) const { return (dir / name).string(); }

    void restorePhoto()
    {
        layoutPlanes(ws, kPhotoWidth, kPhotoHeight);
        std::memcpy(ws.image, photo.data(), photo.size());
    }

    // Film grain: the smooth rendering compresses far better than a photo.
    static void addGrain(Workspace& ws)
    {
        std::mt19937 rng(7);
        std::normal_distribution<float> grain(0, 6);
        for (uint64_t i = 0; i < imageBytes(ws); ++i)
            ws.image[i] = uint8_t(std::clamp(int(ws.image[i] + grain(rng)), 0, 255));
    }

    // 20 copies of the photo JPEG, each a few bytes different (so that no
    // cache below ours serves them) and, in camera/, with a 160 x 120 EXIF
    // preview as cameras write.
    void writeCameraFolders()
    {
        std::ifstream in(jpeg, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        SmallPicture small;
        fitPicture(photo.data(), kPhotoWidth, kPhotoHeight, 160, 120, small);
        layoutPlanes(ws, small.width, small.height);
        std::memcpy(ws.image, small.rgb.data(), small.rgb.size());
        const std::string previewPath = path("preview.jpg");
        if (!saveJPG(ws, previewPath, ORX_ENCODER_PATH)) std::abort();
        std::ifstream pin(previewPath, std::ios::binary);
        const std::vector<uint8_t> preview((std::istreambuf_iterator<char>(pin)), {});
        const std::vector<uint8_t> exif = exifApp1(preview);
        for (int i = 0; i < kPageFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "IMG_%04d.JPG", i);
            std::vector<uint8_t> plain = bytes;
            plain.insert(plain.end() - 2, uint8_t(i));  // a stray byte before the end marker
            std::ofstream((dir / "plain" / name), std::ios::binary).write((const char*)plain.data(), plain.size());
            std::vector<uint8_t> cam(plain.begin(), plain.begin() + 2);
            cam.insert(cam.end(), exif.begin(), exif.end());
            cam.insert(cam.end(), plain.begin() + 2, plain.end());
            std::ofstream((dir / "camera" / name), std::ios::binary).write((const char*)cam.data(), cam.size());
        }
        camera = (dir / "camera").string();
        plainJpegs = (dir / "plain").string();
    }

    // An APP1 segment: "Exif", a little-endian TIFF header, IFD0 with the
    // orientation, IFD1 pointing at the preview JPEG.
    static std::vector<uint8_t> exifApp1(const std::vector<uint8_t>& preview)
    {
        std::vector<uint8_t> t;
        auto u16 = [&](uint32_t v) { t.push_back(uint8_t(v)); t.push_back(uint8_t(v >> 8)); };
        auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
        t.insert(t.end(), {'I', 'I', 42, 0});
        u32(8);
        u16(1);                          // IFD0: one entry
        u16(0x0112); u16(3); u32(1); u16(1); u16(0);   // orientation 1
        const uint32_t ifd1 = 8 + 2 + 12 + 4;
        u32(ifd1);
        u16(2);                          // IFD1: the preview's offset and length
        const uint32_t data = ifd1 + 2 + 2 * 12 + 4;
        u16(0x0201); u16(4); u32(1); u32(data);
        u16(0x0202); u16(4); u32(1); u32(uint32_t(preview.size()));
        u32(0);
        t.insert(t.end(), preview.begin(), preview.end());
        std::vector<uint8_t> seg = {0xFF, 0xE1};
        const size_t len = t.size() + 8;
        seg.push_back(uint8_t(len >> 8));
        seg.push_back(uint8_t(len));
        seg.insert(seg.end(), {'E', 'x', 'i', 'f', 0, 0});
        seg.insert(seg.end(), t.begin(), t.end());
        return seg;
    }
};

Pictures& pictures()
{
    static Pictures p;
    return p;
}

long peakKilobytes()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

void BM_OpenJpeg24MP(benchmark::State& state)
{
    Pictures& p = pictures();
    for (auto _ : state)
        if (!openPictureImage(p.ws, p.jpeg)) state.SkipWithError("the JPEG did not open");
    state.counters["file_mb"] = double(fs::file_size(p.jpeg)) / 1e6;
    p.restorePhoto();
}
BENCHMARK(BM_OpenJpeg24MP)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveJpg24MP(benchmark::State& state)
{
    Pictures& p = pictures();
    p.restorePhoto();
    const std::string out = p.path("saved.jpg");
    for (auto _ : state)
        if (!saveJPG(p.ws, out, ORX_ENCODER_PATH)) state.SkipWithError("the JPEG was not written");
}
BENCHMARK(BM_SaveJpg24MP)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SavePng24MP(benchmark::State& state)
{
    Pictures& p = pictures();
    p.restorePhoto();
    const std::string out = p.path("saved.png");
    for (auto _ : state)
        if (!savePNG(p.ws, out)) state.SkipWithError("the PNG was not written");
    state.counters["file_mb"] = double(fs::file_size(out)) / 1e6;
}
BENCHMARK(BM_SavePng24MP)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_OpenTiff70MP(benchmark::State& state)
{
    Pictures& p = pictures();
    const long before = peakKilobytes();
    for (auto _ : state)
        if (!openPictureImage(p.ws, p.bigTiff)) state.SkipWithError("the TIFF did not open");
    state.counters["peak_extra_mb"] = double(peakKilobytes() - before) / 1024;
    p.restorePhoto();
}
BENCHMARK(BM_OpenTiff70MP)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

std::vector<std::string> pagePaths(const std::string& folder)
{
    std::vector<std::string> paths;
    for (int i = 0; i < kPageFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/IMG_%04d.JPG", i);
        paths.push_back(folder + name);
    }
    return paths;
}

// One thumbnail, as the first cell of a page waits for it.
void BM_FirstThumbnail(benchmark::State& state)
{
    const std::string folder = state.range(0) ? pictures().camera : pictures().plainJpegs;
    const std::string path = pagePaths(folder)[0];
    for (auto _ : state) benchmark::DoNotOptimize(app::decodePictureThumb(path));
    state.SetLabel(state.range(0) ? "EXIF preview" : "1/8 DCT");
}
BENCHMARK(BM_FirstThumbnail)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// A page of 20 through the browser's loader threads, with an empty cache
// (cold) or the page's own cache (cached).
void BM_ThumbnailPage(benchmark::State& state)
{
    const bool camera = state.range(0) == 1, cached = state.range(1) == 1;
    const std::vector<std::string> paths = pagePaths(camera ? pictures().camera : pictures().plainJpegs);
    app::PictureThumbnailCache warm;
    if (cached)
        for (const std::string& p : paths) app::pictureThumb(warm, p);
    for (auto _ : state) {
        app::PictureThumbnailCache cold;
        app::PictureThumbnailLoader loader(cached ? warm : cold);
        loader.request(paths);
        loader.waitForIdle(60000);
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetLabel(std::string(camera ? "EXIF preview" : "1/8 DCT") + (cached ? ", cached" : ", cold"));
}
BENCHMARK(BM_ThumbnailPage)->Args({1, 0})->Args({0, 0})->Args({0, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

// SANE's test backend, configured in a folder of its own.
struct TestScanner {
    fs::path conf;
    std::shared_ptr<Scanner> scanner;
    TestScanner()
    {
        conf = pictures().dir / "sane";
        fs::create_directories(conf);
        std::ofstream(conf / "dll.conf") << "test\n";
        std::ofstream(conf / "test.conf") << "";
        ::setenv("SANE_CONFIG_DIR", conf.c_str(), 1);
        std::string why;
        scanner = Scanner::open("test:0", why);
    }
};

TestScanner& testScanner()
{
    static TestScanner t;
    return t;
}

// From Start Scan to the picture in the working image.
void BM_TestScan600dpi(benchmark::State& state)
{
    TestScanner& t = testScanner();
    if (!t.scanner) return state.SkipWithError("no SANE test backend");
    Workspace& ws = pictures().ws;
    ScanSettings s;
    s.resolution = 600;
    s.wholeBed = false;
    s.area[2] = s.area[3] = 200;
    s.options = {{"test-picture", "Color pattern"}};
    for (auto _ : state) {
        ScanJob job(t.scanner, s, ws.planeCapacity);
        if (!job.wait(30000)) return state.SkipWithError("the test backend hung");
        ScanResult r = job.take();
        if (r.status != ScanStatus::Ok) return state.SkipWithError(r.why.c_str());
        if (!takePicture(ws, r.image.rgb.data(), r.image.width, r.image.height, "scan")) std::abort();
        state.counters["width"] = r.image.width;
    }
}
BENCHMARK(BM_TestScan600dpi)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Cancel while the backend reads slowly: until the worker has ended.
void BM_CancelToIdle(benchmark::State& state)
{
    TestScanner& t = testScanner();
    if (!t.scanner) return state.SkipWithError("no SANE test backend");
    ScanSettings s;
    s.resolution = 300;
    s.options = {{"read-limit", "yes"}, {"read-limit-size", "1024"}, {"read-delay", "yes"}, {"read-delay-duration", "200000"}};
    for (auto _ : state) {
        state.PauseTiming();
        ScanJob job(t.scanner, s, pictures().ws.planeCapacity);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        state.ResumeTiming();
        if (!job.cancel(5000)) return state.SkipWithError("the scan did not stop");
    }
}
BENCHMARK(BM_CancelToIdle)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
