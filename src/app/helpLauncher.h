// Help: the page of the screen language is handed to the help program
// KOVAHELP through the file KOVA.HLP among the working files (filePlaces.h;
// beside the program unless its folder is read-only), whose path is the
// program's argument; the program is run until the person closes it.
#pragma once

#include <string>

#include "workspace/workspace.h"

namespace orx::app {

constexpr char kHelpProgram[] = "KOVAHELP";
constexpr char kHelpHandOver[] = "KOVA.HLP";

// VLX98DIR/VLX10MENU/VLX98.htm in language 1, VLX98DIR/VLX10MENUE/VLX98.htm otherwise.
std::string helpPagePath(const Workspace& ws);

// Writes the page path, with no newline, as the whole of KOVA.HLP; false
// when the file cannot be created.
bool writeHelpHandOver(const Workspace& ws);

// The help command: hand-over file, then the help program, waited for.
// "Can not run Help Program KOVAHELP.exe " when it cannot be started.
void runHelp(Workspace& ws);

}  // namespace orx::app
