#include "cli.h"

// Being written; replaced before this lands.
int orx::sampleLibraryCommand(Cli&) { return fail("orxsim: not built yet"); }
