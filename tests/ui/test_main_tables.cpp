// "CSV出力" and "CSV読込" of the main window: the selected table as a spreadsheet file with
// a byte-order mark, and a file applied whole or refused whole.

#include "core/cp932.h"
#include "core/csv.h"
#include "core/layout/descriptor.h"
#include "core/regions.h"
#include "core/table_csv.h"
#include "main_dlg_fixture.h"
#include "ui/controls.h"

namespace testing_ui {
namespace {

TEST_F(MainDlgTest, CsvExportMarksUtf8AndImportAppliesWholeOrNothing) {
    const tsumugi::layout::Table& weapons = *tsumugi::layout::FindTable("weapons");
    LoadDemo();
    m_dlg.findChild<ui::ListBox*>()->setCurrentRow(tsumugi::category::kWeapon);
    const std::string exported = m_files.File("out.csv");
    m_services.files.push_back(QString::fromStdString(exported));
    Click(u"CSV出力");
    ASSERT_EQ(m_services.fileRequests.size(), 1u);
    EXPECT_EQ(m_services.fileRequests[0].fileName, Q(u"demo-weapons.csv"));
    EXPECT_EQ(m_services.fileRequests[0].initialFolder.toStdString(), Demo().dir.Path());
    const std::string text = tsumugi::testing::ReadText(exported);
    ASSERT_EQ(text.rfind(tsumugi::kUtf8Bom, 0), 0u);
    EXPECT_EQ(text.substr(3), tsumugi::ExportTableCsv(weapons, Demo().bytes.data(), static_cast<uint32_t>(Demo().bytes.size())));

    // Three cells of two records edited; saved again with and without the mark, in
    // Shift-JIS, and with one bad cell.
    std::vector<tsumugi::csv::Row> rows = tsumugi::csv::Parse(text).rows;
    rows[6][1] = "1234", rows[6][2] = "55", rows[8][1] = "999";
    std::string edited;
    for (const auto& row : rows) tsumugi::csv::AppendRow(edited, row);
    std::string bad = edited;
    bad.replace(bad.find("1234"), 4, "12x4");
    const struct {
        std::string file;
        const char16_t* says;
        bool applies;
    } cases[] = {
        {tsumugi::Utf8ToCp932(edited).text, u"「CSV UTF-8 (コンマ区切り)」", false},
        {tsumugi::kUtf8Bom + bad, u"7行目、2列目（攻撃力）", false},
        {tsumugi::kUtf8Bom + edited, u"2件のレコードの3個の項目を変更しました。", true},
        {edited, u"変更された項目はありません。", false},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> before(m_dlg.m_rom.m_pData, m_dlg.m_rom.m_pData + m_dlg.m_rom.m_nSize);
        const size_t codes = m_dlg.m_codes.Size();
        m_services.files.push_back(QString::fromStdString(m_files.Write("in.csv", c.file)));
        Click(u"CSV読込");
        EXPECT_TRUE(m_services.Last().contains(Q(c.says))) << m_services.Last().toStdString();
        EXPECT_EQ(RomEquals(before), !c.applies);
        // Codes of whole words, as an editor's OK records them: attack and hit of record 5
        // share no word; record 7's attack is one more.
        EXPECT_EQ(m_dlg.m_codes.Size(), codes + (c.applies ? 3u : 0u));
        EXPECT_EQ(m_services.fileRequests.back().initialFolder.toStdString(), m_files.Path());
    }
    // The import is one step: undone, the image and the codes are as before it.
    EXPECT_EQ(Button(Q(u"元に戻す"))->toolTip(), Q(u"CSV読込 武器 (3語)"));
    Click(u"元に戻す");
    EXPECT_TRUE(RomEquals(Demo().bytes));
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    m_dlg.findChild<ui::ListBox*>()->setCurrentRow(tsumugi::category::kScenario);
    EXPECT_FALSE(Button(Q(u"CSV出力"))->isEnabled());
    EXPECT_FALSE(Button(Q(u"CSV読込"))->isEnabled());
}

TEST_F(MainDlgTest, FileChoosersStartInTheLastFolderOfTheirKindAndSuggestTheRomsName) {
    LoadDemo();
    m_dlg.m_codes.Set(0xC38C4, 0x1234);
    const struct {
        const char16_t* button;
        const char16_t* name;
        const char* file;
    } cases[] = {{u"保存", u"demo.txt", "codes.txt"}, {u"パッチ出力", u"demo.bps", "p.bps"}, {u"別名保存", u"demo-edited.gba", "copy.gba"}};
    for (const auto& c : cases) {
        m_services.files.push_back(QString::fromStdString(m_files.File(c.file)));
        m_services.files.push_back(std::nullopt);
        Click(c.button);
        Click(c.button);
        const size_t n = m_services.fileRequests.size();
        ASSERT_GE(n, 2u);
        EXPECT_EQ(m_services.fileRequests[n - 2].fileName, Q(c.name));
        EXPECT_EQ(m_services.fileRequests[n - 2].initialFolder.toStdString(), Demo().dir.Path());
        EXPECT_EQ(m_services.fileRequests[n - 1].initialFolder.toStdString(), m_files.Path());
        EXPECT_TRUE(std::filesystem::exists(m_files.File(c.file))) << c.file;
    }
}

TEST_F(MainDlgTest, AMissingCharacterTableSaysWhereItWasLookedFor) {
    LoadDemo();
    ForgetTable();
    Click(u"編集");
    const QString text = m_services.Last();
    EXPECT_TRUE(text.startsWith(Q(u"文字データにエラーがありました。"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromStdString(m_program.File("string.txt")))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("/tsumugi/string.txt"))) << text.toStdString();
}

}  // namespace
}  // namespace testing_ui
