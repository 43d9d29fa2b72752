#pragma once
// The find box above a record list: typing selects the first record at or after the
// current one whose list text contains what was typed; "#123" or "#x7B" goes to that
// record number. A move goes through the list exactly as a user's click would, so the
// editor stores the record shown first and may refuse to move.
#include <QLineEdit>
#include <QStringList>
#include <optional>

class QBoxLayout;
class QKeyEvent;

namespace ui {
class ListBox;
}

namespace editors {

// The record number written as "#123" (decimal) or "#x7B" (hexadecimal), full-width or
// not, or nothing when text is not such a number. In the find box a text starting with
// "#" only ever asks for a record number.
std::optional<int> RecordNumber(const QString& text);

class FindBox : public QLineEdit {
    Q_OBJECT
public:
    // The box finds in list; Ctrl+F puts the focus in it while scope (a window, or a page
    // of one: a hidden page takes no keys) is shown.
    FindBox(ui::ListBox* list, QWidget* scope);

    // The next (or previous) match after the current record. Returns whether one was found.
    bool FindNext(bool backwards = false);
    bool NotFound() const { return m_bNotFound; }
    ui::ListBox* List() const { return m_pList; }

    // The row "検索" (label and box) to stand above the list.
    QBoxLayout* MakeRow();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Finds from the record at step from the current one (0: the current one itself).
    bool Find(int step, bool backwards);
    void ShowFound(bool found);

    ui::ListBox* m_pList;
    bool m_bNotFound = false;
};

}  // namespace editors
