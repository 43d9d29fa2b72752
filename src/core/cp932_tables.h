#pragma once
// The cp932 <-> Unicode tables, generated once by scripts/gen-cp932-tables.py and kept in
// src/core/cp932_tables.cpp. Every character cp932 has lies in the Basic Multilingual Plane.
#include <cstddef>
#include <cstdint>

namespace tsumugi::cp932_tables {

constexpr uint16_t kNone = 0xFFFF;  // no character (U+FFFF is never one)
constexpr uint8_t kFirstTrail = 0x40, kLastTrail = 0xFC;
constexpr size_t kTrailCount = kLastTrail - kFirstTrail + 1;

struct CodePair {
    uint16_t unicode;
    uint16_t code;  // a single byte, or a two-byte code lead byte first
};

// The character of every single byte (kNone where the byte is no character alone).
extern const uint16_t kSingle[256];
// The lead bytes that begin at least one two-byte character, ascending, and for each the
// characters of its trail bytes kFirstTrail-kLastTrail (kNone where the pair is none).
extern const size_t kLeadCount;
extern const uint8_t kLeads[];
extern const uint16_t kDouble[][kTrailCount];

// Every character cp932 takes in, ascending, with the code it is written as. Where a
// character has several codes this is the one it is written as; a few characters (U+301C,
// U+2212, U+00A5 ...) are taken in but another character comes back from their code.
extern const size_t kEncodeCount;
extern const CodePair kEncode[];

}  // namespace tsumugi::cp932_tables
