#include "editors/bonuses/ace_bonus_dlg.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>
#include <span>

#include "core/layout/bonuses.h"
#include "core/text_codec.h"
#include "ui/controls.h"

namespace {

using namespace tsumugi::layout::ace_record;

// The number boxes in the order they are read and written: the boosts of bytes 0-15 in
// two columns, then the boxes that sit beside the two choices, then the movement bonus.
constexpr editors::NumberRow kNumberRows[] = {
    {u"格闘+%", kMelee, 1},          {u"射撃+%", kShooting, 1},
    {u"反撃+%", kCounter, 1},        {u"念動+%", kPsychic, 1},
    {u"援攻+%", kSupportAttack, 1},  {u"被ダメージ-%", kDamageTaken, 1},
    {u"援防+%", kSupportDefence, 1}, {u"間接攻撃の被ダメージ-%", kIndirectDamageTaken, 1},
    {u"命中+%", kAccuracy, 1},       {u"最終命中+%", kFinalHit, 1},
    {u"回避+%", kEvasion, 1},        {u"最終回避+%", kFinalEvasion, 1},
    {u"CT補正+%", kCritical, 1},     {u"EXP+%", kExperience, 1},
    {u"資金+%", kMoney, 1},          {u"SP+", kSpBonus, 1},
    {u"消費SP", kSpiritCost, 1},     {u"補正+%", kSkillBoost, 1},
    {u"移動力+", kMovement, 1},
};
static_assert(std::size(kNumberRows) == 19);
constexpr size_t kBoosts = 16, kColumnRows = 8, kSpiritCostRow = 16, kSkillBoostRow = 17,
                 kMovementRow = 18;

constexpr int kNumberWidth = 60;
constexpr int kComboCharacters = 16;

// The combo of a group: the record names, then "無し(0xFF)". The value one past the last
// record also shows "無し(0xFF)", and an empty combo stores 0xFF.
editors::ValueCombo MakeChoice(const QString& title, QStringList items, QFormLayout* form) {
    const int count = static_cast<int>(items.size());
    items << QStringLiteral("無し(0xFF)");
    editors::ValueCombo choice = MakeNoneChoice(title, items, count, kComboCharacters);
    form->addRow(choice.Combo());
    return choice;
}

}  // namespace

CAceBonusDlg::CAceBonusDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : CBonusRecordDlg(rom, romSize, {kBase, kSize, kCount}, {kName, kNameLength}, parent) {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    CreateFrame(QStringLiteral("エースボーナス"), QStringLiteral("エースボーナス"),
                editors::NameItems(codec, tsumugi::NameKind::AceBonus), QSize(260, 420),
                CreateDataGroup());
    BindFields(m_numbers, m_pName);
    ShowFirstRecord();
}

QWidget* CAceBonusDlg::CreateDataGroup() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    const std::span<const editors::NumberRow> rows(kNumberRows);
    const std::span<editors::NumberField> fields(m_numbers);

    // The controls join the group in reading order, which is also the order the Tab key
    // visits them.
    auto* left = editors::MakeForm();
    auto* right = editors::MakeForm();
    editors::AddNumberRows(rows.first(kColumnRows), fields.first(kColumnRows), left, kNumberWidth);
    editors::AddNumberRows(rows.subspan(kColumnRows, kBoosts - kColumnRows),
                           fields.subspan(kColumnRows, kBoosts - kColumnRows), right, kNumberWidth);

    auto* spirit = editors::MakeForm();
    m_spirit = MakeChoice(QStringLiteral("補正精神コマンド"),
                          editors::NameItems(codec, tsumugi::NameKind::Spirit), spirit);
    editors::AddNumberRows(rows.subspan(kSpiritCostRow, 1), fields.subspan(kSpiritCostRow, 1),
                           spirit, kNumberWidth);
    auto* skill = editors::MakeForm();
    m_skill = MakeChoice(QStringLiteral("補正特殊技能"),
                         editors::NameItems(codec, tsumugi::NameKind::Skill), skill);
    editors::AddNumberRows(rows.subspan(kSkillBoostRow, 1), fields.subspan(kSkillBoostRow, 1),
                           skill, kNumberWidth);
    auto* movement = editors::MakeForm();
    editors::AddNumberRows(rows.subspan(kMovementRow, 1), fields.subspan(kMovementRow, 1), movement,
                           kNumberWidth);

    m_pName = new ui::MultiEdit(QStringLiteral("名前"));
    m_pName->setMinimumSize(300, 110);
    auto* name = new QVBoxLayout;
    name->addWidget(m_pName);

    auto* choices = new QVBoxLayout;
    choices->addWidget(ui::MakeGroup(QStringLiteral("補正精神コマンド"), spirit));
    choices->addWidget(ui::MakeGroup(QStringLiteral("補正特殊技能"), skill));
    choices->addLayout(movement);
    choices->addStretch();

    auto* grid = new QGridLayout;
    auto* data = ui::MakeGroup(QStringLiteral("データ"), grid);
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addLayout(choices, 0, 2);
    grid->addWidget(ui::MakeGroup(QStringLiteral("名前"), name), 1, 0, 1, 3);
    grid->setRowStretch(1, 1);
    grid->setHorizontalSpacing(16);
    return data;
}

void CAceBonusDlg::ShowChoices(const uint8_t* record) {
    m_spirit.Load(record[kSpirit]);
    m_skill.Load(record[kSkill]);
}

void CAceBonusDlg::StoreChoices(uint8_t* record) {
    record[kSpirit] = static_cast<uint8_t>(m_spirit.Store());
    record[kSkill] = static_cast<uint8_t>(m_skill.Store());
}
