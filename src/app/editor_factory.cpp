#include "app/editor_factory.h"

#include "core/regions.h"
#include "editors/abilities/parts_class_dlg.h"
#include "editors/abilities/parts_dlg.h"
#include "editors/abilities/skill_class_dlg.h"
#include "editors/abilities/skill_dlg.h"
#include "editors/abilities/spirit_dlg.h"
#include "editors/battle/battle_line_dlg.h"
#include "editors/bonuses/ace_bonus_dlg.h"
#include "editors/bonuses/full_bonus_dlg.h"
#include "editors/bonuses/trust_dlg.h"
#include "editors/pilots/pilot_skill_dlg.h"
#include "editors/pilots/pilot_spirit_dlg.h"
#include "editors/pilots/pilot_status_dlg.h"
#include "editors/scenario/scenario_dlg.h"
#include "editors/units/unit_dlg.h"
#include "editors/weapons/weapon_dlg.h"
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
    case c::kWeapon:
        return std::make_unique<CWeaponDlg>(rom, romSize);
    case c::kPilotSpirit:
        return std::make_unique<CPilotSpiritDlg>(rom, romSize);
    case c::kPilotSkill:
        return std::make_unique<CPilotSkillDlg>(rom, romSize);
    case c::kSkillClass:
        return std::make_unique<CSkillClassDlg>(rom, romSize);
    case c::kParts:
        return std::make_unique<CPartsDlg>(rom, romSize);
    case c::kPartsClass:
        return std::make_unique<CPartsClassDlg>(rom, romSize);
    case c::kSpirit:
        return std::make_unique<CSpiritDlg>(rom, romSize);
    case c::kSkill:
        return std::make_unique<CSkillDlg>(rom, romSize);
    case c::kAceBonus:
        return std::make_unique<CAceBonusDlg>(rom, romSize);
    case c::kFullBonus:
        return std::make_unique<CFullBonusDlg>(rom, romSize);
    case c::kTrust:
        return std::make_unique<CTrustDlg>(rom, romSize);
    case c::kScenario:
        return std::make_unique<CScenarioDlg>(rom, romSize);
    case c::kBattleLine:
        return std::make_unique<CBattleLineDlg>(rom, romSize);
    default:
        return nullptr;
    }
}

}  // namespace app
