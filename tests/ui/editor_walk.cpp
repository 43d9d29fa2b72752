#include "editor_walk.h"

#include <QDialog>
#include <QStackedWidget>
#include <cstdint>
#include <utility>

#include "ui/controls.h"

namespace testing_ui {
namespace {

// Combos whose items are records to show rather than values of a field.
bool ChoosesRecord(const ui::ComboBox* combo) { return combo->accessibleName() == QStringLiteral("話"); }

bool IsChooser(QWidget* w) {
    if (qobject_cast<ui::ListBox*>(w) || qobject_cast<ui::TabCtrl*>(w)) return true;
    auto* combo = qobject_cast<ui::ComboBox*>(w);
    return combo != nullptr && ChoosesRecord(combo);
}

// The rows a walk visits in a chooser of count rows.
std::vector<int> RowsToVisit(int count, int limit) {
    std::vector<int> rows;
    if (limit <= 0 || count <= limit) {
        for (int r = 0; r < count; ++r) rows.push_back(r);
    } else if (limit == 1) {
        rows.push_back(0);
    } else {
        for (int i = 0; i < limit; ++i) {
            const int r = static_cast<int>(static_cast<int64_t>(i) * (count - 1) / (limit - 1));
            if (rows.empty() || rows.back() != r) rows.push_back(r);
        }
    }
    return rows;
}

void Visit(QWidget* chooser, const WalkLimits& limits, WalkResult& result, const std::vector<QWidget*>& inner) {
    for (const int row : RowsToVisit(RowCount(chooser), limits.rowsPerChooser)) {
        if (!chooser->isEnabled()) return;
        if (!Reveal(chooser)) ++result.refused;
        ++result.moves;
        if (!Choose(chooser, row)) ++result.refused;
        for (QWidget* w : inner) {
            if (w->isEnabled()) Visit(w, limits, result, {});
        }
    }
}

}  // namespace

std::vector<QWidget*> Choosers(QDialog* dialog) {
    std::vector<QWidget*> found;
    for (QWidget* w = dialog->nextInFocusChain(); w != nullptr && w != dialog; w = w->nextInFocusChain()) {
        if (IsChooser(w)) found.push_back(w);
    }
    return found;
}

int RowCount(QWidget* chooser) {
    if (auto* list = qobject_cast<ui::ListBox*>(chooser)) return list->GetCount();
    if (auto* tabs = qobject_cast<ui::TabCtrl*>(chooser)) return tabs->count();
    if (auto* combo = qobject_cast<ui::ComboBox*>(chooser)) return combo->GetCount();
    return 0;
}

int CurrentRow(QWidget* chooser) {
    if (auto* list = qobject_cast<ui::ListBox*>(chooser)) return list->GetCurSel();
    if (auto* tabs = qobject_cast<ui::TabCtrl*>(chooser)) return tabs->currentIndex();
    if (auto* combo = qobject_cast<ui::ComboBox*>(chooser)) return combo->GetCurSel();
    return -1;
}

bool Choose(QWidget* chooser, int row) {
    if (auto* list = qobject_cast<ui::ListBox*>(chooser)) return ChooseRow(list, row);
    if (auto* tabs = qobject_cast<ui::TabCtrl*>(chooser)) return ChoosePage(tabs, row);
    if (auto* combo = qobject_cast<ui::ComboBox*>(chooser)) return ChooseItem(combo, row);
    return false;
}

bool Reveal(QWidget* w) {
    // (tab strip, its page holding w), innermost first.
    std::vector<std::pair<ui::TabCtrl*, QWidget*>> steps;
    for (QWidget* child = w; child != nullptr && child->parentWidget() != nullptr; child = child->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(child->parentWidget());
        if (stack == nullptr) continue;
        if (auto* tabs = qobject_cast<ui::TabCtrl*>(stack->parentWidget())) steps.emplace_back(tabs, child);
    }
    bool shown = true;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
        const int page = it->first->indexOf(it->second);
        if (page >= 0 && page != it->first->currentIndex()) shown = ChoosePage(it->first, page) && shown;
    }
    return shown;
}

WalkResult WalkEditor(QDialog* dialog, const WalkLimits& limits) {
    WalkResult result;
    const std::vector<QWidget*> choosers = Choosers(dialog);
    result.choosers = static_cast<int>(choosers.size());
    if (choosers.empty()) return result;
    Visit(choosers.front(), limits, result, std::vector<QWidget*>(choosers.begin() + 1, choosers.end()));
    return result;
}

bool ChooseRow(ui::ListBox* list, int row) {
    if (row < 0 || row >= list->GetCount()) return false;
    list->setCurrentRow(row);
    return list->GetCurSel() == row;
}

bool ChooseItem(ui::ComboBox* combo, int item) {
    if (item < 0 || item >= combo->GetCount()) return false;
    combo->setCurrentIndex(item);
    emit combo->activated(item);
    return combo->GetCurSel() == item;
}

bool ChoosePage(ui::TabCtrl* tabs, int page) {
    if (page < 0 || page >= tabs->count()) return false;
    tabs->setCurrentIndex(page);
    return tabs->currentIndex() == page;
}

bool PressButton(QDialog* dialog, const QString& label) {
    auto* button = Named<ui::Button>(dialog, label);
    if (button == nullptr || !button->isEnabled()) return false;
    bool finished = false;
    const QMetaObject::Connection c = QObject::connect(dialog, &QDialog::finished, [&finished] { finished = true; });
    button->click();
    QObject::disconnect(c);
    return finished;
}

bool PressOk(QDialog* dialog) { return PressButton(dialog, QStringLiteral("OK")); }

bool PressCancel(QDialog* dialog) { return PressButton(dialog, QStringLiteral("ｷｬﾝｾﾙ")); }

}  // namespace testing_ui
