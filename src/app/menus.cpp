// The menu bars as data.
#include "menus.h"

#include <iterator>

#include "commandIds.h"
#include "workspace/workspace.h"

namespace orx::app {

namespace {

constexpr MenuItem popup(const char* en, const char* zh) { return {MenuItem::Popup, 0, en, zh}; }
constexpr MenuItem item(int32_t id) { return {MenuItem::Command, id, nullptr, nullptr}; }
constexpr MenuItem sep() { return {MenuItem::Separator, 0, nullptr, nullptr}; }
constexpr MenuItem end() { return {MenuItem::End, 0, nullptr, nullptr}; }

// The menus every bar carries after its own: the commands no menu of the
// web edition sends, so that each command of the table can be reached.
#define ORX_MORE_MENUS                                                                                         \
    popup("Image", "影像"), popup("Open", "開啟"), item(IdLoadRgb), item(IdLoadMsk), item(IdLoadClo),              \
        item(IdLoadPrt), item(IdLoadNit), item(IdLoadEmb), item(IdOpenImageFile), item(IdOpenImageFile3),      \
        item(IdOpenImageFile4), item(IdOpenImageFile5), item(IdChangeMsk), end(), popup("Save", "儲存"),         \
        item(IdSaveRgb), item(IdSaveMsk), item(IdSaveBmp), item(IdSaveClo), item(IdSavePrt),                   \
        item(IdSaveNit), item(IdSaveEmb), item(IdSaveJpg), item(IdSavePng), item(IdSaveTiff), sep(),           \
        item(IdSavePartialRgb),                                                                                \
        item(IdSaveAreaClo), item(IdSaveAreaPrt), item(IdSaveAreaBmp), item(IdSaveMaterialArea),               \
        item(IdSaveAreaEmb), item(IdSavePrtFromMaskEdge), end(), sep(), item(IdNewImage), item(IdWhiteFill),   \
        sep(), item(IdRotateClockwise), item(IdRotateCounter), item(IdMirrorLeftRight),                        \
        item(IdMirrorTopBottom), item(IdHalve), sep(), item(IdRgbUndo), item(IdRgbRedo), sep(),                \
        item(IdAddRgb), item(IdAddRgbWithMask), item(IdSimulateNit), sep(), item(IdScan),                      \
        item(IdPrintPreview), item(IdPrintDirect), end(),                                                      \
    popup("Mask", "型版"), item(IdMaskOn), item(IdMaskOff), sep(), item(IdOverlayBlue), item(IdOverlayRed),      \
        item(IdOverlayGreen), item(IdOverlayClear), sep(), item(IdInvertMask), item(IdClearMask),              \
        item(IdBlackToMask), item(IdMaskedToBlack), sep(), item(IdMskUndo), item(IdMskRedo), sep(),            \
        item(IdAutoMask), item(IdAutoMaskPick), item(IdAutoMaskPreview), item(IdAutoMaskArea), sep(),          \
        item(IdMaskPen), item(IdMaskLine), item(IdMaskCurve), item(IdMaskRectangle),                           \
        item(IdMaskFilledRectangle), item(IdMaskCircle), item(IdMaskFilledCircle), item(IdMaskEllipse),        \
        item(IdMaskFilledEllipse), item(IdMaskFill), item(IdMaskPointFill), item(IdMaskArea1),                 \
        item(IdMaskArea2), item(IdMaskArea3), item(IdMaskArea4), item(IdMaskArea5), end(),                     \
    popup("Filters", "濾鏡"), item(IdSharpen), item(IdBlur), item(IdSaturation), item(IdContrastBoost),          \
        item(IdWhiteBalance), item(IdBlackWhite), item(IdGrey), item(IdNegative), sep(),                       \
        item(IdMirroredBlock), item(IdFlippedBlock), sep(), item(IdDivideAtRow), item(IdDivideAtColumn),       \
        end(),                                                                                                 \
    popup("Tools", "工具"), item(IdColourBoxAndPaint), item(IdColourBox), item(IdColourBoxAndAirBrush), sep(),   \
        item(IdPen), item(IdLine), item(IdCurve), item(IdRectangle), item(IdFilledRectangle),                  \
        item(IdCircle), item(IdFilledCircle), item(IdEllipse), item(IdFilledEllipse),                          \
        item(IdGradientRectangle), item(IdGradientCircle), item(IdGradientEllipse), item(IdDashedCurve),       \
        item(IdShadedCurve), item(IdHoledCurve), item(IdFill), item(IdChangeColour), item(IdShadedFill),      \
        item(IdShadedFillMaskEdge), item(IdReflectionFill), item(IdText), item(IdFont), item(IdPenWidth),            \
        item(IdContrast), sep(), item(IdAirBrush), item(IdAirBrushCopy), sep(),                               \
        item(IdNaturalColourChange), item(IdColourChangePick), item(IdColourChangePreview1),                   \
        item(IdColourChangePreview2), item(IdColourChangeArea1), item(IdColourChangeArea2), sep(),             \
        item(IdColourWayConditions), item(IdColourWays), sep(), item(IdEditOrx), item(IdEditMmp),              \
        item(IdRunMmp), sep(), item(IdMemory), item(IdHelp), item(IdAbout), end(),                             \
    popup("Mesh", "網格"), item(IdMeshTool), item(IdLoadMesh), item(IdSaveMesh), item(IdLoadOrx), sep(),         \
        item(IdNewMesh), item(IdPickObjectMeshAgain), item(IdPickMaterialMeshAgain), item(IdDoubleMesh),       \
        item(IdTryMapping), sep(), item(IdMaterialMeshMoveAll), item(IdMaterialMeshScale), sep(),              \
        item(IdObjectMeshMoveAll), item(IdObjectMeshScale), item(IdObjectMeshRotate),                          \
        item(IdObjectMeshMovePoint), item(IdObjectMeshMoveRow), item(IdObjectMeshMoveColumn),                  \
        item(IdObjectMeshRubberRow), item(IdObjectMeshRubberColumn), item(IdObjectMeshScaleRows),              \
        item(IdObjectMeshScaleColumns), item(IdObjectMeshRubberScaleRows),                                     \
        item(IdObjectMeshRubberScaleColumns), item(IdObjectMeshPerspective), end(),                            \
    popup("Library", "資料庫"), item(IdSelectMaterial), item(IdPlaceMaterial1), item(IdPlaceMaterial2),           \
        item(IdPlaceMaterial3), item(IdPlaceMaterial4), item(IdUndoPlacement), item(IdMoveMaterial),           \
        item(IdScaleMaterial), item(IdRotateMaterial), item(IdApplyMaterial), sep(),                           \
        item(IdMaterialLayout1), item(IdMaterialLayout2), item(IdMaterialLayout3), sep(), item(IdSelectPrt),   \
        item(IdSelectEmb), item(IdScalePiece), item(IdRotatePiece), item(IdMovePiece), item(IdApplyPiece),     \
        item(IdMoveChosen), item(IdRotateChosen), item(IdScaleChosen), item(IdPlaceChosen), end()

#define ORX_SIMULATION_ITEMS                                                                                   \
    item(IdLoadModel), item(IdChangeMaterial), item(IdChangeMaterialReflection), item(IdChangeContrast),       \
        sep(), item(IdSharp), item(IdSoft), sep(), item(IdNormalRepeat), item(IdHorizontalRepeat),             \
        item(IdVerticalRepeat)

const MenuItem kMenu128[] = {
    popup("&File", "&File"), item(IdPrint), item(IdPrintPreview), sep(), item(IdAppExit), end(),
    popup("&Edit", "&Edit"), item(IdRgbUndo), item(IdRgbRedo), item(IdMskUndo), item(IdMskRedo), end(),
    popup("&View", "&View"), item(IdAll), item(IdRedraw), end(),
    popup("&Help", "&Help"), item(IdLanguage), item(IdAboutWeb), item(IdAbout), end(),
    popup("Auto Simulation", "自動材質模擬"), ORX_SIMULATION_ITEMS, sep(), item(IdRunMmp), end(),
    ORX_MORE_MENUS,
};

const MenuItem kMenu129[] = {
    popup("File", "檔案管理"), item(IdPrint), item(IdAppExit), end(),
    popup("Auto Simulation", "自動材質模擬"), ORX_SIMULATION_ITEMS, end(),
    popup("View", "視窗"), item(IdAll), item(IdRedraw), end(),
    popup("Help", "說明"), item(IdLanguage), item(IdAboutWeb), end(),
    ORX_MORE_MENUS,
    item(IdExit),
};

const MenuItem kMenu130[] = {
    popup("File", "檔案管理"), item(IdLoadRgb), item(IdSaveRgb), item(IdSavePartialRgb), sep(), item(IdPrint), sep(),
        item(IdAppExit), end(),
    popup("Auto Simulation", "自動材質模擬"), ORX_SIMULATION_ITEMS, sep(), item(IdRunMmp), end(),
    popup("View", "視窗"), item(IdAll), item(IdRedraw), end(),
    popup("Help", "說明"), item(IdLanguage), item(IdAboutWeb), end(),
    ORX_MORE_MENUS,
    item(IdExit),
};

#undef ORX_MORE_MENUS
#undef ORX_SIMULATION_ITEMS

}  // namespace

std::span<const MenuItem> menuBarItems(int32_t menuBar)
{
    switch (menuBar) {
    case MenuChinese: return kMenu129;
    case MenuEnglish: return kMenu130;
    default: return kMenu128;
    }
}

namespace {

struct LanguageBar {
    int32_t language;
    int32_t menuBar;
};

// The languages with a bar of their own; the default bar is in English.
constexpr LanguageBar kLanguageBars[] = {{LangTaiwan, MenuChinese}, {LangEnglish, MenuEnglish}};

}  // namespace

int32_t menuBarOf(int32_t language)
{
    for (const LanguageBar& b : kLanguageBars)
        if (b.language == language) return b.menuBar;
    return MenuDefault;
}

int32_t menuLanguage(int32_t menuBar)
{
    for (const LanguageBar& b : kLanguageBars)
        if (b.menuBar == menuBar) return b.language;
    return LangEnglish;
}

}  // namespace orx::app
