// Printing the working image.
#include "printing.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "workspace/fileIo.h"
#include "workspace/langText.h"
#include "workspace/printLayout.h"

namespace orx::app {

namespace {

constexpr size_t kBandBytes = 8u << 20;
constexpr int kPdfDpi = 600;
constexpr char kJobName[] = "VLX Print Job";

struct TypeButton {
    int32_t type;
    Msg caption;
};

const TypeButton kTypeButtons[] = {
    {PrintUpperLeft, Msg::PrintUpperLeft},
    {PrintCentred, Msg::PrintCentred},
    {PrintFitted, Msg::PrintFitted},
    {PrintFittedCentred, Msg::PrintFittedCentred},
};

QString textOf(const Workspace& ws, Msg id) { return QString::fromUtf8(langText(ws, id)); }

// The visible part of a placed image on a page of pageWidth x pageHeight
// painter units, band by band.
void drawPlaced(const Workspace& ws, QPainter& painter, const PrintPlacement& placed, int32_t pageWidth,
                int32_t pageHeight)
{
    const PrintArea area = visibleArea(placed, pageWidth, pageHeight);
    if (area.empty()) return;
    // Images go into a PDF compressed without loss, never as JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const int32_t width = area.x1 - area.x0;
    const size_t rowBytes = (size_t(width) * 3 + 3) / 4 * 4;
    const int32_t bandRows = int32_t(std::clamp<size_t>(kBandBytes / rowBytes, 1, size_t(area.y1 - area.y0)));
    QImage band(width, bandRows, QImage::Format_RGB888);
    for (int32_t y = area.y0; y < area.y1; y += bandRows) {
        const int32_t rows = std::min(bandRows, area.y1 - y);
        // bits() gives the band a new cache key each time, so a PDF takes
        // every band as an image of its own.
        fillPrintRows(ws, placed, area, y, y + rows, band.bits(), size_t(band.bytesPerLine()));
        painter.drawImage(QPoint(area.x0, y), band, QRect(0, 0, width, rows));
    }
}

}  // namespace

void paintImagePage(const Workspace& ws, QPainter& painter, int32_t type)
{
    const int32_t pageWidth = painter.device()->width(), pageHeight = painter.device()->height();
    PrintPlacement placed;
    if (ws.imageLoaded != 1 || !placeOnPage(type, ws.imageWidth, ws.imageHeight, pageWidth, pageHeight, placed))
        return;
    drawPlaced(ws, painter, placed, pageWidth, pageHeight);
}

void paintPreviewPage(const Workspace& ws, QPainter& painter, int32_t type)
{
    const int32_t pageWidth = painter.device()->width(), pageHeight = painter.device()->height();
    const double f = double(kPreviewSide) / std::max({pageWidth, pageHeight, 1});
    if (f >= 1) {
        paintImagePage(ws, painter, type);
        return;
    }
    PrintPlacement placed;
    if (ws.imageLoaded != 1 || !placeOnPage(type, ws.imageWidth, ws.imageHeight, pageWidth, pageHeight, placed))
        return;
    // The same placement on a page made smaller by f, then drawn enlarged.
    auto reduced = [f](int32_t v) { return int32_t(std::floor(v * f)); };
    const int32_t w = std::max(1, reduced(pageWidth)), h = std::max(1, reduced(pageHeight));
    const PrintPlacement small{reduced(placed.x), reduced(placed.y), std::max(1, reduced(placed.width)),
                               std::max(1, reduced(placed.height))};
    painter.save();
    painter.scale(double(pageWidth) / w, double(pageHeight) / h);
    drawPlaced(ws, painter, small, w, h);
    painter.restore();
}

bool printImagePage(Workspace& ws, QPrinter& printer, int32_t type)
{
    printer.setDocName(QString::fromLatin1(kJobName));
    const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
    const std::string target = printer.outputFileName().toStdString();
    if (pdf && target.empty()) {
        showLangMessage(ws, Msg::PrinterDcError);
        return false;
    }
    if (!pdf && !printer.isValid()) {
        showLangMessage(ws, Msg::PrinterDcError);
        return false;
    }
    // A PDF is written beside its name and renamed in once complete.
    const std::string temp = pdf ? target + ".part-" + std::to_string(::getpid()) : std::string();
    if (pdf) {
        printer.setResolution(kPdfDpi);
        printer.setOutputFileName(QString::fromStdString(temp));
    }
    QPainter painter;
    bool started = painter.begin(&printer);
    if (started) {
        paintImagePage(ws, painter, type);
        started = painter.end();
    }
    if (!pdf) {
        if (!started) showLangMessage(ws, Msg::CantOpenFile, printer.printerName().toStdString().c_str());
        return started;
    }
    printer.setOutputFileName(QString::fromStdString(target));
    std::error_code ec;
    if (started && fileExists(temp)) std::filesystem::rename(temp, target, ec);
    if (!started || !fileExists(target) || ec) {
        std::filesystem::remove(temp, ec);
        showLangMessage(ws, Msg::CantOpenFile, target.c_str());
        return false;
    }
    return true;
}

void setPdfPrinter(QPrinter& printer, const std::string& path, const std::string& paper)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setResolution(kPdfDpi);
    QPageSize size(QPageSize::A4);
    double w = 0, h = 0;
    if (paper == "letter") size = QPageSize(QPageSize::Letter);
    else if (std::sscanf(paper.c_str(), "%lfx%lfin", &w, &h) == 2) size = QPageSize(QSizeF(w, h), QPageSize::Inch);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

std::string paperText(const QPrinter& printer)
{
    const QSizeF s = printer.pageLayout().pageSize().size(QPageSize::Inch);
    char text[48];
    std::snprintf(text, sizeof text, "%gx%gin", s.width(), s.height());
    return text;
}

PrintTypeDialog::PrintTypeDialog(const Workspace& ws, int32_t type, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(textOf(ws, Msg::PrintTypeTitle));
    auto* group = new QGroupBox(this);
    auto* column = new QVBoxLayout(group);
    for (size_t i = 0; i < std::size(kTypeButtons); ++i) {
        buttons_[i] = new QRadioButton(textOf(ws, kTypeButtons[i].caption), group);
        buttons_[i]->setChecked(kTypeButtons[i].type == type);
        column->addWidget(buttons_[i]);
    }
    if (!type) buttons_[0]->setChecked(true);
    auto* box = new QDialogButtonBox(this);
    box->addButton(textOf(ws, Msg::PrintButton), QDialogButtonBox::AcceptRole);
    box->addButton(textOf(ws, Msg::ButtonCancel), QDialogButtonBox::RejectRole);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(box);
    group->setFocus();
}

int32_t PrintTypeDialog::type() const
{
    for (size_t i = 0; i < std::size(kTypeButtons); ++i)
        if (buttons_[i]->isChecked()) return kTypeButtons[i].type;
    return PrintUpperLeft;
}

QRadioButton* PrintTypeDialog::button(int32_t type) const
{
    for (size_t i = 0; i < std::size(kTypeButtons); ++i)
        if (kTypeButtons[i].type == type) return buttons_[i];
    return nullptr;
}

PrintPreviewDialog::PrintPreviewDialog(const Workspace& ws, int32_t type, QPrinter& printer, QWidget* parent)
    : QDialog(parent), preview_(new QPrintPreviewWidget(&printer, this))
{
    setWindowTitle(textOf(ws, Msg::PrintPreviewTitle));
    connect(preview_, &QPrintPreviewWidget::paintRequested, this,
            [&ws, type](QPrinter* p) {
                QPainter painter(p);
                paintPreviewPage(ws, painter, type);
            });
    auto* box = new QDialogButtonBox(this);
    QPushButton* print = box->addButton(textOf(ws, Msg::PrintButton), QDialogButtonBox::ActionRole);
    box->addButton(textOf(ws, Msg::ButtonCancel), QDialogButtonBox::RejectRole);
    connect(print, &QPushButton::clicked, this, &PrintPreviewDialog::printRequested);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(preview_, 1);
    layout->addWidget(box);
    resize(800, 900);
}

}  // namespace orx::app
