#pragma once
// Scenario data: the chapter titles, the chapter pointer table and the deployment and
// message records its pointers reach. Pointers are bus addresses (file offset + 0x08000000).
#include <cstdint>

namespace tsumugi::layout {

// The chapter title records: 40 bytes each, the chapter number (16 bits) at byte 0 and the
// title at byte 8.
namespace chapter_title_record {
constexpr uint32_t kBase = 0x154BA0, kSize = 40, kNumber = 0, kTitle = 8, kTitleLength = 32;
constexpr int kCount = 81;
}  // namespace chapter_title_record

// One entry of 36 bytes per chapter; the first word points at the deployment list, the
// second at the message table. Read only.
namespace chapter_pointer_table {
constexpr uint32_t kBase = 0x3F5C98, kEntrySize = 36;
constexpr int kCount = 81;
constexpr uint32_t kDeployList = 0, kMessageTable = 4;
}  // namespace chapter_pointer_table

// The area the chapters' records and texts lie in (the scenario category's region).
namespace scenario_area {
constexpr uint32_t kStart = 0x26B840, kEnd = 0x3F5C98;
}  // namespace scenario_area

// Deployment records of 20 bytes, until a terminator record (bytes 0-5, 12 and 13 all 0xFF)
// or 1000 records.
namespace deploy_record {
constexpr uint32_t kSize = 20;
constexpr int kMaxCount = 1000;
constexpr uint32_t kPhase = 0, kSide = 1, kUnit = 2, kPilot = 4, kUnnamed2 = 6, kUnitUpgrade = 7,
                   kWeaponUpgrade = 8, kLevel = 9, kKills = 10, kPp = 11, kX = 12, kY = 13,
                   kAirGround = 14, kUnnamed3 = 15, kAction = 16, kUnnamed5 = 17, kDrop = 18;
constexpr uint16_t kDropPart = 0x1000, kDropWeapon = 0x2000;
}  // namespace deploy_record

// Message records of 12 bytes, until a record starting 0xFFFF (or 5000 records).
namespace message_record {
constexpr uint32_t kSize = 12;
constexpr int kMaxCount = 5000;
constexpr uint32_t kProgress = 0, kWindow = 2, kFace = 3, kExpression = 4, kPositionKind = 5,
                   kTarget = 6, kY = 7, kText = 8;
constexpr uint8_t kKindPilot = 0, kKindUnit = 1, kKindUnknown = 2, kKindPoint = 3, kKindFace = 0xFF;
constexpr uint8_t kWindowNoFace = 2;
}  // namespace message_record

}  // namespace tsumugi::layout
