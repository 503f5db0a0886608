// The view: RS through a QImage over the same bytes, the status band, and the
// display gestures common to every tool mode.
#include "view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QRegion>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <new>

#include "cursorIds.h"
#include "cursors.h"
#include "workspace/display.h"
#include "workspace/langText.h"

namespace {

using orx::kStatusBandHeight;

// Places on the status band, measured from the client's right edge.
constexpr int kTextInset = 2;         // texts start 2 pixels right of and below a box's corner
constexpr int kMaskBoxFromRight = 80;  // the mask state box runs to the right edge
constexpr int kMaskTextFromRight = 118;
constexpr int kPointerBoxFromRight = 220;
constexpr int kPointerBoxWidth = 100;

constexpr int kWheelNotch = 120;        // angle delta of one wheel notch
constexpr int kWheelScrollPixels = 60;  // window pixels one notch scrolls

QColor bandBlue() { return QColor(0, 0, 255); }

QString fromCore(const std::string& text) { return QString::fromStdString(text); }

// A text at a box's corner, white on whatever is under it.
void bandText(QPainter& painter, int x, int y, int width, const QString& text)
{
    painter.setPen(Qt::white);
    painter.drawText(QRect(x, y, width, kStatusBandHeight - kTextInset), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     text);
}

}  // namespace

CVLX98View::CVLX98View(orx::Workspace& ws, QWidget* parent) : QWidget(parent), ws_(ws)
{
    // Every pixel is painted here: RS, black beside it, and the band.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

// ---- showing RS and the band

void CVLX98View::showDisplay(const orx::Rect* rect)
{
    syncPicture();
    if (!rect) {
        // A whole picture is a redisplay: the band shows the size label and
        // the mask state again, over any prompt. A rectangle (a tool's
        // stroke) leaves the band as it is.
        showLabel();
        update();
        return;
    }
    update(QRect(QPoint(rect->x0, rect->y0), QPoint(rect->x1, rect->y1)).normalized());
}

void CVLX98View::showStatus(const QString& text, const QColor& band)
{
    prompt_ = text;
    promptBand_ = band;
    update(bandRect());
}

void CVLX98View::showLabel()
{
    label_ = fromCore(orx::sizeLabelText(ws_));
    maskState_ = fromCore(orx::maskStateText(ws_));
    prompt_.clear();
    update(bandRect());
}

bool CVLX98View::stopKeysDown() const { return escDown_ || rightDown_ || stopPressed_; }

// A show ends at its next poll however short the press was.
void CVLX98View::noteStopPress()
{
    if (ws_.toolMode == orx::ModeShow) stopPressed_ = true;
}

// The QImage shares RS's bytes; only the geometry can go stale.
void CVLX98View::syncPicture()
{
    const uchar* bytes = ws_.RS.get();
    if (!bytes || ws_.displayWidth < 1 || ws_.displayHeight < 1) {
        picture_ = QImage();
        return;
    }
    if (picture_.constBits() == bytes && picture_.width() == ws_.displayWidth &&
        picture_.height() == ws_.displayHeight && picture_.bytesPerLine() == ws_.displayStride)
        return;
    picture_ = QImage(ws_.RS.get(), ws_.displayWidth, ws_.displayHeight, ws_.displayStride, QImage::Format_BGR888);
}

QRect CVLX98View::bandRect() const { return QRect(0, ws_.bandTop, width(), kStatusBandHeight); }

QRect CVLX98View::pointerBox() const
{
    return QRect(ws_.clientWidth - kPointerBoxFromRight, ws_.bandTop, kPointerBoxWidth, kStatusBandHeight);
}

void CVLX98View::paintEvent(QPaintEvent* event)
{
    syncPicture();
    QPainter painter(this);
    const QRect dirty = event->rect();
    const QRect shown = dirty & picture_.rect();
    if (!shown.isEmpty()) painter.drawImage(shown.topLeft(), picture_, shown);
    // A client larger than the display buffer leaves a part RS cannot cover.
    const QRegion uncovered = QRegion(QRect(0, 0, width(), ws_.bandTop)).subtracted(picture_.rect());
    for (const QRect& r : uncovered.intersected(dirty)) painter.fillRect(r, Qt::black);
    if (!figures_.empty()) {
        // The tools' figures invert whatever lies under them, over the
        // picture only.
        painter.save();
        painter.setClipRect(QRect(0, 0, width(), ws_.bandTop), Qt::IntersectClip);
        for (const orx::XorFigure& f : figures_) orx::xorFigure(painter, f);
        painter.restore();
    }
    if (dirty.intersects(bandRect())) paintBand(painter);
}

// The band is repainted whole: a prompt in its colour, or the size label and
// the mask state on blue; the pointer box on top of either.
void CVLX98View::paintBand(QPainter& painter)
{
    const int top = ws_.bandTop;
    const int textTop = top + kTextInset;
    const int right = width();
    const QRect band = bandRect();
    if (!prompt_.isEmpty()) {
        painter.fillRect(band, promptBand_);
        bandText(painter, kTextInset, textTop, right - kTextInset, prompt_);
    } else {
        painter.fillRect(band, bandBlue());
        if (!label_.isEmpty()) {
            bandText(painter, kTextInset, textTop, right - kTextInset, label_);
            const int maskBox = ws_.clientWidth - kMaskBoxFromRight;
            painter.fillRect(QRect(maskBox, top, right - maskBox, kStatusBandHeight), bandBlue());
            bandText(painter, ws_.clientWidth - kMaskTextFromRight, textTop, kMaskTextFromRight, maskState_);
        }
    }
    if (!pointer_.isEmpty()) {
        const QRect box = pointerBox();
        painter.fillRect(box, bandBlue());
        bandText(painter, box.left() + kTextInset, textTop, box.width() - kTextInset, pointer_);
    }
}

// ---- display changes made by the view itself

void CVLX98View::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!ws_.RS) return;  // the workspace has not started
    orx::setViewSize(ws_, width(), height());
    if (ws_.imageLoaded)
        orx::redisplayAt(ws_, ws_.viewCentreX, ws_.viewCentreY);
    else
        orx::fillDisplay(ws_, 0);
    showDisplay(nullptr);
    emit viewResized();
}

// The image shown with image point (x, y) at the centre, at the current
// scale. The new picture is kept in RS1 too: a tool that draws over the
// picture (placing a block) puts it back from there at every move.
void CVLX98View::showFrom(int x, int y)
{
    orx::redisplayAt(ws_, x, y);
    orx::saveDisplay(ws_);
    showDisplay(nullptr);
}

// One zoom step; the clicked point becomes the centre, or with the wheel the
// pointed-at pixel stays under the pointer.
void CVLX98View::zoomAbout(QPoint window, bool enlarge, bool keepUnderPointer)
{
    const orx::Point p = orx::windowToImage(ws_, window.x(), window.y());
    if (enlarge)
        orx::zoomIn(ws_);
    else
        orx::zoomOut(ws_);
    const orx::Point centre = keepUnderPointer ? orx::viewCentreFor(ws_, p, window.x(), window.y()) : p;
    showFrom(centre.x, centre.y);
}

// A drag pans from where it began, so going past the image's edge and back
// leaves the picture where it started.
void CVLX98View::panTo(QPoint window)
{
    const QPoint moved = window - panAnchor_;
    const orx::Point step = orx::windowStepToImage(ws_, moved.x(), moved.y());
    showFrom(panCentre_.x() - step.x, panCentre_.y() - step.y);
}

void CVLX98View::scrollBy(QPoint notches)
{
    if (notches.isNull()) return;
    // Turning the wheel away moves the view up the image.
    const orx::Point step =
        orx::windowStepToImage(ws_, -notches.x() * kWheelScrollPixels, -notches.y() * kWheelScrollPixels);
    showFrom(ws_.viewCentreX + step.x, ws_.viewCentreY + step.y);
}

void CVLX98View::showPointer(QPoint window)
{
    pointer_ = fromCore(orx::pointerText(ws_, window.x(), window.y()));
    update(pointerBox());
}

// ---- tools: figures, cursors, the mode table

void CVLX98View::invertFigure(const orx::XorFigure& figure)
{
    // Inverting twice gives the picture back: a figure on screen is erased
    // by dropping it, any other is drawn on top of those there.
    const auto shown = std::find(figures_.begin(), figures_.end(), figure);
    if (shown != figures_.end())
        figures_.erase(shown);
    else
        figures_.push_back(figure);
    update(figure.bounds());
}

void CVLX98View::forgetGesture()
{
    gesture_ = {};
    if (figures_.empty()) return;
    figures_.clear();
    update();
}

void CVLX98View::showCursor(int32_t resource)
{
    if (resource < 0 || resource == cursor_) return;
    cursor_ = resource;
    if (cursors_) setCursor(cursors_->cursor(resource));
}

// Shift and Control belong to the view in every mode: with either held a
// message only shows its cursor, and a release pans or zooms.
bool CVLX98View::keysTakeOver(Qt::KeyboardModifiers keys)
{
    if (keys & Qt::ShiftModifier) {
        showCursor(orx::app::kCursorPan);
        return true;
    }
    if (keys & Qt::ControlModifier) {
        showCursor(orx::app::kCursorZoom);
        return true;
    }
    return false;
}

bool CVLX98View::runTool(orx::app::ToolHandler orx::app::ToolMode::*message, QPoint at, Qt::MouseButtons held)
{
    const orx::app::ToolMode* mode = orx::app::findToolMode(ws_.toolMode);
    if (!mode || !(mode->*message)) return false;
    orx::app::ToolContext ctx{ws_, *this, gesture_, bool(held & Qt::LeftButton), bool(held & Qt::RightButton)};
    try {
        (mode->*message)(ctx, at);
    } catch (const std::bad_alloc&) {
        // As a command does: the tool stops, the program goes on.
        orx::showLangMessage(ws_, orx::Msg::OutOfMemory);
    }
    return true;
}

// ---- mouse and keys

// Space + left drag and middle drag pan in every mode, before the tool sees
// the button.
bool CVLX98View::startPan(const QMouseEvent* event)
{
    const bool panButton =
        event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceDown_);
    if (!panButton || !ws_.imageLoaded) return false;
    panning_ = true;
    panAnchor_ = event->position().toPoint();
    panCentre_ = QPoint(ws_.viewCentreX, ws_.viewCentreY);
    return true;
}

void CVLX98View::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) rightDown_ = true, noteStopPress();
    if (startPan(event) || !ws_.imageLoaded || keysTakeOver(event->modifiers())) return;
    if (event->button() == Qt::LeftButton) runTool(&orx::app::ToolMode::leftDown, event->position().toPoint());
    if (event->button() == Qt::RightButton) runTool(&orx::app::ToolMode::rightDown, event->position().toPoint());
}

void CVLX98View::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (panning_) panTo(at);
    if (!ws_.imageLoaded) return;
    showPointer(at);
    if (panning_ || keysTakeOver(event->modifiers())) return;
    showCursor(orx::app::toolCursor(ws_.toolMode));
    runTool(&orx::app::ToolMode::move, at, event->buttons());
}

void CVLX98View::mouseReleaseEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (button == Qt::RightButton) rightDown_ = false;
    if (panning_ && (button == Qt::MiddleButton || button == Qt::LeftButton)) {
        panning_ = false;
        return;
    }
    if (!ws_.imageLoaded) return;
    const QPoint at = event->position().toPoint();
    const Qt::KeyboardModifiers keys = event->modifiers();
    if (keysTakeOver(keys)) {
        // A rubber band whose button comes up under Shift or Control does
        // not run its operation.
        if (button == Qt::LeftButton) {
            orx::app::ToolContext ctx{ws_, *this, gesture_};
            orx::app::dropDrag(ctx);
        }
        if (keys & Qt::ShiftModifier) {
            // Pan: the clicked point becomes the display position.
            if (button == Qt::LeftButton) {
                const orx::Point p = orx::windowToImage(ws_, at.x(), at.y());
                showFrom(p.x, p.y);
            }
        } else if (button == Qt::LeftButton || button == Qt::RightButton) {
            zoomAbout(at, button == Qt::LeftButton, false);
        }
        return;
    }
    if (button == Qt::LeftButton)
        runTool(&orx::app::ToolMode::leftUp, at);
    else if (button == Qt::RightButton)
        runTool(&orx::app::ToolMode::rightUp, at);
}

// Qt gives the second press of a double click as this event: a mode without
// a double-click action takes it as a press, so a quick second drag starts.
void CVLX98View::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) rightDown_ = true, noteStopPress();
    if (startPan(event) || !ws_.imageLoaded || keysTakeOver(event->modifiers())) return;
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    if (!runTool(&orx::app::ToolMode::doubleClick, at)) runTool(&orx::app::ToolMode::leftDown, at);
}

void CVLX98View::wheelEvent(QWheelEvent* event)
{
    if (!ws_.imageLoaded) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint at = event->position().toPoint();
    if (event->modifiers() & Qt::ControlModifier) {
        zoomRest_ += event->angleDelta().y();
        for (; zoomRest_ >= kWheelNotch; zoomRest_ -= kWheelNotch) zoomAbout(at, true, true);
        for (; zoomRest_ <= -kWheelNotch; zoomRest_ += kWheelNotch) zoomAbout(at, false, true);
        return;
    }
    QPoint angle = event->angleDelta();
    // Shift turns a plain wheel sideways.
    if ((event->modifiers() & Qt::ShiftModifier) && angle.x() == 0) angle = QPoint(angle.y(), 0);
    wheelRest_ += angle;
    const QPoint notches(wheelRest_.x() / kWheelNotch, wheelRest_.y() / kWheelNotch);
    wheelRest_ -= notches * kWheelNotch;
    scrollBy(notches);
}

void CVLX98View::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape: escDown_ = true, noteStopPress(); break;
    case Qt::Key_Space: spaceDown_ = true; break;
    default: QWidget::keyPressEvent(event); return;
    }
}

void CVLX98View::keyReleaseEvent(QKeyEvent* event)
{
    // A held key repeats as release and press pairs: only the last release counts.
    if (event->isAutoRepeat()) return;
    switch (event->key()) {
    case Qt::Key_Escape: escDown_ = false; break;
    case Qt::Key_Space: spaceDown_ = false; break;
    default: QWidget::keyReleaseEvent(event); return;
    }
}
