// The special-skill and the enhancement-part classification editors behave alike: every
// case runs on both. The record layouts are written out here as the game stores them, so
// that a wrong layout constant fails a test.
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <optional>

#include "core/bytes.h"
#include "core/regions.h"
#include "editor_fixture.h"
#include "editors/abilities/parts_class_dlg.h"
#include "editors/abilities/skill_class_dlg.h"
#include "main_dlg_fixture.h"
#include "ui/controls.h"

namespace {

using namespace testing_ui;
using tsumugi::Read16;
using tsumugi::Read32;

QString S(const char16_t* text) { return QString::fromUtf16(text); }

struct Editor {
    const char* name;
    std::unique_ptr<editors::CClassListDlg> (*open)(uint8_t*, uint32_t);
    int category;
    const char16_t* title;
    std::vector<const char16_t*> tabs;
    const char16_t* sourceLabel;
    // Records of a 32-bit count, 4 bytes never written, then capacity 16-bit slots.
    uint32_t base, size;
    int classes, capacity;
    int names;          // records the entries count in
    bool signedCount;
};

template <typename Dlg>
std::unique_ptr<editors::CClassListDlg> OpenAs(uint8_t* rom, uint32_t size) {
    return std::make_unique<Dlg>(rom, size);
}

const Editor kSkillClasses = {"Skills", &OpenAs<CSkillClassDlg>, tsumugi::category::kSkillClass,
                              u"特殊技能分類", {u"攻撃系", u"防御系", u"補助系", u"気力系", u"特殊系"},
                              u"データ一覧", 0xD5C60, 32, 5, 12, 36, true};
const Editor kPartClasses = {"Parts", &OpenAs<CPartsClassDlg>, tsumugi::category::kPartsClass,
                             u"強化パーツ分類", {u"機体", u"武器", u"消費", u"特殊"},
                             u"強化パーツ一覧", 0xC93E4, 64, 4, 28, 46, false};

void PrintTo(const Editor& e, std::ostream* os) { *os << e.name; }

std::string EditorName(const ::testing::TestParamInfo<Editor>& info) { return info.param.name; }

constexpr uint32_t kEntries = 8;
using Slots = std::vector<uint16_t>;

// Reads and writes the class records of the editor under test in rom.
struct Records {
    const Editor& e;
    uint8_t* rom;

    uint8_t* At(int c) const { return rom + e.base + e.size * static_cast<uint32_t>(c); }
    uint32_t Count(int c) const { return Read32(At(c)); }
    Slots AllSlots(int c) const {
        Slots all;
        for (int k = 0; k < e.capacity; ++k) all.push_back(Read16(At(c) + kEntries + 2 * k));
        return all;
    }
    Slots Entries(int c) const {
        Slots all = AllSlots(c);
        all.resize(std::min<size_t>(Count(c), all.size()));
        return all;
    }
    // Class c holds entries (count as given, or their number); every other slot is 0.
    void Put(int c, const Slots& entries, std::optional<uint32_t> count = std::nullopt) const {
        tsumugi::Write32(At(c), count.value_or(static_cast<uint32_t>(entries.size())));
        for (int k = 0; k < e.capacity; ++k) {
            const size_t i = static_cast<size_t>(k);
            tsumugi::Write16(At(c) + kEntries + 2 * k, i < entries.size() ? entries[i] : 0);
        }
    }
};

// Slots as the editor leaves them: entries, then 0 up to the capacity.
Slots Padded(Slots entries, int capacity) {
    entries.resize(static_cast<size_t>(capacity), 0);
    return entries;
}

ui::ListBox* EntryList(QWidget* d) { return d->findChild<ui::ListBox*>(QStringLiteral("entries")); }
ui::ListBox* SourceList(QWidget* d) { return d->findChild<ui::ListBox*>(QStringLiteral("source")); }

QStringList Items(ui::ListBox* list) {
    QStringList items;
    for (int i = 0; i < list->GetCount(); ++i) items << list->GetText(i);
    return items;
}

// The right list's names of numbers, as the left list should show them.
QStringList NamesOf(QWidget* d, const Slots& numbers) {
    QStringList names;
    for (uint16_t n : numbers) names << SourceList(d)->GetText(n);
    return names;
}

void DoubleClickRow(ui::ListBox* list, int row) {
    ClickRow(list, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualRect(list->Row(row)).center());
}

void ChooseTab(QWidget* d, int c) {
    QTabBar* bar = d->findChild<ui::TabCtrl*>()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(c).center());
}

class ClassDlgTest : public EditorFixture, public ::testing::WithParamInterface<Editor> {
protected:
    const Editor& E() const { return GetParam(); }
    Records R() { return {GetParam(), Rom()}; }
    std::unique_ptr<editors::CClassListDlg> Open() {
        auto d = E().open(Rom(), RomSize());
        d->show();
        return d;
    }
    // Every byte of the ROM outside class c's record equals before's.
    bool SameOutside(const std::vector<uint8_t>& before, int c) {
        const size_t start = R().At(c) - Rom();
        return std::equal(rom.begin(), rom.begin() + static_cast<long>(start), before.begin()) &&
               std::equal(rom.begin() + static_cast<long>(start + E().size), rom.end(),
                          before.begin() + static_cast<long>(start + E().size));
    }
    // Bytes 4-7 of every record.
    std::vector<uint8_t> Unshown() {
        std::vector<uint8_t> bytes;
        for (int c = 0; c < E().classes; ++c) bytes.insert(bytes.end(), R().At(c) + 4, R().At(c) + 8);
        return bytes;
    }
};

INSTANTIATE_TEST_SUITE_P(Classes, ClassDlgTest, ::testing::Values(kSkillClasses, kPartClasses), EditorName);

TEST_P(ClassDlgTest, OpenBrowseAndOkChangeNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), S(E().title));
    auto* tabs = d->findChild<ui::TabCtrl*>();
    ASSERT_EQ(tabs->count(), E().classes);
    for (int c = 0; c < E().classes; ++c) EXPECT_EQ(tabs->tabText(c), S(E().tabs[static_cast<size_t>(c)]));
    EXPECT_EQ(tabs->GetCurSel(), 0);
    EXPECT_EQ(SourceList(d.get())->GetCount(), E().names);
    EXPECT_EQ(SourceList(d.get())->GetCurSel(), -1);
    for (int n : {0, E().names - 1}) {
        EXPECT_FALSE(SourceList(d.get())->GetText(n).isEmpty());
        EXPECT_NE(SourceList(d.get())->GetText(n), QStringLiteral("Error")) << n;
    }
    for (int c = E().classes - 1; c >= 0; --c) {
        ChooseTab(d.get(), c);
        EXPECT_EQ(Items(EntryList(d.get())), NamesOf(d.get(), R().Entries(c))) << "class " << c;
        EXPECT_EQ(EntryList(d.get())->GetCurSel(), -1);
    }
    Press(d.get(), QStringLiteral("OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

TEST_P(ClassDlgTest, ControlsAreLabelledAndTabFollowsTheReadingOrder) {
    auto d = Open();
    ExpectLabelledControls(d.get());
    EXPECT_EQ(TabOrder(d.get()).join(QLatin1Char('|')),
              S(u"分類|データ一覧|<< 追加|削除|ひとつ上へ|ひとつ下へ|") + S(E().sourceLabel) + S(u"|OK|ｷｬﾝｾﾙ"));
}

TEST_P(ClassDlgTest, EntryNumbersPastTheNameTableShowTheGetterFailure) {
    R().Put(0, {1, static_cast<uint16_t>(E().names), 0xFFFF});
    auto d = Open();
    EXPECT_EQ(Items(EntryList(d.get())),
              QStringList({SourceList(d.get())->GetText(1), QStringLiteral("Error"), QStringLiteral("Error")}));
}

// Adding by the button and by a double click; a number another class holds is welcome.
TEST_P(ClassDlgTest, AddAppendsTheChosenRecordAndSelectsIt) {
    R().Put(1, {4, 2});
    R().Put(0, {6});
    const std::vector<uint8_t> before = rom;
    const std::vector<uint8_t> unshown = Unshown();
    auto d = Open();
    ChooseTab(d.get(), 1);
    ClickRow(SourceList(d.get()), 6);
    Press(d.get(), S(u"<< 追加"));
    DoubleClickRow(SourceList(d.get()), E().names - 1);
    const Slots expected = {4, 2, 6, static_cast<uint16_t>(E().names - 1)};
    EXPECT_EQ(R().Count(1), 4u);
    EXPECT_EQ(R().AllSlots(1), Padded(expected, E().capacity));
    EXPECT_EQ(Items(EntryList(d.get())), NamesOf(d.get(), expected));
    EXPECT_EQ(EntryList(d.get())->GetCurSel(), 3);
    EXPECT_EQ(SourceList(d.get())->GetCurSel(), E().names - 1);
    EXPECT_EQ(Unshown(), unshown);
    EXPECT_TRUE(SameOutside(before, 1));
    EXPECT_TRUE(services.shown.empty());
}

// The last slot fills; past it every add is refused with the message, also that of a
// number the class already holds.
TEST_P(ClassDlgTest, TheLastSlotFillsAndTheNextAddIsRefusedEvenForAnEntryAlreadyThere) {
    Slots entries;
    for (int k = 0; k + 1 < E().capacity; ++k) entries.push_back(static_cast<uint16_t>(k + 1));
    R().Put(0, entries);
    auto d = Open();
    ClickRow(SourceList(d.get()), 0);
    Press(d.get(), S(u"<< 追加"));
    EXPECT_EQ(R().Count(0), static_cast<uint32_t>(E().capacity));
    EXPECT_EQ(R().AllSlots(0).back(), 0) << "the last slot holds the number 0";
    EXPECT_TRUE(services.shown.empty());

    const std::vector<uint8_t> full = rom;
    for (int number : {E().names - 1, 0, 5}) {
        ClickRow(SourceList(d.get()), number);
        Press(d.get(), S(u"<< 追加"));
    }
    EXPECT_EQ(services.Texts(), std::vector<QString>(3, S(u"これ以上追加できません。")));
    EXPECT_TRUE(rom == full);
    EXPECT_EQ(EntryList(d.get())->GetCount(), E().capacity);
}

struct DeleteCase {
    const char* what;
    Slots entries;
    int selected;
    Slots left;
    int selection;
};

TEST_P(ClassDlgTest, DeleteMovesTheLaterEntriesUpAndZerosTheFreedSlot) {
    const DeleteCase cases[] = {
        {"the middle of three", {5, 7, 9}, 1, {5, 9}, 1},
        {"the last of three", {5, 7, 9}, 2, {5, 7}, 1},
        {"the first of three", {5, 7, 9}, 0, {7, 9}, 0},
        {"the only one", {5}, 0, {}, -1},
        {"nothing selected", {5, 7}, -1, {5, 7}, -1},
    };
    const std::vector<uint8_t> demo = rom;
    for (const DeleteCase& t : cases) {
        SCOPED_TRACE(t.what);
        rom = demo;
        R().Put(3, t.entries);
        const std::vector<uint8_t> before = rom;
        const std::vector<uint8_t> unshown = Unshown();
        auto d = Open();
        ChooseTab(d.get(), 3);
        if (t.selected >= 0) ClickRow(EntryList(d.get()), t.selected);
        Press(d.get(), S(u"削除"));
        EXPECT_EQ(R().Count(3), t.left.size());
        EXPECT_EQ(R().AllSlots(3), Padded(t.left, E().capacity));
        EXPECT_EQ(Items(EntryList(d.get())), NamesOf(d.get(), t.left));
        EXPECT_EQ(EntryList(d.get())->GetCurSel(), t.selection);
        EXPECT_EQ(Unshown(), unshown);
        EXPECT_TRUE(SameOutside(before, 3));
    }
}

struct MoveCase {
    const char* what;
    const char16_t* button;
    int selected;
    Slots after;
    int selection;
    int source = -1;  // the row chosen in the right list
};

// Moves, and the buttons that do nothing without a message.
TEST_P(ClassDlgTest, MovesSwapNeighboursAndStopAtTheEnds) {
    const MoveCase cases[] = {
        {"up from the middle", u"ひとつ上へ", 1, {7, 5, 9}, 0},
        {"down from the middle", u"ひとつ下へ", 1, {5, 9, 7}, 2},
        {"up from the last", u"ひとつ上へ", 2, {5, 9, 7}, 1},
        {"down from the first", u"ひとつ下へ", 0, {7, 5, 9}, 1},
        {"up at the top", u"ひとつ上へ", 0, {5, 7, 9}, 0},
        {"down at the bottom", u"ひとつ下へ", 2, {5, 7, 9}, 2},
        {"up with nothing selected", u"ひとつ上へ", -1, {5, 7, 9}, -1},
        {"down with nothing selected", u"ひとつ下へ", -1, {5, 7, 9}, -1},
        {"add with nothing chosen", u"<< 追加", -1, {5, 7, 9}, -1},
        {"add of an entry already there", u"<< 追加", 0, {5, 7, 9}, 0, 9},
    };
    const std::vector<uint8_t> demo = rom;
    for (const MoveCase& t : cases) {
        SCOPED_TRACE(t.what);
        rom = demo;
        R().Put(0, {5, 7, 9});
        const std::vector<uint8_t> before = rom;
        auto d = Open();
        if (t.selected >= 0) ClickRow(EntryList(d.get()), t.selected);
        if (t.source >= 0) ClickRow(SourceList(d.get()), t.source);
        Press(d.get(), S(t.button));
        EXPECT_EQ(R().Count(0), 3u);
        EXPECT_EQ(R().AllSlots(0), Padded(t.after, E().capacity));
        EXPECT_EQ(Items(EntryList(d.get())), NamesOf(d.get(), t.after));
        EXPECT_EQ(EntryList(d.get())->GetCurSel(), t.selection);
        EXPECT_TRUE(SameOutside(before, 0));
        EXPECT_TRUE(services.shown.empty());
    }
}

// A count the game never holds: the editor shows at most the slots of the record (none
// for a negative count) and no add, delete or move touches a byte outside the record.
// Each write of the count brings it back to what the list shows.
TEST_P(ClassDlgTest, CountsOutsideTheRangeNeverReachPastTheRecord) {
    const std::vector<uint8_t> demo = rom;
    for (const uint32_t count : {0xFFFFFFFFu, 0x80000000u, static_cast<uint32_t>(E().capacity + 1), 200u}) {
        SCOPED_TRACE(count);
        rom = demo;
        services.shown.clear();
        Slots every;
        for (int k = 0; k < E().capacity; ++k) every.push_back(static_cast<uint16_t>(E().names - 1 - k));
        R().Put(1, every, count);
        const std::vector<uint8_t> before = rom;
        const std::vector<uint8_t> unshown = Unshown();
        const bool negative = E().signedCount && count >= 0x80000000u;
        const int shown = negative ? 0 : E().capacity;

        auto d = Open();
        ChooseTab(d.get(), 1);
        Slots visible(every.begin(), every.begin() + shown);
        EXPECT_EQ(Items(EntryList(d.get())), NamesOf(d.get(), visible));

        ClickRow(SourceList(d.get()), 0);
        Press(d.get(), S(u"<< 追加"));
        if (negative) {
            EXPECT_TRUE(services.shown.empty());
            EXPECT_EQ(R().Count(1), 1u);
            Slots slotsAfter = every;
            slotsAfter[0] = 0;
            EXPECT_EQ(R().AllSlots(1), slotsAfter) << "only the first slot is written";
        } else {
            EXPECT_EQ(services.Texts(), std::vector<QString>{S(u"これ以上追加できません。")});
            EXPECT_TRUE(rom == before);
            ClickRow(EntryList(d.get()), shown - 1);
            Press(d.get(), S(u"ひとつ下へ"));
            EXPECT_TRUE(rom == before);
            Press(d.get(), S(u"ひとつ上へ"));
            std::swap(visible[static_cast<size_t>(shown - 1)], visible[static_cast<size_t>(shown - 2)]);
            EXPECT_EQ(R().Entries(1), visible);
            Press(d.get(), S(u"削除"));
            visible.erase(visible.begin() + shown - 2);
            EXPECT_EQ(R().Count(1), static_cast<uint32_t>(shown - 1));
            EXPECT_EQ(R().AllSlots(1), Padded(visible, E().capacity));
            EXPECT_EQ(Items(EntryList(d.get())), NamesOf(d.get(), visible));
        }
        EXPECT_EQ(Unshown(), unshown);
        EXPECT_TRUE(SameOutside(before, 1));
    }
}

TEST_P(ClassDlgTest, ARecordPastTheEndOfTheImageShowsNothingAndTakesNothing) {
    rom.resize(E().base + E().size * 2 + 4);  // classes 0 and 1 only, and 4 bytes of class 2
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    ChooseTab(d.get(), 2);
    EXPECT_EQ(EntryList(d.get())->GetCount(), 0);
    ClickRow(SourceList(d.get()), 0);
    Press(d.get(), S(u"<< 追加"));
    EXPECT_EQ(EntryList(d.get())->GetCount(), 0);
    EXPECT_TRUE(rom == before);
    ChooseTab(d.get(), 1);
    EXPECT_EQ(Items(EntryList(d.get())), NamesOf(d.get(), R().Entries(1)));
}

// ---- from the main window ----

class ClassDlgMainTest : public MainDlgTest, public ::testing::WithParamInterface<Editor> {};

INSTANTIATE_TEST_SUITE_P(Classes, ClassDlgMainTest, ::testing::Values(kSkillClasses, kPartClasses),
                         EditorName);

// Drives the real editor: adds number to class 1, then presses button.
std::function<int(QDialog*)> AddAndPress(int number, const char16_t* button) {
    return [number, button](QDialog* d) {
        d->show();
        ChooseTab(d, 1);
        DoubleClickRow(SourceList(d), number);
        ClickRow(EntryList(d), 0);
        Press(d, S(u"ひとつ下へ"));
        Press(d, S(button));
        EXPECT_FALSE(d->isVisible());
        return d->result();
    };
}

TEST_P(ClassDlgMainTest, AnAddReachesTheCodeFileAndTheRomOnDisk) {
    const Editor& e = GetParam();
    std::vector<uint8_t> expected = Demo().bytes;
    const std::string rom = OwnRom(expected);
    Load(rom);
    const Records r{e, expected.data()};
    const Slots entries = r.Entries(1);
    const uint16_t added = static_cast<uint16_t>(e.names - 1);
    ASSERT_GE(entries.size(), 2u);
    ASSERT_EQ(std::count(entries.begin(), entries.end(), added), 0) << "the demo leaves it out of class 1";
    const uint32_t record = e.base + e.size;
    const uint32_t n = static_cast<uint32_t>(entries.size());

    m_services.modal = AddAndPress(added, u"OK");
    ASSERT_TRUE(m_dlg.EditCategory(e.category));
    // The count grows by one, the first two entries change places and the new one joins
    // at the end: four 16-bit words change.
    tsumugi::Write32(expected.data() + record, n + 1);
    tsumugi::Write16(expected.data() + record + kEntries, entries[1]);
    tsumugi::Write16(expected.data() + record + kEntries + 2, entries[0]);
    tsumugi::Write16(expected.data() + record + kEntries + 2 * n, added);
    ASSERT_TRUE(RomEquals(expected));
    EXPECT_EQ(m_dlg.m_codes.Size(), 4u);
    QString text;
    for (const uint32_t at : {record, record + kEntries, record + kEntries + 2, record + kEntries + 2 * n}) {
        text += QString::asprintf("%08X:%04X\r\n", at + 0x08000000u, Read16(expected.data() + at));
    }

    const std::string codeFile = m_files.File("codes.txt");
    m_services.files = {QString::fromStdString(codeFile)};
    Click(u"保存");
    EXPECT_EQ(QString::fromStdString(tsumugi::testing::ReadText(codeFile)), text);

    m_services.answers = {ui::MsgResult::Yes};
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), Q(u"書き換えに成功しました。"));
    EXPECT_TRUE(tsumugi::testing::ReadBytes(rom) == expected) << "only the coded words change on disk";
}

TEST_P(ClassDlgMainTest, CancelUndoesEveryAddAndMove) {
    LoadDemo();
    m_services.modal = AddAndPress(GetParam().names - 1, u"ｷｬﾝｾﾙ");
    ASSERT_TRUE(m_dlg.EditCategory(GetParam().category));
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(Demo().bytes));
}

}  // namespace
