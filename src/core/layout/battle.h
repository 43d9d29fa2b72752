#pragma once
// Battle dialogue: the pilot pointer table, one header per pilot, the line tables and the
// texts. Pointers are bus addresses (file offset + 0x08000000).
#include <cstdint>

namespace tsumugi::layout {

namespace battle_tables {
constexpr uint32_t kTextStart = 0x9DBD4C, kTextEnd = 0xA1BD78;  // the first region: texts
constexpr uint32_t kTableStart = 0xF2115C;                       // the second: headers, lines
constexpr uint32_t kPointerTable = 0xF2D5C4;                     // one pointer per pilot
constexpr int kPilotCount = 176;
}  // namespace battle_tables

// A pilot's header of 20 bytes: the base of its texts, its line table, and where its texts
// end.
namespace battle_header {
constexpr uint32_t kSize = 20;
constexpr uint32_t kTextBase = 0, kLineTable = 4, kTextEnd = 16;
}  // namespace battle_header

// A line of 4 bytes: the speaker (0xFF: the pilot), the expression (bits 0-3; bits 4-7 are
// kept), and the text's offset from the header's text base (16 bits).
namespace battle_line_record {
constexpr uint32_t kSize = 4;
constexpr uint32_t kSpeaker = 0, kExpression = 1, kTextOffset = 2;
constexpr uint8_t kDefaultSpeaker = 0xFF;
}  // namespace battle_line_record

}  // namespace tsumugi::layout
