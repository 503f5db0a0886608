// Where the program keeps the files it writes for itself: its settings
// (ORX10.CFG, VLXHV.CFG, palettes, curves) and its working files (the undo
// snapshots, the help hand-over file). Both go beside the program when that
// folder is writable, so a copied install carries its settings along. An
// install in a read-only folder keeps them under the user's folders instead:
// settings in $XDG_CONFIG_HOME/orxweb (~/.config/orxweb), working files in
// $XDG_STATE_HOME/orxweb (~/.local/state/orxweb), made when missing.
#pragma once

#include <string>

#include "workspace.h"

namespace orx {

struct FilePlaces {
    std::string config;  // settings
    std::string state;   // working files
};

// The places for a program folder (empty: no program folder known).
FilePlaces chooseFilePlaces(const std::string& programDir);
// Sets ws.configDir and ws.stateDir.
void setFilePlaces(Workspace& ws, const std::string& programDir);

// A settings file and a working file by name. Until places are set both
// lie in VLX98DIR.
std::string configFile(const Workspace& ws, const std::string& name);
std::string stateFile(const Workspace& ws, const std::string& name);

}  // namespace orx
