// The colour box window.
#include "colourBoxWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

#include "tools/colourBox.h"
#include "tools/paint.h"

namespace orx::app {

namespace {

// The slider rows, between the colour fields and the gradient sets.
constexpr int kSliderTop = 96, kSliderStep = 24, kLabelX = 4, kSliderX = 18, kSliderWidth = 128, kFieldX = 150;
constexpr int kWindowWidth = 204, kWindowHeight = 322;
// The pen's colour beside the corners.
const QRect kPenPreview(110, 221, 90, 98);

const char* const kSliderLabels[4] = {"R", "G", "B", "D"};

QColor colourOf(Rgb c) { return QColor(c.r, c.g, c.b); }

void frameSwatch(QPainter& painter, const QRect& r, Rgb c)
{
    painter.fillRect(r, colourOf(c));
    painter.setPen(Qt::black);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

ColourBoxWindow::ColourBoxWindow(Workspace& ws, QWidget* parent) : QWidget(parent, Qt::Tool), ws_(ws)
{
    setFixedSize(kWindowWidth, kWindowHeight);
    for (int i = 0; i < 4; ++i) {
        const int y = kSliderTop + i * kSliderStep;
        const auto which = ColourBoxSlider(i);
        auto* label = new QLabel(QString::fromLatin1(kSliderLabels[i]), this);
        label->move(kLabelX, y + 2);
        sliders_[i] = new QSlider(Qt::Horizontal, this);
        sliders_[i]->setRange(0, sliderMaximum(which));
        sliders_[i]->setSingleStep(kSliderLine);
        sliders_[i]->setPageStep(kSliderPage);
        sliders_[i]->setGeometry(kSliderX, y, kSliderWidth, 20);
        fields_[i] = new QSpinBox(this);
        fields_[i]->setRange(0, sliderMaximum(which));
        fields_[i]->setGeometry(kFieldX, y, kWindowWidth - kFieldX - 2, 20);
        connect(sliders_[i], &QSlider::valueChanged, this, [this, i](int v) { setValue(i, v); });
        connect(fields_[i], &QSpinBox::valueChanged, this, [this, i](int v) { setValue(i, v); });
    }
    // Hue across, saturation (upper) or value (lower) down.
    fields_image_ = QImage(kFieldWidth, 2 * kFieldHeight, QImage::Format_RGB32);
    for (int row = 0; row < 2 * kFieldHeight; ++row)
        for (int col = 0; col < kFieldWidth; ++col) {
            const Rgb c = row < kFieldHeight ? upperFieldColour(col, row) : lowerFieldColour(col, row - kFieldHeight);
            fields_image_.setPixel(col, row, qRgb(c.r, c.g, c.b));
        }
    refresh();
}

void ColourBoxWindow::setValue(int which, int value)
{
    setSliderValue(ws_, ColourBoxSlider(which), value);
    refresh();
    emit penChanged();
}

void ColourBoxWindow::refresh()
{
    for (int i = 0; i < 4; ++i) {
        const int v = sliderValue(ws_, ColourBoxSlider(i));
        const QSignalBlocker a(sliders_[i]), b(fields_[i]);
        sliders_[i]->setValue(v);
        fields_[i]->setValue(v);
    }
    update();
}

void ColourBoxWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < kSwatches; ++i)
        frameSwatch(painter, QRect(i * kSwatchSize, 0, kSwatchSize, kSwatchSize), ws_.paletteSwatches[i]);
    painter.drawImage(kFieldX0, kFieldY0, fields_image_);
    // A set shows its four corners as quarters.
    for (int i = 0; i < kGradientSets; ++i) {
        const int x = i * kSwatchSize, h = kSetsBottom - kSetsTop + 1;
        const Rgb* c = ws_.gradientSets[i];
        painter.fillRect(QRect(x, kSetsTop, kSwatchSize / 2, h / 2), colourOf(c[0]));
        painter.fillRect(QRect(x + kSwatchSize / 2, kSetsTop, kSwatchSize / 2, h / 2), colourOf(c[1]));
        painter.fillRect(QRect(x, kSetsTop + h / 2, kSwatchSize / 2, h - h / 2), colourOf(c[2]));
        painter.fillRect(QRect(x + kSwatchSize / 2, kSetsTop + h / 2, kSwatchSize / 2, h - h / 2), colourOf(c[3]));
        painter.setPen(Qt::black);
        painter.drawRect(QRect(x, kSetsTop, kSwatchSize - 1, h - 1));
    }
    for (int j = 0; j < 4; ++j)
        frameSwatch(painter, QRect(kCornerLeft[j], kCornerTop[j], kCornerSize, kCornerSize), ws_.gradientCorners[j]);
    // The preview by the gradient fills' own rule.
    QImage preview(kPreviewX1 - kPreviewX0 + 1, kPreviewY1 - kPreviewY0 + 1, QImage::Format_RGB32);
    for (int y = kPreviewY0; y <= kPreviewY1; ++y)
        for (int x = kPreviewX0; x <= kPreviewX1; ++x) {
            int c[3];
            for (int k = 0; k < 3; ++k)
                c[k] = int(gradientAt(ws_.gradientCorners, x, y, kPreviewX0, kPreviewY0, kPreviewX1, kPreviewY1, k));
            preview.setPixel(x - kPreviewX0, y - kPreviewY0, qRgb(c[0], c[1], c[2]));
        }
    painter.drawImage(kPreviewX0, kPreviewY0, preview);
    frameSwatch(painter, kPenPreview, ws_.penColour);
}

void ColourBoxWindow::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const uint32_t changed = colourBoxClick(ws_, at.x(), at.y(), event->button() == Qt::RightButton);
    if (changed == NothingChanged) return;
    refresh();
    if (changed & PenChanged) emit penChanged();
}

void ColourBoxWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    loadColourBox(ws_);
    refresh();
}

void ColourBoxWindow::closeEvent(QCloseEvent* event)
{
    saveColourBox(ws_);
    QWidget::closeEvent(event);
}

}  // namespace orx::app
