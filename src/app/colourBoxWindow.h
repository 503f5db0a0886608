// The colour box window ("Color Box"): sliders and number fields for the
// pen's R, G, B and density, the swatches, the gradient sets, the four
// corners with their preview, and two colour fields to pick from. The
// places and what a click does are the core's (tools/colourBox.h); the
// file is read when the box opens and written when it closes.
#pragma once

#include <QImage>
#include <QWidget>

#include "workspace/workspace.h"

class QSlider;
class QSpinBox;

namespace orx::app {

class ColourBoxWindow : public QWidget {
    Q_OBJECT
public:
    explicit ColourBoxWindow(Workspace& ws, QWidget* parent = nullptr);

    QSlider* slider(int which) const { return sliders_[which]; }
    QSpinBox* field(int which) const { return fields_[which]; }
    // Sliders and fields from the workspace (after the eyedropper, a macro).
    void refresh();

signals:
    // A click or a slider set the pen's colour or density.
    void penChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setValue(int which, int value);

    Workspace& ws_;
    QSlider* sliders_[4];
    QSpinBox* fields_[4];
    QImage fields_image_;  // the two colour fields, drawn once
};

}  // namespace orx::app
