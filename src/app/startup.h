// The program's start, from the language word to the program paths, and
// its failure path. Everything here runs before any window is shown; the
// cursors (the last step) are made by the caller once this succeeded.
#pragma once

#include <string>

#include "studio.h"

namespace orx::app {

// The exit status of a start that failed.
constexpr int kStartFailureStatus = 1;

struct StartPaths {
    std::string programDir;   // VLX98DIR: the program, help; its own files unless read-only
    std::string workDir;      // WORKDIR: the current directory
    std::string programName = "orxweb";
    size_t displayBytes = kDisplayBytes;  // RS and RS1, raised for large screens
};

// The paths of the running process: its own folder and the current one.
StartPaths processStartPaths();

// The language file: the one the language dialog writes among the
// program's settings (filePlaces.h), so that a choice survives a restart;
// while there is none, ORX10.CFG of the work folder when there is one.
std::string languageFilePath(const Workspace& ws, const StartPaths& paths);

// The tool defaults of a fresh start: nothing loaded, contrast 1.0 (list
// entry 9).
void setToolDefaults(Workspace& ws);

// The program file and the colour-box palette, named as the program with
// "001" as its last three characters and kept among the settings
// (filePlaces.h). Sets environmentReady.
void setProgramPaths(Workspace& ws, const StartPaths& paths);

// The start sequence: language, tool defaults, buffers, work directory,
// library, program paths. False after the failure path's messages (the
// library's own, then "init_env()  ERROR" and "ORX Program Will Stop." in
// the configured language); the caller then ends with kStartFailureStatus.
bool startEnvironment(Studio& studio, const StartPaths& paths);

}  // namespace orx::app
