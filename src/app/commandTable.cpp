// The command table.
#include "commandTable.h"

#include <algorithm>

#include "commands.h"
#include "toolModes.h"

namespace orx::app {

namespace {

// Flags of a tool row: the plane a paint tool draws on, and whether the
// command is checked while its mode is the tool mode.
enum ToolFlag : uint32_t { OnImage = 1u << 0, OnMask = 1u << 1, CheckMode = 1u << 2 };

// A command that acts at once and leaves the tool as it is.
constexpr Command act(CommandId id, const char* english, const char* chinese, uint32_t issuers, uint32_t enable,
                      CommandHandler handler, CheckRule check = {})
{
    return {id, english, chinese, issuers, kModeUnchanged, kCursorUnchanged, 0, enable, check, handler};
}

// A command that acts at once and puts the tool down: no mode, the arrow.
constexpr Command actDropTool(CommandId id, const char* english, const char* chinese, uint32_t issuers,
                              uint32_t enable, CommandHandler handler)
{
    return {id, english, chinese, issuers, ModeNone, kCursorArrow, 0, enable, {}, handler};
}

// A command that selects a mouse tool: its mode and cursor, then the handler
// (toolOnly when selecting is all it does).
constexpr Command tool(CommandId id, const char* english, const char* chinese, uint32_t issuers, ToolModeId mode,
                       int32_t cursor, uint32_t enable, CommandHandler handler, uint32_t flags = 0)
{
    const int32_t target = (flags & OnMask) ? PaintMask : (flags & OnImage) ? PaintImage : 0;
    const CheckRule check = (flags & CheckMode) ? CheckRule{CheckField::ToolMode, mode} : CheckRule{};
    return {id, english, chinese, issuers, mode, cursor, target, enable, check, handler};
}

// act:         id, English label, Chinese label, issuers, enable rule, handler[, check rule]
// actDropTool: id, English label, Chinese label, issuers, enable rule, handler
// tool:        id, English label, Chinese label, issuers, mode, cursor, enable rule, handler[, flags]
// Ids ascend: findCommand searches by halves.
const Command kCommands[] = {
    actDropTool(IdLoadRgb, "Load RGB", "讀取RGB檔", Menu130, Ready, loadRgb),
    act(IdOpenImageFile, "Open Image File (BMP)...", "開啟影像檔 (BMP)...", NoIssuer, Ready, openImageFile),
    actDropTool(IdLoadMsk, "Load MSK...", "讀取MSK型版檔...", NoIssuer, Ready, loadMsk),
    actDropTool(IdLoadMesh, "Load Mesh (MAP)...", "讀取網格檔 (MAP)...", MeshToolPalette, Ready | NeedImage, nullptr),
    act(IdSaveRgb, "Save RGB", "儲存RGB檔", Menu130, Ready | NeedImage, saveRgb),
    act(IdSaveMsk, "Save MSK...", "儲存MSK型版檔...", NoIssuer, Ready | NeedImage, saveMsk),
    actDropTool(IdSaveMesh, "Save Mesh (MAP)...", "儲存網格檔 (MAP)...", MeshToolPalette, Ready | NeedImage | NeedMesh, nullptr),
    act(IdSaveBmp, "Save BMP...", "儲存BMP檔...", NoIssuer, Ready | NeedImage, saveBmp),
    act(IdNewImage, "New Image...", "新影像...", NoIssuer, Always, newImage),
    act(IdAboutWeb, "About ORXWEB", "關於ORXWEB", Menu128 | Menu129 | Menu130, Always, aboutWeb),
    act(IdLanguage, "Screen Message Language", "螢幕訊息使用語言", Menu128 | Menu129 | Menu130, Always, chooseLanguage),
    act(IdMaskOn, "Mask On", "顯示型版", NoIssuer, Ready | NeedImage, maskOn),
    act(IdMaskOff, "Mask Off", "隱藏型版", NoIssuer, Ready | NeedImage, maskOff),
    act(IdRedraw, "Redraw", "重新顯示", Menu129 | Menu130, Ready | NeedImage, redraw),
    act(IdOverlayBlue, "Mask Overlay Blue", "型版顯示藍色", NoIssuer, Ready | NeedImage, maskOverlay, {CheckField::OverlayMode, 3}),
    act(IdOverlayRed, "Mask Overlay Red", "型版顯示紅色", NoIssuer, Ready | NeedImage, maskOverlay, {CheckField::OverlayMode, 1}),
    act(IdOverlayGreen, "Mask Overlay Green", "型版顯示綠色", NoIssuer, Ready | NeedImage, maskOverlay, {CheckField::OverlayMode, 2}),
    act(IdOverlayClear, "Mask Overlay Transparent", "型版顯示透明", NoIssuer, Ready | NeedImage, maskOverlay, {CheckField::OverlayMode, 0}),
    act(IdInvertMask, "Invert Mask", "型版反轉", NoIssuer, Ready | NeedImage, invertMask),
    act(IdAll, "All", "顯示全圖", Menu129 | Menu130, Ready | NeedImage, showAll),
    tool(IdLine, "Line", "直線", PaintPalette, ModeLine, kCursorLine, Ready | NeedImage, toolOnly, OnImage | CheckMode),
    tool(IdCurve, "Curve", "曲線", PaintPalette, ModeCurve, kCursorCurve, Ready | NeedImage, toolOnly, OnImage | CheckMode),
    tool(IdRectangle, "Rectangle", "矩形", PaintPalette, ModeRectangle, kCursorCross, Ready | NeedImage, toolOnly, OnImage),
    act(IdPenWidth, "Pen Width...", "筆寬設定...", NoIssuer, Ready | NeedImage, penWidthDialog),
    tool(IdFill, "Fill", "灌色", PaintPalette, ModeFill, kCursorBucket, Ready | NeedImage, toolOnly, OnImage),
    tool(IdMaskFill, "Mask Fill", "型版灌色", PaintPalette, ModeMaskFill, kCursorBucket, Ready | NeedImage, toolOnly, OnMask),
    tool(IdChangeColour, "Change color", "換色", PaintPalette, ModeChangeColour, kCursorReplace, Ready | NeedImage, toolOnly, OnImage),
    act(IdColourWayConditions, "Auto Colour Ways Conditions...", "自動配色條件...", NoIssuer, Ready | NeedImage, nullptr),
    act(IdSelectMaterial, "Select Material <CLO>...", "選取材質 <CLO>...", MaterialWindow, Ready | NeedImage, nullptr),
    tool(IdPlaceMaterial1, "Place Material 1", "材質置入 1", NoIssuer, ModePlaceMaterial1, kCursorMaterial, Ready | NeedImage, nullptr),
    tool(IdPlaceMaterial3, "Place Material 3", "材質置入 3", NoIssuer, ModePlaceMaterial3, kCursorMaterial, Ready | NeedImage, nullptr),
    tool(IdLoadOrx, "Load ORX Mapping File...", "讀取ORX對應檔...", NoIssuer, ModeTrialRun, kCursorRun, Ready | NeedImage, nullptr),
    act(IdEditOrx, "Edit ORX File...", "編輯ORX檔...", NoIssuer, Ready, editScript),
    tool(IdPlaceMaterial4, "Place Material 4", "材質置入 4", NoIssuer, ModePlaceMaterial4, kCursorMaterial, Ready | NeedImage, nullptr),
    act(IdLoadClo, "Load CLO...", "讀取CLO材質檔...", NoIssuer, Ready, loadClo),
    act(IdUndoPlacement, "Undo Material Placement", "復原材質置入", MaterialWindow, Ready | NeedImage, nullptr),
    act(IdExit, "Exit", "結束", Menu129 | Menu130, Always, exitProgram),
    tool(IdPen, "Pen", "畫筆", PaintPalette, ModePen, kCursorPen, Ready | NeedImage, toolOnly, OnImage | CheckMode),
    tool(IdMaskPen, "Mask Pen", "型版畫筆", PaintPalette, ModeMaskPen, kCursorPen, Ready | NeedImage, toolOnly, OnMask | CheckMode),
    tool(IdMaskLine, "Mask Line", "型版直線", PaintPalette, ModeMaskLine, kCursorLine, Ready | NeedImage, toolOnly, OnMask | CheckMode),
    tool(IdMaskCurve, "Mask Curve", "型版曲線", PaintPalette, ModeMaskCurve, kCursorCurve, Ready | NeedImage, toolOnly, OnMask | CheckMode),
    tool(IdMaskRectangle, "Mask Rectangle", "型版矩形", PaintPalette, ModeMaskRectangle, kCursorCross, Ready | NeedImage, toolOnly, OnMask),
    actDropTool(IdWhiteFill, "White Image", "影像塗白", NoIssuer, Ready | NeedImage, whiteImage),
    act(IdColourBoxAndPaint, "Colour Box and Paint Palette", "色盤與繪圖工具", NoIssuer, Ready | NeedImage, openPaintWindows),
    act(IdColourBox, "Colour Box", "色盤", NoIssuer, Ready | NeedImage, openPaintWindows),
    tool(IdMoveMaterial, "Move Material", "移動材質", MaterialWindow, ModeMoveMaterial, kCursorMove, Ready | NeedImage | NeedMaterial, toolOnly),
    tool(IdScaleMaterial, "Scale Material", "縮放材質", MaterialWindow, ModeScaleMaterial, kCursorScale, Ready | NeedImage | NeedMaterial, toolOnly),
    tool(IdRotateMaterial, "Rotate Material", "旋轉材質", NoIssuer, ModeRotateMaterial, kCursorRotate, Ready | NeedImage | NeedMaterial, toolOnly),
    act(IdSaveClo, "Save CLO...", "儲存CLO材質檔...", NoIssuer, Ready | NeedImage, saveClo),
    act(IdSavePrt, "Save PRT...", "儲存PRT部件檔...", NoIssuer, Ready | NeedImage, savePrt),
    act(IdSelectPrt, "Select PRT File...", "選取PRT部件檔...", NoIssuer, Ready | NeedImage, nullptr),
    tool(IdScalePiece, "Scale Piece", "縮放部件", NoIssuer, ModeScalePiece, kCursorScale, Ready | NeedImage | NeedPiece, toolOnly),
    tool(IdRotatePiece, "Rotate Piece", "旋轉部件", NoIssuer, ModeRotatePiece, kCursorRotate, Ready | NeedImage | NeedPiece, toolOnly),
    tool(IdMovePiece, "Move Piece", "移動部件", FileBrowser, ModeMovePiece, kCursorMove, Ready | NeedImage | NeedPiece, toolOnly),
    act(IdOpenImageFile3, "Open Image File (TIF)...", "開啟影像檔 (TIF)...", NoIssuer, Ready, openImageFile),
    act(IdContrast, "Contrast...", "明暗度...", NoIssuer, Ready | NeedImage, contrastOnce),
    tool(IdPlaceMaterial2, "Place Material 2", "材質置入 2", NoIssuer, ModePlaceMaterial2, kCursorMaterial, Ready | NeedImage, nullptr),
    tool(IdAirBrush, "Air brush", "噴槍", AirBrushPalette, ModeAirBrush, kCursorSpray, Ready | NeedImage, toolOnly, OnImage),
    tool(IdAirBrushCopy, "Air brush copy", "噴槍複製", AirBrushPalette, ModeAirBrushCopy, kCursorRings, Ready | NeedImage, toolOnly, OnImage),
    act(IdColourBoxAndAirBrush, "Colour Box and Air Brush", "色盤與噴槍", NoIssuer, Ready | NeedImage, openPaintWindows),
    tool(IdFilledRectangle, "Filled Rectangle", "實心矩形", PaintPalette, ModeFilledRectangle, kCursorCross, Ready | NeedImage, toolOnly, OnImage),
    act(IdScan, "Scan...", "掃描...", NoIssuer, Always, scan),
    actDropTool(IdLoadModel, "Load Model MDL File", "讀取款式檔<MDL檔>", Menu129 | Menu130, Ready, loadModel),
    act(IdChangeMaterial, "Change Material and Re-Simulation<with Contrast> ", "更換材質自動模擬<明暗效果>", Menu129 | Menu130, Ready | NeedModel | NeedMapped, changeMaterial),
    act(IdChangeContrast, "Change Contrtast and Re-Simulation", "更改明暗度自動模擬", Menu129 | Menu130, Ready | NeedModel | NeedMapped, changeContrast),
    act(IdNewMesh, "New Mesh", "新網格", MeshToolPalette, Ready | NeedImage, nullptr),
    tool(IdObjectMeshMoveAll, "Object Mesh Move All", "物件網格全部移動", MeshToolPalette, ModeObjectMeshMoveAll, kCursorMove, Ready | NeedImage | NeedMesh, toolOnly),
    tool(IdObjectMeshScale, "Object Mesh Scale", "物件網格縮放", MeshToolPalette, ModeObjectMeshScale, kCursorScale, Ready | NeedImage | NeedMesh, toolOnly),
    tool(IdObjectMeshRotate, "Object Mesh Rotate", "物件網格旋轉", MeshToolPalette, ModeObjectMeshRotate, kCursorRotate, Ready | NeedImage | NeedMesh, toolOnly),
    tool(IdObjectMeshMovePoint, "Object Mesh Move Point", "物件網格移動點", MeshToolPalette, ModeObjectMeshMovePoint, kCursorNode, Ready | NeedImage | NeedMesh, toolOnly),
    tool(IdObjectMeshMoveRow, "Object Mesh Move Row", "物件網格移動列", MeshToolPalette, ModeObjectMeshMoveRow, kCursorNode, Ready | NeedImage | NeedMesh, toolOnly),
    tool(IdObjectMeshMoveColumn, "Object Mesh Move Column", "物件網格移動行", MeshToolPalette, ModeObjectMeshMoveColumn, kCursorNode, Ready | NeedImage | NeedMesh, toolOnly),
    tool(IdTryMapping, "Try Mapping", "試作對應", MeshToolPalette, ModeTrialRun, kCursorRun, Ready | NeedImage | NeedMesh, nullptr),
    actDropTool(IdClearMask, "Clear Mask", "清除型版", NoIssuer, Ready | NeedImage, clearMask),
    tool(IdMaterialMeshMoveAll, "Material Mesh Move All", "材質網格全部移動", MeshToolPalette, ModeMaterialMeshMoveAll, kCursorMove, Ready | NeedImage | NeedMesh, toolOnly),
    act(IdLoadPrt, "Load PRT...", "讀取PRT部件檔...", NoIssuer, Ready, loadPrt),
    tool(IdSavePartialRgb, "Save partial RGB", "儲存部份RGB", Menu130, ModeAreaSave, kCursorCross, Ready | NeedImage, areaSave),
    tool(IdSaveAreaClo, "Save Area as CLO...", "區域存成CLO...", NoIssuer, ModeAreaSave, kCursorCross, Ready | NeedImage, areaSave),
    tool(IdSaveAreaPrt, "Save Area as PRT...", "區域存成PRT...", NoIssuer, ModeAreaSave, kCursorCross, Ready | NeedImage, areaSave),
    tool(IdSaveAreaBmp, "Save Area as BMP...", "區域存成BMP...", NoIssuer, ModeAreaSave, kCursorCross, Ready | NeedImage, areaSave),
    tool(IdSaveMaterialArea, "Save Material Area of MDL...", "設定MDL材質區域...", NoIssuer, ModeAreaSave, kCursorCross, Ready | NeedImage, areaSave),
    act(IdChangeMsk, "Change MSK File...", "更換MSK型版檔...", NoIssuer, Ready | NeedImage, nullptr),
    actDropTool(IdDoubleMesh, "Double Mesh Density", "網格加倍", MeshToolPalette, Ready | NeedImage | NeedMesh, nullptr),
    tool(IdMaskFilledRectangle, "Mask Filled Rectangle", "型版實心矩形", PaintPalette, ModeMaskFilledRectangle, kCursorCross, Ready | NeedImage, toolOnly, OnMask),
    tool(IdPickObjectMeshAgain, "Pick Object Mesh Again", "重選物件網格", MeshToolPalette, ModePickObjectMesh, kCursorCross, Ready | NeedImage | NeedMesh, nullptr),
    act(IdEditMmp, "Edit MMP File...", "編輯MMP檔...", NoIssuer, Always, editScript),
    act(IdRunMmp, "Load and Run MMP", "讀取並執行MMP", Menu130, Ready, playShow),
    tool(IdSharpen, "Sharpen", "銳利化", NoIssuer, FilterSharpen, kCursorCross, Ready | NeedImage, areaTool),
    tool(IdBlur, "Blur", "模糊化", NoIssuer, FilterBlur, kCursorCross, Ready | NeedImage, areaTool),
    tool(IdSaturation, "Saturation Boost", "增加彩度", NoIssuer, FilterSaturation, kCursorCross, Ready | NeedImage, areaTool),
    tool(IdGrey, "Grey", "灰階", NoIssuer, FilterGrey, kCursorCross, Ready | NeedImage, areaTool),
    tool(IdBlackWhite, "Black and White", "黑白", NoIssuer, FilterBlackWhite, kCursorCross, Ready | NeedImage, areaTool),
    tool(IdDivideAtRow, "Divide at Horizontal Line", "水平分割", NoIssuer, DivideAtRow, kCursorArrow, Ready | NeedImage, areaTool),
    tool(IdDivideAtColumn, "Divide at Vertical Line", "垂直分割", NoIssuer, DivideAtColumn, kCursorArrow, Ready | NeedImage, areaTool),
    tool(IdWhiteBalance, "White Balance", "白平衡", NoIssuer, FilterWhiteBalance, kCursorCross, Ready | NeedImage, areaTool),
    tool(IdContrastBoost, "Contrast Boost", "增加對比", NoIssuer, FilterContrast, kCursorCross, Ready | NeedImage, areaTool),
    act(IdMeshTool, "Mesh Tool", "網格工具", NoIssuer, Ready | NeedImage, nullptr),
    act(IdApplyPiece, "Apply Piece", "套用部件", NoIssuer, Ready | NeedImage | NeedPiece, nullptr),
    actDropTool(IdApplyMaterial, "Apply Material", "套用材質", NoIssuer, Ready | NeedImage | NeedMaterial, nullptr),
    act(IdNaturalColourChange, "Natural Colour Change...", "自然換色...", NoIssuer, Ready | NeedImage, nullptr),
    tool(IdColourChangeArea1, "Colour Change Area 1", "換色區域 1", ColourChangeWindow, ModeColourChangeArea1, kCursorCross, Ready | NeedImage, toolOnly),
    tool(IdColourChangeArea2, "Colour Change Area 2", "換色區域 2", ColourChangeWindow, ModeColourChangeArea2, kCursorCross, Ready | NeedImage, toolOnly),
    tool(IdColourChangePreview1, "Colour Change Preview 1", "換色預覽 1", ColourChangeWindow, ModeColourChangePreview1, kCursorArrow, Ready | NeedImage, toolOnly),
    tool(IdColourChangePreview2, "Colour Change Preview 2", "換色預覽 2", ColourChangeWindow, ModeColourChangePreview2, kCursorArrow, Ready | NeedImage, toolOnly),
    tool(IdColourChangePick, "Colour Change Pick", "換色取色", ColourChangeWindow, ModeColourChangePick, kCursorDropper, Ready | NeedImage, nullptr),
    act(IdAutoMask, "Automatic Mask...", "自動型版...", NoIssuer, Ready | NeedImage, nullptr),
    tool(IdAutoMaskPick, "Automatic Mask Pick", "自動型版取色", AutoMaskWindow, ModeAutoMaskPick, kCursorDropper, Ready | NeedImage, toolOnly),
    tool(IdAutoMaskPreview, "Automatic Mask Preview", "自動型版預覽", AutoMaskWindow, ModeAutoMaskPreview, kCursorArrow, Ready | NeedImage, toolOnly),
    tool(IdAutoMaskArea, "Automatic Mask Area", "自動型版區域", AutoMaskWindow, ModeAutoMaskArea, kCursorCross, Ready | NeedImage, toolOnly),
    tool(IdAddRgb, "Add RGB File...", "加入RGB檔...", NoIssuer, ModeAddRgb, kCursorArrow, Ready | NeedImage, addRgbFile),
    tool(IdObjectMeshPerspective, "Object Mesh Perspective", "物件網格透視", MeshToolPalette, ModeObjectMeshPerspective, kCursorNode, Ready | NeedImage | NeedMesh, toolOnly),
    act(IdSimulateNit, "Simulate NIT File...", "NIT檔模擬...", NoIssuer, Ready | NeedImage, nullptr),
    tool(IdDashedCurve, "Dashed line", "虛線", PaintPalette, ModeDashedCurve, kCursorCurve, Ready | NeedImage, toolOnly, OnImage),
    tool(IdShadedCurve, "Shaded line", "陰影線", PaintPalette, ModeShadedCurve, kCursorCurve, Ready | NeedImage, toolOnly, OnImage),
    tool(IdMaskArea1, "Mask Area 1", "型版區域 1", NoIssuer, ModeMaskArea1, kCursorCross, Ready | NeedImage, toolOnly, OnMask),
    tool(IdMaskArea3, "Mask Area 3", "型版區域 3", NoIssuer, ModeMaskArea3, kCursorCross, Ready | NeedImage, toolOnly, OnMask),
    tool(IdMaskArea4, "Mask Area 4", "型版區域 4", NoIssuer, ModeMaskArea4, kCursorCross, Ready | NeedImage, toolOnly, OnMask),
    tool(IdMaskArea5, "Mask Area 5", "型版區域 5", NoIssuer, ModeMaskArea5, kCursorCross, Ready | NeedImage, toolOnly, OnMask),
    tool(IdMaskArea2, "Mask Area 2", "型版區域 2", NoIssuer, ModeMaskArea2, kCursorCross, Ready | NeedImage, toolOnly, OnMask),
    tool(IdObjectMeshRubberRow, "Object Mesh Rubber Row", "物件網格彈性移動列", MeshToolPalette, ModeObjectMeshRubberRow, kCursorNode, Ready | NeedImage | NeedMesh, toolOnly),
    tool(IdObjectMeshRubberColumn, "Object Mesh Rubber Column", "物件網格彈性移動行", MeshToolPalette, ModeObjectMeshRubberColumn, kCursorNode, Ready | NeedImage | NeedMesh, toolOnly),
    act(IdSaveNit, "Save NIT...", "儲存NIT檔...", NoIssuer, Ready | NeedImage, saveNit),
    act(IdLoadNit, "Load NIT...", "讀取NIT檔...", NoIssuer, Ready, loadNit),
    tool(IdHoledCurve, "Dashed line w/hole", "打孔虛線", PaintPalette, ModeHoledCurve, kCursorCurve, Ready | NeedImage, toolOnly, OnImage),
    tool(IdShadedFill, "Shaded Fill<Black Edge>", "陰影灌色<黑線邊>", PaintPalette, ModeShadedFill, kCursorMaterial, Ready | NeedImage, toolOnly, OnImage),
    tool(IdShadedFillMaskEdge, "Shaded Fill<Mask Edge>", "陰影灌色<型版邊>", PaintPalette, ModeShadedFillMaskEdge, kCursorBucket, Ready | NeedImage, toolOnly, OnImage),
    act(IdSelectEmb, "Select EMB File...", "選取EMB浮雕檔...", NoIssuer, Ready | NeedImage, nullptr),
    tool(IdMoveChosen, "Move Chosen Piece", "移動選取部件", FileBrowser, ModeMoveChosen, kCursorMove, Ready | NeedImage | NeedChosen, toolOnly),
    tool(IdRotateChosen, "Rotate Chosen Piece", "旋轉選取部件", NoIssuer, ModeRotateChosen, kCursorRotate, Ready | NeedImage | NeedChosen, toolOnly),
    tool(IdScaleChosen, "Scale Chosen Piece", "縮放選取部件", NoIssuer, ModeScaleChosen, kCursorScale, Ready | NeedImage | NeedChosen, toolOnly),
    act(IdLoadEmb, "Load EMB...", "讀取EMB浮雕檔...", NoIssuer, Ready, loadEmb),
    act(IdSaveEmb, "Save EMB...", "儲存EMB浮雕檔...", NoIssuer, Ready | NeedImage, saveEmb),
    tool(IdSaveAreaEmb, "Save Area as EMB...", "區域存成EMB...", NoIssuer, ModeAreaSave, kCursorCross, Ready | NeedImage, areaSave),
    tool(IdNegative, "Negative", "負片", NoIssuer, FilterNegative, kCursorCross, Ready | NeedImage, areaTool),
    actDropTool(IdBlackToMask, "Black to Mask", "黑色轉型版", NoIssuer, Ready | NeedImage, blackToMask),
    act(IdSharp, "Sharp Mapping and Re-Simulation", "銳利模擬", Menu129 | Menu130, Ready | NeedModel | NeedMapped, mappingSharpness, {CheckField::SoftMapping, 0}),
    act(IdSoft, "Soft Mapping and Re-Simulation", "柔化模擬", Menu129 | Menu130, Ready | NeedModel | NeedMapped, mappingSharpness, {CheckField::SoftMapping, 1}),
    act(IdMaterialLayout1, "Material Layout 1", "材質排列 1", NoIssuer, Ready | NeedImage, nullptr, {CheckField::MaterialVariant, 0}),
    act(IdMaterialLayout2, "Material Layout 2", "材質排列 2", NoIssuer, Ready | NeedImage, nullptr, {CheckField::MaterialVariant, 1}),
    act(IdMaterialLayout3, "Material Layout 3", "材質排列 3", NoIssuer, Ready | NeedImage, nullptr, {CheckField::MaterialVariant, 2}),
    act(IdRotateClockwise, "Rotate 90 Clockwise", "順時針旋轉90度", NoIssuer, Ready | NeedImage, rotate),
    act(IdRotateCounter, "Rotate 90 Counter-Clockwise", "逆時針旋轉90度", NoIssuer, Ready | NeedImage, rotate),
    act(IdNormalRepeat, "Normal Repeat and Re-Simulation", "材質四方連續", Menu129 | Menu130, Ready | NeedModel | NeedMapped, repeatLayout, {CheckField::RepeatLayout, 0}),
    act(IdHorizontalRepeat, "Horizontal Shifted Repeat and Re-Simulation", "材質水平斜方連續", Menu129 | Menu130, Ready | NeedModel | NeedMapped, repeatLayout, {CheckField::RepeatLayout, 1}),
    act(IdVerticalRepeat, "Vertical Shifted Repeat and Re-Simulation", "材質垂直斜方連續", Menu129 | Menu130, Ready | NeedModel | NeedMapped, repeatLayout, {CheckField::RepeatLayout, 2}),
    act(IdFont, "Font...", "字型...", NoIssuer, Ready | NeedImage, chooseFont),
    actDropTool(IdText, "Text", "文字", PaintPalette, Ready | NeedImage, textTool),
    tool(IdMaskPointFill, "Mask Point Fill", "型版點選灌色", NoIssuer, ModeMaskPointFill, kCursorMaskPen, Ready | NeedImage, toolOnly, OnMask),
    act(IdHelp, "Help", "操作說明", NoIssuer, Always, help),
    tool(IdReflectionFill, "Reflected Fill<Mask Edge>", "反光灌色<型版邊>", PaintPalette, ModeReflectionFill, kCursorBucket, Ready | NeedImage, toolOnly, OnImage),
    act(IdChangeMaterialReflection, "Change Material and Re-Simulation<with Reflection>", "更換材質自動模擬<反光效果>", Menu129 | Menu130, Ready | NeedModel | NeedMapped, changeMaterial),
    act(IdOpenImageFile4, "Open Image File (JPG)...", "開啟影像檔 (JPG)...", NoIssuer, Always, openImageFile),
    act(IdSaveJpg, "Save JPG...", "儲存JPG檔...", NoIssuer, Ready | NeedImage, saveJpg),
    actDropTool(IdMaskedToBlack, "Masked to Black", "型版區域塗黑", NoIssuer, Ready | NeedImage, maskedToBlack),
    tool(IdCircle, "Circle", "圓", PaintPalette, ModeCircle, kCursorCross, Ready | NeedImage, toolOnly, OnImage),
    tool(IdFilledCircle, "Filled Circle", "實心圓", PaintPalette, ModeFilledCircle, kCursorCross, Ready | NeedImage, toolOnly, OnImage),
    tool(IdMaskCircle, "Mask Circle", "型版圓", PaintPalette, ModeMaskCircle, kCursorCross, Ready | NeedImage, toolOnly, OnMask),
    tool(IdMaskFilledCircle, "Mask Filled Circle", "型版實心圓", PaintPalette, ModeMaskFilledCircle, kCursorCross, Ready | NeedImage, toolOnly, OnMask),
    tool(IdEllipse, "Ellipse", "橢圓", PaintPalette, ModeEllipse, kCursorCross, Ready | NeedImage, toolOnly, OnImage),
    tool(IdFilledEllipse, "Filled Ellipse", "實心橢圓", PaintPalette, ModeFilledEllipse, kCursorCross, Ready | NeedImage, toolOnly, OnImage),
    tool(IdMaskEllipse, "Mask Ellipse", "型版橢圓", PaintPalette, ModeMaskEllipse, kCursorCross, Ready | NeedImage, toolOnly, OnMask),
    tool(IdMaskFilledEllipse, "Mask Filled Ellipse", "型版實心橢圓", PaintPalette, ModeMaskFilledEllipse, kCursorCross, Ready | NeedImage, toolOnly, OnMask),
    tool(IdGradientRectangle, "Filled Rectangle Gradition", "漸層實心矩形", PaintPalette, ModeGradientRectangle, kCursorCross, Ready | NeedImage, toolOnly, OnImage),
    tool(IdGradientCircle, "Filled Circle Gradition", "漸層實心圓", PaintPalette, ModeGradientCircle, kCursorCross, Ready | NeedImage, toolOnly, OnImage),
    tool(IdGradientEllipse, "Filled Ellipse Gradition", "漸層實心橢圓", PaintPalette, ModeGradientEllipse, kCursorCross, Ready | NeedImage, toolOnly, OnImage),
    tool(IdPickMaterialMeshAgain, "Pick Material Mesh Again", "重選材質網格", MeshToolPalette, ModePickMaterialMeshAgain, kCursorCross, Ready | NeedImage | NeedMesh, nullptr),
    tool(IdMaterialMeshScale, "Material Mesh Scale", "材質網格縮放", MeshToolPalette, ModeMaterialMeshScale, kCursorScale, Ready | NeedImage | NeedMesh, toolOnly),
    tool(IdObjectMeshScaleRows, "Object Mesh Scale Rows", "物件網格列縮放", MeshToolPalette, ModeObjectMeshScaleRows, kCursorNode, Ready | NeedImage | NeedMesh, toolOnly),
    tool(IdObjectMeshScaleColumns, "Object Mesh Scale Columns", "物件網格行縮放", MeshToolPalette, ModeObjectMeshScaleColumns, kCursorNode, Ready | NeedImage | NeedMesh, toolOnly),
    tool(IdObjectMeshRubberScaleRows, "Object Mesh Rubber Scale Rows", "物件網格彈性列縮放", MeshToolPalette, ModeObjectMeshRubberScaleRows, kCursorNode, Ready | NeedImage | NeedMesh, toolOnly),
    tool(IdObjectMeshRubberScaleColumns, "Object Mesh Rubber Scale Columns", "物件網格彈性行縮放", MeshToolPalette, ModeObjectMeshRubberScaleColumns, kCursorNode, Ready | NeedImage | NeedMesh, toolOnly),
    act(IdMemory, "Memory Information", "記憶體資訊", NoIssuer, Always, memoryInformation),
    act(IdMirrorLeftRight, "Mirror Left to Right", "左右鏡射", NoIssuer, Ready | NeedImage, mirror),
    act(IdMirrorTopBottom, "Mirror Top to Bottom", "上下鏡射", NoIssuer, Ready | NeedImage, mirror),
    act(IdHalve, "Halve Image", "影像縮小一半", NoIssuer, Ready | NeedImage, halve),
    tool(IdAddRgbWithMask, "Add RGB File with Mask...", "加入RGB檔含型版...", NoIssuer, ModeAddRgbWithMask, kCursorArrow, Ready | NeedImage, addRgbFile),
    act(IdColourWays, "Automatic Colour Ways...", "自動配色...", NoIssuer, Ready | NeedImage, nullptr),
    tool(IdMirroredBlock, "Mirrored Block Copy", "左右鏡射複製", NoIssuer, BlockMirror, kCursorCross, Ready | NeedImage, areaTool),
    tool(IdFlippedBlock, "Flipped Block Copy", "上下翻轉複製", NoIssuer, BlockFlip, kCursorCross, Ready | NeedImage, areaTool),
    act(IdRgbUndo, "RGB Undo", "RGB復原", PaintPalette, Ready | NeedImage | NeedRgbUndo, undoRedo),
    act(IdMskUndo, "MSK Undo", "MSK復原", PaintPalette, Ready | NeedImage | NeedMskUndo, undoRedo),
    act(IdOpenImageFile5, "Open Image File (PCX)...", "開啟影像檔 (PCX)...", NoIssuer, Always, openImageFile),
    tool(IdPlaceChosen, "Place Chosen Piece", "置入選取部件", FileBrowser, ModePlaceChosen, kCursorMove, Ready | NeedImage | NeedChosen, toolOnly),
    tool(IdSavePrtFromMaskEdge, "Save PRT from Mask Edge", "依型版邊緣存PRT", NoIssuer, ModeMaskEdgeSave, kCursorArrow, Ready | NeedImage, areaSave),
    act(IdRgbRedo, "RGB Redo", "RGB重做", PaintPalette, Ready | NeedImage | NeedRgbRedo, undoRedo),
    act(IdMskRedo, "MSK Redo", "MSK重做", PaintPalette, Ready | NeedImage | NeedMskRedo, undoRedo),
    act(IdSavePng, "Save PNG...", "儲存PNG檔...", NoIssuer, Ready | NeedImage, savePng),
    act(IdSaveTiff, "Save TIFF...", "儲存TIFF檔...", NoIssuer, Ready | NeedImage, saveTiff),
    actDropTool(IdPrint, "Print \tCtrl+P", "印圖\tCtrl+P", Menu128 | Menu129 | Menu130, Ready | NeedImage, printImage),
    act(IdPrintDirect, "Print Directly", "直接印圖", NoIssuer, Ready | NeedImage, printDirectly),
    act(IdPrintPreview, "Print Pre&view", "預覽列印", Menu128, Ready | NeedImage, printPreview),
    act(IdAbout, "&About orxweb...", "關於orxweb...", Menu128, Always, about),
    act(IdAppExit, "Exit", "結束", Menu128 | Menu129 | Menu130, Always, applicationExit),
};

}  // namespace

std::span<const Command> commandTable() { return kCommands; }

const Command* findCommand(int32_t id)
{
    const auto* end = std::end(kCommands);
    const auto* it = std::lower_bound(std::begin(kCommands), end, id,
                                      [](const Command& c, int32_t v) { return c.id < v; });
    return it != end && it->id == id ? it : nullptr;
}

const char* commandLabel(const Command& c, int32_t language)
{
    return langText(language, c.english, c.chinese);
}

void toolOnly(CommandContext&) {}

bool isBuilt(const Command& c)
{
    return c.handler && (c.toolMode == kModeUnchanged || findToolMode(c.toolMode));
}

bool isEnabled(const Command& c, const Workspace& ws) { return isBuilt(c) && ruleHolds(c, ws); }

bool ruleHolds(const Command& c, const Workspace& ws)
{
    if (c.enable == Always) return true;
    if (ws.environmentReady != 1) return false;
    struct Word {
        uint32_t bit;
        bool holds;
    };
    const Word words[] = {
        {NeedImage, ws.imageLoaded == 1},
        {NeedMesh, ws.meshPresent == 1},
        {NeedMaterial, ws.materialChosen == 1},
        {NeedPiece, ws.pieceFloating == 1},
        {NeedChosen, ws.pieceChosen == 1},
        {NeedModel, ws.modelLoaded == 1},
        {NeedMapped, ws.modelMapped == 1},
        {NeedRgbUndo, ws.rgbUndoCount >= 1},
        {NeedMskUndo, ws.mskUndoCount >= 1},
        {NeedRgbRedo, ws.rgbRedoCount > 0},
        {NeedMskRedo, ws.mskRedoCount > 0},
    };
    return std::all_of(std::begin(words), std::end(words),
                       [&](const Word& w) { return !(c.enable & w.bit) || w.holds; });
}

bool isCheckable(const Command& c) { return c.check.field != CheckField::None; }

bool isChecked(const Command& c, const Workspace& ws)
{
    switch (c.check.field) {
    case CheckField::None: return false;
    case CheckField::ToolMode: return ws.toolMode == c.check.value;
    case CheckField::OverlayMode: return ws.maskOverlayMode == c.check.value;
    case CheckField::SoftMapping: return ws.softMapping == c.check.value;
    case CheckField::RepeatLayout: return ws.repeatLayout == c.check.value;
    case CheckField::MaterialVariant: return ws.materialVariant == c.check.value;
    }
    return false;
}

}  // namespace orx::app
