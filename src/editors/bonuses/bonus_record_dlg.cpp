#include "editors/bonuses/bonus_record_dlg.h"

#include <vector>

#include "core/text_codec.h"
#include "editors/bonuses/record_name.h"
#include "ui/controls.h"

CBonusRecordDlg::CBonusRecordDlg(uint8_t* rom, uint32_t romSize, editors::RecordTable table,
                                 BonusNameField name, QWidget* parent)
    : editors::RecordListDlg(rom, romSize, table, parent), m_nameField(name) {}

void CBonusRecordDlg::BindFields(std::span<editors::NumberField> numbers, NameBox name) {
    m_numbers = numbers;
    m_nameBox = name;
}

void CBonusRecordDlg::ShowRecord(const uint8_t* record) {
    editors::LoadNumbers(m_numbers, record);
    ShowChoices(record);
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_bNameEditable = std::visit(
        [&](auto* box) {
            return editors::ShowGameText(codec, box, record + m_nameField.offset,
                                         m_nameField.length);
        },
        m_nameBox);
}

bool CBonusRecordDlg::StoreRecord() {
    uint8_t* record = Record(m_nShown);
    if (record == nullptr) return false;

    std::vector<uint32_t> values;
    if (!editors::ReadNumbers(m_numbers, values)) return false;
    editors::WriteNumbers(m_numbers, values, record);
    StoreChoices(record);

    if (!m_bNameEditable) return true;
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    return std::visit(
        [&](auto* box) {
            return editors::StoreRecordName(codec, this, box, record + m_nameField.offset,
                                            m_nameField.length, m_pList, m_nShown);
        },
        m_nameBox);
}

editors::ValueCombo MakeNoneChoice(const QString& label, const QStringList& items, int count,
                                   int characters) {
    auto* combo = new ui::ComboBox(label);
    combo->SetItems(items);
    combo->SetCurSel(0);
    editors::SetContentsLength(combo, characters);
    return editors::ValueCombo(combo, {count, editors::kNone8, true, true});
}
