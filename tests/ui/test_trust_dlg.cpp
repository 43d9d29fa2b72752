#include <QTest>
#include <map>

#include "ability_dlg_support.h"
#include "bonus_dlg_fixture.h"
#include "core/bytes.h"
#include "core/layout/bonuses.h"
#include "core/layout/descriptor.h"
#include "core/regions.h"
#include "demo/data.h"
#include "editors/bonuses/trust_dlg.h"
#include "ui/controls.h"
#include "ui/text.h"

namespace {

using namespace testing_ui;
namespace tr = tsumugi::layout::trust_record;
namespace layout = tsumugi::layout;
namespace demo = tsumugi::demo::detail;

constexpr int kPilots = 176, kTypes = 4;
constexpr uint16_t kNone = 0xFFFF;
constexpr const char16_t* kTabs[tr::kPageCount] = {u"その１", u"その２", u"その３", u"その４"};
constexpr const char16_t* kPartners[tr::kPartners] = {u"一人目", u"二人目", u"三人目", u"四人目"};

uint32_t PageAt(int page) { return tr::kPages + tr::kPageSize * static_cast<uint32_t>(page); }
uint32_t PartnerAt(int page, int k) { return PageAt(page) + tr::kPartner + 2 * static_cast<uint32_t>(k); }

// The user's choice of item in a combo, made with the arrow keys so that the combo
// reports it as the user's.
void Choose(ui::ComboBox* combo, int item) {
    ASSERT_GT(combo->GetCount(), 1);
    combo->SetCurSel(item > 0 ? item - 1 : 1);
    QTest::keyClick(combo, item > 0 ? Qt::Key_Down : Qt::Key_Up);
    ASSERT_EQ(combo->GetCurSel(), item);
}

class TrustDlgTest : public BonusDlgTest<CTrustDlg> {
protected:
    TrustDlgTest() : BonusDlgTest(tr::kBase, tr::kSize) {}

    uint16_t Word(int record, uint32_t offset) { return tsumugi::Read16(At(record) + offset); }
    void SetWord(int record, uint32_t offset, uint16_t value) { tsumugi::Write16(At(record) + offset, value); }
    // A page with every value inside the lists, none of them on a list's last item.
    void SetPage(int record, int page, uint16_t type, uint16_t effect, uint16_t firstPartner) {
        SetWord(record, PageAt(page) + tr::kType, type);
        SetWord(record, PageAt(page) + tr::kEffect, effect);
        for (int k = 0; k < tr::kPartners; ++k) {
            SetWord(record, PartnerAt(page, k), static_cast<uint16_t>(firstPartner + 7 * k));
        }
    }

    static ui::ComboBox* Pilot(CTrustDlg& d) { return Combo(d, u"パイロット"); }
    static ui::ComboBox* Type(CTrustDlg& d) { return Combo(d, u"補正タイプ"); }
    static ui::ComboBox* Effect(CTrustDlg& d) { return Combo(d, u"効果"); }
    static ui::ComboBox* Partner(CTrustDlg& d, int k) { return Combo(d, kPartners[k]); }
    static ui::TabCtrl* Tabs(CTrustDlg& d) { return d.findChild<ui::TabCtrl*>(); }
    static void Page(CTrustDlg& d, int page) { EXPECT_TRUE(ClickTab(&d, S(kTabs[page]))); }
    static QString PilotName(int i) { return ui::FromCp932(demo::PilotName(i)); }
};

TEST_F(TrustDlgTest, OpenBrowseAndOkChangeNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), S(u"信頼補正"));
    ASSERT_EQ(List(*d)->GetCount(), tr::kCount);
    for (int i : {0, 1, 30, tr::kCount - 1}) {
        EXPECT_EQ(List(*d)->GetText(i), PilotName(Word(i, tr::kPilot))) << "named after its pilot " << i;
    }
    ASSERT_EQ(Pilot(*d)->GetCount(), kPilots);
    EXPECT_EQ(Pilot(*d)->GetLBText(kPilots - 1), PilotName(kPilots - 1));
    ASSERT_EQ(Type(*d)->GetCount(), kTypes + 1);
    for (int t = 0; t < kTypes; ++t) EXPECT_EQ(Type(*d)->GetLBText(t), ui::FromCp932(demo::TrustTypeName(t)));
    EXPECT_EQ(Type(*d)->GetLBText(kTypes), S(u"無し(0xFFFF)"));
    ASSERT_EQ(Effect(*d)->GetCount(), 4);
    EXPECT_EQ(QStringList({Effect(*d)->GetLBText(0), Effect(*d)->GetLBText(1), Effect(*d)->GetLBText(2),
                           Effect(*d)->GetLBText(3)}),
              QStringList({S(u"無し(0xFFFF)"), S(u"小"), S(u"中"), S(u"大")}));
    for (int k = 0; k < tr::kPartners; ++k) {
        ASSERT_EQ(Partner(*d, k)->GetCount(), kPilots + 1);
        EXPECT_EQ(Partner(*d, k)->GetLBText(10), PilotName(10));
        EXPECT_EQ(Partner(*d, k)->GetLBText(kPilots), S(u"無し(0xFFFF)"));
    }
    EXPECT_EQ(Tabs(*d)->GetCurSel(), 0);
    EXPECT_LE(d->sizeHint().width(), 1280);
    EXPECT_LE(d->sizeHint().height(), 760);
    for (int i = 1; i < tr::kCount; ++i) {
        SelectRow(d.get(), i);
        Page(*d, i % tr::kPageCount);
    }
    SelectRow(d.get(), 0);
    Page(*d, 0);
    Press(d.get(), S(u"OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

// Every field the table descriptor lists gets a new value through its control; moving on
// stores the pilot and the last page, and each tab change stored the page before it.
TEST_F(TrustDlgTest, StoresEveryFieldAtItsOffset) {
    const layout::Table* table = layout::FindTable("trusts");
    ASSERT_NE(table, nullptr);
    const int row = 9;
    SetWord(row, tr::kPilot, 20);
    SetWord(row, 2, 0x5AA5);
    for (int p = 0; p < tr::kPageCount; ++p) {
        SetPage(row, p, static_cast<uint16_t>(p), static_cast<uint16_t>(1 + p % 2),
                static_cast<uint16_t>(3 + p));
    }
    std::vector<uint8_t> expected = Record(row);
    auto d = Open();
    SelectRow(d.get(), row);
    TypeEveryField(d.get(), *table, {}, expected);
    SelectRow(d.get(), row + 1);

    EXPECT_EQ(Record(row), expected);
    EXPECT_TRUE(services.shown.empty());

    SelectRow(d.get(), row);  // and it reads back as it was chosen
    EXPECT_EQ(Tabs(*d)->GetCurSel(), 3);
    EXPECT_EQ(Pilot(*d)->GetCurSel(), kPilots - 1);
    EXPECT_EQ(Type(*d)->GetCurSel(), kTypes);
    EXPECT_EQ(Partner(*d, 3)->GetCurSel(), kPilots);
}

// The value of each field against the item it shows and the value a store writes back.
TEST_F(TrustDlgTest, ValuesShowTheirItemAndStoreWhatTheItemStandsFor) {
    struct Case {
        const char* what;
        uint16_t pilot, type, effect, partner;
        int pilotItem, typeItem, effectItem, partnerItem;
        uint16_t storedPilot, storedType, storedEffect, storedPartner;
    };
    const Case cases[] = {
        {"first items", 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0},
        {"last values", 175, 3, 3, 175, 175, 3, 3, 175, 175, 3, 3, 175},
        {"none", kNone, kNone, kNone, kNone, -1, kTypes, 0, kPilots, kNone, kNone, kNone, kNone},
        {"the value on the none item", 176, 4, 0, 176, -1, kTypes, 0, kPilots, kNone, kNone, kNone, kNone},
        {"one past the none item", 177, 5, 4, 177, -1, -1, -1, -1, kNone, kNone, kNone, kNone},
        {"far outside", 0x8000, 0x1234, 0xFFFE, 0xFFFE, -1, -1, -1, -1, kNone, kNone, kNone, kNone},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        const int row = static_cast<int>(k);
        const int page = row % tr::kPageCount;
        SetWord(row, tr::kPilot, cases[k].pilot);
        SetWord(row, PageAt(page) + tr::kType, cases[k].type);
        SetWord(row, PageAt(page) + tr::kEffect, cases[k].effect);
        SetWord(row, PartnerAt(page, page), cases[k].partner);
    }
    auto d = Open();
    for (size_t k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        SCOPED_TRACE(c.what);
        const int row = static_cast<int>(k);
        const int page = row % tr::kPageCount;
        SelectRow(d.get(), row);
        Page(*d, page);
        EXPECT_EQ(List(*d)->GetText(row), c.pilot < kPilots ? PilotName(c.pilot) : S(u"Error"));
        EXPECT_EQ(Pilot(*d)->GetCurSel(), c.pilotItem);
        EXPECT_EQ(Type(*d)->GetCurSel(), c.typeItem);
        EXPECT_EQ(Effect(*d)->GetCurSel(), c.effectItem);
        EXPECT_EQ(Partner(*d, page)->GetCurSel(), c.partnerItem);
        SelectRow(d.get(), row + 1);
        EXPECT_EQ(Word(row, tr::kPilot), c.storedPilot);
        EXPECT_EQ(Word(row, PageAt(page) + tr::kType), c.storedType);
        EXPECT_EQ(Word(row, PageAt(page) + tr::kEffect), c.storedEffect);
        EXPECT_EQ(Word(row, PartnerAt(page, page)), c.storedPartner);
    }

    // A chosen item stores what it stands for.
    SelectRow(d.get(), 10);
    Page(*d, 0);
    Type(*d)->SetCurSel(2);
    Effect(*d)->SetCurSel(0);
    Partner(*d, 0)->SetCurSel(kPilots);
    Partner(*d, 1)->SetCurSel(44);
    SelectRow(d.get(), 11);
    EXPECT_EQ(Word(10, PageAt(0) + tr::kType), 2);
    EXPECT_EQ(Word(10, PageAt(0) + tr::kEffect), kNone);
    EXPECT_EQ(Word(10, PartnerAt(0, 0)), kNone);
    EXPECT_EQ(Word(10, PartnerAt(0, 1)), 44);
    EXPECT_TRUE(services.shown.empty());
}

// OK at once stores record 0's pilot and its first page only: values outside what the
// combos show are written back as the Part's none, everything else stays.
TEST_F(TrustDlgTest, OkAtOnceRewritesOnlyThePilotAndFirstPageOfTheFirstRecord) {
    SetWord(0, PageAt(0) + tr::kType, 4);
    SetWord(0, PageAt(0) + tr::kEffect, 0);
    SetWord(0, PartnerAt(0, 2), 176);
    SetWord(0, PageAt(1) + tr::kEffect, 0);
    SetWord(1, PageAt(0) + tr::kEffect, 0);
    std::vector<uint8_t> expected = rom;
    auto d = Open();
    Press(d.get(), S(u"OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    uint8_t* first = expected.data() + tr::kBase;
    tsumugi::Write16(first + PageAt(0) + tr::kType, kNone);
    tsumugi::Write16(first + PageAt(0) + tr::kEffect, kNone);
    tsumugi::Write16(first + PartnerAt(0, 2), kNone);
    EXPECT_TRUE(rom == expected);
}

TEST_F(TrustDlgTest, ChoosingAPilotRenamesTheListItemAtOnce) {
    auto d = Open();
    SelectRow(d.get(), 4);
    const uint16_t pilot = Word(4, tr::kPilot);
    const QString fifth = List(*d)->GetText(5);
    Choose(Pilot(*d), 100);
    EXPECT_EQ(List(*d)->GetText(4), PilotName(100));
    EXPECT_EQ(List(*d)->GetCurSel(), 4) << "the selection stays";
    EXPECT_EQ(List(*d)->GetCount(), tr::kCount);
    EXPECT_EQ(List(*d)->GetText(5), fifth);
    EXPECT_EQ(Word(4, tr::kPilot), pilot) << "the ROM is written at the next store";
    SelectRow(d.get(), 5);
    EXPECT_EQ(Word(4, tr::kPilot), 100);
    EXPECT_EQ(List(*d)->GetText(4), PilotName(100));
}

// Switching from "その２" to "その３" stores page 2 (and the pilot) before page 3 is
// shown; nothing else of the ROM changes.
TEST_F(TrustDlgTest, TabChangeStoresThePageShown) {
    const int row = 7;  // a record using all four pages
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    SelectRow(d.get(), row);
    Page(*d, 1);
    Type(*d)->SetCurSel(kTypes);
    Effect(*d)->SetCurSel(2);
    Partner(*d, 3)->SetCurSel(150);
    EXPECT_TRUE(rom == before) << "choosing stores nothing";
    Page(*d, 2);

    std::vector<uint8_t> expected = before;
    uint8_t* record = expected.data() + tr::kBase + tr::kSize * row;
    tsumugi::Write16(record + PageAt(1) + tr::kType, kNone);
    tsumugi::Write16(record + PageAt(1) + tr::kEffect, 2);
    tsumugi::Write16(record + PartnerAt(1, 3), 150);
    EXPECT_TRUE(rom == expected);
    EXPECT_EQ(Type(*d)->GetCurSel(), Word(row, PageAt(2) + tr::kType)) << "page 3 shown";
    EXPECT_EQ(Partner(*d, 0)->GetCurSel(), Word(row, PartnerAt(2, 0)));

    Page(*d, 1);
    EXPECT_EQ(Type(*d)->GetCurSel(), kTypes);
    EXPECT_EQ(Effect(*d)->GetCurSel(), 2);
    EXPECT_EQ(Partner(*d, 3)->GetCurSel(), 150);
}

// Moving to another record stores the pilot and the page shown, and shows the same page
// of the new record.
TEST_F(TrustDlgTest, RecordChangeStoresPilotAndPageAndKeepsTheTab) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    SelectRow(d.get(), 3);
    Page(*d, 2);
    Choose(Pilot(*d), 61);
    Effect(*d)->SetCurSel(1);
    Partner(*d, 1)->SetCurSel(9);
    SelectRow(d.get(), 11);

    std::vector<uint8_t> expected = before;
    uint8_t* record = expected.data() + tr::kBase + tr::kSize * 3;
    tsumugi::Write16(record + tr::kPilot, 61);
    tsumugi::Write16(record + PageAt(2) + tr::kEffect, 1);
    tsumugi::Write16(record + PartnerAt(2, 1), 9);
    EXPECT_TRUE(rom == expected);
    EXPECT_EQ(Tabs(*d)->GetCurSel(), 2);
    EXPECT_EQ(Pilot(*d)->GetCurSel(), Word(11, tr::kPilot));
    EXPECT_EQ(Effect(*d)->GetCurSel(), Word(11, PageAt(2) + tr::kEffect)) << "page 3 of the new record";
    EXPECT_EQ(List(*d)->GetText(3), PilotName(61));
}

TEST_F(TrustDlgTest, UnusedBytesSurviveEveryStore) {
    for (int i = 0; i < tr::kCount; ++i) SetWord(i, 2, static_cast<uint16_t>(0xC300 + i));
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    for (int i = 0; i < tr::kCount; ++i) {
        if (i > 0) SelectRow(d.get(), i);
        for (int p = 0; p < tr::kPageCount; ++p) {
            Page(*d, p);
            Partner(*d, 3)->SetCurSel(i);
        }
    }
    Press(d.get(), S(u"OK"));
    for (int i = 0; i < tr::kCount; ++i) {
        std::vector<uint8_t> expected = Record(before, i);
        for (int p = 0; p < tr::kPageCount; ++p) tsumugi::Write16(expected.data() + PartnerAt(p, 3), static_cast<uint16_t>(i));
        EXPECT_EQ(Record(i), expected) << i;
    }
}

TEST_F(TrustDlgTest, CancelLeavesTheRom) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Choose(Pilot(*d), 33);
    Effect(*d)->SetCurSel(0);
    Type(*d)->SetCurSel(1);
    Partner(*d, 2)->SetCurSel(kPilots);
    QTest::keyClick(List(*d), Qt::Key_Return);
    EXPECT_TRUE(d->isVisible()) << "Enter does nothing";
    Press(d.get(), S(u"ｷｬﾝｾﾙ"));
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_TRUE(rom == before);
}

TEST_F(TrustDlgTest, ControlsAreLabelledAndTabFollowsTheReadingOrder) {
    auto d = Open();
    ExpectLabelledControls(d.get());
    EXPECT_EQ(TabOrder(d.get()).join(QLatin1Char(' ')),
              S(u"信頼補正項目 パイロット ページ 補正タイプ 効果 一人目 二人目 三人目 四人目 OK ｷｬﾝｾﾙ"));
    EXPECT_EQ(Pilot(*d)->accessibleDescription(), S(u"パイロット"));
    EXPECT_EQ(Pilot(*d)->parentWidget()->accessibleName(), S(u"パイロット"));
    EXPECT_EQ(Type(*d)->accessibleDescription(), S(u"補正タイプ"));
}

class TrustEndToEndTest : public AbilityEndToEndTest {};

TEST_F(TrustEndToEndTest, EditReachesTheCodeFileAndTheRomOnDisk) {
    const std::vector<uint8_t> before = Demo().bytes;
    const std::string path = OwnRom(before);
    Load(path);
    std::vector<uint8_t> expected = before;
    uint8_t* record = expected.data() + tr::kBase + tr::kSize * 6;
    tsumugi::Write16(record + tr::kPilot, 12);
    tsumugi::Write16(record + PageAt(1) + tr::kType, 0);
    tsumugi::Write16(record + PartnerAt(1, 2), 99);
    tsumugi::Write16(record + PageAt(3) + tr::kEffect, 2);

    m_services.modal = [](QDialog* d) {
        d->show();
        SelectRow(d, 6);
        Choose(Find<ui::ComboBox>(d, Q(u"パイロット")), 12);
        EXPECT_TRUE(ClickTab(d, Q(u"その２")));
        Find<ui::ComboBox>(d, Q(u"補正タイプ"))->SetCurSel(0);
        Find<ui::ComboBox>(d, Q(u"三人目"))->SetCurSel(99);
        EXPECT_TRUE(ClickTab(d, Q(u"その４")));
        Find<ui::ComboBox>(d, Q(u"効果"))->SetCurSel(2);
        Press(d, Q(u"OK"));
        return d->result();
    };
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kTrust));
    ExpectSavedCodes(path, tsumugi::category::kTrust, before, expected);
}

TEST_F(TrustEndToEndTest, CancelAfterMovingOnUndoesTheStoredRecord) {
    LoadDemo();
    m_services.modal = [](QDialog* d) {
        d->show();
        Find<ui::ComboBox>(d, Q(u"一人目"))->SetCurSel(150);
        SelectRow(d, 1);  // stores record 0 into the ROM buffer
        Press(d, Q(u"ｷｬﾝｾﾙ"));
        return d->result();
    };
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kTrust));
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(Demo().bytes));
}

}  // namespace
