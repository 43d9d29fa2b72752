#pragma once
// The one rule for a box that shows game text from the ROM: a box still showing exactly
// what was put in it when its record was loaded is never encoded, never written and never
// refused. Only a text the user changed is encoded, checked against its room and written.
// A text that could not be stored back as the same bytes (the character table lacks one
// of its codes, two codes share a display character, or a character has no cp932 form) is
// locked when it is shown, with the reason as the box's tooltip.
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

// Shows limit bytes of game text in the box and remembers what it shows. The box is
// enabled only when the text stores back as the same bytes; otherwise it is disabled with
// the reason as its tooltip. Returns whether the box is enabled.
bool ShowGameText(tsumugi::CTextCodec& codec, ui::Edit* edit, const uint8_t* bytes, int limit);
// The same for a multi-line box (0xFE shows as a line break).
bool ShowGameText(tsumugi::CTextCodec& codec, ui::MultiEdit* edit, const uint8_t* bytes, int limit);

// True while the box holds exactly what ShowGameText last put in it.
bool IsAsShown(const ui::Edit* edit);
bool IsAsShown(const ui::MultiEdit* edit);

// Why text decoded from bytes (display form `shown`, the codec's Decode having just run
// over at most limit bytes with the result `decoded`) could not be stored back as the same
// bytes; empty when it can.
QString LockReason(tsumugi::CTextCodec& codec, const QString& shown, const uint8_t* bytes,
                   bool decoded);

// Stores a box into a fixed game-text field of limit bytes. An untouched box does nothing
// and succeeds. A changed text is encoded into a scratch field of limit bytes filled with
// 0x00 and copied in when it differs from the field. A conversion failure shows
// failureFormat (see ui::EncodeField), puts the focus on the box and returns false with
// nothing written. changed (when given) tells whether the field's bytes were replaced.
bool StoreGameText(tsumugi::CTextCodec& codec, QWidget* owner, ui::Edit* edit, uint8_t* field,
                   int limit, const QString& failureFormat, bool* changed = nullptr);
// The same for a multi-line box; its line breaks are stored as 0xFE.
bool StoreGameText(tsumugi::CTextCodec& codec, QWidget* owner, ui::MultiEdit* edit, uint8_t* field,
                   int limit, const QString& failureFormat, bool* changed = nullptr);

}  // namespace editors
