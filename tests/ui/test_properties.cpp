// Properties every editor of the main window keeps on seeded random ROMs, each editor run
// from the category list and driven through its controls' accessible names:
// - ｷｬﾝｾﾙ leaves the image byte for byte as it was, extension area included;
// - OK without a change adds no code where the editor shows every value as it is, and
//   otherwise only what a second OK would keep;
// - edits then OK give exactly the codes of the bytes that changed, and show again when
//   the editor is opened anew;
// - the codes written into the ROM file in place make the file equal to the image.
#include <gtest/gtest.h>

#include <QDialog>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <functional>
#include <string>

#include "core/bytes.h"
#include "core/layout/pilots.h"
#include "core/patch_code.h"
#include "core/regions.h"
#include "editor_walk.h"
#include "main_dlg_fixture.h"
#include "test_properties.h"
#include "ui/controls.h"

namespace testing_ui {
namespace {

namespace category = tsumugi::category;

constexpr uint32_t kSeeds[] = {1, 2, 3};  // 2 also lengthens the image to an odd size
constexpr int kEditsPerRun = 3;
// The walk passes over every record, except in the editors whose records cost most to
// show: there 20 rows per chooser, the first and the last among them. A damaged battle
// header can list 0x10000 lines: 200 of them are visited, and every pilot.
WalkLimits LimitsFor(int cat) {
    const bool costly = cat == category::kUnit || cat == category::kWeapon || cat == category::kScenario;
    return WalkLimits{costly ? 20 : cat == category::kBattleLine ? 200 : 0};
}

const char* const kCategoryNames[tsumugi::kCategoryCount] = {
    "Unit",       "PilotStatus", "PilotSpirit", "PilotSkill", "Weapon",    "Trust",
    "Spirit",     "Skill",       "SkillClass",  "Parts",      "PartsClass", "AceBonus",
    "FullBonus",  "BattleLine",  "Scenario"};

// The first byte below 16 MiB outside the category's regions where the images differ, or
// nothing. Past 16 MiB any editor may write.
std::optional<uint32_t> ChangeOutside(int cat, const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
    std::vector<tsumugi::DataRegion> regions = tsumugi::RegionsOf(cat);
    std::sort(regions.begin(), regions.end(), [](const auto& a, const auto& b) { return a.offset < b.offset; });
    uint32_t from = 0;
    regions.push_back({0, tsumugi::kGameDataEnd, 0});
    for (const tsumugi::DataRegion& region : regions) {
        if (region.offset > from && std::memcmp(before.data() + from, after.data() + from, region.offset - from) != 0) {
            for (uint32_t i = from; i < region.offset; ++i)
                if (before[i] != after[i]) return i;
        }
        from = std::max(from, region.offset + region.length);
    }
    return std::nullopt;
}

// The codes the main window should record for an editor run that turned before into after.
tsumugi::PatchCodeList ExpectedCodes(int cat, const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
    tsumugi::PatchCodeList codes;
    for (const tsumugi::DataRegion& region : tsumugi::RegionsOf(cat))
        tsumugi::DiffRegion(before.data() + region.offset, after.data() + region.offset, region.offset, region.length, codes);
    if (after.size() > tsumugi::kGameDataEnd) {
        const auto length = static_cast<uint32_t>(after.size() - tsumugi::kGameDataEnd);
        tsumugi::DiffRegion(before.data() + tsumugi::kGameDataEnd, after.data() + tsumugi::kGameDataEnd,
                            tsumugi::kGameDataEnd, length, codes);
    }
    return codes;
}

std::string Listed(const tsumugi::PatchCodeList& codes) {
    std::string text;
    char line[24];
    for (const auto& [offset, value] : codes) {
        std::snprintf(line, sizeof line, "%08X:%04X ", offset, value);
        text += line;
    }
    return text;
}

class EditorProperties : public MainDlgTest, public ::testing::WithParamInterface<int> {
protected:
    int Category() const { return GetParam(); }

    // Loads bytes from a ROM file of their own, as "開く" does.
    void LoadBytes(const std::vector<uint8_t>& bytes) {
        m_path = OwnRom(bytes);
        Load(m_path);
        m_before = bytes;
    }

    std::vector<uint8_t> Image() const { return {m_dlg.m_rom.m_pData, m_dlg.m_rom.m_pData + m_dlg.m_rom.m_nSize}; }

    // Picks the category in the list and presses "編集"; body drives the open editor.
    void Run(const std::function<void(QDialog*)>& body) {
        m_services.modal = [&body](QDialog* d) {
            d->show();
            body(d);
            return d->result();
        };
        auto* list = Named<ui::ListBox>(&m_dlg, QStringLiteral("改造"));
        ASSERT_NE(list, nullptr);
        ASSERT_TRUE(ChooseRow(list, Category()));
        Click(u"編集");
        m_services.modal = nullptr;
    }

    // Walks every record and page, then presses OK.
    void WalkAndOk() {
        Run([this, limits = LimitsFor(Category())](QDialog* d) {
            WalkEditor(d, limits);
            EXPECT_TRUE(PressOk(d)) << "OK did not close the editor: " << m_services.Last().toStdString();
        });
    }

    // The recorded codes are the difference the run made, and nothing else changed.
    void ExpectCodesMatchImage(const std::vector<uint8_t>& before, uint32_t seed) {
        const std::vector<uint8_t> after = Image();
        ASSERT_EQ(after.size(), before.size());
        const tsumugi::PatchCodeList expected = ExpectedCodes(Category(), before, after);
        EXPECT_EQ(Listed(m_dlg.m_codes), Listed(expected)) << "seed " << seed;
        const std::optional<uint32_t> outside = ChangeOutside(Category(), before, after);
        EXPECT_FALSE(outside) << "seed " << seed << ": byte " << std::hex << *outside << " changed outside the category";
    }

    std::string m_path;
    std::vector<uint8_t> m_before;
};

TEST_P(EditorProperties, CancelLeavesTheImageByteIdentical) {
    for (const uint32_t seed : kSeeds) {
        LoadBytes(MutatedRom(Category(), seed));
        Run([seed, limits = LimitsFor(Category())](QDialog* d) {
            WalkEditor(d, limits);
            MakeEdits(d, seed, kEditsPerRun);
            EXPECT_TRUE(PressCancel(d));
        });
        EXPECT_TRUE(RomEquals(m_before)) << "seed " << seed;
        EXPECT_TRUE(m_dlg.m_codes.Empty()) << "seed " << seed;
    }
}

// Where every value shows as it is, OK adds nothing.
TEST_P(EditorProperties, OkWithoutChangeAddsNoCodeWhereEveryValueShows) {
    for (const uint32_t seed : kSeeds) {
        const std::vector<uint8_t> rom = InDomainRom(Category(), seed);
        // Without a fixed-record table every seed gives the demo image: one run is enough.
        if (seed != kSeeds[0] && rom == Demo().bytes) break;
        LoadBytes(rom);
        WalkAndOk();
        EXPECT_EQ(Listed(m_dlg.m_codes), "") << "seed " << seed;
        EXPECT_TRUE(RomEquals(m_before)) << "seed " << seed;
    }
}

// On random bytes an editor may write back what it cannot show (a text's filler, bits no
// box holds, a slot past its list): those writes are coded, stay inside the category, and
// a second OK finds nothing more to write.
TEST_P(EditorProperties, OkWithoutChangeOnRandomBytesSettlesAtOnce) {
    for (const uint32_t seed : {kSeeds[0], kSeeds[1]}) {
        LoadBytes(MutatedRom(Category(), seed));
        WalkAndOk();
        ExpectCodesMatchImage(m_before, seed);
        const std::vector<uint8_t> settled = Image();
        const tsumugi::PatchCodeList first = m_dlg.m_codes;
        WalkAndOk();
        EXPECT_TRUE(RomEquals(settled)) << "seed " << seed;
        EXPECT_EQ(Listed(m_dlg.m_codes), Listed(first)) << "seed " << seed;
    }
}

TEST_P(EditorProperties, EditsGiveExactlyTheirCodesAndShowAgain) {
    for (const uint32_t seed : kSeeds) {
        LoadBytes(MutatedRom(Category(), seed));
        std::vector<FieldEdit> edits;
        Run([&edits, seed](QDialog* d) {
            edits = MakeEdits(d, seed, kEditsPerRun);
            EXPECT_TRUE(PressOk(d)) << "OK did not close the editor";
        });
        EXPECT_FALSE(edits.empty()) << "seed " << seed;
        ExpectCodesMatchImage(m_before, seed);

        const std::vector<uint8_t> edited = Image();
        std::vector<QString> problems;
        Run([&edits, &problems](QDialog* d) {
            problems = CheckEdits(d, edits);
            EXPECT_TRUE(PressCancel(d));
        });
        for (const QString& p : problems) EXPECT_TRUE(p.isEmpty()) << "seed " << seed << ": " << p.toStdString();
        EXPECT_TRUE(RomEquals(edited));

        // "上書き保存": the file then holds what memory holds.
        if (m_dlg.m_codes.Empty()) continue;
        m_services.answers = {ui::MsgResult::Yes};
        Click(u"上書き保存");
        EXPECT_EQ(m_services.Last(), Q(u"書き換えに成功しました。")) << "seed " << seed;
        EXPECT_TRUE(tsumugi::testing::ReadBytes(m_path) == edited) << "seed " << seed;
    }
}

// The pilot spirit and pilot skill editors store a slot whose byte lies past their list as
// "none" (0xFF). After a walk over every record and OK, the codes are exactly those slots.
// The walk itself, on the demo image: every row of the outer chooser, and for each of
// them every row of the others, with no move refused.
class EditorWalkTest : public MainDlgTest {};

TEST_F(EditorWalkTest, StandsOnEveryRowOfEveryChooser) {
    struct Case {
        int category;
        int choosers;
        int moves;
    };
    const Case cases[] = {
        {category::kPilotSpirit, 1, 176},           // the pilots
        {category::kTrust, 2, 44 + 44 * 4},         // the records, each on its four pages
        {category::kBattleLine, 2, 176 + 44 * 10},  // the pilots and their 1-4 lines
    };
    LoadDemo();
    for (const Case& c : cases) {
        WalkResult walked;
        m_services.modal = [&walked](QDialog* d) {
            d->show();
            walked = WalkEditor(d);
            EXPECT_TRUE(PressCancel(d));
            return d->result();
        };
        ASSERT_TRUE(m_dlg.EditCategory(c.category));
        EXPECT_EQ(walked.choosers, c.choosers) << kCategoryNames[c.category];
        EXPECT_EQ(walked.moves, c.moves) << kCategoryNames[c.category];
        EXPECT_EQ(walked.refused, 0) << kCategoryNames[c.category];
    }
    EXPECT_TRUE(RomEquals(Demo().bytes));
}

class SlotListProperties : public EditorProperties {};

TEST_P(SlotListProperties, SlotsPastTheListAreTheOnlyCodesOfAnUnchangedRun) {
    namespace ps = tsumugi::layout::pilot_spirit_record;
    namespace pk = tsumugi::layout::pilot_skill_record;
    struct SlotTable {
        uint32_t base, size;
        int count;
        std::vector<uint32_t> slotBytes;  // offsets of the slot bytes in a record
        uint32_t listed;              // items of the list before "none"
    };
    SlotTable table;
    ASSERT_TRUE(Category() == category::kPilotSpirit || Category() == category::kPilotSkill);
    if (Category() == category::kPilotSpirit) {
        table = {ps::kBase, ps::kSize, ps::kCount, {}, tsumugi::layout::spirit_record::kCount};
        for (int s = 0; s < ps::kSlots; ++s) table.slotBytes.push_back(ps::kSpirits + static_cast<uint32_t>(s));
    } else {
        table = {pk::kBase, pk::kSize, pk::kCount, {}, tsumugi::layout::skill_record::kCount};
        for (int s = 0; s < pk::kSlots; ++s) table.slotBytes.push_back(pk::kSlotSize * static_cast<uint32_t>(s) + pk::kSkill);
    }
    for (const uint32_t seed : kSeeds) {
        std::vector<uint8_t> expected = MutatedRom(Category(), seed);
        LoadBytes(expected);
        int pastTheList = 0;
        for (int r = 0; r < table.count; ++r) {
            for (const uint32_t slot : table.slotBytes) {
                uint8_t& b = expected[table.base + table.size * static_cast<uint32_t>(r) + slot];
                if (b >= table.listed && b != 0xFF) {
                    b = 0xFF;
                    ++pastTheList;
                }
            }
        }
        EXPECT_GT(pastTheList, 0) << "seed " << seed << " puts no slot past the list";
        WalkAndOk();
        EXPECT_TRUE(RomEquals(expected)) << "seed " << seed;
        ExpectCodesMatchImage(m_before, seed);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCategory, EditorProperties, ::testing::Range(0, tsumugi::kCategoryCount),
                         [](const ::testing::TestParamInfo<int>& info) { return kCategoryNames[info.param]; });

INSTANTIATE_TEST_SUITE_P(PilotSlots, SlotListProperties,
                         ::testing::Values(category::kPilotSpirit, category::kPilotSkill),
                         [](const ::testing::TestParamInfo<int>& info) { return kCategoryNames[info.param]; });

}  // namespace
}  // namespace testing_ui
