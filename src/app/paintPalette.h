// The paint palette ("繪圖工具"): the plane to paint on (RGB or MSK), the
// tools, the pen widths, the dash lengths and the undo buttons. A tool
// button runs its command for the plane chosen; switching the plane takes
// the armed tool to its twin on the other plane, or puts it down when it
// has none (the gradient, colour-change, curve-effect, shaded-fill and text
// tools are the colour image's alone and are greyed out on the mask).
#pragma once

#include <QWidget>
#include <map>

#include "workspace/workspace.h"

class QButtonGroup;
class QComboBox;
class QToolButton;

namespace orx::app {

class CMainFrame;

// The tool of the other plane that does what `mode` does: 0 when there is
// none. A mode that belongs to neither plane stays as it is.
int32_t twinMode(int32_t mode, int32_t paintTarget);

class PaintPaletteWindow : public QWidget {
    Q_OBJECT
public:
    explicit PaintPaletteWindow(CMainFrame& frame, QWidget* parent = nullptr);

    // The tool button of a command (either plane's), the RGB and MSK
    // buttons, a pen-width button (1..5) and the two dash lists.
    QToolButton* toolButton(int32_t commandId) const;
    QToolButton* planeButton(int32_t paintTarget) const;
    QToolButton* widthButton(int32_t width) const;
    QComboBox* pitchList() const { return pitch_; }
    QComboBox* gapList() const { return gap_; }

    void choosePlane(int32_t paintTarget);
    // Buttons from the workspace and the command table's rules.
    void refresh();

signals:
    // A width button set the pen's width.
    void penChanged();

private:
    struct Slot {
        QToolButton* button;
        int32_t imageCommand, maskCommand;
    };
    CMainFrame& frame_;
    Workspace& ws_;
    std::vector<Slot> tools_;
    std::map<int32_t, QToolButton*> commandButtons_;  // undo and redo
    QToolButton* planes_[2];
    QToolButton* widths_[5];
    QComboBox* pitch_;
    QComboBox* gap_;
};

}  // namespace orx::app
