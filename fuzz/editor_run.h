#pragma once
// One editor run per fuzz input: the input's bytes are laid over a demo image, the
// family's editor is opened offscreen on it, walked through and closed with OK, and the
// run aborts when the editor wrote anywhere its category may not write, or when the
// codes taken on OK do not rebuild what the editor left in the image.
//
// Input: byte 0 picks the category among the family's, byte 1 the image's length (most
// values keep the whole demo image; 0xC0 and above cut the extension area past 16 MiB
// to (value - 0xC0) KiB), byte 2 answers the editor's questions (see AutoServices), then
// operations, each a head byte (top two bits: 0 bytes, 1 a pointer, 2 a fill, 3 a count
// at its maximum; low six bits: the area), a 24-bit offset into the area (low byte
// first) and a length byte. "Bytes" are followed by that many bytes; for a pointer the
// length byte picks where it aims (the image's end, 16 MiB, the area's edges, the
// scenario and battle regions) and two more bytes a signed distance from there; a fill is
// followed by its value; for a count the length byte's low bit keeps it positive.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzzing {

// A stretch of the image the operations may write to.
struct Area {
    uint32_t offset;
    uint32_t length;
};

struct Family {
    std::vector<int> categories;
    // Besides the categories' own regions and every fixed-record table (which the editors
    // read for names): pointer tables and the like.
    std::vector<Area> extra;
    // Rows of each inner chooser (a list or tab strip beside the outer one) visited per
    // record of the outer chooser, spread over it; 0 visits all. The outer chooser (record
    // list, chapter, pilot) is always walked whole.
    int innerRows = 0;
};

// Sets the offscreen platform and creates the application; call once from
// LLVMFuzzerInitialize.
void InitEditors(int* argc, char*** argv);

int RunEditor(const Family& family, const uint8_t* data, size_t size);

}  // namespace fuzzing

// The two entry points of an editor family's fuzz target, over its Family.
#define TSUMUGI_EDITOR_FUZZ_TARGET(family)                                          \
    extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {                  \
        fuzzing::InitEditors(argc, argv);                                           \
        return 0;                                                                   \
    }                                                                               \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {       \
        return fuzzing::RunEditor(family, data, size);                              \
    }
