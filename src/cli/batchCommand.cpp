// orxsim batch: a catalogue of dresses from a manifest.
//
//   orxsim batch MANIFEST -o DIR [--jobs N] [--shard I/N] [--format bmp|rgb]
//
// MANIFEST lists one dress a line (engine/catalogueManifest.h). Each output,
// DIR/MODEL-MATERIAL[-n].BMP (or .RGB with its .IPR), is written whole and
// renamed in, and a line whose output is already there whole is passed
// over: a batch that was stopped is simply started again (what a batch
// killed outright left of the files it was writing is removed first). --jobs sets the
// workers (default: one per core). --shard I/N plays only the lines whose
// number (counted from 0 over the dress lines) modulo N is I, so that N
// machines, each given its own I, share one catalogue over one folder.
//
// On a terminal a progress line is kept on stderr; a summary always ends
// the run. Exit 0 when every line of the shard is there, 3 when some lines
// failed (each named on stderr), 1 when the manifest or DIR cannot be
// used, 2 for a command line that cannot be understood.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>

#include "cli.h"
#include "engine/catalogueBatch.h"
#include "engine/catalogueManifest.h"
#include "workspace/fileIo.h"
#include "workspace/fileKinds.h"

namespace orx {

namespace {

constexpr uint64_t kManifestMaxBytes = 256u << 20;
constexpr int kMostJobs = 256;

bool parseCount(const std::string& text, int64_t& n)
{
    char* end = nullptr;
    n = std::strtoll(text.c_str(), &end, 10);
    return !text.empty() && end && *end == '\0' && text[0] != '-' && text[0] != '+';
}

struct Shard {
    int64_t index = 0, count = 1;
};

bool parseShard(const std::string& text, Shard& s)
{
    const size_t slash = text.find('/');
    return slash != std::string::npos && parseCount(text.substr(0, slash), s.index) &&
           parseCount(text.substr(slash + 1), s.count) && s.count >= 1 && s.index < s.count;
}

bool parseFormat(std::string text, CatalogueFormat& f)
{
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (text == "bmp") f = CatalogueFormat::Bmp;
    else if (text == "rgb") f = CatalogueFormat::Rgb;
    else return false;
    return true;
}

std::string clockText(double seconds)
{
    const long s = long(seconds + 0.5);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%ld:%02ld", s / 60, s % 60);
    return buf;
}

// Removes what a batch killed outright left of the files it was writing
// (NAME.orxtmp-XXXXXX beside NAME): only for this shard's outputs, which
// no other shard writes.
void removeLeftovers(const std::string& dir, const std::vector<const CatalogueLine*>& lines)
{
    std::set<std::string> mine;
    for (const CatalogueLine* l : lines) {
        mine.insert(l->output);
        const std::string companion = companionOf(l->output);
        if (!companion.empty()) mine.insert(companion);
    }
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        const size_t tag = name.rfind(".orxtmp-");
        if (tag != std::string::npos && mine.count(name.substr(0, tag))) std::filesystem::remove(entry.path(), ec);
    }
}

// Redraws the progress line every half second until `finished`.
void showProgress(const CatalogueProgress& progress, int64_t total, const std::atomic<bool>& finished)
{
    const auto start = std::chrono::steady_clock::now();
    while (!finished) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const int64_t done = progress.done;
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double rate = elapsed > 0 ? done / elapsed : 0;
        std::fprintf(stderr, "\rorxsim batch: %lld/%lld, %.1f dresses per second, %s left   ", (long long)done,
                     (long long)total, rate, rate > 0 ? clockText(double(total - done) / rate).c_str() : "?:??");
    }
    std::fputs("\r\033[K", stderr);
}

}  // namespace

int batchCommand(Cli& cli)
{
    if (cli.args.size() != 1) return usage("batch takes one manifest");
    std::string dir, text;
    if (!cli.option("-o", dir) || dir.empty()) return usage("batch needs -o DIR");
    int64_t jobs = std::max(1u, std::thread::hardware_concurrency());
    if (cli.option("--jobs", text) && !(parseCount(text, jobs) && jobs >= 1 && jobs <= kMostJobs))
        return usage("--jobs takes a number of workers from 1 to 256");
    Shard shard;
    if (cli.option("--shard", text) && !parseShard(text, shard))
        return usage("--shard takes I/N with 0 <= I < N");
    CatalogueFormat format = CatalogueFormat::Bmp;
    if (cli.option("--format", text) && !parseFormat(text, format)) return usage("--format is bmp or rgb");

    const std::string& manifest = cli.args[0];
    std::vector<uint8_t> bytes;
    if (!readWholeFile(localFiles(), manifest, kManifestMaxBytes, bytes))
        return fail("orxsim: " + manifest + ": the manifest can not be read");
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!std::filesystem::is_directory(dir, ec)) return fail("orxsim: " + dir + ": not a folder that can be made");

    const std::vector<CatalogueLine> lines =
        parseCatalogueManifest(std::string(bytes.begin(), bytes.end()), dirName(manifest), format);
    std::vector<const CatalogueLine*> mine, todo;
    std::vector<CatalogueFailure> failures;
    int64_t inShardCount = 0, already = 0;
    for (const CatalogueLine& l : lines) {
        if (!inShard(l, shard.index, shard.count)) continue;
        ++inShardCount;
        if (!l.output.empty()) mine.push_back(&l);
        if (!l.error.empty())
            failures.push_back({&l, l.error});
        else if (catalogueOutputComplete(joinPath(dir, l.output)))
            ++already;
        else
            todo.push_back(&l);
    }

    removeLeftovers(dir, mine);
    const auto start = std::chrono::steady_clock::now();
    CatalogueProgress progress;
    std::atomic<bool> finished = false;
    std::thread shower;
    if (::isatty(STDERR_FILENO) && !todo.empty())
        shower = std::thread(showProgress, std::cref(progress), int64_t(todo.size()), std::cref(finished));
    std::vector<CatalogueFailure> dressFailures = runCatalogue(todo, dir, int(jobs), cli.ws.screenLanguage, progress);
    finished = true;
    if (shower.joinable()) shower.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    failures.insert(failures.end(), dressFailures.begin(), dressFailures.end());
    std::sort(failures.begin(), failures.end(),
              [](const CatalogueFailure& a, const CatalogueFailure& b) { return a.line->number < b.line->number; });
    for (const CatalogueFailure& f : failures)
        std::fprintf(stderr, "orxsim batch: %s line %d: %s\n", manifest.c_str(), f.line->lineNumber, f.reason.c_str());
    const int64_t dressed = int64_t(todo.size()) - int64_t(dressFailures.size());
    std::fprintf(stderr,
                 "orxsim batch: shard %lld/%lld: %lld lines, %lld dressed, %lld already there, %lld failed in %.1f s "
                 "(%.1f dresses per second, %lld workers)\n",
                 (long long)shard.index, (long long)shard.count, (long long)inShardCount, (long long)dressed,
                 (long long)already, (long long)failures.size(), seconds, seconds > 0 ? dressed / seconds : 0.0,
                 (long long)jobs);
    return failures.empty() ? kExitOk : kExitPartly;
}

}  // namespace orx
