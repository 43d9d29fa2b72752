#include "ui/controls.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QScrollBar>
#include <utility>

#include "ui/control_style.h"
#include "ui/find_text.h"

namespace ui {
namespace {

// Runs f with the flag set, so that change notifications caused by code are not passed on.
template <typename F>
void Quietly(bool& flag, F&& f) {
    const bool old = flag;
    flag = true;
    f();
    flag = old;
}

}  // namespace

void SetLabel(QWidget* control, const QString& label) {
    control->setAccessibleName(label);
    if (qobject_cast<QComboBox*>(control)) control->setAccessibleDescription(label);
}

QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QGroupBox* MakeGroup(const QString& title, QLayout* layout, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setAccessibleName(title);
    group->setLayout(layout);
    return group;
}

// ---- ListBox

ListBox::ListBox(const QString& label, QWidget* parent) : QListView(parent), m_pModel(new ListModel(this)) {
    SetLabel(this, label);
    setModel(m_pModel);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setStyle(ControlStyle());
    // A click makes a row current before it selects it; the handler must see the settled
    // selection, so the notification follows the selection, not the current row.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_bQuiet) emit SelChange();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { emit currentRowChanged(current.isValid() ? current.row() : -1); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit DblClk();
    });
}

void ListBox::focusInEvent(QFocusEvent* event) {
    QListView::focusInEvent(event);
    update();
}

void ListBox::focusOutEvent(QFocusEvent* event) {
    QListView::focusOutEvent(event);
    update();
}

int ListBox::AddString(const QString& text) {
    Quietly(m_bQuiet, [&] { m_pModel->Insert(GetCount(), text); });
    return GetCount() - 1;
}

void ListBox::InsertString(int index, const QString& text) {
    Quietly(m_bQuiet, [&] { m_pModel->Insert(index, text); });
}

void ListBox::DeleteString(int index) {
    Quietly(m_bQuiet, [&] { m_pModel->Remove(index); });
}

void ListBox::ResetContent() {
    Quietly(m_bQuiet, [&] { m_pModel->SetTexts({}); });
}

void ListBox::SetItems(const QStringList& items) {
    Quietly(m_bQuiet, [&] { m_pModel->SetTexts(items); });
}

void ListBox::SetItemSource(int count, std::function<QString(int row)> text) {
    Quietly(m_bQuiet, [&] { m_pModel->SetSource(count, std::move(text)); });
}

void ListBox::SetText(int index, const QString& text) {
    Quietly(m_bQuiet, [&] { m_pModel->SetText(index, text); });
}

int ListBox::GetCount() const { return m_pModel->rowCount(); }

QString ListBox::GetText(int index) const { return m_pModel->Text(index); }

QModelIndex ListBox::Row(int index) const { return m_pModel->index(index); }

int ListBox::currentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ListBox::setCurrentRow(int row) {
    selectionModel()->setCurrentIndex(Row(row), QItemSelectionModel::ClearAndSelect);
}

void ListBox::SetCurSel(int index) {
    Quietly(m_bQuiet, [&] {
        if (index < 0 || index >= GetCount()) {
            setCurrentRow(-1);
            clearSelection();
        } else {
            setCurrentRow(index);
            scrollTo(Row(index));
        }
    });
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags flags = QListView::selectionCommand(index, event);
    if (!index.isValid() || (flags & QItemSelectionModel::Deselect)) return QItemSelectionModel::NoUpdate;
    return flags;
}

int ListBox::GetCurSel() const {
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

// ---- ComboBox

ComboBox::ComboBox(const QString& label, QWidget* parent) : QComboBox(parent) {
    SetLabel(this, label);
    setEditable(false);
    setMaxVisibleItems(20);
    setStyle(ControlStyle());
    connect(this, &QComboBox::activated, this, [this](int) { emit SelChange(); });
    // The open list takes the keys and what an input method commits.
    view()->setAttribute(Qt::WA_InputMethodEnabled, true);
    view()->installEventFilter(this);
}

bool ComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view()) return QComboBox::eventFilter(watched, event);
    if (event->type() == QEvent::InputMethod) {
        const QString text = static_cast<QInputMethodEvent*>(event)->commitString();
        if (!text.isEmpty()) return TypeToFind(text);
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return QComboBox::eventFilter(watched, event);
        if (key->key() == Qt::Key_Backspace && !m_typed.isEmpty()) {
            m_typed.chop(1);
            m_sinceKey.start();
            FindTyped(view()->currentIndex().row());
            return true;
        }
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint()) return TypeToFind(text);
    }
    return QComboBox::eventFilter(watched, event);
}

bool ComboBox::TypeToFind(const QString& text) {
    const int current = view()->currentIndex().row();
    // After a pause the text starts anew and the search moves on past the current item,
    // so typing the same text again walks through the matches; a text being extended
    // may still match the current item.
    const bool fresh = !m_sinceKey.isValid() || m_sinceKey.elapsed() > QApplication::keyboardInputInterval();
    if (fresh) m_typed.clear();
    m_typed += text;
    m_sinceKey.start();
    FindTyped(fresh ? current + 1 : current);
    return true;
}

void ComboBox::FindTyped(int from) {
    QStringList items;
    items.reserve(count());
    for (int i = 0; i < count(); ++i) items << itemText(i);
    const int found = FindItem(items, m_typed, from, false);
    if (found >= 0) view()->setCurrentIndex(model()->index(found, modelColumn(), rootModelIndex()));
}

int ComboBox::AddString(const QString& text) {
    // Qt selects the first item put into an empty box; adding never selects here.
    const int selection = currentIndex();
    addItem(text);
    if (currentIndex() != selection) setCurrentIndex(selection);
    return count() - 1;
}

void ComboBox::ResetContent() { clear(); }

void ComboBox::SetItems(const QStringList& items) {
    clear();
    addItems(items);
    setCurrentIndex(-1);
}

void ComboBox::ShareModel(QAbstractItemModel* model) {
    setModel(model);
    setCurrentIndex(-1);
}

int ComboBox::GetCount() const { return count(); }

QString ComboBox::GetLBText(int index) const { return itemText(index); }

void ComboBox::SetCurSel(int index) {
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

int ComboBox::GetCurSel() const { return currentIndex(); }

// ---- Edits, check box, button

Edit::Edit(const QString& label, QWidget* parent) : QLineEdit(parent) { SetLabel(this, label); }

MultiEdit::MultiEdit(const QString& label, QWidget* parent) : QPlainTextEdit(parent) {
    SetLabel(this, label);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

void MultiEdit::SetText(const QString& t) {
    QString plain = t;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(plain);
}

CheckBox::CheckBox(const QString& label, QWidget* parent) : QCheckBox(label, parent) {
    SetLabel(this, label);
}

Button::Button(const QString& label, QWidget* parent) : QPushButton(label, parent) {
    SetLabel(this, label);
    setAutoDefault(false);
    setDefault(false);
}

// ---- TabCtrl

TabCtrl::TabCtrl(const QString& label, QWidget* parent) : QTabWidget(parent) {
    SetLabel(this, label);
    connect(this, &QTabWidget::currentChanged, this, [this](int) {
        if (!m_bQuiet) emit SelChange();
    });
}

void TabCtrl::InsertItem(int index, QWidget* page, const QString& text) {
    Quietly(m_bQuiet, [&] { insertTab(index, page, text); });
}

void TabCtrl::SetCurSel(int index) {
    Quietly(m_bQuiet, [&] { setCurrentIndex(index); });
}

}  // namespace ui
