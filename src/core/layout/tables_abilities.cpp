// The descriptors of the ability tables.
#include "core/layout/descriptor.h"

namespace tsumugi::layout::detail {

std::span<const Table> AbilityTables() { return {}; }

}  // namespace tsumugi::layout::detail
