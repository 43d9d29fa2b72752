// The main window's code commands and "別名保存", every message path.
#include "core/bytes.h"
#include "core/regions.h"
#include "core/temp_dir.h"
#include "main_dlg_fixture.h"

namespace testing_ui {
namespace {

using tsumugi::Read16;
using tsumugi::testing::ReadBytes;
using tsumugi::testing::ReadText;
using ui::MsgButtons;
using ui::MsgResult;

class CodeCommandsTest : public MainDlgTest {
protected:
    QString CodeFile(const std::string& name, const std::string& text) {
        return QString::fromStdString(m_files.Write(name, text));
    }
    QString Missing(const std::string& name) const {
        return QString::fromStdString(m_files.File("no-such-folder/" + name));
    }
    // The demo's first 16 MiB: a ROM of the game's own length, which a code past 16 MiB
    // lengthens.
    std::vector<uint8_t> GameLength() const {
        return std::vector<uint8_t>(Demo().bytes.begin(), Demo().bytes.begin() + 0x1000000);
    }
};

TEST_F(CodeCommandsTest, SaveWritesTheCodeFileAndReportsAFailedWrite) {
    Click(u"保存");
    EXPECT_EQ(m_services.Last(), QStringLiteral("保存するコードがありません"));
    EXPECT_TRUE(m_services.fileRequests.empty());

    LoadDemo();
    m_dlg.m_codes.Set(0xC38C4, 0x00FF);
    m_dlg.m_codes.Set(0x1000000, 0xABCD);
    const std::string path = m_files.Write("codes.txt", std::string(100, 'z'));
    m_services.files = {std::nullopt, QString::fromStdString(path), Missing("codes.txt")};
    Click(u"保存");
    Click(u"保存");
    ASSERT_EQ(m_services.fileRequests.size(), 2u);
    ExpectChooser(m_services.fileRequests[0], u"コードの保存", u"ﾃｷｽﾄﾌｧｲﾙ(*.txt)", u"*.txt", u"txt");
    EXPECT_EQ(ReadText(path), "080C38C4:00FF\r\n09000000:ABCD\r\n");
    EXPECT_EQ(m_services.shown.size(), 1u);

    Click(u"保存");
    EXPECT_EQ(m_services.Last(), QStringLiteral("コードの保存に失敗しました。"));
    EXPECT_EQ(m_dlg.m_codes.Size(), 2u);
}

TEST_F(CodeCommandsTest, LoadNeedsARomAndAReadableFile) {
    Click(u"読み込み");
    EXPECT_EQ(m_services.Last(), QStringLiteral("先にRomファイルを読み込んでください。"));
    EXPECT_TRUE(m_services.fileRequests.empty());

    LoadDemo();
    m_services.files = {std::nullopt, Missing("codes.txt")};
    Click(u"読み込み");
    EXPECT_EQ(m_services.shown.size(), 1u);
    Click(u"読み込み");
    ExpectChooser(m_services.fileRequests[0], u"コードファイルを開く", u"ﾃｷｽﾄﾌｧｲﾙ(*.txt)", u"*.txt");
    EXPECT_EQ(m_services.Last(), QStringLiteral("ファイルの形式が違います。"));
    EXPECT_TRUE(RomEquals(Demo().bytes));
}

TEST_F(CodeCommandsTest, LoadAppliesCodesAndAsksOnlyWhenCodesExist) {
    LoadDemo();
    m_services.files = {CodeFile("a.txt", "080c38c4:00ff\r\n")};
    Click(u"読み込み");
    EXPECT_TRUE(m_services.shown.empty());
    EXPECT_EQ(Read16(m_dlg.m_rom.m_pData + 0xC38C4), 0x00FF);
    EXPECT_EQ(m_dlg.m_codes.Find(0xC38C4), 0x00FF);

    // Cancel stops before anything is read.
    m_services.files = {CodeFile("b.txt", "080C38C6:1111\r\n080C38C4:2222\r\n")};
    m_services.answers = {MsgResult::Cancel};
    Click(u"読み込み");
    ASSERT_EQ(m_services.shown.size(), 1u);
    EXPECT_EQ(m_services.shown[0].text, QStringLiteral("現在のコードに追加しますか？"));
    EXPECT_EQ(m_services.shown[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(m_dlg.m_codes.Size(), 1u);

    // Yes merges, the file's value winning at the same offset.
    m_dlg.m_codes.Set(0x100, 0x0001);
    m_services.files = {CodeFile("b.txt", "080C38C6:1111\r\n080C38C4:2222\r\n")};
    m_services.answers = {MsgResult::Yes};
    Click(u"読み込み");
    EXPECT_EQ(m_dlg.m_codes.Size(), 3u);
    EXPECT_EQ(m_dlg.m_codes.Find(0xC38C4), 0x2222);

    // No clears first.
    m_services.files = {CodeFile("c.txt", "080C38C8:3333")};
    m_services.answers = {MsgResult::No};
    Click(u"読み込み");
    EXPECT_EQ(m_dlg.m_codes.Size(), 1u);
    EXPECT_EQ(m_dlg.m_codes.Find(0xC38C8), 0x3333);
    EXPECT_EQ(Read16(m_dlg.m_rom.m_pData + 0xC38C8), 0x3333);
}

TEST_F(CodeCommandsTest, LoadLengthensTheRomOnDiskWhenAsked) {
    const std::string rom = OwnRom(GameLength());
    Load(rom);
    const QString codes = CodeFile("far.txt", "080C38C4:00FF\r\n09000000:1234\r\n");

    m_services.files = {codes};
    m_services.answers = {MsgResult::Cancel};
    Click(u"読み込み");
    ASSERT_EQ(m_services.shown.size(), 1u);
    EXPECT_EQ(m_services.shown[0].text,
              QStringLiteral("アドレスがROMのサイズを超えています。\nROMを0x01000002byteに拡張しますか？"));
    EXPECT_EQ(m_services.shown[0].buttons, MsgButtons::OkCancel);
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(GameLength()));
    EXPECT_EQ(ReadBytes(rom).size(), 0x1000000u);

    m_services.files = {codes};
    m_services.answers = {MsgResult::Ok};
    Click(u"読み込み");
    EXPECT_EQ(m_services.shown.size(), 2u);
    EXPECT_EQ(ReadBytes(rom, 0x1000000), std::vector<uint8_t>({0xFF, 0xFF}));
    ASSERT_EQ(m_dlg.m_rom.m_nSize, 0x1000002u);
    EXPECT_EQ(Read16(m_dlg.m_rom.m_pData + 0x1000000), 0x1234);
    EXPECT_EQ(m_dlg.m_codes.Size(), 2u);
}

// Loading a code file that needs a longer ROM after "現在のコードに追加しますか？": the
// lengthening pads the image in memory, so Yes keeps the codes and the unsaved edit, No
// keeps only the edit, and Cancel changes nothing. The title question is not asked again.
TEST_F(CodeCommandsTest, LengtheningKeepsWhatTheAnswerToAddingKeeps) {
    struct Case {
        MsgResult answer;
        bool lengthened;
        std::vector<uint32_t> codes;
    };
    const Case cases[] = {
        {MsgResult::Yes, true, {0xC38C4, 0xC38D0, 0x1000000}},
        {MsgResult::No, true, {0x1000000}},
        {MsgResult::Cancel, false, {0xC38C4, 0xC38D0}},
    };
    const QString adding = QStringLiteral("現在のコードに追加しますか？");
    const QString lengthen =
        QStringLiteral("アドレスがROMのサイズを超えています。\nROMを0x01000002byteに拡張しますか？");
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        std::vector<uint8_t> wrongTitle = GameLength();
        wrongTitle[0xA0] = 'Q';
        const std::string rom = OwnRom(wrongTitle);
        m_services.answers = {MsgResult::Yes};
        Load(rom);
        m_services.files = {CodeFile("near.txt", "080C38C4:00FF\r\n")};
        Click(u"読み込み");
        ScriptEditor([](uint8_t* p) {
            p[0xC38D0] ^= 0x5A;
            return int(QDialog::Accepted);
        });
        ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kUnit));
        std::vector<uint8_t> memory(m_dlg.m_rom.m_pData, m_dlg.m_rom.m_pData + m_dlg.m_rom.m_nSize);

        m_services.shown.clear();
        m_services.files = {CodeFile("far.txt", "09000000:1234\r\n")};
        m_services.answers = {c.answer};
        if (c.answer != MsgResult::Cancel) m_services.answers.push_back(MsgResult::Ok);
        Click(u"読み込み");
        std::vector<QString> asked = {adding};
        if (c.answer != MsgResult::Cancel) asked.push_back(lengthen);
        EXPECT_EQ(m_services.Texts(), asked);
        if (c.lengthened) {
            memory.resize(0x1000002, 0xFF);
            tsumugi::Write16(&memory[0x1000000], 0x1234);
        }
        EXPECT_TRUE(RomEquals(memory));
        EXPECT_EQ(ReadBytes(rom).size(), c.lengthened ? 0x1000002u : 0x1000000u);
        std::vector<uint32_t> offsets;
        for (const auto& code : m_dlg.m_codes) offsets.push_back(code.first);
        EXPECT_EQ(offsets, c.codes);
    }
}

// A code file's code at an odd offset, then an edit of the word below it: "上書き保存"
// and a saved code file carry the bytes memory holds (AA BB 11), not the file code's
// stale middle byte.
TEST_F(CodeCommandsTest, RewriteAfterAnEditOverAnOddFileCodeWritesWhatMemoryHolds) {
    const std::string rom = OwnRom(GameLength());
    Load(rom);
    m_services.files = {CodeFile("odd.txt", "080C38C5:1111\r\n")};
    Click(u"読み込み");
    ScriptEditor([](uint8_t* p) {
        tsumugi::Write16(p + 0xC38C4, 0xBBAA);
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kUnit));

    m_services.answers = {MsgResult::Yes};
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), QStringLiteral("書き換えに成功しました。"));
    const std::vector<uint8_t> onDisk = ReadBytes(rom);
    ASSERT_EQ(onDisk.size(), 0x1000000u);
    EXPECT_EQ(std::vector<uint8_t>(&onDisk[0xC38C4], &onDisk[0xC38C7]), (std::vector<uint8_t>{0xAA, 0xBB, 0x11}));
    EXPECT_TRUE(RomEquals(onDisk));

    const std::string saved = m_files.File("saved.txt");
    m_services.files = {QString::fromStdString(saved)};
    Click(u"保存");
    EXPECT_EQ(ReadText(saved), "080C38C4:BBAA\r\n080C38C5:11BB\r\n");
}

TEST_F(CodeCommandsTest, FailedLengtheningIsReported) {
    Load(OwnRom(GameLength(), "game.gba"));
    const QString codes = CodeFile("far.txt", "09000000:1234\r\n");
    m_dlg.m_rom.m_szPath = Missing("rom.gba").toStdString();
    m_services.files = {codes};
    m_services.answers = {MsgResult::Ok};
    Click(u"読み込み");
    EXPECT_EQ(m_services.Last(), QStringLiteral("失敗しました。"));
    EXPECT_TRUE(m_dlg.m_codes.Empty());

    // The file on disk is shorter than the image: lengthening it by the difference is
    // not enough, and nothing is applied.
    Load(OwnRom(GameLength(), "game.gba"));
    m_dlg.m_rom.m_szPath = OwnRom(std::vector<uint8_t>(Demo().bytes.begin(), Demo().bytes.begin() + 0x1000), "short.gba");
    m_services.files = {codes};
    m_services.answers = {MsgResult::Ok};
    Click(u"読み込み");
    EXPECT_EQ(m_services.Last(), QStringLiteral("ROMの拡張が足りないため、コードを適用しませんでした。"));
    EXPECT_TRUE(m_dlg.m_codes.Empty());
}

TEST_F(CodeCommandsTest, RewritePatchesTheOpenedFileAfterAsking) {
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), QStringLiteral("Romファイルが読み込まれていません。"));

    const std::string rom = OwnRom(Demo().bytes);
    Load(rom);
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), QStringLiteral("書き換えるコードがありません。"));

    m_dlg.m_codes.Set(0xC38C4, 0xBEEF);
    m_services.answers = {MsgResult::No};
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), QStringLiteral("本当に書き換えてもよろしいですか？"));
    EXPECT_EQ(m_services.shown.back().buttons, MsgButtons::YesNo);
    EXPECT_EQ(ReadBytes(rom), Demo().bytes);

    m_services.answers = {MsgResult::Yes};
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), QStringLiteral("書き換えに成功しました。"));
    std::vector<uint8_t> expected = Demo().bytes;
    tsumugi::Write16(&expected[0xC38C4], 0xBEEF);
    EXPECT_EQ(ReadBytes(rom), expected);
    EXPECT_EQ(m_dlg.m_codes.Size(), 1u);
}

TEST_F(CodeCommandsTest, RewriteReportsFailureAndCodesPastTheEnd) {
    const std::string rom = OwnRom(GameLength());
    Load(rom);
    m_dlg.m_codes.Set(0xC38C4, 0xBEEF);
    m_dlg.m_codes.Set(0x1000010, 0x1111);
    m_services.answers = {MsgResult::Yes};
    Click(u"上書き保存");
    EXPECT_TRUE(m_services.Last().startsWith(QStringLiteral("書き換えに成功しました。\n")));
    EXPECT_TRUE(m_services.Last().contains(QLatin1Char('1')));
    EXPECT_EQ(ReadBytes(rom).size(), 0x1000000u);

    m_dlg.m_rom.m_szPath = Missing("rom.gba").toStdString();
    m_services.answers = {MsgResult::Yes};
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), QStringLiteral("書き換えに失敗しました。"));
}

TEST_F(CodeCommandsTest, SaveAsWritesTheWholeImageAndKeepsThePath) {
    Click(u"別名保存");  // no ROM: no chooser, no message
    EXPECT_TRUE(m_services.fileRequests.empty());
    EXPECT_TRUE(m_services.shown.empty());

    LoadDemo();
    m_dlg.m_rom.m_pData[0x100] ^= 0xFF;
    const std::string copy = m_files.Write("copy.gba", std::vector<uint8_t>(0x1000100, 0x55));
    m_services.files = {std::nullopt, QString::fromStdString(copy), Missing("copy.gba")};
    Click(u"別名保存");
    Click(u"別名保存");
    ExpectChooser(m_services.fileRequests[0], u"名前を付けて保存", u"GBAﾌｧｲﾙ(*.gba)", u"*.gba", u"gba");
    const std::vector<uint8_t> saved = ReadBytes(copy);
    EXPECT_TRUE(RomEquals(saved));
    EXPECT_EQ(m_dlg.m_rom.m_szPath, Demo().rom);
    EXPECT_TRUE(m_services.shown.empty());

    Click(u"別名保存");
    EXPECT_EQ(m_services.Last(), QStringLiteral("保存に失敗しました。"));
}

}  // namespace
}  // namespace testing_ui
