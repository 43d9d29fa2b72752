#pragma once
// The names of a whole table, in index order, so that an item's position in a list is
// its record number.
#include <string>
#include <vector>

#include "core/layout/scenario.h"
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

}  // namespace name_table

// Calls the getter for one index.
bool GetName(CTextCodec& codec, NameKind kind, int i, std::string& text);

// Every name of the table (count entries); a failed getter contributes its text too.
std::vector<std::string> NameList(CTextCodec& codec, NameKind kind);

// The number of entries of each table.
int NameCount(NameKind kind);

}  // namespace tsumugi
