#include "app/editor_factory.h"

#include "core/regions.h"
#include "editors/pilots/pilot_status_dlg.h"
#include "editors/units/unit_dlg.h"
#include "ui/dialog.h"

namespace app {

std::unique_ptr<ui::Dialog> CreateEditor(int category, [[maybe_unused]] uint8_t* rom,
                                         [[maybe_unused]] uint32_t romSize) {
    namespace c = tsumugi::category;
    // Each editor adds its case here, returning std::make_unique<TheEditorDlg>(rom, romSize).
    switch (category) {
    case c::kUnit:
        return std::make_unique<CUnitDlg>(rom, romSize);
    case c::kPilotStatus:
        return std::make_unique<CPilotStatusDlg>(rom, romSize);
    default:
        return nullptr;
    }
}

}  // namespace app
