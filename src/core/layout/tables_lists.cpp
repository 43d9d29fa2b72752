// The descriptors of the deployment, message and battle line records.
#include "core/layout/battle.h"
#include "core/layout/field_builders.h"
#include "core/layout/list_fields.h"
#include "core/layout/scenario.h"

namespace tsumugi::layout {
namespace {

using namespace detail;

constexpr uint8_t kNone8 = 0xFF;
constexpr uint16_t kNone16 = 0xFFFF;
constexpr uint32_t kUpgradeMax = 10;

constexpr const char* kSides[] = {"味方", "敵", "味方(操作不可)", "中立"};
constexpr const char* kWindows[] = {"上", "下", "中央顔無し"};
constexpr const char* kPlaceKinds[] = {"キャラ指定", "ユニット指定", "？", "座標指定"};

namespace dr = deploy_record;
namespace mr = message_record;
namespace lr = battle_line_record;

// "改造段階 ユニット": a control labelled "ユニット" in the group "改造段階".
constexpr Field kDeploy[] = {
    Number("フェーズ？", dr::kPhase, 1),
    Choice("陣営", dr::kSide, kSides),
    Refer("ユニット", dr::kUnit, 2, Ref::Unit, kNone16),
    Refer("パイロット", dr::kPilot, 2, Ref::Pilot, kNone16),
    Number("??\?(2)", dr::kUnnamed2, 1),
    Choice("改造段階 ユニット", dr::kUnitUpgrade, kUpgradeMax),
    Choice("改造段階 武器", dr::kWeaponUpgrade, kUpgradeMax),
    Number("LV", dr::kLevel, 1),
    Number("撃墜数", dr::kKills, 1),
    Number("PP", dr::kPp, 1),
    Number("X座標", dr::kX, 1),
    Number("Y座標", dr::kY, 1),
    Number("空陸?", dr::kAirGround, 1),
    Number("??\?(3)", dr::kUnnamed3, 1),
    Number("行動パターン？", dr::kAction, 1),
    Number("??\?(5)", dr::kUnnamed5, 1),
    // Bits 12-15 the kind (1 a part, 2 a weapon), bits 0-11 the item; 0xFFFF none.
    Number("落とすアイテム", dr::kDrop, 2),
};

// Byte 6 is the pilot or unit the window points at, or a point's X, by the record's kind:
// one field shown by the control "対象" or "X" in turn.
constexpr Field kMessage[] = {
    Number("進行度？", mr::kProgress, 2),
    Choice("ウィンドウの位置", mr::kWindow, kWindows),
    Refer("顔", mr::kFace, 1, Ref::Pilot, kNone8),
    Number("表情", mr::kExpression, 1),
    Choice("座標", mr::kPositionKind, kPlaceKinds, mr::kKindFace),
    Number("対象/X", mr::kTarget, 1),
    Number("Y", mr::kY, 1),
    Number("テキストのポインタ", mr::kText, 4),
};

// Bits 4-7 of the expression byte are kept as they are.
constexpr Field kLine[] = {
    Choice("セリフキャラ", lr::kSpeaker, battle_tables::kPilotCount - 1, lr::kDefaultSpeaker),
    {.label = "表情", .offset = lr::kExpression, .width = 1, .shift = 0, .bits = 4},
    Number("文章の位置", lr::kTextOffset, 2),
};

}  // namespace

std::span<const Field> DeployFields() { return kDeploy; }
std::span<const Field> MessageFields() { return kMessage; }
std::span<const Field> LineFields() { return kLine; }

const Field* FieldAtOffset(std::span<const Field> fields, uint32_t offset) {
    for (const Field& field : fields) {
        if (field.offset == offset) return &field;
    }
    return nullptr;
}

}  // namespace tsumugi::layout
