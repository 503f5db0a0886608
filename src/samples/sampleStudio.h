// The studio a sample model is painted in: the picture, the scene's light
// and camera, the material area and the garment parts with their meshes.
//
// A scene is laid out in design pixels (its nominal size) and stretched to
// the requested size. Shapes are painted back to front; each garment part
// keeps a plane of how much of it is still seen, so whatever is painted in
// front of it later (an arm over a skirt, a pillow over a cushion) is left
// out of its mask.
#pragma once

#include <string>
#include <vector>

#include "sampleDrapery.h"
#include "samplePaint.h"

namespace orx::sample {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

struct StudioPart {
    ClothPart cloth;
    double relief = 1;                       // the share of the fold relief the mesh and the shading use
    std::vector<MeshPoint> object;           // the object mesh in pixels
    MeshGrid grid;                           // the same before rounding
    std::vector<std::vector<Vec2>> outlines; // the part's shapes in the picture
    std::vector<uint8_t> seen;               // 0..255: how much of each pixel shows this part
};

class Studio {
public:
    Studio(uint8_t* rgb, int width, int height, double designWidth, double designHeight);

    // Design pixels to picture pixels.
    Vec2 at(double x, double y) const { return {x * sx_, y * sy_}; }
    Vec2 at(Vec2 p) const { return at(p.x, p.y); }
    std::vector<Vec2> at(const std::vector<Vec2>& design) const;
    double len(double designLength) const { return designLength * unit_; }
    int width() const { return canvas.width(); }
    int height() const { return canvas.height(); }

    // The room's light: brightest around the lamp, falling off slowly.
    double ambient(double x, double y) const;

    // A shape in front of everything painted so far; it hides what it
    // covers of every part.
    template <typename Shader>
    void fill(const std::vector<Vec2>& outline, Shader&& shade)
    {
        cov.fill(outline);
        canvas.paint(cov, shade);
        hideParts(-1);
    }
    // Darkens what lies under the shape (a seam, a shadow on cloth)
    // without hiding anything: the cloth still belongs to its part.
    void tint(const std::vector<Vec2>& outline, double factor);

    // Adds a garment part and builds its mesh; the fold relief is lowered
    // step by step when it would fold a cell over. Returns its index.
    int addPart(ClothPart cloth);
    // Paints part k as light cloth, shaded by its folds: all its outlines,
    // or only outline `only` (a sofa's frame is painted behind the cushions
    // and its arms in front of them).
    void paintPart(int k, Colour cloth, int only = -1);

    Canvas canvas;
    Coverage cov;
    ShadowLayer shadows;
    View view;
    Vec3 light{-0.45, -0.55, 0.70};  // towards the lamp, upper left and in front
    Vec2 lamp;                       // where the room is brightest
    double lampReach = 2000;         // at this distance from the lamp the light is down by a sixth
    Box area;                        // the material area
    std::vector<StudioPart> parts;

private:
    void hideParts(int except);
    double sx_, sy_, unit_;
    std::vector<float> relief_;  // scratch: heights of a part's box
};

}  // namespace orx::sample
