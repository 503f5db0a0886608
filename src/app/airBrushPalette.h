// The air-brush palette ("Air Brush Tool"): the two brushes and the
// "Diameter" and "Density" sliders with their numbers. A slider change
// builds the brush table again; a new diameter re-arms the brush in use so
// that its circle takes the new size.
#pragma once

#include <QWidget>

#include "workspace/workspace.h"

class QLabel;
class QSlider;
class QToolButton;

namespace orx::app {

class CMainFrame;

class AirBrushPaletteWindow : public QWidget {
    Q_OBJECT
public:
    explicit AirBrushPaletteWindow(CMainFrame& frame, QWidget* parent = nullptr);

    QToolButton* brushButton(bool copy) const { return copy ? copy_ : spray_; }
    QSlider* diameter() const { return diameter_; }
    QSlider* density() const { return density_; }
    void refresh();

private:
    void sliderMoved();

    CMainFrame& frame_;
    Workspace& ws_;
    QToolButton* spray_;
    QToolButton* copy_;
    QSlider* diameter_;
    QSlider* density_;
    QLabel* diameterNumber_;
    QLabel* densityNumber_;
};

}  // namespace orx::app
