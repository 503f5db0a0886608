// The image-file browser.
#include "imageFileBrowser.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <unistd.h>

#include "workspace/fileKinds.h"
#include "workspace/langText.h"

namespace orx::app {

namespace {

namespace fs = std::filesystem;

struct ImageTypeRow {
    int32_t type;
    FileKind kind;
    const char* name;
    const char* patterns;   // for the folder dialog's filter
};

const ImageTypeRow kImageTypes[] = {
    {ImageBmp, FileKind::BMP, "BMP", "*.BMP"},
    {ImageTif, FileKind::TIF, "TIF", "*.TIF;*.TIFF"},
    {ImageJpg, FileKind::JPG, "JPG", "*.JPG;*.JPEG"},
    {ImagePcx, FileKind::PCX, "PCX", "*.PCX"},
    {ImagePng, FileKind::PNG, "PNG", "*.PNG"},
};

const ImageTypeRow* typeRow(int32_t type)
{
    for (const ImageTypeRow& r : kImageTypes)
        if (r.type == type) return &r;
    return nullptr;
}

const QColor kStripGrey(200, 200, 200);
constexpr int kStripHeight = 20;
constexpr int kStripGap = 2;
constexpr int kCellWidth = kBrowserCellWidth + 4;
constexpr int kCellHeight = kBrowserCellHeight;

QImage imageOf(const SmallPicture& p)
{
    return QImage(p.rgb.data(), p.width, p.height, p.width * 3, QImage::Format_RGB888).copy();
}

// The picture centred in box on white.
void drawThumb(QPainter& painter, const QRect& box, const PictureThumb* thumb)
{
    painter.fillRect(box, Qt::white);
    if (!thumb || !thumb->decoded) return;
    const SmallPicture& p = thumb->picture;
    painter.drawImage(box.x() + (box.width() - p.width) / 2, box.y() + (box.height() - p.height) / 2, imageOf(p));
}

QString sizeTextOf(const PictureThumb* thumb)
{
    if (!thumb || thumb->picture.fullWidth <= 0) return {};
    return QStringLiteral("%1 x %2").arg(thumb->picture.fullWidth).arg(thumb->picture.fullHeight);
}

}  // namespace

const char* imageTypeName(int32_t type)
{
    const ImageTypeRow* r = typeRow(type);
    return r ? r->name : "";
}

std::vector<std::string> imageFilesOf(const std::string& folder, int32_t type)
{
    std::vector<std::string> names;
    const ImageTypeRow* row = typeRow(type);
    if (!row) return names;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string name = it->path().filename().string();
        if (fileKindOf(name).kind == row->kind) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// ---- the preview

PicturePreview::PicturePreview(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kPictureThumbWidth, kPictureThumbHeight + kStripGap + kStripHeight);
}

void PicturePreview::setPicture(std::shared_ptr<const PictureThumb> thumb, bool fits)
{
    thumb_ = std::move(thumb);
    fits_ = fits;
    update();
}

QString PicturePreview::sizeText() const { return sizeTextOf(thumb_.get()); }

void PicturePreview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    drawThumb(p, QRect(0, 0, kPictureThumbWidth, kPictureThumbHeight), thumb_.get());
    const QRect strip(0, kPictureThumbHeight + kStripGap, kPictureThumbWidth, kStripHeight);
    p.fillRect(strip, kStripGrey);
    p.setPen(fits_ ? Qt::black : Qt::red);
    p.drawText(strip, Qt::AlignCenter, sizeText());
}

// ---- a page of thumbnails

PicturePage::PicturePage(PictureThumbnailCache& cache, QWidget* parent)
    : QWidget(parent), cache_(cache), loader_(std::make_unique<PictureThumbnailLoader>(cache))
{
    setFixedSize(kColumns * kCellWidth, kRows * kCellHeight);
    connect(loader_.get(), &PictureThumbnailLoader::ready, this, [this] { update(); });
}

void PicturePage::setFiles(const std::string& folder, const std::vector<std::string>& names)
{
    folder_ = folder;
    names_ = names;
    page_ = 0;
    requestPage();
    update();
}

int32_t PicturePage::pageCount() const { return std::max<int32_t>(1, (int32_t(names_.size()) + kCells - 1) / kCells); }

void PicturePage::setPage(int32_t page)
{
    page = std::clamp(page, 0, pageCount() - 1);
    if (page == page_) return;
    page_ = page;
    requestPage();
    update();
    emit pageChanged(page_);
}

void PicturePage::setActive(bool on)
{
    active_ = on;
    requestPage();
}

void PicturePage::requestPage()
{
    if (!active_) return;
    std::vector<std::string> paths;
    for (int32_t i = page_ * kCells; i < std::min<int32_t>(int32_t(names_.size()), (page_ + 1) * kCells); ++i)
        paths.push_back((fs::path(folder_) / names_[i]).string());
    loader_->request(paths);
}

QPoint PicturePage::cellCentre(int32_t k) const
{
    return QPoint((k % kColumns) * kCellWidth + kCellWidth / 2, (k / kColumns) * kCellHeight + kCellHeight / 2);
}

int32_t PicturePage::hitTest(const QPoint& p) const
{
    if (p.x() < 0 || p.y() < 0 || p.x() >= kColumns * kCellWidth || p.y() >= kRows * kCellHeight) return -1;
    const int32_t index = page_ * kCells + (p.y() / kCellHeight) * kColumns + p.x() / kCellWidth;
    return index < int32_t(names_.size()) ? index : -1;
}

void PicturePage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    for (int32_t k = 0; k < kCells; ++k) {
        const int32_t index = page_ * kCells + k;
        if (index >= int32_t(names_.size())) break;
        const int x = (k % kColumns) * kCellWidth + 2, y = (k / kColumns) * kCellHeight;
        // Only the cache is read here: a cell not decoded yet stays white
        // until the loader reports it.
        const auto thumb = cache_.find((fs::path(folder_) / names_[index]).string());
        drawThumb(p, QRect(x, y + 2, kPictureThumbWidth, kPictureThumbHeight), thumb.get());
        p.setPen(Qt::black);
        p.drawText(QRect(x - 2, y + 63, kCellWidth, 15), Qt::AlignCenter,
                   QString::fromStdString(browserCellName(names_[index])));
        p.setPen(QColor(0, 0, 160));
        p.drawText(QRect(x - 2, y + 78, kCellWidth, 15), Qt::AlignCenter, sizeTextOf(thumb.get()));
    }
}

void PicturePage::mousePressEvent(QMouseEvent* event)
{
    const int32_t index = hitTest(event->position().toPoint());
    if (index >= 0) emit clicked(index);
}

// ---- the dialog

ImageFileBrowser::ImageFileBrowser(Studio& studio, int32_t requestType, QWidget* parent)
    : QDialog(parent), studio_(studio)
{
    const Workspace& ws = studio.ws;
    const auto text = [&](Msg id) { return QString::fromUtf8(langText(ws, id)); };
    setWindowTitle(text(Msg::ImageBrowserTitle));
    folder_ = studio.imageFolder.empty() ? ws.WORKDIR : studio.imageFolder;

    auto* group = new QGroupBox(text(Msg::ImageBrowserTypes));
    auto* radios = new QVBoxLayout(group);
    types_ = new QButtonGroup(this);
    for (const ImageTypeRow& r : kImageTypes) {
        auto* b = new QRadioButton(QString::fromLatin1(r.name));
        types_->addButton(b, r.type);
        radios->addWidget(b);
    }
    connect(types_, &QButtonGroup::idClicked, this, &ImageFileBrowser::chooseType);

    list_ = new QListWidget;
    list_->setMinimumSize(200, 180);
    connect(list_, &QListWidget::currentRowChanged, this, &ImageFileBrowser::showEntry);

    folderButton_ = new QToolButton;
    folderButton_->setText(QStringLiteral("..."));
    folderButton_->setToolTip(text(Msg::BrowserChangeFolder));
    connect(folderButton_, &QToolButton::clicked, this, &ImageFileBrowser::changeFolder);

    preview_ = new PicturePreview;
    thumbs_ = new QPushButton(text(Msg::ImageBrowserThumbnails));
    thumbs_->setCheckable(true);
    connect(thumbs_, &QPushButton::toggled, this, &ImageFileBrowser::showThumbnails);

    auto* buttons = new QDialogButtonBox;
    ok_ = buttons->addButton(text(Msg::ButtonOk), QDialogButtonBox::AcceptRole);
    buttons->addButton(text(Msg::ButtonCancel), QDialogButtonBox::RejectRole);
    ok_->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!preview_->hasPicture()) return;
        choice_ = shown_;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    page_ = new PicturePage(studio.pictureThumbs);
    connect(page_, &PicturePage::clicked, this, [this](int32_t index) { list_->setCurrentRow(index); });
    pageBack_ = new QPushButton(QStringLiteral("<"));
    pageForward_ = new QPushButton(QStringLiteral(">"));
    pageLabel_ = new QLabel;
    connect(pageBack_, &QPushButton::clicked, this, [this] { page_->setPage(page_->page() - 1); });
    connect(pageForward_, &QPushButton::clicked, this, [this] { page_->setPage(page_->page() + 1); });
    connect(page_, &PicturePage::pageChanged, this, &ImageFileBrowser::updatePageLabel);

    auto* side = new QVBoxLayout;
    side->addWidget(preview_);
    side->addWidget(folderButton_, 0, Qt::AlignLeft);
    side->addWidget(thumbs_);
    side->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(group, 0, Qt::AlignTop);
    top->addWidget(list_, 1);
    top->addLayout(side);
    auto* pager = new QHBoxLayout;
    pager->addWidget(pageBack_);
    pager->addWidget(pageLabel_, 1, Qt::AlignCenter);
    pager->addWidget(pageForward_);
    pageBox_ = new QWidget;
    auto* pageLayout = new QVBoxLayout(pageBox_);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(page_);
    pageLayout->addLayout(pager);
    pageBox_->hide();
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(pageBox_);
    all->addWidget(buttons);

    if (typeRow(requestType)) {
        types_->button(requestType)->setChecked(true);
        chooseType(requestType);
    }
}

QRadioButton* ImageFileBrowser::typeButton(int32_t type) const
{
    return qobject_cast<QRadioButton*>(types_->button(type));
}

std::vector<std::string> ImageFileBrowser::listedNames() const
{
    std::vector<std::string> names;
    for (int i = 0; i < list_->count(); ++i) names.push_back(list_->item(i)->text().toStdString());
    return names;
}

void ImageFileBrowser::chooseType(int32_t type)
{
    if (!typeRow(type)) return;
    type_ = type;
    if (!types_->button(type)->isChecked()) types_->button(type)->setChecked(true);
    refill();
}

void ImageFileBrowser::refill()
{
    const std::vector<std::string> names = imageFilesOf(folder_, type_);
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
        for (const std::string& n : names) list_->addItem(QString::fromStdString(n));
    }
    shown_.clear();
    preview_->setPicture(nullptr, true);
    ok_->setEnabled(false);
    page_->setFiles(folder_, names);
    updatePageLabel();
}

void ImageFileBrowser::showEntry(int32_t row)
{
    shown_.clear();
    if (row < 0 || row >= list_->count()) {
        preview_->setPicture(nullptr, true);
        ok_->setEnabled(false);
        return;
    }
    const std::string path = (fs::path(folder_) / list_->item(row)->text().toStdString()).string();
    const auto thumb = pictureThumb(studio_.pictureThumbs, path);
    const SmallPicture& p = thumb->picture;
    preview_->setPicture(thumb, p.fullWidth <= 0 || imageFits(studio_.ws, p.fullWidth, p.fullHeight));
    if (thumb->decoded) shown_ = path;
    ok_->setEnabled(thumb->decoded);
    page_->setPage(row / PicturePage::kCells);
}

void ImageFileBrowser::selectEntry(int32_t row) { list_->setCurrentRow(row); }

void ImageFileBrowser::changeFolder()
{
    Workspace& ws = studio_.ws;
    const ImageTypeRow* row = typeRow(type_);
    const char* name = row ? row->name : "*";
    const std::string filter = langFormat(ws, Msg::ImageBrowserFilter, name, row ? row->patterns : "*.*");
    const std::string file = ws.platform->chooseOpenFile(langFormat(ws, Msg::ImageBrowserFolder, name), filter);
    if (file.empty()) return;
    folder_ = dirName(file);
    studio_.imageFolder = folder_;
    // The chosen folder becomes the work directory, as the file dialogs' start.
    ws.WORKDIR = folder_;
    [[maybe_unused]] const int entered = ::chdir(folder_.c_str());
    refill();
}

void ImageFileBrowser::showThumbnails(bool on)
{
    if (thumbs_->isChecked() != on) thumbs_->setChecked(on);
    pageBox_->setVisible(on);
    page_->setActive(on);
    const int32_t current = list_->currentRow();
    if (on && current >= 0) page_->setPage(current / PicturePage::kCells);
    updatePageLabel();
}

void ImageFileBrowser::updatePageLabel()
{
    pageLabel_->setText(QStringLiteral("%1 / %2").arg(page_->page() + 1).arg(page_->pageCount()));
    pageBack_->setEnabled(page_->page() > 0);
    pageForward_->setEnabled(page_->page() + 1 < page_->pageCount());
}

}  // namespace orx::app
