#pragma once
// Page "基本" of the weapon editor: the weapon's name, its numbers, range, required
// special skill and terrain ranks.
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "editors/common/record_editor.h"
#include "editors/common/terrain_ranks.h"
#include "editors/common/value_combo.h"

namespace ui {
class Edit;
}

class CWeaponBasicPage : public QWidget {
    Q_OBJECT
public:
    CWeaponBasicPage(const uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);
    ~CWeaponBasicPage() override;

    // Shows the record. A name that the character table cannot fully decode is shown
    // with "・" and a disabled box, and is never written back.
    void LoadRecord(const uint8_t* record);

    // Validates every number box of the page first: a bad one fails with nothing
    // written. Otherwise writes bytes 16-27, 3, 4, 5, 15, the required skill (14) and the
    // terrain ranks (28-29).
    bool StoreFields(uint8_t* record);

    // Encodes "名前" into a zero-filled 32-byte buffer and copies all of it into bytes
    // 32-63. False (with the conversion message, the focus on the box) when a character
    // has no code. changed tells whether the 32 bytes differed from the record's.
    bool StoreName(uint8_t* record, bool& changed);
    QString NameText() const;
    ui::Edit* NameEdit() const { return m_pName; }

private:
    void CreateControls();
    QLayout* CreateRangeRow();
    QWidget* CreateSkillGroup();

    const uint8_t* m_pRom;
    uint32_t m_nRomSize;
    bool m_bNameEditable = true;

    ui::Edit* m_pName = nullptr;
    // In reading order: the seven number rows, the two range boxes, then "LV"; the first
    // bad one is the one refused.
    std::array<editors::NumberField, 10> m_numbers{};
    editors::ValueCombo m_skill;
    std::unique_ptr<editors::TerrainGroup> m_pTerrain;
};
