#pragma once
// The name of a bonus record: a text box whose changed text replaces the record's item in
// the record list.
#include <cstdint>

class QWidget;

namespace tsumugi {
class CTextCodec;
}

namespace ui {
class Edit;
class ListBox;
class MultiEdit;
}  // namespace ui

namespace editors {

// Encodes the box's text into field (limit bytes, zero-filled after the terminator) when
// the text up to its terminator differs from the field's, and then shows the stored name
// as item index of list. A text that cannot be converted shows the name failure message,
// takes the focus and fails with nothing written.
bool StoreRecordName(tsumugi::CTextCodec& codec, QWidget* owner, ui::Edit* edit, uint8_t* field,
                     int limit, ui::ListBox* list, int index);
bool StoreRecordName(tsumugi::CTextCodec& codec, QWidget* owner, ui::MultiEdit* edit,
                     uint8_t* field, int limit, ui::ListBox* list, int index);

}  // namespace editors
