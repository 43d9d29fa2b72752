// The scenario data editor through the real dialog: the chapter list over the deployment
// and message pages, pointers that cannot be followed, data the editor may not write, and
// the road from the main window to the file on disk.
#include <QGroupBox>
#include <QTest>

#include "core/demo_image.h"
#include "core/bytes.h"
#include "core/layout/scenario.h"
#include "core/regions.h"
#include "demo/data.h"
#include "editor_fixture.h"
#include "editors/scenario/scenario_dlg.h"
#include "editors/scenario/scenario_message_page.h"
#include "editors/scenario/scenario_unit_page.h"
#include "main_dlg_fixture.h"
#include "ui/number.h"

namespace {

using namespace testing_ui;
using tsumugi::Read16;
using tsumugi::Read32;
namespace dr = tsumugi::layout::deploy_record;
namespace mr = tsumugi::layout::message_record;
namespace cpt = tsumugi::layout::chapter_pointer_table;
namespace demo = tsumugi::demo;

QString S(const char16_t* text) { return QString::fromUtf16(text); }

// The scenario editor's controls, found the way a user tells them apart.
struct ScenarioControls {
    QWidget* dlg;

    CScenarioUnitPage* UnitPage() const { return dlg->findChild<CScenarioUnitPage*>(); }
    CScenarioMessagePage* MessagePage() const { return dlg->findChild<CScenarioMessagePage*>(); }
    ui::ComboBox* Chapter() const { return Find<ui::ComboBox>(dlg, S(u"話")); }
    ui::ListBox* Deployments() const { return Find<ui::ListBox>(UnitPage(), S(u"配置")); }
    ui::ListBox* Messages() const { return Find<ui::ListBox>(MessagePage(), S(u"セリフ")); }
    ui::Edit* Note() const { return Find<ui::Edit>(UnitPage(), S(u"注意")); }
    ui::Edit* Number(const char16_t* label) const { return Find<ui::Edit>(UnitPage(), S(label)); }
    ui::ComboBox* Combo(const char16_t* label) const { return Find<ui::ComboBox>(UnitPage(), S(label)); }
    ui::ComboBox* Upgrade(const char16_t* label) const {
        return Find<ui::ComboBox>(Find<QGroupBox>(UnitPage(), S(u"改造段階")), S(label));
    }
    // "ユニット" names both the unit list and the unit upgrade list.
    ui::ComboBox* Unit() const {
        QGroupBox* upgrades = Find<QGroupBox>(UnitPage(), S(u"改造段階"));
        for (ui::ComboBox* c : UnitPage()->findChildren<ui::ComboBox*>())
            if (c->accessibleName() == S(u"ユニット") && !upgrades->isAncestorOf(c)) return c;
        ADD_FAILURE() << "no unit list";
        return nullptr;
    }
    ui::Button* ModeButton() const {
        for (ui::Button* b : UnitPage()->findChildren<ui::Button*>()) return b;
        return nullptr;
    }

    // The user's choices.
    void ChooseChapter(int n) const {
        Chapter()->setCurrentIndex(n);
        emit Chapter()->activated(n);
    }
    void ChooseDeployment(int k) const { Deployments()->setCurrentRow(k); }
    static void Choose(ui::ComboBox* combo, int item) {
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }
    void PressButton(const char16_t* label) const { Press(dlg, S(label)); }
};

class ScenarioDlgTest : public EditorFixture {
protected:
    static uint32_t Entry(int n) { return cpt::kBase + cpt::kEntrySize * static_cast<uint32_t>(n); }
    uint32_t DeployOffset(int n) { return Read32(Rom() + Entry(n) + cpt::kDeployList) - tsumugi::kBusBase; }
    uint32_t MessageOffset(int n) { return Read32(Rom() + Entry(n) + cpt::kMessageTable) - tsumugi::kBusBase; }
    uint8_t* Deploy(int n, int k) { return Rom() + DeployOffset(n) + dr::kSize * static_cast<uint32_t>(k); }
    void SetPointers(int n, uint32_t deploy, uint32_t messages) {
        tsumugi::Write32(Rom() + Entry(n) + cpt::kDeployList, deploy);
        tsumugi::Write32(Rom() + Entry(n) + cpt::kMessageTable, messages);
    }

    std::unique_ptr<CScenarioDlg> Open() {
        auto d = std::make_unique<CScenarioDlg>(Rom(), RomSize());
        d->show();
        return d;
    }
};

TEST_F(ScenarioDlgTest, OpenBrowseEveryChapterAndOkChangeNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    const ScenarioControls c{d.get()};
    EXPECT_EQ(d->windowTitle(), S(u"シナリオデータ"));
    ASSERT_EQ(c.Chapter()->GetCount(), 81);
    EXPECT_EQ(c.Chapter()->GetCurSel(), 0);
    auto* tabs = d->findChild<ui::TabCtrl*>();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(0), S(u"マップデータ"));
    EXPECT_EQ(tabs->tabText(1), S(u"セリフ"));
    EXPECT_TRUE(c.UnitPage()->isVisible());
    EXPECT_FALSE(c.MessagePage()->isVisible());
    EXPECT_EQ(c.Combo(u"パイロット")->GetCount(), 177);
    EXPECT_EQ(c.Unit()->GetCount(), 151);
    EXPECT_EQ(c.Unit()->GetLBText(150), S(u"無し(0xFF)"));
    EXPECT_EQ(c.Upgrade(u"武器")->GetCount(), 11);
    ExpectLabelledControls(c.UnitPage());
    EXPECT_LE(d->sizeHint().width(), 1280);
    EXPECT_LE(d->sizeHint().height(), 760);

    for (int n = 0; n < 81; ++n) {
        c.ChooseChapter(n);
        const int deployments = n == demo::kNoDeployChapter ? 0 : demo::detail::DeployCount(n);
        ASSERT_EQ(c.Deployments()->GetCount(), deployments) << n;
        EXPECT_EQ(c.Messages()->GetCount(), demo::detail::MessageCount(n)) << n;
        EXPECT_EQ(c.Deployments()->GetCurSel(), deployments > 0 ? 0 : -1);
        for (int k = 1; k < deployments; ++k) c.ChooseDeployment(k);
        EXPECT_FALSE(c.Note()->isVisible()) << n;
    }
    c.PressButton(u"OK");
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

TEST_F(ScenarioDlgTest, ChapterChangeStoresBothPagesAndARefusedStoreGoesBack) {
    struct Case {
        const char* what;
        bool unitPageRefuses;
        QString message;
    };
    const Case cases[] = {
        {"deployment number", true, ui::RangeMessage(0, 255)},
        {"message number", false, ui::RangeMessage(0, 65535)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        rom = tsumugi::testing::DemoImage();
        services.shown.clear();
        const std::vector<uint8_t> before = rom;
        auto d = Open();
        const ScenarioControls c{d.get()};
        c.ChooseChapter(3);
        c.ChooseDeployment(1);
        if (k.unitPageRefuses) {
            c.Number(u"LV")->SetText(QStringLiteral("256"));
        } else {
            Find<ui::Edit>(c.MessagePage(), S(u"進行度？"))->SetText(QStringLiteral("70000"));
        }
        c.ChooseChapter(7);
        EXPECT_EQ(services.Texts(), std::vector<QString>{k.message});
        EXPECT_EQ(c.Chapter()->GetCurSel(), 3);
        EXPECT_EQ(c.Deployments()->GetCount(), demo::detail::DeployCount(3));
        EXPECT_EQ(c.Deployments()->GetCurSel(), 1);
        EXPECT_EQ(c.Messages()->GetCount(), demo::detail::MessageCount(3));
        EXPECT_EQ(c.UnitPage()->isVisible(), k.unitPageRefuses) << "the refusing page is shown";
        EXPECT_TRUE(rom == before);

        // Corrected, the chapter change writes both pages' records and moves on.
        c.Number(u"LV")->SetText(QStringLiteral("42"));
        Find<ui::Edit>(c.MessagePage(), S(u"進行度？"))->SetText(QStringLiteral("7"));
        c.ChooseChapter(7);
        EXPECT_EQ(c.Chapter()->GetCurSel(), 7);
        EXPECT_EQ(c.Deployments()->GetCount(), demo::detail::DeployCount(7));
        EXPECT_EQ(Deploy(3, 1)[dr::kLevel], 42);
        EXPECT_EQ(Read16(Rom() + MessageOffset(3) + mr::kProgress), 7);
        c.PressButton(u"ｷｬﾝｾﾙ");
        EXPECT_EQ(d->result(), QDialog::Rejected);
    }
}

TEST_F(ScenarioDlgTest, SwitchingTabsStoresNothingTheNumberIsCheckedOnOk) {
    auto d = Open();
    const ScenarioControls c{d.get()};
    c.Number(u"PP")->SetText(QStringLiteral("999"));
    d->findChild<ui::TabCtrl*>()->setCurrentIndex(1);
    d->findChild<ui::TabCtrl*>()->setCurrentIndex(0);
    EXPECT_TRUE(services.shown.empty());
    c.PressButton(u"OK");
    EXPECT_EQ(services.Texts(), std::vector<QString>{ui::RangeMessage(0, 255)});
    EXPECT_TRUE(d->isVisible());
}

TEST_F(ScenarioDlgTest, NullDeploymentPointerShowsAnEmptyListBesideTheMessages) {
    ASSERT_EQ(Read32(Rom() + Entry(demo::kNoDeployChapter)), 0u);
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    const ScenarioControls c{d.get()};
    c.ChooseChapter(demo::kNoDeployChapter);
    EXPECT_EQ(c.Deployments()->GetCount(), 0);
    EXPECT_FALSE(c.Note()->isVisible()) << "no data is not an error";
    EXPECT_FALSE(c.Number(u"LV")->isEnabled()) << "the last chapter's record is greyed";
    EXPECT_EQ(c.Messages()->GetCount(), demo::detail::MessageCount(demo::kNoDeployChapter));
    c.Number(u"LV")->SetText(QStringLiteral("300"));  // no record: nothing to check or write
    c.PressButton(u"OK");
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

TEST_F(ScenarioDlgTest, PointersThatCannotBeFollowedShowEmptyListsWithANote) {
    const uint32_t end = tsumugi::kBusBase + demo::kDemoRomSize;
    struct Case {
        const char* what;
        uint32_t deploy, messages;
        bool deployShown, messagesShown;
    };
    const Case cases[] = {
        {"deployments at 32 MiB", 0x0A000000, 0, false, true},
        {"deployments at the image's end", end, 0, false, true},
        {"a deployment record cut by the image's end", end - 19, 0, false, true},
        {"messages at 32 MiB", 0, 0x0A000000, true, false},
        {"messages past the image", 0, end + 12, true, false},
        {"both", 0xFFFFFFFF, 0xFFFFFFFF, false, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        rom = tsumugi::testing::DemoImage();
        // Chapter 1 keeps its good pointers where the case leaves them alone.
        const uint32_t deploy = k.deploy != 0 ? k.deploy : Read32(Rom() + Entry(1));
        const uint32_t messages = k.messages != 0 ? k.messages : Read32(Rom() + Entry(1) + 4);
        SetPointers(1, deploy, messages);
        const std::vector<uint8_t> before = rom;
        auto d = Open();
        const ScenarioControls c{d.get()};
        ASSERT_GT(c.Messages()->GetCount(), 0);
        c.ChooseChapter(1);
        EXPECT_EQ(c.Chapter()->GetCurSel(), 1);
        EXPECT_EQ(c.Deployments()->GetCount(), k.deployShown ? demo::detail::DeployCount(1) : 0);
        EXPECT_EQ(c.Note()->isVisible(), !k.deployShown);
        if (!k.deployShown) {
            EXPECT_TRUE(c.Note()->GetText().contains(S(u"配置データ")));
        }
        // Never the previous chapter's messages beside this chapter's deployments.
        EXPECT_EQ(c.Messages()->GetCount(), k.messagesShown ? demo::detail::MessageCount(1) : 0);
        c.ChooseChapter(2);
        EXPECT_EQ(c.Deployments()->GetCount(), demo::detail::DeployCount(2));
        EXPECT_FALSE(c.Note()->isVisible());
        c.PressButton(u"OK");
        EXPECT_TRUE(services.shown.empty());
        EXPECT_TRUE(rom == before);
    }
}

TEST_F(ScenarioDlgTest, DeploymentListRunningIntoTheImageEndIsNotShown) {
    const uint32_t list = RomSize() - 3 * dr::kSize;  // three records and no terminator
    std::fill(Rom() + list, Rom() + RomSize(), 0x00);
    SetPointers(1, tsumugi::kBusBase + list, 0);
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    const ScenarioControls c{d.get()};
    c.ChooseChapter(1);
    EXPECT_EQ(c.Deployments()->GetCount(), 0);
    EXPECT_TRUE(c.Note()->isVisible());
    c.PressButton(u"OK");
    EXPECT_TRUE(rom == before);
}

TEST_F(ScenarioDlgTest, AThousandDeploymentsAreListedAndTheNextRecordIsNeverTouched) {
    const uint32_t list = demo::kExtendedStart + 0x4000;
    for (uint32_t k = 0; k <= 1000; ++k) {  // 1001 records, none a terminator
        uint8_t* r = Rom() + list + dr::kSize * k;
        std::fill(r, r + dr::kSize, 0x00);
        tsumugi::Write16(r + dr::kUnit, static_cast<uint16_t>(k % 150));
        tsumugi::Write16(r + dr::kPilot, static_cast<uint16_t>(k % 176));
        tsumugi::Write16(r + dr::kDrop, 0xFFFF);
    }
    SetPointers(1, tsumugi::kBusBase + list, 0);
    std::vector<uint8_t> expected = rom;
    expected[list + dr::kSize * 999 + dr::kLevel] = 9;
    auto d = Open();
    const ScenarioControls c{d.get()};
    c.ChooseChapter(1);
    ASSERT_EQ(c.Deployments()->GetCount(), 1000);
    EXPECT_FALSE(c.Note()->isVisible());
    c.ChooseDeployment(999);
    c.Number(u"LV")->SetText(QStringLiteral("9"));
    c.PressButton(u"OK");
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == expected);
}

TEST_F(ScenarioDlgTest, OutOfListValuesShowNoSelectionAndSurviveAStore) {
    uint8_t* r0 = Deploy(0, 0);
    r0[dr::kSide] = 7;
    r0[dr::kUnitUpgrade] = 11;
    r0[dr::kWeaponUpgrade] = 200;
    tsumugi::Write16(r0 + dr::kPilot, 300);
    tsumugi::Write16(r0 + dr::kDrop, 0x5123);  // kind 5
    tsumugi::Write16(Deploy(0, 1) + dr::kDrop, 0x0005);  // kind 0, yet not "none"
    tsumugi::Write16(Deploy(0, 2) + dr::kDrop, 0x1000 | 100);  // part 100: past the parts
    std::vector<uint8_t> expected = rom;
    for (int k = 0; k < 3; ++k) expected[DeployOffset(0) + dr::kSize * k + dr::kLevel] = static_cast<uint8_t>(50 + k);

    auto d = Open();
    const ScenarioControls c{d.get()};
    EXPECT_EQ(c.Combo(u"陣営")->GetCurSel(), -1);
    EXPECT_EQ(c.Upgrade(u"ユニット")->GetCurSel(), -1);
    EXPECT_EQ(c.Upgrade(u"武器")->GetCurSel(), -1);
    EXPECT_EQ(c.Combo(u"パイロット")->GetCurSel(), -1);
    EXPECT_EQ(c.Combo(u"種類")->GetCurSel(), -1);
    EXPECT_FALSE(c.Combo(u"アイテム")->isEnabled());
    c.Number(u"LV")->SetText(QStringLiteral("50"));
    c.ChooseDeployment(1);
    EXPECT_EQ(c.Combo(u"種類")->GetCurSel(), -1);
    c.Number(u"LV")->SetText(QStringLiteral("51"));
    c.ChooseDeployment(2);
    EXPECT_EQ(c.Combo(u"種類")->GetCurSel(), 1);
    EXPECT_EQ(c.Combo(u"アイテム")->GetCount(), 46);
    EXPECT_EQ(c.Combo(u"アイテム")->GetCurSel(), -1);
    c.Number(u"LV")->SetText(QStringLiteral("52"));
    c.PressButton(u"OK");
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == expected);
}

TEST_F(ScenarioDlgTest, StoreWritesEveryFieldAtItsOffsetAfterCheckingAllNumbers) {
    auto d = Open();
    const ScenarioControls c{d.get()};
    c.ChooseDeployment(1);
    const std::vector<uint8_t> before = rom;
    struct Box {
        const char16_t* label;
        uint32_t offset;
        int value;
    };
    const Box boxes[] = {
        {u"フェーズ？", dr::kPhase, 200}, {u"LV", dr::kLevel, 99},     {u"撃墜数", dr::kKills, 12},
        {u"PP", dr::kPp, 34},            {u"X座標", dr::kX, 5},         {u"Y座標", dr::kY, 6},
        {u"空陸?", dr::kAirGround, 1},    {u"行動パターン？", dr::kAction, 7}, {u"??\?(2)", dr::kUnnamed2, 8},
        {u"??\?(3)", dr::kUnnamed3, 9},   {u"??\?(5)", dr::kUnnamed5, 255},
    };
    for (const Box& b : boxes) c.Number(b.label)->SetText(QString::number(b.value));
    c.Combo(u"陣営")->SetCurSel(3);
    c.Unit()->SetCurSel(149);
    c.Combo(u"パイロット")->SetCurSel(176);  // 無し(0xFF)
    c.Upgrade(u"ユニット")->SetCurSel(10);
    c.Upgrade(u"武器")->SetCurSel(9);
    ScenarioControls::Choose(c.Combo(u"種類"), 2);
    EXPECT_TRUE(c.Combo(u"アイテム")->isEnabled());
    ASSERT_EQ(c.Combo(u"アイテム")->GetCount(), 740);
    EXPECT_EQ(c.Combo(u"アイテム")->GetCurSel(), 0);
    c.Combo(u"アイテム")->SetCurSel(739);

    // One bad box, whichever it is, keeps every byte of the record.
    c.Number(u"??\?(5)")->SetText(QStringLiteral("256"));
    c.ChooseDeployment(2);
    EXPECT_EQ(services.Texts(), std::vector<QString>{ui::RangeMessage(0, 255)});
    EXPECT_EQ(c.Deployments()->GetCurSel(), 1);
    EXPECT_TRUE(rom == before);

    c.Number(u"??\?(5)")->SetText(QStringLiteral("255"));
    c.ChooseDeployment(2);
    const uint8_t* r = Deploy(0, 1);
    for (const Box& b : boxes) EXPECT_EQ(r[b.offset], b.value) << QString::fromUtf16(b.label).toStdString();
    EXPECT_EQ(r[dr::kSide], 3);
    EXPECT_EQ(Read16(r + dr::kUnit), 149);
    EXPECT_EQ(Read16(r + dr::kPilot), 0xFFFF);
    EXPECT_EQ(r[dr::kUnitUpgrade], 10);
    EXPECT_EQ(r[dr::kWeaponUpgrade], 9);
    EXPECT_EQ(Read16(r + dr::kDrop), 0x2000 | 739);
    EXPECT_EQ(c.Deployments()->GetText(1), c.Unit()->GetLBText(149)) << "unit mode: the item follows the unit";

    // "無し" stores 0xFFFF and leaves the item list disabled with its items.
    c.ChooseDeployment(1);
    ScenarioControls::Choose(c.Combo(u"種類"), 0);
    EXPECT_FALSE(c.Combo(u"アイテム")->isEnabled());
    EXPECT_EQ(c.Combo(u"アイテム")->GetCount(), 740);
    c.ChooseDeployment(0);
    EXPECT_EQ(Read16(r + dr::kDrop), 0xFFFF);
}

TEST_F(ScenarioDlgTest, ListModeShowsPilotsAndKeepsThePositionAndTheRecord) {
    tsumugi::Write16(Deploy(0, 1) + dr::kUnit, 200);  // ends the list in unit mode only
    tsumugi::Write16(Deploy(0, 2) + dr::kPilot, 0xFFFF);
    auto d = Open();
    const ScenarioControls c{d.get()};
    EXPECT_EQ(c.Deployments()->GetCount(), 1);
    EXPECT_EQ(c.ModeButton()->text(), S(u"ユニット"));
    c.ModeButton()->click();
    EXPECT_EQ(c.ModeButton()->text(), S(u"パイロット"));
    EXPECT_EQ(c.ModeButton()->accessibleName(), S(u"パイロット"));
    ASSERT_EQ(c.Deployments()->GetCount(), 3);
    EXPECT_EQ(c.Deployments()->GetText(2), S(u"無し(0xFFFF)"));
    EXPECT_EQ(c.Deployments()->GetCurSel(), 0);
    c.ChooseDeployment(2);
    const QString level = c.Number(u"LV")->GetText();

    // Pilot mode: a changed pilot renames the item, a changed unit does not.
    c.Combo(u"パイロット")->SetCurSel(176);
    c.ChooseDeployment(0);
    EXPECT_EQ(c.Deployments()->GetText(2), S(u"無し(0xFFFF)")) << "the value did not change";
    c.Combo(u"パイロット")->SetCurSel(176);
    c.Unit()->SetCurSel(3);
    const QString item0 = c.Deployments()->GetText(0);
    c.ChooseDeployment(2);
    EXPECT_EQ(c.Deployments()->GetText(0), S(u"無し(0xFF)"));
    EXPECT_NE(item0, S(u"無し(0xFF)"));
    EXPECT_EQ(Read16(Deploy(0, 0) + dr::kUnit), 3);

    // Back to unit mode: the shorter list has no row 2; the record shown stays.
    c.ModeButton()->click();
    EXPECT_EQ(c.Deployments()->GetCount(), 1);
    EXPECT_EQ(c.Deployments()->GetCurSel(), -1);
    EXPECT_EQ(c.Number(u"LV")->GetText(), level);
    c.Number(u"LV")->SetText(QStringLiteral("77"));
    c.PressButton(u"OK");
    EXPECT_EQ(Deploy(0, 2)[dr::kLevel], 77);
}

TEST_F(ScenarioDlgTest, DeploymentsOutsideTheScenarioDataAreShownReadOnly) {
    const uint32_t away = 0x800000;  // below 16 MiB, outside the scenario data
    ASSERT_FALSE(tsumugi::WritableFor(tsumugi::category::kScenario, away, 100, RomSize()));
    const int count = demo::detail::DeployCount(0);
    std::copy(Deploy(0, 0), Deploy(0, count + 1), Rom() + away);
    SetPointers(1, tsumugi::kBusBase + away, Read32(Rom() + Entry(1) + 4));
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    const ScenarioControls c{d.get()};
    c.ChooseChapter(1);
    EXPECT_EQ(c.Deployments()->GetCount(), count);
    EXPECT_TRUE(c.Note()->isVisible());
    EXPECT_FALSE(c.Number(u"LV")->isEnabled());
    EXPECT_FALSE(c.Unit()->isEnabled());
    EXPECT_TRUE(c.Deployments()->isEnabled()) << "the records can still be looked at";
    c.ChooseDeployment(1);
    c.Number(u"LV")->SetText(QStringLiteral("999"));  // neither checked nor written
    c.ChooseDeployment(2);
    c.ChooseChapter(0);
    EXPECT_FALSE(c.Note()->isVisible());
    EXPECT_TRUE(c.Number(u"LV")->isEnabled());
    c.PressButton(u"OK");
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

// ---- from the main window ----

class ScenarioRoadTest : public MainDlgTest {
protected:
    // Runs the real editor: sets LV of the first deployment of each chapter, then presses button.
    void EditLevels(std::vector<std::pair<int, int>> levels, const char16_t* button) {
        m_services.modal = [levels, button](QDialog* d) {
            d->show();
            const ScenarioControls c{d};
            for (const auto& [chapter, level] : levels) {
                c.ChooseChapter(chapter);
                c.Number(u"LV")->SetText(QString::number(level));
            }
            c.PressButton(button);
            EXPECT_FALSE(d->isVisible());
            return d->result();
        };
        ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kScenario));
    }
    uint32_t LevelOffset(int chapter) const {
        const uint8_t* image = Demo().bytes.data();
        const uint32_t entry = cpt::kBase + cpt::kEntrySize * static_cast<uint32_t>(chapter);
        return Read32(image + entry) - tsumugi::kBusBase + dr::kLevel;
    }
};

TEST_F(ScenarioRoadTest, CancelLeavesTheRomIdenticalAboveSixteenMebibytesToo) {
    LoadDemo();
    ASSERT_GE(LevelOffset(demo::kExtendedChapter), 0x1000000u);
    EditLevels({{0, 90}, {demo::kExtendedChapter, 91}}, u"ｷｬﾝｾﾙ");
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(Demo().bytes));
}

TEST_F(ScenarioRoadTest, EditsReachTheCodeFileAndTheRomOnDiskInPlace) {
    const std::vector<uint8_t> before = Demo().bytes;
    const std::string path = OwnRom(before);
    Load(path);
    const uint32_t low = LevelOffset(0), high = LevelOffset(demo::kExtendedChapter);
    EditLevels({{0, 90}, {demo::kExtendedChapter, 91}}, u"OK");
    std::vector<uint8_t> expected = before;
    expected[low] = 90;
    expected[high] = 91;
    ASSERT_EQ(m_dlg.m_codes.Size(), 2u);
    EXPECT_EQ(m_dlg.m_codes.Find(low & ~1u), Read16(expected.data() + (low & ~1u)));
    EXPECT_EQ(m_dlg.m_codes.Find(high & ~1u), Read16(expected.data() + (high & ~1u)));
    EXPECT_TRUE(RomEquals(expected));

    const std::string codeFile = m_files.File("scenario.txt");
    m_services.files = {QString::fromStdString(codeFile)};
    Click(u"保存");
    char line[2][32];
    std::snprintf(line[0], sizeof line[0], "%08X:%04X\r\n", tsumugi::kBusBase + (low & ~1u),
                  Read16(expected.data() + (low & ~1u)));
    std::snprintf(line[1], sizeof line[1], "%08X:%04X\r\n", tsumugi::kBusBase + (high & ~1u),
                  Read16(expected.data() + (high & ~1u)));
    EXPECT_EQ(tsumugi::testing::ReadText(codeFile), std::string(line[0]) + line[1]);

    m_services.answers = {ui::MsgResult::Yes};
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), Q(u"書き換えに成功しました。"));
    EXPECT_TRUE(tsumugi::testing::ReadBytes(path) == expected);
}

}  // namespace
