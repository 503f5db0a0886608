// The command table.
#include "commandTable.h"

#include <algorithm>

#include "commands.h"

namespace orx::app {

namespace {

// id, English label, Chinese label, issuers, tool mode, cursor, paint
// target, enable rule, check rule, handler. Ids ascend: findCommand
// searches by halves.
const Command kCommands[] = {
    {32771, "Load RGB", "讀取RGB檔", Menu130, 0, kCursorArrow, 0, Ready, {}, loadRgb},
    {32772, "Open Image File (BMP)...", "開啟影像檔 (BMP)...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready, {}, openImageFile},
    {32773, "Load MSK...", "讀取MSK型版檔...", NoIssuer, 0, kCursorArrow, 0, Ready, {}, loadMsk},
    {32774, "Load Mesh (MAP)...", "讀取網格檔 (MAP)...", MeshToolPalette, 0, kCursorArrow, 0, Ready | NeedImage, {}, nullptr},
    {32775, "Save RGB", "儲存RGB檔", Menu130, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, saveRgb},
    {32776, "Save MSK...", "儲存MSK型版檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, saveMsk},
    {32777, "Save Mesh (MAP)...", "儲存網格檔 (MAP)...", MeshToolPalette, 0, kCursorArrow, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32778, "Save BMP...", "儲存BMP檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, saveBmp},
    {32779, "New Image...", "新影像...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Always, {}, newImage},
    {32780, "About ORXWEB", "關於ORXWEB", Menu128 | Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Always, {}, aboutWeb},
    {32781, "Screen Message Language", "螢幕訊息使用語言", Menu128 | Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Always, {}, chooseLanguage},
    {32782, "Mask On", "顯示型版", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, maskOn},
    {32783, "Mask Off", "隱藏型版", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, maskOff},
    {32784, "Redraw", "重新顯示", Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, redraw},
    {32786, "Mask Overlay Blue", "型版顯示藍色", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {CheckField::OverlayMode, 3}, maskOverlay},
    {32787, "Mask Overlay Red", "型版顯示紅色", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {CheckField::OverlayMode, 1}, maskOverlay},
    {32788, "Mask Overlay Green", "型版顯示綠色", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {CheckField::OverlayMode, 2}, maskOverlay},
    {32789, "Mask Overlay Transparent", "型版顯示透明", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {CheckField::OverlayMode, 0}, maskOverlay},
    {32790, "Invert Mask", "型版反轉", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, invertMask},
    {32791, "All", "顯示全圖", Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, showAll},
    {32792, "Line", "直線", PaintPalette, 101, 235, 1, Ready | NeedImage, {CheckField::ToolMode, 101}, nullptr},
    {32793, "Curve", "曲線", PaintPalette, 107, 234, 1, Ready | NeedImage, {CheckField::ToolMode, 107}, nullptr},
    {32794, "Rectangle", "矩形", PaintPalette, 104, 147, 1, Ready | NeedImage, {}, nullptr},
    {32799, "Pen Width...", "筆寬設定...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32801, "Fill", "灌色", PaintPalette, 201, 134, 1, Ready | NeedImage, {}, nullptr},
    {32802, "Mask Fill", "型版灌色", PaintPalette, 301, 134, 2, Ready | NeedImage, {}, nullptr},
    {32803, "Change Colour", "換色", PaintPalette, 202, 135, 1, Ready | NeedImage, {}, nullptr},
    {32804, "Auto Colour Ways Conditions...", "自動配色條件...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32806, "Select Material <CLO>...", "選取材質 <CLO>...", MaterialWindow, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32807, "Place Material 1", "材質置入 1", NoIssuer, 401, 232, 0, Ready | NeedImage, {}, nullptr},
    {32808, "Place Material 3", "材質置入 3", NoIssuer, 403, 232, 0, Ready | NeedImage, {}, nullptr},
    {32810, "Load ORX Mapping File...", "讀取ORX對應檔...", NoIssuer, 1, 230, 0, Ready | NeedImage, {}, nullptr},
    {32812, "Edit ORX File...", "編輯ORX檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready, {}, nullptr},
    {32814, "Place Material 4", "材質置入 4", NoIssuer, 404, 232, 0, Ready | NeedImage, {}, nullptr},
    {32815, "Load CLO...", "讀取CLO材質檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready, {}, loadClo},
    {32817, "Undo Material Placement", "復原材質置入", MaterialWindow, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32818, "Exit", "結束", Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Always, {}, exitProgram},
    {32819, "Pen", "畫筆", PaintPalette, 100, 233, 1, Ready | NeedImage, {CheckField::ToolMode, 100}, nullptr},
    {32820, "Mask Pen", "型版畫筆", PaintPalette, 500, 233, 2, Ready | NeedImage, {CheckField::ToolMode, 500}, nullptr},
    {32821, "Mask Line", "型版直線", PaintPalette, 501, 235, 2, Ready | NeedImage, {CheckField::ToolMode, 501}, nullptr},
    {32822, "Mask Curve", "型版曲線", PaintPalette, 507, 234, 2, Ready | NeedImage, {CheckField::ToolMode, 507}, nullptr},
    {32823, "Mask Rectangle", "型版矩形", PaintPalette, 504, 147, 2, Ready | NeedImage, {}, nullptr},
    {32829, "White Image", "影像塗白", NoIssuer, 0, kCursorArrow, 0, Ready | NeedImage, {}, whiteImage},
    {32830, "Colour Box and Paint Palette", "色盤與繪圖工具", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32832, "Colour Box", "色盤", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32833, "Move Material", "移動材質", MaterialWindow, 601, 174, 0, Ready | NeedImage | NeedMaterial, {}, nullptr},
    {32834, "Scale Material", "縮放材質", MaterialWindow, 602, 236, 0, Ready | NeedImage | NeedMaterial, {}, nullptr},
    {32835, "Rotate Material", "旋轉材質", NoIssuer, 610, 238, 0, Ready | NeedImage | NeedMaterial, {}, nullptr},
    {32836, "Save CLO...", "儲存CLO材質檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, saveClo},
    {32837, "Save PRT...", "儲存PRT部件檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, savePrt},
    {32838, "Select PRT File...", "選取PRT部件檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32839, "Scale Piece", "縮放部件", NoIssuer, 702, 236, 0, Ready | NeedImage | NeedPiece, {}, nullptr},
    {32840, "Rotate Piece", "旋轉部件", NoIssuer, 710, 238, 0, Ready | NeedImage | NeedPiece, {}, nullptr},
    {32841, "Move Piece", "移動部件", FileBrowser, 700, 174, 0, Ready | NeedImage | NeedPiece, {}, nullptr},
    {32843, "Open Image File 3...", "開啟影像檔 3...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready, {}, nullptr},
    {32844, "Contrast...", "明暗度...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, contrastOnce},
    {32845, "Place Material 2", "材質置入 2", NoIssuer, 402, 232, 0, Ready | NeedImage, {}, nullptr},
    {32846, "Air Brush", "噴槍", AirBrushPalette, 121, 240, 0, Ready | NeedImage, {}, nullptr},
    {32847, "Air Brush Rings", "雙環噴槍", AirBrushPalette, 122, 241, 0, Ready | NeedImage, {}, nullptr},
    {32848, "Colour Box and Air Brush", "色盤與噴槍", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32849, "Filled Rectangle", "實心矩形", PaintPalette, 804, 147, 1, Ready | NeedImage, {}, nullptr},
    {32850, "Scan...", "掃描...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Always, {}, nullptr},
    {32851, "Load Model MDL File", "讀取款式檔<MDL檔>", Menu129 | Menu130, 0, kCursorArrow, 0, Ready, {}, loadModel},
    {32852, "Change Material and Re-Simulation<with Contrast> ", "更換材質自動模擬<明暗效果>", Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedModel | NeedMapped, {}, changeMaterial},
    {32853, "Change Contrtast and Re-Simulation", "更改明暗度自動模擬", Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedModel | NeedMapped, {}, changeContrast},
    {32854, "New Mesh", "新網格", MeshToolPalette, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32855, "Object Mesh Move All", "物件網格全部移動", MeshToolPalette, 911, 174, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32856, "Object Mesh Scale", "物件網格縮放", MeshToolPalette, 912, 236, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32857, "Object Mesh Rotate", "物件網格旋轉", MeshToolPalette, 913, 238, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32858, "Object Mesh Move Point", "物件網格移動點", MeshToolPalette, 921, 242, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32859, "Object Mesh Move Row", "物件網格移動列", MeshToolPalette, 922, 242, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32860, "Object Mesh Move Column", "物件網格移動行", MeshToolPalette, 923, 242, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32861, "Try Mapping", "試作對應", MeshToolPalette, 1, 230, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32862, "Clear Mask", "清除型版", NoIssuer, 0, kCursorArrow, 0, Ready | NeedImage, {}, clearMask},
    {32863, "Material Mesh Move All", "材質網格全部移動", MeshToolPalette, 901, 174, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32864, "Load PRT...", "讀取PRT部件檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready, {}, loadPrt},
    {32865, "Save partial RGB", "儲存部份RGB", Menu130, 2, 147, 0, Ready | NeedImage, {}, areaSave},
    {32867, "Save Area as CLO...", "區域存成CLO...", NoIssuer, 2, 147, 0, Ready | NeedImage, {}, areaSave},
    {32868, "Save Area as PRT...", "區域存成PRT...", NoIssuer, 2, 147, 0, Ready | NeedImage, {}, areaSave},
    {32869, "Save Area as BMP...", "區域存成BMP...", NoIssuer, 2, 147, 0, Ready | NeedImage, {}, areaSave},
    {32870, "Save Material Area of MDL...", "設定MDL材質區域...", NoIssuer, 2, 147, 0, Ready | NeedImage, {}, areaSave},
    {32871, "Change MSK File...", "更換MSK型版檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32872, "Double Mesh Density", "網格加倍", MeshToolPalette, 0, kCursorArrow, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32873, "Mask Filled Rectangle", "型版實心矩形", PaintPalette, 814, 147, 2, Ready | NeedImage, {}, nullptr},
    {32874, "Pick Object Mesh Again", "重選物件網格", MeshToolPalette, 953, 147, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32875, "Edit MMP File...", "編輯MMP檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Always, {}, nullptr},
    {32876, "Load and Run MMP", "讀取並執行MMP", Menu130, kModeUnchanged, kCursorUnchanged, 0, Ready, {}, nullptr},
    {32877, "Sharpen", "銳利化", NoIssuer, 971, 147, 0, Ready | NeedImage, {}, areaTool},
    {32878, "Blur", "模糊化", NoIssuer, 972, 147, 0, Ready | NeedImage, {}, areaTool},
    {32879, "Saturation Boost", "增加彩度", NoIssuer, 973, 147, 0, Ready | NeedImage, {}, areaTool},
    {32880, "Grey", "灰階", NoIssuer, 977, 147, 0, Ready | NeedImage, {}, areaTool},
    {32881, "Black and White", "黑白", NoIssuer, 976, 147, 0, Ready | NeedImage, {}, areaTool},
    {32882, "Divide at Horizontal Line", "水平分割", NoIssuer, 978, kCursorArrow, 0, Ready | NeedImage, {}, areaTool},
    {32883, "Divide at Vertical Line", "垂直分割", NoIssuer, 979, kCursorArrow, 0, Ready | NeedImage, {}, areaTool},
    {32884, "White Balance", "白平衡", NoIssuer, 975, 147, 0, Ready | NeedImage, {}, areaTool},
    {32885, "Contrast Boost", "增加對比", NoIssuer, 974, 147, 0, Ready | NeedImage, {}, areaTool},
    {32886, "Mesh Tool", "網格工具", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32887, "Apply Piece", "套用部件", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage | NeedPiece, {}, nullptr},
    {32888, "Apply Material", "套用材質", NoIssuer, 0, kCursorArrow, 0, Ready | NeedImage | NeedMaterial, {}, nullptr},
    {32889, "Natural Colour Change...", "自然換色...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32890, "Colour Change Area 1", "換色區域 1", ColourChangeWindow, 212, 147, 0, Ready | NeedImage, {}, nullptr},
    {32891, "Colour Change Area 2", "換色區域 2", ColourChangeWindow, 214, 147, 0, Ready | NeedImage, {}, nullptr},
    {32892, "Colour Change Preview 1", "換色預覽 1", ColourChangeWindow, 211, kCursorArrow, 0, Ready | NeedImage, {}, nullptr},
    {32893, "Colour Change Preview 2", "換色預覽 2", ColourChangeWindow, 213, kCursorArrow, 0, Ready | NeedImage, {}, nullptr},
    {32894, "Colour Change Pick", "換色取色", ColourChangeWindow, 203, 247, 0, Ready | NeedImage, {}, nullptr},
    {32895, "Automatic Mask...", "自動型版...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32896, "Automatic Mask Pick", "自動型版取色", AutoMaskWindow, 204, 247, 0, Ready | NeedImage, {}, nullptr},
    {32897, "Automatic Mask Preview", "自動型版預覽", AutoMaskWindow, 215, kCursorArrow, 0, Ready | NeedImage, {}, nullptr},
    {32898, "Automatic Mask Area", "自動型版區域", AutoMaskWindow, 216, 147, 0, Ready | NeedImage, {}, nullptr},
    {32899, "Add RGB File...", "加入RGB檔...", NoIssuer, 123, kCursorArrow, 0, Ready | NeedImage, {}, addRgbFile},
    {32900, "Object Mesh Perspective", "物件網格透視", MeshToolPalette, 941, 242, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32901, "Simulate NIT File...", "NIT檔模擬...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32903, "Double Curve", "雙曲線", PaintPalette, 109, 234, 1, Ready | NeedImage, {}, nullptr},
    {32904, "Shaded Curve", "陰影曲線", PaintPalette, 111, 234, 1, Ready | NeedImage, {}, nullptr},
    {32905, "Mask Area 1", "型版區域 1", NoIssuer, 520, 147, 2, Ready | NeedImage, {}, nullptr},
    {32906, "Mask Area 3", "型版區域 3", NoIssuer, 522, 147, 2, Ready | NeedImage, {}, nullptr},
    {32907, "Mask Area 4", "型版區域 4", NoIssuer, 523, 147, 2, Ready | NeedImage, {}, nullptr},
    {32908, "Mask Area 5", "型版區域 5", NoIssuer, 524, 147, 2, Ready | NeedImage, {}, nullptr},
    {32910, "Mask Area 2", "型版區域 2", NoIssuer, 521, 147, 2, Ready | NeedImage, {}, nullptr},
    {32911, "Object Mesh Rubber Row", "物件網格彈性移動列", MeshToolPalette, 924, 242, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32912, "Object Mesh Rubber Column", "物件網格彈性移動行", MeshToolPalette, 925, 242, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32913, "Save NIT...", "儲存NIT檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, saveNit},
    {32914, "Load NIT...", "讀取NIT檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready, {}, loadNit},
    {32915, "Dashed Curve", "虛線曲線", PaintPalette, 110, 234, 1, Ready | NeedImage, {}, nullptr},
    {32916, "Shaded Fill", "陰影灌色", PaintPalette, 205, 232, 0, Ready | NeedImage, {}, nullptr},
    {32917, "Material Fill", "材質灌色", PaintPalette, 206, 134, 0, Ready | NeedImage, {}, nullptr},
    {32918, "Select EMB File...", "選取EMB浮雕檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32919, "Move Chosen Piece", "移動選取部件", FileBrowser, 720, 174, 0, Ready | NeedImage | NeedChosen, {}, nullptr},
    {32920, "Rotate Chosen Piece", "旋轉選取部件", NoIssuer, 730, 238, 0, Ready | NeedImage | NeedChosen, {}, nullptr},
    {32921, "Scale Chosen Piece", "縮放選取部件", NoIssuer, 722, 236, 0, Ready | NeedImage | NeedChosen, {}, nullptr},
    {32922, "Load EMB...", "讀取EMB浮雕檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready, {}, loadEmb},
    {32923, "Save EMB...", "儲存EMB浮雕檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, saveEmb},
    {32924, "Save Area as EMB...", "區域存成EMB...", NoIssuer, 2, 147, 0, Ready | NeedImage, {}, areaSave},
    {32925, "Negative", "負片", NoIssuer, 980, 147, 0, Ready | NeedImage, {}, areaTool},
    {32926, "Black to Mask", "黑色轉型版", NoIssuer, 0, kCursorArrow, 0, Ready | NeedImage, {}, blackToMask},
    {32927, "Sharp Mapping and Re-Simulation", "銳利模擬", Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedModel | NeedMapped, {CheckField::SoftMapping, 0}, mappingSharpness},
    {32928, "Soft Mapping and Re-Simulation", "柔化模擬", Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedModel | NeedMapped, {CheckField::SoftMapping, 1}, mappingSharpness},
    {32929, "Material Layout 1", "材質排列 1", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {CheckField::MaterialVariant, 0}, nullptr},
    {32930, "Material Layout 2", "材質排列 2", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {CheckField::MaterialVariant, 1}, nullptr},
    {32931, "Material Layout 3", "材質排列 3", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {CheckField::MaterialVariant, 2}, nullptr},
    {32932, "Rotate 90 Clockwise", "順時針旋轉90度", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, rotate},
    {32933, "Rotate 90 Counter-Clockwise", "逆時針旋轉90度", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, rotate},
    {32934, "Normal Repeat and Re-Simulation", "材質四方連續", Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedModel | NeedMapped, {CheckField::RepeatLayout, 0}, repeatLayout},
    {32935, "Horizontal Shifted Repeat and Re-Simulation", "材質水平斜方連續", Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedModel | NeedMapped, {CheckField::RepeatLayout, 1}, repeatLayout},
    {32936, "Vertical Shifted Repeat and Re-Simulation", "材質垂直斜方連續", Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedModel | NeedMapped, {CheckField::RepeatLayout, 2}, repeatLayout},
    {32937, "Font...", "字型...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32938, "Text", "文字", PaintPalette, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32939, "Mask Point Fill", "型版點選灌色", NoIssuer, 302, 248, 2, Ready | NeedImage, {}, nullptr},
    {32940, "Help", "操作說明", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Always, {}, help},
    {32941, "Reflection Fill", "反光灌色", PaintPalette, 207, 134, 0, Ready | NeedImage, {}, nullptr},
    {32942, "Change Material and Re-Simulation<with Reflection>", "更換材質自動模擬<反光效果>", Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedModel | NeedMapped, {}, changeMaterial},
    {32943, "Open Image File 4...", "開啟影像檔 4...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Always, {}, nullptr},
    {32944, "Save JPG...", "儲存JPG檔...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32945, "Masked to Black", "型版區域塗黑", NoIssuer, 0, kCursorArrow, 0, Ready | NeedImage, {}, maskedToBlack},
    {32946, "Circle", "圓", PaintPalette, 102, 147, 1, Ready | NeedImage, {}, nullptr},
    {32947, "Filled Circle", "實心圓", PaintPalette, 802, 147, 1, Ready | NeedImage, {}, nullptr},
    {32948, "Mask Circle", "型版圓", PaintPalette, 502, 147, 2, Ready | NeedImage, {}, nullptr},
    {32949, "Mask Filled Circle", "型版實心圓", PaintPalette, 812, 147, 2, Ready | NeedImage, {}, nullptr},
    {32950, "Ellipse", "橢圓", PaintPalette, 103, 147, 1, Ready | NeedImage, {}, nullptr},
    {32951, "Filled Ellipse", "實心橢圓", PaintPalette, 803, 147, 1, Ready | NeedImage, {}, nullptr},
    {32952, "Mask Ellipse", "型版橢圓", PaintPalette, 503, 147, 2, Ready | NeedImage, {}, nullptr},
    {32953, "Mask Filled Ellipse", "型版實心橢圓", PaintPalette, 813, 147, 2, Ready | NeedImage, {}, nullptr},
    {32954, "Gradient Rectangle", "漸層矩形", PaintPalette, 824, 147, 0, Ready | NeedImage, {}, nullptr},
    {32955, "Gradient Circle", "漸層圓", PaintPalette, 822, 147, 0, Ready | NeedImage, {}, nullptr},
    {32956, "Gradient Ellipse", "漸層橢圓", PaintPalette, 823, 147, 0, Ready | NeedImage, {}, nullptr},
    {32957, "Pick Material Mesh Again", "重選材質網格", MeshToolPalette, 952, 147, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32958, "Material Mesh Scale", "材質網格縮放", MeshToolPalette, 902, 236, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32959, "Object Mesh Scale Rows", "物件網格列縮放", MeshToolPalette, 914, 242, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32960, "Object Mesh Scale Columns", "物件網格行縮放", MeshToolPalette, 915, 242, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32961, "Object Mesh Rubber Scale Rows", "物件網格彈性列縮放", MeshToolPalette, 916, 242, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32962, "Object Mesh Rubber Scale Columns", "物件網格彈性行縮放", MeshToolPalette, 917, 242, 0, Ready | NeedImage | NeedMesh, {}, nullptr},
    {32963, "Memory Information", "記憶體資訊", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Always, {}, memoryInformation},
    {32964, "Mirror Left to Right", "左右鏡射", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, mirror},
    {32965, "Mirror Top to Bottom", "上下鏡射", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, mirror},
    {32966, "Halve Image", "影像縮小一半", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, halve},
    {32967, "Add RGB File with Mask...", "加入RGB檔含型版...", NoIssuer, 124, kCursorArrow, 0, Ready | NeedImage, {}, addRgbFile},
    {32968, "Automatic Colour Ways...", "自動配色...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage, {}, nullptr},
    {32969, "Mirrored Block Copy", "左右鏡射複製", NoIssuer, 983, 147, 0, Ready | NeedImage, {}, areaTool},
    {32970, "Flipped Block Copy", "上下翻轉複製", NoIssuer, 984, 147, 0, Ready | NeedImage, {}, areaTool},
    {32971, "RGB Undo", "RGB復原", PaintPalette, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage | NeedRgbUndo, {}, undoRedo},
    {32972, "MSK Undo", "MSK復原", PaintPalette, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage | NeedMskUndo, {}, undoRedo},
    {32973, "Open Image File 5...", "開啟影像檔 5...", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Always, {}, nullptr},
    {32974, "Place Chosen Piece", "置入選取部件", FileBrowser, 731, 174, 0, Ready | NeedImage | NeedChosen, {}, nullptr},
    {32975, "Save PRT from Mask Edge", "依型版邊緣存PRT", NoIssuer, 711, kCursorArrow, 0, Ready | NeedImage, {}, areaSave},
    {32976, "RGB Redo", "RGB重做", PaintPalette, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage | NeedRgbRedo, {}, undoRedo},
    {32977, "MSK Redo", "MSK重做", PaintPalette, kModeUnchanged, kCursorUnchanged, 0, Ready | NeedImage | NeedMskRedo, {}, undoRedo},
    {57607, "Print \tCtrl+P", "印圖\tCtrl+P", Menu128 | Menu129 | Menu130, 0, kCursorArrow, 0, Ready | NeedImage, {}, nullptr},
    {57608, "Print Directly", "直接印圖", NoIssuer, kModeUnchanged, kCursorUnchanged, 0, Always, {}, nullptr},
    {57609, "Print Pre&view", "預覽列印", Menu128, kModeUnchanged, kCursorUnchanged, 0, Always, {}, nullptr},
    {57664, "&About orxweb...", "關於orxweb...", Menu128, kModeUnchanged, kCursorUnchanged, 0, Always, {}, about},
    {57665, "Exit", "結束", Menu128 | Menu129 | Menu130, kModeUnchanged, kCursorUnchanged, 0, Always, {}, applicationExit},
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
    return language == LangTaiwan ? c.chinese : c.english;
}

bool isEnabled(const Command& c, const Workspace& ws)
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
