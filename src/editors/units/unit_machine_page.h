#pragma once
// Page "機体" of the unit editor: transfer restriction, shared transformation ID, size,
// BGM set, exclusive pilots and the unit's name.
#include <QWidget>
#include <array>
#include <cstdint>

#include "editors/common/record_editor.h"
#include "editors/common/value_combo.h"

class QStringListModel;

namespace ui {
class Edit;
}

class CUnitMachinePage : public QWidget {
    Q_OBJECT
public:
    CUnitMachinePage(const uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Shows the record. A name that the character table cannot fully decode is shown
    // with "・" and a disabled box, and is never written back.
    void LoadRecord(const uint8_t* record);

    // Encodes "機体名" into a zero-filled 32-byte buffer and copies all of it into the
    // record. False (with the conversion message) when a character has no code. changed
    // tells whether the 32 bytes differed from the record's.
    bool StoreName(uint8_t* record, bool& changed);
    QString NameText() const;

    // Validates the two number boxes (nothing written on failure), then writes bytes 40,
    // 41, 43, 44-47 and 38.
    bool StoreFields(uint8_t* record);

private:
    void CreateControls();

    const uint8_t* m_pRom;
    uint32_t m_nRomSize;
    bool m_bNameEditable = true;

    ui::Edit* m_pTransfer = nullptr;
    ui::Edit* m_pShareId = nullptr;
    editors::ValueCombo m_size;
    editors::ValueCombo m_bgmSet;
    QStringListModel* m_pPilotModel = nullptr;
    std::array<editors::ValueCombo, 4> m_pilots;
    ui::Edit* m_pName = nullptr;
};
