#include <QTest>
#include <QTextCursor>

#include "core/bytes.h"
#include "core/layout/abilities.h"
#include "core/layout/descriptor.h"
#include "core/regions.h"
#include "core/text_codec.h"
#include "editor_fixture.h"
#include "editors/abilities/parts_dlg.h"
#include "main_dlg_fixture.h"
#include "ui/number.h"

namespace {

using namespace testing_ui;
using tsumugi::Read16;
namespace layout = tsumugi::layout;
namespace pr = tsumugi::layout::part_record;

QString S(const char16_t* text) { return QString::fromUtf16(text); }

// The one edit, multi-line edit, combo or check box below root named name.
QWidget* Control(QWidget* root, const QString& name) {
    QList<QWidget*> found;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const bool control = qobject_cast<ui::Edit*>(w) || qobject_cast<ui::MultiEdit*>(w) ||
                             qobject_cast<ui::ComboBox*>(w) || qobject_cast<ui::CheckBox*>(w);
        if (control && w->accessibleName() == name) found << w;
    }
    EXPECT_EQ(found.size(), 1) << "control " << name.toStdString();
    return found.value(0);
}

void SetText(QWidget* control, const QString& text) {
    if (auto* edit = qobject_cast<ui::Edit*>(control)) edit->SetText(text);
    if (auto* multi = qobject_cast<ui::MultiEdit*>(control)) multi->SetText(text);
}

class PartsDlgTest : public EditorFixture {
protected:
    uint8_t* Part(int i) { return Rom() + pr::kBase + pr::kSize * i; }
    std::vector<uint8_t> Record(int i) { return Bytes(Part(i), pr::kSize); }
    std::vector<uint8_t> Slice(int i, uint32_t offset, uint32_t length) {
        return Bytes(Part(i) + offset, length);
    }

    std::unique_ptr<CPartsDlg> Open() {
        auto dlg = std::make_unique<CPartsDlg>(Rom(), RomSize());
        dlg->show();
        return dlg;
    }
    static ui::ListBox* List(CPartsDlg& d) { return d.findChild<ui::ListBox*>(); }
    static ui::TabCtrl* Tabs(CPartsDlg& d) { return d.findChild<ui::TabCtrl*>(); }
    static ui::Edit* Edit(CPartsDlg& d, const char16_t* label) {
        return Find<ui::Edit>(&d, S(label));
    }
    static ui::MultiEdit* Multi(CPartsDlg& d, const char16_t* label) {
        return Find<ui::MultiEdit>(&d, S(label));
    }
    static ui::ComboBox* Type(CPartsDlg& d) { return Find<ui::ComboBox>(&d, S(u"タイプ")); }
    static ui::CheckBox* Box(CPartsDlg& d, const char16_t* label) {
        return Find<ui::CheckBox>(&d, S(label));
    }
    // Text with a code (FD F0) that the demo character table lacks, in a field of length.
    static std::vector<uint8_t> UndecodableField(const QString& text, size_t length) {
        std::vector<uint8_t> bytes = GameText(text);
        bytes.insert(bytes.begin(), {0xFD, 0xF0});
        bytes.resize(length, 0x00);
        return bytes;
    }
};

TEST_F(PartsDlgTest, OpenBrowseAndOkChangeNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), S(u"強化パーツ"));
    ASSERT_EQ(List(*d)->GetCount(), pr::kCount);
    EXPECT_EQ(List(*d)->GetCurSel(), 0);
    EXPECT_EQ(Tabs(*d)->GetCurSel(), 0);
    EXPECT_EQ(Tabs(*d)->tabText(0), S(u"基本"));
    EXPECT_EQ(Tabs(*d)->tabText(1), S(u"特殊技能"));
    tsumugi::CTextCodec codec(Rom(), RomSize());
    for (int i : {0, 23, pr::kCount - 1}) {
        std::string name;
        ASSERT_TRUE(codec.GetPartName(i, name));
        EXPECT_EQ(List(*d)->GetText(i), ui::FromCp932(name)) << i;
    }
    ASSERT_EQ(Type(*d)->GetCount(), 4);
    EXPECT_EQ(Type(*d)->GetLBText(2), S(u"特殊能力＋"));
    for (int page = 0; page < 2; ++page) {
        Tabs(*d)->SetCurSel(page);
        EXPECT_LE(d->sizeHint().width(), 1280) << page;
        EXPECT_LE(d->sizeHint().height(), 760) << page;
    }
    for (int i = 1; i < pr::kCount; ++i) SelectRow(d.get(), i);
    SelectRow(d.get(), 0);
    Press(d.get(), S(u"OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

// Every field of the table, one record each: its control (found by the field's label)
// changes exactly the field's bits at its offset and width, and nothing else of the ROM.
TEST_F(PartsDlgTest, EveryFieldIsStoredAtItsOffsetAndWidth) {
    const layout::Table* table = layout::FindTable("parts");
    ASSERT_NE(table, nullptr);
    ASSERT_LT(table->fields.size(), static_cast<size_t>(pr::kCount));
    auto d = Open();
    QStringList labels;
    int r = 0;
    for (const layout::Field& field : table->fields) {
        const QString label = QString::fromUtf8(field.label);
        labels << label;
        SelectRow(d.get(), r);
        const uint32_t current = layout::ReadField(field, Part(r));
        std::vector<uint8_t> expected = rom;
        uint8_t* expectedRecord = expected.data() + (Part(r) - Rom());
        QWidget* control = Control(d.get(), label);
        ASSERT_NE(control, nullptr);
        if (field.kind == layout::FieldKind::Text) {
            const QString text =
                field.width > pr::kNameLength ? S(u"装甲が\r\n大きく上がる。") : S(u"超合金Ｚ");
            SetText(control, text);
            const std::vector<uint8_t> bytes = Field(text, field.width);
            std::copy(bytes.begin(), bytes.end(), expectedRecord + field.offset);
        } else if (auto* combo = qobject_cast<ui::ComboBox*>(control)) {
            const int value = (static_cast<int>(current) + 1) % combo->GetCount();
            combo->SetCurSel(value);
            layout::WriteField(field, expectedRecord, static_cast<uint32_t>(value));
        } else if (auto* box = qobject_cast<ui::CheckBox*>(control)) {
            EXPECT_TRUE(box->isEnabled()) << label.toStdString();
            box->SetCheck(current == 0);
            layout::WriteField(field, expectedRecord, current == 0 ? 1 : 0);
        } else {
            const uint32_t max = layout::MaxOf(field);
            const uint32_t value = current == max ? max - 1 : max;
            SetText(control, QString::number(value));
            layout::WriteField(field, expectedRecord, value);
        }
        SelectRow(d.get(), ++r);
        EXPECT_TRUE(rom == expected) << label.toStdString();
    }
    EXPECT_TRUE(services.shown.empty());

    // Every control of the two pages is a field of the table, but the group "特殊能力5",
    // which a part does not have: its boxes are switched off.
    for (QWidget* w : d->findChildren<QWidget*>()) {
        const bool control = qobject_cast<ui::Edit*>(w) || qobject_cast<ui::MultiEdit*>(w) ||
                             qobject_cast<ui::ComboBox*>(w) || qobject_cast<ui::CheckBox*>(w);
        if (control) {
            EXPECT_EQ(labels.contains(w->accessibleName()), w->isEnabled())
                << w->accessibleName().toStdString();
        }
    }
}

TEST_F(PartsDlgTest, AbilityGroup5IsOffAndHasNoByte) {
    auto d = Open();
    SelectRow(d.get(), 3);
    Tabs(*d)->SetCurSel(1);
    const std::vector<uint8_t> before = rom;
    const QStringList group5 = {S(u"特殊武器無効"), S(u"EN系無効"),        S(u"気力系無効"),
                                S(u"SP系無効"),     S(u"精神系無効"),      S(u"ネット系無効"),
                                S(u"チャフ系無効"), S(u"ブレイカー系無効")};
    for (const QString& label : group5) {
        auto* box = Find<ui::CheckBox>(d.get(), label);
        EXPECT_FALSE(box->isEnabled());
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_FALSE(box->GetCheck()) << "the user cannot tick it";
        box->SetCheck(true);  // even ticked from code it is stored nowhere
    }
    SelectRow(d.get(), 4);
    EXPECT_TRUE(rom == before);
    SelectRow(d.get(), 3);
    for (const QString& label : group5)
        EXPECT_FALSE(Find<ui::CheckBox>(d.get(), label)->GetCheck());
}

// What a store does to the bytes no control shows, with the user changing nothing.
TEST_F(PartsDlgTest, StoreKeepsOrRebuildsTheUnshownBitsAsTheGameStoresThem) {
    struct Case {
        uint32_t offset;
        uint8_t before, after;
    };
    const Case cases[] = {
        {pr::kType, 7, 7},               // a type outside the list keeps its byte
        {pr::kUnshown, 0xA5, 0xA5},      // never written
        {pr::kTerrain + 1, 0x5A, 0x00},  // the terrain word's high byte is written as 0
        {pr::kRecovery, 0xFD, 0x05},     // bits 3-7 become 0
        {pr::kJammer, 0xFE, 0x00},       // one box: bit 0 written as the whole byte
        {pr::kEnergyAbsorb, 0x03, 0x01},
        // Filler after the terminator of a text left as shown stays.
        {pr::kName + pr::kNameLength - 1, 0x44, 0x44},
        {pr::kDescription1 + pr::kDescriptionLength - 1, 0x44, 0x44},
        {pr::kDescription2 + pr::kDescriptionLength - 1, 0x44, 0x44},
    };
    for (const Case& c : cases) Part(5)[c.offset] = c.before;
    std::vector<uint8_t> expected = rom;
    for (const Case& c : cases) expected[pr::kBase + pr::kSize * 5 + c.offset] = c.after;
    auto d = Open();
    const QString item = List(*d)->GetText(5);
    SelectRow(d.get(), 5);
    EXPECT_EQ(Type(*d)->GetCurSel(), -1);
    SelectRow(d.get(), 6);
    EXPECT_TRUE(rom == expected);
    EXPECT_EQ(List(*d)->GetText(5), item);
    EXPECT_EQ(List(*d)->GetCurSel(), 6);

    // A type chosen from the list replaces the out-of-list byte.
    SelectRow(d.get(), 5);
    Type(*d)->SetCurSel(2);
    Press(d.get(), S(u"OK"));
    EXPECT_EQ(Part(5)[pr::kType], 2);
    EXPECT_EQ(Part(5)[pr::kUnshown], 0xA5);
}

TEST_F(PartsDlgTest, RefusedNumberKeepsTheRecordAfterNameAndTypeAreWritten) {
    struct Case {
        const char16_t* label;
        const char16_t* refused;
        uint32_t max;
        uint32_t offset;
        int width;
    };
    const Case cases[] = {
        {u"移動力＋", u"256", 255, pr::kMovement, 1},
        {u"売値", u"65536", 65535, pr::kPrice, 2},
    };
    auto d = Open();
    int row = 10;
    for (const Case& c : cases) {
        services.shown.clear();
        SelectRow(d.get(), row);
        const std::vector<uint8_t> before = Record(row);
        const QString name = S(u"テスト") + QChar(u'Ａ' + row);
        Edit(*d, u"名前")->SetText(name);
        Type(*d)->SetCurSel(1);
        Edit(*d, u"装甲＋")->SetText(QStringLiteral("777"));
        Box(*d, u"宇A")->SetCheck(true);
        Box(*d, u"ジャマー")->SetCheck(true);
        Edit(*d, c.label)->SetText(S(c.refused));
        Tabs(*d)->SetCurSel(1);
        SelectRow(d.get(), row + 1);

        EXPECT_EQ(services.Texts(), std::vector<QString>{ui::RangeMessage(0, c.max)});
        EXPECT_EQ(List(*d)->GetCurSel(), row);
        EXPECT_EQ(Tabs(*d)->GetCurSel(), 0);
        EXPECT_EQ(d->focusWidget(), Edit(*d, c.label));
        EXPECT_EQ(Edit(*d, c.label)->GetText(), S(c.refused));
        // Name and type come before the numbers; the numbers and all after them wait.
        std::vector<uint8_t> expected = before;
        const std::vector<uint8_t> field = Field(name, pr::kNameLength);
        std::copy(field.begin(), field.end(), expected.begin() + pr::kName);
        expected[pr::kType] = 1;
        EXPECT_EQ(Record(row), expected) << QString::fromUtf16(c.label).toStdString();
        EXPECT_EQ(List(*d)->GetText(row), name);

        // The largest value is taken, and the rest of the record follows it.
        Edit(*d, c.label)->SetText(QString::number(c.max));
        SelectRow(d.get(), row + 1);
        EXPECT_EQ(List(*d)->GetCurSel(), row + 1);
        const uint8_t* p = Part(row) + c.offset;
        EXPECT_EQ(c.width == 1 ? p[0] : Read16(p), c.max);
        EXPECT_EQ(Read16(Part(row) + pr::kArmour), 777);
        EXPECT_EQ(Part(row)[pr::kJammer], 1);
        row += 2;
    }
}

TEST_F(PartsDlgTest, UnconvertibleTextShowsItsMessageAndStopsTheStoreThere) {
    struct Case {
        const char16_t* label;
        const char16_t* message;
        bool numbersWritten;
        bool description1Written;
    };
    const Case cases[] = {
        {u"名前", u"名前の変換に失敗しました。\n位置：2byte\n文字：鬱", false, false},
        {u"説明１", u"説明の変換に失敗しました。\n位置：2byte\n文字：鬱", true, false},
        {u"説明２", u"説明の変換に失敗しました。\n位置：2byte\n文字：鬱", true, true},
    };
    auto d = Open();
    int row = 20;
    for (const Case& c : cases) {
        services.shown.clear();
        SelectRow(d.get(), row);
        const std::vector<uint8_t> before = Record(row);
        Type(*d)->SetCurSel(3);
        Edit(*d, u"CT率＋")->SetText(QStringLiteral("33"));
        Box(*d, u"EN回復")->SetCheck(true);
        Multi(*d, u"説明１")->SetText(S(u"新しい説明"));
        Box(*d, u"精霊憑依")->SetCheck(true);
        SetText(Control(d.get(), S(c.label)), S(u"ガ鬱"));
        Tabs(*d)->SetCurSel(1);
        Press(d.get(), S(u"OK"));

        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(services.Texts(), std::vector<QString>{S(c.message)});
        EXPECT_EQ(List(*d)->GetCurSel(), row);
        EXPECT_EQ(Tabs(*d)->GetCurSel(), 0);
        EXPECT_EQ(d->focusWidget(), Control(d.get(), S(c.label)));
        std::vector<uint8_t> expected = before;
        if (c.numbersWritten) {
            expected[pr::kType] = 3;
            expected[pr::kCritical] = 33;
            expected[pr::kTerrain + 1] = 0;
            expected[pr::kRecovery] = static_cast<uint8_t>((before[pr::kRecovery] & 0x07) | 0x02);
        }
        if (c.description1Written) {
            const std::vector<uint8_t> text = Field(S(u"新しい説明"), pr::kDescriptionLength);
            std::copy(text.begin(), text.end(), expected.begin() + pr::kDescription1);
        }
        EXPECT_EQ(Record(row), expected) << QString::fromUtf16(c.label).toStdString();

        SetText(Control(d.get(), S(c.label)), S(u"ガン"));
        SelectRow(d.get(), row + 1);
        EXPECT_EQ(List(*d)->GetCurSel(), row + 1);
        EXPECT_EQ(Part(row)[pr::kAbilities3] & 0x80, 0x80);  // the abilities come last
        row += 2;
    }
}

TEST_F(PartsDlgTest, TextsTheTableCannotDecodeAreLockedAndKeepTheirBytes) {
    const std::vector<uint8_t> name = UndecodableField(S(u"ビーム"), pr::kNameLength);
    const std::vector<uint8_t> description = UndecodableField(S(u"説明文"), pr::kDescriptionLength);
    std::copy(name.begin(), name.end(), Part(30) + pr::kName);
    std::copy(description.begin(), description.end(), Part(31) + pr::kDescription2);
    auto d = Open();
    const QString item = List(*d)->GetText(30);
    EXPECT_EQ(item, S(u"・ビーム"));
    SelectRow(d.get(), 30);
    EXPECT_FALSE(Edit(*d, u"名前")->isEnabled());
    EXPECT_EQ(Edit(*d, u"名前")->GetText(), item);
    EXPECT_TRUE(Multi(*d, u"説明２")->isEnabled());
    Edit(*d, u"売値")->SetText(QStringLiteral("1"));
    SelectRow(d.get(), 31);
    EXPECT_EQ(Slice(30, pr::kName, pr::kNameLength), name);
    EXPECT_EQ(Read16(Part(30) + pr::kPrice), 1);
    EXPECT_EQ(List(*d)->GetText(30), item);

    EXPECT_TRUE(Edit(*d, u"名前")->isEnabled());
    EXPECT_FALSE(Multi(*d, u"説明２")->isEnabled());
    EXPECT_EQ(Multi(*d, u"説明２")->GetText(), S(u"・説明文"));
    Edit(*d, u"売値")->SetText(QStringLiteral("2"));
    Press(d.get(), S(u"OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(Slice(31, pr::kDescription2, pr::kDescriptionLength), description);
    EXPECT_EQ(Read16(Part(31) + pr::kPrice), 2);
}

TEST_F(PartsDlgTest, CancelEscapeAndEnterLeaveTheRom) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Edit(*d, u"EN＋")->SetText(QStringLiteral("9"));
    QTest::keyClick(Edit(*d, u"EN＋"), Qt::Key_Return);
    EXPECT_TRUE(d->isVisible());
    Press(d.get(), S(u"ｷｬﾝｾﾙ"));
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_TRUE(rom == before);

    auto second = Open();
    Edit(*second, u"EN＋")->SetText(QStringLiteral("8"));
    auto* description = Multi(*second, u"説明１");
    description->setFocus();
    description->moveCursor(QTextCursor::End);
    QTest::keyClick(description, Qt::Key_Return);
    EXPECT_TRUE(description->GetText().endsWith(QLatin1Char('\n'))) << "Enter starts a line";
    EXPECT_TRUE(second->isVisible());
    QTest::keyClick(second.get(), Qt::Key_Escape);
    EXPECT_FALSE(second->isVisible());
    EXPECT_EQ(second->result(), QDialog::Rejected);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

TEST_F(PartsDlgTest, ControlsAreLabelledAndTabFollowsTheReadingOrder) {
    auto d = Open();
    ExpectLabelledControls(d.get());
    // The chain runs through both pages; Tab skips the one that is hidden.
    EXPECT_EQ(
        TabOrder(d.get()).join(QLatin1Char(' ')).toStdString(),
        S(u"強化パーツ データ 名前 タイプ 売値 HP＋ EN＋ 運動性＋ 装甲＋ 移動力＋ 射程＋ 命中＋ "
          u"CT率＋ "
          u"気力＋ タイプ空 タイプ海 ？？？ 適応S 空A 陸A 海A 宇A HP回復 EN回復 弾数回復 SP回復量 "
          u"説明１ 説明２ ビームコート ABフィールド Eフィールド Gウォール Gテリトリー "
          u"念動フィールド "
          u"念動フィールドS 歪曲フィールド エネルギー吸収 HP回復（大） HP回復（中） HP回復（小） "
          u"EN回復（大） EN回復（中） EN回復（小） 分身 精霊憑依 ジャマー 特殊武器無効 EN系無効 "
          u"気力系無効 SP系無効 精神系無効 ネット系無効 チャフ系無効 ブレイカー系無効 OK ｷｬﾝｾﾙ")
            .toStdString());
}

class PartsEndToEndTest : public MainDlgTest {};

TEST_F(PartsEndToEndTest, EditReachesTheCodeFileAndTheRomOnDisk) {
    const std::vector<uint8_t> before = Demo().bytes;
    const std::string path = OwnRom(before);
    Load(path);
    ASSERT_EQ(before[pr::kBase + pr::kAbilities3], 0);
    ASSERT_EQ(before[pr::kBase + pr::kJammer], 0);
    m_services.modal = [](QDialog* d) {
        d->show();
        Find<ui::Edit>(d, Q(u"売値"))->SetText(QStringLiteral("12345"));
        Find<ui::CheckBox>(d, Q(u"ジャマー"))->SetCheck(true);
        Press(d, Q(u"OK"));
        return d->result();
    };
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kParts));
    ASSERT_EQ(m_dlg.m_codes.Size(), 2u);

    const std::string codeFile = m_files.File("codes.txt");
    m_services.files = {QString::fromStdString(codeFile)};
    Click(u"保存");
    EXPECT_EQ(tsumugi::testing::ReadText(codeFile), "080C75BE:0100\r\n080C75CA:3039\r\n");

    m_services.answers = {ui::MsgResult::Yes};
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), Q(u"書き換えに成功しました。"));
    std::vector<uint8_t> expected = before;
    tsumugi::Write16(expected.data() + pr::kBase + pr::kPrice, 12345);
    expected[pr::kBase + pr::kJammer] = 1;
    EXPECT_TRUE(tsumugi::testing::ReadBytes(path) == expected);
}

TEST_F(PartsEndToEndTest, CancelAfterMovingOnUndoesTheStoredRecord) {
    LoadDemo();
    m_services.modal = [](QDialog* d) {
        d->show();
        Find<ui::Edit>(d, Q(u"命中＋"))->SetText(QStringLiteral("99"));
        SelectRow(d, 1);
        Press(d, Q(u"ｷｬﾝｾﾙ"));
        return d->result();
    };
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kParts));
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(Demo().bytes));
}

}  // namespace
