// A text box left as it was shown is never encoded, written or refused, on texts that fill
// their field, share a tail with another text, run on past 256 bytes, use the second of two
// codes of one character, or hold a character cp932 lacks; such texts lock when they could
// not be stored back as the same bytes.
#include <gtest/gtest.h>

#include <QDialog>
#include <algorithm>
#include <string>

#include "core/bytes.h"
#include "core/char_table.h"
#include "core/layout/battle.h"
#include "core/layout/descriptor.h"
#include "core/layout/scenario.h"
#include "core/message_table.h"
#include "core/random_bytes.h"
#include "core/regions.h"
#include "core/text_codec.h"
#include "demo/rom.h"
#include "editor_walk.h"
#include "editors/common/field_tips.h"
#include "editors/common/game_text_field.h"
#include "main_dlg_fixture.h"
#include "test_properties.h"
#include "ui/controls.h"

namespace testing_ui {
namespace {

namespace layout = tsumugi::layout;

// Game codes the test table adds: a second code of ア, and a character cp932 lacks.
constexpr uint8_t kLead = 0xFD, kTwinTrail = 0x11, kNoCp932Trail = 0x12;

// The demo table with those two lines.
std::string TrickyTable() {
    return tsumugi::demo::StringTable() + "FD 11,\x83\x41\r\nFD 12,\x85\x40\r\n";
}

// Field contents that an untouched box must leave alone: a name filling its field with no
// terminator, a twin code, a character cp932 lacks, filler that is not 0x00.
std::vector<uint8_t> TrickyField(int kind, uint32_t width) {
    std::vector<uint8_t> f(width, 0x00);
    switch (kind) {
        case 0:
            for (uint32_t i = 0; i < width; ++i) f[i] = static_cast<uint8_t>(0x0B + i % 40);
            break;
        case 1: f = {0x0C, kLead, kTwinTrail, 0x0D, 0xFF}; break;
        case 2: f = {0x0C, kLead, kNoCp932Trail, 0xFF}; break;
        default:
            std::fill(f.begin(), f.end(), 0xAB);
            f[0] = 0x0C;
            f[1] = 0xFF;
            break;
    }
    f.resize(width, 0x00);
    return f;
}

void PlantTableTexts(std::vector<uint8_t>& rom, int category, tsumugi::test::RandomBytes& r) {
    for (const layout::Table& table : layout::Tables()) {
        if (table.category != category) continue;
        for (const layout::Field& field : table.fields) {
            if (field.kind != layout::FieldKind::Text || field.width <= 2) continue;
            for (int k = 0; k < 8; ++k) {
                // Record 0 always gets the full field.
                const uint32_t record = k == 0 ? 0 : r.Below(static_cast<uint32_t>(table.count));
                const std::vector<uint8_t> f = TrickyField(k == 0 ? 0 : static_cast<int>(r.Below(4)), field.width);
                std::copy(f.begin(), f.end(), rom.begin() + table.base + table.size * record + field.offset);
            }
        }
    }
}

// Each message of some chapters points two bytes into the text before it (a shared tail);
// in others every text but the last loses its terminator, so the first runs on for more
// than the 256 bytes the page reads.
void PlantMessageTexts(std::vector<uint8_t>& rom, tsumugi::test::RandomBytes& r) {
    namespace pt = layout::chapter_pointer_table;
    namespace mr = layout::message_record;
    const auto size = static_cast<uint32_t>(rom.size());
    for (int c = 0; c < pt::kCount; ++c) {
        const std::optional<uint32_t> table =
            tsumugi::MessageTextOffset(tsumugi::Read32(rom.data() + pt::kBase + pt::kEntrySize * c + pt::kMessageTable));
        if (!table || r.OneIn(2)) continue;
        const tsumugi::MessageScan scan = tsumugi::ScanMessageTable(rom.data(), size, *table);
        const bool shareTails = r.OneIn(2);
        for (int m = 0; m + 1 < scan.count; ++m) {
            uint8_t* pointer = rom.data() + *table + mr::kSize * static_cast<uint32_t>(m) + mr::kText;
            const std::optional<uint32_t> at = tsumugi::MessageTextOffset(tsumugi::Read32(pointer));
            if (!at || *at >= size) continue;
            if (shareTails) {
                tsumugi::Write32(pointer + mr::kSize, tsumugi::Read32(pointer) + 2);
                continue;
            }
            for (uint32_t i = *at; i < size && i < *at + 256; ++i) {
                if (rom[i] == 0xFF) {
                    rom[i] = 0x0B;
                    break;
                }
            }
        }
    }
}

// Lines of some pilots start one byte into the line before.
void PlantBattleTexts(std::vector<uint8_t>& rom, tsumugi::test::RandomBytes& r) {
    namespace bt = layout::battle_tables;
    for (int p = 0; p < bt::kPilotCount; p += 1 + static_cast<int>(r.Below(6))) {
        const uint32_t header = tsumugi::Read32(rom.data() + bt::kPointerTable + 4 * static_cast<uint32_t>(p)) - tsumugi::kBusBase;
        if (header + layout::battle_header::kSize > rom.size()) continue;
        const uint32_t lines = tsumugi::Read32(rom.data() + header + layout::battle_header::kLineTable) - tsumugi::kBusBase;
        if (lines + 8 > rom.size()) continue;
        const uint32_t second = lines + layout::battle_line_record::kSize + layout::battle_line_record::kTextOffset;
        tsumugi::Write16(rom.data() + second,
                         static_cast<uint16_t>(tsumugi::Read16(rom.data() + lines + layout::battle_line_record::kTextOffset) + 1));
    }
}

std::vector<uint8_t> TrickyRom(int category, uint32_t seed) {
    std::vector<uint8_t> rom = InDomainRom(category, seed);
    tsumugi::test::RandomBytes r(seed * 31337u + static_cast<uint32_t>(category));
    if (category == tsumugi::category::kScenario) {
        PlantMessageTexts(rom, r);
    } else if (category == tsumugi::category::kBattleLine) {
        PlantBattleTexts(rom, r);
    } else {
        PlantTableTexts(rom, category, r);
    }
    return rom;
}

class UntouchedText : public MainDlgTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        MainDlgTest::SetUp();
        m_table = m_files.Write("string.txt", TrickyTable());
        tsumugi::CharTable::SetPath(m_table);
        tsumugi::CharTable::Instance().Reset();
    }
    std::string m_table;
};

TEST_P(UntouchedText, OkWithoutChangeAddsNoCode) {
    const int cat = GetParam();
    const bool costly = cat == tsumugi::category::kUnit || cat == tsumugi::category::kWeapon ||
                        cat == tsumugi::category::kScenario;
    for (const uint32_t seed : {1u, 2u}) {
        const std::vector<uint8_t> rom = TrickyRom(cat, seed);
        Load(OwnRom(rom));
        m_services.modal = [costly](QDialog* d) {
            d->show();
            WalkEditor(d, WalkLimits{costly ? 20 : 0});
            EXPECT_TRUE(PressOk(d));
            return d->result();
        };
        ASSERT_TRUE(m_dlg.EditCategory(cat));
        m_services.modal = nullptr;
        EXPECT_TRUE(m_dlg.m_codes.Empty()) << "seed " << seed << ": " << m_dlg.m_codes.Size() << " codes";
        EXPECT_TRUE(RomEquals(rom)) << "seed " << seed;
        EXPECT_TRUE(m_services.shown.empty()) << "seed " << seed << ": " << m_services.Last().toStdString();
        m_services.shown.clear();
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCategory, UntouchedText, ::testing::Range(0, tsumugi::kCategoryCount));

// Which texts lock, and why: the tooltip names the reason; an editable text shows none.
TEST_F(MainDlgTest, TextsThatWouldNotStoreBackLockWithTheirReason) {
    tsumugi::testing::TempDir dir;
    const std::string path = dir.Write("string.txt", TrickyTable());
    tsumugi::CharTable::SetPath(path);
    tsumugi::CharTable::Instance().Reset();
    struct Case {
        std::vector<uint8_t> bytes;
        const char16_t* reason;  // part of the tooltip; null: editable
    } const cases[] = {
        {TrickyField(0, 8), nullptr},
        {TrickyField(3, 8), nullptr},
        {{0x0C, 0xFE, 0x0D, 0xFF}, nullptr},
        {TrickyField(1, 8), u"同じ文字"},
        {TrickyField(2, 8), u"シフトJIS"},
        {{0x0C, 0xFD, 0xF0, 0xFF}, u"文字テーブル"},
    };
    ui::MultiEdit box(QStringLiteral("text"));
    for (const Case& c : cases) {
        tsumugi::CTextCodec codec(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
        const bool editable = editors::ShowGameText(codec, &box, c.bytes.data(), static_cast<int>(c.bytes.size()));
        EXPECT_EQ(editable, c.reason == nullptr) << box.GetText().toStdString();
        EXPECT_EQ(box.isEnabled(), editable);
        if (c.reason != nullptr) {
            EXPECT_TRUE(box.toolTip().contains(QString::fromUtf16(c.reason))) << box.toolTip().toStdString();
        } else {
            EXPECT_TRUE(box.toolTip().isEmpty());
        }
        // The field's place stays beside the reason.
        editors::SetTipPart(&box, editors::TipPart::Place, QStringLiteral("+0x00, 8バイト"));
        EXPECT_TRUE(box.toolTip().startsWith(QStringLiteral("+0x00, 8バイト")));
        EXPECT_EQ(box.toolTip().contains(QString::fromUtf16(c.reason ? c.reason : u"\n")), c.reason != nullptr);
        editors::SetTipPart(&box, editors::TipPart::Place, QString());
        EXPECT_TRUE(editors::IsAsShown(&box));
        box.SetText(box.GetText() + QStringLiteral("x"));
        EXPECT_FALSE(editors::IsAsShown(&box));
    }
}

}  // namespace
}  // namespace testing_ui
