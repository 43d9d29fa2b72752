#include "editors/abilities/skill_class_dlg.h"

#include "core/layout/abilities.h"

namespace {

using namespace tsumugi::layout::skill_class_record;

constexpr editors::ClassListLayout kLayout = {
    kBase, kSize, kCount, kEntryCount, kEntryCountWidth, kEntryCountSigned,
    kEntries, kEntryWidth, kMaxEntries,
};

constexpr const char16_t* kTabs[kCount] = {u"攻撃系", u"防御系", u"補助系", u"気力系", u"特殊系"};

}  // namespace

CSkillClassDlg::CSkillClassDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : CClassListDlg(rom, romSize, kLayout,
                    {u"特殊技能分類", kTabs, u"データ一覧", u"データ一覧", tsumugi::NameKind::Skill},
                    parent) {}
