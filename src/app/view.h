// The view: the display buffer RS on the screen, and the status band below.
//
// Composition happens in the core (workspace/display.h); the view only shows
// RS through a QImage over the same bytes, paints the band's texts, turns a
// resize into a redisplay, and turns the common mouse gestures (Shift-click
// pan, Control-click zoom, the wheel, Space or middle drags) into display
// changes. Every other mouse message goes to the row of ws.toolMode in the
// tool mode table (toolModes.h), which draws its figures through the view.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

#include "platform/platform.h"
#include "toolModes.h"
#include "workspace/workspace.h"
#include "xorDraw.h"

class QPainter;

namespace orx::app {
class CursorTable;
}

class CVLX98View : public QWidget {
    Q_OBJECT
public:
    explicit CVLX98View(orx::Workspace& ws, QWidget* parent = nullptr);

    // Shows RS on the screen: all of it, or one rectangle of display pixels.
    void showDisplay(const orx::Rect* rect);
    // A prompt on a band of the given colour (an empty text clears it).
    void showStatus(const QString& text, const QColor& band);
    // The size label and the mask state, after every redisplay.
    void showLabel();
    // True while Esc or the right mouse button is held down, and once either
    // was pressed in a show since forgetStopPress().
    bool stopKeysDown() const;
    void forgetStopPress() { stopPressed_ = false; }

    // Draws a figure over the picture by inversion; drawing a figure that is
    // on screen erases it.
    void invertFigure(const orx::XorFigure& figure);
    const std::vector<orx::XorFigure>& figures() const { return figures_; }
    // A command ran: the figures on screen and the gesture in progress
    // belong to the tool that was, and the backup planes may have been reused.
    void forgetGesture();

    // Cursors by resource id (cursors.h); without a table the view keeps
    // the arrow but still knows which cursor a tool asked for.
    void setCursorTable(const orx::app::CursorTable* cursors) { cursors_ = cursors; }
    void showCursor(int32_t resource);
    int32_t cursorResource() const { return cursor_; }

signals:
    // The client size changed and the picture was composed again.
    void viewResized();
    // The eyedropper took the pen colour from the picture: the colour box
    // shows it.
    void penPicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void noteStopPress();

    orx::Workspace& ws_;
    QImage picture_;      // over ws_.RS, rebuilt when the display size changes
    QString prompt_;      // the band's prompt, when one is shown
    QColor promptBand_;
    QString label_;       // size label
    QString maskState_;
    QString pointer_;
    bool escDown_ = false;
    bool rightDown_ = false;
    bool stopPressed_ = false;
    bool spaceDown_ = false;
    // Space-drag and middle-drag: the window point where the drag began and
    // the view centre at that moment.
    bool panning_ = false;
    QPoint panAnchor_;
    QPoint panCentre_;
    // Wheel angle not yet worth a whole notch (high-resolution wheels).
    QPoint wheelRest_;
    int zoomRest_ = 0;
    orx::app::ToolGesture gesture_;
    std::vector<orx::XorFigure> figures_;
    const orx::app::CursorTable* cursors_ = nullptr;
    int32_t cursor_ = 0;

    void syncPicture();
    void paintBand(QPainter& painter);
    QRect bandRect() const;
    QRect pointerBox() const;
    void showFrom(int x, int y);
    void zoomAbout(QPoint window, bool enlarge, bool keepUnderPointer);
    void panTo(QPoint window);
    void scrollBy(QPoint notches);
    void showPointer(QPoint window);
    bool startPan(const QMouseEvent* event);
    bool keysTakeOver(Qt::KeyboardModifiers keys);
    bool runTool(orx::app::ToolHandler orx::app::ToolMode::*message, QPoint at, Qt::MouseButtons held = {});
};
