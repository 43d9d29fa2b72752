#pragma once
// Every patch code told in the editors' words: the category, table, record and field each
// code touches, with the value the editor showed before and shows after. A code is two
// bytes, so it may touch two fields or a part of a text; bytes no control owns are named
// by their address and shown in hex.
#include <cstdint>
#include <string>
#include <vector>

#include "core/patch_code.h"
#include "core/regions.h"

namespace tsumugi {

// A read-only view of a ROM image.
struct ImageView {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
};

// One field a code touches. Texts are UTF-8; a game text keeps its line breaks as "\n".
struct ChangeRow {
    uint32_t offset = 0;      // file offset of the (first) code that touches the field
    int category = -1;        // the category list's row; -1 for bytes no field covers
    std::string table;        // the table or list, as its editor names it
    int record = -1;          // the record (or chapter, pilot) number; -1 when none
    std::string recordName;   // its name in the editor's list
    std::string field;        // the control's label
    std::string before;       // the value as the editor showed it before the code
    std::string after;        // ... and shows it now
};

// Explains every code of codes, in address order: each field a code touches is one row,
// listed once at the first code that touches it. A field is listed when a bit it owns
// changed; a code that changes nothing lists every field it touches. Bytes of a code whose
// changed bits no field owns make one more row with old and new bytes in hex, named by the
// address of that byte when only one byte of the code holds them, else by the code's. `before` is the image without the codes (bytes past its end count as
// 0xFF, the filler of a lengthened ROM), `after` the image with them. Names and values are
// read through the character table, which the caller loads; nothing is read outside either
// image.
std::vector<ChangeRow> ExplainCodes(ImageView before, ImageView after, const PatchCodeList& codes);

// The rows as CSV (UTF-8, CR LF, fields quoted where needed), a header row first.
std::string ChangeRowsCsv(const std::vector<ChangeRow>& rows);

// "0x08C38C4C"-style bus address of a file offset, as code files write it (without "0x").
std::string CodeAddress(uint32_t offset);

}  // namespace tsumugi
