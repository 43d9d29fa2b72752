#include <QTest>
#include <algorithm>
#include <map>

#include "ability_dlg_support.h"
#include "bonus_dlg_fixture.h"
#include "core/layout/bonuses.h"
#include "core/layout/descriptor.h"
#include "core/regions.h"
#include "demo/data.h"
#include "editors/bonuses/ace_bonus_dlg.h"
#include "editors/common/record_editor.h"
#include "ui/controls.h"
#include "ui/number.h"
#include "ui/text.h"

namespace {

using namespace testing_ui;
namespace ar = tsumugi::layout::ace_record;
namespace layout = tsumugi::layout;
namespace demo = tsumugi::demo::detail;

constexpr int kSpirits = 33, kSkills = 36;

class AceBonusDlgTest : public NamedBonusDlgTest<CAceBonusDlg, ui::MultiEdit> {
protected:
    AceBonusDlgTest()
        : NamedBonusDlgTest({ar::kBase, ar::kSize, ar::kCount, ar::kName, ar::kNameLength}) {}
    static ui::ComboBox* Spirit(CAceBonusDlg& d) { return Combo(d, u"補正精神コマンド"); }
    static ui::ComboBox* Skill(CAceBonusDlg& d) { return Combo(d, u"補正特殊技能"); }
};

TEST_F(AceBonusDlgTest, OpenBrowseAndOkChangeNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), S(u"エースボーナス"));
    ASSERT_EQ(List(*d)->GetCount(), ar::kCount);
    EXPECT_EQ(List(*d)->GetText(3), editors::OneLineItem(demo::AceBonusName(3)));
    EXPECT_TRUE(List(*d)->GetText(3).contains(QLatin1Char(' '))) << "a line break shows as a blank";
    ASSERT_EQ(Spirit(*d)->GetCount(), kSpirits + 1);
    ASSERT_EQ(Skill(*d)->GetCount(), kSkills + 1);
    EXPECT_EQ(Spirit(*d)->GetLBText(kSpirits - 1), ui::FromCp932(demo::SpiritName(kSpirits - 1)));
    EXPECT_EQ(Skill(*d)->GetLBText(kSkills - 1), ui::FromCp932(demo::SkillName(kSkills - 1)));
    EXPECT_EQ(Spirit(*d)->GetLBText(kSpirits), S(u"無し(0xFF)"));
    EXPECT_EQ(Skill(*d)->GetLBText(kSkills), S(u"無し(0xFF)"));
    EXPECT_EQ(Name(*d)->GetText(),
              ui::FromCp932(demo::AceBonusName(0)).replace(S(u"\r\n"), S(u"\n")));
    ExpectBrowseAndOkChangeNoByte(*d, before);
}

TEST_F(AceBonusDlgTest, StoresEveryFieldAtItsOffset) {
    const layout::Table* table = layout::FindTable("ace-bonuses");
    ASSERT_NE(table, nullptr);
    const int row = 35;  // a record with a spirit command and a special skill
    std::vector<uint8_t> expected = Record(row);
    auto d = Open();
    SelectRow(d.get(), row);
    const QString name = S(u"格闘＋５０％\r\n「熱血」消費ＳＰ１０");
    TypeEveryField(d.get(), *table, {{S(u"名前"), name}}, expected);
    SelectRow(d.get(), row + 1);

    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(Record(row), expected);
    EXPECT_EQ(List(*d)->GetText(row), S(u"格闘＋５０％ 「熱血」消費ＳＰ１０"));
    EXPECT_EQ(List(*d)->GetCurSel(), row + 1);

    SelectRow(d.get(), row);  // and it reads back as it was typed
    EXPECT_EQ(Name(*d)->GetText(), QString(name).replace(S(u"\r\n"), S(u"\n")));
    EXPECT_EQ(Edit(*d, u"格闘+%")->GetText(), QStringLiteral("255"));
}

// Bytes 16 and 18 against the items: 0xFF and the value one past the last record show
// "無し(0xFF)", larger values no item; every one of them is stored as 0xFF.
TEST_F(AceBonusDlgTest, ChoicesShowNoneAndStoreWhatTheItemStandsFor) {
    struct Case {
        uint8_t spirit, skill;
        int spiritItem, skillItem;
        uint8_t storedSpirit, storedSkill;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0},
        {32, 35, 32, 35, 32, 35},
        {33, 36, kSpirits, kSkills, 0xFF, 0xFF},
        {0xFF, 0xFF, kSpirits, kSkills, 0xFF, 0xFF},
        {34, 37, -1, -1, 0xFF, 0xFF},
        {0xFE, 200, -1, -1, 0xFF, 0xFF},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        At(static_cast<int>(k))[ar::kSpirit] = cases[k].spirit;
        At(static_cast<int>(k))[ar::kSkill] = cases[k].skill;
    }
    auto d = Open();
    for (size_t k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        SCOPED_TRACE(k);
        const int row = static_cast<int>(k);
        SelectRow(d.get(), row);
        EXPECT_EQ(Spirit(*d)->GetCurSel(), c.spiritItem);
        EXPECT_EQ(Skill(*d)->GetCurSel(), c.skillItem);
        SelectRow(d.get(), row + 1);
        EXPECT_EQ(At(row)[ar::kSpirit], c.storedSpirit);
        EXPECT_EQ(At(row)[ar::kSkill], c.storedSkill);
    }
    // A chosen item stores its own number.
    SelectRow(d.get(), 4);
    Spirit(*d)->SetCurSel(12);
    Skill(*d)->SetCurSel(kSkills);
    SelectRow(d.get(), 5);
    EXPECT_EQ(At(4)[ar::kSpirit], 12);
    EXPECT_EQ(At(4)[ar::kSkill], 0xFF);
    EXPECT_TRUE(services.shown.empty());
}

TEST_F(AceBonusDlgTest, BytesWithoutAControlAndNameFillerSurviveEveryStore) {
    ExpectLooseBytesSurviveEveryStore({21u, 22u, 23u}, u"移動力+", ar::kMovement);
}

TEST_F(AceBonusDlgTest, RefusedNumberWritesNothingAndKeepsTheRecord) {
    const RefusedNumber cases[] = {
        {u"格闘+%", QStringLiteral("256")},
        {u"消費SP", QStringLiteral("x")},
        {u"補正+%", QString()},
        {u"移動力+", QStringLiteral("-1")},
    };
    ExpectRefusedNumbersWriteNothing(cases, [](CAceBonusDlg& d) {
        Spirit(d)->SetCurSel(3);
        Edit(d, u"SP+")->SetText(QStringLiteral("99"));
    });
}

// A name that cannot be converted: the numbers and choices are written, the name is not,
// and the editor stays open on the record.
TEST_F(AceBonusDlgTest, UnconvertibleNameKeepsItsBytesAndTheEditorOpen) {
    const std::vector<uint8_t> before = Record(2);
    auto d = Open();
    SelectRow(d.get(), 2);
    const QString item = List(*d)->GetText(2);
    Edit(*d, u"EXP+%")->SetText(QStringLiteral("77"));
    Skill(*d)->SetCurSel(5);
    Name(*d)->SetText(S(u"経験値\n鬱"));
    Press(d.get(), S(u"OK"));

    std::vector<uint8_t> expected = before;
    expected[ar::kExperience] = 77;
    expected[ar::kSkill] = 5;
    ExpectNameRefused(*d, 2, S(u"名前の変換に失敗しました。\n位置：8byte\n文字：鬱"), expected, item);
}

TEST_F(AceBonusDlgTest, NameWithUnlistedCodesIsLockedAndKept) {
    const std::vector<uint8_t> name = PlantUnlistedName(6, S(u"射撃＋１０％"), 2);
    auto d = Open();
    const QString item = List(*d)->GetText(6);
    EXPECT_TRUE(item.contains(S(u"・"))) << item.toStdString();
    SelectRow(d.get(), 6);
    EXPECT_FALSE(Name(*d)->isEnabled());
    ExpectLockedNameKept(*d, 6, name, item, u"射撃+%", ar::kShooting);
}

TEST_F(AceBonusDlgTest, CancelLeavesTheRom) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Edit(*d, u"資金+%")->SetText(QStringLiteral("1"));
    Name(*d)->SetText(S(u"新ボーナス"));
    ExpectEnterIgnoredAndCancelLeavesTheRom(*d, Edit(*d, u"資金+%"), before);
}

TEST_F(AceBonusDlgTest, ControlsAreLabelledAndTabFollowsTheReadingOrder) {
    auto d = Open();
    ExpectLabelledControls(d.get());
    ExpectUnclippedLabels(d.get());
    EXPECT_EQ(TabOrder(d.get()).join(QLatin1Char(' ')),
              S(u"エースボーナス 格闘+% 射撃+% 反撃+% 念動+% 援攻+% 被ダメージ-% 援防+% "
                u"間接攻撃の被ダメージ-% 命中+% 最終命中+% 回避+% 最終回避+% CT補正+% EXP+% 資金+% "
                u"SP+ 補正精神コマンド 消費SP 補正特殊技能 補正+% 移動力+ 名前 OK ｷｬﾝｾﾙ"));
    EXPECT_EQ(Spirit(*d)->accessibleDescription(), S(u"補正精神コマンド"));
    EXPECT_EQ(Edit(*d, u"消費SP")->parentWidget()->accessibleName(), S(u"補正精神コマンド"));
    EXPECT_EQ(Edit(*d, u"補正+%")->parentWidget()->accessibleName(), S(u"補正特殊技能"));
    EXPECT_EQ(Name(*d)->parentWidget()->accessibleName(), S(u"名前"));
}

class AceBonusEndToEndTest : public BonusEndToEndTest {};

TEST_F(AceBonusEndToEndTest, EditReachesTheCodeFileAndTheRomOnDisk) {
    const std::vector<uint8_t> before = Demo().bytes;
    const std::string path = OwnRom(before);
    Load(path);
    std::vector<uint8_t> expected = before;
    uint8_t* record = expected.data() + ar::kBase + ar::kSize * 5;  // a bonus with a spirit command
    record[ar::kFinalHit] = 25;
    record[ar::kSpirit] = 0xFF;
    const std::vector<uint8_t> name =
        FieldBytes(Q(u"最終命中＋２５％\r\n移動力＋１"), ar::kNameLength);
    std::copy(name.begin(), name.end(), record + ar::kName);

    m_services.modal = [](QDialog* d) {
        d->show();
        SelectRow(d, 5);
        Find<ui::Edit>(d, Q(u"最終命中+%"))->SetText(QStringLiteral("25"));
        Find<ui::ComboBox>(d, Q(u"補正精神コマンド"))->SetCurSel(kSpirits);
        Find<ui::MultiEdit>(d, Q(u"名前"))->SetText(Q(u"最終命中＋２５％\n移動力＋１"));
        Press(d, Q(u"OK"));
        return d->result();
    };
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kAceBonus));
    ExpectSavedCodes(path, tsumugi::category::kAceBonus, before, expected);
}

TEST_F(AceBonusEndToEndTest, CancelAfterMovingOnUndoesTheStoredRecord) {
    ExpectCancelAfterMovingOnUndoes(tsumugi::category::kAceBonus, u"SP+");
}

}  // namespace
