#include "editors/bonuses/full_effect_lists.h"

#include <algorithm>
#include <string>

#include "core/layout/bonuses.h"
#include "core/text_codec.h"
#include "editors/common/record_editor.h"

namespace editors {
namespace {

namespace texts = tsumugi::layout::full_effect_texts;

constexpr uint32_t kTextLimit = 64;

QString EffectText(tsumugi::CTextCodec& codec, int index) {
    const uint32_t at = texts::kTexts[static_cast<size_t>(index)].at;
    if (codec.m_pRom == nullptr || at >= codec.m_nRomSize) return QStringLiteral("Error");
    const uint32_t limit = std::min(kTextLimit, codec.m_nRomSize - at);
    std::string text;
    codec.Decode(text, codec.m_pRom + at, static_cast<int>(limit));
    return OneLineItem(text);
}

}  // namespace

FullEffectLists BuildFullEffectLists(const uint8_t* rom, uint32_t romSize) {
    tsumugi::CTextCodec codec(rom, romSize);
    const QString none = QStringLiteral("無し(0xFF)");
    FullEffectLists lists;
    for (int k = 0; k < tsumugi::layout::full_record::kEffects; ++k) {
        lists.first << EffectText(codec, texts::kFirstEffect1Text + k);
        lists.second << (k == texts::kEffect2Alone
                             ? EffectText(codec, k)
                             : EffectText(codec, k) + QStringLiteral("、") +
                                   EffectText(codec, texts::kFirstEffect2Tail + k));
    }
    lists.first << none;
    lists.second << none;
    return lists;
}

}  // namespace editors
