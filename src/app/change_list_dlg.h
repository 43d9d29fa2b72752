#pragma once
// "変更一覧": the codes recorded so far, each field they touch on a row with its old and
// new value, sortable by any column, filtered by category and written out as CSV.
#include <vector>

#include "core/change_explain.h"
#include "ui/dialog.h"

class QLabel;
class QTableWidget;

namespace ui {
class Button;
class ComboBox;
}  // namespace ui

namespace app {

class CChangeListDlg : public ui::Dialog {
    Q_OBJECT
public:
    // The columns of the table, in order.
    enum Column { kAddress, kCategory, kTable, kRecord, kName, kField, kBefore, kAfter, kColumnCount };

    explicit CChangeListDlg(std::vector<tsumugi::ChangeRow> rows, QWidget* parent = nullptr);

    // Shows only the rows of the filter's item: 0 all, 1-15 a category, the last item the
    // bytes no field owns.
    void ApplyFilter();
    // The rows the table shows, in the order it shows them.
    std::vector<tsumugi::ChangeRow> ShownRows() const;
    // "CSV出力": the rows shown, through the file chooser.
    void OnExportCsv();

private:
    void CreateControls();
    void FillTable();

    std::vector<tsumugi::ChangeRow> m_rows;
    ui::ComboBox* m_pFilter = nullptr;
    QTableWidget* m_pTable = nullptr;
    QLabel* m_pCount = nullptr;
};

}  // namespace app
