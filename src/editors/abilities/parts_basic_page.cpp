#include "editors/abilities/parts_basic_page.h"

#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <tuple>

#include "core/bytes.h"
#include "core/layout/abilities.h"
#include "core/text_codec.h"
#include "editors/common/game_text_field.h"
#include "editors/common/record_editor.h"
#include "ui/controls.h"
#include "ui/text.h"

namespace {

using namespace tsumugi::layout::part_record;


// The number boxes in reading order, which is also the order they are checked in; the
// last one sits in the group "回復".
constexpr editors::NumberRow kNumberRows[CPartsBasicPage::kNumberCount] = {
    {u"売値", kPrice, 2},
    {u"HP＋", kHp, 2},
    {u"EN＋", kEn, 1},
    {u"運動性＋", kMobility, 1},
    {u"装甲＋", kArmour, 2},
    {u"移動力＋", kMovement, 1},
    {u"射程＋", kRange, 1},
    {u"命中＋", kHit, 1},
    {u"CT率＋", kCritical, 1},
    {u"気力＋", kMorale, 1},
    {u"SP回復量", kSpRecovery, 2},
};
constexpr int kBonusRows = CPartsBasicPage::kNumberCount - 1;

// The flags of the terrain byte and of the recovery byte, bit 0 first.
constexpr const char16_t* kTerrainLabels[CPartsBasicPage::kTerrainFlags] = {
    u"タイプ空", u"タイプ海", u"？？？", u"適応S", u"空A", u"陸A", u"海A", u"宇A"};
constexpr const char16_t* kRecoveryLabels[CPartsBasicPage::kRecoveryFlags] = {u"HP回復", u"EN回復",
                                                                              u"弾数回復"};

constexpr int kNumberWidth = 80;
constexpr int kTerrainColumns = 2;

template <size_t N>
uint8_t FlagBits(const std::array<ui::CheckBox*, N>& boxes) {
    uint8_t bits = 0;
    for (size_t i = 0; i < N; ++i) {
        if (boxes[i]->GetCheck()) bits |= static_cast<uint8_t>(1u << i);
    }
    return bits;
}

template <size_t N>
void ShowFlags(const std::array<ui::CheckBox*, N>& boxes, uint8_t bits) {
    for (size_t i = 0; i < N; ++i) boxes[i]->SetCheck((bits >> i) & 1);
}

}  // namespace

CPartsBasicPage::CPartsBasicPage(QWidget* parent) : QWidget(parent) {
    // The controls join the page in reading order, which is also the order the Tab key
    // visits them.
    auto* grid = new QGridLayout;
    grid->addWidget(CreateNameColumn(), 0, 0);
    grid->addWidget(CreateFlagColumn(), 0, 1);
    grid->addWidget(CreateDescriptions(), 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    setLayout(grid);
}

QWidget* CPartsBasicPage::CreateNameColumn() {
    auto* column = new QWidget;
    auto* form = new QFormLayout(column);
    form->setContentsMargins(0, 0, 0, 0);
    m_pName = new ui::Edit(QStringLiteral("名前"));
    m_pName->setMinimumWidth(QFontMetrics(m_pName->font()).horizontalAdvance(QChar(0x3042)) * 12);
    form->addRow(ui::MakeLabel(QStringLiteral("名前"), m_pName), m_pName);
    auto* type = new ui::ComboBox(QStringLiteral("タイプ"));
    type->SetItems(editors::TextItems(kTypeItems));
    form->addRow(ui::MakeLabel(QStringLiteral("タイプ"), type), type);
    // A type outside the list shows no item and keeps its byte.
    m_type = editors::ValueCombo(type, {kTypeCount, std::nullopt});
    editors::AddNumberRows(std::span(kNumberRows).first(kBonusRows),
                           std::span(m_numbers).first(kBonusRows), form, kNumberWidth);
    return column;
}

QWidget* CPartsBasicPage::CreateFlagColumn() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* terrain = new QGridLayout;
    for (int i = 0; i < kTerrainFlags; ++i) {
        m_terrain[i] = new ui::CheckBox(QString::fromUtf16(kTerrainLabels[i]));
        terrain->addWidget(m_terrain[i], i / kTerrainColumns, i % kTerrainColumns);
    }
    layout->addWidget(ui::MakeGroup(QStringLiteral("地形適応"), terrain));

    auto* recovery = new QVBoxLayout;
    for (int i = 0; i < kRecoveryFlags; ++i) {
        m_recovery[i] = new ui::CheckBox(QString::fromUtf16(kRecoveryLabels[i]));
        recovery->addWidget(m_recovery[i]);
    }
    auto* amount = new QFormLayout;
    editors::AddNumberRows(std::span(kNumberRows).subspan(kBonusRows),
                           std::span(m_numbers).subspan(kBonusRows), amount, kNumberWidth);
    recovery->addLayout(amount);
    layout->addWidget(ui::MakeGroup(QStringLiteral("回復"), recovery));
    layout->addStretch();
    return column;
}

QWidget* CPartsBasicPage::CreateDescriptions() {
    auto* box = new QWidget;
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pDescription1 = new ui::MultiEdit(QStringLiteral("説明１"));
    m_pDescription2 = new ui::MultiEdit(QStringLiteral("説明２"));
    int column = 0;
    for (ui::MultiEdit* edit : {m_pDescription1, m_pDescription2}) {
        // Room for the three lines a 64-byte description holds at most in practice.
        edit->setMinimumHeight(QFontMetrics(edit->font()).lineSpacing() * 3 + 16);
        edit->setMinimumWidth(QFontMetrics(edit->font()).horizontalAdvance(QChar(0x3042)) * 16);
        layout->addWidget(ui::MakeLabel(edit->accessibleName(), edit), 0, column);
        layout->addWidget(edit, 1, column);
        ++column;
    }
    layout->setRowStretch(1, 1);
    return box;
}

void CPartsBasicPage::LoadRecord(tsumugi::CTextCodec& codec, const uint8_t* record) {
    m_bNameEditable = editors::ShowGameText(codec, m_pName, record + kName, kNameLength);
    m_type.Load(record[kType]);
    editors::LoadNumbers(m_numbers, record);
    ShowFlags(m_terrain, record[kTerrain]);
    ShowFlags(m_recovery, record[kRecovery]);
    m_bDescription1Editable =
        editors::ShowGameText(codec, m_pDescription1, record + kDescription1, kDescriptionLength);
    m_bDescription2Editable =
        editors::ShowGameText(codec, m_pDescription2, record + kDescription2, kDescriptionLength);
}

bool CPartsBasicPage::StoreRecord(tsumugi::CTextCodec& codec, uint8_t* record, bool& renamed) {
    renamed = false;
    // Texts are compared over the whole field: filler after the terminator that is not
    // 0x00 is rewritten as 0x00.
    if (m_bNameEditable &&
        !editors::StoreGameText(codec, this, m_pName, record + kName, kNameLength,
                                ui::NameFailure(), &renamed)) {
        return false;
    }
    record[kType] = static_cast<uint8_t>(m_type.Store());

    std::vector<uint32_t> values;
    if (!editors::ReadNumbers(m_numbers, values)) return false;
    editors::WriteNumbers(m_numbers, values, record);
    // The terrain flags are the low byte of a word whose high byte the game keeps at 0.
    tsumugi::Write16(record + kTerrain, FlagBits(m_terrain));
    record[kRecovery] = FlagBits(m_recovery);

    for (const auto& [edit, editable, offset] :
         {std::tuple{m_pDescription1, m_bDescription1Editable, kDescription1},
          std::tuple{m_pDescription2, m_bDescription2Editable, kDescription2}}) {
        if (editable &&
            !editors::StoreGameText(codec, this, edit, record + offset, kDescriptionLength,
                                    ui::DescriptionFailure())) {
            return false;
        }
    }
    return true;
}

QString CPartsBasicPage::NameText() const { return m_pName->GetText(); }
