#pragma once
// One editor run per fuzz input: the input's bytes are laid over a demo image, the
// family's editor walks the rows the input picks and is closed with OK, and the run aborts
// when the editor wrote anywhere its category may not write, or when the codes taken on OK
// do not rebuild what the editor left in the image (after a refused OK: when Cancel does
// not give the image back).
//
// Editors are built once per category and image length over the demo image and kept:
// before each run the kept editor goes back to its first row, read from the demo, and the
// image to the demo (see Settle in editor_run.cpp). Their lists and combos therefore hold
// the demo's names; an input can ask for an editor built over its own image instead.
//
// Input: byte 0 picks the category among the family's, byte 1 the image's length (most
// values keep the whole demo image; 0xC0 and above cut the extension area past 16 MiB
// to one of eight lengths, 0 to 63 KiB, by the value's low three bits), byte 2 answers the editor's questions (see AutoServices), byte 3
// the walk: its low three bits plus one moves of three bytes each follow (a chooser of the
// editor, in the Tab key's order, and a 16-bit row, low byte first, each modulo their
// count); a byte 3 of 0xFF also asks for an editor built over the input's image (see
// ReadWalk). Then operations, each a head byte (top two bits: 0 bytes, 1 a pointer, 2 a
// fill, 3 a count at its maximum; low six bits: the area), a 24-bit offset into the area
// (low byte first) and a length byte. "Bytes" are followed by that many bytes; for a
// pointer the length byte picks where it aims (the image's end, 16 MiB, the area's edges,
// the scenario and battle regions) and two more bytes a signed distance from there; a fill
// is followed by its value; for a count the length byte's low bit keeps it positive.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "guarded_image.h"  // Area

namespace fuzzing {

struct Family {
    std::vector<int> categories;
    // Besides the categories' own regions and every fixed-record table (which the editors
    // read for names): pointer tables and the like.
    std::vector<Area> extra;
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
