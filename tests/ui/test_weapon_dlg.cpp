#include <QTest>

#include "core/bytes.h"
#include "core/layout/descriptor.h"
#include "core/layout/units.h"
#include "core/regions.h"
#include "core/text_codec.h"
#include "editor_fixture.h"
#include "editors/weapons/weapon_dlg.h"
#include "editors/weapons/weapon_type_names.h"
#include "main_dlg_fixture.h"
#include "ui/number.h"

namespace {

using namespace testing_ui;
namespace layout = tsumugi::layout;
namespace wr = tsumugi::layout::weapon_record;

QString S(const char16_t* text) { return QString::fromUtf16(text); }

bool IsControl(QWidget* w) {
    return qobject_cast<ui::Edit*>(w) || qobject_cast<ui::ComboBox*>(w) || qobject_cast<ui::CheckBox*>(w);
}

class WeaponDlgTest : public EditorFixture {
protected:
    static size_t Off(int i) { return wr::kBase + wr::kSize * static_cast<size_t>(i); }
    uint8_t* Weapon(int i) { return Rom() + Off(i); }
    std::unique_ptr<CWeaponDlg> Open() {
        auto dlg = std::make_unique<CWeaponDlg>(Rom(), RomSize());
        dlg->show();
        return dlg;
    }
    static ui::ListBox* List(CWeaponDlg& d) { return d.findChild<ui::ListBox*>(); }
    static ui::Edit* Edit(CWeaponDlg& d, const char16_t* label) { return Find<ui::Edit>(&d, S(label)); }
    static ui::ComboBox* Combo(CWeaponDlg& d, const char16_t* label) { return Find<ui::ComboBox>(&d, S(label)); }
    static ui::CheckBox* Check(CWeaponDlg& d, const char16_t* label) { return Find<ui::CheckBox>(&d, S(label)); }
    static int Tab(CWeaponDlg& d) { return d.findChild<ui::TabCtrl*>()->GetCurSel(); }
};

TEST_F(WeaponDlgTest, BrowsingEveryWeaponAndOkChangesNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), S(u"武器"));
    ASSERT_EQ(List(*d)->GetCount(), wr::kCount);
    EXPECT_EQ(Tab(*d), 0);
    for (int i = 1; i < wr::kCount; ++i) SelectRow(d.get(), i);
    EXPECT_EQ(Edit(*d, u"名前")->GetText(), List(*d)->GetText(wr::kCount - 1));
    Press(d.get(), S(u"OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

// Every field of the table on a record of its own: its control, found by the field's
// label, changes exactly the field's bits at its offset and width, and no other byte.
TEST_F(WeaponDlgTest, EveryFieldIsStoredAtItsOffsetAndWidth) {
    const layout::Table* table = layout::FindTable("weapons");
    ASSERT_NE(table, nullptr);
    auto d = Open();
    QStringList labels;
    int r = 1;
    for (const layout::Field& field : table->fields) {
        const QString label = QString::fromUtf8(field.label);
        labels << label;
        SelectRow(d.get(), r);
        const uint32_t current = layout::ReadField(field, Weapon(r));
        std::vector<uint8_t> expected = rom;
        uint8_t* record = expected.data() + Off(r);
        QWidget* control = nullptr;
        for (QWidget* w : d->findChildren<QWidget*>()) {
            if (IsControl(w) && w->accessibleName() == label) control = w;
        }
        ASSERT_NE(control, nullptr) << label.toStdString();
        if (field.kind == layout::FieldKind::Text) {
            const QString name = S(u"試作ビーム砲Ｍｋ２");
            qobject_cast<ui::Edit*>(control)->SetText(name);
            const std::vector<uint8_t> bytes = Field(name, field.width);
            std::copy(bytes.begin(), bytes.end(), record + field.offset);
        } else if (auto* combo = qobject_cast<ui::ComboBox*>(control)) {
            const int value = static_cast<int>(current + 1) % (combo->GetCount() - (field.none >= 0 ? 1 : 0));
            combo->SetCurSel(value);
            layout::WriteField(field, record, static_cast<uint32_t>(value));
        } else if (auto* box = qobject_cast<ui::CheckBox*>(control)) {
            box->SetCheck(current == 0);
            layout::WriteField(field, record, current == 0 ? 1 : 0);
        } else {
            const uint32_t value = current == layout::MaxOf(field) ? current - 1 : layout::MaxOf(field);
            qobject_cast<ui::Edit*>(control)->SetText(QString::number(value));
            layout::WriteField(field, record, value);
        }
        SelectRow(d.get(), r + 1);
        EXPECT_TRUE(rom == expected) << label.toStdString();
        r += 2;
    }
    EXPECT_TRUE(services.shown.empty());
    for (QWidget* w : d->findChildren<QWidget*>()) {
        if (IsControl(w)) {
            EXPECT_TRUE(labels.contains(w->accessibleName())) << w->accessibleName().toStdString();
        }
    }
}

TEST_F(WeaponDlgTest, NoneItemsStandForByte0xFF) {
    const std::tuple<const char16_t*, uint32_t, const char16_t*, int> cases[] = {
        {u"必要技能", wr::kSkill, u"無し(0xFF)", 36}, {u"方向", wr::kDirection, u"無効(0xFF)", 4}};
    for (const auto& [label, offset, none, item] : cases) {
        Weapon(2)[offset] = 0xFF;
        Weapon(3)[offset] = 1;
    }
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    SelectRow(d.get(), 2);
    for (const auto& [label, offset, none, item] : cases) EXPECT_EQ(Combo(*d, label)->currentText(), S(none));
    SelectRow(d.get(), 3);
    EXPECT_TRUE(rom == before);
    for (const auto& [label, offset, none, item] : cases) Combo(*d, label)->SetCurSel(item);
    SelectRow(d.get(), 4);
    for (const auto& [label, offset, none, item] : cases) EXPECT_EQ(Weapon(3)[offset], 0xFF);
}

TEST_F(WeaponDlgTest, OutOfListValuesSurviveAStoreByteForByte) {
    // Five type names can be read: the sixth runs 64 bytes without a terminator.
    uint32_t at = layout::weapon_type_names::kBase;
    for (int i = 0; i < 5; ++i) {
        const std::vector<uint8_t> name = GameText(S(u"ビーム"));
        std::copy(name.begin(), name.end(), Rom() + at);
        at = (at + static_cast<uint32_t>(name.size()) + 1) & ~1u;
    }
    std::fill_n(Rom() + at, 64, 0x11);
    const std::tuple<const char16_t*, uint32_t, uint8_t> outside[] = {
        {u"武器タイプ１", wr::kType1, 3},   {u"武器タイプ２", wr::kType2, 5},
        {u"選択", wr::kSelection, 3},       {u"改造費用タイプ", wr::kCostType, 5},
        {u"攻撃力上昇タイプ", wr::kGrowthType, 200}, {u"方向", wr::kDirection, 4},
        {u"必要技能", wr::kSkill, 36}};
    for (const auto& [label, offset, value] : outside) Weapon(9)[offset] = value;
    tsumugi::Write16(Weapon(9) + wr::kTerrain, 0x1F52);  // air A, land 15, sea 5, space B
    auto d = Open();
    EXPECT_EQ(Combo(*d, u"武器タイプ２")->GetCount(), 5);
    SelectRow(d.get(), 9);
    for (const auto& [label, offset, value] : outside) EXPECT_EQ(Combo(*d, label)->GetCurSel(), -1) << offset;
    EXPECT_EQ(Combo(*d, u"陸")->GetCurSel(), -1);
    EXPECT_EQ(Combo(*d, u"海")->GetCurSel(), -1);
    Combo(*d, u"空")->SetCurSel(4);
    Combo(*d, u"宇")->SetCurSel(0);
    std::vector<uint8_t> expected = rom;
    tsumugi::Write16(expected.data() + Off(9) + wr::kTerrain, 0x4F50);
    SelectRow(d.get(), 10);
    EXPECT_TRUE(rom == expected);
}

// A refused number of "基本" leaves the record as it was; a name that cannot be encoded
// leaves the numbers of "基本" written; a refused "形" everything up to the flags and the
// direction. The user stays on the record, on the page of the refused box.
TEST_F(WeaponDlgTest, RefusedInputKeepsTheRecordAndWritesWhatCameBefore) {
    struct Case {
        const char16_t* box;
        const char16_t* text;
        QString message;
        int page;
        bool numbers, name, choices;
    };
    const Case cases[] = {
        {u"LV", u"256", ui::RangeMessage(0, 255), 0, false, false, false},
        {u"名前", u"ガ😀", S(u"名前の変換に失敗しました。\n位置：2byte\n文字：😀"), 0, true, false, false},
        {u"形", u"x", ui::RangeMessage(0, 255), 1, true, true, true},
    };
    const QString name = S(u"ガンダム");
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.box).toStdString());
        SetUp();  // a fresh demo ROM for each case
        services.shown.clear();
        const std::vector<uint8_t> before = rom;
        const uint8_t* w = Weapon(12);
        auto d = Open();
        SelectRow(d.get(), 12);
        Edit(*d, u"攻撃力")->SetText(QStringLiteral("4321"));
        Edit(*d, u"名前")->SetText(name);
        Combo(*d, u"武器タイプ１")->SetCurSel(2);
        Check(*d, u"P武器")->SetCheck(true);
        Combo(*d, u"方向")->SetCurSel(2);
        Edit(*d, u"エフェクト")->SetText(QStringLiteral("99"));
        Check(*d, u"味方識別")->SetCheck(true);
        Edit(*d, c.box)->SetText(S(c.text));
        d->findChild<ui::TabCtrl*>()->SetCurSel(1 - c.page);
        SelectRow(d.get(), 13);

        EXPECT_EQ(services.Texts(), std::vector<QString>{c.message});
        EXPECT_EQ(List(*d)->GetCurSel(), 12);
        EXPECT_EQ(Tab(*d), c.page);
        EXPECT_EQ(d->focusWidget(), Edit(*d, c.box));
        EXPECT_EQ(Edit(*d, c.box)->GetText(), S(c.text));
        EXPECT_EQ(tsumugi::Read16(w + wr::kAttack) == 4321, c.numbers);
        EXPECT_EQ(Bytes(w + wr::kName, wr::kNameLength) == Field(name, wr::kNameLength), c.name);
        EXPECT_EQ(List(*d)->GetText(12) == name, c.name);
        EXPECT_EQ(w[wr::kType1] == 2 && (w[wr::kFlags] & 0x80) && w[wr::kDirection] == 2, c.choices);
        EXPECT_EQ(Bytes(w + wr::kShape, 4), Bytes(before.data() + Off(12) + wr::kShape, 4));

        Edit(*d, c.box)->SetText(c.box == std::u16string_view(u"名前") ? name : QStringLiteral("7"));
        Press(d.get(), S(u"OK"));
        EXPECT_EQ(d->result(), QDialog::Accepted);
        EXPECT_EQ(w[wr::kEffect], 99);
        EXPECT_EQ(w[wr::kFriendId], 1);
    }
}

TEST_F(WeaponDlgTest, StoreZeroesByte31LeavesBytes10And13AndWritesFriendIdAsOneOrZero) {
    uint8_t* w = Weapon(5);
    w[10] = 0xA5;
    w[13] = 0x5A;
    w[31] = 0x77;
    w[wr::kFriendId] = 2;
    std::vector<uint8_t> expected = rom;
    expected[Off(5) + 31] = 0;
    for (const bool untick : {false, true}) {
        auto d = Open();
        SelectRow(d.get(), 5);
        EXPECT_TRUE(Check(*d, u"味方識別")->GetCheck());  // 2, then 1
        if (untick) Check(*d, u"味方識別")->SetCheck(false);
        Press(d.get(), S(u"OK"));
        expected[Off(5) + wr::kFriendId] = untick ? 0 : 1;
        EXPECT_TRUE(rom == expected) << untick;
    }
}

TEST_F(WeaponDlgTest, NameFillerLeftAsShownStaysAndALockedNameIsNeverWritten) {
    const std::vector<uint8_t> clean = Bytes(Weapon(20) + wr::kName, wr::kNameLength);
    const auto end = std::find(clean.begin(), clean.end(), 0xFF) - clean.begin();
    ASSERT_LT(end, 31);
    std::fill(Weapon(20) + wr::kName + end + 1, Weapon(20) + wr::kName + wr::kNameLength, 0x77);
    const std::vector<uint8_t> field = Bytes(Weapon(20) + wr::kName, wr::kNameLength);
    std::vector<uint8_t> locked = GameText(S(u"テスト"));
    locked.insert(locked.begin() + 1, {0xFD, 0xF0});
    locked.resize(wr::kNameLength, 0x33);
    std::copy(locked.begin(), locked.end(), Weapon(21) + wr::kName);

    auto d = Open();
    const QString item = List(*d)->GetText(20);
    SelectRow(d.get(), 20);
    SelectRow(d.get(), 21);
    EXPECT_EQ(Bytes(Weapon(20) + wr::kName, wr::kNameLength), field);
    EXPECT_EQ(List(*d)->GetText(20), item);
    EXPECT_EQ(List(*d)->GetCurSel(), 21);

    EXPECT_FALSE(Edit(*d, u"名前")->isEnabled());
    EXPECT_EQ(Edit(*d, u"名前")->GetText(), S(u"テ・スト"));
    Edit(*d, u"攻撃力")->SetText(QStringLiteral("99"));
    SelectRow(d.get(), 22);
    EXPECT_TRUE(Edit(*d, u"名前")->isEnabled());
    EXPECT_EQ(Bytes(Weapon(21) + wr::kName, wr::kNameLength), locked);
    EXPECT_EQ(tsumugi::Read16(Weapon(21) + wr::kAttack), 99);
    EXPECT_TRUE(services.shown.empty());
}

TEST_F(WeaponDlgTest, LastWeaponIsEditableEnterDoesNothingAndCancelLeavesTheRom) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    SelectRow(d.get(), wr::kCount - 1);
    auto* attack = Edit(*d, u"攻撃力");
    attack->SetText(QStringLiteral("65535"));
    attack->setFocus();
    QTest::keyClick(attack, Qt::Key_Return);
    QTest::keyClick(attack, Qt::Key_Enter);
    EXPECT_TRUE(d->isVisible());
    Press(d.get(), S(u"OK"));
    EXPECT_EQ(tsumugi::Read16(Weapon(wr::kCount - 1) + wr::kAttack), 65535);

    rom = before;
    const std::function<void(CWeaponDlg&)> ways[] = {
        [](CWeaponDlg& e) { Press(&e, S(u"ｷｬﾝｾﾙ")); },
        [](CWeaponDlg& e) { QTest::keyClick(&e, Qt::Key_Escape); },
        [](CWeaponDlg& e) { e.close(); }};
    for (const auto& leave : ways) {
        auto e = Open();
        Edit(*e, u"攻撃力")->SetText(QStringLiteral("7"));
        leave(*e);
        EXPECT_FALSE(e->isVisible());
        EXPECT_EQ(e->result(), QDialog::Rejected);
    }
    EXPECT_TRUE(rom == before);
    EXPECT_TRUE(services.shown.empty());
}

TEST_F(WeaponDlgTest, ControlsAreLabelledTabFollowsTheReadingOrderAndPagesFit) {
    auto d = Open();
    ExpectLabelledControls(d.get());
    EXPECT_EQ(TabOrder(d.get()).join(QLatin1Char(' ')),
              S(u"武器 データ 名前 攻撃力 命中＋ クリティカル＋ 弾数 消費EN 必要気力 使用WP 射程 最大射程 "
                u"必要技能 LV 空 陸 海 宇 武器タイプ１ 武器タイプ２ 選択 改造費用タイプ 攻撃力上昇タイプ "
                u"C武器 格闘 ミサイル ビーム 必須 射撃 ? P武器 方向 形 エフェクト 味方識別 OK ｷｬﾝｾﾙ"));
    for (const char16_t* big : {u"必要技能", u"武器タイプ２"}) {
        EXPECT_EQ(Combo(*d, big)->sizeAdjustPolicy(), QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    for (int page = 0; page < 2; ++page) {
        d->findChild<ui::TabCtrl*>()->SetCurSel(page);
        EXPECT_LE(d->sizeHint().width(), 1280) << page;
        EXPECT_LE(d->sizeHint().height(), 760) << page;
    }
}

TEST_F(WeaponDlgTest, TypeNamesFollowTheEvenOffsetRuleAndStopWithoutATerminator) {
    const uint8_t a = GameText(S(u"ア"))[0];
    const std::vector<uint8_t> pair = GameText(S(u"Ｚ"));  // two bytes and 0xFF
    std::vector<uint8_t> table = {a, 0xFF,                 // ends at an odd offset: the next follows
                                  a, a, 0xFF, 0x11,        // ends at an even offset: one spare byte
                                  pair[0], pair[1], 0x00, 0x11};  // a pair, then 0x00
    table.insert(table.end(), 63, a);
    table.push_back(0xFF);  // 63 bytes and the terminator fill the 64
    const size_t named = table.size();
    table.insert(table.end(), 64, a);  // no terminator within 64 bytes: the end
    table.push_back(0xFF);
    const QStringList four = {S(u"ア"), S(u"アア"), S(u"Ｚ"), QString(63, QChar(u'ア'))};

    const uint32_t base = layout::weapon_type_names::kBase;
    const std::pair<size_t, QStringList> cases[] = {  // bytes of the table inside the image
        {table.size(), four}, {named, four}, {named - 1, four.mid(0, 3)}, {1, {}}, {0, {}}};
    for (const auto& [inside, expected] : cases) {
        std::vector<uint8_t> image(rom.begin(), rom.begin() + base);
        image.insert(image.end(), table.begin(), table.begin() + static_cast<std::ptrdiff_t>(inside));
        tsumugi::CTextCodec codec(image.data(), static_cast<uint32_t>(image.size()));
        QStringList names;
        for (const std::string& name : editors::ReadWeaponTypeNames(codec)) names << ui::FromCp932(name);
        EXPECT_EQ(names, expected) << inside;
    }
    tsumugi::CTextCodec demo(Rom(), RomSize());
    const std::vector<std::string> names = editors::ReadWeaponTypeNames(demo);
    ASSERT_EQ(names.size(), 28u);
    EXPECT_EQ(ui::FromCp932(names.back()), S(u"その他"));
}

class WeaponEndToEndTest : public MainDlgTest {};

TEST_F(WeaponEndToEndTest, WeaponEditReachesTheCodeFileAndTheRomOnDisk) {
    const std::vector<uint8_t> before = Demo().bytes;
    ASSERT_EQ(before[wr::kBase + wr::kFlags], 0xAC);  // weapon 0 of the demo: "C武器" not ticked
    const std::string path = OwnRom(before);
    Load(path);
    m_services.modal = [](QDialog* d) {
        d->show();
        Find<ui::Edit>(d, Q(u"攻撃力"))->setText(QStringLiteral("4660"));
        Find<ui::CheckBox>(d, Q(u"C武器"))->setChecked(true);
        Find<ui::Button>(d, Q(u"OK"))->click();
        return d->result();
    };
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kWeapon));

    const std::string codeFile = m_files.File("codes.txt");
    m_services.files = {QString::fromStdString(codeFile)};
    Click(u"保存");
    EXPECT_EQ(tsumugi::testing::ReadText(codeFile), "080D7CB0:1234\r\n080D7CBE:00AD\r\n");

    m_services.answers = {ui::MsgResult::Yes};
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), Q(u"書き換えに成功しました。"));
    std::vector<uint8_t> expected = before;
    tsumugi::Write16(expected.data() + wr::kBase + wr::kAttack, 0x1234);
    expected[wr::kBase + wr::kFlags] = 0xAD;
    EXPECT_TRUE(tsumugi::testing::ReadBytes(path) == expected);
}

}  // namespace
