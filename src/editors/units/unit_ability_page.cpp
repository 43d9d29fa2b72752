#include "editors/units/unit_ability_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "editors/units/unit_record.h"
#include "ui/controls.h"

namespace {

struct AbilityGroup {
    const char16_t* title;
    std::vector<const char16_t*> labels;  // bit 0 first
};

const AbilityGroup& GroupOf(int group) {
    static const AbilityGroup kGroupTable[CUnitAbilityPage::kGroupCount] = {
        {u"特殊能力１",
         {u"ビームコート", u"ABフィールド", u"Eフィールド", u"Gウォール", u"Gテリトリー",
          u"念動フィールド", u"念動フィールドS", u"歪曲フィールド"}},
        {u"特殊能力2", {u"エネルギー吸収"}},
        {u"特殊能力3",
         {u"HP回復（大）", u"HP回復（中）", u"HP回復（小）", u"EN回復（大）", u"EN回復（中）",
          u"EN回復（小）", u"分身", u"精霊憑依"}},
        {u"特殊能力4", {u"ジャマー"}},
        {u"特殊能力5",
         {u"特殊武器無効", u"EN系無効", u"気力系無効", u"SP系無効", u"精神系無効", u"ネット系無効",
          u"チャフ系無効", u"ブレイカー系無効"}},
    };
    return kGroupTable[group];
}

}  // namespace

CUnitAbilityPage::CUnitAbilityPage(QWidget* parent) : QWidget(parent) {
    for (int g = 0; g < kGroupCount; ++g) {
        auto* layout = new QVBoxLayout;
        for (const char16_t* label : GroupOf(g).labels) {
            auto* box = new ui::CheckBox(QString::fromUtf16(label));
            m_boxes[g].push_back(box);
            layout->addWidget(box);
        }
        layout->addStretch();
        m_groups[g] = ui::MakeGroup(QString::fromUtf16(GroupOf(g).title), layout, this);
    }
    // Groups with one box share a column; the three full groups stand beside them.
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_groups[0], 0, 0, 2, 1);
    grid->addWidget(m_groups[1], 0, 1);
    grid->addWidget(m_groups[3], 1, 1);
    grid->addWidget(m_groups[2], 0, 2, 2, 1);
    grid->addWidget(m_groups[4], 0, 3, 2, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(4, 1);
}

void CUnitAbilityPage::SetGroup5Enabled(bool enabled) {
    for (ui::CheckBox* box : m_boxes[4]) box->setEnabled(enabled);
}

uint8_t CUnitAbilityPage::Bits(int group) const {
    uint8_t bits = 0;
    if (group < 0 || group >= kGroupCount) return bits;
    for (size_t i = 0; i < m_boxes[group].size(); ++i) {
        if (m_boxes[group][i]->GetCheck()) bits |= static_cast<uint8_t>(1u << i);
    }
    return bits;
}

void CUnitAbilityPage::SetBits(int group, uint8_t bits) {
    if (group < 0 || group >= kGroupCount) return;
    for (size_t i = 0; i < m_boxes[group].size(); ++i) m_boxes[group][i]->SetCheck((bits >> i) & 1);
}

void CUnitAbilityPage::LoadRecord(const uint8_t* record) {
    for (int g = 0; g < kGroupCount; ++g) SetBits(g, record[unit_record::kAbilities + g]);
}

void CUnitAbilityPage::StoreRecord(uint8_t* record) const {
    for (int g = 0; g < kGroupCount; ++g) record[unit_record::kAbilities + g] = Bits(g);
}
