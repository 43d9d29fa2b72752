#pragma once
// Page "基本" of the enhancement-part editor: name, type, the bonuses, the terrain and
// recovery flags and the two description lines of one part record.
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "editors/common/record_editor.h"
#include "editors/common/value_combo.h"

namespace tsumugi {
class CTextCodec;
}

namespace ui {
class CheckBox;
class Edit;
class MultiEdit;
}  // namespace ui

class CPartsBasicPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kNumberCount = 11;
    static constexpr int kTerrainFlags = 8;
    static constexpr int kRecoveryFlags = 3;

    explicit CPartsBasicPage(QWidget* parent = nullptr);

    // Shows the record. A name or description the character table cannot fully decode
    // is shown locked and is never stored.
    void LoadRecord(tsumugi::CTextCodec& codec, const uint8_t* record);

    // Writes the page into the record in the game's order: the name, the type, the
    // numbers, the terrain word, the recovery flags, then the two descriptions. Each
    // failure (a name or description that cannot be converted, a refused number) shows
    // its message and leaves what was written before it. renamed tells whether the name's
    // bytes were replaced (also when a later step fails).
    bool StoreRecord(tsumugi::CTextCodec& codec, uint8_t* record, bool& renamed);

    // The name as typed.
    QString NameText() const;

private:
    QWidget* CreateNameColumn();
    QWidget* CreateFlagColumn();
    QWidget* CreateDescriptions();

    ui::Edit* m_pName = nullptr;
    editors::ValueCombo m_type;
    std::array<editors::NumberField, kNumberCount> m_numbers{};
    std::array<ui::CheckBox*, kTerrainFlags> m_terrain{};
    std::array<ui::CheckBox*, kRecoveryFlags> m_recovery{};
    ui::MultiEdit* m_pDescription1 = nullptr;
    ui::MultiEdit* m_pDescription2 = nullptr;
    bool m_bNameEditable = true;
    bool m_bDescription1Editable = true;
    bool m_bDescription2Editable = true;
};
