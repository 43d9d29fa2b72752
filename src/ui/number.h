#pragma once
// Number boxes read like the dialog data exchange: unsigned decimal within a range. A bad
// entry shows "%1 から %2 までの整数を入力してください。", puts the focus on the box with its
// text selected (showing the tab page that holds it), and the read fails.
#include <QString>
#include <cstdint>
#include <optional>

class QLineEdit;

namespace ui {

// Pure parsing: decimal digits only (blanks around allowed), value within [min, max].
std::optional<uint32_t> ParseUInt(const QString& text, uint32_t min, uint32_t max);

bool ReadUInt(QLineEdit* edit, uint32_t min, uint32_t max, uint32_t& value);
void SetUInt(QLineEdit* edit, uint32_t value);

QString RangeMessage(uint32_t min, uint32_t max);

}  // namespace ui
