#include <QTest>

#include "ability_dlg_support.h"
#include "core/layout/abilities.h"
#include "core/layout/descriptor.h"
#include "core/regions.h"
#include "demo/data.h"
#include "editor_fixture.h"
#include "editors/abilities/skill_dlg.h"
#include "ui/controls.h"
#include "ui/number.h"
#include "ui/text.h"

namespace {

using namespace testing_ui;
namespace sk = tsumugi::layout::skill_record;
namespace skill_types = tsumugi::layout::skill_type_names;
namespace layout = tsumugi::layout;

QString S(const char16_t* text) { return QString::fromUtf16(text); }

constexpr uint32_t kUnshown[] = {3, sk::kSize - 2, sk::kSize - 1};

uint32_t PageAt(int page) { return sk::kPages + sk::kPageLength * static_cast<uint32_t>(page); }

class SkillDlgTest : public EditorFixture {
protected:
    uint8_t* Skill(int i) { return Rom() + sk::kBase + sk::kSize * i; }
    std::vector<uint8_t> Record(int i) { return Bytes(Skill(i), sk::kSize); }
    std::vector<uint8_t> PageBytes(int i, int page) { return Bytes(Skill(i) + PageAt(page), sk::kPageLength); }

    std::unique_ptr<CSkillDlg> Open() {
        auto dlg = std::make_unique<CSkillDlg>(Rom(), RomSize());
        dlg->show();
        return dlg;
    }
    static ui::ListBox* List(CSkillDlg& d) { return d.findChild<ui::ListBox*>(); }
    static ui::TabCtrl* Tabs(CSkillDlg& d) { return d.findChild<ui::TabCtrl*>(); }
    static ui::Edit* Edit(CSkillDlg& d, const char16_t* label) { return Find<ui::Edit>(&d, S(label)); }
    static ui::MultiEdit* Description(CSkillDlg& d) { return Find<ui::MultiEdit>(&d, S(u"説明")); }
    static ui::ComboBox* Type(CSkillDlg& d) { return Find<ui::ComboBox>(&d, S(u"技能種類")); }
    static void Page(CSkillDlg& d, int page) {
        const QString titles[] = {S(u"その１"), S(u"その２"), S(u"その３")};
        EXPECT_TRUE(ClickTab(&d, titles[page]));
    }
};

TEST_F(SkillDlgTest, OpenBrowseAndOkChangeNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), S(u"特殊技能"));
    ASSERT_EQ(List(*d)->GetCount(), sk::kCount);
    for (int i : {0, 17, sk::kCount - 1}) {
        EXPECT_EQ(List(*d)->GetText(i), ui::FromCp932(tsumugi::demo::detail::SkillName(i))) << i;
    }
    ASSERT_EQ(Type(*d)->GetCount(), skill_types::kCount);
    for (int t = 0; t < skill_types::kCount; ++t) {
        EXPECT_EQ(Type(*d)->GetLBText(t), ui::FromCp932(tsumugi::demo::detail::SkillTypeName(t))) << t;
    }
    EXPECT_EQ(Tabs(*d)->GetCurSel(), 0);
    EXPECT_LE(d->sizeHint().width(), 1280);
    EXPECT_LE(d->sizeHint().height(), 760);
    for (int i = 1; i < sk::kCount; ++i) {
        SelectRow(d.get(), i);
        Page(*d, i % sk::kPageCount);
    }
    SelectRow(d.get(), 0);
    Page(*d, 0);
    Press(d.get(), S(u"OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

TEST_F(SkillDlgTest, StoresEveryFieldAtItsOffsetAndNoOtherByte) {
    const layout::Table* table = layout::FindTable("skills");
    ASSERT_NE(table, nullptr);
    const int row = 5;
    for (uint32_t off : kUnshown) Skill(row)[off] = static_cast<uint8_t>(0x5A + off);
    std::vector<uint8_t> expected = Record(row);
    auto d = Open();
    SelectRow(d.get(), row);
    const std::map<QString, QString> texts = {
        {S(u"名前"), S(u"見切り")},
        {S(u"その１ 説明"), S(u"回避率が上がる。")},
        {S(u"その２ 説明"), S(u"気力が\r\n１３０以上で発動。")},
        {S(u"その３ 説明"), S(u"養成で習得できる。")},
    };
    TypeEveryField(d.get(), *table, texts, expected);
    SelectRow(d.get(), row + 1);

    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(Record(row), expected);
    EXPECT_EQ(List(*d)->GetText(row), S(u"見切り"));
    SelectRow(d.get(), row);
    EXPECT_EQ(Tabs(*d)->GetCurSel(), 2);
    EXPECT_EQ(Description(*d)->GetText(), S(u"養成で習得できる。"));
    EXPECT_EQ(Edit(*d, u"LV9")->GetText(), QStringLiteral("247"));
}

TEST_F(SkillDlgTest, EditedPageIsStoredWhenTheTabChangesAndShowsAgain) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Page(*d, 1);
    Description(*d)->SetText(S(u"レベル２の説明"));
    EXPECT_TRUE(rom == before) << "typing stores nothing";
    Page(*d, 2);
    EXPECT_EQ(PageBytes(0, 1), FieldBytes(S(u"レベル２の説明"), sk::kPageLength));
    EXPECT_EQ(Description(*d)->GetText(), QString()) << "page 3 of skill 0 is empty";
    Page(*d, 1);
    EXPECT_EQ(Description(*d)->GetText(), S(u"レベル２の説明"));
    std::vector<uint8_t> expected = before;
    const std::vector<uint8_t> page = FieldBytes(S(u"レベル２の説明"), sk::kPageLength);
    std::copy(page.begin(), page.end(), expected.begin() + sk::kBase + PageAt(1));
    EXPECT_TRUE(rom == expected) << "only page 2 of skill 0 changes";
}

TEST_F(SkillDlgTest, ChangingTheRecordKeepsThePageTab) {
    auto d = Open();
    Page(*d, 2);
    SelectRow(d.get(), 3);
    EXPECT_EQ(Tabs(*d)->GetCurSel(), 2);
    EXPECT_EQ(Description(*d)->GetText(), S(u"養成では習得できない。"));
    SelectRow(d.get(), 4);
    EXPECT_EQ(Tabs(*d)->GetCurSel(), 2);
    EXPECT_EQ(Description(*d)->GetText(), QString());
}

TEST_F(SkillDlgTest, PageThatCannotConvertKeepsItsTabAndItsBytes) {
    const std::vector<uint8_t> before = rom;
    const QString message = S(u"説明文の変換に失敗しました。\n位置：4byte\n文字：鬱");
    auto d = Open();
    SelectRow(d.get(), 2);
    Page(*d, 1);
    Description(*d)->SetText(S(u"説明鬱"));
    Page(*d, 2);
    EXPECT_EQ(services.Texts(), std::vector<QString>{message});
    EXPECT_EQ(Tabs(*d)->GetCurSel(), 1) << "the tab goes back";
    EXPECT_EQ(Description(*d)->GetText(), S(u"説明鬱")) << "the input stays";
    SelectRow(d.get(), 3);
    EXPECT_EQ(services.Texts(), std::vector<QString>(2, message));
    EXPECT_EQ(List(*d)->GetCurSel(), 2);
    EXPECT_EQ(PageBytes(2, 1), Bytes(before.data() + sk::kBase + sk::kSize * 2 + PageAt(1), sk::kPageLength));

    Description(*d)->SetText(S(u"説明"));
    Page(*d, 0);
    EXPECT_EQ(services.shown.size(), 2u);
    EXPECT_EQ(PageBytes(2, 1), FieldBytes(S(u"説明"), sk::kPageLength));
}

// OK stores the record shown. A bad number keeps the dialog open with only the two flags
// written; a text that cannot be converted shows its message and the dialog closes with
// OK, that text (and after the name, the page) keeping its old bytes.
TEST_F(SkillDlgTest, OkClosesAfterAFailedTextButNotAfterABadNumber) {
    enum class Fails { Number, Name, Page };
    struct Case {
        Fails fails;
        const char16_t* maxLevel;
        const char16_t* name;
        const char16_t* page;
        QString message;
    };
    const Case cases[] = {
        {Fails::Number, u"256", u"新技能", u"新しい説明", ui::RangeMessage(0, 255)},
        {Fails::Name, u"9", u"鬱", u"新しい説明", S(u"名前の変換に失敗しました。\n位置：0byte\n文字：鬱")},
        {Fails::Page, u"9", u"新技能", u"新しい鬱", S(u"説明文の変換に失敗しました。\n位置：6byte\n文字：鬱")},
    };
    const std::vector<uint8_t> demo = rom;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        rom = demo;
        services.shown.clear();
        const std::vector<uint8_t> before = Record(7);
        auto d = Open();
        SelectRow(d.get(), 7);
        auto* acquirable = Find<ui::CheckBox>(d.get(), S(u"取得可能"));
        auto* levels = Find<ui::CheckBox>(d.get(), S(u"レベルあり"));
        acquirable->SetCheck(!acquirable->GetCheck());
        levels->SetCheck(!levels->GetCheck());
        Type(*d)->SetCurSel(4);
        Edit(*d, u"最大レベル")->SetText(S(c.maxLevel));
        Edit(*d, u"LV1")->SetText(QStringLiteral("99"));
        Edit(*d, u"名前")->SetText(S(c.name));
        Description(*d)->SetText(S(c.page));
        Press(d.get(), S(u"OK"));

        EXPECT_EQ(services.Texts(), std::vector<QString>{c.message});
        EXPECT_EQ(d->isVisible(), c.fails == Fails::Number);
        std::vector<uint8_t> expected = before;
        expected[sk::kAcquirable] = acquirable->GetCheck() ? 1 : 0;
        expected[sk::kHasLevels] = levels->GetCheck() ? 1 : 0;
        if (c.fails != Fails::Number) {
            EXPECT_EQ(d->result(), QDialog::Accepted);
            expected[sk::kType] = 4;
            expected[sk::kMaxLevel] = 9;
            expected[sk::kPpCosts] = 99;
        }
        if (c.fails == Fails::Page) {
            const std::vector<uint8_t> name = FieldBytes(S(c.name), sk::kNameLength);
            std::copy(name.begin(), name.end(), expected.begin() + sk::kName);
        }
        EXPECT_EQ(Record(7), expected);
    }
}

TEST_F(SkillDlgTest, TypeOutsideTheListKeepsItsByte) {
    Skill(8)[sk::kType] = 5;
    Skill(8)[sk::kAcquirable] = 2;
    Skill(9)[sk::kType] = 0xFF;
    auto d = Open();
    for (int row : {8, 9}) {
        SelectRow(d.get(), row);
        EXPECT_EQ(Type(*d)->GetCurSel(), -1) << row;
    }
    EXPECT_TRUE(Find<ui::CheckBox>(d.get(), S(u"取得可能"))->GetCheck());
    SelectRow(d.get(), 8);
    Press(d.get(), S(u"OK"));
    EXPECT_EQ(Skill(8)[sk::kType], 5);
    EXPECT_EQ(Skill(9)[sk::kType], 0xFF);
    EXPECT_EQ(Skill(8)[sk::kAcquirable], 1) << "a ticked box is written as 1";
}

TEST_F(SkillDlgTest, NameAndPagesTheTableCannotDecodeAreLockedOnePageAtATime) {
    const uint8_t unlisted[] = {tsumugi::demo::detail::kUnlistedLead, tsumugi::demo::detail::kUnlistedTrail};
    std::copy(std::begin(unlisted), std::end(unlisted), Skill(6) + sk::kName);
    std::copy(std::begin(unlisted), std::end(unlisted), Skill(6) + PageAt(1));
    std::vector<uint8_t> expected = Record(6);
    expected[sk::kMaxLevel] = 3;
    auto d = Open();
    SelectRow(d.get(), 6);
    EXPECT_FALSE(Edit(*d, u"名前")->isEnabled());
    const bool enabled[sk::kPageCount] = {true, false, true};
    for (int page : {0, 1, 2, 1}) {
        Page(*d, page);
        EXPECT_EQ(Description(*d)->isEnabled(), enabled[page]) << page;
    }
    Edit(*d, u"最大レベル")->SetText(QStringLiteral("3"));
    Press(d.get(), S(u"OK"));
    EXPECT_TRUE(services.shown.empty());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(Record(6), expected);
}

TEST_F(SkillDlgTest, UnchangedTextsKeepWhatFollowsTheirTerminator) {
    for (const auto& [field, length] : {std::pair{sk::kName, sk::kNameLength}, std::pair{PageAt(0), sk::kPageLength}}) {
        uint8_t* p = Skill(0) + field;
        uint8_t* end = std::find(p, p + length, 0xFF);
        ASSERT_LT(end + 1, p + length);
        std::fill(end + 1, p + length, 0x44);
    }
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Press(d.get(), S(u"OK"));
    EXPECT_TRUE(rom == before);
}

TEST_F(SkillDlgTest, CancelLeavesTheRom) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Edit(*d, u"最大レベル")->SetText(QStringLiteral("1"));
    Description(*d)->SetText(S(u"新しい説明"));
    QTest::keyClick(Edit(*d, u"最大レベル"), Qt::Key_Return);
    EXPECT_TRUE(d->isVisible()) << "Enter does nothing";
    Press(d.get(), S(u"ｷｬﾝｾﾙ"));
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_TRUE(rom == before);
}

TEST_F(SkillDlgTest, ControlsAreLabelledAndTabFollowsTheReadingOrder) {
    auto d = Open();
    ExpectLabelledControls(d.get());
    EXPECT_EQ(TabOrder(d.get()).join(QLatin1Char(' ')),
              S(u"特殊技能 名前 技能種類 取得可能 レベルあり 最大レベル LV1 LV2 LV3 LV4 LV5 LV6 LV7 "
                u"LV8 LV9 説明のページ 説明 OK ｷｬﾝｾﾙ"));
}

class SkillEndToEndTest : public AbilityEndToEndTest {};

TEST_F(SkillEndToEndTest, PageEditReachesTheCodeFileAndTheRomOnDisk) {
    const std::vector<uint8_t> before = Demo().bytes;
    const std::string path = OwnRom(before);
    Load(path);
    std::vector<uint8_t> expected = before;
    uint8_t* record = expected.data() + sk::kBase + sk::kSize * 2;
    record[sk::kPpCosts] = 15;
    const std::vector<uint8_t> page = FieldBytes(Q(u"二回行動が\r\n可能になる。"), sk::kPageLength);
    std::copy(page.begin(), page.end(), record + PageAt(1));

    m_services.modal = [](QDialog* d) {
        d->show();
        SelectRow(d, 2);
        Find<ui::Edit>(d, Q(u"LV1"))->SetText(QStringLiteral("15"));
        EXPECT_TRUE(ClickTab(d, Q(u"その２")));
        Find<ui::MultiEdit>(d, Q(u"説明"))->SetText(Q(u"二回行動が\n可能になる。"));
        Press(d, Q(u"OK"));
        return d->result();
    };
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kSkill));
    ExpectSavedCodes(path, tsumugi::category::kSkill, before, expected);
}

}  // namespace
