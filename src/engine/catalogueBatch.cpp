// Catalogue batches: the worker pool and one dress of a line.
#include "catalogueBatch.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "platform/platform.h"
#include "dressAgain.h"
#include "simulation.h"
#include "workspace/fileIo.h"
#include "workspace/fileKinds.h"
#include "workspace/langText.h"
#include "workspace/workspace.h"

namespace orx {

namespace {

// Keeps what the core says while a line is dressed: the line's reason when
// it fails.
class LinePlatform : public QuietPlatform {
public:
    void message(const std::string& text, Icon) override
    {
        std::string line;
        for (char c : text) line += c == '\n' || c == '\r' ? ' ' : c;
        if (!line.empty()) said.push_back(line);
    }
    std::string reason(const std::string& otherwise) const
    {
        if (said.empty()) return otherwise;
        std::string all;
        for (const std::string& s : said) all += (all.empty() ? "" : "; ") + s;
        return all;
    }
    std::vector<std::string> said;
};

// The lines one worker dresses with one model loaded.
using Task = std::vector<const CatalogueLine*>;

// The lines grouped by model, models in the order they first appear, each
// model's lines cut into at most `workers` runs of about equal length.
std::vector<Task> tasksOf(const std::vector<const CatalogueLine*>& lines, int workers)
{
    std::vector<std::string> order;
    std::map<std::string, Task> byModel;
    for (const CatalogueLine* l : lines) {
        Task& t = byModel[l->model];
        if (t.empty()) order.push_back(l->model);
        t.push_back(l);
    }
    std::vector<Task> tasks;
    for (const std::string& model : order) {
        const Task& all = byModel[model];
        const size_t runs = std::min(all.size(), size_t(workers));
        for (size_t r = 0; r < runs; ++r)
            tasks.emplace_back(all.begin() + ptrdiff_t(all.size() * r / runs),
                               all.begin() + ptrdiff_t(all.size() * (r + 1) / runs));
    }
    return tasks;
}

class Worker {
public:
    Worker(const std::string& folder, int32_t language) : folder_(folder)
    {
        ws_.platform = &platform_;
        ws_.screenLanguage = language;
        ws_.mappingThreads = 1;  // the workers are the parallelism
        started_ = startWorkspace(ws_);
        if (!started_) startFailure_ = platform_.reason("no memory for a workspace");
    }

    // Empty when the line was dressed and written, else why not.
    std::string dress(const CatalogueLine& line)
    {
        if (!started_) return startFailure_;
        platform_.said.clear();
        try {
            return dressLine(line);
        } catch (const std::bad_alloc&) {
            loaded_.clear();
            return langText(LangEnglish, Msg::OutOfMemory);
        }
    }

private:
    std::string dressLine(const CatalogueLine& line)
    {
        if (loaded_ != line.model) {
            trace_ = {};
            loaded_.clear();
            if (!loadModelForDressing(ws_, line.model)) return platform_.reason("the model can not be read");
            ws_.modelPath = line.model;
            loaded_ = line.model;
        }
        ws_.materialPath = line.material;
        ws_.repeatLayout = line.layout;
        ws_.contrastExponent = line.contrast;
        ws_.reflection = line.reflection;
        ws_.softMapping = line.soft;
        if (dressLoadedModel(ws_, trace_) != 1) return platform_.reason("a part could not be mapped");
        const std::string path = joinPath(folder_, line.output);
        if (!fileKindOf(path).save(ws_, path)) return platform_.reason("the picture could not be written");
        return {};
    }

    const std::string& folder_;
    LinePlatform platform_;
    Workspace ws_;
    bool started_ = false;
    std::string startFailure_;
    std::string loaded_;  // the model in the workspace
    DressTrace trace_;
};

}  // namespace

bool catalogueOutputComplete(const std::string& path)
{
    const FileKindInfo& kind = fileKindOf(path);
    int32_t w = 0, h = 0;
    if (!kind.size || kind.size(localFiles(), path, w, h) != SizeRead::Ok) return false;
    if (kind.family != KindFamily::Raw) return true;
    return fileSize(path) == int64_t(w) * int64_t(h) * 3;
}

std::vector<CatalogueFailure> runCatalogue(const std::vector<const CatalogueLine*>& lines, const std::string& folder,
                                           int workers, int32_t language, CatalogueProgress& progress)
{
    workers = std::max(workers, 1);
    const std::vector<Task> tasks = tasksOf(lines, workers);
    std::atomic<size_t> next = 0;
    std::mutex failuresLock;
    std::vector<CatalogueFailure> failures;
    auto work = [&] {
        auto worker = std::make_unique<Worker>(folder, language);
        for (size_t t; (t = next++) < tasks.size();)
            for (const CatalogueLine* line : tasks[t]) {
                std::string why = worker->dress(*line);
                if (!why.empty()) {
                    std::lock_guard<std::mutex> hold(failuresLock);
                    failures.push_back({line, std::move(why)});
                }
                ++progress.done;
            }
    };
    std::vector<std::thread> threads;
    const int count = int(std::min<size_t>(size_t(workers), tasks.size()));
    try {
        for (int i = 1; i < count; ++i) threads.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer threads than asked: the ones running share the work.
    }
    if (count > 0) work();
    for (std::thread& t : threads) t.join();
    std::sort(failures.begin(), failures.end(),
              [](const CatalogueFailure& a, const CatalogueFailure& b) { return a.line->number < b.line->number; });
    return failures;
}

}  // namespace orx
