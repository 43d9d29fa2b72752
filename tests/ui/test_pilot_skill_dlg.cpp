#include <QTest>
#include <algorithm>
#include <cstdio>

#include "app/editor_factory.h"
#include "core/bytes.h"
#include "core/layout/pilots.h"
#include "core/regions.h"
#include "editors/pilots/pilot_skill_dlg.h"
#include "main_dlg_fixture.h"
#include "pilot_slot_fixture.h"

namespace {

using namespace testing_ui;
namespace psk = tsumugi::layout::pilot_skill_record;
namespace psr = tsumugi::layout::pilot_spirit_record;

std::vector<QString> SkillHeaders() {
    std::vector<QString> headers{QStringLiteral("技能"), QStringLiteral("習得LV")};
    for (int l = 1; l <= psk::kLevelCount; ++l) headers.push_back(QString::number(l));
    return headers;
}

class PilotSkillDlgTest : public PilotSlotTest<CPilotSkillDlg> {
protected:
    PilotSkillDlgTest()
        : PilotSlotTest(
              {"pilot-skills", u"パイロット技能", tsumugi::NameKind::Skill, SkillHeaders()}) {}
};

TEST_F(PilotSkillDlgTest, OpenBrowseAndOkChangeNoByte) { ExpectOpenBrowseAndOkChangeNoByte(); }

TEST_F(PilotSkillDlgTest, StoresEveryByteOfTheRecordFromItsControl) {
    std::vector<bool> owned(psk::kSize, false);
    for (const Field& f : tsumugi::layout::FindTable("pilot-skills")->fields)
        owned[f.offset] = true;
    EXPECT_EQ(std::count(owned.begin(), owned.end(), true), static_cast<long>(psk::kSize));
    // Fields come slot by slot: the skill, then its nine levels. Skills from 0 to "none",
    // levels from 0 to 255.
    ExpectEveryFieldStoredAndShownBack(9, [](int k) -> uint32_t {
        if (k % 10 == 0) return k == 50 ? 0xFF : static_cast<uint32_t>(k * 7 / 10);
        return k == 1 ? 0 : k == 2 ? 255 : static_cast<uint32_t>(k * 4);
    });
}

TEST_F(PilotSkillDlgTest, SkillBytesMapToItemsAndBack) {
    const SlotCase cases[] = {{0, 0, 0},      {35, 35, 35},    {0xFF, 36, 0xFF},
                              {36, -1, 0xFF}, {100, -1, 0xFF}, {254, -1, 0xFF}};
    ExpectSlotBytesMapToItemsAndBack(5, cases);
}

// The skills are written before the levels are checked: a refusal leaves them stored.
TEST_F(PilotSkillDlgTest, RefusedLevelStoresTheSkillsButNoLevel) {
    const BadEntry cases[] = {{u"技能1 習得LV1", u"300"},
                              {u"技能6 習得LV9", u"256"},
                              {u"技能3 習得LV5", u"x"},
                              {u"技能4 習得LV2", u""}};
    ExpectRefusals(cases, true);
}

TEST_F(PilotSkillDlgTest, EnterDoesNothingAndCancelStoresNothing) {
    ExpectEnterDoesNothingAndCancelStoresNothing();
}

TEST_F(PilotSkillDlgTest, ControlsAreNamedAfterTheDescriptorAndTabGoesRowByRow) {
    ExpectControlsNamedAfterTheDescriptor();
}

// From the main window: both pilot editors change pilot 1, the codes go to a code file
// and into the ROM file on disk; a cancelled run leaves nothing behind.
class PilotEditorsEndToEndTest : public MainDlgTest {
protected:
    // Drives the real editor: on pilot 1, chooses item in the combo labelled combo, types
    // text into the box labelled box, then presses button.
    static std::function<int(QDialog*)> Edit(const char16_t* combo, int item, const char16_t* box,
                                             const QString& text, const char16_t* button) {
        return [=](QDialog* d) {
            d->show();
            SelectRow(d, 1);
            if (auto* c = Find<ui::ComboBox>(d, Q(combo))) c->SetCurSel(item);
            if (auto* e = Find<ui::Edit>(d, Q(box))) e->SetText(text);
            Press(d, Q(button));
            EXPECT_FALSE(d->isVisible());
            return d->result();
        };
    }
};

TEST_F(PilotEditorsEndToEndTest, EditsReachTheCodeFileAndTheRomOnDisk) {
    const std::vector<uint8_t> before = Demo().bytes;
    const std::string romFile = OwnRom(before);
    Load(romFile);
    m_dlg.SetEditorFactory(app::CreateEditor);

    m_services.modal = Edit(u"精神コマンド1", 33, u"LV1", QStringLiteral("99"), u"ｷｬﾝｾﾙ");
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kPilotSpirit));
    m_services.modal = Edit(u"技能2", 0, u"技能2 習得LV3", QStringLiteral("77"), u"ｷｬﾝｾﾙ");
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kPilotSkill));
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(before));

    m_services.modal = Edit(u"精神コマンド1", 33, u"LV1", QStringLiteral("99"), u"OK");
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kPilotSpirit));
    m_services.modal = Edit(u"技能2", 0, u"技能2 習得LV3", QStringLiteral("77"), u"OK");
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kPilotSkill));

    std::vector<uint8_t> expected = before;
    const uint32_t spirit = psr::kBase + psr::kSize;                  // pilot 1
    const uint32_t skill = psk::kBase + psk::kSize + psk::kSlotSize;  // pilot 1, slot 2
    expected[spirit + psr::kSpirits] = 0xFF;
    expected[spirit + psr::kLevels] = 99;
    expected[skill + psk::kSkill] = 0;
    expected[skill + psk::kLevels + 2] = 77;
    EXPECT_TRUE(RomEquals(expected));
    // One code per changed word, each word as the ROM now holds it.
    std::string codes;
    for (uint32_t at : {spirit + psr::kSpirits, spirit + psr::kLevels, skill + psk::kSkill,
                        (skill + psk::kLevels + 2) & ~1u}) {
        char line[32];
        std::snprintf(line, sizeof line, "%08X:%04X\r\n", 0x08000000 + at,
                      tsumugi::Read16(expected.data() + at));
        codes += line;
    }
    EXPECT_EQ(m_dlg.m_codes.Size(), 4u);

    const std::string codeFile = m_files.File("codes.txt");
    m_services.files = {QString::fromStdString(codeFile)};
    Click(u"保存");
    EXPECT_EQ(tsumugi::testing::ReadText(codeFile), codes);

    m_services.answers = {ui::MsgResult::Yes};
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), Q(u"書き換えに成功しました。"));
    EXPECT_TRUE(tsumugi::testing::ReadBytes(romFile) == expected);
}

}  // namespace
