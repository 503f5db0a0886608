// The values of ws.toolMode: which mouse tool is armed. The command table
// selects them, the mouse tool-mode table dispatches on them, and the core
// operations that serve several tools take them as their variant (the area
// filters, the block copies, the divide). A new tool takes a new value in
// its family's hundred; a value never changes meaning.
#pragma once

#include <cstdint>

namespace orx {

enum ToolModeId : int32_t {
    ModeNone = 0,
    ModeTrialRun = 1,   // after a trial mapping: a click keeps it, the right button takes it back
    ModeAreaSave = 2,   // dragging the area of a pending area save
    ModeShow = 3,       // a show script is playing: the mouse only stops it

    // Colour-image paint tools (src/tools), and adding a colour file.
    ModePen = 100,
    ModeLine = 101,
    ModeCircle = 102,
    ModeEllipse = 103,
    ModeRectangle = 104,
    ModeCurve = 107,
    ModeDashedCurve = 109,
    ModeHoledCurve = 110,
    ModeShadedCurve = 111,
    ModeAirBrush = 121,
    ModeAirBrushCopy = 122,
    ModeAddRgb = 123,
    ModeAddRgbWithMask = 124,

    // Fills and the colour tools' windows.
    ModeFill = 201,
    ModeChangeColour = 202,
    ModeColourChangePick = 203,
    ModeAutoMaskPick = 204,
    ModeShadedFill = 205,
    ModeShadedFillMaskEdge = 206,
    ModeReflectionFill = 207,
    ModeColourChangePreview1 = 211,
    ModeColourChangeArea1 = 212,
    ModeColourChangePreview2 = 213,
    ModeColourChangeArea2 = 214,
    ModeAutoMaskPreview = 215,
    ModeAutoMaskArea = 216,

    // Mask fills.
    ModeMaskFill = 301,
    ModeMaskPointFill = 302,

    // Material placement into a clicked area, four variants.
    ModePlaceMaterial1 = 401,
    ModePlaceMaterial2 = 402,
    ModePlaceMaterial3 = 403,
    ModePlaceMaterial4 = 404,

    // Mask paint tools.
    ModeMaskPen = 500,
    ModeMaskLine = 501,
    ModeMaskCircle = 502,
    ModeMaskEllipse = 503,
    ModeMaskRectangle = 504,
    ModeMaskCurve = 507,
    ModeMaskArea1 = 520,
    ModeMaskArea2 = 521,
    ModeMaskArea3 = 522,
    ModeMaskArea4 = 523,
    ModeMaskArea5 = 524,

    // Adjusting the placed material, the floating piece and the chosen piece.
    ModeMoveMaterial = 601,
    ModeScaleMaterial = 602,
    ModeRotateMaterial = 610,
    ModeMovePiece = 700,
    ModeScalePiece = 702,
    ModeRotatePiece = 710,
    ModeMaskEdgeSave = 711,  // a click saves a parts file of the mask region under it
    ModeMoveChosen = 720,
    ModeScaleChosen = 722,
    ModeRotateChosen = 730,
    ModePlaceChosen = 731,

    // Filled and gradient figures.
    ModeFilledCircle = 802,
    ModeFilledEllipse = 803,
    ModeFilledRectangle = 804,
    ModeMaskFilledCircle = 812,
    ModeMaskFilledEllipse = 813,
    ModeMaskFilledRectangle = 814,
    ModeGradientCircle = 822,
    ModeGradientEllipse = 823,
    ModeGradientRectangle = 824,

    // Mesh editing: the material mesh (90x), the object mesh (91x to 94x),
    // and picking a new mesh's rectangle (95x).
    ModeMaterialMeshMoveAll = 901,
    ModeMaterialMeshScale = 902,
    ModeObjectMeshMoveAll = 911,
    ModeObjectMeshScale = 912,
    ModeObjectMeshRotate = 913,
    ModeObjectMeshScaleRows = 914,
    ModeObjectMeshScaleColumns = 915,
    ModeObjectMeshRubberScaleRows = 916,
    ModeObjectMeshRubberScaleColumns = 917,
    ModeObjectMeshMovePoint = 921,
    ModeObjectMeshMoveRow = 922,
    ModeObjectMeshMoveColumn = 923,
    ModeObjectMeshRubberRow = 924,
    ModeObjectMeshRubberColumn = 925,
    ModeObjectMeshPerspective = 941,
    ModePickMaterialMesh = 951,
    ModePickMaterialMeshAgain = 952,
    ModePickObjectMesh = 953,

    // Area filters and block copies (areaFilter.h takes these as its variant).
    FilterSharpen = 971,
    FilterBlur = 972,
    FilterSaturation = 973,
    FilterContrast = 974,
    FilterWhiteBalance = 975,
    FilterBlackWhite = 976,
    FilterGrey = 977,
    DivideAtRow = 978,
    DivideAtColumn = 979,
    FilterNegative = 980,
    BlockMirror = 983,
    BlockFlip = 984,
    ModePlaceMirrored = 985,  // the mirrored block follows the pointer until a click places it
    ModePlaceFlipped = 986,
};

// The plane a paint tool draws on (ws.paintTarget).
enum PaintTarget : int32_t { PaintImage = 1, PaintMask = 2 };

}  // namespace orx
