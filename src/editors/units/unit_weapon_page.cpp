#include "editors/units/unit_weapon_page.h"

#include <QStringListModel>
#include <QVBoxLayout>

#include "core/bytes.h"
#include "core/text_codec.h"
#include "editors/common/record_editor.h"
#include "editors/common/weapon_name_list.h"
#include "ui/controls.h"

using namespace tsumugi::layout::unit_record;

CUnitWeaponPage::CUnitWeaponPage(const uint8_t* rom, uint32_t romSize, QWidget* parent)
    : QWidget(parent) {
    tsumugi::CTextCodec codec(rom, romSize);
    m_pModel = editors::NewWeaponChoiceModel(codec, this);

    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < kWeaponSlots; ++i) {
        // The slots carry no visible label; the accessible name tells them apart.
        auto* combo = new ui::ComboBox(QStringLiteral("武器%1").arg(i + 1), this);
        combo->ShareModel(m_pModel);
        editors::SetContentsLength(combo, 24);
        combo->SetCurSel(0);
        m_weapons[i] = editors::ValueCombo(combo, editors::WeaponChoiceMapping());
        layout->addWidget(combo, 0, Qt::AlignLeft);
    }
    layout->addStretch();
}

void CUnitWeaponPage::LoadRecord(const uint8_t* record) {
    for (int i = 0; i < kWeaponSlots; ++i) m_weapons[i].Load(tsumugi::Read16(record + kWeapons + 2 * i));
}

void CUnitWeaponPage::StoreRecord(uint8_t* record) const {
    for (int i = 0; i < kWeaponSlots; ++i) {
        tsumugi::Write16(record + kWeapons + 2 * i, static_cast<uint16_t>(m_weapons[i].Store()));
    }
}
