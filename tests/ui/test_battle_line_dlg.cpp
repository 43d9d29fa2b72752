// The battle dialogue editor through the real dialog on the demo ROM and on pointer
// structures rebuilt by hand: what it lists, what it writes, what it never writes, its
// window at two sizes, and a run from the main window to the ROM file on disk.
#include <QApplication>
#include <QGroupBox>
#include <QTest>

#include "core/bytes.h"
#include "core/layout/battle.h"
#include "core/regions.h"
#include "demo/data.h"
#include "editor_fixture.h"
#include "editors/battle/battle_line_dlg.h"
#include "main_dlg_fixture.h"
#include "ui/controls.h"

namespace {

using namespace testing_ui;
using tsumugi::kBusBase;
using tsumugi::Read32;
namespace tables = tsumugi::layout::battle_tables;

QString S(const char16_t* text) { return QString::fromUtf16(text); }
const QString kTooLong = S(u"元の文字数を超えてはいけません。");

class BattleLineDlgTest : public EditorFixture {
protected:
    // A block of free room inside the battle text area, far behind the demo's texts.
    static constexpr uint32_t kBlock = 0xA00000;

    std::unique_ptr<CBattleLineDlg> Open() {
        auto dlg = std::make_unique<CBattleLineDlg>(Rom(), RomSize());
        dlg->show();
        return dlg;
    }
    static ui::ListBox* Pilots(CBattleLineDlg& d) { return Find<ui::ListBox>(&d, S(u"パイロット")); }
    static ui::ListBox* Lines(CBattleLineDlg& d) { return Find<ui::ListBox>(&d, S(u"セリフ")); }
    static ui::ComboBox* Speaker(CBattleLineDlg& d) { return Find<ui::ComboBox>(&d, S(u"セリフキャラ")); }
    static ui::Edit* Expression(CBattleLineDlg& d) { return Find<ui::Edit>(&d, S(u"表情")); }
    static ui::MultiEdit* Text(CBattleLineDlg& d) { return Find<ui::MultiEdit>(&d, S(u"内容")); }
    static QString Note(CBattleLineDlg& d) { return d.findChild<QLabel*>(QStringLiteral("note"))->text(); }
    static void Go(CBattleLineDlg& d, int pilot, int line) {
        ClickRow(Pilots(d), pilot);
        if (line >= 0) ClickRow(Lines(d), line);
    }

    uint32_t Header(int p) { return Read32(Rom() + tables::kPointerTable + 4 * p) - kBusBase; }
    uint32_t Table(int p) { return Read32(Rom() + Header(p) + 4) - kBusBase; }
    uint8_t* Record(int p, int j) { return Rom() + Table(p) + 4 * j; }
    void PutPointer(uint32_t at, uint32_t offset) { tsumugi::Write32(Rom() + at, offset + kBusBase); }

    // Gives pilot p's lines new texts in a block of blockLength bytes at base: line j's
    // text at offsets[j].
    void SetTexts(int p, uint32_t base, uint32_t blockLength, const std::vector<uint16_t>& offsets,
                  const std::vector<QString>& texts) {
        PutPointer(Header(p), base);
        PutPointer(Header(p) + 16, base + blockLength);
        std::fill(Rom() + base, Rom() + base + blockLength, 0xEE);
        for (size_t j = 0; j < offsets.size(); ++j) {
            tsumugi::Write16(Record(p, static_cast<int>(j)) + 2, offsets[j]);
            const std::vector<uint8_t> bytes = GameText(texts[j]);
            std::copy(bytes.begin(), bytes.end(), Rom() + base + offsets[j]);
        }
    }

    // A text whose game bytes, terminator included, number exactly n.
    static QString OfLength(int n) {
        for (const char16_t* c : {u"あ", u"ア", u"一", u"Ａ"}) {
            if (GameText(S(c)).size() == 2) return S(c).repeated(n - 1);
        }
        ADD_FAILURE() << "no one-byte character in the demo table";
        return QString();
    }
};

TEST_F(BattleLineDlgTest, OpenBrowseEveryLineAndOkChangeNoByte) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), S(u"バトルセリフ"));
    EXPECT_TRUE(d->windowFlags() & Qt::WindowMaximizeButtonHint);
    ASSERT_EQ(Pilots(*d)->GetCount(), 176);
    EXPECT_EQ(Pilots(*d)->GetCurSel(), 0);
    EXPECT_TRUE(Pilots(*d)->GetText(0x1A).startsWith(QStringLiteral("1A: ")));
    ASSERT_EQ(Speaker(*d)->GetCount(), 177);
    EXPECT_EQ(Speaker(*d)->GetLBText(176), S(u"FF: デフォルト"));
    EXPECT_EQ(Speaker(*d)->GetLBText(5), Pilots(*d)->GetText(5));
    EXPECT_EQ(Lines(*d)->GetCurSel(), -1);
    EXPECT_FALSE(Text(*d)->isEnabled()) << "no line is current yet";
    for (int p = 0; p < 176; ++p) {
        ClickRow(Pilots(*d), p);
        ASSERT_EQ(Lines(*d)->GetCount(), tsumugi::demo::detail::BattleLineCount(p)) << p;
        for (int j = 0; j < Lines(*d)->GetCount(); ++j) ClickRow(Lines(*d), j);
    }
    EXPECT_EQ(Lines(*d)->GetText(3), QStringLiteral("3: ") + Text(*d)->GetText().replace(u'\n', u' '));
    Press(d.get(), QStringLiteral("OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

// A line-table pointer far below the next table would list millions of lines: the list
// stops at 0x10000, the most a 16-bit text offset tells apart, and the note says so.
TEST_F(BattleLineDlgTest, ADamagedHeaderListsAtMostTheLinesATextOffsetReaches) {
    PutPointer(Header(0) + 4, 0x100000);
    auto d = Open();
    Go(*d, 0, -1);
    EXPECT_EQ(Lines(*d)->GetCount(), 0x10000);
    EXPECT_EQ(Note(*d), S(u"セリフの表が長すぎるため、最初の65536行だけを表示します。"));
    const QByteArray dir = qgetenv("TSUMUGI_SHOT_DIR");
    if (!dir.isEmpty()) d->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/battle_capped.png"));
}

TEST_F(BattleLineDlgTest, ControlsAreLabelledAndTabbedInReadingOrder) {
    auto d = Open();
    Go(*d, 1, 0);
    EXPECT_EQ(TabOrder(d.get()), QStringList({S(u"パイロット"), S(u"セリフ"), S(u"セリフキャラ"), S(u"表情"),
                                              S(u"内容"), S(u"OK"), S(u"ｷｬﾝｾﾙ")}));
    for (QWidget* w : d->findChildren<QWidget*>()) {
        if (QLatin1String(w->metaObject()->className()).startsWith(QLatin1String("ui::"))) {
            EXPECT_FALSE(w->accessibleName().isEmpty());
        }
    }
    for (QLabel* label : d->findChildren<QLabel*>()) {
        if (label->objectName() == QStringLiteral("note")) continue;
        ASSERT_NE(label->buddy(), nullptr);
        EXPECT_EQ(label->buddy()->accessibleName(), label->text());
    }
}

TEST_F(BattleLineDlgTest, SpeakerAndExpressionAreStoredKeepingTheHighBits) {
    // The demo's line 2 of each pilot has bits 4-5 of byte 1 set.
    const struct {
        int item;          // -1: leave the speaker as loaded
        uint8_t loaded;    // speaker byte before
        int shown;         // item selected on load
        uint8_t speaker;   // byte 0 after the store
    } cases[] = {
        {5, 9, 9, 5},
        {176, 9, 9, 0xFF},
        {0, 0xFF, 176, 0},
        {-1, 200, -1, 200},  // out of the list: no selection, the byte stays
    };
    for (const auto& c : cases) {
        Record(6, 2)[0] = c.loaded;
        Record(6, 2)[1] = 0xA3;
        auto d = Open();
        Go(*d, 6, 2);
        EXPECT_EQ(Speaker(*d)->GetCurSel(), c.shown) << c.item;
        EXPECT_EQ(Expression(*d)->GetText(), QStringLiteral("3"));
        if (c.item >= 0) Speaker(*d)->SetCurSel(c.item);
        Expression(*d)->SetText(QStringLiteral("12"));
        ClickRow(Lines(*d), 0);
        EXPECT_EQ(Record(6, 2)[0], c.speaker) << c.item;
        EXPECT_EQ(Record(6, 2)[1], 0xAC) << c.item;
    }
    EXPECT_TRUE(services.shown.empty());
}

TEST_F(BattleLineDlgTest, RefusedExpressionWritesNothingAndKeepsTheLine) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Go(*d, 6, 1);
    Speaker(*d)->SetCurSel(3);
    Expression(*d)->SetText(QStringLiteral("16"));
    ClickRow(Lines(*d), 2);
    EXPECT_EQ(services.Texts(), std::vector<QString>{S(u"0 から 15 までの整数を入力してください。")});
    EXPECT_EQ(Lines(*d)->GetCurSel(), 1);
    ClickRow(Pilots(*d), 7);
    EXPECT_EQ(Pilots(*d)->GetCurSel(), 6) << "a failed store keeps the pilot too";
    Press(d.get(), QStringLiteral("OK"));
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(rom == before);
}

TEST_F(BattleLineDlgTest, TextFitsItsRoomExactlyAndNotOneByteMore) {
    // Pilot 6 has three lines: texts at 0, 12 and 40 of a 60-byte block.
    SetTexts(6, kBlock, 60, {0, 12, 40}, {OfLength(5), OfLength(20), OfLength(10)});
    const struct {
        int line;
        int length;  // game bytes with the terminator
        bool stored;
    } cases[] = {
        {0, 12, true}, {0, 13, false}, {1, 28, true}, {1, 29, false}, {2, 20, true}, {2, 21, false},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> before = rom;
        services.shown.clear();
        auto d = Open();
        Go(*d, 6, c.line);
        Speaker(*d)->SetCurSel(1);
        Text(*d)->SetText(OfLength(c.length));
        ClickRow(Lines(*d), (c.line + 1) % 3);
        const uint32_t at = kBlock + std::vector<uint32_t>{0, 12, 40}[c.line];
        const std::vector<uint8_t> bytes = GameText(OfLength(c.length));
        if (c.stored) {
            EXPECT_TRUE(services.shown.empty()) << c.line << " " << c.length;
            EXPECT_EQ(Bytes(Rom() + at, bytes.size()), bytes);
            EXPECT_EQ(Lines(*d)->GetText(c.line), QString::number(c.line) + QStringLiteral(": ") + OfLength(c.length));
        } else {
            EXPECT_EQ(services.Texts(), std::vector<QString>{kTooLong}) << c.line << " " << c.length;
            EXPECT_EQ(Lines(*d)->GetCurSel(), c.line);
            EXPECT_TRUE(std::equal(before.begin() + kBlock, before.begin() + kBlock + 60, rom.begin() + kBlock));
            EXPECT_EQ(Record(6, c.line)[0], 1) << "the speaker stays written";
            Press(d.get(), QStringLiteral("ｷｬﾝｾﾙ"));
        }
        rom = before;
    }
}

TEST_F(BattleLineDlgTest, ShorteningWritesTheNewBytesAndTerminatorOnly) {
    SetTexts(6, kBlock, 60, {0, 12, 40}, {OfLength(5), OfLength(20), OfLength(10)});
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Go(*d, 6, 1);
    Text(*d)->SetText(OfLength(4));
    Press(d.get(), QStringLiteral("OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    std::vector<uint8_t> expected = before;
    const std::vector<uint8_t> bytes = GameText(OfLength(4));
    std::copy(bytes.begin(), bytes.end(), expected.begin() + kBlock + 12);
    EXPECT_TRUE(rom == expected) << "the old text's tail stays after the new terminator";
}

TEST_F(BattleLineDlgTest, UnconvertibleCharacterIsReportedAndNothingOfTheTextWritten) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Go(*d, 6, 0);
    const QString missing = S(u"♪");
    ASSERT_EQ(GameText(missing).size(), 1u) << "the demo table lacks this character";
    Text(*d)->SetText(S(u"あ") + missing);
    Press(d.get(), QStringLiteral("OK"));
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(services.Texts(), std::vector<QString>{S(u"文字の変換に失敗しました。\n位置：2byte\n文字：♪")});
    EXPECT_TRUE(rom == before);
}

TEST_F(BattleLineDlgTest, UndecodableLineIsShownLockedAndNeverWritten) {
    using tsumugi::demo::kLockedBattleLine;
    using tsumugi::demo::kLockedBattlePilot;
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Go(*d, kLockedBattlePilot, kLockedBattleLine);
    EXPECT_TRUE(Text(*d)->GetText().contains(S(u"・")));
    EXPECT_FALSE(Text(*d)->isEnabled());
    EXPECT_FALSE(Speaker(*d)->isEnabled());
    EXPECT_FALSE(Expression(*d)->isEnabled());
    EXPECT_FALSE(Note(*d).isEmpty());
    Speaker(*d)->SetCurSel(176);
    Expression(*d)->SetText(QStringLiteral("99"));
    Text(*d)->SetText(QStringLiteral("x"));
    ClickRow(Lines(*d), 1);
    EXPECT_TRUE(Text(*d)->isEnabled());
    EXPECT_TRUE(Note(*d).isEmpty());
    Press(d.get(), QStringLiteral("OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(services.shown.empty());
    EXPECT_TRUE(rom == before);
}

TEST_F(BattleLineDlgTest, DataOutsideTheCategorysRegionsIsReadOnly) {
    // Pilot 6's texts moved before the text area; pilot 10's line table moved past the
    // pointer table (pilot 11's table, moved behind it, ends it after three lines).
    const uint32_t outsideText = tables::kTextStart - 0x100;
    SetTexts(6, outsideText, 60, {0, 12, 40}, {OfLength(5), OfLength(20), OfLength(10)});
    const uint32_t outsideTable = 0xF30000;
    std::copy(Record(10, 0), Record(10, 0) + 12, Rom() + outsideTable);
    PutPointer(Header(10) + 4, outsideTable);
    PutPointer(Header(11) + 4, outsideTable + 12);
    ASSERT_FALSE(tsumugi::WritableFor(tsumugi::category::kBattleLine, outsideText, 12, RomSize()));
    const std::vector<uint8_t> before = rom;

    auto d = Open();
    Go(*d, 6, 0);
    EXPECT_FALSE(Text(*d)->isEnabled());
    EXPECT_TRUE(Speaker(*d)->isEnabled()) << "its record still lies in the line tables";
    EXPECT_FALSE(Note(*d).isEmpty());
    Text(*d)->SetText(QStringLiteral("x"));
    Speaker(*d)->SetCurSel(2);
    Go(*d, 10, 1);
    ASSERT_EQ(Lines(*d)->GetCount(), 3);
    EXPECT_FALSE(Speaker(*d)->isEnabled());
    EXPECT_FALSE(Expression(*d)->isEnabled());
    EXPECT_FALSE(Text(*d)->isEnabled());
    EXPECT_FALSE(Note(*d).isEmpty());
    Speaker(*d)->SetCurSel(2);
    Press(d.get(), QStringLiteral("OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    std::vector<uint8_t> expected = before;
    expected[Table(6)] = 2;  // only pilot 6's speaker, inside the line tables
    EXPECT_TRUE(rom == expected);
}

TEST_F(BattleLineDlgTest, PointersPastTheImageShowAnEmptyListAndANote) {
    enum class Damage { HeaderPointer, HeaderPastImage, TablePastImage, TextsPastImage };
    const struct {
        const char* what;
        int pilot;
        Damage damage;
    } cases[] = {
        {"invalid header pointer", 4, Damage::HeaderPointer},
        {"header past the image", 4, Damage::HeaderPastImage},
        {"line table running into the image's end", 4, Damage::TablePastImage},
        {"texts past the image", 4, Damage::TextsPastImage},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> saved = rom;
        const uint32_t entry = tables::kPointerTable + 4 * c.pilot;
        switch (c.damage) {
            case Damage::HeaderPointer: tsumugi::Write32(Rom() + entry, 0); break;
            case Damage::HeaderPastImage: PutPointer(entry, RomSize() + 0x100); break;
            case Damage::TablePastImage:
                // the table runs up to another pilot's table behind the image's end
                PutPointer(Header(c.pilot) + 4, RomSize() - 16);
                PutPointer(Header(c.pilot + 1) + 4, RomSize() + 16);
                break;
            case Damage::TextsPastImage: PutPointer(Header(c.pilot), RomSize() + 8); break;
        }
        const std::vector<uint8_t> before = rom;
        services.shown.clear();
        auto d = Open();
        ClickRow(Pilots(*d), c.pilot);
        EXPECT_EQ(Lines(*d)->GetCount(), 0) << c.what;
        EXPECT_FALSE(Note(*d).isEmpty()) << c.what;
        ClickRow(Pilots(*d), c.pilot + 2);
        EXPECT_GT(Lines(*d)->GetCount(), 0) << c.what;
        EXPECT_TRUE(Note(*d).isEmpty()) << c.what;
        Press(d.get(), QStringLiteral("OK"));
        EXPECT_TRUE(services.shown.empty()) << c.what;
        EXPECT_TRUE(rom == before) << c.what;
        rom = saved;
    }
}

TEST_F(BattleLineDlgTest, ChangingPilotLeavesNoLineAndStoresNothingFromTheContents) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Go(*d, 5, 1);
    const QString shown = Text(*d)->GetText();
    ClickRow(Pilots(*d), 9);
    EXPECT_EQ(Lines(*d)->GetCurSel(), -1);
    EXPECT_EQ(Text(*d)->GetText(), shown);
    EXPECT_FALSE(Text(*d)->isEnabled());
    EXPECT_FALSE(Speaker(*d)->isEnabled());
    Press(d.get(), QStringLiteral("OK"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(rom == before);
}

TEST_F(BattleLineDlgTest, CancelStoresNothing) {
    const std::vector<uint8_t> before = rom;
    auto d = Open();
    Go(*d, 6, 1);
    Speaker(*d)->SetCurSel(0);
    Expression(*d)->SetText(QStringLiteral("15"));
    Text(*d)->SetText(OfLength(2));
    Press(d.get(), QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_TRUE(rom == before);
}

TEST_F(BattleLineDlgTest, WindowLaysOutItsControlsAtAnySize) {
    auto d = Open();
    auto* lines = Lines(*d);
    auto* text = Text(*d);
    auto* ok = Find<ui::Button>(d.get(), QStringLiteral("OK"));
    QList<QRect> first;
    for (const QSize size : {QSize(600, 450), QSize(1000, 800)}) {
        d->resize(size);
        QApplication::processEvents();
        ASSERT_EQ(d->size(), size);
        for (QWidget* w : d->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isWindow() || !w->isVisible()) continue;
            EXPECT_TRUE(d->rect().contains(w->geometry())) << w->accessibleName().toStdString() << " at " << size.width();
        }
        const auto groups = d->findChildren<QGroupBox*>();
        for (QGroupBox* a : groups) {
            for (QGroupBox* b : groups) {
                if (a == b) continue;
                EXPECT_FALSE(a->geometry().intersects(b->geometry()));
            }
        }
        EXPECT_EQ(d->rect().bottomRight() - ok->geometry().bottomRight(), QPoint(8, 40));
        first << lines->geometry() << text->geometry();
    }
    EXPECT_EQ(first[2].width() - first[0].width(), 400) << "the line list widens";
    EXPECT_EQ(first[2].height() - first[0].height(), 350) << "and grows down";
    EXPECT_EQ(first[3].width() - first[1].width(), 400) << "the text widens";
    EXPECT_EQ(first[3].bottom() - first[1].bottom(), 350) << "and keeps its distance from the bottom";
}

// ---- from the main window to the file on disk

class BattleLineEndToEndTest : public MainDlgTest {};

TEST_F(BattleLineEndToEndTest, ShortenedLineReachesTheCodeFileAndTheRomOnDisk) {
    const std::vector<uint8_t> before = Demo().bytes;
    const std::string path = OwnRom(before);
    Load(path);
    const uint32_t header = Read32(before.data() + tables::kPointerTable + 4 * 6) - kBusBase;
    const uint32_t base = Read32(before.data() + header) - kBusBase;
    const uint32_t table = Read32(before.data() + header + 4) - kBusBase;
    const uint32_t text = base + tsumugi::Read16(before.data() + table + 4 + 2);

    auto edit = [](const char16_t* button) {
        return [button](QDialog* dialog) {
            dialog->show();
            ClickRow(Find<ui::ListBox>(dialog, Q(u"パイロット")), 6);
            ClickRow(Find<ui::ListBox>(dialog, Q(u"セリフ")), 1);
            Find<ui::MultiEdit>(dialog, Q(u"内容"))->SetText(Q(u"行くぞ！"));
            ClickRow(Find<ui::ListBox>(dialog, Q(u"セリフ")), 0);  // stores line 1
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b->text() == Q(button)) b->click();
            return dialog->result();
        };
    };
    m_services.modal = edit(u"ｷｬﾝｾﾙ");
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kBattleLine));
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(before)) << "the stored line is undone on Cancel";

    m_services.modal = edit(u"OK");
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kBattleLine));
    std::vector<uint8_t> expected = before;
    std::string cp932;
    ASSERT_TRUE(ui::ToCp932(Q(u"行くぞ！"), cp932));
    const std::vector<uint8_t> bytes = tsumugi::demo::EncodeText(cp932);
    std::copy(bytes.begin(), bytes.end(), expected.begin() + text);
    ASSERT_FALSE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(expected));

    const std::string codeFile = m_files.File("codes.txt");
    m_services.files = {QString::fromStdString(codeFile)};
    Click(u"保存");
    EXPECT_FALSE(tsumugi::testing::ReadText(codeFile).empty());
    m_services.answers = {ui::MsgResult::Yes};
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), Q(u"書き換えに成功しました。"));
    EXPECT_TRUE(tsumugi::testing::ReadBytes(path) == expected);
}

}  // namespace
