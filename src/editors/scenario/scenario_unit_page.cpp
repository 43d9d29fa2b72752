#include "editors/scenario/scenario_unit_page.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/bytes.h"
#include "core/layout/list_fields.h"
#include "core/layout/scenario.h"
#include "core/layout/units.h"
#include "core/layout/pilots.h"
#include "core/regions.h"
#include "core/scenario_lists.h"
#include "core/text_codec.h"
#include "editors/common/find_box.h"
#include "editors/common/weapon_name_list.h"
#include "ui/controls.h"

namespace {

using namespace tsumugi::layout::deploy_record;

constexpr int kUnitCount = tsumugi::layout::unit_record::kCount;
constexpr int kPilotCount = tsumugi::layout::pilot_record::kCount;
constexpr int kUpgradeMax = 10;
constexpr int kSideCount = 4;
constexpr uint16_t kNoDrop = 0xFFFF;
constexpr uint16_t kKindShift = 12, kItemMask = 0xFFF;
enum DropKind { kDropNone = 0, kDropPartKind = 1, kDropWeaponKind = 2 };

// The number boxes in the order they are written: bytes 0, 9, 10, 11, 12, 13, 14, 16, 6,
// 15, 17. The phase box stands beside the side list; the others form a column.
constexpr editors::NumberRow kPhaseRow = {u"フェーズ？", kPhase, 1};
constexpr editors::NumberRow kNumberRows[] = {
    {u"LV", kLevel, 1},          {u"撃墜数", kKills, 1},        {u"PP", kPp, 1},
    {u"X座標", kX, 1},           {u"Y座標", kY, 1},             {u"空陸?", kAirGround, 1},
    {u"行動パターン？", kAction, 1}, {u"??\?(2)", kUnnamed2, 1},    {u"??\?(3)", kUnnamed3, 1},
    {u"??\?(5)", kUnnamed5, 1},
};

constexpr int kNumberWidth = 60;  // pixels: room for three digits

QString S(const char16_t* text) { return QString::fromUtf16(text); }

QString NoneItem() { return QStringLiteral("無し(0xFF)"); }

}  // namespace

CScenarioUnitPage::CScenarioUnitPage(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : QWidget(parent), m_pRom(rom), m_nRomSize(romSize) {
    tsumugi::CTextCodec codec(rom, romSize);
    m_unitNames = editors::NameItems(codec, tsumugi::NameKind::Unit);
    m_pilotNames = editors::NameItems(codec, tsumugi::NameKind::Pilot);
    m_partNames = editors::NameItems(codec, tsumugi::NameKind::Part);
    m_weaponNames = editors::WeaponNameItems(codec);
    CreateControls();
}

void CScenarioUnitPage::CreateControls() {
    m_pModeButton = new ui::Button(S(u"ユニット"));
    m_pList = new ui::ListBox(S(u"配置"));
    m_pList->setMinimumSize(200, 360);
    m_pNote = new ui::Edit(S(u"注意"));
    m_pNote->setReadOnly(true);
    m_pNote->setFrame(false);
    m_pNote->setVisible(false);

    auto* left = new QVBoxLayout;
    left->addWidget(m_pModeButton);
    left->addLayout((new editors::FindBox(m_pList, this))->MakeRow());
    left->addWidget(m_pList, 1);

    m_pFields = CreateFields();
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(m_pFields, 1);
    // The note runs under the whole page, so a long one is not cut at the list's edge.
    auto* top = new QVBoxLayout(this);
    top->addLayout(body, 1);
    top->addWidget(m_pNote);

    connect(m_pModeButton, &QPushButton::clicked, this, &CScenarioUnitPage::ToggleListMode);
    connect(m_pList, &ui::ListBox::SelChange, this, &CScenarioUnitPage::OnSelChange);
    connect(m_pDropKind, &ui::ComboBox::SelChange, this, &CScenarioUnitPage::FillDropItems);
    m_pTips = std::make_unique<editors::FieldTips>(m_pFields, tsumugi::layout::DeployFields());
    m_pTips->ShowAt(std::nullopt);
}

QWidget* CScenarioUnitPage::CreateFields() {
    auto* fields = new QWidget;

    auto* phase = new ui::Edit(S(kPhaseRow.label));
    phase->setFixedWidth(kNumberWidth);
    m_numbers[0] = {phase, kPhaseRow.offset, kPhaseRow.width};
    auto* side = new ui::ComboBox(S(u"陣営"));
    side->SetItems({S(u"味方"), S(u"敵"), S(u"味方(操作不可)"), S(u"中立")});
    m_side = editors::ValueCombo(side, {kSideCount, std::nullopt});
    side->SetCurSel(-1);
    auto* phaseRow = new QHBoxLayout;
    phaseRow->addWidget(phase);
    phaseRow->addWidget(side, 1);

    auto* unit = new ui::ComboBox(S(u"ユニット"));
    unit->SetItems(m_unitNames + QStringList{NoneItem()});
    editors::SetContentsLength(unit, 18);
    m_unit = editors::ValueCombo(unit, {kUnitCount, editors::kNone16});
    auto* pilot = new ui::ComboBox(S(u"パイロット"));
    pilot->SetItems(m_pilotNames + QStringList{NoneItem()});
    editors::SetContentsLength(pilot, 18);
    m_pilot = editors::ValueCombo(pilot, {kPilotCount, editors::kNone16});
    unit->SetCurSel(0);
    pilot->SetCurSel(0);

    auto* who = editors::MakeForm();
    who->addRow(ui::MakeLabel(S(kPhaseRow.label), phase), phaseRow);
    who->addRow(ui::MakeLabel(S(u"ユニット"), unit), unit);
    who->addRow(ui::MakeLabel(S(u"パイロット"), pilot), pilot);

    const QStringList stages = editors::NumberItems(0, kUpgradeMax);
    auto* unitUpgrade = new ui::ComboBox(S(u"ユニット"));
    unitUpgrade->SetItems(stages);
    m_unitUpgrade = editors::ValueCombo(unitUpgrade, {kUpgradeMax + 1, std::nullopt});
    auto* weaponUpgrade = new ui::ComboBox(S(u"武器"));
    weaponUpgrade->SetItems(stages);
    m_weaponUpgrade = editors::ValueCombo(weaponUpgrade, {kUpgradeMax + 1, std::nullopt});
    unitUpgrade->SetCurSel(0);
    weaponUpgrade->SetCurSel(0);
    auto* upgradeForm = editors::MakeForm();
    upgradeForm->addRow(ui::MakeLabel(S(u"ユニット"), unitUpgrade), unitUpgrade);
    upgradeForm->addRow(ui::MakeLabel(S(u"武器"), weaponUpgrade), weaponUpgrade);
    QGroupBox* upgradeGroup = ui::MakeGroup(S(u"改造段階"), upgradeForm);

    auto* numbers = editors::MakeForm();
    editors::AddNumberRows(kNumberRows, std::span(m_numbers).subspan(1), numbers, kNumberWidth);

    m_pDropKind = new ui::ComboBox(S(u"種類"));
    m_pDropKind->SetItems({S(u"無し"), S(u"強化パーツ"), S(u"武器")});
    m_pDropKind->SetCurSel(-1);
    m_pDropItem = new ui::ComboBox(S(u"アイテム"));
    editors::SetContentsLength(m_pDropItem, 18);
    m_pDropItem->setEnabled(false);
    auto* dropLayout = new QHBoxLayout;
    dropLayout->addWidget(m_pDropKind);
    dropLayout->addWidget(m_pDropItem, 1);
    QGroupBox* dropGroup = ui::MakeGroup(S(u"落とすアイテム"), dropLayout);

    // Reading order is also the order the Tab key visits the controls.
    auto* grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addLayout(who, 0, 0, 1, 2);
    grid->addWidget(upgradeGroup, 1, 0, Qt::AlignTop);
    grid->addLayout(numbers, 1, 1, 2, 1);
    grid->addWidget(dropGroup, 3, 0, 1, 2);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
    return fields;
}

uint8_t* CScenarioUnitPage::Record(int k) const {
    if (m_nOffset == 0) return nullptr;
    return editors::RecordAt(m_pRom, m_nRomSize, m_nOffset, kSize, m_nCount, k);
}

void CScenarioUnitPage::SetNote(const QString& note) {
    m_pNote->SetText(note);
    m_pNote->setCursorPosition(0);
    m_pNote->setVisible(!note.isEmpty());
}

bool CScenarioUnitPage::SetChapter(uint32_t offset) { return Show(offset, QString()); }

bool CScenarioUnitPage::ShowNone(const QString& note) { return Show(0, note); }

bool CScenarioUnitPage::Show(uint32_t offset, QString note) {
    if (m_nOffset != 0 && !StoreRecord()) return false;
    m_nShown = -1;
    m_nCount = 0;
    m_bReadOnly = false;
    if (offset != 0) {
        const tsumugi::DeployScan scan = tsumugi::ScanDeployList(m_pRom, m_nRomSize, offset);
        if (scan.pastImage) {
            // A list without its terminator inside the image is damaged: nothing of it is shown.
            offset = 0;
            note = S(u"配置データがROMの終わりを越えているため表示できません。");
        } else {
            m_nCount = scan.count;
            m_bReadOnly = !tsumugi::WritableFor(tsumugi::category::kScenario, offset,
                                                kSize * static_cast<uint32_t>(scan.count), m_nRomSize);
            if (m_bReadOnly) note = S(u"配置データがシナリオデータの領域外にあるため編集できません。");
        }
    }
    m_nOffset = offset;
    SetNote(note);
    BuildList();
    m_pList->SetCurSel(0);
    OnSelChange();
    // Without a record (an empty list) the fields still hold the last record shown; they are
    // greyed so that nothing suggests they belong to this chapter.
    m_pFields->setEnabled(!m_bReadOnly && m_nShown >= 0);
    if (m_nShown < 0) m_pTips->ShowAt(std::nullopt);
    return true;
}

void CScenarioUnitPage::BuildList() {
    m_pList->ResetContent();
    if (m_nOffset == 0) return;
    const QStringList& names = m_bUnitMode ? m_unitNames : m_pilotNames;
    const uint32_t field = m_bUnitMode ? kUnit : kPilot;
    QStringList items;
    for (int k = 0; k < m_nCount; ++k) {
        const uint16_t value = tsumugi::Read16(Record(k) + field);
        if (value == editors::kNone16) {
            items << QStringLiteral("無し(0xFFFF)");
        } else if (value >= names.size()) {
            break;  // a number past the name table ends the list
        } else {
            items << names[value];
        }
    }
    m_pList->SetItems(items);
}

void CScenarioUnitPage::OnSelChange() {
    if (m_nOffset == 0) return;
    const std::optional<int> next =
        editors::StoreAndMove(m_pList, m_nShown, [this] { return StoreRecord(); });
    if (!next) return;
    LoadRecord(*next);
}

void CScenarioUnitPage::LoadRecord(int k) {
    const uint8_t* record = Record(k);
    if (record == nullptr) return;
    m_nShown = k;
    m_pTips->ShowAt(m_nOffset + kSize * static_cast<uint32_t>(k));
    editors::LoadNumbers(m_numbers, record);
    m_pilot.Load(tsumugi::Read16(record + kPilot));
    m_unit.Load(tsumugi::Read16(record + kUnit));
    m_side.Load(record[kSide]);
    m_weaponUpgrade.Load(record[kWeaponUpgrade]);
    m_unitUpgrade.Load(record[kUnitUpgrade]);

    // A kind the list does not offer (0 beside an item, or 3-15) shows no selection and
    // keeps the value as it is.
    m_nLoadedDrop = tsumugi::Read16(record + kDrop);
    const int kind = m_nLoadedDrop == kNoDrop ? kDropNone : m_nLoadedDrop >> kKindShift;
    const bool listed = m_nLoadedDrop == kNoDrop || kind == kDropPartKind || kind == kDropWeaponKind;
    m_pDropKind->SetCurSel(listed ? kind : -1);
    FillDropItems();
    if (kind == kDropPartKind || kind == kDropWeaponKind) m_pDropItem->SetCurSel(m_nLoadedDrop & kItemMask);
}

void CScenarioUnitPage::FillDropItems() {
    const int kind = m_pDropKind->GetCurSel();
    if (kind != kDropPartKind && kind != kDropWeaponKind) {
        m_pDropItem->SetCurSel(-1);
        m_pDropItem->setEnabled(false);
        return;
    }
    m_pDropItem->setEnabled(true);
    const DropNames wanted = kind == kDropPartKind ? DropNames::Parts : DropNames::Weapons;
    if (m_dropNames != wanted) {
        m_pDropItem->SetItems(kind == kDropPartKind ? m_partNames : m_weaponNames);
        m_dropNames = wanted;
    }
    m_pDropItem->SetCurSel(0);
}

bool CScenarioUnitPage::StoreRecord() {
    uint8_t* record = Record(m_nShown);
    if (record == nullptr || m_bReadOnly) return true;
    std::vector<uint32_t> values;
    if (!editors::ReadNumbers(m_numbers, values)) return false;
    editors::WriteNumbers(m_numbers, values, record);

    const uint16_t pilot = static_cast<uint16_t>(m_pilot.Store());
    if (pilot != tsumugi::Read16(record + kPilot) && !m_bUnitMode)
        m_pList->SetText(m_nShown, m_pilot.Combo()->currentText());
    tsumugi::Write16(record + kPilot, pilot);
    const uint16_t unit = static_cast<uint16_t>(m_unit.Store());
    if (unit != tsumugi::Read16(record + kUnit) && m_bUnitMode)
        m_pList->SetText(m_nShown, m_unit.Combo()->currentText());
    tsumugi::Write16(record + kUnit, unit);

    record[kSide] = static_cast<uint8_t>(m_side.Store());
    record[kWeaponUpgrade] = static_cast<uint8_t>(m_weaponUpgrade.Store());
    record[kUnitUpgrade] = static_cast<uint8_t>(m_unitUpgrade.Store());

    const int kind = m_pDropKind->GetCurSel();
    uint16_t drop = m_nLoadedDrop;
    if (kind == kDropNone) {
        drop = kNoDrop;
    } else if (kind == kDropPartKind || kind == kDropWeaponKind) {
        // An item number past the list shows no selection and keeps its bits.
        const int item = m_pDropItem->GetCurSel();
        const uint16_t bits = item >= 0 ? static_cast<uint16_t>(item) : m_nLoadedDrop & kItemMask;
        drop = static_cast<uint16_t>((kind << kKindShift) | (bits & kItemMask));
    }
    tsumugi::Write16(record + kDrop, drop);
    return true;
}

void CScenarioUnitPage::ToggleListMode() {
    m_bUnitMode = !m_bUnitMode;
    const int selected = m_pList->GetCurSel();
    BuildList();
    m_pList->SetCurSel(selected);
    const QString label = m_bUnitMode ? S(u"ユニット") : S(u"パイロット");
    m_pModeButton->setText(label);
    ui::SetLabel(m_pModeButton, label);
}
