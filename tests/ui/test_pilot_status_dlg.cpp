#include <QTest>

#include "core/bytes.h"
#include "editor_fixture.h"
#include "core/layout/pilots.h"
#include "editors/pilots/pilot_status_dlg.h"
#include "editors/units/unit_dlg.h"
#include "editors/units/unit_machine_page.h"
#include "ui/controls.h"
#include "ui/number.h"

namespace {

using namespace testing_ui;
using tsumugi::Read16;
namespace pr = tsumugi::layout::pilot_record;
namespace personality_names = tsumugi::layout::personality_names;

QString S(const char16_t* text) { return QString::fromUtf16(text); }

class PilotStatusDlgTest : public EditorFixture {
protected:
    uint8_t* Pilot(int i) { return Rom() + pr::kBase + pr::kSize * i; }

    std::unique_ptr<CPilotStatusDlg> Open() {
        auto dlg = std::make_unique<CPilotStatusDlg>(Rom(), RomSize());
        dlg->show();
        return dlg;
    }
    static ui::ListBox* List(CPilotStatusDlg& d) { return d.findChild<ui::ListBox*>(); }
    static void Select(CPilotStatusDlg& d, int i) { SelectRow(&d, i); }
    static void PressOk(CPilotStatusDlg& d) { Press(&d, QStringLiteral("OK")); }
    static ui::Edit* Edit(CPilotStatusDlg& d, const char16_t* label) { return Find<ui::Edit>(&d, S(label)); }
    static ui::ComboBox* Combo(CPilotStatusDlg& d, const char16_t* label) {
        return Find<ui::ComboBox>(&d, S(label));
    }
    // Writes a BGM name (64-byte entry of the BGM name table).
    void PutBgmName(int i, const QString& name) {
        const std::vector<uint8_t> field = Field(name, 64);
        std::copy(field.begin(), field.end(), Rom() + 0xBFD84 + 64 * i);
    }
    void PutBgmSet(int k, std::array<uint16_t, 5> bgm) {
        for (int s = 0; s < 5; ++s) tsumugi::Write16(Rom() + 0xC0CE0 + 12 * k + 2 * s, bgm[s]);
    }
};

TEST_F(PilotStatusDlgTest, OpenBrowseAndOkChangeNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), S(u"パイロットステータス"));
    ASSERT_EQ(List(*d)->GetCount(), pr::kCount);
    EXPECT_EQ(Combo(*d, u"成長率")->GetCount(), 15);
    EXPECT_EQ(Combo(*d, u"成長率")->GetLBText(14), S(u"ＳＰ重視"));
    EXPECT_EQ(Combo(*d, u"性格")->GetCount(), 16);
    EXPECT_EQ(Combo(*d, u"エースボーナス")->GetCount(), 60);
    EXPECT_LE(d->sizeHint().width(), 1280);
    EXPECT_LE(d->sizeHint().height(), 760);
    for (int i = 1; i < pr::kCount; ++i) Select(*d, i);
    Select(*d, 0);
    PressOk(*d);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

TEST_F(PilotStatusDlgTest, StoresEveryFieldAtItsOffset) {
    uint8_t* p = Pilot(2);
    p[pr::kSexPersonality] = 0x0E;  // bits 1-3 set: they are cleared by the store
    for (uint32_t off : {23u, 25u, 26u, 27u}) p[off] = 0xA5;
    auto d = Open();
    Select(*d, 2);
    Combo(*d, u"成長率")->SetCurSel(14);
    Combo(*d, u"性格")->SetCurSel(15);
    Find<ui::CheckBox>(d.get(), S(u"女"))->SetCheck(true);
    Combo(*d, u"エースボーナス")->SetCurSel(59);
    Combo(*d, u"空")->SetCurSel(0);
    Combo(*d, u"陸")->SetCurSel(1);
    Combo(*d, u"海")->SetCurSel(2);
    Combo(*d, u"宇")->SetCurSel(3);
    Combo(*d, u"BGM")->SetCurSel(33);
    const char16_t* stats[] = {u"SP", u"格闘", u"射撃", u"回避", u"命中", u"防御", u"技量", u"経験値"};
    for (int i = 0; i < 8; ++i) Edit(*d, stats[i])->SetText(QString::number(60000 + i));
    Edit(*d, u"乗り換え")->SetText(QStringLiteral("255"));
    const QString nickname = S(u"白い悪魔");
    const QString name = S(u"アムロ・レイ");
    Edit(*d, u"愛称")->SetText(nickname);
    Edit(*d, u"パイロット名")->SetText(name);
    Select(*d, 3);

    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(p[pr::kGrowth], 14);
    EXPECT_EQ(p[pr::kSexPersonality], 0xF1);
    EXPECT_EQ(Read16(p + pr::kAceBonus), 59);
    EXPECT_EQ(Read16(p + pr::kTerrain), 0x0123);
    EXPECT_EQ(p[pr::kBgmSet], 33);
    for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(Read16(p + pr::kSp + 2 * i), 60000 + i) << i;
    EXPECT_EQ(p[pr::kBoarding], 255);
    EXPECT_EQ(Bytes(p + pr::kNickname, pr::kNicknameLength), Field(nickname, pr::kNicknameLength));
    EXPECT_EQ(Bytes(p + pr::kName, pr::kNameLength), Field(name, pr::kNameLength));
    for (uint32_t off : {23u, 25u, 26u, 27u}) EXPECT_EQ(p[off], 0xA5) << off;
    EXPECT_EQ(List(*d)->GetText(2), name);
    EXPECT_EQ(List(*d)->GetCurSel(), 3);

    Select(*d, 2);  // and it reads back as it was typed
    EXPECT_EQ(Combo(*d, u"空")->currentText(), QStringLiteral("S"));
    EXPECT_EQ(Combo(*d, u"宇")->currentText(), QStringLiteral("C"));
    EXPECT_EQ(Edit(*d, u"パイロット名")->GetText(), name);
}

TEST_F(PilotStatusDlgTest, OutOfListValuesSurviveAStoreByteForByte) {
    uint8_t* p = Pilot(4);
    p[pr::kGrowth] = 20;
    tsumugi::Write16(p + pr::kAceBonus, 0x1234);
    tsumugi::Write16(p + pr::kTerrain, 0x9123);  // air 9 beside valid ranks
    p[pr::kBgmSet] = 70;
    auto d = Open();
    Select(*d, 4);
    for (const char16_t* label : {u"成長率", u"エースボーナス", u"空", u"BGM"}) {
        EXPECT_EQ(Combo(*d, label)->GetCurSel(), -1) << QString::fromUtf16(label).toStdString();
    }
    Combo(*d, u"陸")->SetCurSel(4);
    std::vector<uint8_t> expected = rom;
    tsumugi::Write16(expected.data() + pr::kBase + pr::kSize * 4 + pr::kTerrain, 0x9423);
    Select(*d, 5);
    EXPECT_TRUE(rom == expected);
}

TEST_F(PilotStatusDlgTest, TextsTheTableCannotDecodeAreLockedAndNeverWritten) {
    uint8_t* p = Pilot(9);
    std::vector<uint8_t> name = GameText(S(u"シャア"));
    name.insert(name.begin(), {0xFD, 0xF0});
    name.resize(pr::kNameLength, 0x33);
    std::copy(name.begin(), name.end(), p + pr::kName);
    auto d = Open();
    const QString item = List(*d)->GetText(9);
    Select(*d, 9);
    EXPECT_FALSE(Edit(*d, u"パイロット名")->isEnabled());
    EXPECT_TRUE(Edit(*d, u"愛称")->isEnabled());
    EXPECT_EQ(Edit(*d, u"パイロット名")->GetText(), S(u"・シャア"));
    Edit(*d, u"SP")->SetText(QStringLiteral("42"));
    Select(*d, tsumugi::demo::kLockedPilot);
    EXPECT_EQ(Bytes(p + pr::kName, pr::kNameLength), name);
    EXPECT_EQ(Read16(p + pr::kSp), 42);
    EXPECT_EQ(List(*d)->GetText(9), item);

    // The demo's locked nickname: disabled, its bytes kept through a store.
    uint8_t* locked = Pilot(tsumugi::demo::kLockedPilot);
    const std::vector<uint8_t> nickname = Bytes(locked + pr::kNickname, pr::kNicknameLength);
    EXPECT_FALSE(Edit(*d, u"愛称")->isEnabled());
    EXPECT_TRUE(Edit(*d, u"パイロット名")->isEnabled());
    Edit(*d, u"SP")->SetText(QStringLiteral("43"));
    PressOk(*d);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(Bytes(locked + pr::kNickname, pr::kNicknameLength), nickname);
    EXPECT_EQ(Read16(locked + pr::kSp), 43);
}

TEST_F(PilotStatusDlgTest, TextsAreLockedWhenTheTableCannotLoad) {
    tsumugi::CharTable::SetPath("/nonexistent/string.txt");
    tsumugi::CharTable::Instance().Reset();
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_FALSE(Edit(*d, u"パイロット名")->isEnabled());
    EXPECT_FALSE(Edit(*d, u"愛称")->isEnabled());
    PressOk(*d);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(rom == before);
}

TEST_F(PilotStatusDlgTest, OnlyAChangedTextRewritesTheFillerAfterItsTerminator) {
    uint8_t* p = Pilot(11);
    const std::vector<uint8_t> nick = Bytes(p + pr::kNickname, pr::kNicknameLength);
    const auto end = std::find(nick.begin(), nick.end(), 0xFF) - nick.begin();
    ASSERT_LT(end, 15);
    std::fill(p + pr::kNickname + end + 1, p + pr::kNickname + pr::kNicknameLength, 0x44);
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Select(*d, 11);
    Select(*d, 12);
    EXPECT_TRUE(rom == before);

    // A changed text is written with 0x00 after its terminator.
    Select(*d, 11);
    Edit(*d, u"愛称")->SetText(S(u"ニュータイプ"));
    Select(*d, 12);
    EXPECT_EQ(Bytes(p + pr::kNickname, pr::kNicknameLength), Field(S(u"ニュータイプ"), pr::kNicknameLength));
}

TEST_F(PilotStatusDlgTest, BoardingValueOutOfRangeKeepsThePilotSelected) {
    auto d = Open();
    Select(*d, 5);
    Combo(*d, u"成長率")->SetCurSel(3);
    Edit(*d, u"SP")->SetText(QStringLiteral("7"));
    Edit(*d, u"乗り換え")->SetText(QStringLiteral("256"));
    const uint16_t sp = Read16(Pilot(5) + pr::kSp);
    Select(*d, 6);
    EXPECT_EQ(services.Texts(), (std::vector<QString>{ui::RangeMessage(0, 255)}));
    EXPECT_EQ(List(*d)->GetCurSel(), 5);
    EXPECT_EQ(Edit(*d, u"乗り換え")->GetText(), QStringLiteral("256"));
    EXPECT_EQ(Pilot(5)[pr::kGrowth], 3);     // the combos go first
    EXPECT_EQ(Read16(Pilot(5) + pr::kSp), sp);  // no number is written
    Edit(*d, u"SP")->SetText(QStringLiteral("70000"));
    Edit(*d, u"乗り換え")->SetText(QStringLiteral("0"));
    PressOk(*d);
    EXPECT_EQ(services.Last(), ui::RangeMessage(0, 65535));
    EXPECT_TRUE(d->isVisible());
}

TEST_F(PilotStatusDlgTest, UnencodableNicknameShowsTheCharacterMessage) {
    const std::vector<uint8_t> before = Bytes(Pilot(6), pr::kSize);
    auto d = Open();
    Select(*d, 6);
    Edit(*d, u"SP")->SetText(QStringLiteral("11"));
    Edit(*d, u"愛称")->SetText(S(u"鬱"));
    Edit(*d, u"パイロット名")->SetText(S(u"ガンダム"));
    Select(*d, 7);
    EXPECT_EQ(services.Texts(), (std::vector<QString>{S(u"文字の変換に失敗しました。\n位置：0byte\n文字：鬱")}));
    EXPECT_EQ(List(*d)->GetCurSel(), 6);
    EXPECT_EQ(Read16(Pilot(6) + pr::kSp), 11);
    EXPECT_EQ(Bytes(Pilot(6) + pr::kNickname, pr::kNicknameLength),
              std::vector<uint8_t>(before.begin() + pr::kNickname,
                                   before.begin() + pr::kNickname + pr::kNicknameLength));
    EXPECT_EQ(Bytes(Pilot(6) + pr::kName, pr::kNameLength),
              std::vector<uint8_t>(before.begin() + pr::kName, before.end()));
}

TEST_F(PilotStatusDlgTest, ControlsAreLabelledAndTabFollowsTheReadingOrder) {
    auto d = Open();
    ExpectLabelledControls(d.get());
    const QStringList order = TabOrder(d.get());
    EXPECT_EQ(order.join(QLatin1Char(' ')),
              S(u"パイロット パイロット名 愛称 成長率 性格 女 エースボーナス BGM SP 格闘 射撃 回避 命中 "
                u"防御 技量 経験値 乗り換え 空 陸 海 宇 OK ｷｬﾝｾﾙ"));
}

TEST_F(PilotStatusDlgTest, CancelLeavesTheRom) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Edit(*d, u"SP")->SetText(QStringLiteral("1"));
    Edit(*d, u"パイロット名")->SetText(S(u"ガンダム"));
    QTest::keyClick(Edit(*d, u"SP"), Qt::Key_Return);
    EXPECT_TRUE(d->isVisible());
    Press(d.get(), S(u"ｷｬﾝｾﾙ"));
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_TRUE(rom == before);
}

TEST_F(PilotStatusDlgTest, ListsPersonalitiesAndBgmSetsFromTheirTables) {
    // Personality slot 3: eight codes, then more text that the limit of 8 cuts off.
    const std::vector<uint8_t> codes = GameText(S(u"あいうえおかきくけこ"));
    std::copy(codes.begin(), codes.end(), Rom() + personality_names::kBase + 16 * 3);
    PutBgmName(1, S(u"ＢＧＭ１　テーマ"));
    PutBgmName(2, QString());
    PutBgmName(3, S(u"Ａｂ・ー"));
    PutBgmSet(5, {1, 0, 2, 3, 0});
    PutBgmSet(6, {0, 0, 0, 0, 0});
    PutBgmSet(7, {60, 0, 0, 0, 0});  // past the BGM name table
    auto d = Open();
    EXPECT_EQ(Combo(*d, u"性格")->GetLBText(3), S(u"あいうえおかきく"));
    ui::ComboBox* bgm = Combo(*d, u"BGM");
    EXPECT_EQ(bgm->GetLBText(5), S(u"05: BGM1 テーマ & Ab・ー"));
    EXPECT_EQ(bgm->GetLBText(6), QStringLiteral("06: "));
    EXPECT_EQ(bgm->GetLBText(7), QStringLiteral("07: Error"));

    // The unit editor builds its BGM list the same way.
    CUnitDlg units(Rom(), RomSize());
    auto* unitBgm = Find<ui::ComboBox>(units.findChild<CUnitMachinePage*>(), QStringLiteral("BGM"));
    EXPECT_EQ(unitBgm->GetLBText(5), bgm->GetLBText(5));
}

}  // namespace
