// The name getters: entry i of a name table of the ROM, decoded. Where the tables lie is
// in name_list.cpp (name_table::LayoutOf).
#include <string>

#include "core/bytes.h"
#include "core/name_list.h"
#include "core/text_codec.h"

namespace tsumugi {
namespace {

constexpr char kError[] = "Error";
// "第" and "話" in cp932, for the chapter heading "第%d話 %s".
constexpr char kChapterPrefix[] = "\x91\xE6";
constexpr char kChapterSuffix[] = "\x98\x62";

// Offset of name i of the table, or -1 when i is outside the table or the name field does
// not lie inside the ROM image.
int64_t NameOffset(const CTextCodec& codec, const name_table::Layout& layout, int i) {
    if (i < 0 || i >= layout.count || codec.m_pRom == nullptr) return -1;
    const int64_t offset = int64_t{layout.first} + int64_t{layout.stride} * i;
    if (offset + layout.length > int64_t{codec.m_nRomSize}) return -1;
    return offset;
}

// Decodes name i. The result is Decode's when decodeResult is set, true otherwise (the
// table's getters differ there); "Error" and false for an index or field out of bounds.
bool DecodeName(CTextCodec& codec, NameKind kind, int i, std::string& text, bool decodeResult) {
    const name_table::Layout layout = name_table::LayoutOf(kind);
    const int64_t offset = NameOffset(codec, layout, i);
    if (offset < 0) {
        text = kError;
        return false;
    }
    const int ok = codec.Decode(text, codec.m_pRom + offset, layout.length);
    return decodeResult ? ok != 0 : true;
}

}  // namespace

bool CTextCodec::GetUnitName(int i, std::string& text) {
    return DecodeName(*this, NameKind::Unit, i, text, true);
}

bool CTextCodec::GetFullBonusName(int i, std::string& text) {
    return DecodeName(*this, NameKind::FullBonus, i, text, false);
}

bool CTextCodec::GetPilotName(int i, std::string& text) {
    return DecodeName(*this, NameKind::Pilot, i, text, true);
}

bool CTextCodec::GetBgmName(int i, std::string& text) {
    return DecodeName(*this, NameKind::Bgm, i, text, false);
}

bool CTextCodec::GetWeaponName(int i, std::string& text) {
    return DecodeName(*this, NameKind::Weapon, i, text, true);
}

bool CTextCodec::GetAceBonusName(int i, std::string& text) {
    return DecodeName(*this, NameKind::AceBonus, i, text, false);
}

bool CTextCodec::GetSkillName(int i, std::string& text) {
    return DecodeName(*this, NameKind::Skill, i, text, false);
}

bool CTextCodec::GetPartName(int i, std::string& text) {
    return DecodeName(*this, NameKind::Part, i, text, false);
}

bool CTextCodec::GetSpiritName(int i, std::string& text) {
    return DecodeName(*this, NameKind::Spirit, i, text, false);
}

bool CTextCodec::GetChapterName(int i, std::string& text) {
    namespace record = layout::chapter_title_record;
    const int64_t title = NameOffset(*this, name_table::LayoutOf(NameKind::Chapter), i);
    if (title < 0) {
        text = kError;
        return false;
    }
    std::string name;
    if (Decode(name, m_pRom + title, static_cast<int>(record::kTitleLength)) == 0) {
        text = kError;  // the character table cannot be loaded
        return true;
    }
    if (name.empty()) {
        text.clear();
        return true;
    }
    const uint8_t* recordStart = m_pRom + (title - record::kTitle);
    const uint16_t number = Read16(recordStart + record::kNumber);
    text = kChapterPrefix + std::to_string(number) + kChapterSuffix + " " + name;
    return true;
}

}  // namespace tsumugi
