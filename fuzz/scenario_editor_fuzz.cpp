// The scenario editor over a demo image the input overwrites in places: the chapter pointer table
// and titles besides the chapters' own area.
#include <cstddef>
#include <cstdint>

#include "core/layout/scenario.h"
#include "core/regions.h"
#include "editor_run.h"

namespace {
namespace c = tsumugi::category;
namespace pt = tsumugi::layout::chapter_pointer_table;
namespace tr = tsumugi::layout::chapter_title_record;
constexpr uint32_t kPointerBytes = pt::kEntrySize * static_cast<uint32_t>(pt::kCount);
constexpr uint32_t kTitleBytes = tr::kSize * static_cast<uint32_t>(tr::kCount);
const fuzzing::Family kFamily{
    {c::kScenario}, {{pt::kBase, kPointerBytes}, {tr::kBase, kTitleBytes}}};
}  // namespace

TSUMUGI_EDITOR_FUZZ_TARGET(kFamily)
