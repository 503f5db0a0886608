// The air-brush palette.
#include "airBrushPalette.h"

#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

#include "commandTable.h"
#include "mainFrame.h"
#include "tools/airBrush.h"
#include "tools/colourBox.h"
#include "workspace/langText.h"

namespace orx::app {

namespace {

QSlider* brushSlider(QWidget* parent, int lo, int hi)
{
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setRange(lo, hi);
    s->setSingleStep(kSliderLine);
    s->setPageStep(kSliderPage);
    return s;
}

}  // namespace

AirBrushPaletteWindow::AirBrushPaletteWindow(CMainFrame& frame, QWidget* parent)
    : QWidget(parent, Qt::Tool), frame_(frame), ws_(frame.studio().ws)
{
    auto text = [&](Msg id) { return QString::fromUtf8(langText(ws_, id)); };
    setWindowTitle(text(Msg::AirBrushTitle));
    auto* grid = new QGridLayout(this);
    auto brushButton = [&](int32_t id, const char* caption) {
        auto* b = new QToolButton(this);
        b->setText(QString::fromLatin1(caption));
        b->setCheckable(true);
        b->setToolTip(QString::fromUtf8(commandLabel(*findCommand(id), ws_.screenLanguage)));
        connect(b, &QToolButton::clicked, this, [this, id] {
            frame_.execute(id);
            refresh();
        });
        return b;
    };
    spray_ = brushButton(IdAirBrush, "AB");
    copy_ = brushButton(IdAirBrushCopy, "ABC");
    grid->addWidget(spray_, 0, 0);
    grid->addWidget(copy_, 0, 1);

    diameter_ = brushSlider(this, kMinBrushRadius, kMaxBrushRadius);
    density_ = brushSlider(this, kMinBrushStrength, kMaxBrushStrength);
    diameterNumber_ = new QLabel(this);
    densityNumber_ = new QLabel(this);
    grid->addWidget(new QLabel(text(Msg::BrushDiameter), this), 1, 0);
    grid->addWidget(diameter_, 1, 1);
    grid->addWidget(diameterNumber_, 1, 2);
    grid->addWidget(new QLabel(text(Msg::BrushDensity), this), 2, 0);
    grid->addWidget(density_, 2, 1);
    grid->addWidget(densityNumber_, 2, 2);
    connect(diameter_, &QSlider::valueChanged, this, &AirBrushPaletteWindow::sliderMoved);
    connect(density_, &QSlider::valueChanged, this, &AirBrushPaletteWindow::sliderMoved);
    connect(&frame, &CMainFrame::commandStatesChanged, this, &AirBrushPaletteWindow::refresh);
    refresh();
}

void AirBrushPaletteWindow::sliderMoved()
{
    const bool newSize = diameter_->value() != ws_.brushRadius;
    ws_.brushRadius = diameter_->value();
    ws_.brushStrength = density_->value();
    buildBrushTable(ws_, ws_.brushRadius, ws_.brushStrength);
    if (newSize && (ws_.toolMode == ModeAirBrush || ws_.toolMode == ModeAirBrushCopy))
        frame_.execute(ws_.toolMode == ModeAirBrush ? IdAirBrush : IdAirBrushCopy);
    refresh();
}

void AirBrushPaletteWindow::refresh()
{
    {
        const QSignalBlocker a(diameter_), b(density_);
        diameter_->setValue(ws_.brushRadius);
        density_->setValue(ws_.brushStrength);
    }
    diameterNumber_->setText(QString::asprintf("%d", ws_.brushRadius));
    densityNumber_->setText(QString::asprintf("%d", ws_.brushStrength));
    spray_->setChecked(ws_.toolMode == ModeAirBrush);
    copy_->setChecked(ws_.toolMode == ModeAirBrushCopy);
    spray_->setEnabled(orx::app::isEnabled(*findCommand(IdAirBrush), ws_));
    copy_->setEnabled(orx::app::isEnabled(*findCommand(IdAirBrushCopy), ws_));
}

}  // namespace orx::app
