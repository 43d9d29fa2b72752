#pragma once
// The names of a whole table, in index order, so that an item's position in a list is
// its record number.
#include <string>
#include <vector>

#include "core/text_codec.h"

namespace tsumugi {

enum class NameKind { Unit, Pilot, Weapon, Skill, Part, Spirit, Bgm, AceBonus, FullBonus, Chapter };

namespace name_table {
// One name table of the ROM: where its first name lies, how far apart the names are, how
// long each name field is and how many entries it has.
struct Layout {
    uint32_t first;
    uint32_t stride;
    int length;
    int count;
};
Layout LayoutOf(NameKind kind);

// The chapter title records behind NameKind::Chapter: 40 bytes each, the chapter number
// (16 bits) at byte 0 and the title at byte 8; LayoutOf(Chapter) describes the titles.
namespace chapter_title_record {
constexpr uint32_t kBase = 0x154BA0, kSize = 40, kNumber = 0, kTitle = 8, kTitleLength = 32;
constexpr int kCount = 81;
}  // namespace chapter_title_record
}  // namespace name_table

// Calls the getter for one index.
bool GetName(CTextCodec& codec, NameKind kind, int i, std::string& text);

// Every name of the table (count entries); a failed getter contributes its text too.
std::vector<std::string> NameList(CTextCodec& codec, NameKind kind);

// The number of entries of each table.
int NameCount(NameKind kind);

}  // namespace tsumugi
