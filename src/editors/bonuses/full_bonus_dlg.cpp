#include "editors/bonuses/full_bonus_dlg.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <span>
#include <vector>

#include "core/layout/bonuses.h"
#include "core/text_codec.h"
#include "editors/bonuses/full_effect_lists.h"
#include "editors/bonuses/record_name.h"
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

// An effect combo: its items stand for 0-8 and "無し(0xFF)"; 9 also shows "無し(0xFF)", and
// an empty combo stores 0xFF.
editors::ValueCombo MakeEffect(const QString& label, const QStringList& items, QFormLayout* form) {
    auto* combo = new ui::ComboBox(label);
    combo->SetItems(items);
    combo->SetCurSel(0);
    editors::SetContentsLength(combo, kComboCharacters);
    form->addRow(ui::MakeLabel(label, combo), combo);
    return editors::ValueCombo(combo, {kEffects, editors::kNone8, true, true});
}

}  // namespace

CFullBonusDlg::CFullBonusDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : ui::Dialog(parent), m_pRom(rom), m_nRomSize(romSize) {
    setWindowTitle(QStringLiteral("フル改造ボーナス"));
    CreateControls();
    m_pList->SetCurSel(0);
    LoadRecord();
}

void CFullBonusDlg::CreateControls() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_pList = new ui::ListBox(QStringLiteral("項目"));
    m_pList->SetItems(editors::NameItems(codec, tsumugi::NameKind::FullBonus));
    m_pList->setMinimumSize(220, 380);
    const auto [ok, cancel] =
        editors::LayOutRecordEditor(this, QStringLiteral("項目"), m_pList, CreateDataGroup());

    connect(m_pList, &ui::ListBox::SelChange, this, [this] { LoadRecord(); });
    connect(ok, &QPushButton::clicked, this, &CFullBonusDlg::OnOkButton);
    connect(cancel, &QPushButton::clicked, this, &CFullBonusDlg::OnCancel);
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

uint8_t* CFullBonusDlg::Record(int index) const {
    return editors::RecordAt(m_pRom, m_nRomSize, kBase, kSize, kCount, index);
}

void CFullBonusDlg::LoadRecord() {
    const std::optional<int> next =
        editors::StoreAndMove(m_pList, m_nShown, [this] { return StoreRecord(); });
    if (!next) return;
    const uint8_t* record = Record(*next);
    if (record == nullptr) return;
    m_nShown = *next;

    editors::LoadNumbers(m_numbers, record);
    m_pTerrainS->SetCheck(record[kTerrainS] != 0);
    m_pWeaponTerrainS->SetCheck(record[kWeaponTerrainS] != 0);
    m_effect1.Load(record[kEffect1]);
    m_effect2.Load(record[kEffect2]);
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_bNameEditable = editors::ShowGameText(codec, m_pName, record + kName, kNameLength);
}

bool CFullBonusDlg::StoreRecord() {
    uint8_t* record = Record(m_nShown);
    if (record == nullptr) return false;

    std::vector<uint32_t> values;
    if (!editors::ReadNumbers(m_numbers, values)) return false;
    editors::WriteNumbers(m_numbers, values, record);
    record[kTerrainS] = m_pTerrainS->GetCheck() ? 1 : 0;
    record[kWeaponTerrainS] = m_pWeaponTerrainS->GetCheck() ? 1 : 0;
    record[kEffect1] = static_cast<uint8_t>(m_effect1.Store());
    record[kEffect2] = static_cast<uint8_t>(m_effect2.Store());

    if (!m_bNameEditable) return true;
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    return editors::StoreRecordName(codec, this, m_pName, record + kName, kNameLength, m_pList,
                                    m_nShown);
}

void CFullBonusDlg::OnOkButton() {
    if (m_nShown < 0 || StoreRecord()) EndDialog(QDialog::Accepted);
}
