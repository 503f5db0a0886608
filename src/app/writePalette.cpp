// Writes the colour box's starting palette beside a program file, where the
// program looks for it (the program's name with "001" for its last three
// characters), so that a fresh installation paints with a black pen at full
// density. The build runs it for orxweb.
#include <cstdio>

#include "tools/colourBox.h"
#include "workspace/fileIo.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: writePalette PROGRAM\n");
        return 2;
    }
    orx::QuietPlatform quiet;
    orx::Workspace ws;
    ws.platform = &quiet;
    ws.webCompanionPath = orx::companionName(argv[1], "001");
    orx::setDefaultColourBox(ws);
    if (!orx::saveColourBox(ws)) {
        std::fprintf(stderr, "writePalette: cannot write %s\n", ws.webCompanionPath.c_str());
        return 1;
    }
    return 0;
}
