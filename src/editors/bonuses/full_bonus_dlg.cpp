#include "editors/bonuses/full_bonus_dlg.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <span>

#include "core/layout/bonuses.h"
#include "core/text_codec.h"
#include "editors/bonuses/full_effect_lists.h"
#include "ui/controls.h"

namespace {

using namespace tsumugi::layout::full_record;

// The number boxes in the order they are read and written.
constexpr editors::NumberRow kNumberRows[] = {
    {u"HP+%", kHp, 1},           {u"EN+%", kEn, 1},         {u"運動性+%", kMobility, 1},
    {u"装甲+%", kArmour, 1},     {u"WP+", kWp, 1},          {u"強化パーツ装備数+", kSlots, 1},
    {u"特殊4", kEffectValue, 1}, {u"格闘", kMelee, 1},      {u"射撃", kShooting, 1},
    {u"念動", kPsychic, 1},      {u"全て", kAllWeapons, 1}, {u"固定武器弾数+", kAmmo, 1},
    {u"命中+%", kHit, 1},
};
static_assert(std::size(kNumberRows) == 13);
// Where each run of boxes sits: the unit's boosts, the effect value, the weapon attack
// bonuses, the built-in weapons' ammunition and accuracy.
constexpr size_t kUnitRows = 6, kEffectValueRow = 6, kWeaponRow = 7, kWeaponRows = 4, kAmmoRow = 11,
                 kAmmoRows = 2;

constexpr int kNumberWidth = 60;
constexpr int kComboCharacters = 20;

// An effect combo: its items stand for 0-8 and "無し(0xFF)".
editors::ValueCombo MakeEffect(const QString& label, const QStringList& items, QFormLayout* form) {
    editors::ValueCombo effect = MakeNoneChoice(label, items, kEffects, kComboCharacters);
    form->addRow(ui::MakeLabel(label, effect.Combo()), effect.Combo());
    return effect;
}

}  // namespace

CFullBonusDlg::CFullBonusDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : CBonusRecordDlg(rom, romSize, {kBase, kSize, kCount}, {kName, kNameLength}, parent) {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    CreateFrame(QStringLiteral("フル改造ボーナス"), QStringLiteral("項目"),
                editors::NameItems(codec, tsumugi::NameKind::FullBonus), QSize(220, 380),
                CreateDataGroup());
    BindFields(m_numbers, m_pName);
    ShowFirstRecord();
}

QWidget* CFullBonusDlg::CreateDataGroup() {
    const std::span<const editors::NumberRow> rows(kNumberRows);
    const std::span<editors::NumberField> fields(m_numbers);

    // The controls join the group in reading order, which is also the order the Tab key
    // visits them.
    auto* unit = editors::MakeForm();
    editors::AddNumberRows(rows.first(kUnitRows), fields.first(kUnitRows), unit, kNumberWidth);
    m_pTerrainS = new ui::CheckBox(QStringLiteral("機体地形適応空以外S"));
    unit->addRow(m_pTerrainS);
    editors::AddNumberRows(rows.subspan(kAmmoRow, kAmmoRows), fields.subspan(kAmmoRow, kAmmoRows),
                           unit, kNumberWidth);
    m_pWeaponTerrainS = new ui::CheckBox(QStringLiteral("固定武器地形適応S"));
    unit->addRow(m_pWeaponTerrainS);

    const editors::FullEffectLists lists = editors::BuildFullEffectLists(m_pRom, m_nRomSize);
    auto* effects = editors::MakeForm();
    m_effect1 = MakeEffect(QStringLiteral("特殊１"), lists.first, effects);
    m_effect2 = MakeEffect(QStringLiteral("特殊２"), lists.second, effects);
    editors::AddNumberRows(rows.subspan(kEffectValueRow, 1), fields.subspan(kEffectValueRow, 1),
                           effects, kNumberWidth);

    auto* weapons = editors::MakeForm();
    editors::AddNumberRows(rows.subspan(kWeaponRow, kWeaponRows),
                           fields.subspan(kWeaponRow, kWeaponRows), weapons, kNumberWidth);

    m_pName = new ui::Edit(QStringLiteral("名前"));
    auto* name = new QVBoxLayout;
    name->addWidget(m_pName);

    auto* groups = new QVBoxLayout;
    groups->addWidget(ui::MakeGroup(QStringLiteral("特殊技能+"), effects));
    groups->addWidget(ui::MakeGroup(QStringLiteral("武器攻撃力+xx0"), weapons));
    groups->addStretch();

    auto* grid = new QGridLayout;
    auto* data = ui::MakeGroup(QStringLiteral("データ"), grid);
    grid->addLayout(unit, 0, 0);
    grid->addLayout(groups, 0, 1);
    grid->addWidget(ui::MakeGroup(QStringLiteral("名前"), name), 1, 0, 1, 2);
    grid->setRowStretch(2, 1);
    grid->setHorizontalSpacing(16);
    return data;
}

void CFullBonusDlg::ShowChoices(const uint8_t* record) {
    m_pTerrainS->SetCheck(record[kTerrainS] != 0);
    m_pWeaponTerrainS->SetCheck(record[kWeaponTerrainS] != 0);
    m_effect1.Load(record[kEffect1]);
    m_effect2.Load(record[kEffect2]);
}

void CFullBonusDlg::StoreChoices(uint8_t* record) {
    record[kTerrainS] = m_pTerrainS->GetCheck() ? 1 : 0;
    record[kWeaponTerrainS] = m_pWeaponTerrainS->GetCheck() ? 1 : 0;
    record[kEffect1] = static_cast<uint8_t>(m_effect1.Store());
    record[kEffect2] = static_cast<uint8_t>(m_effect2.Store());
}
