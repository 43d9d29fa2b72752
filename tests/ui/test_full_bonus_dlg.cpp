#include <QTest>
#include <algorithm>
#include <map>

#include "ability_dlg_support.h"
#include "bonus_dlg_fixture.h"
#include "core/layout/bonuses.h"
#include "core/layout/descriptor.h"
#include "core/regions.h"
#include "demo/data.h"
#include "editors/bonuses/full_bonus_dlg.h"
#include "editors/bonuses/full_effect_lists.h"
#include "ui/controls.h"
#include "ui/number.h"
#include "ui/text.h"

namespace {

using namespace testing_ui;
namespace fr = tsumugi::layout::full_record;
namespace effect_texts = tsumugi::layout::full_effect_texts;
namespace layout = tsumugi::layout;
namespace demo = tsumugi::demo::detail;

constexpr int kItems = 10, kNoneItem = 9;

// "語" and the number in full-width digits: short enough for the smallest effect text room.
QString EffectText(int k) {
    QString text = S(u"語");
    for (const QChar c : QString::number(k)) text += QChar(0xFF10 + c.digitValue());
    return text;
}

class FullBonusDlgTest : public NamedBonusDlgTest<CFullBonusDlg, ui::Edit> {
protected:
    FullBonusDlgTest()
        : NamedBonusDlgTest({fr::kBase, fr::kSize, fr::kCount, fr::kName, fr::kNameLength}) {}
    static ui::ComboBox* Effect1(CFullBonusDlg& d) { return Combo(d, u"特殊１"); }
    static ui::ComboBox* Effect2(CFullBonusDlg& d) { return Combo(d, u"特殊２"); }
    static ui::CheckBox* TerrainS(CFullBonusDlg& d) { return Check(d, u"機体地形適応空以外S"); }
    static ui::CheckBox* WeaponTerrainS(CFullBonusDlg& d) { return Check(d, u"固定武器地形適応S"); }

    // Every effect text k becomes EffectText(k).
    void PlantEffectTexts() {
        for (size_t k = 0; k < effect_texts::kTexts.size(); ++k) {
            const effect_texts::Text& t = effect_texts::kTexts[k];
            const std::vector<uint8_t> bytes = Field(EffectText(static_cast<int>(k)), t.room);
            std::copy(bytes.begin(), bytes.end(), Rom() + t.at);
        }
    }
    static QStringList Items(ui::ComboBox* combo) {
        QStringList items;
        for (int i = 0; i < combo->GetCount(); ++i) items << combo->GetLBText(i);
        return items;
    }
};

TEST_F(FullBonusDlgTest, OpenBrowseAndOkChangeNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), S(u"フル改造ボーナス"));
    ASSERT_EQ(List(*d)->GetCount(), fr::kCount);
    EXPECT_EQ(List(*d)->GetText(8), ui::FromCp932(demo::FullBonusName(8)));
    EXPECT_EQ(Edit(*d, u"名前")->GetText(), ui::FromCp932(demo::FullBonusName(0)));
    EXPECT_EQ(Effect1(*d)->GetCount(), kItems);
    EXPECT_EQ(Effect2(*d)->GetCount(), kItems);
    ExpectBrowseAndOkChangeNoByte(*d, before);
}

TEST_F(FullBonusDlgTest, EffectListsAreBuiltFromTheRomTexts) {
    PlantEffectTexts();
    QStringList first, second;
    for (int k = 0; k < 9; ++k) first << EffectText(9 + k);
    for (int k = 0; k < 8; ++k) second << EffectText(k) + S(u"、") + EffectText(18 + k);
    second << EffectText(8);
    first << S(u"無し(0xFF)");
    second << S(u"無し(0xFF)");
    auto d = Open();
    EXPECT_EQ(Items(Effect1(*d)), first);
    EXPECT_EQ(Items(Effect2(*d)), second);
}

// The texts lie at fixed places; an image that ends among them shows what lies inside it
// and "Error" for each text whose place lies past its end. The image is cut to its exact
// size so that a read past it is caught.
TEST_F(FullBonusDlgTest, EffectTextsAreReadOnlyInsideTheImage) {
    PlantEffectTexts();
    const QString none = S(u"無し(0xFF)");
    const QString error = QStringLiteral("Error");
    struct Case {
        uint32_t size;
        QString firstItem0, firstItem1, secondItem0, secondItem8;
    };
    const uint32_t first0 = effect_texts::kTexts[9].at;
    const Case cases[] = {
        {first0 + 3, EffectText(9), error, EffectText(0) + S(u"、") + error, EffectText(8)},
        {first0 + 1, S(u"・"), error, EffectText(0) + S(u"、") + error, EffectText(8)},
        {first0, error, error, EffectText(0) + S(u"、") + error, EffectText(8)},
        {effect_texts::kTexts[0].at, error, error, error + S(u"、") + error, error},
        {0, error, error, error + S(u"、") + error, error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const std::vector<uint8_t> cut(rom.begin(), rom.begin() + c.size);
        const editors::FullEffectLists lists = editors::BuildFullEffectLists(cut.data(), c.size);
        ASSERT_EQ(lists.first.size(), kItems);
        ASSERT_EQ(lists.second.size(), kItems);
        EXPECT_EQ(lists.first[0], c.firstItem0);
        EXPECT_EQ(lists.first[1], c.firstItem1);
        EXPECT_EQ(lists.first[8], error);
        EXPECT_EQ(lists.second[0], c.secondItem0);
        EXPECT_EQ(lists.second[8], c.secondItem8);
        EXPECT_EQ(lists.first[kNoneItem], none);
        EXPECT_EQ(lists.second[kNoneItem], none);
    }

    // The editor opens on such an image, shows no record and writes nothing.
    std::vector<uint8_t> cut(rom.begin(), rom.begin() + first0 + 3);
    const std::vector<uint8_t> before = cut;
    CFullBonusDlg d(cut.data(), static_cast<uint32_t>(cut.size()));
    d.show();
    EXPECT_EQ(Effect1(d)->GetLBText(0), EffectText(9));
    Press(&d, S(u"OK"));
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(cut == before);
}

TEST_F(FullBonusDlgTest, StoresEveryFieldAtItsOffset) {
    const layout::Table* table = layout::FindTable("full-bonuses");
    ASSERT_NE(table, nullptr);
    const int row = 18;  // a record with both effects set
    std::vector<uint8_t> expected = Record(row);
    auto d = Open();
    SelectRow(d.get(), row);
    TypeEveryField(d.get(), *table, {{S(u"名前"), S(u"特殊効果２つ")}}, expected);
    SelectRow(d.get(), row + 1);

    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(Record(row), expected);
    EXPECT_EQ(List(*d)->GetText(row), S(u"特殊効果２つ"));
    EXPECT_EQ(List(*d)->GetCurSel(), row + 1);

    // A chosen effect item stores its own number.
    SelectRow(d.get(), row);
    Effect1(*d)->SetCurSel(8);
    Effect2(*d)->SetCurSel(3);
    SelectRow(d.get(), row + 1);
    EXPECT_EQ(At(row)[fr::kEffect1], 8);
    EXPECT_EQ(At(row)[fr::kEffect2], 3);
}

// Effect bytes against the items: 0xFF and 9 show "無し(0xFF)", larger values no item;
// each of them is stored as 0xFF. A flag byte is ticked when non-zero and stored as 1 or 0.
TEST_F(FullBonusDlgTest, EffectsShowNoneAndFlagsStoreOneOrZero) {
    struct Case {
        uint8_t effect1, effect2;
        int item1, item2;
        uint8_t stored1, stored2;
        uint8_t terrain, weaponTerrain;
        bool ticked, weaponTicked;
        uint8_t storedTerrain, storedWeaponTerrain;
    };
    const Case cases[] = {
        {0, 8, 0, 8, 0, 8, 0, 1, false, true, 0, 1},
        {9, 9, kNoneItem, kNoneItem, 0xFF, 0xFF, 2, 0xFF, true, true, 1, 1},
        {0xFF, 0xFF, kNoneItem, kNoneItem, 0xFF, 0xFF, 1, 0, true, false, 1, 0},
        {10, 254, -1, -1, 0xFF, 0xFF, 0x80, 2, true, true, 1, 1},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        uint8_t* p = At(static_cast<int>(k));
        p[fr::kEffect1] = cases[k].effect1;
        p[fr::kEffect2] = cases[k].effect2;
        p[fr::kTerrainS] = cases[k].terrain;
        p[fr::kWeaponTerrainS] = cases[k].weaponTerrain;
    }
    auto d = Open();
    for (size_t k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        SCOPED_TRACE(k);
        const int row = static_cast<int>(k);
        SelectRow(d.get(), row);
        EXPECT_EQ(Effect1(*d)->GetCurSel(), c.item1);
        EXPECT_EQ(Effect2(*d)->GetCurSel(), c.item2);
        EXPECT_EQ(TerrainS(*d)->GetCheck(), c.ticked);
        EXPECT_EQ(WeaponTerrainS(*d)->GetCheck(), c.weaponTicked);
        SelectRow(d.get(), row + 1);
        EXPECT_EQ(At(row)[fr::kEffect1], c.stored1);
        EXPECT_EQ(At(row)[fr::kEffect2], c.stored2);
        EXPECT_EQ(At(row)[fr::kTerrainS], c.storedTerrain);
        EXPECT_EQ(At(row)[fr::kWeaponTerrainS], c.storedWeaponTerrain);
    }
    EXPECT_TRUE(services.shown.empty());
}

TEST_F(FullBonusDlgTest, BytesWithoutAControlAndNameFillerSurviveEveryStore) {
    ExpectLooseBytesSurviveEveryStore({7u, 10u, 19u}, u"固定武器弾数+", fr::kAmmo);
}

TEST_F(FullBonusDlgTest, RefusedNumberWritesNothingAndKeepsTheRecord) {
    const RefusedNumber cases[] = {
        {u"HP+%", QStringLiteral("256")},
        {u"特殊4", QStringLiteral("x")},
        {u"全て", QString()},
        {u"命中+%", QStringLiteral("1e2")},
    };
    ExpectRefusedNumbersWriteNothing(cases, [](CFullBonusDlg& d) {
        Effect1(d)->SetCurSel(3);
        TerrainS(d)->SetCheck(!TerrainS(d)->GetCheck());
        Edit(d, u"WP+")->SetText(QStringLiteral("99"));
    });
}

// A name that cannot be converted: the numbers, flags and effects are written, the name
// is not, and the editor stays open on the record.
TEST_F(FullBonusDlgTest, UnconvertibleNameKeepsItsBytesAndTheEditorOpen) {
    const std::vector<uint8_t> before = Record(2);
    auto d = Open();
    SelectRow(d.get(), 2);
    const QString item = List(*d)->GetText(2);
    Edit(*d, u"念動")->SetText(QStringLiteral("7"));
    Effect2(*d)->SetCurSel(4);
    WeaponTerrainS(*d)->SetCheck(true);
    Edit(*d, u"名前")->SetText(S(u"念動鬱"));
    Press(d.get(), S(u"OK"));

    std::vector<uint8_t> expected = before;
    expected[fr::kPsychic] = 7;
    expected[fr::kEffect2] = 4;
    expected[fr::kWeaponTerrainS] = 1;
    ExpectNameRefused(*d, 2, S(u"名前の変換に失敗しました。\n位置：4byte\n文字：鬱"), expected, item);
}

TEST_F(FullBonusDlgTest, NameWithUnlistedCodesIsLockedAndKept) {
    const std::vector<uint8_t> name = PlantUnlistedName(6, S(u"ＨＰ＋１０％"), 0);
    auto d = Open();
    const QString item = List(*d)->GetText(6);
    EXPECT_TRUE(item.startsWith(S(u"・"))) << item.toStdString();
    SelectRow(d.get(), 6);
    EXPECT_FALSE(Edit(*d, u"名前")->isEnabled());
    EXPECT_EQ(Edit(*d, u"名前")->GetText(), S(u"・ＨＰ＋１０％"));
    ExpectLockedNameKept(*d, 6, name, item, u"HP+%", fr::kHp);
}

TEST_F(FullBonusDlgTest, CancelLeavesTheRom) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Edit(*d, u"装甲+%")->SetText(QStringLiteral("1"));
    Effect1(*d)->SetCurSel(2);
    Edit(*d, u"名前")->SetText(S(u"新ボーナス"));
    ExpectEnterIgnoredAndCancelLeavesTheRom(*d, Edit(*d, u"名前"), before);
}

TEST_F(FullBonusDlgTest, ControlsAreLabelledAndTabFollowsTheReadingOrder) {
    auto d = Open();
    ExpectLabelledControls(d.get());
    ExpectUnclippedLabels(d.get());
    EXPECT_EQ(
        TabOrder(d.get()).join(QLatin1Char(' ')),
        S(u"項目 HP+% EN+% 運動性+% 装甲+% WP+ 強化パーツ装備数+ 機体地形適応空以外S "
          u"固定武器弾数+ 命中+% 固定武器地形適応S 特殊１ 特殊２ 特殊4 格闘 射撃 念動 全て 名前 "
          u"OK ｷｬﾝｾﾙ"));
    EXPECT_EQ(Effect1(*d)->accessibleDescription(), S(u"特殊１"));
    EXPECT_EQ(Edit(*d, u"特殊4")->parentWidget()->accessibleName(), S(u"特殊技能+"));
    EXPECT_EQ(Edit(*d, u"全て")->parentWidget()->accessibleName(), S(u"武器攻撃力+xx0"));
    EXPECT_EQ(Edit(*d, u"名前")->parentWidget()->accessibleName(), S(u"名前"));
}

class FullBonusEndToEndTest : public BonusEndToEndTest {};

TEST_F(FullBonusEndToEndTest, EditReachesTheCodeFileAndTheRomOnDisk) {
    const std::vector<uint8_t> before = Demo().bytes;
    const std::string path = OwnRom(before);
    Load(path);
    std::vector<uint8_t> expected = before;
    uint8_t* record = expected.data() + fr::kBase + fr::kSize * 3;
    record[fr::kArmour] = 30;
    record[fr::kEffect1] = 2;
    record[fr::kWeaponTerrainS] = 1;
    const std::vector<uint8_t> name = FieldBytes(Q(u"装甲＋３０％"), fr::kNameLength);
    std::copy(name.begin(), name.end(), record + fr::kName);

    m_services.modal = [](QDialog* d) {
        d->show();
        SelectRow(d, 3);
        Find<ui::Edit>(d, Q(u"装甲+%"))->SetText(QStringLiteral("30"));
        Find<ui::ComboBox>(d, Q(u"特殊１"))->SetCurSel(2);
        Find<ui::CheckBox>(d, Q(u"固定武器地形適応S"))->SetCheck(true);
        Find<ui::Edit>(d, Q(u"名前"))->SetText(Q(u"装甲＋３０％"));
        Press(d, Q(u"OK"));
        return d->result();
    };
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kFullBonus));
    ExpectSavedCodes(path, tsumugi::category::kFullBonus, before, expected);
}

TEST_F(FullBonusEndToEndTest, CancelAfterMovingOnUndoesTheStoredRecord) {
    ExpectCancelAfterMovingOnUndoes(tsumugi::category::kFullBonus, u"HP+%");
}

}  // namespace
