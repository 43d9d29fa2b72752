#include <QTest>

#include "ability_dlg_support.h"
#include "core/bytes.h"
#include "core/layout/abilities.h"
#include "core/layout/descriptor.h"
#include "core/regions.h"
#include "demo/data.h"
#include "editor_fixture.h"
#include "editors/abilities/spirit_dlg.h"
#include "ui/controls.h"
#include "ui/number.h"
#include "ui/text.h"

namespace {

using namespace testing_ui;
using tsumugi::Read16;
namespace sr = tsumugi::layout::spirit_record;
namespace layout = tsumugi::layout;

QString S(const char16_t* text) { return QString::fromUtf16(text); }

class SpiritDlgTest : public EditorFixture {
protected:
    uint8_t* Spirit(int i) { return Rom() + sr::kBase + sr::kSize * i; }
    std::vector<uint8_t> Record(int i) { return Bytes(Spirit(i), sr::kSize); }

    std::unique_ptr<CSpiritDlg> Open() {
        auto dlg = std::make_unique<CSpiritDlg>(Rom(), RomSize());
        dlg->show();
        return dlg;
    }
    static ui::ListBox* List(CSpiritDlg& d) { return d.findChild<ui::ListBox*>(); }
    static ui::Edit* Edit(CSpiritDlg& d, const char16_t* label) { return Find<ui::Edit>(&d, S(label)); }
    static ui::ComboBox* Combo(CSpiritDlg& d, const char16_t* label) {
        return Find<ui::ComboBox>(&d, S(label));
    }
    static ui::MultiEdit* Description(CSpiritDlg& d) { return Find<ui::MultiEdit>(&d, S(u"説明")); }
    // The first two game bytes of a text, as the initial-character field holds them.
    static uint16_t Code(const char16_t* text) {
        const std::vector<uint8_t> bytes = GameText(S(text));
        return static_cast<uint16_t>(bytes[0] | (bytes.size() > 1 ? bytes[1] << 8 : 0));
    }
};

TEST_F(SpiritDlgTest, OpenBrowseAndOkChangeNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), S(u"精神コマンド"));
    ASSERT_EQ(List(*d)->GetCount(), sr::kCount);
    for (int i : {0, 12, sr::kCount - 1}) {
        EXPECT_EQ(List(*d)->GetText(i), ui::FromCp932(tsumugi::demo::detail::SpiritName(i))) << i;
    }
    EXPECT_EQ(Combo(*d, u"持続タイプ")->GetCount(), sr::kDurationCount);
    EXPECT_EQ(Combo(*d, u"持続タイプ")->GetLBText(6), S(u"１ターンしたら消える"));
    EXPECT_EQ(Combo(*d, u"対象")->GetCount(), sr::kTargetCount);
    EXPECT_EQ(Combo(*d, u"対象")->GetLBText(3), S(u"敵選択"));
    EXPECT_LE(d->sizeHint().width(), 1280);
    EXPECT_LE(d->sizeHint().height(), 760);
    for (int i = 1; i < sr::kCount; ++i) SelectRow(d.get(), i);
    SelectRow(d.get(), 0);
    Press(d.get(), S(u"OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

TEST_F(SpiritDlgTest, StoresEveryFieldAtItsOffset) {
    const layout::Table* table = layout::FindTable("spirits");
    ASSERT_NE(table, nullptr);
    const int row = 4;
    std::vector<uint8_t> expected = Record(row);
    auto d = Open();
    SelectRow(d.get(), row);
    const std::map<QString, QString> texts = {
        {S(u"名前一文字"), S(u"熱")},
        {S(u"名前"), S(u"ド根性")},
        {S(u"説明"), S(u"気力が\r\n１０上がる。")},
    };
    TypeEveryField(d.get(), *table, texts, expected);
    SelectRow(d.get(), row + 1);

    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(Record(row), expected);
    EXPECT_EQ(List(*d)->GetText(row), S(u"ド根性"));
    EXPECT_EQ(List(*d)->GetCurSel(), row + 1);
}

TEST_F(SpiritDlgTest, InitialCharacterStoresTheFirstTwoEncodedBytes) {
    const uint8_t a = GameText(S(u"あ"))[0];
    const uint8_t i = GameText(S(u"い"))[0];
    const uint16_t heat = Code(u"熱");
    struct Case {
        const char16_t* text;
        uint16_t stored;
    };
    const Case cases[] = {
        {u"", 0},
        {u"熱", heat},
        {u"熱血", heat},                           // only the first of two two-byte codes
        {u"あ", static_cast<uint16_t>(a | 0xFF00)},  // a lone one-byte code and the terminator
        {u"あい", static_cast<uint16_t>(a | i << 8)},
        {u"あいう", static_cast<uint16_t>(a | i << 8)},
        {u"あ熱", static_cast<uint16_t>(a | 0xFF00)},  // the pair does not fit
        {u"鬱", 0},                                 // no game code: nothing was encoded
        {u"あ鬱", a},                               // the encoding stopped after "あ"
        {u"😀", 0},                                 // no cp932 form either
        {u"あ😀", a},
    };
    auto d = Open();
    int row = 0;
    for (const Case& c : cases) {
        SelectRow(d.get(), row);
        Edit(*d, u"名前一文字")->SetText(S(c.text));
        SelectRow(d.get(), ++row);
        EXPECT_EQ(Read16(Spirit(row - 1) + sr::kInitial), c.stored) << QString::fromUtf16(c.text).toStdString();
    }
    EXPECT_TRUE(services.shown.empty()) << "the initial character shows no message";

    // Each stored value reads back as the text that stores it again.
    for (int r = 0; r < row; ++r) {
        SelectRow(d.get(), r);
        EXPECT_TRUE(Edit(*d, u"名前一文字")->isEnabled()) << r;
    }
    SelectRow(d.get(), 3);
    EXPECT_EQ(Edit(*d, u"名前一文字")->GetText(), S(u"あ"));
    SelectRow(d.get(), 4);
    EXPECT_EQ(Edit(*d, u"名前一文字")->GetText(), S(u"あい"));
    SelectRow(d.get(), 0);
    EXPECT_EQ(Edit(*d, u"名前一文字")->GetText(), QString());
}

TEST_F(SpiritDlgTest, ValuesTheBoxCannotShowFaithfullyAreLockedAndKept) {
    // An unlisted code, a terminator in the low byte, and a name and description holding
    // an unlisted code.
    const uint8_t unlisted[] = {tsumugi::demo::detail::kUnlistedLead, tsumugi::demo::detail::kUnlistedTrail};
    tsumugi::Write16(Spirit(8) + sr::kInitial, static_cast<uint16_t>(unlisted[0] | unlisted[1] << 8));
    tsumugi::Write16(Spirit(9) + sr::kInitial, 0x12FF);
    for (uint32_t field : {sr::kName, sr::kDescription}) {
        std::copy(std::begin(unlisted), std::end(unlisted), Spirit(10) + field);
    }
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    const QString item = List(*d)->GetText(10);
    EXPECT_TRUE(item.startsWith(S(u"・"))) << item.toStdString();

    struct Case {
        int row;
        bool initial, name, description;  // which boxes stay editable
    };
    for (const Case& c : {Case{8, false, true, true}, Case{9, false, true, true}, Case{10, true, false, false}}) {
        SelectRow(d.get(), c.row);
        EXPECT_EQ(Edit(*d, u"名前一文字")->isEnabled(), c.initial) << c.row;
        EXPECT_EQ(Edit(*d, u"名前")->isEnabled(), c.name) << c.row;
        EXPECT_EQ(Description(*d)->isEnabled(), c.description) << c.row;
        Edit(*d, u"消費SP")->SetText(QStringLiteral("99"));
    }
    Press(d.get(), S(u"OK"));
    EXPECT_TRUE(services.shown.empty());
    for (int r : {8, 9, 10}) {
        std::vector<uint8_t> expected(before.begin() + sr::kBase + sr::kSize * r,
                                      before.begin() + sr::kBase + sr::kSize * (r + 1));
        expected[sr::kSpCost] = 99;
        EXPECT_EQ(Record(r), expected) << r;
    }
    EXPECT_EQ(List(*d)->GetText(10), item);
}

TEST_F(SpiritDlgTest, UntouchedRecordKeepsTheFillerOfItsTexts) {
    uint8_t* p = Spirit(3);
    const auto fillAfterTerminator = [](uint8_t* field, uint32_t length, uint8_t filler) {
        uint8_t* end = std::find(field, field + length, 0xFF);
        ASSERT_LT(end + 1, field + length);
        std::fill(end + 1, field + length, filler);
    };
    fillAfterTerminator(p + sr::kName, sr::kNameLength, 0x44);
    fillAfterTerminator(p + sr::kDescription, sr::kDescriptionLength, 0x55);
    const std::vector<uint8_t> expected = Record(3);
    auto d = Open();
    SelectRow(d.get(), 3);
    SelectRow(d.get(), 4);
    EXPECT_EQ(Record(3), expected) << "texts left as shown keep their filler";
}

TEST_F(SpiritDlgTest, CombosOutsideTheirListsKeepTheirBytes) {
    uint8_t* p = Spirit(5);
    p[sr::kDuration] = 9;
    p[sr::kTarget] = 200;
    p[sr::kOnOthers] = 2;
    auto d = Open();
    SelectRow(d.get(), 5);
    EXPECT_EQ(Combo(*d, u"持続タイプ")->GetCurSel(), -1);
    EXPECT_EQ(Combo(*d, u"対象")->GetCurSel(), -1);
    EXPECT_TRUE(Find<ui::CheckBox>(d.get(), S(u"他人にかけられる"))->GetCheck());
    SelectRow(d.get(), 6);
    EXPECT_EQ(p[sr::kDuration], 9);
    EXPECT_EQ(p[sr::kTarget], 200);
    EXPECT_EQ(p[sr::kOnOthers], 1) << "a ticked box is written as 1";

    SelectRow(d.get(), 5);
    Combo(*d, u"持続タイプ")->SetCurSel(2);
    SelectRow(d.get(), 6);
    EXPECT_EQ(p[sr::kDuration], 2);
    EXPECT_EQ(p[sr::kTarget], 200);
}

// OK stores the record shown. A text that cannot be converted shows its message and the
// dialog still closes with OK: what comes before that text is written, that text and
// what follows it keep their old bytes.
TEST_F(SpiritDlgTest, OkClosesAfterAFailedTextKeepingItsOldBytes) {
    struct Case {
        const char16_t* name;
        const char16_t* description;
        QString message;
        uint32_t keptFrom;
    };
    const Case cases[] = {
        {u"鬱", u"新しい説明", S(u"名前の変換に失敗しました。\n位置：0byte\n文字：鬱"), sr::kName},
        {u"新精神", u"説明鬱", S(u"説明文の変換に失敗しました。\n位置：4byte\n文字：鬱"), sr::kDescription},
    };
    const std::vector<uint8_t> demo = rom;
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.name).toStdString());
        rom = demo;
        services.shown.clear();
        const std::vector<uint8_t> before = Record(2);
        auto d = Open();
        SelectRow(d.get(), 2);
        Combo(*d, u"持続タイプ")->SetCurSel(6);
        Combo(*d, u"対象")->SetCurSel(3);
        auto* onOthers = Find<ui::CheckBox>(d.get(), S(u"他人にかけられる"));
        onOthers->SetCheck(!onOthers->GetCheck());
        Edit(*d, u"消費SP")->SetText(QStringLiteral("99"));
        Edit(*d, u"名前一文字")->SetText(S(u"熱"));
        Edit(*d, u"名前")->SetText(S(c.name));
        Description(*d)->SetText(S(c.description));
        Press(d.get(), S(u"OK"));

        EXPECT_EQ(services.Texts(), std::vector<QString>{c.message});
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(d->result(), QDialog::Accepted);
        std::vector<uint8_t> expected = before;
        expected[sr::kDuration] = 6;
        expected[sr::kTarget] = 3;
        expected[sr::kOnOthers] = onOthers->GetCheck() ? 1 : 0;
        expected[sr::kSpCost] = 99;
        tsumugi::Write16(expected.data() + sr::kInitial, Code(u"熱"));
        if (c.keptFrom > sr::kName) {
            const std::vector<uint8_t> name = Field(S(c.name), sr::kNameLength);
            std::copy(name.begin(), name.end(), expected.begin() + sr::kName);
        }
        EXPECT_EQ(Record(2), expected);
    }
}

TEST_F(SpiritDlgTest, BadSpCostWritesNothingAndKeepsTheDialogOpen) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    SelectRow(d.get(), 7);
    for (const QString& bad : {QStringLiteral("256"), QStringLiteral("x"), QString()}) {
        Combo(*d, u"持続タイプ")->SetCurSel(5);
        Edit(*d, u"名前")->SetText(S(u"新精神"));
        Edit(*d, u"消費SP")->SetText(bad);
        services.shown.clear();
        SelectRow(d.get(), 8);
        EXPECT_EQ(List(*d)->GetCurSel(), 7);
        Press(d.get(), S(u"OK"));
        EXPECT_EQ(services.Texts(), std::vector<QString>(2, ui::RangeMessage(0, 255)));
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(Edit(*d, u"名前")->GetText(), S(u"新精神")) << "the input stays";
        EXPECT_TRUE(rom == before);
    }
}

TEST_F(SpiritDlgTest, CancelLeavesTheRom) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Edit(*d, u"消費SP")->SetText(QStringLiteral("1"));
    Edit(*d, u"名前")->SetText(S(u"新精神"));
    QTest::keyClick(Edit(*d, u"消費SP"), Qt::Key_Return);
    EXPECT_TRUE(d->isVisible()) << "Enter does nothing";
    Press(d.get(), S(u"ｷｬﾝｾﾙ"));
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_TRUE(rom == before);
}

TEST_F(SpiritDlgTest, ControlsAreLabelledAndTabFollowsTheReadingOrder) {
    auto d = Open();
    ExpectLabelledControls(d.get());
    EXPECT_EQ(TabOrder(d.get()).join(QLatin1Char(' ')),
              S(u"精神コマンド 名前 名前一文字 対象 持続タイプ 他人にかけられる 消費SP 説明 OK ｷｬﾝｾﾙ"));
    EXPECT_EQ(Description(*d)->parentWidget()->accessibleName(), S(u"説明"));
    EXPECT_EQ(Edit(*d, u"消費SP")->parentWidget()->accessibleName(), S(u"無使用？"));
}

class SpiritEndToEndTest : public AbilityEndToEndTest {};

TEST_F(SpiritEndToEndTest, EditReachesTheCodeFileAndTheRomOnDisk) {
    const std::vector<uint8_t> before = Demo().bytes;
    const std::string path = OwnRom(before);
    Load(path);
    std::vector<uint8_t> expected = before;
    uint8_t* record = expected.data() + sr::kBase + sr::kSize;  // command 1
    record[sr::kSpCost] = 77;
    const std::vector<uint8_t> name = FieldBytes(Q(u"鉄壁"), sr::kNameLength);
    std::copy(name.begin(), name.end(), record + sr::kName);

    m_services.modal = [](QDialog* d) {
        d->show();
        SelectRow(d, 1);
        Find<ui::Edit>(d, Q(u"消費SP"))->SetText(QStringLiteral("77"));
        Find<ui::Edit>(d, Q(u"名前"))->SetText(Q(u"鉄壁"));
        Press(d, Q(u"OK"));
        return d->result();
    };
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kSpirit));
    ExpectSavedCodes(path, tsumugi::category::kSpirit, before, expected);
}

TEST_F(SpiritEndToEndTest, CancelAfterMovingOnUndoesTheStoredRecord) {
    LoadDemo();
    m_services.modal = [](QDialog* d) {
        d->show();
        Find<ui::Edit>(d, Q(u"消費SP"))->SetText(QStringLiteral("5"));
        SelectRow(d, 1);  // stores command 0 into the ROM buffer
        Press(d, Q(u"ｷｬﾝｾﾙ"));
        return d->result();
    };
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kSpirit));
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(Demo().bytes));
}

}  // namespace
