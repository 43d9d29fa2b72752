#include "editors/abilities/initial_character.h"

#include <array>
#include <string>

#include "core/bytes.h"
#include "core/text_codec.h"
#include "ui/text.h"

namespace editors {
namespace {

constexpr int kShownLimit = 2;    // the code's two bytes
constexpr int kEncodeLimit = 3;   // room for one two-byte code and the terminator
using tsumugi::game_text::kTerminator;

// The longest start of text that cp932 can hold, and whether that is all of it.
std::string Cp932Start(const QString& text, bool& whole) {
    std::string out;
    whole = true;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        std::string piece;
        if (!ui::ToCp932(text.mid(i, width), piece)) {
            whole = false;
            break;
        }
        out += piece;
        i += width;
    }
    return out;
}

}  // namespace

InitialText ShowInitial(tsumugi::CTextCodec& codec, uint16_t code) {
    if (code == 0) return {QString(), true};
    // The pair's second byte may be asked for past the two code bytes: a terminator
    // stands there.
    const std::array<uint8_t, 4> bytes = {static_cast<uint8_t>(code & 0xFF),
                                          static_cast<uint8_t>(code >> 8), kTerminator, 0x00};
    std::string cp932;
    const bool decoded = codec.Decode(cp932, bytes.data(), kShownLimit) != 0 && codec.m_nStatus != 1;
    InitialText shown{ui::FromCp932(cp932), false};
    shown.editable = decoded && InitialCode(codec, shown.text) == code;
    return shown;
}

uint16_t InitialCode(tsumugi::CTextCodec& codec, const QString& text) {
    if (text.isEmpty()) return 0;
    bool whole = true;
    const std::string cp932 = Cp932Start(text, whole);
    std::array<uint8_t, kEncodeLimit> scratch{};
    const int encoded = codec.Encode(cp932, scratch.data(), kEncodeLimit);
    // A character without a cp932 form stops the encoding where it stands, as a character
    // without a game code would: the codes before it stay, with no terminator after them.
    if (!whole && encoded != 0 && codec.m_nStatus == 0 && codec.m_nLength > 0) {
        scratch[static_cast<size_t>(codec.m_nLength - 1)] = 0x00;
    }
    return tsumugi::Read16(scratch.data());
}

}  // namespace editors
