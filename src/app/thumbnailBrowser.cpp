// The thumbnail browser.
#include "thumbnailBrowser.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <unistd.h>

#include "library/folderLibrary.h"
#include "workspace/filePlaces.h"
#include "workspace/langText.h"

namespace orx::app {

namespace {

constexpr char kLayoutFile[] = "VLXHV.CFG";
const QColor kCellGrey(190, 190, 190);
const QColor kLabelBlue(0, 128, 255);
const QColor kSizeText(0, 200, 255);
constexpr int kScrollThickness = 16;

QRect box(const BrowserBox& b) { return QRect(b.x, b.y, b.width, b.height); }

// The three buttons' pictures: a folder, a cross, a turn between the edges.
QIcon buttonIcon(int which)
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    if (which == 0) {
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(2, 6, 16, 11);
        p.drawRect(2, 4, 7, 3);
    } else if (which == 1) {
        p.setPen(QPen(QColor(200, 0, 0), 2.5));
        p.drawLine(4, 4, 16, 16);
        p.drawLine(16, 4, 4, 16);
    } else {
        p.drawRect(2, 12, 12, 5);
        p.drawRect(13, 2, 5, 12);
    }
    return QIcon(pm);
}

QSize screenSize(const QWidget* w)
{
    const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : QSize(1280, 1024);
}

}  // namespace

ThumbnailBrowser::ThumbnailBrowser(Studio& studio, const std::string& title, const std::string& extension,
                                   QWidget* parent, int32_t purpose)
    : QDialog(parent), studio_(studio), title_(title), extension_(extension), purpose_(purpose)
{
    const Workspace& ws = studio.ws;
    studio_.browserLayout = readBrowserLayout(configFile(ws, kLayoutFile), studio_.browserLayout);
    const Msg tips[3] = {Msg::BrowserChangeFolder, Msg::BrowserExit, Msg::BrowserPosition};
    for (int i = 0; i < 3; ++i) {
        buttons_[i] = new QToolButton(this);
        buttons_[i]->setIcon(buttonIcon(i));
        buttons_[i]->setToolTip(QString::fromUtf8(langText(ws, tips[i])));
        buttons_[i]->setFocusPolicy(Qt::NoFocus);
    }
    connect(buttons_[0], &QToolButton::clicked, this, &ThumbnailBrowser::changeFolder);
    connect(buttons_[1], &QToolButton::clicked, this, &QDialog::reject);
    connect(buttons_[2], &QToolButton::clicked, this, &ThumbnailBrowser::changePosition);
    scroll_ = new QScrollBar(this);
    scroll_->setFocusPolicy(Qt::NoFocus);
    connect(scroll_, &QScrollBar::actionTriggered, this, &ThumbnailBrowser::onScroll);
    setFocusPolicy(Qt::StrongFocus);
    refreshList();
    place();
    updateCaption();
}

ThumbnailBrowser::~ThumbnailBrowser() = default;

const LibraryList& ThumbnailBrowser::entries() const
{
    static const LibraryList kNone;
    if (folder_) return folderList_;
    const LibraryList* list = libraryListFor(studio_.library, extension_);
    return list ? *list : kNone;
}

std::vector<std::string> ThumbnailBrowser::names() const
{
    std::vector<std::string> out;
    for (const LibraryEntry& e : entries()) out.push_back(e.name);
    return out;
}

std::string ThumbnailBrowser::pathOf(int32_t index) const
{
    const std::string& name = entries()[size_t(index)].name;
    return folder_ ? joinPath(studio_.browserFolder, name) : name;
}

void ThumbnailBrowser::refreshList()
{
    model_.setFileCount(int32_t(entries().size()));
    scroll_->setRange(1, std::max(1, model_.fileCount()));
    scroll_->setValue(model_.firstVisible());
    update();
}

void ThumbnailBrowser::place()
{
    const QSize screen = screenSize(this);
    model_.setLayout(studio_.browserLayout, screen.width(), screen.height());
    model_.setFileCount(int32_t(entries().size()));
    const BrowserGeometry g = browserGeometry(model_.layout(), screen.width(), screen.height());
    setGeometry(box(g.window));
    setFixedSize(g.window.width, g.window.height);
    for (int i = 0; i < 3; ++i) buttons_[i]->setGeometry(box(g.buttons[i]));
    const bool vertical = model_.layout() == BrowserVertical;
    scroll_->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
    if (vertical) scroll_->setGeometry(g.innerWidth - kScrollThickness, 30, kScrollThickness, g.innerHeight);
    else scroll_->setGeometry(32, 98, g.innerWidth - 32, kScrollThickness);
    scroll_->setPageStep(std::max(1, model_.cellsPerView()));
    refreshList();
}

void ThumbnailBrowser::updateCaption(const QString& typed)
{
    QString caption = QString::fromStdString(title_);
    if (folder_) caption += QStringLiteral("  ") + QString::fromStdString(studio_.browserFolder);
    caption += QString::fromUtf8(langText(studio_.ws, Msg::LibSearchHint));
    if (!typed.isEmpty()) caption += QStringLiteral(" %1 ").arg(typed);
    setWindowTitle(caption);
}

void ThumbnailBrowser::onScroll(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: model_.scroll(BrowserScroll::LineBack); break;
    case QAbstractSlider::SliderSingleStepAdd: model_.scroll(BrowserScroll::LineForward); break;
    case QAbstractSlider::SliderPageStepSub: model_.scroll(BrowserScroll::PageBack); break;
    case QAbstractSlider::SliderPageStepAdd: model_.scroll(BrowserScroll::PageForward); break;
    case QAbstractSlider::SliderMove: model_.scroll(BrowserScroll::Thumb, scroll_->sliderPosition()); break;
    case QAbstractSlider::SliderToMinimum: model_.scroll(BrowserScroll::Top); break;
    case QAbstractSlider::SliderToMaximum: model_.scroll(BrowserScroll::Bottom); break;
    default: return;
    }
    // The bar would move by its own step; the model has the last word.
    scroll_->setSliderPosition(model_.firstVisible());
    update();
}

void ThumbnailBrowser::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    // Ten characters of a name must fit the 72-pixel label.
    QFont small = p.font();
    small.setPixelSize(10);
    p.setFont(small);
    const LibraryList& list = entries();
    for (int32_t k = 0; k < model_.cellsPerView(); ++k) {
        const BrowserCellBoxes b = browserCellBoxes(model_.layout(), k);
        p.fillRect(box(b.cell), kCellGrey);
        const int32_t index = model_.firstVisible() - 1 + k;
        if (index >= int32_t(list.size())) continue;  // past the end: an empty grey cell
        const LibraryEntry& e = list[size_t(index)];
        if (e.thumbnail.size() == kThumbBytes) {
            const QImage thumb(e.thumbnail.data(), kThumbWidth, kThumbHeight, kThumbWidth * 3, QImage::Format_RGB888);
            p.drawImage(box(b.thumbnail).topLeft(), thumb);
        }
        p.fillRect(box(b.name), kLabelBlue);
        p.setPen(Qt::white);
        p.drawText(box(b.name), Qt::AlignCenter, QString::fromStdString(browserCellName(e.name)));
        p.fillRect(box(b.size), kLabelBlue);
        p.setPen(kSizeText);
        p.drawText(box(b.size), Qt::AlignCenter, QString::fromStdString(browserCellSize(e.width, e.height)));
        p.setPen(index == selected_ ? QColor(255, 0, 0) : kCellGrey.darker(130));
        p.drawRect(box(b.cell).adjusted(0, 0, -1, -1));
    }
}

void ThumbnailBrowser::mousePressEvent(QMouseEvent* event)
{
    const int32_t index = model_.hitTest(event->position().toPoint().x(), event->position().toPoint().y());
    if (index < 0 || event->button() != Qt::LeftButton) return;
    selected_ = index;
    update();
}

void ThumbnailBrowser::mouseReleaseEvent(QMouseEvent* event)
{
    const int32_t index = model_.hitTest(event->position().toPoint().x(), event->position().toPoint().y());
    if (index < 0) return;
    if (event->button() == Qt::LeftButton) choose(index);
    else if (event->button() == Qt::RightButton) askDelete(index);
}

void ThumbnailBrowser::choose(int32_t index)
{
    selected_ = index;
    choice_ = pathOf(index);
    repaint();
    if (purpose_ == 0) {
        accept();
        return;
    }
    emit chosen(QString::fromStdString(choice_));
}

void ThumbnailBrowser::askDelete(int32_t index)
{
    Workspace& ws = studio_.ws;
    const std::string name = entries()[size_t(index)].name;
    selected_ = index;
    repaint();
    if (!ws.platform->askYesNo(langFormat(ws, Msg::BrowserDeleteAsk, name.c_str()))) {
        selected_ = -1;
        update();
        return;
    }
    // A failed delete on the server is not reported; the list shows what is left.
    if (folder_) {
        if (deleteWithCompanion(*folder_, name))
            folderList_.erase(folderList_.begin() + index);
    } else {
        deleteFromLibrary(studio_.library, name);
    }
    selected_ = -1;
    refreshList();
}

void ThumbnailBrowser::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.size() != 1 || !typed[0].isPrint()) {
        if (event->key() == Qt::Key_Escape) reject();
        return;
    }
    const char letter = char(typed[0].toUpper().toLatin1());
    updateCaption(QString(QChar(letter)));
    if (model_.search(letter, names())) {
        scroll_->setValue(model_.firstVisible());
        update();
    }
}

void ThumbnailBrowser::changeFolder()
{
    Workspace& ws = studio_.ws;
    const std::string filter = langFormat(ws, Msg::BrowserFolderFilter, extension_.c_str(), extension_.c_str());
    const std::string file = ws.platform->chooseOpenFile(langText(ws, Msg::BrowserNewFolder), filter);
    if (file.empty()) return;
    LibraryConfig cfg;
    cfg.location = dirName(file);
    std::unique_ptr<FolderLibrary> lib = openFolderLibrary(ws, cfg);
    if (!lib) return;
    LibraryList list;
    if (!buildLibraryList(*lib, "*." + extension_, list)) return;
    studio_.browserFolder = cfg.location;
    folder_ = std::move(lib);
    folderList_ = std::move(list);
    // The chosen folder becomes the work directory, as the file dialogs' start.
    ws.WORKDIR = cfg.location;
    // When the folder cannot be entered it is still listed; only relative
    // names would start elsewhere.
    [[maybe_unused]] const int entered = ::chdir(cfg.location.c_str());
    model_.setFirstVisible(1);
    selected_ = -1;
    updateCaption();
    refreshList();
}

void ThumbnailBrowser::changePosition()
{
    studio_.browserLayout = studio_.browserLayout == BrowserVertical ? BrowserHorizontal : BrowserVertical;
    place();
    writeBrowserLayout(configFile(studio_.ws, kLayoutFile), studio_.browserLayout);
}

}  // namespace orx::app
