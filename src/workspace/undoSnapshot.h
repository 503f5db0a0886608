// Undo and redo: before an edit, the rectangle it will change is written to
// a numbered snapshot file; undo reads the newest back (after keeping what
// is there as a redo file). The colour image and the mask each have an undo
// and a redo stack of ten files in the program directory; only the counts
// live in the workspace.
#pragma once

#include <string>

#include "workspace.h"

namespace orx {

enum SnapshotKind : int { SnapshotImage = 1, SnapshotMask = 2, SnapshotWholeImage = 3 };

enum class SnapshotStack : int { RgbUndo, RgbRedo, MskUndo, MskRedo };

// What an undo or redo did, so the caller can show it: nothing, a rectangle
// of the same picture, or a whole image that may have another size.
enum class UndoResult { Nothing, Rectangle, WholeImage };

std::string snapshotPath(const Workspace& ws, SnapshotStack stack, int index);

// Writes the snapshot of kind (1 colour image, 2 mask, 3 whole colour image)
// for the rectangle between two corners grown by the margin and held to the
// image, and empties the redo stack of that plane.
void takeSnapshot(Workspace& ws, int kind, int32_t xa, int32_t ya, int32_t xb, int32_t yb, int32_t margin);
// The same, with the pixels read from a copy of the plane made before the
// edit (secondImage or maskBackup): a stroke whose extent is known only at
// its end records the plane as it was when it began.
void takeSnapshotFrom(Workspace& ws, int kind, const uint8_t* source, int32_t xa, int32_t ya, int32_t xb, int32_t yb,
                      int32_t margin);

UndoResult undoImage(Workspace& ws);
UndoResult redoImage(Workspace& ws);
UndoResult undoMask(Workspace& ws);
UndoResult redoMask(Workspace& ws);

// Every load of a new image, mask or model starts the four stacks afresh.
void resetUndo(Workspace& ws);
// At exit: every snapshot file of the four stacks is deleted.
void deleteSnapshotFiles(const Workspace& ws);

}  // namespace orx
