// The battle dialogue editor over a demo image the input overwrites in places: the pilot pointer
// table besides the texts, headers and line tables.
#include <cstddef>
#include <cstdint>

#include "core/regions.h"
#include "editor_run.h"

namespace {
namespace c = tsumugi::category;
namespace bt = tsumugi::layout::battle_tables;
const fuzzing::Family kFamily{{c::kBattleLine}, {{bt::kPointerTable, 4 * bt::kPilotCount}}};
}  // namespace

TSUMUGI_EDITOR_FUZZ_TARGET(kFamily)
