// The scan dialog.
#include "scanDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <thread>

#include "commands.h"
#include "workspace/langText.h"
#include "workspace/nativeFile.h"

namespace orx::app {

namespace {

constexpr int kPollMs = 40;
// How long Cancel waits for a scanner to stop before the dialog lets the
// worker end alone and forgets the device.
constexpr int kCancelGraceMs = 1500;
const double kCommonDpi[] = {50, 75, 100, 150, 200, 300, 400, 600, 1200, 2400, 4800};

// Runs work on a thread of its own and then done on the UI thread, unless
// owner has gone by then.
template <typename Work, typename Done>
void offUiThread(QObject* owner, Work work, Done done)
{
    QPointer<QObject> guard(owner);
    std::thread([guard, work = std::move(work), done = std::move(done)]() mutable {
        auto result = work();
        QMetaObject::invokeMethod(
            qApp,
            [guard, done = std::move(done), result = std::move(result)]() mutable {
                if (guard) done(std::move(result));
            },
            Qt::QueuedConnection);
    }).detach();
}

QImage imageOf(const ScanImage& p)
{
    return QImage(p.rgb.data(), p.width, p.height, p.width * 3, QImage::Format_RGB888).copy();
}

}  // namespace

// ---- the picture

ScanView::ScanView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(360, 420);
    setCursor(Qt::CrossCursor);
}

void ScanView::setPicture(const ScanImage* picture)
{
    image_ = picture && picture->width > 0 ? imageOf(*picture) : QImage();
    dragging_ = false;
    from_ = to_ = {};
    update();
}

QRect ScanView::pictureRect() const
{
    if (image_.isNull()) return {};
    const QSize fitted = image_.size().scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

void ScanView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (image_.isNull()) return;
    p.drawImage(pictureRect(), image_);
    if (from_ != to_) {
        p.setPen(QPen(Qt::red, 1, Qt::DashLine));
        p.drawRect(QRect(from_, to_).normalized());
    }
}

void ScanView::mousePressEvent(QMouseEvent* event)
{
    if (image_.isNull() || event->button() != Qt::LeftButton) return;
    dragging_ = true;
    from_ = to_ = event->position().toPoint();
    update();
}

void ScanView::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) return;
    to_ = event->position().toPoint();
    update();
}

void ScanView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_) return;
    dragging_ = false;
    to_ = event->position().toPoint();
    const QRect r = pictureRect();
    const QRect drag = QRect(from_, to_).normalized().intersected(r);
    if (drag.width() < 2 || drag.height() < 2) {
        from_ = to_ = {};
        update();
        return;
    }
    update();
    emit dragged(double(drag.left() - r.left()) / r.width(), double(drag.top() - r.top()) / r.height(),
                 double(drag.right() + 1 - r.left()) / r.width(), double(drag.bottom() + 1 - r.top()) / r.height());
}

// ---- the dialog

ScanDialog::ScanDialog(Studio& studio, QWidget* parent) : QDialog(parent), studio_(studio)
{
    const Workspace& ws = studio.ws;
    const auto text = [&](Msg id) { return QString::fromUtf8(langText(ws, id)); };
    setWindowTitle(text(Msg::ScanTitle));

    const Msg labels[kButtons] = {Msg::ScanSelectDevice, Msg::ScanStart,    Msg::ScanSaveColour, Msg::ScanSaveGrey,
                                  Msg::ScanSaveBw,       Msg::ScanToScreen, Msg::ScanPreview,    Msg::ButtonCancel};
    auto* left = new QVBoxLayout;
    for (int b = 0; b < kButtons; ++b) buttons_[b] = new QPushButton(text(labels[b]));
    connect(buttons_[SelectDevice], &QPushButton::clicked, this, &ScanDialog::selectDevice);
    connect(buttons_[StartScan], &QPushButton::clicked, this, [this] { startScan(false); });
    connect(buttons_[Preview], &QPushButton::clicked, this, [this] { startScan(true); });
    connect(buttons_[SaveColour], &QPushButton::clicked, this, [this] { save(ScanTone::Colour); });
    connect(buttons_[SaveGrey], &QPushButton::clicked, this, [this] { save(ScanTone::Grey); });
    connect(buttons_[SaveBlackWhite], &QPushButton::clicked, this, [this] { save(ScanTone::BlackWhite); });
    connect(buttons_[ToScreen], &QPushButton::clicked, this, &ScanDialog::toScreen);
    connect(buttons_[CancelScan], &QPushButton::clicked, this, &ScanDialog::cancelScan);

    devices_ = new QComboBox;
    connect(devices_, &QComboBox::activated, this, [this](int i) { openDevice(devices_->itemData(i).toString().toStdString()); });
    resolution_ = new QComboBox;
    auto* settings = new QGridLayout;
    settings->addWidget(buttons_[SelectDevice], 0, 0, 1, 2);
    settings->addWidget(devices_, 1, 0, 1, 2);
    settings->addWidget(new QLabel(text(Msg::ScanResolution)), 2, 0);
    settings->addWidget(resolution_, 2, 1);
    settings->addWidget(new QLabel(text(Msg::ScanArea)), 3, 0, 1, 2);
    for (int i = 0; i < 4; ++i) {
        area_[i] = new QDoubleSpinBox;
        area_[i]->setDecimals(1);
        area_[i]->setSuffix(QStringLiteral(" mm"));
        settings->addWidget(area_[i], 4 + i / 2, i % 2);
    }
    left->addLayout(settings);
    for (Button b : {StartScan, Preview, SaveColour, SaveGrey, SaveBlackWhite, ToScreen}) left->addWidget(buttons_[b]);
    left->addStretch();
    progress_ = new QProgressBar;
    status_ = new QLabel;
    status_->setWordWrap(true);
    left->addWidget(status_);
    left->addWidget(progress_);
    left->addWidget(buttons_[CancelScan]);

    view_ = new ScanView;
    connect(view_, &ScanView::dragged, this, &ScanDialog::dragged);
    auto* all = new QHBoxLayout(this);
    all->addLayout(left);
    all->addWidget(view_, 1);

    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &ScanDialog::poll);
    takeSettings(nullptr);
    setBusy(false);
}

ScanDialog::~ScanDialog()
{
    // A scan still running is cancelled; a silent device keeps only its worker.
    if (job_ && !job_->finished()) job_->cancel(0);
}

void ScanDialog::message(const std::string& text) { studio_.ws.platform->message(text, Icon::Stop); }

void ScanDialog::setBusy(bool busy)
{
    const bool idle = !busy && !listing_;
    buttons_[SelectDevice]->setEnabled(idle);
    devices_->setEnabled(idle && devices_->count() > 0);
    buttons_[StartScan]->setEnabled(idle);
    buttons_[Preview]->setEnabled(idle && scanner_);
    for (Button b : {SaveColour, SaveGrey, SaveBlackWhite, ToScreen}) buttons_[b]->setEnabled(idle && hasScan_);
    buttons_[CancelScan]->setEnabled(job_ != nullptr);
    resolution_->setEnabled(idle && scanner_);
    for (QDoubleSpinBox* b : area_) b->setEnabled(idle && bed_.known);
    if (!busy) progress_->setRange(0, 100);
}

void ScanDialog::selectDevice()
{
    listing_ = true;
    status_->setText(QString::fromUtf8(langText(studio_.ws, Msg::ScanLooking)));
    setBusy(true);
    struct Listing {
        bool ok;
        std::vector<ScannerInfo> found;
        std::string why;
    };
    offUiThread(
        this,
        [] {
            Listing l;
            l.ok = listScanners(l.found, l.why);
            return l;
        },
        [this](Listing l) { listed(l.ok, l.found, l.why); });
}

void ScanDialog::listed(bool ok, const std::vector<ScannerInfo>& found, const std::string& why)
{
    listing_ = false;
    status_->clear();
    devices_->clear();
    for (const ScannerInfo& d : found)
        devices_->addItem(QString::fromStdString(d.vendor + " " + d.model + " (" + d.name + ")"),
                          QString::fromStdString(d.name));
    emit devicesListed();
    if (!ok || found.empty()) {
        scanAfterOpen_ = false;
        setBusy(false);
        message(ok ? langText(studio_.ws, Msg::ScanNoScanner) : why);
        return;
    }
    // The device used last, when it is still there; else the first.
    const int last = devices_->findData(QString::fromStdString(studio_.lastScanner));
    devices_->setCurrentIndex(std::max(last, 0));
    openDevice(devices_->currentData().toString().toStdString());
}

void ScanDialog::openDevice(const std::string& name)
{
    if (name.empty() || job_) return;
    listing_ = true;
    setBusy(true);
    struct Opening {
        std::shared_ptr<Scanner> scanner;
        std::string why;
    };
    offUiThread(
        this,
        [name] {
            Opening o;
            o.scanner = Scanner::open(name, o.why);
            return o;
        },
        [this, name](Opening o) { opened(o.scanner, name, o.why); });
}

void ScanDialog::opened(std::shared_ptr<Scanner> scanner, const std::string& name, const std::string& why)
{
    listing_ = false;
    scanner_ = std::move(scanner);
    if (scanner_) {
        device_ = name;
        studio_.lastScanner = name;
    }
    takeSettings(scanner_);
    setBusy(false);
    emit deviceOpened(scanner_ != nullptr);
    if (!scanner_) {
        scanAfterOpen_ = false;
        message(why);
        return;
    }
    if (std::exchange(scanAfterOpen_, false)) startScan(false);
}

// The device's resolutions and bed, into the fields.
void ScanDialog::takeSettings(const std::shared_ptr<Scanner>& scanner)
{
    resolution_->clear();
    bed_ = scanner ? scanner->bed() : ScanBed{};
    if (!scanner) return;
    const ResolutionChoice choice = scanner->resolutions();
    std::vector<double> values = choice.list;
    if (values.empty()) {
        for (double dpi : kCommonDpi) values.push_back(choice.nearest(dpi));
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end()), values.end());
    }
    for (double v : values) resolution_->addItem(QString::number(v), v);
    const int preferred = resolution_->findData(choice.nearest(kDefaultScanDpi));
    resolution_->setCurrentIndex(std::max(preferred, 0));
    for (int i = 0; i < 4; ++i) {
        const double limit = i % 2 == 0 ? bed_.width : bed_.height;
        area_[i]->setRange(0, std::max(limit, 0.0));
        area_[i]->setValue(i < 2 ? 0 : limit);
    }
}

void ScanDialog::dragged(double x0, double y0, double x1, double y1)
{
    if (!bed_.known) return;
    const double w = shownArea_[2] - shownArea_[0], h = shownArea_[3] - shownArea_[1];
    area_[0]->setValue(shownArea_[0] + x0 * w);
    area_[1]->setValue(shownArea_[1] + y0 * h);
    area_[2]->setValue(shownArea_[0] + x1 * w);
    area_[3]->setValue(shownArea_[1] + y1 * h);
}

void ScanDialog::startScan(bool preview)
{
    if (job_ || listing_) return;
    if (!scanner_) {
        // No device yet: ask for one, and scan once it is open.
        scanAfterOpen_ = !preview;
        selectDevice();
        return;
    }
    ScanSettings s;
    s.preview = preview;
    s.resolution = preview ? scanner_->resolutions().nearest(kPreviewScanDpi)
                           : resolution_->currentData().toDouble();
    double area[4] = {0, 0, bed_.width, bed_.height};
    if (!preview && bed_.known) {
        for (int i = 0; i < 4; ++i) area[i] = area_[i]->value();
        if (area[2] <= area[0] || area[3] <= area[1]) {
            message(langText(studio_.ws, Msg::ScanBadArea));
            return;
        }
        s.wholeBed = area[0] <= 0 && area[1] <= 0 && area[2] >= bed_.width && area[3] >= bed_.height;
        std::copy(area, area + 4, s.area);
    }
    std::copy(area, area + 4, jobArea_);
    jobDpi_ = s.resolution;
    jobIsPreview_ = preview;
    status_->clear();
    job_ = std::make_unique<ScanJob>(scanner_, s, studio_.ws.planeCapacity);
    progress_->setRange(0, 0);
    setBusy(true);
    poll_.start();
}

void ScanDialog::poll()
{
    if (!job_) return;
    if (job_->finished()) {
        poll_.stop();
        ScanResult r = job_->take();
        job_.reset();
        finishScan(std::move(r));
        return;
    }
    const double done = job_->progress();
    if (done >= 0) {
        progress_->setRange(0, 100);
        progress_->setValue(int(done * 100));
    }
}

void ScanDialog::cancelScan()
{
    if (!job_) return;
    status_->setText(QString::fromUtf8(langText(studio_.ws, Msg::ScanCancelling)));
    buttons_[CancelScan]->setEnabled(false);
    job_->cancel(0);
    // A device that does not stop: its worker is left to end alone, and the
    // dialog is free again (the device has to be chosen anew).
    const ScanJob* cancelled = job_.get();
    QTimer::singleShot(kCancelGraceMs, this, [this, cancelled] {
        if (job_.get() != cancelled || job_->finished()) return;
        poll_.stop();
        scanner_.reset();
        takeSettings(nullptr);
        job_.reset();
        setBusy(false);
        message(langText(studio_.ws, Msg::ScanSilent));
        emit scanEnded(int(ScanStatus::Cancelled));
    });
}

void ScanDialog::finishScan(ScanResult r)
{
    status_->clear();
    if (r.status == ScanStatus::Ok) {
        shown_ = std::move(r.image);
        std::copy(jobArea_, jobArea_ + 4, shownArea_);
        shownDpi_ = jobDpi_;
        hasScan_ = !jobIsPreview_;
        view_->setPicture(&shown_);
        progress_->setValue(100);
    } else if (r.status == ScanStatus::Cancelled) {
        status_->setText(QString::fromUtf8(langText(studio_.ws, Msg::ScanCancelled)));
        progress_->setValue(0);
    } else {
        progress_->setValue(0);
        message(langFormat(studio_.ws, Msg::ScanFailed, r.why.c_str()));
    }
    setBusy(false);
    emit scanEnded(int(r.status));
}

void ScanDialog::save(ScanTone tone)
{
    if (!hasScan_ || job_) return;
    Workspace& ws = studio_.ws;
    const std::string chosen =
        ws.platform->chooseSaveFile(langText(ws, Msg::TitleNewRgbFile), langText(ws, Msg::FilterRgbFile));
    if (chosen.empty()) return;
    ScanImage copy = shown_;
    applyScanTone(copy, tone);
    saveRGBPlane(ws, withExtension(chosen, FileKind::RGB), copy.rgb.data(), copy.width, copy.height);
}

void ScanDialog::toScreen()
{
    if (!hasScan_ || job_) return;
    scan_ = shown_;
    accept();
}

}  // namespace orx::app
