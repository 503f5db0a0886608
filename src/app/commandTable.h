// The command table of the view: every command the menus and tool windows
// send, with its labels in both languages, who issues it, the tool mode and
// cursor it selects, when it is enabled and when it is checked, and the
// handler that carries it out. Menus, tool-window buttons and the enabled
// and checked states are all built from this one table.
#pragma once

#include <cstdint>
#include <span>

#include "cursorIds.h"
#include "workspace/workspace.h"

namespace orx::app {

class CommandContext;
using CommandHandler = void (*)(CommandContext&);

// Enable rule words. A command with no word (Always) is always enabled;
// any other rule also needs environmentReady.
enum EnableRule : uint32_t {
    Always = 0,
    Ready = 1u << 0,
    NeedImage = 1u << 1,
    NeedMesh = 1u << 2,
    NeedMaterial = 1u << 3,
    NeedPiece = 1u << 4,
    NeedChosen = 1u << 5,
    NeedModel = 1u << 6,
    NeedMapped = 1u << 7,
    NeedRgbUndo = 1u << 8,
    NeedMskUndo = 1u << 9,
    NeedRgbRedo = 1u << 10,
    NeedMskRedo = 1u << 11,
};

// The field a check mark follows.
enum class CheckField : uint8_t { None, ToolMode, OverlayMode, SoftMapping, RepeatLayout, MaterialVariant };

struct CheckRule {
    CheckField field = CheckField::None;
    int32_t value = 0;
};

// Who sends a command (a set of these).
enum Issuer : uint32_t {
    NoIssuer = 0,
    Menu128 = 1u << 0,
    Menu129 = 1u << 1,
    Menu130 = 1u << 2,
    PaintPalette = 1u << 3,
    MeshToolPalette = 1u << 4,
    MaterialWindow = 1u << 5,
    AirBrushPalette = 1u << 6,
    ColourChangeWindow = 1u << 7,
    AutoMaskWindow = 1u << 8,
    FileBrowser = 1u << 9,
};

constexpr int32_t kModeUnchanged = -1;
constexpr int32_t kCursorUnchanged = -1;

struct Command {
    int32_t id;
    const char* english;   // menu label (a tab before a shortcut's text)
    const char* chinese;
    uint32_t issuers;
    int32_t toolMode;      // kModeUnchanged, or the mode the command selects
    int32_t cursor;        // kCursorUnchanged, kCursorArrow or a cursor resource id
    int32_t paintTarget;   // 0, or the plane a paint tool draws on: 1 colour image, 2 mask
    uint32_t enable;       // EnableRule words
    CheckRule check;
    // nullptr: the command is in the table, but what it does is not built
    // yet; it is shown with its rule and does nothing when chosen.
    CommandHandler handler;
};

std::span<const Command> commandTable();
// nullptr for an id the table does not hold.
const Command* findCommand(int32_t id);

const char* commandLabel(const Command& c, int32_t language);

bool isEnabled(const Command& c, const Workspace& ws);
bool isChecked(const Command& c, const Workspace& ws);
bool isCheckable(const Command& c);

// Well-known ids.
enum CommandId : int32_t {
    IdLoadRgb = 32771,
    IdOpenImageFile = 32772,
    IdLoadMsk = 32773,
    IdSaveRgb = 32775,
    IdSaveMsk = 32776,
    IdSaveBmp = 32778,
    IdNewImage = 32779,
    IdAboutWeb = 32780,
    IdLanguage = 32781,
    IdMaskOn = 32782,
    IdMaskOff = 32783,
    IdRedraw = 32784,
    IdOverlayBlue = 32786,
    IdOverlayRed = 32787,
    IdOverlayGreen = 32788,
    IdOverlayClear = 32789,
    IdInvertMask = 32790,
    IdAll = 32791,
    IdLoadClo = 32815,
    IdExit = 32818,
    IdWhiteFill = 32829,
    IdSaveClo = 32836,
    IdSavePrt = 32837,
    IdContrast = 32844,
    IdLoadModel = 32851,
    IdChangeMaterial = 32852,
    IdChangeContrast = 32853,
    IdClearMask = 32862,
    IdLoadPrt = 32864,
    IdSavePartialRgb = 32865,
    IdSaveAreaClo = 32867,
    IdSaveAreaPrt = 32868,
    IdSaveAreaBmp = 32869,
    IdSaveMaterialArea = 32870,
    IdRunMmp = 32876,
    IdSharpen = 32877,
    IdBlur = 32878,
    IdSaturation = 32879,
    IdGrey = 32880,
    IdBlackWhite = 32881,
    IdDivideAtRow = 32882,
    IdDivideAtColumn = 32883,
    IdWhiteBalance = 32884,
    IdContrastBoost = 32885,
    IdAddRgb = 32899,
    IdSaveNit = 32913,
    IdLoadNit = 32914,
    IdLoadEmb = 32922,
    IdSaveEmb = 32923,
    IdSaveAreaEmb = 32924,
    IdNegative = 32925,
    IdBlackToMask = 32926,
    IdSharp = 32927,
    IdSoft = 32928,
    IdRotateClockwise = 32932,
    IdRotateCounter = 32933,
    IdNormalRepeat = 32934,
    IdHorizontalRepeat = 32935,
    IdVerticalRepeat = 32936,
    IdHelp = 32940,
    IdChangeMaterialReflection = 32942,
    IdMaskedToBlack = 32945,
    IdMemory = 32963,
    IdMirrorLeftRight = 32964,
    IdMirrorTopBottom = 32965,
    IdHalve = 32966,
    IdAddRgbWithMask = 32967,
    IdMirroredBlock = 32969,
    IdFlippedBlock = 32970,
    IdRgbUndo = 32971,
    IdMskUndo = 32972,
    IdSavePrtFromMaskEdge = 32975,
    IdRgbRedo = 32976,
    IdMskRedo = 32977,
    IdPrint = 57607,
    IdPrintDirect = 57608,
    IdPrintPreview = 57609,
    IdAbout = 57664,
    IdAppExit = 57665,
};

}  // namespace orx::app
