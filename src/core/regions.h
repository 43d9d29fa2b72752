#pragma once
// Where in the ROM each data category lives. A category's regions are copied, compared
// and restored in table order.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tsumugi {

struct DataRegion {
    uint16_t category;
    uint32_t offset;
    uint32_t length;
};

constexpr int kCategoryCount = 15;

namespace category {
constexpr int kUnit = 0, kPilotStatus = 1, kPilotSpirit = 2, kPilotSkill = 3, kWeapon = 4,
              kTrust = 5, kSpirit = 6, kSkill = 7, kSkillClass = 8, kParts = 9,
              kPartsClass = 10, kAceBonus = 11, kFullBonus = 12, kBattleLine = 13,
              kScenario = 14;
}

constexpr std::array<DataRegion, 16> kRegionTable = {{
    {0, 0xC38C4, 15600},      {1, 0xCD360, 16192},    {2, 0xC1E44, 4224},
    {3, 0xD3320, 10560},      {5, 0xD5D00, 2288},     {6, 0xC1160, 3300},
    {7, 0xD13A0, 8064},       {8, 0xD5C60, 160},      {4, 0xD7CA0, 47360},
    {9, 0xC75B4, 7728},       {10, 0xC93E4, 256},     {13, 0x9DBD4C, 262188},
    {13, 0xF2115C, 50280},    {11, 0xD6670, 5280},    {12, 0xCA034, 2600},
    {14, 0x26B840, 1614936},
}};

// The rows of one category, in table order.
std::vector<DataRegion> RegionsOf(int category);

}  // namespace tsumugi
