// Curves through clicked points: the pen and mask curves, the shaded seam,
// and the dashed and holed curves.
//
// Each point gets two control points an eighth of the way toward its
// neighbours; the control polygon is drawn as uniform quadratic B-spline
// segments of ten straight pieces each. An open curve starts at the first
// point and ends at the last; a closed one wraps around. While points are
// being clicked the preview receives the pieces in window coordinates
// through a CurveSink and draws them itself.
#pragma once

#include <cstdint>

#include "workspace/workspace.h"

namespace orx {

enum CurveRendering : int {
    CurvePreview = 0,  // pieces to the sink
    CurvePen = 1,      // pen lines on the colour image
    CurveMask = 2,     // mask lines of 255
    CurveShaded = 3,   // the raised seam: brighter on one side, darker on the other
};

constexpr int kMinCurvePoints = 3;

class CurveSink {
public:
    virtual ~CurveSink() = default;
    virtual void piece(Point a, Point b) = 0;
    // Where the holed curve sets a hole.
    virtual void hole(Point) {}
};

// False, drawing nothing, for fewer than 3 or more than 100 points, or a
// preview without a sink.
bool drawCurve(Workspace& ws, const Point* points, int count, CurveRendering rendering, bool closed, Rgb colour,
               int density, CurveSink* preview = nullptr);

// The box on the picture that a curve through the points can change (its
// control polygon grown by a pen stamp), for the undo snapshot. False for a
// count that draws nothing or a curve wholly off the picture.
bool curveBox(const Workspace& ws, const Point* points, int count, bool closed, Rect& box);

// Dashes of `pitch` with gaps of `gap` along the open curve (the pen width
// taken off the dash and added to the gap): pen lines on the colour image,
// or pieces to the preview when one is given.
bool drawDashedCurve(Workspace& ws, const Point* points, int count, Rgb colour, int density, double pitch,
                     double gap, CurveSink* preview = nullptr);
// Pen lines of `pitch`, with a hole in swatch 10 at the end of each: the
// holes are stamped once all the lines are drawn, opaque.
bool drawHoledCurve(Workspace& ws, const Point* points, int count, Rgb colour, int density, double pitch,
                    CurveSink* preview = nullptr);

}  // namespace orx
