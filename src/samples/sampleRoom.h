// The room the sample models stand in (wall, floor, skirting, the framed
// swatch that is the material area, soft shadows) and the shading of the
// solid things in it: skin, wood, metal, hair.
#pragma once

#include <cstdint>
#include <vector>

#include "sampleStudio.h"

namespace orx::sample {

// A rounded solid whose surface normal seen from the camera is (nx, ny):
// Lambert light from the lamp and a Blinn highlight of strength `gloss`.
Colour litSolid(const Studio& s, Colour base, double nx, double ny, double x, double y, double gloss = 0);
// A limb, rod or leg: round across its stroke.
Colour litTube(const Studio& s, const Stroke& stroke, Colour base, int x, int y, double gloss = 0);
// A rounded body bounded by an ellipse.
Colour litEllipsoid(const Studio& s, Vec2 centre, Vec2 radii, Colour base, int x, int y, double gloss = 0);

// steps + 1 points along the curve, both ends included.
std::vector<Vec2> sampleCurve(const Bezier& b, int steps);
void append(std::vector<Vec2>& to, const std::vector<Vec2>& from);
// A curve given in design pixels.
Bezier bez(const Studio& s, Vec2 a, Vec2 b, Vec2 c, Vec2 d);
// Mirror of a design point about the vertical line x = axis.
Vec2 mirrored(Vec2 p, double axis);
std::vector<Vec2> shifted(const std::vector<Vec2>& shape, Vec2 by);

// Painted plaster over the whole picture.
void paintWall(Studio& s, Colour top, Colour bottom, uint32_t seed);
// Wooden boards from the foot of the wall (design row y0) to the bottom.
void paintFloor(Studio& s, double y0, Colour wood, uint32_t seed);
void paintSkirting(Studio& s, double y0, double y1, Colour paint);
// Sets the studio's material area to the design rectangle and hangs a
// framed board there.
void paintSwatchFrame(Studio& s, double x0, double y0, double x1, double y1, double frame, Colour wood);
// Darkens the picture under the shapes, blurred by `radius` pixels.
void castShadows(Studio& s, const std::vector<std::vector<Vec2>>& shapes, double strength, int radius);

}  // namespace orx::sample
