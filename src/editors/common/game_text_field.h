#pragma once
// Storing a text box into a fixed game-text field of a record: the text is encoded into a
// scratch field of the same size filled with 0x00, then copied in when it differs from the
// bytes already there, so that an untouched record produces no patch code. Which bytes
// decide "differs" is the field's policy.
#include <QString>
#include <cstdint>

namespace tsumugi {
class CTextCodec;
}
class QWidget;

namespace ui {
class Edit;
class MultiEdit;
}

namespace editors {

enum class TextCompare {
    WholeField,      // all bytes of the field: filler after the terminator is rewritten as 0x00
    UpToTerminator,  // the text and its terminator: an unchanged text leaves its filler alone
};

// Encodes edit's text into field (limit bytes). A conversion failure shows failureFormat
// (see ui::EncodeField), puts the focus on edit and returns false with nothing written.
// changed (when given) tells whether the field's bytes were replaced.
bool StoreGameText(tsumugi::CTextCodec& codec, QWidget* owner, ui::Edit* edit, uint8_t* field,
                   int limit, const QString& failureFormat, TextCompare compare,
                   bool* changed = nullptr);
// The same for a multi-line box; its line breaks are stored as 0xFE.
bool StoreGameText(tsumugi::CTextCodec& codec, QWidget* owner, ui::MultiEdit* edit, uint8_t* field,
                   int limit, const QString& failureFormat, TextCompare compare,
                   bool* changed = nullptr);

}  // namespace editors
