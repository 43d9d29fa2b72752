#include <QFontMetrics>
#include <QTest>

#include "core/bytes.h"
#include "editor_fixture.h"
#include "editors/units/unit_ability_page.h"
#include "editors/units/unit_basic_page.h"
#include "editors/units/unit_dlg.h"
#include "editors/units/unit_machine_page.h"
#include "core/layout/units.h"
#include "editors/units/unit_weapon_page.h"
#include "ui/controls.h"
#include "ui/number.h"

namespace {

using namespace testing_ui;
using tsumugi::Read16;
using tsumugi::Read32;
namespace ur = tsumugi::layout::unit_record;

QString S(const char16_t* text) { return QString::fromUtf16(text); }

class UnitDlgTest : public EditorFixture {
protected:
    uint8_t* Unit(int i) { return Rom() + ur::kBase + ur::kSize * i; }

    std::unique_ptr<CUnitDlg> Open() {
        auto dlg = std::make_unique<CUnitDlg>(Rom(), RomSize());
        dlg->show();
        return dlg;
    }
    static ui::ListBox* List(CUnitDlg& d) { return d.findChild<ui::ListBox*>(); }
    static void Select(CUnitDlg& d, int i) { SelectRow(&d, i); }
    static void Press(CUnitDlg& d, const char16_t* button) { testing_ui::Press(&d, S(button)); }

    template <typename T>
    static T* Basic(CUnitDlg& d, const char16_t* label) {
        return Find<T>(d.findChild<CUnitBasicPage*>(), S(label));
    }
    template <typename T>
    static T* Machine(CUnitDlg& d, const char16_t* label) {
        return Find<T>(d.findChild<CUnitMachinePage*>(), S(label));
    }
    static ui::CheckBox* Ability(CUnitDlg& d, const char16_t* label) {
        return Find<ui::CheckBox>(d.findChild<CUnitAbilityPage*>(), S(label));
    }
    static ui::ComboBox* Weapon(CUnitDlg& d, int slot) {
        return Find<ui::ComboBox>(d.findChild<CUnitWeaponPage*>(), QStringLiteral("武器%1").arg(slot));
    }
};

TEST_F(UnitDlgTest, OpenAndOkChangesNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), S(u"ユニット"));
    ASSERT_EQ(List(*d)->GetCount(), ur::kCount);
    EXPECT_EQ(List(*d)->GetCurSel(), 0);
    EXPECT_EQ(d->findChild<ui::TabCtrl*>()->GetCurSel(), 0);
    Press(*d, u"OK");
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

TEST_F(UnitDlgTest, BrowsingEveryRecordChangesNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    for (int i = 1; i < ur::kCount; ++i) Select(*d, i);
    Select(*d, 0);
    Press(*d, u"OK");
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

TEST_F(UnitDlgTest, StoresEveryFieldAtItsOffset) {
    uint8_t* u = Unit(3);
    for (uint32_t off : {29u, 30u, 31u, 37u, 39u, 42u}) u[off] = 0xA5;
    for (uint32_t off = ur::kAbilities; off < ur::kAbilities + 5; ++off) u[off] = 0;
    const uint16_t weapon2 = Read16(u + ur::kWeapons + 2);
    auto d = Open();
    Select(*d, 3);

    const std::pair<const char16_t*, const char16_t*> numbers[] = {
        {u"最大HP", u"4294967295"}, {u"最大EN", u"1001"}, {u"運動性", u"1002"},
        {u"装甲", u"1003"},         {u"修理費", u"1004"}, {u"獲得資金", u"1005"},
        {u"経験値", u"1006"},       {u"最大WP", u"1007"}, {u"移動力", u"9"},
        {u"獲得PP", u"77"}};
    for (const auto& [label, text] : numbers) Basic<ui::Edit>(*d, label)->SetText(S(text));
    Basic<ui::ComboBox>(*d, u"空")->SetCurSel(4);
    Basic<ui::ComboBox>(*d, u"陸")->SetCurSel(3);
    Basic<ui::ComboBox>(*d, u"海")->SetCurSel(2);
    Basic<ui::ComboBox>(*d, u"宇")->SetCurSel(1);
    Basic<ui::ComboBox>(*d, u"強化パーツスロット数")->SetCurSel(3);
    for (const char16_t* label : {u"地", u"海", u"陸", u"空"}) {
        Basic<ui::CheckBox>(*d, label)->SetCheck(label == std::u16string_view(u"地") ||
                                                 label == std::u16string_view(u"陸"));
    }
    Basic<ui::ComboBox>(*d, u"HP")->SetCurSel(10);
    Basic<ui::ComboBox>(*d, u"EN")->SetCurSel(9);
    Basic<ui::ComboBox>(*d, u"運動性")->SetCurSel(8);
    Basic<ui::ComboBox>(*d, u"装甲")->SetCurSel(7);
    Basic<ui::ComboBox>(*d, u"フル改造ボーナス")->SetCurSel(5);
    for (const char16_t* label : {u"Gウォール", u"エネルギー吸収", u"分身", u"ジャマー", u"ブレイカー系無効"}) {
        Ability(*d, label)->SetCheck(true);
    }
    Machine<ui::Edit>(*d, u"乗り換え制限")->SetText(QStringLiteral("200"));
    Machine<ui::Edit>(*d, u"変形機体共有ID")->SetText(QStringLiteral("201"));
    Machine<ui::ComboBox>(*d, u"サイズ")->SetCurSel(4);
    Machine<ui::ComboBox>(*d, u"BGM")->SetCurSel(63);
    const int pilotItems[] = {0, 175, 176, 10};
    for (int i = 0; i < 4; ++i) {
        Machine<ui::ComboBox>(*d, QStringLiteral("専属パイロット%1").arg(i + 1).toStdU16String().c_str())
            ->SetCurSel(pilotItems[i]);
    }
    const QString name = S(u"テストＭｋ２");
    Machine<ui::Edit>(*d, u"機体名")->SetText(name);
    Weapon(*d, 1)->SetCurSel(739);
    Weapon(*d, 12)->SetCurSel(740);
    Select(*d, 4);

    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(Read32(u + ur::kMaxHp), 0xFFFFFFFFu);
    for (uint32_t i = 0; i < 7; ++i) EXPECT_EQ(Read16(u + ur::kMaxEn + 2 * i), 1001 + i) << i;
    EXPECT_EQ(u[ur::kMove], 9);
    EXPECT_EQ(u[ur::kPp], 77);
    EXPECT_EQ(Read16(u + ur::kTerrain), 0x4321);
    EXPECT_EQ(u[ur::kPartSlots], 3);
    EXPECT_EQ(u[ur::kMoveTypes], 0x05);
    EXPECT_EQ(Bytes(u + ur::kUpgradeHp, 4), (std::vector<uint8_t>{10, 9, 8, 7}));
    EXPECT_EQ(u[ur::kFullBonus], 5);
    EXPECT_EQ(Bytes(u + ur::kAbilities, 5), (std::vector<uint8_t>{0x08, 0x01, 0x40, 0x01, 0x80}));
    EXPECT_EQ(u[ur::kTransfer], 200);
    EXPECT_EQ(u[ur::kShareId], 201);
    EXPECT_EQ(u[ur::kUnitSize], 4);
    EXPECT_EQ(u[ur::kBgmSet], 63);
    EXPECT_EQ(Bytes(u + ur::kPilots, 4), (std::vector<uint8_t>{0, 175, 0xFF, 10}));
    EXPECT_EQ(Read16(u + ur::kWeapons), 739);
    EXPECT_EQ(Read16(u + ur::kWeapons + 2), weapon2);
    EXPECT_EQ(Read16(u + ur::kWeapons + 22), 0xFFFF);
    EXPECT_EQ(Bytes(u + ur::kName, ur::kNameLength), Field(name, ur::kNameLength));
    for (uint32_t off : {29u, 30u, 31u, 37u, 39u, 42u}) EXPECT_EQ(u[off], 0xA5) << off;
    EXPECT_EQ(List(*d)->GetText(3), name);
    EXPECT_EQ(List(*d)->GetCount(), ur::kCount);
    EXPECT_EQ(List(*d)->GetCurSel(), 4);
}

TEST_F(UnitDlgTest, StoreClearsBitsWithoutABox) {
    uint8_t* u = Unit(0);
    u[ur::kMoveTypes] = 0xFF;
    u[ur::kAbilities + 1] = 0xFF;
    u[ur::kAbilities + 3] = 0xFE;
    for (uint32_t off : {29u, 30u, 31u, 37u, 39u, 42u}) u[off] = 0x5A;
    std::vector<uint8_t> expected = rom;
    expected[ur::kBase + ur::kMoveTypes] = 0x0F;
    expected[ur::kBase + ur::kAbilities + 1] = 0x01;
    expected[ur::kBase + ur::kAbilities + 3] = 0x00;
    auto d = Open();
    Press(*d, u"OK");
    EXPECT_TRUE(rom == expected);
}

TEST_F(UnitDlgTest, OutOfListValuesSurviveAStoreByteForByte) {
    uint8_t* u = Unit(6);
    tsumugi::Write16(u + ur::kTerrain, 0x152F);  // air A, land 5, sea B, space 15
    u[ur::kUnitSize] = 7;
    u[ur::kBgmSet] = 70;
    u[ur::kPilots + 1] = 200;
    tsumugi::Write16(u + ur::kWeapons + 8, 800);
    u[ur::kFullBonus] = 60;
    u[ur::kPartSlots] = 9;
    u[ur::kUpgradeEn] = 11;
    auto d = Open();
    Select(*d, 6);
    EXPECT_EQ(Basic<ui::ComboBox>(*d, u"陸")->GetCurSel(), -1);
    EXPECT_EQ(Basic<ui::ComboBox>(*d, u"宇")->GetCurSel(), -1);
    EXPECT_EQ(Basic<ui::ComboBox>(*d, u"フル改造ボーナス")->GetCurSel(), -1);
    EXPECT_EQ(Machine<ui::ComboBox>(*d, u"サイズ")->GetCurSel(), -1);
    EXPECT_EQ(Machine<ui::ComboBox>(*d, u"BGM")->GetCurSel(), -1);
    EXPECT_EQ(Machine<ui::ComboBox>(*d, u"専属パイロット2")->GetCurSel(), -1);
    EXPECT_EQ(Weapon(*d, 5)->GetCurSel(), -1);

    Basic<ui::ComboBox>(*d, u"空")->SetCurSel(4);
    Basic<ui::ComboBox>(*d, u"海")->SetCurSel(0);
    const std::vector<uint8_t> before = rom;
    Select(*d, 7);
    EXPECT_EQ(Read16(u + ur::kTerrain), 0x450F);
    // Apart from the two terrain fields the user changed, the record is as it was.
    std::vector<uint8_t> expected = before;
    tsumugi::Write16(expected.data() + ur::kBase + ur::kSize * 6 + ur::kTerrain, 0x450F);
    EXPECT_TRUE(rom == expected);
}

TEST_F(UnitDlgTest, NoneItemsRoundTrip) {
    uint8_t* u = Unit(8);
    u[ur::kFullBonus] = 0xFF;
    std::fill_n(u + ur::kPilots, 4, 0xFF);
    std::fill_n(u + ur::kWeapons, 24, 0xFF);
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Select(*d, 8);
    EXPECT_EQ(Basic<ui::ComboBox>(*d, u"フル改造ボーナス")->currentText(), S(u"無し(0xFF)"));
    EXPECT_EQ(Machine<ui::ComboBox>(*d, u"専属パイロット4")->currentText(), S(u"無し(0xFF)"));
    EXPECT_EQ(Weapon(*d, 12)->currentText(), S(u"無し(0xFFFF)"));
    Select(*d, 9);
    EXPECT_TRUE(rom == before);

    Basic<ui::ComboBox>(*d, u"フル改造ボーナス")->SetCurSel(50);
    Machine<ui::ComboBox>(*d, u"専属パイロット1")->SetCurSel(176);
    Weapon(*d, 3)->SetCurSel(740);
    Press(*d, u"OK");
    EXPECT_EQ(Unit(9)[ur::kFullBonus], 0xFF);
    EXPECT_EQ(Unit(9)[ur::kPilots], 0xFF);
    EXPECT_EQ(Read16(Unit(9) + ur::kWeapons + 4), 0xFFFF);
}

TEST_F(UnitDlgTest, NameWithFillerLeftAsShownKeepsItsBytesAndItem) {
    uint8_t* u = Unit(10);
    const std::vector<uint8_t> clean = Bytes(u + ur::kName, ur::kNameLength);
    const auto terminator = std::find(clean.begin(), clean.end(), 0xFF) - clean.begin();
    ASSERT_LT(terminator, 31);
    std::fill(u + ur::kName + terminator + 1, u + ur::kName + ur::kNameLength, 0x77);
    const std::vector<uint8_t> field = Bytes(u + ur::kName, ur::kNameLength);
    auto d = Open();
    const QString item = List(*d)->GetText(10);
    Select(*d, 10);
    Select(*d, 11);
    EXPECT_EQ(Bytes(u + ur::kName, ur::kNameLength), field);
    EXPECT_EQ(List(*d)->GetText(10), item);
    EXPECT_EQ(List(*d)->GetCurSel(), 11);
}

TEST_F(UnitDlgTest, UnencodableNameShowsTheMessageAndStaysOnTheRecord) {
    const std::vector<uint8_t> name = Bytes(Unit(12) + ur::kName, ur::kNameLength);
    auto d = Open();
    Select(*d, 12);
    Basic<ui::Edit>(*d, u"最大EN")->SetText(QStringLiteral("321"));
    Machine<ui::ComboBox>(*d, u"サイズ")->SetCurSel(0);
    Unit(12)[ur::kUnitSize] = 3;
    // "鬱" is cp932 but not in the character table; the emoji is not even cp932.
    for (const char16_t* text : {u"ガ鬱", u"ガ😀"}) {
        services.shown.clear();
        Machine<ui::Edit>(*d, u"機体名")->SetText(S(text));
        Select(*d, 13);
        ASSERT_EQ(services.shown.size(), 1u);
        EXPECT_TRUE(services.Last().startsWith(S(u"名前の変換に失敗しました。\n位置：2byte\n文字：")))
            << services.Last().toStdString();
        EXPECT_EQ(List(*d)->GetCurSel(), 12);
        EXPECT_EQ(Machine<ui::Edit>(*d, u"機体名")->GetText(), S(text));
        EXPECT_EQ(d->findChild<ui::TabCtrl*>()->GetCurSel(), 2);
    }
    EXPECT_EQ(services.Last(), S(u"名前の変換に失敗しました。\n位置：2byte\n文字：😀"));
    // What came before the name was written; the name and what follows it were not.
    EXPECT_EQ(Read16(Unit(12) + ur::kMaxEn), 321);
    EXPECT_EQ(Bytes(Unit(12) + ur::kName, ur::kNameLength), name);
    EXPECT_EQ(Unit(12)[ur::kUnitSize], 3);

    Machine<ui::Edit>(*d, u"機体名")->SetText(S(u"ガンダム"));
    Select(*d, 13);
    EXPECT_EQ(List(*d)->GetCurSel(), 13);
    EXPECT_EQ(List(*d)->GetText(12), S(u"ガンダム"));
    EXPECT_EQ(Unit(12)[ur::kUnitSize], 0);
}

TEST_F(UnitDlgTest, RangeErrorsRefuseTheStore) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Basic<ui::Edit>(*d, u"最大EN")->SetText(QStringLiteral("12a"));
    Basic<ui::Edit>(*d, u"装甲")->SetText(QStringLiteral("4321"));
    Select(*d, 1);
    EXPECT_EQ(services.Texts(), (std::vector<QString>{ui::RangeMessage(0, 65535)}));
    EXPECT_EQ(List(*d)->GetCurSel(), 0);
    EXPECT_TRUE(rom == before);  // the number boxes are checked before anything is written
    Basic<ui::Edit>(*d, u"最大EN")->SetText(QStringLiteral("65536"));
    Press(*d, u"OK");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(services.shown.size(), 2u);

    Basic<ui::Edit>(*d, u"最大EN")->SetText(QStringLiteral("65535"));
    Basic<ui::Edit>(*d, u"移動力")->SetText(QStringLiteral("256"));
    Press(*d, u"OK");
    EXPECT_EQ(services.Last(), ui::RangeMessage(0, 255));
    EXPECT_TRUE(rom == before);

    Basic<ui::Edit>(*d, u"移動力")->SetText(QStringLiteral("255"));
    Machine<ui::Edit>(*d, u"乗り換え制限")->SetText(QStringLiteral("256"));
    Press(*d, u"OK");
    EXPECT_EQ(services.Last(), ui::RangeMessage(0, 255));
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->findChild<ui::TabCtrl*>()->GetCurSel(), 2);
    EXPECT_EQ(d->focusWidget(), Machine<ui::Edit>(*d, u"乗り換え制限"));
    EXPECT_EQ(Read16(Unit(0) + ur::kArmor), 4321);  // the page before it was written

    Machine<ui::Edit>(*d, u"乗り換え制限")->SetText(QStringLiteral("255"));
    Press(*d, u"OK");
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(Unit(0)[ur::kTransfer], 255);
    EXPECT_EQ(Read16(Unit(0) + ur::kMaxEn), 65535);
}

TEST_F(UnitDlgTest, ArrowKeysMoveLikeClicksAndARefusedStoreKeepsTheRow) {
    auto d = Open();
    ui::ListBox* list = List(*d);
    auto* name = Machine<ui::Edit>(*d, u"機体名");
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(name->GetText(), list->GetText(1));

    auto* en = Basic<ui::Edit>(*d, u"最大EN");
    en->SetText(QStringLiteral("x"));
    QTest::keyClick(list, Qt::Key_Down);
    SelectRow(d.get(), 5);
    EXPECT_EQ(services.shown.size(), 2u);
    EXPECT_EQ(list->GetCurSel(), 1);
    ASSERT_EQ(list->selectionModel()->selectedIndexes().size(), 1);
    EXPECT_EQ(list->selectionModel()->selectedIndexes().front(), list->Row(1));
    EXPECT_EQ(en->GetText(), QStringLiteral("x"));
    EXPECT_EQ(name->GetText(), list->GetText(1));

    en->SetText(QStringLiteral("5"));
    SelectRow(d.get(), 5);
    EXPECT_EQ(list->GetCurSel(), 5);
    EXPECT_EQ(name->GetText(), list->GetText(5));
    EXPECT_EQ(Read16(Unit(1) + ur::kMaxEn), 5);
}

TEST_F(UnitDlgTest, CancelEscapeAndCloseLeaveTheRomAndEnterDoesNothing) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    auto* en = Basic<ui::Edit>(*d, u"最大EN");
    en->SetText(QStringLiteral("7"));
    en->setFocus();
    QTest::keyClick(en, Qt::Key_Return);
    QTest::keyClick(en, Qt::Key_Enter);
    EXPECT_TRUE(d->isVisible());
    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Rejected);

    auto second = Open();
    Basic<ui::Edit>(*second, u"最大EN")->SetText(QStringLiteral("7"));
    Press(*second, u"ｷｬﾝｾﾙ");
    EXPECT_EQ(second->result(), QDialog::Rejected);

    auto third = Open();
    Basic<ui::Edit>(*third, u"最大EN")->SetText(QStringLiteral("7"));
    third->close();
    EXPECT_FALSE(third->isVisible());
    EXPECT_EQ(third->result(), QDialog::Rejected);
    EXPECT_TRUE(rom == before);
    EXPECT_TRUE(services.shown.empty());
}

TEST_F(UnitDlgTest, NameTheTableCannotDecodeIsLockedAndNeverWritten) {
    uint8_t* u = Unit(14);
    std::vector<uint8_t> name = GameText(S(u"テスト"));
    name.insert(name.begin() + 1, {0xFD, 0xF0});
    name.resize(ur::kNameLength, 0x33);
    std::copy(name.begin(), name.end(), u + ur::kName);
    auto d = Open();
    const QString item = List(*d)->GetText(14);
    Select(*d, 14);
    auto* edit = Machine<ui::Edit>(*d, u"機体名");
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(edit->GetText(), S(u"テ・スト"));
    Basic<ui::Edit>(*d, u"最大EN")->SetText(QStringLiteral("99"));
    Select(*d, 15);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(Bytes(u + ur::kName, ur::kNameLength), name);
    EXPECT_EQ(Read16(u + ur::kMaxEn), 99);
    EXPECT_EQ(List(*d)->GetText(14), item);
}

TEST_F(UnitDlgTest, WeaponCombosShareOneListAndSizeByContentsLength) {
    auto d = Open();
    ui::ComboBox* first = Weapon(*d, 1);
    EXPECT_EQ(first->GetCount(), 741);
    for (int slot = 2; slot <= 12; ++slot) EXPECT_EQ(Weapon(*d, slot)->model(), first->model());
    EXPECT_EQ(first->sizeAdjustPolicy(), QComboBox::AdjustToMinimumContentsLengthWithIcon);
    EXPECT_EQ(Machine<ui::ComboBox>(*d, u"専属パイロット1")->GetCount(), 177);
    EXPECT_EQ(Machine<ui::ComboBox>(*d, u"専属パイロット1")->model(),
              Machine<ui::ComboBox>(*d, u"専属パイロット4")->model());
    EXPECT_EQ(Machine<ui::ComboBox>(*d, u"BGM")->GetCount(), 64);
    EXPECT_EQ(Basic<ui::ComboBox>(*d, u"フル改造ボーナス")->GetCount(), 51);
}

TEST_F(UnitDlgTest, ControlsAreLabelledAndTabFollowsTheReadingOrder) {
    auto d = Open();
    ExpectLabelledControls(d.get());
    const QStringList order = TabOrder(d.get());
    ASSERT_GE(order.size(), 4);
    EXPECT_EQ(order.front(), S(u"ユニット"));
    EXPECT_EQ(order[1], S(u"データ"));
    EXPECT_EQ(order.mid(order.size() - 2), (QStringList{S(u"OK"), S(u"ｷｬﾝｾﾙ")}));
    // The basic page: the number column first, then the groups beside it.
    EXPECT_EQ(order.mid(2, 17).join(QLatin1Char(' ')),
              S(u"最大HP 最大EN 運動性 装甲 修理費 獲得資金 経験値 最大WP 獲得PP 移動力 "
                u"強化パーツスロット数 空 陸 海 宇 地 海"));
    EXPECT_EQ(order.indexOf(S(u"ビームコート")), order.indexOf(S(u"フル改造ボーナス")) + 1);
    EXPECT_EQ(order.indexOf(S(u"機体名")), order.indexOf(S(u"ブレイカー系無効")) + 1);
    EXPECT_EQ(order.indexOf(S(u"武器1")), order.indexOf(S(u"専属パイロット4")) + 1);
}

TEST_F(UnitDlgTest, AbilityPageCanLeaveOutGroup5) {
    CUnitAbilityPage page;
    page.SetGroup5Enabled(false);
    for (const char16_t* label : {u"特殊武器無効", u"ブレイカー系無効"}) {
        EXPECT_FALSE(Find<ui::CheckBox>(&page, S(label))->isEnabled());
    }
    EXPECT_TRUE(Find<ui::CheckBox>(&page, S(u"歪曲フィールド"))->isEnabled());
    page.SetBits(1, 0xFF);
    page.SetBits(2, 0xA5);
    EXPECT_EQ(page.Bits(1), 0x01);  // one box: the other bits read back as 0
    EXPECT_EQ(page.Bits(2), 0xA5);
    EXPECT_TRUE(Find<ui::CheckBox>(&page, S(u"HP回復（大）"))->GetCheck());
}

TEST_F(UnitDlgTest, TableThatCannotLoadStopsTheListWithTheMessage) {
    tsumugi::CharTable::SetPath("/nonexistent/string.txt");
    tsumugi::CharTable::Instance().Reset();
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_EQ(services.Texts(), (std::vector<QString>{ui::TableFailure()}));
    EXPECT_EQ(List(*d)->GetCount(), 0);
    Press(*d, u"OK");
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(rom == before);
}

TEST_F(UnitDlgTest, EveryPageFitsA1280By800ScreenWithJapaneseGlyphs) {
    auto d = Open();
    auto* tabs = d->findChild<ui::TabCtrl*>();
    for (int page = 0; page < 4; ++page) {
        tabs->SetCurSel(page);
        const QSize hint = d->sizeHint();
        EXPECT_LE(hint.width(), 1280) << page;
        EXPECT_LE(hint.height(), 760) << page;  // room for a title bar and a task bar
    }
    const QFontMetrics metrics(List(*d)->font());
    for (const char16_t c : std::u16string_view(u"機体名専属パイロット")) EXPECT_TRUE(metrics.inFont(QChar(c)));
}

}  // namespace
