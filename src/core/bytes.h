#pragma once
// Little-endian access to ROM bytes. Numbers in the ROM are stored low byte first;
// never cast a ROM pointer to a wider integer type, read through these instead.
#include <cstdint>

namespace tsumugi {

inline uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void Write16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void Write32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

// File offsets map onto the cartridge bus from 0x08000000; patch-code files and the
// game's own pointers use that form. Bus addresses 0x08000000-0x09FFFFFF are accepted.
constexpr uint32_t kBusBase = 0x08000000;
constexpr uint32_t kGameDataEnd = 0x1000000;  // the game's own data lies below 16 MiB

inline bool IsBusAddress(uint32_t address) {
    const uint32_t top = address >> 24;
    return top == 0x08 || top == 0x09;
}

}  // namespace tsumugi
