// The weapon editor over a demo image the input overwrites in places.
#include <cstddef>
#include <cstdint>

#include "core/regions.h"
#include "editor_run.h"

namespace {
namespace c = tsumugi::category;
const fuzzing::Family kFamily{{c::kWeapon}, {}};
}  // namespace

TSUMUGI_EDITOR_FUZZ_TARGET(kFamily)
