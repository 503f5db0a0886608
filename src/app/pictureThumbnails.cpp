// Thumbnails of foreign pictures: decoding, the cache, the loader threads.
#include "pictureThumbnails.h"

#include <QMetaObject>
#include <filesystem>

namespace orx::app {

namespace {

namespace fs = std::filesystem;

// The file's size and modification time; size -1 when it cannot be read.
void fileStamp(const std::string& path, int64_t& bytes, int64_t& time)
{
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    bytes = ec ? -1 : int64_t(size);
    const auto t = fs::last_write_time(path, ec);
    time = ec ? 0 : int64_t(t.time_since_epoch().count());
}

}  // namespace

std::shared_ptr<const PictureThumb> PictureThumbnailCache::find(const std::string& path) const
{
    int64_t bytes = 0, time = 0;
    fileStamp(path, bytes, time);
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(path);
    if (it == entries_.end() || it->second.fileBytes != bytes || it->second.fileTime != time) return nullptr;
    return it->second.thumb;
}

void PictureThumbnailCache::put(const std::string& path, std::shared_ptr<const PictureThumb> thumb)
{
    int64_t bytes = 0, time = 0;
    fileStamp(path, bytes, time);
    std::lock_guard lock(mutex_);
    auto it = entries_.find(path);
    if (it == entries_.end()) {
        if (entries_.size() >= capacity_ && !order_.empty()) {
            entries_.erase(order_.front());
            order_.pop_front();
        }
        it = entries_.emplace(path, Entry{}).first;
        it->second.age = order_.insert(order_.end(), path);
    }
    it->second.fileBytes = bytes;
    it->second.fileTime = time;
    it->second.thumb = std::move(thumb);
}

size_t PictureThumbnailCache::size() const
{
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::shared_ptr<const PictureThumb> decodePictureThumb(const std::string& path)
{
    auto thumb = std::make_shared<PictureThumb>();
    thumb->decoded = readPictureThumbnail(localFiles(), path, kPictureThumbWidth, kPictureThumbHeight,
                                          kPictureThumbMaxPixels, thumb->picture, thumb->why);
    if (!thumb->decoded) {
        // Too large to decode for a cell, or damaged: its size, when the
        // headers tell it, still goes under the cell.
        PictureProbe probe;
        std::string why;
        if (probePicture(localFiles(), path, probe, why)) {
            thumb->picture.fullWidth = probe.width;
            thumb->picture.fullHeight = probe.height;
        }
    }
    return thumb;
}

std::shared_ptr<const PictureThumb> pictureThumb(PictureThumbnailCache& cache, const std::string& path)
{
    if (auto found = cache.find(path)) return found;
    auto thumb = decodePictureThumb(path);
    cache.put(path, thumb);
    return thumb;
}

PictureThumbnailLoader::PictureThumbnailLoader(PictureThumbnailCache& cache, QObject* parent)
    : QObject(parent), cache_(cache)
{
    pool_.setMaxThreadCount(std::max(1, std::min(QThread::idealThreadCount(), 4)));
}

PictureThumbnailLoader::~PictureThumbnailLoader()
{
    pool_.clear();
    pool_.waitForDone();
}

void PictureThumbnailLoader::request(const std::vector<std::string>& paths)
{
    pool_.clear();
    for (const std::string& path : paths) {
        if (cache_.find(path)) {
            emit ready(QString::fromStdString(path));
            continue;
        }
        pool_.start([this, path] {
            cache_.put(path, decodePictureThumb(path));
            // Queued: delivered on the loader's thread, dropped if the
            // loader is gone by then (its destructor waited for us).
            QMetaObject::invokeMethod(
                this, [this, path] { emit ready(QString::fromStdString(path)); }, Qt::QueuedConnection);
        });
    }
}

bool PictureThumbnailLoader::waitForIdle(int ms) { return pool_.waitForDone(ms); }

}  // namespace orx::app
