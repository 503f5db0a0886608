// The handlers of the command table, one family per file:
// fileCommands.cpp (load and save by file kind), imageCommands.cpp (whole
// image and mask operations, display), toolCommands.cpp (the mouse tools
// that need a file or a prompt before the gesture), simulationCommands.cpp
// (the Auto Simulation menu), printCommands.cpp (printing and its preview),
// scriptCommands.cpp (the ORX and MMP scripts), showCommands.cpp (shows)
// and shellCommands.cpp (language, about, help, memory, exit).
#pragma once

#include <string>

#include "workspace/fileIo.h"
#include "workspace/fileKinds.h"
#include "workspace/workspace.h"

namespace orx::app {

class CommandContext;

// Opens a file as the working image by its kind (RGB with its mask, MSK,
// CLO, PRT, NIT, EMB, BMP, a model's picture) and starts the undo stacks
// afresh. False when it could not be read (the reader has said why).
bool openWorkingFile(Workspace& ws, const std::string& name, FileSource& src);
// A model by name: loaded, fitted and dressed with the current material.
// False (after "Can not open MDL File.") when it cannot be loaded.
bool openModel(CommandContext& ctx, const std::string& name);

// A name typed without the kind's extension gets it: the companions are
// named by replacing the last three characters.
std::string withExtension(const std::string& name, FileKind kind);

// fileCommands.cpp
void loadRgb(CommandContext&);
void openImageFile(CommandContext&);
void loadMsk(CommandContext&);
void loadClo(CommandContext&);
void loadPrt(CommandContext&);
void loadNit(CommandContext&);
void loadEmb(CommandContext&);
void saveRgb(CommandContext&);
void saveMsk(CommandContext&);
void saveBmp(CommandContext&);
void saveJpg(CommandContext&);
void scan(CommandContext&);
void savePng(CommandContext&);
void saveTiff(CommandContext&);
void saveClo(CommandContext&);
void savePrt(CommandContext&);
void saveNit(CommandContext&);
void saveEmb(CommandContext&);

// imageCommands.cpp
void newImage(CommandContext&);
void whiteImage(CommandContext&);
void maskOn(CommandContext&);
void maskOff(CommandContext&);
void maskOverlay(CommandContext&);
void invertMask(CommandContext&);
void clearMask(CommandContext&);
void blackToMask(CommandContext&);
void maskedToBlack(CommandContext&);
void rotate(CommandContext&);
void mirror(CommandContext&);
void halve(CommandContext&);
void redraw(CommandContext&);
void showAll(CommandContext&);
void undoRedo(CommandContext&);

// toolCommands.cpp
void areaSave(CommandContext&);
void areaTool(CommandContext&);
void addRgbFile(CommandContext&);

// paintCommands.cpp
void penWidthDialog(CommandContext&);
void openPaintWindows(CommandContext&);
void chooseFont(CommandContext&);
void textTool(CommandContext&);

// simulationCommands.cpp
void loadModel(CommandContext&);
void changeMaterial(CommandContext&);
// One step of the material road: the library material `name` becomes the
// current one and the model is dressed again, with reflection (1) or
// contrast (0) shading.
void dressInMaterial(CommandContext& ctx, const std::string& name, int32_t reflection);
void changeContrast(CommandContext&);
void contrastOnce(CommandContext&);
void mappingSharpness(CommandContext&);
void repeatLayout(CommandContext&);

// printCommands.cpp
void printImage(CommandContext&);
void printDirectly(CommandContext&);
void printPreview(CommandContext&);

// scriptCommands.cpp
void editScript(CommandContext&);

// showCommands.cpp
void playShow(CommandContext&);
void playShowFile(CommandContext& ctx, const std::string& path);

// shellCommands.cpp
void chooseLanguage(CommandContext&);
void aboutWeb(CommandContext&);
void about(CommandContext&);
void help(CommandContext&);
void memoryInformation(CommandContext&);
void exitProgram(CommandContext&);
void applicationExit(CommandContext&);

}  // namespace orx::app
