#include "editors/abilities/parts_class_dlg.h"

#include "core/layout/abilities.h"

namespace {

using namespace tsumugi::layout::part_class_record;

constexpr editors::ClassListLayout kLayout = {
    kBase, kSize, kCount, kEntryCount, kEntryCountWidth, kEntryCountSigned,
    kEntries, kEntryWidth, kMaxEntries,
};

constexpr const char16_t* kTabs[kCount] = {u"機体", u"武器", u"消費", u"特殊"};

}  // namespace

CPartsClassDlg::CPartsClassDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : CClassListDlg(rom, romSize, kLayout,
                    {u"強化パーツ分類", kTabs, u"データ一覧", u"強化パーツ一覧", tsumugi::NameKind::Part},
                    parent) {}
