// The patch commands: codes as a BPS or IPS patch, and a patch applied to a ROM.
#include "cli/cli.h"

namespace tsumugi::cli {

int CodesExport(const Args&) { return Fail("codes export: not built yet"); }
int PatchApply(const Args&) { return Fail("patch apply: not built yet"); }

}  // namespace tsumugi::cli
