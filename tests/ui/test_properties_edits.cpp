// Seeded edits in an open editor, made and checked through the controls' accessible names.
#include <QDialog>
#include <QStringList>
#include <algorithm>

#include "core/random_bytes.h"
#include "editor_walk.h"
#include "test_properties.h"
#include "ui/controls.h"

namespace testing_ui {
namespace {

using tsumugi::test::RandomBytes;

const QString kEdit = QStringLiteral("edit"), kText = QStringLiteral("text"), kCombo = QStringLiteral("combo"),
              kCheck = QStringLiteral("check"), kList = QStringLiteral("list");

bool IsNumber(const QString& text) {
    if (text.isEmpty() || text.size() > 10) return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

QString TypeOf(QWidget* w) {
    if (qobject_cast<ui::Edit*>(w)) return kEdit;
    if (qobject_cast<ui::MultiEdit*>(w)) return kText;
    if (qobject_cast<ui::ComboBox*>(w)) return kCombo;
    if (qobject_cast<ui::CheckBox*>(w)) return kCheck;
    if (qobject_cast<ui::ListBox*>(w)) return kList;
    return QString();
}

QString NameOf(QWidget* w) { return qobject_cast<ui::ListBox*>(w) ? w->objectName() : w->accessibleName(); }

// The controls of the dialog of a type, in creation order.
QList<QWidget*> OfType(QDialog* dialog, const QString& type) {
    QList<QWidget*> found;
    for (QWidget* w : dialog->findChildren<QWidget*>())
        if (TypeOf(w) == type) found << w;
    return found;
}

int OrdinalOf(QDialog* dialog, QWidget* control) {
    int ordinal = 0;
    for (QWidget* w : OfType(dialog, TypeOf(control))) {
        if (w == control) return ordinal;
        if (NameOf(w) == NameOf(control)) ++ordinal;
    }
    return -1;
}

QWidget* Find(QDialog* dialog, const FieldEdit& edit) {
    int ordinal = 0;
    for (QWidget* w : OfType(dialog, edit.type)) {
        if (NameOf(w) != edit.name) continue;
        if (ordinal++ == edit.ordinal) return w;
    }
    return nullptr;
}

Place Here(const std::vector<QWidget*>& choosers) {
    Place place;
    for (QWidget* c : choosers) place.rows.push_back(CurrentRow(c));
    return place;
}

void GoTo(const std::vector<QWidget*>& choosers, const Place& place) {
    for (size_t i = 0; i < choosers.size() && i < place.rows.size(); ++i) {
        const int row = place.rows[i];
        if (row < 0 || row == CurrentRow(choosers[i]) || !choosers[i]->isEnabled()) continue;
        Reveal(choosers[i]);
        Choose(choosers[i], row);
    }
}

// A control the user can change here and now, with something in it to change.
bool Editable(QWidget* w, const std::vector<QWidget*>& choosers) {
    if (!w->isEnabled() || std::find(choosers.begin(), choosers.end(), w) != choosers.end()) return false;
    if (auto* e = qobject_cast<ui::Edit*>(w)) return !e->isReadOnly() && !e->text().isEmpty();
    if (auto* t = qobject_cast<ui::MultiEdit*>(w)) return !t->isReadOnly() && !t->toPlainText().isEmpty();
    if (auto* c = qobject_cast<ui::ComboBox*>(w)) return c->GetCount() >= 2;
    return qobject_cast<ui::CheckBox*>(w) != nullptr;
}

// Another value for the control, as the user types or picks it: a smaller number, a text
// one character shorter, another item, the other state of a box.
void Change(QWidget* w, RandomBytes& r) {
    if (auto* e = qobject_cast<ui::Edit*>(w)) {
        const QString text = e->text();
        if (IsNumber(text)) {
            const uint64_t value = text.toULongLong();
            e->setText(QString::number(value > 0 ? r.Below(value) : 1));
        } else {
            e->setText(text.chopped(1));
        }
    } else if (auto* t = qobject_cast<ui::MultiEdit*>(w)) {
        t->setPlainText(t->toPlainText().chopped(1));
    } else if (auto* c = qobject_cast<ui::ComboBox*>(w)) {
        const int current = c->GetCurSel();
        int item = static_cast<int>(r.Below(static_cast<uint32_t>(c->GetCount())));
        if (item == current) item = (item + 1) % c->GetCount();
        ChooseItem(c, item);
    } else if (auto* b = qobject_cast<ui::CheckBox*>(w)) {
        b->click();
    }
}

void Record(std::vector<FieldEdit>& edits, QDialog* dialog, QWidget* control, const Place& place) {
    FieldEdit edit{place, TypeOf(control), NameOf(control), OrdinalOf(dialog, control), Shown(control)};
    // Controls of the same place may have followed the change (a list refilled by a kind):
    // what they show now is what they should show again.
    for (FieldEdit& earlier : edits) {
        if (earlier.place.rows != place.rows) continue;
        if (QWidget* w = Find(dialog, earlier)) earlier.shown = Shown(w);
    }
    edits.push_back(std::move(edit));
}

// The classification editors change their lists through buttons.
std::vector<FieldEdit> ClassListEdits(QDialog* dialog, const std::vector<QWidget*>& choosers, RandomBytes& r,
                                      int count) {
    auto* tabs = qobject_cast<ui::TabCtrl*>(choosers.front());
    auto* entries = dialog->findChild<ui::ListBox*>(QStringLiteral("entries"));
    auto* source = dialog->findChild<ui::ListBox*>(QStringLiteral("source"));
    static const QString kButtons[] = {QStringLiteral("<< 追加"), QStringLiteral("削除"), QStringLiteral("ひとつ上へ"),
                                       QStringLiteral("ひとつ下へ")};
    for (int e = 0; e < count; ++e) {
        ChoosePage(tabs, static_cast<int>(r.Below(static_cast<uint32_t>(tabs->count()))));
        const QString& button = kButtons[r.Below(4)];
        ui::ListBox* from = button == kButtons[0] ? source : entries;
        if (from->GetCount() > 0) ChooseRow(from, static_cast<int>(r.Below(static_cast<uint32_t>(from->GetCount()))));
        if (auto* b = Named<ui::Button>(dialog, button)) b->click();
    }
    std::vector<FieldEdit> edits;
    for (int page = 0; page < tabs->count(); ++page) {
        ChoosePage(tabs, page);
        Record(edits, dialog, entries, Here(choosers));
    }
    return edits;
}

}  // namespace

QString Shown(QWidget* control) {
    if (auto* e = qobject_cast<ui::Edit*>(control)) return e->text();
    if (auto* t = qobject_cast<ui::MultiEdit*>(control)) return t->toPlainText();
    if (auto* c = qobject_cast<ui::ComboBox*>(control)) return QString::number(c->GetCurSel());
    if (auto* b = qobject_cast<ui::CheckBox*>(control)) return b->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (auto* l = qobject_cast<ui::ListBox*>(control)) {
        QStringList items;
        for (int i = 0; i < l->GetCount(); ++i) items << l->GetText(i);
        return items.join(QLatin1Char('\n'));
    }
    return QString();
}

std::vector<FieldEdit> MakeEdits(QDialog* dialog, uint32_t seed, int count) {
    RandomBytes r(seed);
    const std::vector<QWidget*> choosers = Choosers(dialog);
    if (!choosers.empty() && dialog->findChild<ui::ListBox*>(QStringLiteral("entries")) != nullptr)
        return ClassListEdits(dialog, choosers, r, count);

    std::vector<FieldEdit> edits;
    for (int e = 0; e < count; ++e) {
        for (QWidget* chooser : choosers) {
            const int rows = RowCount(chooser);
            if (rows <= 0 || !chooser->isEnabled()) continue;
            Reveal(chooser);
            Choose(chooser, static_cast<int>(r.Below(static_cast<uint32_t>(rows))));
        }
        QList<QWidget*> candidates;
        for (QWidget* w : dialog->findChildren<QWidget*>())
            if (Editable(w, choosers)) candidates << w;
        if (candidates.isEmpty()) continue;
        QWidget* control = candidates[static_cast<qsizetype>(r.Below(static_cast<uint32_t>(candidates.size())))];
        Reveal(control);
        Change(control, r);
        Record(edits, dialog, control, Here(choosers));
    }
    return edits;
}

std::vector<QString> CheckEdits(QDialog* dialog, const std::vector<FieldEdit>& edits) {
    const std::vector<QWidget*> choosers = Choosers(dialog);
    std::vector<QString> problems;
    for (const FieldEdit& edit : edits) {
        GoTo(choosers, edit.place);
        QWidget* control = Find(dialog, edit);
        if (control == nullptr) {
            problems.push_back(QStringLiteral("no control ") + edit.name);
            continue;
        }
        const QString shown = Shown(control);
        problems.push_back(shown == edit.shown ? QString()
                                               : edit.name + QStringLiteral(": shows \"") + shown +
                                                     QStringLiteral("\", entered \"") + edit.shown +
                                                     QStringLiteral("\""));
    }
    return problems;
}

}  // namespace testing_ui
