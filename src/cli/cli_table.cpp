// The table commands: list the fixed-record tables, export one as CSV, import a CSV back.
#include "cli/cli.h"

namespace tsumugi::cli {

int TableList(const Args&) { return Fail("table list: not built yet"); }
int TableExport(const Args&) { return Fail("table export: not built yet"); }
int TableImport(const Args&) { return Fail("table import: not built yet"); }

}  // namespace tsumugi::cli
