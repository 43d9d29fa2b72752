// The ace, full-upgrade and trust bonus editors over a demo image the input overwrites in places.
#include <cstddef>
#include <cstdint>

#include "core/regions.h"
#include "editor_run.h"

namespace {
namespace c = tsumugi::category;
const fuzzing::Family kFamily{{c::kAceBonus, c::kFullBonus, c::kTrust}, {}};
}  // namespace

TSUMUGI_EDITOR_FUZZ_TARGET(kFamily)
