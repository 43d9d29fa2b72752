#pragma once
// Thin wrappers over Qt widgets with the behaviour the editors rely on: setting a
// selection, a text or a tab from code never fires a handler; only the user's action
// emits the wrappers' signals. Every control carries its label as accessible name.
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <functional>

#include "ui/list_model.h"

class QAbstractItemModel;
class QGroupBox;
class QLabel;
class QLayout;

namespace ui {

// Sets the accessible name (and for a combo box also the accessible description).
void SetLabel(QWidget* control, const QString& label);
// A label placed beside control, with control as its buddy.
QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent = nullptr);
// A titled group holding layout.
QGroupBox* MakeGroup(const QString& title, QLayout* layout, QWidget* parent = nullptr);

// A list of single-line rows; one row at most is selected.
class ListBox : public QListView {
    Q_OBJECT
public:
    explicit ListBox(const QString& label, QWidget* parent = nullptr);
    int AddString(const QString& text);
    void InsertString(int index, const QString& text);
    void DeleteString(int index);
    void ResetContent();
    void SetItems(const QStringList& items);
    // count rows whose texts are asked of text only when a row is shown or read; a row
    // keeps the text it was given once.
    void SetItemSource(int count, std::function<QString(int row)> text);
    // Replaces a row's text; the selection stays.
    void SetText(int index, const QString& text);
    int GetCount() const;
    QString GetText(int index) const;
    void SetCurSel(int index);  // -1: no selection
    int GetCurSel() const;

    // The row's index in the list's model (invalid past the rows).
    QModelIndex Row(int index) const;
    // The current row (-1: none), which need not be selected.
    int currentRow() const;
    // Makes the row current and selected as the user's move does: SelChange follows.
    void setCurrentRow(int row);

signals:
    void SelChange();  // the user moved the selection
    void DblClk();     // the user double-clicked an item
    void currentRowChanged(int row);  // the current row moved, by the user or by code

protected:
    // The user moves the selection but never clears it: a click below the last row and
    // a Ctrl+click or Ctrl+Space on the selected row leave it where it is.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    // The frame shows whether the list has the focus.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    ListModel* m_pModel;
    bool m_bQuiet = false;
};

// A drop-down list (not editable), items in insertion order.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(const QString& label, QWidget* parent = nullptr);
    int AddString(const QString& text);
    void ResetContent();
    void SetItems(const QStringList& items);
    // Shows the items of a model shared with other combos of the same list (each keeps
    // its own selection). The model is not owned.
    void ShareModel(QAbstractItemModel* model);
    int GetCount() const;
    QString GetLBText(int index) const;
    void SetCurSel(int index);  // -1 or out of range: no selection
    int GetCurSel() const;

signals:
    void SelChange();  // the user chose an item

protected:
    // While the list is open, typed text (or text an input method commits) moves to the
    // next item that contains it anywhere, matched as the find box matches; keys typed in
    // quick succession extend the text, Backspace shortens it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Adds text to the text being found (or starts anew after a pause) and moves the open
    // list's current item to the match. True when the key was taken.
    bool TypeToFind(const QString& text);
    void FindTyped(int from);

    QString m_typed;
    QElapsedTimer m_sinceKey;
};

class Edit : public QLineEdit {
    Q_OBJECT
public:
    explicit Edit(const QString& label, QWidget* parent = nullptr);
    QString GetText() const { return text(); }
    void SetText(const QString& t) { setText(t); }
};

// Multi-line edit in which Enter starts a new line. Line breaks come back as '\n'.
class MultiEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MultiEdit(const QString& label, QWidget* parent = nullptr);
    QString GetText() const { return toPlainText(); }
    void SetText(const QString& t);  // CR LF or LF line breaks
};

class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(const QString& label, QWidget* parent = nullptr);
    void SetCheck(bool on) { setChecked(on); }
    bool GetCheck() const { return isChecked(); }
};

// A push button that never becomes the default button by itself.
class Button : public QPushButton {
    Q_OBJECT
public:
    explicit Button(const QString& label, QWidget* parent = nullptr);
};

// Tab control with one page widget per tab; showing a tab hides the others.
class TabCtrl : public QTabWidget {
    Q_OBJECT
public:
    explicit TabCtrl(const QString& label, QWidget* parent = nullptr);
    void InsertItem(int index, QWidget* page, const QString& text);
    void SetCurSel(int index);
    int GetCurSel() const { return currentIndex(); }

signals:
    void SelChange();  // the user picked another tab

private:
    bool m_bQuiet = false;
};

}  // namespace ui
