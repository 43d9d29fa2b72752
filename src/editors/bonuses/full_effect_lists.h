#pragma once
// The two effect lists of the full-upgrade bonus editor, built from texts the game keeps
// at fixed places. Each list ends with "無し(0xFF)", which stands for 0xFF.
#include <QStringList>
#include <cstdint>

namespace editors {

struct FullEffectLists {
    QStringList first;   // nine texts, then "無し(0xFF)"
    QStringList second;  // eight pairs of texts joined by "、", one text alone, then "無し(0xFF)"
};

// Each text is read up to its terminator, at most 64 bytes and never past the end of the
// image; a text whose place lies outside the image shows "Error".
FullEffectLists BuildFullEffectLists(const uint8_t* rom, uint32_t romSize);

}  // namespace editors
