#include "editors/common/find_box.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QStyle>

#include "ui/controls.h"
#include "ui/find_text.h"

namespace editors {

namespace {

const char kNotFound[] = "notFound";

}  // namespace

std::optional<int> RecordNumber(const QString& text) {
    // "＃１２３" typed in full-width is the same number.
    const QString plain = text.normalized(QString::NormalizationForm_KC);
    if (!plain.startsWith(QLatin1Char('#'))) return std::nullopt;
    QStringView digits = QStringView(plain).mid(1);
    int base = 10;
    if (digits.startsWith(QLatin1Char('x')) || digits.startsWith(QLatin1Char('X'))) {
        digits = digits.mid(1);
        base = 16;
    }
    // Signs and blanks are not part of a record number.
    if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        const bool digit = (u >= u'0' && u <= u'9') ||
                           (base == 16 && ((u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')));
        if (!digit) return std::nullopt;
    }
    bool ok = false;
    const int number = digits.toInt(&ok, base);
    if (!ok) return std::nullopt;
    return number;
}

FindBox::FindBox(ui::ListBox* list, QWidget* scope) : m_pList(list) {
    setAccessibleName(QStringLiteral("検索"));
    setStyleSheet(QStringLiteral("QLineEdit[notFound=\"true\"] { border: 2px solid red; }"));
    setProperty(kNotFound, false);
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), scope);
    connect(shortcut, &QShortcut::activated, this, [this] {
        setFocus(Qt::ShortcutFocusReason);
        selectAll();
    });
    // textChanged also reports text an input method commits.
    connect(this, &QLineEdit::textChanged, this, [this] { Find(0, false); });
}

QBoxLayout* FindBox::MakeRow() {
    auto* row = new QHBoxLayout;
    row->addWidget(ui::MakeLabel(QStringLiteral("検索"), this));
    row->addWidget(this, 1);
    return row;
}

bool FindBox::FindNext(bool backwards) { return Find(1, backwards); }

bool FindBox::Find(int step, bool backwards) {
    const QString wanted = text();
    const QString plain = wanted.normalized(QString::NormalizationForm_KC);
    // Nothing typed, or only the start of a record number: nothing to find yet.
    if (wanted.isEmpty() || plain == QStringLiteral("#") ||
        plain.compare(QStringLiteral("#x"), Qt::CaseInsensitive) == 0) {
        ShowFound(true);
        return false;
    }
    const int count = m_pList->GetCount();
    const int current = m_pList->GetCurSel();
    int found = -1;
    if (plain.startsWith(QLatin1Char('#'))) {
        const std::optional<int> number = RecordNumber(wanted);
        if (number && *number < count) found = *number;
    } else {
        QStringList items;
        items.reserve(count);
        for (int i = 0; i < count; ++i) items << m_pList->GetText(i);
        // Past either end FindItem starts over from the other one.
        const int from = current < 0 ? -1 : current + (backwards ? -step : step);
        found = ui::FindItem(items, wanted, from, backwards);
    }
    ShowFound(found >= 0);
    if (found < 0) return false;
    // The move a click makes: the list reports it, and the editor stores the record shown
    // and loads this one, or refuses and puts the list back.
    if (found != current) {
        m_pList->setCurrentRow(found);
        m_pList->scrollTo(m_pList->Row(found));
    }
    return true;
}

void FindBox::ShowFound(bool found) {
    m_bNotFound = !found;
    setProperty(kNotFound, m_bNotFound);
    setAccessibleDescription(m_bNotFound ? QStringLiteral("見つかりません") : QString());
    style()->unpolish(this);
    style()->polish(this);
    update();
}

void FindBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter || event->key() == Qt::Key_F3) {
        FindNext(event->key() == Qt::Key_F3 && (event->modifiers() & Qt::ShiftModifier));
        event->accept();
        return;
    }
    // Escape clears a search and stays in the editor; only an empty box lets it through
    // to cancel the editor.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace editors
