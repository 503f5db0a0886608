#include "cli.h"

// Being written; replaced before this lands.
int orx::libraryCommand(Cli&) { return fail("orxsim: not built yet"); }
