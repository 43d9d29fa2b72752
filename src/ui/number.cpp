#include "ui/number.h"

#include <QLineEdit>

#include "ui/controls.h"
#include "ui/services.h"

namespace ui {
namespace {

// Shows every tab page that holds control, from code, so no page-change handler runs.
void ShowPagesOf(QWidget* control) {
    for (QWidget* page = control; page != nullptr; page = page->parentWidget()) {
        QWidget* stack = page->parentWidget();
        auto* tabs = stack != nullptr ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
        const int index = tabs != nullptr ? tabs->indexOf(page) : -1;
        if (index < 0) continue;
        if (auto* ctrl = qobject_cast<TabCtrl*>(tabs)) {
            ctrl->SetCurSel(index);
        } else {
            tabs->setCurrentIndex(index);
        }
    }
}

}  // namespace

std::optional<uint32_t> ParseUInt(const QString& text, uint32_t min, uint32_t max) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    uint64_t value = 0;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c.unicode() - u'0');
        // Checked per digit, so leading zeros cost nothing and the value never overflows.
        if (value > max) return std::nullopt;
    }
    if (value < min) return std::nullopt;
    return static_cast<uint32_t>(value);
}

QString RangeMessage(uint32_t min, uint32_t max) {
    return QStringLiteral("%1 から %2 までの整数を入力してください。").arg(min).arg(max);
}

bool ReadUInt(QLineEdit* edit, uint32_t min, uint32_t max, uint32_t& value) {
    const std::optional<uint32_t> parsed = ParseUInt(edit->text(), min, max);
    if (parsed) {
        value = *parsed;
        return true;
    }
    ShowPagesOf(edit);
    MessageBox(edit->window(), RangeMessage(min, max));
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return false;
}

void SetUInt(QLineEdit* edit, uint32_t value) { edit->setText(QString::number(value)); }

}  // namespace ui
