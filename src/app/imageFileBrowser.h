// "Open Image File": pick a BMP, TIF, JPG, PCX or PNG file from a folder
// and see it before taking it. The radios choose the type, the list shows
// the folder's files of that type, a click on one shows it in the 70 x 60
// preview with its size in the grey strip below (red when it is larger
// than the image block). OK takes the file shown, so it waits for a
// preview. "Thumbnails" shows the folder as pages of 20 cells, decoded on
// other threads and kept for the next time.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "pictureThumbnails.h"
#include "studio.h"

class QButtonGroup;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace orx::app {

// The types the browser offers; a request code opens it on one. 0 opens
// it with none chosen and an empty list.
enum ImageType : int32_t { ImageTypeNone = 0, ImageBmp = 2, ImageTif = 3, ImageJpg = 4, ImagePcx = 5, ImagePng = 6 };

// "BMP" ... "PNG"; "" for none.
const char* imageTypeName(int32_t type);
// The files of folder whose extension is one of the type's (any case;
// .tif/.tiff, .jpg/.jpeg), sorted by name.
std::vector<std::string> imageFilesOf(const std::string& folder, int32_t type);

// The preview: the picture fitted into 70 x 60 on white, and the grey strip
// with "W x H" below it.
class PicturePreview : public QWidget {
    Q_OBJECT
public:
    explicit PicturePreview(QWidget* parent = nullptr);
    // nullptr clears it; fits false draws the size in red.
    void setPicture(std::shared_ptr<const PictureThumb> thumb, bool fits);
    bool hasPicture() const { return thumb_ && thumb_->decoded; }
    QString sizeText() const;
    bool sizeInRed() const { return thumb_ && !fits_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<const PictureThumb> thumb_;
    bool fits_ = true;
};

// A page of 20 thumbnail cells of the listed files, 5 across and 4 down.
class PicturePage : public QWidget {
    Q_OBJECT
public:
    static constexpr int32_t kColumns = 5, kRows = 4, kCells = kColumns * kRows;

    PicturePage(PictureThumbnailCache& cache, QWidget* parent = nullptr);
    void setFiles(const std::string& folder, const std::vector<std::string>& names);
    void setPage(int32_t page);
    // Decoding runs only while the page is shown.
    void setActive(bool on);
    int32_t page() const { return page_; }
    int32_t pageCount() const;
    // The file index under a point, or -1.
    int32_t hitTest(const QPoint& p) const;
    QPoint cellCentre(int32_t k) const;
    PictureThumbnailLoader& loader() { return *loader_; }

signals:
    void clicked(int32_t index);
    void pageChanged(int32_t page);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void requestPage();

    PictureThumbnailCache& cache_;
    std::unique_ptr<PictureThumbnailLoader> loader_;
    std::string folder_;
    std::vector<std::string> names_;
    int32_t page_ = 0;
    bool active_ = false;
};

class ImageFileBrowser : public QDialog {
    Q_OBJECT
public:
    ImageFileBrowser(Studio& studio, int32_t requestType, QWidget* parent = nullptr);

    // The file shown in the preview when OK was pressed: a full path.
    const std::string& choice() const { return choice_; }
    int32_t imageType() const { return type_; }
    const std::string& folder() const { return folder_; }
    std::vector<std::string> listedNames() const;

    void chooseType(int32_t type);
    // Selects a list entry, as a click does.
    void selectEntry(int32_t row);
    void changeFolder();
    void showThumbnails(bool on);

    QRadioButton* typeButton(int32_t type) const;
    QListWidget* list() const { return list_; }
    PicturePreview* preview() const { return preview_; }
    QPushButton* okButton() const { return ok_; }
    QToolButton* folderButton() const { return folderButton_; }
    QPushButton* thumbnailsButton() const { return thumbs_; }
    PicturePage* page() const { return page_; }

private:
    void refill();
    void showEntry(int32_t row);
    void updatePageLabel();

    Studio& studio_;
    int32_t type_ = ImageTypeNone;
    std::string folder_;
    std::string shown_;        // the path in the preview
    std::string choice_;
    QButtonGroup* types_;
    QListWidget* list_;
    PicturePreview* preview_;
    QPushButton* ok_;
    QToolButton* folderButton_;
    QPushButton* thumbs_;
    PicturePage* page_;
    QPushButton* pageBack_;
    QPushButton* pageForward_;
    QLabel* pageLabel_;
    QWidget* pageBox_;
};

}  // namespace orx::app
