#include "core/value_names.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>

#include "core/bytes.h"
#include "core/cp932.h"
#include "core/layout/abilities.h"
#include "core/layout/bonuses.h"
#include "core/layout/pilots.h"
#include "core/layout/units.h"
#include "core/name_list.h"
#include "core/narrow_full_width.h"

namespace tsumugi {
namespace {

using layout::Ref;

constexpr char kNone[] = "無し";

// cp932 text as one line of UTF-8; what does not convert is left out.
std::string OneLine(const std::string& cp932) {
    std::string text;
    const Cp932Result converted = Cp932ToUtf8(cp932);
    text = converted.ok ? converted.text : std::string();
    std::replace(text.begin(), text.end(), '\r', ' ');
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    return text;
}

std::string DecodeAt(CTextCodec& codec, uint64_t at, uint32_t room) {
    if (codec.m_pRom == nullptr || at >= codec.m_nRomSize) return {};
    const auto limit = static_cast<int>(std::min<uint64_t>(room, codec.m_nRomSize - at));
    std::string text;
    codec.Decode(text, codec.m_pRom + at, limit);
    return OneLine(text);
}

std::vector<std::string> SlotNames(CTextCodec& codec, uint32_t base, uint32_t stride, uint32_t room,
                                   int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(DecodeAt(codec, base + uint64_t{stride} * static_cast<uint32_t>(i), room));
    return names;
}

// The weapon type names lie one after another, each ended by 0xFF or 0x00; the next starts
// at the first even offset after the terminator.
std::vector<std::string> WeaponTypeNames(CTextCodec& codec) {
    namespace names = layout::weapon_type_names;
    std::vector<std::string> out;
    uint64_t at = names::kBase;
    for (int n = 0; n < names::kCount && codec.m_pRom != nullptr && at < codec.m_nRomSize; ++n) {
        const uint8_t* start = codec.m_pRom + at;
        const uint8_t* end = start + std::min<uint64_t>(names::kMaxField, codec.m_nRomSize - at);
        const uint8_t* stop = std::find_if(start, end, [](uint8_t b) { return b == 0xFF || b == 0x00; });
        if (stop == end) break;
        const auto length = static_cast<int>(stop - start);
        std::string text;
        codec.Decode(text, start, length);
        out.push_back(OneLine(text));
        at = (at + static_cast<uint64_t>(length) + 2) & ~uint64_t{1};
    }
    return out;
}

std::vector<std::string> BgmSetNames(CTextCodec& codec) {
    namespace bgm = layout::bgm_table;
    std::vector<std::string> out;
    for (int k = 0; k < bgm::kSetCount; ++k) {
        const uint64_t start = bgm::kSets + uint64_t{bgm::kSetSize} * static_cast<uint32_t>(k);
        std::string text;
        for (int slot = 0; slot < bgm::kTracks && start + bgm::kSetSize <= codec.m_nRomSize; ++slot) {
            const uint16_t track = Read16(codec.m_pRom + start + 2 * static_cast<uint32_t>(slot));
            std::string name;
            if (track == 0 || !codec.GetBgmName(track, name) || name.empty()) continue;
            if (!text.empty()) text += " & ";
            text += name;
        }
        out.push_back(OneLine(NarrowFullWidth(text)));
    }
    return out;
}

std::vector<std::string> FullEffectNames(CTextCodec& codec, bool second) {
    namespace texts = layout::full_effect_texts;
    const auto text = [&codec](int k) {
        return DecodeAt(codec, texts::kTexts[static_cast<size_t>(k)].at, 64);
    };
    std::vector<std::string> out;
    for (int k = 0; k < layout::full_record::kEffects; ++k) {
        if (!second) {
            out.push_back(text(texts::kFirstEffect1Text + k));
        } else {
            out.push_back(k == texts::kEffect2Alone ? text(k)
                                                    : text(k) + "、" + text(texts::kFirstEffect2Tail + k));
        }
    }
    return out;
}

std::vector<std::string> RecordNames(CTextCodec& codec, NameKind kind) {
    std::vector<std::string> out;
    for (const std::string& name : NameList(codec, kind)) out.push_back(OneLine(name));
    return out;
}

}  // namespace

ValueNames::ValueNames(const uint8_t* rom, uint32_t romSize) : m_codec(rom, romSize) {}

const std::vector<std::string>& ValueNames::ReferenceNames(Ref ref) {
    const auto found = m_names.find(ref);
    if (found != m_names.end()) return found->second;
    std::vector<std::string> names;
    switch (ref) {
        case Ref::None: break;
        case Ref::Unit: names = RecordNames(m_codec, NameKind::Unit); break;
        case Ref::Pilot: names = RecordNames(m_codec, NameKind::Pilot); break;
        case Ref::Weapon: names = RecordNames(m_codec, NameKind::Weapon); break;
        case Ref::Skill: names = RecordNames(m_codec, NameKind::Skill); break;
        case Ref::Part: names = RecordNames(m_codec, NameKind::Part); break;
        case Ref::Spirit: names = RecordNames(m_codec, NameKind::Spirit); break;
        case Ref::AceBonus: names = RecordNames(m_codec, NameKind::AceBonus); break;
        case Ref::FullBonus: names = RecordNames(m_codec, NameKind::FullBonus); break;
        case Ref::BgmSet: names = BgmSetNames(m_codec); break;
        case Ref::Personality: {
            namespace p = layout::personality_names;
            names = SlotNames(m_codec, p::kBase, p::kSlotSize, p::kLength, p::kCount);
            break;
        }
        case Ref::WeaponType: names = WeaponTypeNames(m_codec); break;
        case Ref::SkillType: {
            namespace s = layout::skill_type_names;
            names = SlotNames(m_codec, s::kBase, s::kEntrySize, s::kEntrySize, s::kCount);
            break;
        }
        case Ref::TrustType: {
            namespace t = layout::trust_type_names;
            names = SlotNames(m_codec, t::kBase, t::kEntrySize, t::kEntrySize, t::kCount);
            break;
        }
        case Ref::FullEffect1: names = FullEffectNames(m_codec, false); break;
        case Ref::FullEffect2: names = FullEffectNames(m_codec, true); break;
    }
    return m_names.emplace(ref, std::move(names)).first->second;
}

std::string ValueNames::Name(const layout::Field& field, uint32_t value) {
    if (field.none >= 0 && value == static_cast<uint64_t>(field.none)) return kNone;
    if (field.kind == layout::FieldKind::Reference) {
        const std::vector<std::string>& names = ReferenceNames(field.refers);
        const auto count = static_cast<uint32_t>(std::min<size_t>(names.size(), static_cast<size_t>(layout::CountOf(field.refers))));
        return value < count ? names[value] : std::string();
    }
    if (field.kind != layout::FieldKind::Choice || value > layout::MaxOf(field)) return {};
    if (value < field.items.size()) return field.items[value];
    return std::to_string(value);
}

}  // namespace tsumugi
