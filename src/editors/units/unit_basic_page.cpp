#include "editors/units/unit_basic_page.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "core/bytes.h"
#include "core/text_codec.h"
#include "core/layout/units.h"
#include "ui/controls.h"

namespace {

using namespace tsumugi::layout::unit_record;

constexpr editors::NumberRow kNumberRows[] = {
    {u"最大HP", kMaxHp, 4},   {u"最大EN", kMaxEn, 2},     {u"運動性", kMobility, 2},
    {u"装甲", kArmor, 2},     {u"修理費", kRepairCost, 2}, {u"獲得資金", kFunds, 2},
    {u"経験値", kExperience, 2}, {u"最大WP", kMaxWp, 2},   {u"獲得PP", kPp, 1},
    {u"移動力", kMove, 1},
};

// Movement-type boxes top to bottom, bit 0 first.
constexpr const char16_t* kMoveTypeLabels[] = {u"地", u"海", u"陸", u"空"};
constexpr const char16_t* kUpgradeLabels[] = {u"HP", u"EN", u"運動性", u"装甲"};
constexpr uint32_t kUpgradeOffsets[] = {kUpgradeHp, kUpgradeEn, kUpgradeMobility, kUpgradeArmor};

constexpr int kFullBonusCount = 50;
constexpr int kNumberWidth = 110;  // pixels: room for ten digits

}  // namespace

CUnitBasicPage::CUnitBasicPage(const uint8_t* rom, uint32_t romSize, QWidget* parent)
    : QWidget(parent) {
    CreateControls(rom, romSize);
}

CUnitBasicPage::~CUnitBasicPage() = default;

void CUnitBasicPage::CreateControls(const uint8_t* rom, uint32_t romSize) {
    auto* numbers = new QFormLayout;
    editors::AddNumberRows(kNumberRows, m_numbers, numbers, kNumberWidth);
    const QString slotsLabel = QStringLiteral("強化パーツスロット数");
    auto* slotCombo = new ui::ComboBox(slotsLabel);
    slotCombo->SetItems(editors::NumberItems(0, kPartSlotMax));
    m_partSlots = editors::ValueCombo(slotCombo, {kPartSlotMax + 1, std::nullopt});
    numbers->addRow(ui::MakeLabel(slotsLabel, slotCombo), slotCombo);

    m_pTerrain = std::make_unique<editors::TerrainGroup>(nullptr);

    auto* moveLayout = new QVBoxLayout;
    for (int i = 0; i < 4; ++i) {
        m_moveTypes[i] = new ui::CheckBox(QString::fromUtf16(kMoveTypeLabels[i]));
        moveLayout->addWidget(m_moveTypes[i]);
    }
    moveLayout->addStretch();
    QGroupBox* moveGroup = ui::MakeGroup(QStringLiteral("移動タイプ"), moveLayout);

    auto* upgradeForm = new QFormLayout;
    const QStringList stages = editors::NumberItems(0, kUpgradeMax);
    for (int i = 0; i < 4; ++i) {
        const QString label = QString::fromUtf16(kUpgradeLabels[i]);
        auto* combo = new ui::ComboBox(label);
        combo->SetItems(stages);
        m_upgrades[i] = editors::ValueCombo(combo, {kUpgradeMax + 1, std::nullopt});
        upgradeForm->addRow(ui::MakeLabel(label, combo), combo);
    }
    QGroupBox* upgradeGroup = ui::MakeGroup(QStringLiteral("改造可能段階"), upgradeForm);

    const QString bonusLabel = QStringLiteral("フル改造ボーナス");
    auto* bonus = new ui::ComboBox(bonusLabel);
    tsumugi::CTextCodec codec(rom, romSize);
    QStringList bonusItems = editors::NameItems(codec, tsumugi::NameKind::FullBonus);
    bonusItems << QStringLiteral("無し(0xFF)");
    bonus->SetItems(bonusItems);
    editors::SetContentsLength(bonus, 20);
    m_fullBonus = editors::ValueCombo(bonus, {kFullBonusCount, editors::kNone8});
    auto* bonusLayout = new QVBoxLayout;
    bonusLayout->addWidget(bonus);
    QGroupBox* bonusGroup = ui::MakeGroup(bonusLabel, bonusLayout);

    // The groups join the page in reading order (numbers first), which is also the
    // order the Tab key visits them.
    auto* grid = new QGridLayout(this);
    grid->addLayout(numbers, 0, 0, 3, 1);
    grid->addWidget(m_pTerrain->Group(), 0, 1);
    grid->addWidget(moveGroup, 0, 2);
    grid->addWidget(upgradeGroup, 1, 1);
    grid->addWidget(bonusGroup, 2, 1, 1, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(3, 1);
}

void CUnitBasicPage::LoadRecord(const uint8_t* record) {
    editors::LoadNumbers(m_numbers, record);
    m_partSlots.Load(record[kPartSlots]);
    m_pTerrain->Load(tsumugi::Read16(record + kTerrain));
    for (int i = 0; i < 4; ++i) m_moveTypes[i]->SetCheck((record[kMoveTypes] >> i) & 1);
    for (int i = 0; i < 4; ++i) m_upgrades[i].Load(record[kUpgradeOffsets[i]]);
    m_fullBonus.Load(record[kFullBonus]);
}

bool CUnitBasicPage::StoreRecord(uint8_t* record) {
    std::vector<uint32_t> values;
    if (!editors::ReadNumbers(m_numbers, values)) return false;
    editors::WriteNumbers(m_numbers, values, record);
    tsumugi::Write16(record + kTerrain, m_pTerrain->Store());
    record[kPartSlots] = static_cast<uint8_t>(m_partSlots.Store());
    for (int i = 0; i < 4; ++i) record[kUpgradeOffsets[i]] = static_cast<uint8_t>(m_upgrades[i].Store());
    uint8_t moveTypes = 0;
    for (int i = 0; i < 4; ++i) {
        if (m_moveTypes[i]->GetCheck()) moveTypes |= static_cast<uint8_t>(1 << i);
    }
    record[kMoveTypes] = moveTypes;
    record[kFullBonus] = static_cast<uint8_t>(m_fullBonus.Store());
    return true;
}
