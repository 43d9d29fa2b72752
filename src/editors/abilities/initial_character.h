#pragma once
// The initial character of a spirit command: one game character code kept in a 16-bit
// field, first code byte low, 0 for none. A one-byte code c is kept as c followed by 0xFF.
#include <QString>
#include <cstdint>

namespace tsumugi {
class CTextCodec;
}

namespace editors {

struct InitialText {
    QString text;
    // Whether storing text gives code back. When it would not (a code the character
    // table lacks, a value the box cannot show), the box must stay locked.
    bool editable = false;
};

// What the box shows for code: empty for 0, otherwise the two code bytes read as game
// text of at most two bytes.
InitialText ShowInitial(tsumugi::CTextCodec& codec, uint16_t code);

// The value stored for the box's text: 0 for an empty text; otherwise the first two bytes
// of the text encoded into three zero-filled bytes, whether or not the encoding succeeded.
// So the first character's code when it has two bytes; c, 0xFF for a lone one-byte code;
// c, d for two one-byte codes; 0 when the first character has no code. A character with
// no cp932 form ends the encoding as one without a game code does.
uint16_t InitialCode(tsumugi::CTextCodec& codec, const QString& text);

}  // namespace editors
