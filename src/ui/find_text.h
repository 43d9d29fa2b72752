#pragma once
// Finding an item by part of its text, shared by the record lists' find box and the
// drop-down lists' type-to-find.
#include <QStringList>

namespace ui {

// The first of items, from index from on (backwards: from index from down), that
// contains text, wrapping round the end of the list; -1 when none does or text is empty.
// Latin letters match whatever their case, full-width and half-width forms match alike,
// kana match as written. A from outside the list starts at the top (the bottom when
// going backwards).
int FindItem(const QStringList& items, const QString& text, int from, bool backwards);

}  // namespace ui
