#include "editors/weapons/weapon_type_page.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "core/bytes.h"
#include "core/layout/units.h"
#include "core/text_codec.h"
#include "editors/common/record_editor.h"
#include "editors/weapons/weapon_type_names.h"
#include "ui/controls.h"

namespace {

using namespace tsumugi::layout::weapon_record;

// The flags of byte 30, bit 0 first: the first four boxes make the first row.
constexpr const char16_t* kFlagLabels[8] = {u"C武器", u"格闘", u"ミサイル", u"ビーム",
                                            u"必須",  u"射撃", u"?",        u"P武器"};
constexpr int kFlagsPerRow = 4;
constexpr int kNumberWidth = 50;  // three digits

// A group titled title holding one combo of that name, its items standing for 0, 1, ...
editors::ValueCombo ChoiceGroup(const QString& title, const QStringList& items,
                                editors::ComboMapping mapping, QGroupBox*& group) {
    auto* combo = new ui::ComboBox(title);
    combo->SetItems(items);
    combo->SetCurSel(0);
    auto* layout = new QVBoxLayout;
    layout->addWidget(combo);
    group = ui::MakeGroup(title, layout);
    return editors::ValueCombo(combo, mapping);
}

}  // namespace

CWeaponTypePage::CWeaponTypePage(const uint8_t* rom, uint32_t romSize, QWidget* parent)
    : QWidget(parent) {
    const QStringList grades = editors::TextItems(kGrowthItems);
    QStringList typeNames;
    tsumugi::CTextCodec codec(rom, romSize);
    for (const std::string& name : editors::ReadWeaponTypeNames(codec)) typeNames << editors::OneLineItem(name);

    QGroupBox* type1 = nullptr;
    QGroupBox* type2 = nullptr;
    QGroupBox* selection = nullptr;
    QGroupBox* cost = nullptr;
    QGroupBox* growth = nullptr;
    m_type1 = ChoiceGroup(QStringLiteral("武器タイプ１"), editors::TextItems(kType1Items),
                          {kType1Count, std::nullopt}, type1);
    m_type2 = ChoiceGroup(QStringLiteral("武器タイプ２"), typeNames,
                          {static_cast<int>(typeNames.size()), std::nullopt}, type2);
    editors::SetContentsLength(m_type2.Combo(), 12);
    m_selection = ChoiceGroup(QStringLiteral("選択"), editors::TextItems(kSelectionItems),
                              {kSelectionCount, std::nullopt}, selection);
    m_costType = ChoiceGroup(QStringLiteral("改造費用タイプ"), grades, {kGrowthCount, std::nullopt}, cost);
    m_growthType =
        ChoiceGroup(QStringLiteral("攻撃力上昇タイプ"), grades, {kGrowthCount, std::nullopt}, growth);

    // The groups join the page in reading order, which is also the order the Tab key
    // visits them.
    auto* grid = new QGridLayout(this);
    grid->addWidget(type1, 0, 0);
    grid->addWidget(type2, 0, 1);
    grid->addWidget(selection, 0, 2);
    grid->addWidget(cost, 1, 0);
    grid->addWidget(growth, 1, 1);
    grid->addWidget(CreateFlagGroup(), 2, 0, 1, 3);
    grid->addWidget(CreateMapGroup(), 3, 0, 1, 3);
    grid->setRowStretch(4, 1);
    for (int column = 0; column < 3; ++column) grid->setColumnStretch(column, 1);
}

QWidget* CWeaponTypePage::CreateFlagGroup() {
    auto* grid = new QGridLayout;
    for (int bit = 0; bit < 8; ++bit) {
        m_flags[bit] = new ui::CheckBox(QString::fromUtf16(kFlagLabels[bit]));
        grid->addWidget(m_flags[bit], bit / kFlagsPerRow, bit % kFlagsPerRow);
    }
    return ui::MakeGroup(QStringLiteral("P武器関連"), grid);
}

QWidget* CWeaponTypePage::CreateMapGroup() {
    const QString directionLabel = QStringLiteral("方向");
    auto* direction = new ui::ComboBox(directionLabel);
    direction->SetItems(editors::TextItems(kDirectionItems) << QStringLiteral("無効(0xFF)"));
    direction->SetCurSel(0);
    m_direction = editors::ValueCombo(direction, {kDirectionCount, kDirectionNone});

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(ui::MakeLabel(directionLabel, direction), direction);
    const std::pair<const char16_t*, uint32_t> numbers[] = {{u"形", kShape}, {u"エフェクト", kEffect}};
    for (size_t i = 0; i < m_mapNumbers.size(); ++i) {
        const QString label = QString::fromUtf16(numbers[i].first);
        auto* edit = new ui::Edit(label);
        edit->setFixedWidth(kNumberWidth);
        m_mapNumbers[i] = {edit, numbers[i].second, 1};
        form->addRow(ui::MakeLabel(label, edit), edit);
    }
    m_pFriendId = new ui::CheckBox(QStringLiteral("味方識別"));
    form->addRow(m_pFriendId);
    return ui::MakeGroup(QStringLiteral("マップ兵器関連"), form);
}

void CWeaponTypePage::LoadRecord(const uint8_t* record) {
    m_type1.Load(record[kType1]);
    m_type2.Load(record[kType2]);
    m_costType.Load(record[kCostType]);
    m_growthType.Load(record[kGrowthType]);
    m_selection.Load(record[kSelection]);
    for (int bit = 0; bit < 8; ++bit) m_flags[bit]->SetCheck((record[kFlags] >> bit) & 1);
    m_direction.Load(record[kDirection]);
    editors::LoadNumbers(m_mapNumbers, record);
    m_pFriendId->SetCheck(record[kFriendId] != 0);
}

void CWeaponTypePage::StoreChoices(uint8_t* record) const {
    record[kType1] = static_cast<uint8_t>(m_type1.Store());
    record[kType2] = static_cast<uint8_t>(m_type2.Store());
    record[kCostType] = static_cast<uint8_t>(m_costType.Store());
    record[kGrowthType] = static_cast<uint8_t>(m_growthType.Store());
    record[kSelection] = static_cast<uint8_t>(m_selection.Store());
    uint16_t flags = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (m_flags[bit]->GetCheck()) flags = static_cast<uint16_t>(flags | (1u << bit));
    }
    tsumugi::Write16(record + kFlags, flags);
    record[kDirection] = static_cast<uint8_t>(m_direction.Store());
}

bool CWeaponTypePage::StoreMapFields(uint8_t* record) {
    std::vector<uint32_t> values;
    if (!editors::ReadNumbers(m_mapNumbers, values)) return false;
    editors::WriteNumbers(m_mapNumbers, values, record);
    record[kFriendId] = m_pFriendId->GetCheck() ? 1 : 0;
    return true;
}
