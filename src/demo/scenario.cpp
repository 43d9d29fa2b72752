// Demo scenario data and battle dialogue: the chapter titles, the chapter pointer table with
// each chapter's deployment list and message table, and the pilots' battle lines reached
// through the pilot pointer table. Every pointer is a bus address of a place in the image.
#include "demo/data.h"
#include "demo/rom.h"
#include "core/layout/abilities.h"
#include "core/layout/battle.h"
#include "core/layout/pilots.h"
#include "core/layout/scenario.h"
#include "core/layout/units.h"

namespace tsumugi::demo::detail {
namespace {

using namespace tsumugi::layout;

constexpr int kUnitCount = unit_record::kCount, kPartCount = part_record::kCount,
              kWeaponCount = weapon_record::kCount;

std::vector<uint8_t> WithUnlistedCode(const std::string& cp932) {
    std::vector<uint8_t> bytes = EncodeCodes(cp932);
    bytes.push_back(kUnlistedLead);
    bytes.push_back(kUnlistedTrail);
    bytes.push_back(0xFF);
    return bytes;
}

void WriteChapterTitles(RomWriter& rom) {
    using namespace chapter_title_record;
    for (int n = 0; n < tsumugi::layout::chapter_title_record::kCount; ++n) {
        const uint32_t r = kBase + kSize * static_cast<uint32_t>(n);
        rom.Fill(r, kSize, 0x00);
        rom.Put16(r + kNumber, ChapterNumber(n));
        rom.PutText(r + kTitle, kTitleLength, ChapterTitle(n));
    }
}

void WriteDeployList(RomWriter& rom, TextArea& area, int n) {
    using namespace deploy_record;
    area.Align(4);
    const int count = DeployCount(n);
    for (int k = 0; k < count; ++k) {
        const uint32_t r = area.Add(std::vector<uint8_t>(tsumugi::layout::deploy_record::kSize, 0x00));
        const bool ally = k < 2;
        const uint8_t side =
            ally ? (n % 5 == 1 && k == 1 ? 2 : 0) : (k == count - 1 && n % 4 == 0 ? 3 : 1);
        rom.Put8(r + kPhase, static_cast<uint8_t>(ally ? 0 : 1 + k % 3));
        rom.Put8(r + kSide, side);
        rom.Put16(r + kUnit, static_cast<uint16_t>((n * 7 + k * 11) % kUnitCount));
        const bool unmanned = !ally && n % 3 == 0 && k == 2;
        const auto pilot =
            static_cast<uint16_t>((ally ? n * 5 + k : n * 3 + k * 13) % tsumugi::layout::pilot_record::kCount);
        rom.Put16(r + kPilot, unmanned ? kNone16 : pilot);
        rom.Put8(r + kUnnamed2, 0);
        rom.Put8(r + kUnitUpgrade, static_cast<uint8_t>(ally ? 0 : n / 8));
        rom.Put8(r + kWeaponUpgrade, static_cast<uint8_t>(ally ? 0 : n / 9));
        rom.Put8(r + kLevel, static_cast<uint8_t>(1 + n / 2 + k));
        rom.Put8(r + kKills, static_cast<uint8_t>(ally ? n % 7 : 0));
        rom.Put8(r + kPp, static_cast<uint8_t>(ally ? 0 : 5 + k));
        rom.Put8(r + kX, static_cast<uint8_t>(2 + k * 3));
        rom.Put8(r + kY, static_cast<uint8_t>(ally ? 20 - k : 4 + n % 5));
        rom.Put8(r + kAirGround, static_cast<uint8_t>(k % 2));
        rom.Put8(r + kUnnamed3, 0);
        rom.Put8(r + kAction, static_cast<uint8_t>(ally ? 0 : 1 + k % 4));
        rom.Put8(r + kUnnamed5, 0);
        uint16_t drop = kNone16;
        if (!ally && k % 3 == 0) drop = static_cast<uint16_t>(kDropPart | (n + k) % kPartCount);
        if (!ally && k % 3 == 1)
            drop = static_cast<uint16_t>(kDropWeapon | (n * 9 + k) % kWeaponCount);
        rom.Put16(r + kDrop, drop);
    }
    area.Add(std::vector<uint8_t>(tsumugi::layout::deploy_record::kSize, 0xFF));
}

// The message table first, then its texts packed behind it.
void WriteMessages(RomWriter& rom, TextArea& area, int n) {
    using namespace message_record;
    area.Align(4);
    const int count = MessageCount(n);
    const uint32_t table = area.Add(
        std::vector<uint8_t>(tsumugi::layout::message_record::kSize * static_cast<uint32_t>(count + 1), 0x00));
    rom.Fill(table + tsumugi::layout::message_record::kSize * static_cast<uint32_t>(count), tsumugi::layout::message_record::kSize,
             0xFF);
    std::vector<uint32_t> texts;
    for (int m = 0; m < count; ++m) {
        const uint32_t r = table + tsumugi::layout::message_record::kSize * static_cast<uint32_t>(m);
        const uint8_t window = static_cast<uint8_t>(m % 3);
        rom.Put16(r + kProgress, static_cast<uint16_t>(m < 2 ? 0 : 1 + m / 3));
        rom.Put8(r + kWindow, window);
        rom.Put8(r + kFace, window == kWindowNoFace
                                ? kNone8
                                : static_cast<uint8_t>((n * 5 + m % 3) % tsumugi::layout::pilot_record::kCount));
        rom.Put8(r + kExpression, static_cast<uint8_t>(m % 4));
        switch (m % 5) {
            case 0:
                rom.Put8(r + kPositionKind, kKindPilot);
                rom.Put8(r + kTarget, static_cast<uint8_t>((n * 5 + m % 3) % tsumugi::layout::pilot_record::kCount));
                break;
            case 1:
                rom.Put8(r + kPositionKind, kKindUnit);
                rom.Put8(r + kTarget, static_cast<uint8_t>(n * 7 % kUnitCount));
                break;
            case 2:
                rom.Put8(r + kPositionKind, kKindPoint);
                rom.Put8(r + kTarget, static_cast<uint8_t>(3 + m));
                rom.Put8(r + kY, static_cast<uint8_t>(5 + n % 9));
                break;
            case 3:
                rom.Put8(r + kPositionKind, kKindFace);
                break;
            default:
                rom.Put8(r + kPositionKind, kKindUnknown);
                rom.Put8(r + kTarget, 1);
                rom.Put8(r + kY, 2);
                break;
        }
        uint32_t text;
        if (n == kSharedTextChapter && m == kSharedTextMessage) {
            text = texts[static_cast<size_t>(kSharedTextWith)];
        } else if (n == kLockedChapter && m == kLockedMessage) {
            text = area.Add(WithUnlistedCode(MessageText(n, m)));
        } else {
            text = area.Add(MessageText(n, m), m % 4 == 1 ? 4 : 0);
        }
        texts.push_back(text);
        rom.PutPointer(r + kText, text);
    }
}

void WriteChapters(RomWriter& rom) {
    TextArea scenario(rom, tsumugi::layout::scenario_area::kStart);
    TextArea extension(rom, kExtendedStart);
    for (int n = 0; n < tsumugi::layout::chapter_title_record::kCount; ++n) {
        const uint32_t pointers =
            tsumugi::layout::chapter_pointer_table::kBase + tsumugi::layout::chapter_pointer_table::kEntrySize * static_cast<uint32_t>(n);
        rom.Fill(pointers, tsumugi::layout::chapter_pointer_table::kEntrySize, 0x00);
        TextArea& area = n == kExtendedChapter ? extension : scenario;
        area.Align(4);
        if (n != kNoDeployChapter) {
            rom.PutPointer(pointers + chapter_pointer_table::kDeployList, area.Next());
            WriteDeployList(rom, area, n);
        }
        area.Align(4);
        rom.PutPointer(pointers + chapter_pointer_table::kMessageTable, area.Next());
        WriteMessages(rom, area, n);
    }
}

}  // namespace

void WriteScenario(RomWriter& rom) {
    WriteChapterTitles(rom);
    WriteChapters(rom);
}

// Headers first, the texts in the first battle area, and the line tables packed so that the
// last one ends where the pilot pointer table begins.
void WriteBattleLines(RomWriter& rom) {
    uint32_t lines = 0;
    for (int p = 0; p < tsumugi::layout::pilot_record::kCount; ++p)
        lines += static_cast<uint32_t>(BattleLineCount(p));
    uint32_t table = tsumugi::layout::battle_tables::kPointerTable - tsumugi::layout::battle_line_record::kSize * lines;
    TextArea texts(rom, tsumugi::layout::battle_tables::kTextStart);
    for (int p = 0; p < tsumugi::layout::pilot_record::kCount; ++p) {
        const uint32_t header =
            tsumugi::layout::battle_tables::kTableStart + tsumugi::layout::battle_header::kSize * static_cast<uint32_t>(p);
        rom.PutPointer(tsumugi::layout::battle_tables::kPointerTable + 4 * static_cast<uint32_t>(p), header);
        rom.Fill(header, tsumugi::layout::battle_header::kSize, 0x00);
        const uint32_t base = texts.Next();
        rom.PutPointer(header + battle_header::kTextBase, base);
        rom.PutPointer(header + battle_header::kLineTable, table);
        for (int j = 0; j < BattleLineCount(p); ++j) {
            using namespace battle_line_record;
            const bool locked = p == kLockedBattlePilot && j == kLockedBattleLine;
            const uint32_t at = locked ? texts.Add(WithUnlistedCode(BattleLineText(p, j)))
                                       : texts.Add(BattleLineText(p, j), j % 2 == 1 ? 3 : 0);
            const uint8_t speaker =
                j == 1 ? kDefaultSpeaker
                       : static_cast<uint8_t>(j == 2 ? (p + 1) % tsumugi::layout::pilot_record::kCount : p);
            rom.Put8(table + kSpeaker, speaker);
            rom.Put8(table + kExpression, static_cast<uint8_t>((j == 2 ? 0x30 : 0) | (p + j) % 16));
            rom.Put16(table + kTextOffset, static_cast<uint16_t>(at - base));
            table += tsumugi::layout::battle_line_record::kSize;
        }
        rom.PutPointer(header + battle_header::kTextEnd, texts.Next());
    }
}

}  // namespace tsumugi::demo::detail
