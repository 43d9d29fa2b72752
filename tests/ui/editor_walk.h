#pragma once
// Drives an open editor the way a user or a screen reader does: by the controls' accessible
// names and through the same signals a click or a key would give. The walk moves every
// record chooser through all its rows and shows every page of every tab strip, then the
// caller presses OK or ｷｬﾝｾﾙ. Plain Qt and the program's controls only (no test framework),
// so that fuzz targets can link it too.
#include <QString>
#include <vector>

class QDialog;
class QWidget;

namespace ui {
class ComboBox;
class ListBox;
class TabCtrl;
}  // namespace ui

namespace testing_ui {

struct WalkLimits {
    // Rows visited in each chooser, spread evenly over it with the first and the last
    // always among them; 0 visits every row.
    int rowsPerChooser = 0;
};

struct WalkResult {
    int choosers = 0;  // record lists, record combos and tab strips found
    int moves = 0;     // rows and pages chosen
    int refused = 0;   // moves after which the chooser did not stand on the row chosen
};

// The choosers of a dialog in the order the Tab key reaches them: every record list, every
// tab strip, and the combos that choose a record rather than hold a field (the scenario
// editor's chapter). The first one is the outer chooser: for each of its rows the walk
// goes through every row of each of the others in turn.
WalkResult WalkEditor(QDialog* dialog, const WalkLimits& limits = {});

// The choosers WalkEditor walks, outer first.
std::vector<QWidget*> Choosers(QDialog* dialog);
// A chooser's rows (items, pages), the one it stands on (-1: none), and the user's choice
// of one; true when it stands there afterwards.
int RowCount(QWidget* chooser);
int CurrentRow(QWidget* chooser);
bool Choose(QWidget* chooser, int row);
// Brings forward the tab pages that hold w, outermost first, as the user does before
// reaching a control on a hidden page. False when a page refused to come forward.
bool Reveal(QWidget* w);

// The user's choice of a row, an item or a page: the control's user signal follows, as
// after a click. True when the control stands on that row afterwards (the editor may
// refuse to move when the record shown does not store).
bool ChooseRow(ui::ListBox* list, int row);
bool ChooseItem(ui::ComboBox* combo, int item);
bool ChoosePage(ui::TabCtrl* tabs, int page);

// Clicks the enabled button whose accessible name is label. True when that ended the
// dialog's run; false when no such button exists or the dialog stayed open.
bool PressButton(QDialog* dialog, const QString& label);
bool PressOk(QDialog* dialog);
bool PressCancel(QDialog* dialog);

// The one control of type T below root named name, or null (none, or more than one).
template <typename T>
T* Named(QWidget* root, const QString& name);

}  // namespace testing_ui

#include <QWidget>

namespace testing_ui {

template <typename T>
T* Named(QWidget* root, const QString& name) {
    T* found = nullptr;
    for (T* w : root->findChildren<T*>()) {
        if (w->accessibleName() != name) continue;
        if (found != nullptr) return nullptr;
        found = w;
    }
    return found;
}

}  // namespace testing_ui
