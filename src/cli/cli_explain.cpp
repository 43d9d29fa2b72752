// codes explain: every code of a code file named by table, record and field.
#include "cli/cli.h"

namespace tsumugi::cli {

int CodesExplain(const Args&) { return Fail("codes explain: not built yet"); }

}  // namespace tsumugi::cli
