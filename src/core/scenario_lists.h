#pragma once
// The chapter pointer table and the deployment lists it reaches, read without trusting the
// ROM: every pointer is converted and checked against the image before anything is read.
#include <cstdint>

namespace tsumugi {

// Where a chapter pointer leads.
enum class PointerTarget {
    None,       // 0 (or the bus base itself): the chapter has no such data
    Inside,     // a usable offset with room for at least one record inside the image
    Unusable,   // 32 MiB or more: beyond anything the cartridge maps
    PastImage,  // usable, but the image ends before one record fits there
};

struct ChapterTarget {
    PointerTarget kind = PointerTarget::None;
    uint32_t offset = 0;  // the converted offset (0 for None)
};

// A game pointer to a ROM offset, as the chapter table's users convert it: a value of
// 0x08000000 or more loses the bus base; the result is usable below 32 MiB, and 0 means
// none. recordSize is the room one record needs at the offset.
ChapterTarget ConvertChapterPointer(uint32_t pointer, uint32_t recordSize, uint32_t romSize);

// The deployment and message pointers of chapter n; false when the table entry does not
// lie inside the image (or n is not a chapter).
bool ReadChapterPointers(const uint8_t* rom, uint32_t romSize, int n, uint32_t& deployPointer,
                         uint32_t& messagePointer);

// A deployment record is the terminator when its bytes 0-5, 12 and 13 are all 0xFF.
bool IsDeployTerminator(const uint8_t* record);

struct DeployScan {
    int count = 0;             // records before the terminator (at most 1000)
    bool pastImage = false;    // the list reached the image's end before its terminator
};

// Walks the deployment list at offset: records until the terminator, or 1000 records. A
// record that would run past the image ends the walk with pastImage set.
DeployScan ScanDeployList(const uint8_t* rom, uint32_t romSize, uint32_t offset);

}  // namespace tsumugi
