#include "ui/find_text.h"

namespace ui {

namespace {

// Both sides of a comparison are brought to one form: compatibility forms (full-width
// Latin, half-width katakana) become their plain forms, then case is folded.
QString Folded(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

}  // namespace

int FindItem(const QStringList& items, const QString& text, int from, bool backwards) {
    const int count = static_cast<int>(items.size());
    if (text.isEmpty() || count == 0) return -1;
    if (from < 0 || from >= count) from = backwards ? count - 1 : 0;
    const QString wanted = Folded(text);
    for (int step = 0; step < count; ++step) {
        const int i = backwards ? (from - step + count) % count : (from + step) % count;
        if (Folded(items[i]).contains(wanted)) return i;
    }
    return -1;
}

}  // namespace ui
