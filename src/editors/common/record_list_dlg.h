#pragma once
// A record editor: the list of a table's records beside the controls that show the one
// selected, over OK and ｷｬﾝｾﾙ. Moving to another record or pressing OK stores the
// record shown into the ROM buffer.
#include <QSize>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "ui/dialog.h"

namespace ui {
class ListBox;
}

namespace editors {

class FieldTips;

// Where a table of fixed-size records lies in the ROM.
struct RecordTable {
    uint32_t base = 0;
    uint32_t size = 0;
    int count = 0;
};

class RecordListDlg : public ui::Dialog {
    Q_OBJECT
public:
    // Stores the record shown, if any, and shows the list's selection; stays on the
    // record shown when the store fails.
    virtual void LoadRecord();
    // Writes the controls into the record shown; a failure leaves what was written before
    // it.
    virtual bool StoreRecord() = 0;

protected:
    RecordListDlg(uint8_t* rom, uint32_t romSize, RecordTable table, QWidget* parent);
    ~RecordListDlg() override;

    // Titles the window and lays it out: the record list (titled listTitle, holding items,
    // at least listSize) beside data, over OK and ｷｬﾝｾﾙ. A selection change runs
    // LoadRecord, OK stores and closes when MayClose allows, ｷｬﾝｾﾙ runs OnCancel.
    void CreateFrame(const QString& title, const QString& listTitle, const QStringList& items,
                     QSize listSize, QWidget* data);
    // Selects the first record and shows it.
    void ShowFirstRecord();

    // Record index of the table, or null when it does not lie wholly inside the ROM image.
    uint8_t* Record(int index) const;
    // Shows record, the one m_nShown now names.
    virtual void ShowRecord(const uint8_t* record) = 0;
    // Whether OK may close the window: with no record shown, or when the record stores.
    virtual bool MayClose();

    uint8_t* m_pRom;
    uint32_t m_nRomSize;
    int m_nShown = -1;
    ui::ListBox* m_pList = nullptr;

private:
    void OnOkButton();

    RecordTable m_table;
    // Each field control's tooltip: where its field lies in the record shown.
    std::unique_ptr<FieldTips> m_pTips;
};

}  // namespace editors
