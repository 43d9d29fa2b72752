#include "editors/units/unit_machine_page.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QStringListModel>
#include <QVBoxLayout>

#include "core/text_codec.h"
#include "editors/common/bgm_set_list.h"
#include "editors/common/game_text_field.h"
#include "editors/common/record_editor.h"
#include "core/layout/units.h"
#include "ui/controls.h"
#include "ui/number.h"
#include "ui/text.h"

namespace {

using namespace tsumugi::layout::unit_record;

// A group holding one control.
QGroupBox* SingleGroup(const QString& title, QWidget* control, QWidget* parent) {
    auto* layout = new QVBoxLayout;
    layout->addWidget(control);
    return ui::MakeGroup(title, layout, parent);
}

constexpr int kNumberWidth = 80;

}  // namespace

CUnitMachinePage::CUnitMachinePage(const uint8_t* rom, uint32_t romSize, QWidget* parent)
    : QWidget(parent), m_pRom(rom), m_nRomSize(romSize) {
    CreateControls();
}

void CUnitMachinePage::CreateControls() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);

    m_pName = new ui::Edit(QStringLiteral("機体名"));
    m_pTransfer = new ui::Edit(QStringLiteral("乗り換え制限"));
    m_pTransfer->setMaximumWidth(kNumberWidth);
    m_pShareId = new ui::Edit(QStringLiteral("変形機体共有ID"));
    m_pShareId->setMaximumWidth(kNumberWidth);

    auto* size = new ui::ComboBox(QStringLiteral("サイズ"));
    size->SetItems(editors::TextItems(kSizeItems));
    m_size = editors::ValueCombo(size, {kSizeCount, std::nullopt});

    auto* bgm = new ui::ComboBox(QStringLiteral("BGM"));
    bgm->SetItems(editors::BgmSetItems(codec));
    editors::SetContentsLength(bgm, 36);
    m_bgmSet = editors::ValueCombo(bgm, {tsumugi::layout::bgm_table::kSetCount, std::nullopt});

    QStringList pilots = editors::NameItems(codec, tsumugi::NameKind::Pilot);
    const int pilotCount = static_cast<int>(pilots.size());
    pilots << QStringLiteral("無し(0xFF)");
    m_pPilotModel = new QStringListModel(pilots, this);
    auto* pilotLayout = new QVBoxLayout;
    for (int i = 0; i < kPilotSlots; ++i) {
        auto* combo = new ui::ComboBox(QStringLiteral("専属パイロット%1").arg(i + 1));
        combo->ShareModel(m_pPilotModel);
        editors::SetContentsLength(combo, 20);
        combo->SetCurSel(0);
        m_pilots[i] = editors::ValueCombo(combo, {pilotCount, editors::kNone8});
        pilotLayout->addWidget(combo);
    }
    pilotLayout->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(SingleGroup(QStringLiteral("機体名"), m_pName, this), 0, 0, 1, 2);
    grid->addWidget(SingleGroup(QStringLiteral("乗り換え制限"), m_pTransfer, this), 1, 0);
    grid->addWidget(SingleGroup(QStringLiteral("変形機体共有ID"), m_pShareId, this), 2, 0);
    grid->addWidget(SingleGroup(QStringLiteral("サイズ"), size, this), 3, 0);
    grid->addWidget(SingleGroup(QStringLiteral("BGM"), bgm, this), 1, 1);
    grid->addWidget(ui::MakeGroup(QStringLiteral("専属パイロット"), pilotLayout, this), 2, 1, 2, 1);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(2, 1);
}

void CUnitMachinePage::LoadRecord(const uint8_t* record) {
    editors::LoadNumbers(std::array{editors::NumberField{m_pTransfer, kTransfer, 1},
                                    editors::NumberField{m_pShareId, kShareId, 1}},
                         record);
    m_size.Load(record[kUnitSize]);
    m_bgmSet.Load(record[kBgmSet]);
    for (int i = 0; i < kPilotSlots; ++i) m_pilots[i].Load(record[kPilots + i]);

    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_bNameEditable = editors::ShowGameText(codec, m_pName, record + kName, kNameLength);
}

bool CUnitMachinePage::StoreName(uint8_t* record, bool& changed) {
    changed = false;
    if (!m_bNameEditable) return true;
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    return editors::StoreGameText(codec, this, m_pName, record + kName, kNameLength,
                                  ui::NameFailure(), &changed);
}

QString CUnitMachinePage::NameText() const { return m_pName->GetText(); }

bool CUnitMachinePage::StoreFields(uint8_t* record) {
    uint32_t transfer = 0;
    uint32_t shareId = 0;
    if (!ui::ReadUInt(m_pTransfer, 0, 255, transfer) || !ui::ReadUInt(m_pShareId, 0, 255, shareId)) {
        return false;
    }
    record[kShareId] = static_cast<uint8_t>(shareId);
    record[kUnitSize] = static_cast<uint8_t>(m_size.Store());
    record[kBgmSet] = static_cast<uint8_t>(m_bgmSet.Store());
    for (int i = 0; i < kPilotSlots; ++i) record[kPilots + i] = static_cast<uint8_t>(m_pilots[i].Store());
    record[kTransfer] = static_cast<uint8_t>(transfer);
    return true;
}
