// The scenario editor's message page on its own, in a plain host window: the demo's tables
// store back unchanged, texts are rewritten in place within their room, and tables, texts
// and values the page cannot show or write safely are left exactly as they were.
#include <QHBoxLayout>
#include <QTest>
#include <memory>

#include "core/bytes.h"
#include "core/layout/scenario.h"
#include "demo/data.h"
#include "demo/rom.h"
#include "editor_fixture.h"
#include "editors/common/record_editor.h"
#include "editors/scenario/scenario_message_page.h"
#include "ui/controls.h"

namespace {

using namespace testing_ui;
namespace mr = tsumugi::layout::message_record;
namespace demo = tsumugi::demo::detail;

QString S(const char16_t* text) { return QString::fromUtf16(text); }

constexpr uint32_t kBus = 0x08000000;
// Hand-built tables go here, inside the scenario data area, their texts behind them.
constexpr uint32_t kTable = tsumugi::layout::scenario_area::kStart + 0x100000;
constexpr uint32_t kTexts = kTable + 0x1000;
// Places outside every region the scenario editor may write.
constexpr uint32_t kOutsideTable = 0x100000, kOutsideText = 0x200000;

struct Msg {
    uint16_t progress = 1;
    uint8_t window = 0, face = 0, expression = 0, kind = 0, b6 = 0, b7 = 0;
    uint32_t pointer = 0;  // bus address (or any value)
};

class ScenarioMessagePageTest : public EditorFixture {
protected:
    void Open() {
        host = std::make_unique<QWidget>();
        page = new CScenarioMessagePage(Rom(), RomSize(), host.get());
        (new QHBoxLayout(host.get()))->addWidget(page);
        host->resize(900, 520);
        host->show();
    }

    uint32_t ChapterTable(int n) {
        namespace cp = tsumugi::layout::chapter_pointer_table;
        return tsumugi::Read32(Rom() + cp::kBase + cp::kEntrySize * static_cast<uint32_t>(n) + cp::kMessageTable) - kBus;
    }
    void PutTable(uint32_t at, const std::vector<Msg>& messages, bool end = true) {
        for (size_t k = 0; k < messages.size(); ++k) {
            uint8_t* r = Rom() + at + mr::kSize * k;
            const Msg& m = messages[k];
            tsumugi::Write16(r + mr::kProgress, m.progress);
            r[mr::kWindow] = m.window;
            r[mr::kFace] = m.face;
            r[mr::kExpression] = m.expression;
            r[mr::kPositionKind] = m.kind;
            r[mr::kTarget] = m.b6;
            r[mr::kY] = m.b7;
            tsumugi::Write32(r + mr::kText, m.pointer);
        }
        if (end) std::fill_n(Rom() + at + mr::kSize * messages.size(), mr::kSize, 0xFF);
    }
    void PutText(uint32_t at, const QString& text) {
        const std::vector<uint8_t> bytes = GameText(text);
        std::copy(bytes.begin(), bytes.end(), Rom() + at);
    }
    const uint8_t* RecordBytes(uint32_t table, int k) { return Rom() + table + mr::kSize * static_cast<uint32_t>(k); }

    ui::ListBox* List() { return Find<ui::ListBox>(page, S(u"セリフ")); }
    ui::Edit* Edit(const char16_t* name) { return Find<ui::Edit>(page, S(name)); }
    ui::ComboBox* Combo(const char16_t* name) { return Find<ui::ComboBox>(page, S(name)); }
    ui::MultiEdit* Text() { return Find<ui::MultiEdit>(page, S(u"テキスト")); }
    QString Note() { return Edit(u"注意")->isVisible() ? Edit(u"注意")->GetText() : QString(); }
    // The user picks item i of a drop-down list.
    static void Choose(ui::ComboBox* combo, int i) {
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }

    std::unique_ptr<QWidget> host;
    CScenarioMessagePage* page = nullptr;
};

TEST_F(ScenarioMessagePageTest, DemoTablesListAndStoreBackUnchanged) {
    const std::vector<uint8_t> before = rom;
    Open();
    ExpectLabelledControls(page);
    EXPECT_EQ(TabOrder(page), (QStringList{S(u"セリフ"), S(u"進行度？"), S(u"ウィンドウの位置"), S(u"顔"), S(u"表情"),
                                          S(u"座標"), S(u"対象"), S(u"X"), S(u"Y"), S(u"テキスト"),
                                          S(u"限界文字数"), S(u"注意")}));
    EXPECT_EQ(Combo(u"顔")->GetCount(), 177);
    EXPECT_EQ(Combo(u"顔")->GetLBText(176), S(u"無し(0xFF)"));
    EXPECT_EQ(Combo(u"顔")->GetLBText(0x1A).left(4), S(u"1A: "));
    EXPECT_EQ(Combo(u"ウィンドウの位置")->GetCount(), 3);
    EXPECT_EQ(Combo(u"座標")->GetLBText(4), S(u"顔と同じ(0xFF)"));
    int shown = 0;
    for (int n = 0; n < tsumugi::layout::chapter_pointer_table::kCount; ++n) {
        const uint32_t table = ChapterTable(n);
        if (table == 0 || table >= RomSize()) continue;
        ASSERT_TRUE(page->SetChapter(table)) << n;
        ASSERT_EQ(List()->GetCount(), demo::MessageCount(n)) << n;
        EXPECT_EQ(List()->GetCurSel(), 0);
        EXPECT_EQ(List()->GetText(0), editors::OneLineItem(demo::MessageText(n, 0)));
        for (int m = 1; m < List()->GetCount(); ++m) SelectRow(page, m);
        ++shown;
    }
    EXPECT_GT(shown, 70);
    EXPECT_TRUE(page->StoreMessage());
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

// Two messages sharing one text have the same room; a text followed by slack may grow
// into it; the last text of a table may not grow.
TEST_F(ScenarioMessagePageTest, DemoLimitsFollowTheNextText) {
    Open();
    const int n = demo::kSharedTextChapter;
    ASSERT_TRUE(page->SetChapter(ChapterTable(n)));
    auto limitOf = [&](int m) {
        SelectRow(page, m);
        return Edit(u"限界文字数")->GetText().toInt();
    };
    const int decoded1 = static_cast<int>(tsumugi::demo::EncodeText(demo::MessageText(n, 1)).size());
    EXPECT_EQ(limitOf(1), decoded1 + 4) << "four bytes of slack behind message 1";
    EXPECT_EQ(limitOf(demo::kSharedTextMessage), limitOf(demo::kSharedTextWith));
    ASSERT_TRUE(page->SetChapter(ChapterTable(0)));
    const int last = demo::MessageCount(0) - 1;
    EXPECT_EQ(limitOf(last), static_cast<int>(tsumugi::demo::EncodeText(demo::MessageText(0, last)).size()))
        << "the last text of a table may not grow";
}

// Texts at p, p + 16 and p + 512: the first may take 16 bytes; the others keep their length.
TEST_F(ScenarioMessagePageTest, TextsAreStoredWithinTheirLimit) {
    const uint32_t p = kTexts;
    PutText(p, S(u"あいうえお"));
    PutText(p + 16, S(u"かきく"));
    PutText(p + 512, S(u"さ"));
    PutTable(kTable, {{.pointer = kBus + p}, {.pointer = kBus + p + 16}, {.pointer = kBus + p + 512}});
    Open();
    ASSERT_TRUE(page->SetChapter(kTable));
    EXPECT_EQ(Edit(u"限界文字数")->GetText(), S(u"16"));
    SelectRow(page, 1);
    EXPECT_EQ(Edit(u"限界文字数")->GetText(), S(u"4"));
    SelectRow(page, 2);
    EXPECT_EQ(Edit(u"限界文字数")->GetText(), S(u"2"));
    SelectRow(page, 0);

    const QString fits = QString(15, QChar(u'あ'));
    struct Case {
        QString text;
        QString message;  // empty: stored
    };
    const Case cases[] = {
        {fits, {}},
        {fits + S(u"あ"), S(u"1byteオーバー")},
        {QString(8, QChar(u'Ａ')), S(u"1byteオーバー")},
        {fits + S(u"ああ"), S(u"2byteオーバー")},
        {QString(300, QChar(u'あ')), S(u"285byteオーバー")},
        {S(u"い"), {}},
        {QString(), {}},
    };
    std::vector<uint8_t> expected = Bytes(Rom() + p, 32);
    for (const Case& c : cases) {
        services.shown.clear();
        Text()->SetText(c.text);
        const bool stored = page->StoreMessage();
        EXPECT_EQ(stored, c.message.isEmpty()) << c.text.toStdString();
        EXPECT_EQ(services.Last(), c.message) << c.text.toStdString();
        if (stored) {
            const std::vector<uint8_t> bytes = GameText(c.text);
            std::copy(bytes.begin(), bytes.end(), expected.begin());
            EXPECT_EQ(List()->GetText(0), c.text);
        }
        EXPECT_EQ(Bytes(Rom() + p, 32), expected) << "the next text is untouched; old bytes stay";
    }
    EXPECT_EQ(Rom()[p], 0xFF) << "an empty text is the terminator alone";
    EXPECT_EQ(Bytes(Rom() + p + 2, 2), Bytes(Rom() + p + 3, 2)) << "the old text stays behind it";
    EXPECT_NE(Rom()[p + 2], 0xFF);

    // A refused text keeps the user on the message, with the other fields written.
    Text()->SetText(fits + S(u"あ"));
    Edit(u"進行度？")->SetText(S(u"77"));
    SelectRow(page, 1);
    EXPECT_EQ(List()->GetCurSel(), 0);
    EXPECT_EQ(tsumugi::Read16(RecordBytes(kTable, 0)), 77);
    EXPECT_FALSE(page->SetChapter(0)) << "a chapter change waits for the correction";
    EXPECT_EQ(List()->GetCount(), 3);
}

TEST_F(ScenarioMessagePageTest, PositionKindsSwitchBetweenTargetsAndPoint) {
    PutText(kTexts, S(u"あ"));
    PutTable(kTable, {{.kind = 0, .b6 = 5, .pointer = kBus + kTexts},
                      {.kind = 3, .b6 = 7, .b7 = 9, .pointer = kBus + kTexts}});
    Open();
    ASSERT_TRUE(page->SetChapter(kTable));
    ui::ComboBox* kind = Combo(u"座標");
    ui::ComboBox* target = Combo(u"対象");
    EXPECT_TRUE(target->isVisible());
    EXPECT_FALSE(Edit(u"X")->isVisible());
    EXPECT_EQ(target->GetCount(), 176);
    EXPECT_EQ(target->GetCurSel(), 5);

    struct Case {
        int item;
        bool targetShown, pointShown;
        int targetCount;
        uint8_t b5, b6, b7;  // stored after choosing target item 9 or typing X 12, Y 34
    };
    const Case cases[] = {
        {1, true, false, 150, 1, 9, 0},   {3, false, true, 0, 3, 12, 34},
        {2, false, true, 0, 2, 12, 34},   {4, false, false, 0, 0xFF, 0, 0},
        {0, true, false, 176, 0, 9, 0},
    };
    for (const Case& c : cases) {
        Choose(kind, c.item);
        EXPECT_EQ(target->isVisible(), c.targetShown) << c.item;
        EXPECT_EQ(Edit(u"X")->isVisible(), c.pointShown) << c.item;
        EXPECT_EQ(Edit(u"Y")->isVisible(), c.pointShown) << c.item;
        if (c.targetShown) {
            EXPECT_EQ(target->GetCount(), c.targetCount);
            EXPECT_EQ(target->GetCurSel(), 0) << "a new kind starts at the first item";
            Choose(target, 9);
        }
        if (c.pointShown) {
            Edit(u"X")->SetText(S(u"12"));
            Edit(u"Y")->SetText(S(u"34"));
        }
        ASSERT_TRUE(page->StoreMessage()) << c.item;
        const uint8_t* r = RecordBytes(kTable, 0);
        EXPECT_EQ(r[mr::kPositionKind], c.b5) << c.item;
        EXPECT_EQ(r[mr::kTarget], c.b6) << c.item;
        EXPECT_EQ(r[mr::kY], c.b7) << c.item;
    }

    SelectRow(page, 1);
    EXPECT_EQ(kind->GetCurSel(), 3);
    EXPECT_TRUE(Edit(u"X")->isVisible());
    EXPECT_EQ(Edit(u"X")->GetText(), S(u"7"));
    EXPECT_EQ(Edit(u"Y")->GetText(), S(u"9"));
}

// A refused number writes nothing; X and Y are read only for the kinds that use them.
TEST_F(ScenarioMessagePageTest, RefusedNumbersWriteNothing) {
    PutText(kTexts, S(u"あ"));
    PutTable(kTable, {{.expression = 3, .kind = 0, .b6 = 5, .pointer = kBus + kTexts}});
    const std::vector<uint8_t> before = rom;
    struct Case {
        const char16_t* field;
        const char16_t* value;
        int kindItem;
        bool stored;
    };
    const Case cases[] = {
        {u"進行度？", u"65536", 0, false}, {u"表情", u"256", 0, false}, {u"X", u"300", 3, false},
        {u"Y", u"x", 2, false},           {u"X", u"300", 0, true},   {u"進行度？", u"1", 0, true},
    };
    for (const Case& c : cases) {
        const QString field = QString::fromUtf16(c.field);
        rom = before;
        Open();
        ASSERT_TRUE(page->SetChapter(kTable));
        Choose(Combo(u"座標"), c.kindItem);
        if (c.kindItem == 0) Choose(Combo(u"対象"), 5);
        Edit(c.field)->SetText(S(c.value));
        services.shown.clear();
        EXPECT_EQ(page->StoreMessage(), c.stored) << field.toStdString();
        EXPECT_EQ(services.shown.size(), c.stored ? 0u : 1u) << field.toStdString();
        EXPECT_TRUE(rom == before) << field.toStdString() << ": nothing written, an unused X neither";
    }
}

TEST_F(ScenarioMessagePageTest, OutOfListValuesShowNoSelectionAndKeepTheirBytes) {
    PutText(kTexts, S(u"あ"));
    PutTable(kTable, {{.window = 5, .face = 200, .kind = 7, .b6 = 0x33, .b7 = 0x44, .pointer = kBus + kTexts},
                      {.window = 1, .face = 176, .kind = 1, .b6 = 200, .b7 = 0, .pointer = kBus + kTexts},
                      {.window = 2, .face = 0xFF, .kind = 0, .b6 = 176, .b7 = 0, .pointer = kBus + kTexts}});
    Open();
    ASSERT_TRUE(page->SetChapter(kTable));
    struct Case {
        int row;
        int window, face, kind, target;  // selections; -1 none
    };
    const Case cases[] = {{0, -1, -1, -1, -2}, {1, 1, -1, 1, -1}, {2, 2, 176, 0, -1}};
    for (const Case& c : cases) {
        SelectRow(page, c.row);
        const std::vector<uint8_t> record = Bytes(RecordBytes(kTable, c.row), mr::kSize);
        EXPECT_EQ(Combo(u"ウィンドウの位置")->GetCurSel(), c.window) << c.row;
        EXPECT_EQ(Combo(u"顔")->GetCurSel(), c.face) << c.row;
        EXPECT_EQ(Combo(u"座標")->GetCurSel(), c.kind) << c.row;
        if (c.target == -2) {
            EXPECT_FALSE(Combo(u"対象")->isVisible());
            EXPECT_FALSE(Edit(u"X")->isVisible());
        } else {
            EXPECT_EQ(Combo(u"対象")->GetCurSel(), c.target) << c.row;
        }
        Edit(u"進行度？")->SetText(S(u"300"));
        ASSERT_TRUE(page->StoreMessage());
        std::vector<uint8_t> expected = record;
        tsumugi::Write16(expected.data(), 300);
        EXPECT_EQ(Bytes(RecordBytes(kTable, c.row), mr::kSize), expected) << c.row;
    }
}

TEST_F(ScenarioMessagePageTest, UndecodableTextIsDisabledAndNeverWritten) {
    Open();
    const int n = tsumugi::demo::kLockedChapter, m = tsumugi::demo::kLockedMessage;
    const uint32_t table = ChapterTable(n);
    ASSERT_TRUE(page->SetChapter(table));
    SelectRow(page, m);
    EXPECT_FALSE(Text()->isEnabled());
    EXPECT_TRUE(Text()->GetText().contains(S(u"・")));
    EXPECT_TRUE(Edit(u"進行度？")->isEnabled());
    const uint32_t text = tsumugi::Read32(RecordBytes(table, m) + mr::kText) - kBus;
    const std::vector<uint8_t> before = Bytes(Rom() + text, 64);
    Text()->SetText(S(u"あ"));
    Edit(u"表情")->SetText(S(u"9"));
    EXPECT_TRUE(page->StoreMessage());
    EXPECT_EQ(Bytes(Rom() + text, 64), before);
    EXPECT_EQ(RecordBytes(table, m)[mr::kExpression], 9);
}

// Pointers that are no bus address, or that lead past the image: "Error", no text, the other
// fields still edited; a past-image pointer is named in the note.
TEST_F(ScenarioMessagePageTest, TextPointersOutsideTheImageAreNeverFollowed) {
    PutText(kTexts, S(u"あ"));
    const uint32_t pastImage = kBus + RomSize();
    PutTable(kTable, {{.pointer = 0}, {.pointer = pastImage}, {.pointer = 0x09FFFFF0}, {.pointer = kBus + kTexts}});
    Open();
    ASSERT_TRUE(page->SetChapter(kTable));
    EXPECT_EQ(List()->GetText(0), S(u"Error"));
    EXPECT_EQ(List()->GetText(1), S(u"Error"));
    EXPECT_EQ(List()->GetText(2), S(u"Error"));
    const std::vector<uint8_t> before = rom;
    for (int row = 0; row < 3; ++row) {
        SelectRow(page, row);
        EXPECT_FALSE(Text()->isEnabled()) << row;
        EXPECT_TRUE(Text()->GetText().isEmpty()) << row;
        EXPECT_EQ(Edit(u"限界文字数")->GetText(), S(u"0")) << row;
        EXPECT_EQ(Note().isEmpty(), row == 0) << row;
        EXPECT_TRUE(Edit(u"表情")->isEnabled());
    }
    EXPECT_EQ(Note(), S(u"テキストがROMの終わりを越えているため表示できません。"));
    Edit(u"表情")->SetText(S(u"4"));
    SelectRow(page, 3);
    EXPECT_TRUE(Note().isEmpty());
    EXPECT_EQ(RecordBytes(kTable, 2)[mr::kExpression], 4);
    rom[kTable + mr::kSize * 2 + mr::kExpression] = before[kTable + mr::kSize * 2 + mr::kExpression];
    EXPECT_TRUE(rom == before);
}

TEST_F(ScenarioMessagePageTest, TablesPastTheImageShowAnEmptyList) {
    Open();
    const std::vector<uint8_t> before = rom;
    const uint32_t offsets[] = {RomSize() - 24, RomSize() - 1, RomSize(), RomSize() + 100, 0x01FFFFFF};
    for (uint32_t offset : offsets) {
        std::fill(rom.end() - 24, rom.end(), 0x00);  // no end record before the image ends
        ASSERT_TRUE(page->SetChapter(offset)) << offset;
        EXPECT_EQ(List()->GetCount(), 0) << offset;
        EXPECT_EQ(Note(), S(u"セリフデータがROMの終わりを越えているため表示できません。")) << offset;
        EXPECT_FALSE(Text()->isEnabled());
        EXPECT_TRUE(page->StoreMessage());
    }
    std::copy(before.end() - 24, before.end(), rom.end() - 24);
    EXPECT_TRUE(rom == before);
    ASSERT_TRUE(page->SetChapter(ChapterTable(0)));
    EXPECT_TRUE(Note().isEmpty());
    EXPECT_GT(List()->GetCount(), 0);
    page->ShowNone(S(u"セリフのポインタが使えません。"));
    EXPECT_EQ(List()->GetCount(), 0);
    EXPECT_EQ(Note(), S(u"セリフのポインタが使えません。"));
    EXPECT_TRUE(page->StoreMessage());
    ASSERT_TRUE(page->SetChapter(0));
    EXPECT_EQ(List()->GetCount(), 0);
    EXPECT_TRUE(Note().isEmpty());
}

TEST_F(ScenarioMessagePageTest, FiveThousandMessagesAtMost) {
    PutText(kTexts + 0x10000, S(u"あい"));
    std::vector<Msg> messages(5001, Msg{.pointer = kBus + kTexts + 0x10000});
    PutTable(kTable, messages);
    Open();
    ASSERT_TRUE(page->SetChapter(kTable));
    ASSERT_EQ(List()->GetCount(), 5000);
    SelectRow(page, 4999);
    Edit(u"表情")->SetText(S(u"200"));
    Edit(u"進行度？")->SetText(S(u"65535"));
    ASSERT_TRUE(page->StoreMessage());
    EXPECT_EQ(RecordBytes(kTable, 4999)[mr::kExpression], 200);
    ASSERT_TRUE(page->SetChapter(kTable));
    EXPECT_EQ(List()->GetCount(), 4999) << "65535 ends the table";
}

// Only the scenario data area and the extension area past 16 MiB are recorded and undone
// by the main window: elsewhere the page shows its data read-only.
TEST_F(ScenarioMessagePageTest, DataOutsideTheScenarioAreaIsReadOnly) {
    const uint32_t extension = std::max<uint32_t>(RomSize(), 0x1000000) + 0x200;
    rom.resize(extension + 0x1000, 0xFF);
    PutText(kOutsideText, S(u"そと"));
    PutText(kTexts, S(u"なか"));
    PutText(extension + 0x800, S(u"さき"));
    PutTable(kTable, {{.pointer = kBus + kOutsideText}, {.pointer = kBus + kTexts}});
    PutTable(kOutsideTable, {{.pointer = kBus + kTexts}});
    PutTable(extension, {{.pointer = kBus + extension + 0x800}});
    Open();

    ASSERT_TRUE(page->SetChapter(kTable));
    EXPECT_EQ(List()->GetText(0), S(u"そと"));
    EXPECT_FALSE(Text()->isEnabled());
    EXPECT_EQ(Text()->GetText(), S(u"そと"));
    EXPECT_EQ(Note(), S(u"テキストがシナリオデータの領域外にあるため編集できません。"));
    EXPECT_TRUE(Edit(u"表情")->isEnabled());
    Text()->SetText(S(u"あ"));
    ASSERT_TRUE(page->StoreMessage());
    EXPECT_EQ(Bytes(Rom() + kOutsideText, 3), GameText(S(u"そと")));

    ASSERT_TRUE(page->SetChapter(kOutsideTable));
    EXPECT_EQ(Note(), S(u"セリフデータがシナリオデータの領域外にあるため編集できません。"));
    for (const char16_t* name : {u"進行度？", u"表情"}) EXPECT_FALSE(Edit(name)->isEnabled());
    EXPECT_FALSE(Combo(u"顔")->isEnabled());
    EXPECT_FALSE(Text()->isEnabled());
    const std::vector<uint8_t> before = rom;
    Edit(u"進行度？")->SetText(S(u"9"));
    Text()->SetText(S(u"あ"));
    EXPECT_TRUE(page->StoreMessage());
    EXPECT_TRUE(rom == before);

    ASSERT_TRUE(page->SetChapter(extension));
    EXPECT_TRUE(Note().isEmpty());
    EXPECT_TRUE(Text()->isEnabled());
    Text()->SetText(S(u"き"));
    ASSERT_TRUE(page->StoreMessage());
    EXPECT_EQ(Bytes(Rom() + extension + 0x800, 2), GameText(S(u"き")));
}

}  // namespace
