#pragma once
// The pilot status editor: the list of the 176 pilots beside one group of controls that
// shows the selected record. Moving to another pilot or pressing OK stores the record
// shown into the ROM buffer.
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>

#include "editors/common/record_editor.h"
#include "editors/common/record_list_dlg.h"
#include "editors/common/terrain_ranks.h"
#include "editors/common/value_combo.h"

namespace ui {
class CheckBox;
class Edit;
}  // namespace ui

class CPilotStatusDlg : public editors::RecordListDlg {
    Q_OBJECT
public:
    CPilotStatusDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);
    ~CPilotStatusDlg() override;

    // Combos first, then the number boxes, then the texts; a failure leaves what was
    // written before it.
    bool StoreRecord() override;

private:
    void CreateControls();
    QWidget* CreateDataGroup();
    void ShowRecord(const uint8_t* record) override;
    // Encodes edit's text into a zero-filled scratch buffer and copies all of the field's
    // bytes only when the text differs from the field's up to its terminator. changed
    // tells whether it did.
    bool StoreText(ui::Edit* edit, uint8_t* field, int limit, bool& changed);

    bool m_bNicknameEditable = true;
    bool m_bNameEditable = true;

    editors::ValueCombo m_growth;
    editors::ValueCombo m_personality;
    ui::CheckBox* m_pFemale = nullptr;
    editors::ValueCombo m_aceBonus;
    std::unique_ptr<editors::TerrainGroup> m_pTerrain;
    editors::ValueCombo m_bgmSet;
    std::array<editors::NumberField, 9> m_numbers{};
    ui::Edit* m_pNickname = nullptr;
    ui::Edit* m_pName = nullptr;
};

// The 16 personality names of the ROM for display, slot order ("Error" for a slot past
// the end of the image).
QStringList PersonalityNames(const uint8_t* rom, uint32_t romSize);
