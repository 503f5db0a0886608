// The command table of the view: every command the menus and tool windows
// send, with its labels in both languages, who issues it, the tool mode and
// cursor it selects, when it is enabled and when it is checked, and the
// handler that carries it out. Menus, tool-window buttons and the enabled
// and checked states are all built from this one table.
//
// Adding what a command does:
//   - an action: write the handler in its family's file (commands.h lists
//     them) and put its name in the row's handler column;
//   - a mouse tool: give its mode a row in the tool-mode table
//     (toolModes.cpp). A tool row whose handler is toolOnly needs nothing
//     more: the command selects the mode, its cursor and its plane. A tool
//     that needs a file or a prompt first gets a handler of its own
//     (toolCommands.cpp is the model).
// A command stays greyed out until it can do what it says: it has a
// handler, and the mode it selects (if any) has a row in the mode table.
#pragma once

#include <cstdint>
#include <span>

#include "commandIds.h"
#include "cursorIds.h"
#include "workspace/toolModeIds.h"
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
    CommandId id;
    const char* english;   // menu label (a tab before a shortcut's text)
    const char* chinese;
    uint32_t issuers;
    int32_t toolMode;      // kModeUnchanged, or the mode the command selects
    int32_t cursor;        // kCursorUnchanged, or a cursor id (cursorIds.h)
    int32_t paintTarget;   // 0, or the plane a paint tool draws on (PaintTarget)
    uint32_t enable;       // EnableRule words
    CheckRule check;
    // nullptr: the command is in the table, but what it does is not built
    // yet; it is shown greyed out.
    CommandHandler handler;
};

// The handler of a command that only selects its tool: the dispatch has
// set the mode, the cursor and the plane; nothing more happens until the
// mouse acts.
void toolOnly(CommandContext&);

std::span<const Command> commandTable();
// nullptr for an id the table does not hold.
const Command* findCommand(int32_t id);

const char* commandLabel(const Command& c, int32_t language);

// Whether the command can do what it says: it has a handler, and the tool
// mode it selects has a row in the mode table. An unbuilt command is never
// enabled.
bool isBuilt(const Command& c);
// The enable rule alone: environmentReady and every flag it names.
bool ruleHolds(const Command& c, const Workspace& ws);
// Built, and its rule holds: what menus and tool windows show.
bool isEnabled(const Command& c, const Workspace& ws);
bool isChecked(const Command& c, const Workspace& ws);
bool isCheckable(const Command& c);

}  // namespace orx::app
