#include "editors/pilots/pilot_skill_dlg.h"

#include <vector>

#include "core/layout/pilots.h"
#include "core/text_codec.h"
#include "editors/common/record_editor.h"

namespace {

using namespace tsumugi::layout::pilot_skill_record;

// A special skill name holds up to seven full-width characters (16 bytes with its end).
constexpr int kComboCharacters = 10;

std::unique_ptr<editors::SlotGrid> CreateSlots(tsumugi::CTextCodec& codec) {
    QStringList skills = editors::NameItems(codec, tsumugi::NameKind::Skill);
    const int skillCount = static_cast<int>(skills.size());
    skills << QStringLiteral("無し(0xFF)");

    const editors::SlotHeader headers[] = {{QStringLiteral("技能")},
                                           {QStringLiteral("習得LV"), kLevelCount, true}};
    std::vector<editors::SlotRow> rows;
    for (int s = 0; s < kSlots; ++s) {
        const uint32_t slot = kSlotSize * static_cast<uint32_t>(s);
        const QString skill = QStringLiteral("技能%1").arg(s + 1);
        editors::SlotRow row{{skill, slot + kSkill}, {}};
        for (int l = 0; l < kLevelCount; ++l) {
            row.numbers.push_back({skill + QStringLiteral(" 習得LV%1").arg(l + 1),
                                   slot + kLevels + static_cast<uint32_t>(l)});
        }
        rows.push_back(std::move(row));
    }
    // A slot byte past the list (36-254) shows nothing and is stored as "none".
    const editors::ComboMapping mapping{
        .count = skillCount, .none = editors::kNone8, .emptyStoresNone = true};
    return std::make_unique<editors::SlotGrid>(QStringLiteral("データ"), headers, rows, skills,
                                               mapping, kComboCharacters);
}

}  // namespace

CPilotSkillDlg::CPilotSkillDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : editors::SlotRecordDlg(rom, romSize, {kBase, kSize, kCount},
                             editors::SlotStoreOrder::CombosFirst, parent) {
    tsumugi::CTextCodec codec(rom, romSize);
    CreateControls(QStringLiteral("パイロット技能"), QStringLiteral("パイロット"),
                   editors::NameItems(codec, tsumugi::NameKind::Pilot), CreateSlots(codec));
}
