#pragma once
// A made-up ROM with every table of every category filled with plausible records, and a
// matching character table. The demo and the test fixtures come from here.
#include <cstdint>
#include <string>
#include <vector>

namespace tsumugi::demo {

// 16 MiB of game data and 64 KiB of extension area past it, where one chapter's data lies.
constexpr uint32_t kDemoRomSize = 0x1010000;

// Texts that hold a game code string.txt does not list (FD F0), so that the editors show
// them locked: the nickname of one pilot, one battle line and one scenario message.
constexpr int kLockedPilot = 7;
constexpr int kLockedBattlePilot = 3, kLockedBattleLine = 0;
constexpr int kLockedChapter = 2, kLockedMessage = 1;

// A chapter whose deployment pointer is 0 (its messages are there), and one whose deployment
// list and message table lie in the extension area past 16 MiB.
constexpr int kNoDeployChapter = 5;
constexpr int kExtendedChapter = 6;
constexpr uint32_t kExtendedStart = 0x1000000;

// The character table in string.txt form (cp932, CR LF lines).
std::string StringTable();

// The demo ROM image, its names encoded through StringTable().
std::vector<uint8_t> BuildRom();

// Game bytes of a cp932 text through StringTable()'s mapping, terminator included.
// Characters the table lacks are dropped. For fixtures that place text by hand.
std::vector<uint8_t> EncodeText(const std::string& cp932);

// Writes "demo.gba" and "string.txt" into dir. False on a failed write.
bool WriteDemo(const std::string& dir);

}  // namespace tsumugi::demo
