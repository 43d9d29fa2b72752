// The pilot editors (status, spirit commands, skills) over a demo image the input overwrites in
// places.
#include <cstddef>
#include <cstdint>

#include "core/regions.h"
#include "editor_run.h"

namespace {
namespace c = tsumugi::category;
const fuzzing::Family kFamily{{c::kPilotStatus, c::kPilotSpirit, c::kPilotSkill}, {}};
}  // namespace

TSUMUGI_EDITOR_FUZZ_TARGET(kFamily)
