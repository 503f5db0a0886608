// The command-line tool's shared state: one workspace, the console
// platform and the parsed command line. Each command is a function that
// takes the Cli and returns the exit status.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "workspace/workspace.h"

namespace orx {

class Library;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitPartly = 3;  // done, but some lines failed (named on stderr)

struct Cli {
    ConsolePlatform console;
    Workspace ws;
    std::vector<std::string> args;     // positional arguments after the command
    std::vector<std::string> options;  // "--name" and "--name=value" / "--name value" pairs, flattened

    // Starts the workspace; false (with the reason on stderr) when it cannot.
    bool start();

    // The value of --name; false when the option is absent.
    bool option(const char* name, std::string& value) const;
    bool flag(const char* name) const;
};

// Commands that live in their own files.
int dressCommand(Cli& cli);
int sampleLibraryCommand(Cli& cli);
int libraryCommand(Cli& cli);
int showCommand(Cli& cli);
int batchCommand(Cli& cli);
int scanCommand(Cli& cli);
int autoMaskCommand(Cli& cli);
int recolourCommand(Cli& cli);
int colourWaysCommand(Cli& cli);

// dress's options that show takes too: --layout, --contrast, --soft and
// --reflection into the workspace. kExitOk, or the status of the refusal.
int applyDressOptions(Cli& cli);
// The online library when one is asked for (--library, or ORX_LIBRARY_URL),
// else library stays empty and the local files serve. False after the
// failure's messages.
bool openRequestedLibrary(Cli& cli, std::unique_ptr<Library>& library);

// Text as a JSON string, quotes included: UTF-8 as it is, control
// characters and bytes that are no UTF-8 (read as Latin-1) as \u00XX.
std::string jsonString(const std::string& s);

// Prints the usage (and why, when given) to stderr; returns kExitUsage.
int usage(const char* why = nullptr);
// Prints one line to stderr; returns kExitFailed.
int fail(const std::string& text);

}  // namespace orx
