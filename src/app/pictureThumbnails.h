// Small pictures of foreign image files for the image-file browser: its
// 70 x 60 preview and its pages of thumbnails. One decode serves both: a
// JPEG's embedded EXIF preview when it has one, else the JPEG at 1/8 in
// the DCT, else the whole picture reduced. The results stay cached while
// the program runs, keyed by path and checked against the file's size and
// time, so that paging back and forth decodes nothing twice.
#pragma once

#include <QObject>
#include <QThreadPool>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "workspace/pictureFile.h"

namespace orx::app {

constexpr int32_t kPictureThumbWidth = 70;
constexpr int32_t kPictureThumbHeight = 60;
// Pictures larger than this are not decoded for a preview (their size is
// still told): a 100-megapixel decode would hold 300 MB for a 70 x 60 cell.
constexpr uint64_t kPictureThumbMaxPixels = 100'000'000;

struct PictureThumb {
    bool decoded = false;        // false: no preview (why says so); the size may still be known
    std::string why;
    SmallPicture picture;        // width x height fits 70 x 60; fullWidth x fullHeight as it opens
};

// Shared by the browser's UI thread and its decoding threads.
class PictureThumbnailCache {
public:
    explicit PictureThumbnailCache(size_t capacity = 4096) : capacity_(capacity) {}

    // The cached thumbnail of path, or nullptr when there is none or the
    // file changed since it was made.
    std::shared_ptr<const PictureThumb> find(const std::string& path) const;
    void put(const std::string& path, std::shared_ptr<const PictureThumb> thumb);
    size_t size() const;

private:
    struct Entry {
        int64_t fileBytes = -1, fileTime = 0;
        std::shared_ptr<const PictureThumb> thumb;
        std::list<std::string>::iterator age;
    };
    const size_t capacity_;
    mutable std::mutex mutex_;
    std::map<std::string, Entry> entries_;
    std::list<std::string> order_;   // oldest first; the oldest goes when full
};

// Decodes one file's thumbnail (no cache).
std::shared_ptr<const PictureThumb> decodePictureThumb(const std::string& path);
// The cached one, or decoded now and cached.
std::shared_ptr<const PictureThumb> pictureThumb(PictureThumbnailCache& cache, const std::string& path);

// Decodes thumbnails on threads of its own and reports each as it is done
// (on the thread the loader lives on). A new request drops the files of the
// last one that have not started. The destructor waits for the decodes
// under way, so no report outlives the loader.
class PictureThumbnailLoader : public QObject {
    Q_OBJECT
public:
    explicit PictureThumbnailLoader(PictureThumbnailCache& cache, QObject* parent = nullptr);
    ~PictureThumbnailLoader() override;

    // Thumbnails already cached are reported at once, before this returns.
    void request(const std::vector<std::string>& paths);
    // Waits up to ms for every requested decode; true when all ended.
    bool waitForIdle(int ms);

signals:
    void ready(const QString& path);

private:
    PictureThumbnailCache& cache_;
    QThreadPool pool_;
};

}  // namespace orx::app
