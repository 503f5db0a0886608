// Drapery for the sample library: the fold height field that shades a
// garment in a generated photograph, and the object mesh that follows the
// same folds.
//
// A part is a Coons patch (four boundary curves) laid flat over the
// picture. Its folds are a height field h(x, y) in pixels, a sum of fold
// terms. The photograph is shaded from h; the mesh takes the same h as the
// fabric's relief: along every mesh row and column the points are spaced at
// equal lengths of fabric measured over the relief, so they crowd where the
// cloth turns away (the flanks of the folds, the rounded edge of a
// cushion), and each point is then moved by the parallax of its height as
// seen from the camera, so ridges stand out of the hem and horizontal
// stripes swing over the folds.
#pragma once

#include <vector>

#include "samplePaint.h"
#include "workspace/workspace.h"

namespace orx::sample {

struct Bezier {
    Vec2 p0, p1, p2, p3;
    Vec2 at(double t) const;
};
// A straight line as a cubic.
Bezier straight(Vec2 a, Vec2 b);

// Top and bottom run left to right, left and right run top to bottom; the
// ends meet at the four corners.
struct Patch {
    Bezier top, bottom, left, right;
    Vec2 at(double u, double v) const;
};

enum class FoldKind {
    Fan,     // folds radiating from an apex: skirts, gathered curtains
    Wave,    // parallel folds across a direction, in a soft window: sleeves, drag lines
    Dome,    // a padded cushion's puff
    Crease,  // one valley along a segment
};

struct Fold {
    FoldKind kind = FoldKind::Wave;
    Vec2 a;                 // Fan: apex; Wave: window centre; Dome: centre; Crease: start
    Vec2 b;                 // Fan: (r0, r1), the relief grows from r0 to r1; Wave: direction across the folds;
                            // Dome: radii; Crease: end
    double height = 0;      // pixels; negative for a valley
    double rate = 0;        // Fan: phase per radian round the apex (2 pi a fold); Wave: wavelength in
                            // pixels; Dome: squareness; Crease: half-width
    double phase = 0;
    double sharpness = 0.35;  // Fan and Wave: valley shape, small is a narrow valley between broad ridges
    Vec2 window;            // Wave: window radii along and across the folds (0: unlimited)
    double meander = 0;     // Fan and Wave: how far (in radians of phase) a fold wanders along its length
};

Fold fanFolds(Vec2 apex, double r0, double r1, double height, double phasePerRadian, double phase,
              double sharpness = 0.35, double meander = 0.6);
Fold waveFolds(Vec2 centre, Vec2 across, double wavelength, double height, double phase, Vec2 window,
               double sharpness = 0.5, double meander = 0.4);
Fold dome(Vec2 centre, Vec2 radii, double height, double squareness = 3.0);
Fold crease(Vec2 from, Vec2 to, double halfWidth, double depth);

struct FoldField {
    std::vector<Fold> folds;
    double height(Vec2 p) const;
    // Central differences of height() one pixel apart.
    Vec2 slope(Vec2 p) const;
};

// The camera: points lifted by h move away from the eye by h / distance of
// their distance from it.
struct View {
    Vec2 eye;
    double distance = 3000;
};

struct ClothPart {
    Patch patch;
    FoldField folds;
    int columns = 16, rows = 16;
    // How far the mesh reaches beyond the outline on every side, in
    // pixels, so that it covers the outline's curves between its points
    // (masked pixels stay untouched, so the overhang costs nothing).
    double overhang = 4;
    // Explicit outlines (cushions); empty: the part is the patch's outline.
    std::vector<std::vector<Vec2>> region;
};

// Float mesh: (columns + 1) x (rows + 1) points, row-major.
struct MeshGrid {
    int columns = 0, rows = 0;
    std::vector<Vec2> points;
    // Mean length of cloth along a row and down a column, measured over
    // the relief: what the material mesh must span for the fabric to keep
    // its scale.
    double clothWidth = 0, clothHeight = 0;
    Vec2 at(int c, int r) const { return points[size_t(r) * size_t(columns + 1) + size_t(c)]; }
};

// The fold-following mesh of a part, with the relief scaled by `relief`
// (1: the shading's own relief, 0: the flat patch).
MeshGrid foldMesh(const ClothPart& part, const View& view, double relief);
// The outline of the part's patch (unit square) with the same parallax.
std::vector<Vec2> patchOutline(const ClothPart& part, const View& view, double relief);

// True when every cell of the integer mesh is strictly convex with its
// corners clockwise on the screen (y down), as the mapping engine needs.
bool cellsConvexClockwise(const MeshPoint* points, int columns, int rows);

}  // namespace orx::sample
