// The descriptors of the bonus tables.
#include "core/layout/descriptor.h"

namespace tsumugi::layout::detail {

std::span<const Table> BonusTables() { return {}; }

}  // namespace tsumugi::layout::detail
