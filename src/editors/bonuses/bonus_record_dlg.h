#pragma once
// What the ace bonus and full-upgrade bonus editors share: a record of number boxes, a few
// choices and a name, and the order a store writes them in.
#include <QStringList>
#include <cstdint>
#include <span>
#include <variant>

#include "editors/common/record_editor.h"
#include "editors/common/record_list_dlg.h"
#include "editors/common/value_combo.h"

namespace ui {
class Edit;
class MultiEdit;
}  // namespace ui

// Where a record keeps its name: the field's offset and length in bytes.
struct BonusNameField {
    uint32_t offset = 0;
    int length = 0;
};

class CBonusRecordDlg : public editors::RecordListDlg {
    Q_OBJECT
public:
    // Reads every number box first (a refused one writes nothing), then writes the
    // numbers and the choices, then the name. A name that cannot be converted fails after
    // the rest is written.
    bool StoreRecord() override;

protected:
    // The box that shows the name: one line or several.
    using NameBox = std::variant<ui::Edit*, ui::MultiEdit*>;

    CBonusRecordDlg(uint8_t* rom, uint32_t romSize, editors::RecordTable table, BonusNameField name,
                    QWidget* parent);

    // Binds the number boxes, in the order they are read and written, and the name box.
    // Called once the controls exist, before the first record is shown.
    void BindFields(std::span<editors::NumberField> numbers, NameBox name);

    // Shows, then writes, whatever the record holds besides its numbers and name.
    virtual void ShowChoices(const uint8_t* record) = 0;
    virtual void StoreChoices(uint8_t* record) = 0;

private:
    void ShowRecord(const uint8_t* record) final;

    BonusNameField m_nameField;
    std::span<editors::NumberField> m_numbers;
    NameBox m_nameBox;
    // A name holding codes the character table lacks is shown locked and never stored.
    bool m_bNameEditable = true;
};

// A combo for a choice that can be "無し(0xFF)": items stands for values 0 .. count-1 and
// then the none item; the value count also shows the none item, and an empty combo stores
// 0xFF. It is sized for characters characters and starts on its first item.
editors::ValueCombo MakeNoneChoice(const QString& label, const QStringList& items, int count,
                                   int characters);
