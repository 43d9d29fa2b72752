#include "editors/common/game_text_field.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/text_codec.h"
#include "ui/controls.h"
#include "ui/text.h"

namespace editors {

namespace {

// edit shows text; it takes the focus on a conversion failure.
bool StoreText(tsumugi::CTextCodec& codec, QWidget* owner, const QString& text, QWidget* edit,
               uint8_t* field, int limit, const QString& failureFormat, TextCompare compare,
               bool* changed) {
    if (changed != nullptr) *changed = false;
    if (limit <= 0) return true;
    std::vector<uint8_t> scratch(static_cast<size_t>(limit), 0x00);
    if (!ui::EncodeField(codec, owner, text, scratch.data(), limit, failureFormat)) {
        edit->setFocus();
        return false;
    }
    const size_t compared = compare == TextCompare::WholeField
                                ? scratch.size()
                                : static_cast<size_t>(std::clamp(codec.m_nLength, 1, limit));
    const bool differs = std::memcmp(field, scratch.data(), compared) != 0;
    if (differs) std::memcpy(field, scratch.data(), scratch.size());
    if (changed != nullptr) *changed = differs;
    return true;
}

}  // namespace

bool StoreGameText(tsumugi::CTextCodec& codec, QWidget* owner, ui::Edit* edit, uint8_t* field,
                   int limit, const QString& failureFormat, TextCompare compare, bool* changed) {
    return StoreText(codec, owner, edit->GetText(), edit, field, limit, failureFormat, compare,
                     changed);
}

bool StoreGameText(tsumugi::CTextCodec& codec, QWidget* owner, ui::MultiEdit* edit, uint8_t* field,
                   int limit, const QString& failureFormat, TextCompare compare, bool* changed) {
    return StoreText(codec, owner, edit->GetText(), edit, field, limit, failureFormat, compare,
                     changed);
}

}  // namespace editors
