// The scenes of the sample models.
//
// Each scene is laid out in design pixels. Garments are light cloth shaded
// by their folds, so that any material shows well once dressed; skin, hair,
// wood, walls and floors keep their own colours and stay out of the masks.
// The material area is always a flat panel of its own (a framed swatch, a
// blind), never under a part: the mapping run reads the material from it.
#include "sampleScenes.h"

#include <cmath>

#include "sampleRoom.h"

namespace orx::sample {

namespace {

// ---- the dressed figure

const Colour kSkin{228, 184, 156};
const Colour kCloth{246, 245, 241};

void paintLeg(Studio& s, const Stroke& leg)
{
    s.fill(leg.outline(), [&](int x, int y) { return litTube(s, leg, kSkin, x, y, 0.12); });
}

// A flat shoe seen from the front, its toe turned a little outwards
// (facing -1 on the figure's right, seen on the left of the picture).
void paintShoe(Studio& s, Vec2 toe, double facing)
{
    const Vec2 c = s.at(toe);
    const Vec2 r{s.len(25), s.len(12)};
    std::vector<Vec2> shoe = ellipsePolygon(c, r.x, r.y);
    for (Vec2& p : shoe)
        if ((p.x - c.x) * facing > 0) p.x += facing * s.len(4);
    s.fill(shoe, [&](int x, int y) { return litEllipsoid(s, c, r, Colour{52, 38, 36}, x, y, 0.5); });
}

void paintArm(Studio& s, const Stroke& arm)
{
    s.fill(arm.outline(), [&](int x, int y) { return litTube(s, arm, kSkin, x, y, 0.1); });
    // The hand: palm and fingers as one tapering stroke on from the wrist.
    const Vec2 wrist = arm.spine.back(), dir = normalised(arm.spine.back() - arm.spine[arm.spine.size() - 2]);
    Stroke hand{{wrist, wrist + dir * s.len(20), wrist + dir * s.len(40), wrist + dir * s.len(54)},
                {arm.halfWidth.back() * 0.95, s.len(15), s.len(13), s.len(7)}};
    s.fill(hand.outline(), [&](int x, int y) { return litTube(s, hand, kSkin * 0.98, x, y, 0.1); });
    // The thumb, on the side towards the body, and the lines between the fingers.
    const double inward = arm.spine.back().x < arm.spine.front().x ? 1 : -1;
    const Vec2 side{inward * std::fabs(dir.y), std::fabs(dir.x)};
    Stroke thumb{{wrist + dir * s.len(14) + side * s.len(10), wrist + dir * s.len(30) + side * s.len(15),
                  wrist + dir * s.len(40) + side * s.len(12)},
                 {s.len(6), s.len(5.5), s.len(4.5)}};
    s.fill(thumb.outline(), [&](int x, int y) { return litTube(s, thumb, kSkin * 0.95, x, y, 0.1); });
    for (double k : {-0.35, 0.0, 0.35}) {
        const Vec2 from = wrist + dir * s.len(36) + side * (k * s.len(13)), to = wrist + dir * s.len(52) + side * (k * s.len(8));
        Stroke line{{from, to}, {s.len(0.7), s.len(0.5)}};
        s.tint(line.outline(3), 0.86);
    }
}

void paintHairBack(Studio& s, double cx)
{
    std::vector<Vec2> hair;
    for (int i = 0; i <= 32; ++i) {
        const double a = kPi + kPi * i / 32;
        hair.push_back(s.at(cx + 76 * std::cos(a), 146 + 94 * std::sin(a)));
    }
    append(hair, sampleCurve(bez(s, {cx + 76, 146}, {cx + 84, 200}, {cx + 80, 250}, {cx + 62, 282}), 16));
    append(hair, sampleCurve(bez(s, {cx + 62, 282}, {cx + 30, 290}, {cx - 30, 290}, {cx - 62, 282}), 16));
    append(hair, sampleCurve(bez(s, {cx - 62, 282}, {cx - 80, 250}, {cx - 84, 200}, {cx - 76, 146}), 16));
    const Vec2 crown = s.at(cx + 10, 70), centre = s.at(cx, 170), radii{s.len(86), s.len(120)};
    s.fill(hair, [&](int x, int y) {
        const Vec2 d = Vec2{x + 0.5, y + 0.5} - crown;
        const double strand = valueNoise(std::atan2(d.x, d.y) * 70, length(d) / s.len(60), 77);
        const Colour base = Colour{66, 43, 30} * (0.72 + 0.5 * strand);
        return litEllipsoid(s, centre, radii, base, x, y, 0.25);
    });
}

void paintHead(Studio& s, double cx)
{
    const Vec2 c = s.at(cx, 150), r{s.len(57), s.len(75)};
    s.fill(ellipsePolygon(c, r.x, r.y), [&](int x, int y) {
        const Colour base = kSkin;
        const double cheek = std::exp(-std::pow(length(Vec2{x + 0.5, y + 0.5} - s.at(cx - 30, 176)) / s.len(16), 2)) +
                             std::exp(-std::pow(length(Vec2{x + 0.5, y + 0.5} - s.at(cx + 30, 176)) / s.len(16), 2));
        return litEllipsoid(s, c, r, mixColour(base, Colour{224, 150, 140}, 0.35 * cheek), x, y, 0.08);
    });
    // Eyes, brows, nose and mouth, kept soft.
    for (double side : {-1.0, 1.0}) {
        const Vec2 eye = s.at(cx + side * 22, 150);
        s.fill(ellipsePolygon(eye, s.len(10), s.len(4.5), 32), [&](int, int) { return Colour{236, 230, 224}; });
        s.fill(ellipsePolygon(eye, s.len(4.5), s.len(4.5), 24), [&](int, int) { return Colour{70, 48, 36}; });
        s.tint(ellipsePolygon(s.at(cx + side * 22, 146), s.len(11), s.len(2.2), 32), 0.55);
        Stroke brow{{s.at(cx + side * 10, 136), s.at(cx + side * 22, 131), s.at(cx + side * 34, 135)},
                    {s.len(1.6), s.len(2.4), s.len(1.2)}};
        s.fill(brow.outline(4), [&](int, int) { return Colour{72, 48, 34}; });
    }
    Stroke nose{{s.at(cx + 2, 156), s.at(cx + 5, 172), s.at(cx + 1, 180)}, {s.len(1.5), s.len(2.5), s.len(2)}};
    s.tint(nose.outline(4), 0.86);
    const Vec2 mouth = s.at(cx, 197);
    s.fill(ellipsePolygon(mouth, s.len(14), s.len(5)), [&](int x, int y) {
        return litEllipsoid(s, mouth, {s.len(14), s.len(5)}, Colour{196, 104, 100}, x, y, 0.3);
    });
    s.tint({s.at(cx - 14, 196.5), s.at(cx + 14, 196.5), s.at(cx + 14, 197.5), s.at(cx - 14, 197.5)}, 0.6);
}

void paintHairFront(Studio& s, double cx)
{
    std::vector<Vec2> cap;
    for (int i = 0; i <= 40; ++i) {
        const double a = kPi + kPi * i / 40;
        cap.push_back(s.at(cx + 66 * std::cos(a), 146 + 86 * std::sin(a)));
    }
    append(cap, sampleCurve(bez(s, {cx + 66, 146}, {cx + 58, 100}, {cx + 10, 86}, {cx - 16, 112}), 20));
    append(cap, sampleCurve(bez(s, {cx - 16, 112}, {cx - 36, 132}, {cx - 56, 126}, {cx - 66, 146}), 12));
    const Vec2 crown = s.at(cx + 10, 70), centre = s.at(cx, 150), radii{s.len(70), s.len(94)};
    s.fill(cap, [&](int x, int y) {
        const Vec2 d = Vec2{x + 0.5, y + 0.5} - crown;
        const double strand = valueNoise(std::atan2(d.x, d.y) * 70, length(d) / s.len(60), 77);
        return litEllipsoid(s, centre, radii, Colour{66, 43, 30} * (0.72 + 0.5 * strand), x, y, 0.35);
    });
}

// Bodice: shoulders to waist; the neckline is cut by the skin painted over it.
ClothPart dressBodice(Studio& s, double cx)
{
    ClothPart bodice;
    bodice.patch.top = bez(s, {cx - 128, 272}, {cx - 60, 246}, {cx + 60, 246}, {cx + 128, 272});
    bodice.patch.bottom = bez(s, {cx - 74, 474}, {cx - 32, 480}, {cx + 32, 480}, {cx + 74, 474});
    bodice.patch.left = bez(s, {cx - 128, 272}, {cx - 122, 330}, {cx - 98, 410}, {cx - 74, 474});
    bodice.patch.right = bez(s, {cx + 128, 272}, {cx + 122, 330}, {cx + 98, 410}, {cx + 74, 474});
    bodice.folds.folds = {
        // The torso's roundness, fuller at the bust.
        dome(s.at(cx, 380), {s.len(170), s.len(260)}, s.len(22), 2),
        dome(s.at(cx, 362), {s.len(150), s.len(80)}, s.len(6), 2),
        waveFolds(s.at(cx, 448), {0.1, 1}, s.len(20), s.len(2.5), 0.4, {s.len(70), s.len(28)}),
        crease(s.at(cx - 96, 330), s.at(cx - 60, 400), s.len(7), s.len(2.5)),
        crease(s.at(cx + 96, 330), s.at(cx + 60, 400), s.len(7), s.len(2.5)),
    };
    bodice.columns = 18;
    bodice.rows = 16;
    return bodice;
}

// A flared skirt from the waist seam, its folds fanning out from above the
// waist and deepening towards the hem.
ClothPart dressSkirt(Studio& s, double cx, const Bezier& waist)
{
    ClothPart skirt;
    skirt.patch.top = waist;
    skirt.patch.bottom = bez(s, {cx - 212, 842}, {cx - 100, 874}, {cx + 100, 874}, {cx + 212, 842});
    skirt.patch.left = bez(s, {cx - 74, 474}, {cx - 100, 530}, {cx - 155, 690}, {cx - 212, 842});
    skirt.patch.right = bez(s, {cx + 74, 474}, {cx + 100, 530}, {cx + 155, 690}, {cx + 212, 842});
    const Vec2 apex = s.at(cx, 330);
    skirt.folds.folds = {
        fanFolds(apex, s.len(170), s.len(520), s.len(13), 56, 0.7, 0.45, 0.7),
        fanFolds(apex, s.len(220), s.len(540), s.len(5), 93, 2.1, 0.6, 0.9),
        fanFolds(apex, s.len(120), s.len(300), s.len(3), 120, 0.3, 0.5, 0.5),
    };
    // Cells of at least about seven pixels at the waist, where the fan is
    // narrowest.
    skirt.columns = 22;
    skirt.rows = 24;
    return skirt;
}

// A short sleeve from the shoulder, the cap rounding down the outer side;
// side -1 is the one on the left of the picture, +1 its mirror image.
ClothPart dressSleeve(Studio& s, double cx, double side)
{
    auto p = [&](double x, double y) { return side < 0 ? Vec2{x, y} : mirrored({x, y}, cx); };
    ClothPart sl;
    sl.patch.top = bez(s, p(cx - 138, 270), p(cx - 124, 272), p(cx - 108, 276), p(cx - 94, 282));
    sl.patch.bottom = bez(s, p(cx - 186, 414), p(cx - 152, 426), p(cx - 116, 428), p(cx - 90, 416));
    sl.patch.left = bez(s, p(cx - 138, 270), p(cx - 162, 290), p(cx - 176, 350), p(cx - 186, 414));
    sl.patch.right = bez(s, p(cx - 94, 282), p(cx - 90, 330), p(cx - 88, 372), p(cx - 90, 416));
    if (side > 0) {  // mirrored curves run right to left: turn them round
        std::swap(sl.patch.left, sl.patch.right);
        for (Bezier* b : {&sl.patch.top, &sl.patch.bottom}) *b = {b->p3, b->p2, b->p1, b->p0};
    }
    sl.folds.folds = {
        waveFolds(s.at(p(cx - 136, 372)), {1, side * 0.6}, s.len(38), s.len(4.5), 1.1 + side, {s.len(90), s.len(70)}, 0.6),
        dome(s.at(p(cx - 128, 300)), {s.len(44), s.len(40)}, s.len(7), 2),
    };
    sl.columns = 7;
    sl.rows = 10;
    return sl;
}

void paintDress(Studio& s)
{
    const double cx = 360;
    paintWall(s, Colour{214, 206, 194}, Colour{196, 186, 172}, 11);
    paintFloor(s, 1010, Colour{168, 122, 86}, 12);
    paintSkirting(s, 975, 1010, Colour{236, 234, 228});
    paintSwatchFrame(s, 640, 300, 950, 780, 16, Colour{150, 112, 76});

    const ClothPart bodice = dressBodice(s, cx);
    const ClothPart skirt = dressSkirt(s, cx, bodice.patch.bottom);
    const int skirtPart = s.addPart(skirt);
    const int bodicePart = s.addPart(bodice);
    const int leftSleeve = s.addPart(dressSleeve(s, cx, -1));
    const int rightSleeve = s.addPart(dressSleeve(s, cx, 1));

    Stroke leftLeg{{s.at(cx - 24, 820), s.at(cx - 28, 985), s.at(cx - 22, 1150)}, {s.len(30), s.len(24), s.len(13)}};
    Stroke rightLeg{{s.at(cx + 24, 820), s.at(cx + 28, 985), s.at(cx + 22, 1150)}, {s.len(30), s.len(24), s.len(13)}};
    Stroke leftArm{{s.at(cx - 142, 392), s.at(cx - 160, 520), s.at(cx - 172, 630)}, {s.len(27), s.len(22), s.len(15)}};
    Stroke rightArm{{s.at(cx + 142, 392), s.at(cx + 160, 520), s.at(cx + 172, 630)}, {s.len(27), s.len(22), s.len(15)}};

    // Shadows: on the floor round the feet, and the figure's soft shadow on
    // the wall behind it, thrown down and to the right by the lamp.
    castShadows(s, {ellipsePolygon(s.at(cx, 1172), s.len(150), s.len(20))}, 0.5, int(s.len(12)) + 1);
    std::vector<std::vector<Vec2>> figure = {s.parts[size_t(skirtPart)].outlines[0], s.parts[size_t(bodicePart)].outlines[0],
                                             ellipsePolygon(s.at(cx, 170), s.len(80), s.len(110)), leftArm.outline(),
                                             rightArm.outline(), leftLeg.outline(), rightLeg.outline()};
    for (auto& shape : figure) shape = shifted(shape, {s.len(34), s.len(10)});
    castShadows(s, figure, 0.16, int(s.len(26)) + 1);

    paintLeg(s, leftLeg);
    paintLeg(s, rightLeg);
    paintShoe(s, {cx - 24, 1164}, -1);
    paintShoe(s, {cx + 24, 1164}, 1);
    paintHairBack(s, cx);
    // Neck and the top of the chest, one rounded body so the neckline
    // cut into the bodice later shows the same skin.
    Stroke neck{{s.at(cx, 196), s.at(cx, 262), s.at(cx, 320)}, {s.len(23), s.len(27), s.len(70)}};
    s.fill(neck.outline(), [&](int x, int y) { return litTube(s, neck, kSkin * 0.95, x, y); });

    s.paintPart(skirtPart, kCloth);
    s.paintPart(bodicePart, kCloth);
    // The waist seam.
    Stroke seam{sampleCurve(bodice.patch.bottom, 24), std::vector<double>(25, s.len(1.6))};
    s.tint(seam.outline(4), 0.8);

    paintArm(s, leftArm);
    paintArm(s, rightArm);
    s.paintPart(leftSleeve, kCloth);
    s.paintPart(rightSleeve, kCloth);

    // Neckline: a scoop of skin over the bodice, with the neck above it.
    std::vector<Vec2> scoop = sampleCurve(bez(s, {cx - 46, 246}, {cx - 40, 300}, {cx + 40, 300}, {cx + 46, 246}), 24);
    scoop.push_back(s.at(cx + 30, 230));
    scoop.push_back(s.at(cx - 30, 230));
    s.fill(scoop, [&](int x, int y) { return litTube(s, neck, kSkin * 0.95, x, y); });
    Stroke neckline{sampleCurve(bez(s, {cx - 46, 246}, {cx - 40, 300}, {cx + 40, 300}, {cx + 46, 246}), 24),
                    std::vector<double>(25, s.len(1.4))};
    s.tint(neckline.outline(4), 0.82);
    paintHead(s, cx);
    paintHairFront(s, cx);
}

// ---- the sofa

// A rounded square with sides bulging out, turned by `angle`: a throw
// pillow.
std::vector<Vec2> pillowOutline(Vec2 centre, Vec2 radii, double angle)
{
    std::vector<Vec2> out;
    const double ca = std::cos(angle), sa = std::sin(angle);
    for (int i = 0; i < 120; ++i) {
        const double t = 2 * kPi * i / 120, c = std::cos(t), sn = std::sin(t);
        const double x = radii.x * std::copysign(std::pow(std::fabs(c), 0.45), c);
        const double y = radii.y * std::copysign(std::pow(std::fabs(sn), 0.45), sn);
        out.push_back({centre.x + x * ca - y * sa, centre.y + x * sa + y * ca});
    }
    return out;
}

void paintPillow(Studio& s, Vec2 centre, Vec2 radii, double angle, Colour colour, uint32_t seed)
{
    const Vec2 c = s.at(centre), r{s.len(radii.x), s.len(radii.y)};
    castShadows(s, {shifted(pillowOutline(c, r, angle), {s.len(10), s.len(14)})}, 0.45, int(s.len(10)) + 1);
    // Puffed in the middle, pinched towards the corners.
    s.fill(pillowOutline(c, r, angle), [&](int x, int y) {
        const double weave = 0.92 + 0.1 * valueNoise(x * 0.7, y * 0.7, seed);
        const Vec2 d = Vec2{x + 0.5, y + 0.5} - c;
        const double corner = std::fabs(d.x / r.x * d.y / r.y);
        return litEllipsoid(s, c, r * 1.12, colour * (weave * (1 - 0.25 * corner)), x, y, 0.05);
    });
}

void paintSofaLeg(Studio& s, Vec2 top, double height)
{
    Stroke leg{{s.at(top), s.at(top + Vec2{0, height})}, {s.len(11), s.len(7)}};
    s.fill(leg.outline(4), [&](int x, int y) { return litTube(s, leg, Colour{92, 62, 40}, x, y, 0.35); });
}

void paintSofa(Studio& s)
{
    paintWall(s, Colour{178, 190, 172}, Colour{160, 170, 154}, 21);
    paintFloor(s, 1000, Colour{146, 104, 72}, 22);
    paintSkirting(s, 968, 1000, Colour{236, 234, 228});
    paintSwatchFrame(s, 420, 70, 1180, 370, 18, Colour{60, 56, 54});

    // Back cushions: three puffed cushions side by side between the arms.
    const double cushionX[4] = {334, 646, 956, 1266};
    ClothPart back;
    back.patch = {straight(s.at(326, 452), s.at(1274, 452)), straight(s.at(326, 730), s.at(1274, 730)),
                  straight(s.at(326, 452), s.at(326, 730)), straight(s.at(1274, 452), s.at(1274, 730))};
    ClothPart seat;
    seat.patch = {straight(s.at(326, 694), s.at(1274, 694)), straight(s.at(326, 822), s.at(1274, 822)),
                  straight(s.at(326, 694), s.at(326, 822)), straight(s.at(1274, 694), s.at(1274, 822))};
    for (int i = 0; i < 3; ++i) {
        const double x0 = cushionX[i] + 3, x1 = cushionX[i + 1] - 3, mid = (x0 + x1) / 2;
        back.region.push_back(roundedRectPolygon(s.at(x0, 460).x, s.at(x0, 460).y, s.at(x1, 722).x, s.at(x1, 722).y, s.len(44)));
        back.folds.folds.push_back(dome(s.at(mid, 586), {s.len(170), s.len(148)}, s.len(40), 3));
        back.folds.folds.push_back(crease(s.at(x0 + 30, 700), s.at(mid - 10, 610), s.len(16), s.len(4)));
        back.folds.folds.push_back(crease(s.at(x1 - 30, 700), s.at(mid + 20, 630), s.len(16), s.len(3)));
        back.folds.folds.push_back(crease(s.at(x0 + 60, 500), s.at(x1 - 70, 506), s.len(14), s.len(2.5)));
        seat.region.push_back(roundedRectPolygon(s.at(x0, 700).x, s.at(x0, 700).y, s.at(x1, 816).x, s.at(x1, 816).y, s.len(26)));
        seat.folds.folds.push_back(dome(s.at(mid, 756), {s.len(170), s.len(70)}, s.len(20), 4));
        seat.folds.folds.push_back(crease(s.at(x0 + 40, 792), s.at(mid, 772), s.len(12), s.len(3)));
    }
    back.columns = 42;
    back.rows = 14;
    seat.columns = 42;
    seat.rows = 8;

    // The frame: the top of the back, two rolled arms and the front rail.
    ClothPart frame;
    frame.patch = {straight(s.at(172, 420), s.at(1428, 420)), straight(s.at(172, 910), s.at(1428, 910)),
                   straight(s.at(172, 420), s.at(172, 910)), straight(s.at(1428, 420), s.at(1428, 910))};
    auto designRect = [&](double x0, double y0, double x1, double y1, double r) {
        return roundedRectPolygon(s.at(x0, y0).x, s.at(x0, y0).y, s.at(x1, y1).x, s.at(x1, y1).y, s.len(r));
    };
    // The back reaches down behind the seat cushions: the crevices between
    // them are the same cloth in deep shade.
    frame.region = {designRect(250, 426, 1350, 800, 40), designRect(290, 780, 1310, 902, 14),
                    designRect(178, 540, 338, 902, 64), designRect(1262, 540, 1422, 902, 64)};
    frame.folds.folds = {
        dome(s.at(800, 560), {s.len(560), s.len(150)}, s.len(10), 4),
        dome(s.at(258, 640), {s.len(86), s.len(120)}, s.len(24), 2),
        dome(s.at(1342, 640), {s.len(86), s.len(120)}, s.len(24), 2),
        dome(s.at(800, 842), {s.len(520), s.len(70)}, s.len(8), 4),
        crease(s.at(200, 700), s.at(310, 860), s.len(16), s.len(4)),
        crease(s.at(1400, 700), s.at(1290, 860), s.len(16), s.len(4)),
    };
    frame.columns = 48;
    frame.rows = 20;

    const int framePart = s.addPart(frame);
    const int backPart = s.addPart(back);
    const int seatPart = s.addPart(seat);

    // Shadows: the sofa's on the floor beneath it, and its soft shade on the wall.
    castShadows(s, {designRect(200, 880, 1400, 990, 40)}, 0.55, int(s.len(16)) + 1);
    castShadows(s, {shifted(designRect(190, 440, 1420, 900, 60), {s.len(30), s.len(16)})}, 0.2, int(s.len(30)) + 1);
    for (double x : {214.0, 306.0, 1294.0, 1386.0}) paintSofaLeg(s, {x, 900}, 60);

    const Colour cloth{246, 244, 238};
    s.paintPart(framePart, cloth, 0);
    s.tint(designRect(326, 690, 1274, 800, 4), 0.4);
    s.paintPart(framePart, cloth, 1);
    s.paintPart(backPart, cloth);
    s.paintPart(seatPart, cloth);
    // Welts along the seat cushions' front edges.
    for (int i = 0; i < 3; ++i) {
        Stroke welt{{s.at(cushionX[i] + 24, 742), s.at(cushionX[i + 1] - 24, 742)}, {s.len(1.6), s.len(1.6)}};
        s.tint(welt.outline(4), 0.8);
    }
    s.paintPart(framePart, cloth, 2);
    s.paintPart(framePart, cloth, 3);
    paintPillow(s, {452, 628}, {118, 100}, -0.12, Colour{204, 158, 62}, 23);
    paintPillow(s, {1150, 632}, {112, 96}, 0.1, Colour{62, 118, 126}, 24);
}

// ---- the curtained window

// A floor-length drape hanging from rings on the rod between design
// columns x0 and x1, its folds deepening from the pleated heading down.
ClothPart drapePanel(Studio& s, double x0, double x1, double flareLeft, double flareRight, double phase)
{
    const double top = 112, hem = 948, mid = (x0 + x1) / 2;
    ClothPart d;
    d.patch.top = straight(s.at(x0, top), s.at(x1, top));
    d.patch.bottom = bez(s, {x0 - flareLeft, hem}, {x0 + (x1 - x0) / 3, hem + 4}, {x1 - (x1 - x0) / 3, hem + 4}, {x1 + flareRight, hem});
    d.patch.left = bez(s, {x0, top}, {x0 - flareLeft * 0.1, 400}, {x0 - flareLeft * 0.5, 700}, {x0 - flareLeft, hem});
    d.patch.right = bez(s, {x1, top}, {x1 + flareRight * 0.1, 400}, {x1 + flareRight * 0.5, 700}, {x1 + flareRight, hem});
    const Vec2 apex = s.at(mid, -1600);
    const double r0 = length(s.at(mid, top) - apex);
    const double span = (x1 - x0) / 1712;  // radians the drape spans seen from the apex
    d.folds.folds = {
        fanFolds(apex, r0, r0 + s.len(320), s.len(15), 6.5 * 2 * kPi / span, phase, 0.35, 0.8),
        fanFolds(apex, r0 + s.len(100), r0 + s.len(600), s.len(6), 11.0 * 2 * kPi / span, phase * 1.7 + 1, 0.5, 1.2),
        // The pinch-pleated heading just under the rings.
        waveFolds(s.at(mid, top), {1, 0}, s.len((x1 - x0) / 8), s.len(7), phase * 0.5, {s.len(150), 0}, 0.4, 0),
    };
    d.columns = 22;
    d.rows = 60;
    return d;
}

void paintWindow(Studio& s)
{
    auto rect = [&](double x0, double y0, double x1, double y1) {
        return std::vector<Vec2>{s.at(x0, y0), s.at(x1, y0), s.at(x1, y1), s.at(x0, y1)};
    };
    const Colour paint{238, 236, 230};
    castShadows(s, {rect(370, 150, 926, 880)}, 0.3, int(s.len(10)) + 1);
    s.fill(rect(364, 146, 916, 846), [&](int x, int y) { return paint * s.ambient(x, y); });
    // Glass: sky over a far line of trees.
    s.fill(rect(396, 178, 884, 814), [&](int x, int y) {
        const double t = (y - s.at(0, 178).y) / s.len(636);
        Colour c = mixColour(Colour{150, 186, 224}, Colour{222, 232, 238}, t);
        const double treeTop = s.len(730 + 40 * valueNoise(x / s.len(40), 0.5, 33) + 12 * valueNoise(x / s.len(9), 0.5, 35));
        if (y > treeTop) {
            const double leaves = 0.5 * valueNoise(x / s.len(14), y / s.len(14), 34) + 0.3 * valueNoise(x / s.len(5), y / s.len(5), 36) +
                                  0.2 * valueNoise(x / s.len(2), y / s.len(2), 37);
            c = Colour{84, 112, 76} * (0.7 + 0.6 * leaves);
        }
        return c;
    });
    for (auto r : {rect(634, 178, 646, 814), rect(396, 700, 884, 712)})
        s.fill(r, [&](int x, int y) { return paint * (s.ambient(x, y) * 0.97); });
    // The sill, lit on top.
    s.fill(rect(344, 846, 936, 866), [&](int x, int y) {
        return paint * (s.ambient(x, y) * (y < s.at(0, 852).y ? 1.04 : 0.88));
    });
}

// The flat Roman blind in the window: the material area.
void paintBlind(Studio& s)
{
    // The blind fills the frame; the material covers it but for a narrow
    // hem round its edges.
    const Vec2 a = s.at(396, 178), b = s.at(884, 690), rim = s.at(6, 6);
    s.area = {int(std::lround(a.x + rim.x)), int(std::lround(a.y + rim.y)), int(std::lround(b.x - rim.x)), int(std::lround(b.y))};
    const std::vector<Vec2> board = {a, {b.x, a.y}, b, {a.x, b.y}};
    s.fill(board, [&](int x, int y) { return Colour{226, 222, 214} * s.ambient(x, y); });
    // Its bottom batten and the shade it throws on the glass.
    const double by = s.area.y1, bh = s.len(8);
    castShadows(s, {{{a.x, by}, {b.x, by}, {b.x, by + s.len(26)}, {a.x, by + s.len(26)}}}, 0.3, int(s.len(6)) + 1);
    s.fill({{a.x, by}, {b.x, by}, {b.x, by + bh}, {a.x, by + bh}},
           [&](int x, int y) { return litSolid(s, Colour{200, 196, 188}, 0, (y - by) / bh - 0.5, x, y, 0.2); });
}

void paintRod(Studio& s)
{
    Stroke rod{{s.at(150, 96), s.at(1130, 96)}, {s.len(8), s.len(8)}};
    const Colour bronze{92, 72, 54};
    for (double x : {210.0, 1070.0}) {
        Stroke bracket{{s.at(x, 96), s.at(x, 128)}, {s.len(5), s.len(7)}};
        s.fill(bracket.outline(4), [&](int px, int py) { return litTube(s, bracket, bronze * 0.8, px, py, 0.4); });
    }
    s.fill(rod.outline(6), [&](int x, int y) { return litTube(s, rod, bronze, x, y, 0.7); });
    for (double x : {134.0, 1146.0}) {
        const Vec2 c = s.at(x, 96), r{s.len(20), s.len(20)};
        s.fill(ellipsePolygon(c, r.x, r.y), [&](int px, int py) { return litEllipsoid(s, c, r, bronze, px, py, 0.7); });
    }
}

void paintRings(Studio& s, double x0, double x1)
{
    const Colour bronze{92, 72, 54};
    for (int i = 0; i <= 8; ++i) {
        const Vec2 c = s.at(x0 + (x1 - x0) * i / 8, 104), r{s.len(4), s.len(14)};
        s.fill(ellipsePolygon(c, r.x, r.y, 24), [&](int x, int y) { return litEllipsoid(s, c, r, bronze, x, y, 0.6); });
    }
}

void paintDrape(Studio& s)
{
    paintWall(s, Colour{230, 222, 206}, Colour{214, 204, 188}, 31);
    paintFloor(s, 930, Colour{160, 118, 84}, 32);
    paintSkirting(s, 898, 930, Colour{238, 236, 230});
    paintWindow(s);
    paintBlind(s);

    // The window seat: a painted box under the window with a buttoned cushion.
    const Colour paint{238, 236, 230};
    const std::vector<Vec2> box = {s.at(392, 870), s.at(888, 870), s.at(888, 956), s.at(392, 956)};
    castShadows(s, {{s.at(392, 948), s.at(888, 948), s.at(896, 972), s.at(384, 972)}}, 0.45, int(s.len(8)) + 1);
    s.fill(box, [&](int x, int y) {
        const double panel = (y > s.at(0, 884).y && y < s.at(0, 944).y) ? 0.93 : 1.0;
        return paint * (s.ambient(x, y) * panel);
    });
    ClothPart seat;
    seat.patch = {straight(s.at(396, 804), s.at(884, 804)), straight(s.at(396, 882), s.at(884, 882)),
                  straight(s.at(396, 804), s.at(396, 882)), straight(s.at(884, 804), s.at(884, 882))};
    seat.region = {roundedRectPolygon(s.at(402, 810).x, s.at(402, 810).y, s.at(878, 876).x, s.at(878, 876).y, s.len(24))};
    seat.folds.folds = {dome(s.at(640, 843), {s.len(248), s.len(40)}, s.len(16), 4)};
    for (double x : {520.0, 640.0, 760.0}) {
        seat.folds.folds.push_back(crease(s.at(x - 34, 830), s.at(x + 34, 856), s.len(5), s.len(3)));
        seat.folds.folds.push_back(crease(s.at(x + 34, 830), s.at(x - 34, 856), s.len(5), s.len(3)));
    }
    seat.columns = 40;
    seat.rows = 8;

    const double leftX[2] = {164, 384}, rightX[2] = {896, 1116};
    // The inner edges hang straight, clear of the blind.
    const int left = s.addPart(drapePanel(s, leftX[0], leftX[1], 26, 0, 0.4));
    const int right = s.addPart(drapePanel(s, rightX[0], rightX[1], 0, 26, 2.3));
    const int seatPart = s.addPart(seat);

    castShadows(s, {shifted(s.parts[size_t(left)].outlines[0], {s.len(24), s.len(8)}),
                    shifted(s.parts[size_t(right)].outlines[0], {s.len(24), s.len(8)})},
                0.28, int(s.len(20)) + 1);
    const Colour cloth{246, 244, 238};
    s.paintPart(seatPart, cloth);
    for (double x : {520.0, 640.0, 760.0}) {
        const Vec2 c = s.at(x, 843), r{s.len(5), s.len(4)};
        s.fill(ellipsePolygon(c, r.x, r.y, 24), [&](int px, int py) { return litEllipsoid(s, c, r, Colour{190, 186, 178}, px, py, 0.3); });
    }
    paintRod(s);
    s.paintPart(left, cloth);
    s.paintPart(right, cloth);
    paintRings(s, leftX[0], leftX[1]);
    paintRings(s, rightX[0], rightX[1]);
}

// ---- the benchmarks' display

// A circular arc about `centre` as one cubic, from angle a0 to a1 (radians
// from straight down, increasing to the right).
Bezier arc(Vec2 centre, double radius, double a0, double a1)
{
    auto at = [&](double a) { return centre + Vec2{std::sin(a), std::cos(a)} * radius; };
    auto tangent = [&](double a) { return Vec2{std::cos(a), -std::sin(a)}; };
    const double k = 4.0 / 3.0 * std::tan((a1 - a0) / 4) * radius;
    return {at(a0), at(a0) + tangent(a0) * k, at(a1) - tangent(a1) * k, at(a1)};
}

// Three large panels, one for each road of the mapping engine: a flat
// banner of rectangles, a sheared drape of near-parallelograms and a fan
// of tapered cells.
void paintDisplay(Studio& s)
{
    paintWall(s, Colour{206, 204, 200}, Colour{188, 186, 182}, 41);
    paintFloor(s, 1150, Colour{150, 110, 80}, 42);
    paintSwatchFrame(s, 1440, 28, 1586, 360, 10, Colour{60, 56, 54});

    ClothPart banner;  // no folds: every cell stays an axis-parallel rectangle
    banner.patch = {straight(s.at(40, 64), s.at(500, 64)), straight(s.at(40, 1130), s.at(500, 1130)),
                    straight(s.at(40, 64), s.at(40, 1130)), straight(s.at(500, 64), s.at(500, 1130))};
    banner.columns = 16;
    banner.rows = 36;
    banner.overhang = 0;

    ClothPart drape;  // sheared, with folds too shallow to unbalance a cell's sides
    drape.patch = {straight(s.at(536, 100), s.at(960, 56)), straight(s.at(536, 1134), s.at(960, 1090)),
                   straight(s.at(536, 100), s.at(536, 1134)), straight(s.at(960, 56), s.at(960, 1090))};
    drape.folds.folds = {waveFolds(s.at(748, 600), {1, 0}, s.len(80), s.len(4), 0.5, {0, 0}, 0.8, 0.3)};
    drape.columns = 20;
    drape.rows = 30;
    drape.overhang = 0;

    ClothPart fan;  // a folding fan opened below its pivot, laid out in design pixels
    const Vec2 hinge{1270, 110};
    const double spread = 0.34;
    auto rib = [&](double a, double r) { return s.at(hinge + Vec2{std::sin(a), std::cos(a)} * r); };
    auto arcAt = [&](double r) {
        const Bezier b = arc(hinge, r, -spread, spread);
        return Bezier{s.at(b.p0), s.at(b.p1), s.at(b.p2), s.at(b.p3)};
    };
    const Vec2 pivot = s.at(hinge);
    fan.patch = {arcAt(160), arcAt(1040), straight(rib(-spread, 160), rib(-spread, 1040)), straight(rib(spread, 160), rib(spread, 1040))};
    fan.folds.folds = {fanFolds(pivot, s.len(180), s.len(600), s.len(9), 8 * 2 * kPi / (2 * spread), 0.3, 0.6, 0.4)};
    fan.columns = 16;
    fan.rows = 12;

    const int bannerPart = s.addPart(banner);
    const int drapePart = s.addPart(drape);
    const int fanPart = s.addPart(fan);
    std::vector<std::vector<Vec2>> shapes;
    for (const StudioPart& p : s.parts) shapes.push_back(shifted(p.outlines[0], {s.len(18), s.len(10)}));
    castShadows(s, shapes, 0.25, int(s.len(16)) + 1);

    Stroke rod{{s.at(28, 62), s.at(512, 62)}, {s.len(6), s.len(6)}};
    const Colour cloth{246, 244, 238};
    s.paintPart(bannerPart, cloth);
    s.fill(rod.outline(4), [&](int x, int y) { return litTube(s, rod, Colour{92, 72, 54}, x, y, 0.6); });
    s.paintPart(drapePart, cloth);
    s.paintPart(fanPart, cloth);
    // The rivet the fan's sticks turn on, just above the cloth.
    const Vec2 rivet = s.at(hinge + Vec2{0, 146}), r{s.len(14), s.len(14)};
    s.fill(ellipsePolygon(rivet, r.x, r.y), [&](int x, int y) { return litEllipsoid(s, rivet, r, Colour{92, 72, 54}, x, y, 0.6); });
}

const SceneDesign kScenes[] = {
    {SampleScene::Dress, 1000, 1280, 0.75, paintDress},
    {SampleScene::Sofa, 1600, 1200, 0.7, paintSofa},
    {SampleScene::Drape, 1280, 1024, 0.8, paintDrape},
    {SampleScene::Display, 1600, 1200, 0.8, paintDisplay},
};

}  // namespace

const SceneDesign& sceneDesign(SampleScene scene)
{
    for (const SceneDesign& d : kScenes)
        if (d.scene == scene) return d;
    return kScenes[0];
}

}  // namespace orx::sample
