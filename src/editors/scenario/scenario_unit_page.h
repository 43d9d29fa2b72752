#pragma once
// Page "マップデータ" of the scenario data editor: the deployment list of one chapter (the
// units it places on its map) and the fields of the record selected in it. The record is
// written into the ROM buffer when the user leaves it, the chapter changes or OK is pressed.
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "editors/common/field_tips.h"
#include "editors/common/record_editor.h"
#include "editors/common/value_combo.h"

namespace ui {
class Button;
class ComboBox;
class Edit;
class ListBox;
}  // namespace ui

class CScenarioUnitPage : public QWidget {
    Q_OBJECT
public:
    CScenarioUnitPage(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Stores the record shown, then shows the deployment list at offset (0: none). A list
    // that runs past the image's end is not shown; one outside the scenario data is shown
    // read-only. Each says so in the page's note. False when the store failed.
    bool SetChapter(uint32_t offset);
    // An empty list with a one-line note, for a chapter whose list cannot be followed.
    bool ShowNone(const QString& note);
    // False when the user must correct a number; nothing is written then.
    bool StoreRecord();
    // The button above the list: lists unit names or pilot names.
    void ToggleListMode();

    bool IsReadOnly() const { return m_bReadOnly; }

private:
    enum class DropNames { None, Parts, Weapons };

    void CreateControls();
    QWidget* CreateFields();
    bool Show(uint32_t offset, QString note);
    void BuildList();
    void LoadRecord(int k);
    void FillDropItems();
    void OnSelChange();
    uint8_t* Record(int k) const;
    void SetNote(const QString& note);

    uint8_t* m_pRom;
    uint32_t m_nRomSize;
    uint32_t m_nOffset = 0;
    int m_nCount = 0;  // records before the terminator
    int m_nShown = -1;
    bool m_bUnitMode = true;
    bool m_bReadOnly = false;
    DropNames m_dropNames = DropNames::None;
    uint16_t m_nLoadedDrop = 0xFFFF;

    QStringList m_unitNames;
    QStringList m_pilotNames;
    QStringList m_partNames;
    QStringList m_weaponNames;

    ui::Button* m_pModeButton = nullptr;
    ui::ListBox* m_pList = nullptr;
    ui::Edit* m_pNote = nullptr;
    QWidget* m_pFields = nullptr;
    std::array<editors::NumberField, 11> m_numbers{};
    editors::ValueCombo m_side;
    editors::ValueCombo m_unit;
    editors::ValueCombo m_pilot;
    editors::ValueCombo m_unitUpgrade;
    editors::ValueCombo m_weaponUpgrade;
    ui::ComboBox* m_pDropKind = nullptr;
    ui::ComboBox* m_pDropItem = nullptr;
    std::unique_ptr<editors::FieldTips> m_pTips;
};
