// "変更一覧": the main window lists its codes by field with old and new values; the window
// sorts on a header click, filters by category, writes what it shows as CSV and closes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "app/change_list_dlg.h"
#include "app/main_support.h"
#include "app/tsumugi_app.h"
#include "core/bytes.h"
#include "core/layout/units.h"
#include "core/regions.h"
#include "core/temp_dir.h"
#include "main_dlg_fixture.h"
#include "ui/controls.h"

namespace testing_ui {
namespace {

using app::CChangeListDlg;

tsumugi::ChangeRow Row(uint32_t offset, int category, int record, const char* field, const char* before,
                       const char* after) {
    tsumugi::ChangeRow row;
    row.offset = offset;
    row.category = category;
    row.table = tsumugi::CategoryLabel(category);
    row.record = record;
    row.field = field;
    row.before = before;
    row.after = after;
    return row;
}

std::vector<tsumugi::ChangeRow> SomeRows() {
    namespace c = tsumugi::category;
    return {Row(0x30, c::kUnit, 10, "最大HP", "1000", "2000"), Row(0x10, c::kWeapon, 9, "攻撃力", "1", "2"),
            Row(0x20, c::kUnit, 2, "名前", "旧\n名", "新"), Row(0x40, -1, -1, "", "00 00", "12 34")};
}

QTableWidget* Table(QWidget& dlg) { return dlg.findChild<QTableWidget*>(); }

QStringList Column(QTableWidget* table, int column) {
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        if (!table->isRowHidden(r)) texts << table->item(r, column)->text();
    return texts;
}

ui::ComboBox* Filter(QWidget& dlg) { return dlg.findChild<ui::ComboBox*>(); }

TEST(ChangeListDlgTest, ListsSortsByHeaderClickAndFilters) {
    CChangeListDlg dlg(SomeRows());
    QTableWidget* table = Table(dlg);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Column(table, CChangeListDlg::kAddress),
              QStringList({Q(u"08000010"), Q(u"08000020"), Q(u"08000030"), Q(u"08000040")}))
        << "opened in address order";
    EXPECT_EQ(table->item(1, CChangeListDlg::kBefore)->text(), Q(u"旧↵名")) << "a line break shows on one line";

    const struct {
        int column;
        QStringList ascending;
    } sorts[] = {
        {CChangeListDlg::kRecord, {QString(), Q(u"2"), Q(u"9"), Q(u"10")}},  // as numbers, not as text
        {CChangeListDlg::kField, {QString(), Q(u"名前"), Q(u"攻撃力"), Q(u"最大HP")}},
    };
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QHeaderView* header = table->horizontalHeader();
    for (const auto& s : sorts) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(s.column) + 4, header->height() / 2));
        QStringList shown = Column(table, s.column);
        if (shown.front() != s.ascending.front()) std::reverse(shown.begin(), shown.end());
        QStringList expected = s.ascending;
        if (s.column == CChangeListDlg::kField) std::sort(expected.begin(), expected.end());
        EXPECT_EQ(shown, expected) << s.column;
    }

    const struct {
        int item;
        int rows;
    } filters[] = {{1 + tsumugi::category::kUnit, 2}, {1 + tsumugi::category::kWeapon, 1},
                   {1 + tsumugi::kCategoryCount, 1}, {1 + tsumugi::category::kScenario, 0}, {0, 4}};
    ui::ComboBox* filter = Filter(dlg);
    ASSERT_EQ(filter->accessibleName(), Q(u"分類"));
    EXPECT_EQ(filter->GetLBText(0), Q(u"すべて"));
    for (const auto& f : filters) {
        filter->SetCurSel(f.item);
        emit filter->SelChange();
        EXPECT_EQ(static_cast<int>(dlg.ShownRows().size()), f.rows) << filter->GetLBText(f.item).toStdString();
    }
}

TEST(ChangeListDlgTest, ExportsTheShownRowsAsCsvAndCloses) {
    ScriptedServices services;
    tsumugi::testing::TempDir dir;
    CChangeListDlg dlg(SomeRows());
    ui::ComboBox* filter = Filter(dlg);
    filter->SetCurSel(1 + tsumugi::category::kWeapon);
    emit filter->SelChange();

    const QString path = QString::fromStdString(dir.File("changes.csv"));
    services.files = {path, std::nullopt, QString::fromStdString(dir.File("missing/x.csv"))};
    QPushButton* csv = nullptr;
    QPushButton* close = nullptr;
    for (QPushButton* b : dlg.findChildren<QPushButton*>()) {
        EXPECT_EQ(b->accessibleName(), b->text());
        if (b->text() == Q(u"CSV出力")) csv = b;
        if (b->text() == Q(u"閉じる")) close = b;
    }
    ASSERT_TRUE(csv && close);
    csv->click();
    const std::string written = tsumugi::testing::ReadText(path.toStdString());
    EXPECT_EQ(written, tsumugi::ChangeRowsCsv({SomeRows()[1]})) << "only the rows shown";
    ExpectChooser(services.fileRequests.at(0), u"CSV出力", u"CSVﾌｧｲﾙ(*.csv)", u"*.csv", u"csv");
    csv->click();  // cancelled: nothing said
    EXPECT_TRUE(services.shown.empty());
    csv->click();  // a folder that does not exist
    ASSERT_EQ(services.shown.size(), 1u);
    EXPECT_EQ(services.shown[0].text, Q(u"CSVの保存に失敗しました。"));

    dlg.show();
    close->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Table(dlg)->accessibleName(), Q(u"変更一覧"));
}

class ChangeListMainTest : public MainDlgTest {
protected:
    // Runs "変更一覧" and returns what its window showed: rows, count text.
    std::pair<std::vector<tsumugi::ChangeRow>, QString> RunList() {
        std::pair<std::vector<tsumugi::ChangeRow>, QString> seen;
        m_services.modal = [&seen](QDialog* dialog) {
            auto* list = dynamic_cast<CChangeListDlg*>(dialog);
            EXPECT_NE(list, nullptr);
            if (list == nullptr) return int(QDialog::Rejected);
            seen.first = list->ShownRows();
            for (QLabel* label : list->findChildren<QLabel*>())
                if (label->accessibleName() == Q(u"件数")) seen.second = label->text();
            return int(QDialog::Accepted);
        };
        Click(u"変更一覧");
        return seen;
    }
};

TEST_F(ChangeListMainTest, ShowsEachEditedFieldWithTheValueAsLoaded) {
    Click(u"変更一覧");
    ASSERT_EQ(m_services.Texts(), std::vector<QString>{app::NoRomText()}) << "no ROM: nothing to list";

    LoadDemo();
    const auto [none, noneText] = RunList();
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(noneText, Q(u"コードがありません"));

    // Two edits of unit 0's HP: the list keeps the value the ROM had as loaded.
    const uint32_t hp = tsumugi::layout::unit_record::kBase;
    const uint32_t loaded = tsumugi::Read32(Demo().bytes.data() + hp);
    for (const uint32_t value : {loaded + 1, loaded + 7}) {
        ScriptEditor([value](uint8_t* rom) {
            tsumugi::Write32(rom + hp, value);
            return int(QDialog::Accepted);
        });
        ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kUnit));
    }
    const auto [rows, count] = RunList();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].field, "最大HP");
    EXPECT_EQ(rows[0].before, std::to_string(loaded));
    EXPECT_EQ(rows[0].after, std::to_string(loaded + 7));
    EXPECT_EQ(count, Q(u"1件"));
}

TEST(ChangeListShotTest, FitsItsDefaultSize) {
    const QString family = app::CTsumugiApp::JapaneseFamily(QFontDatabase::families());
    if (family.isEmpty()) GTEST_SKIP() << "no Japanese font installed";
    const QFont oldFont = QApplication::font();
    QFont font = oldFont;
    font.setFamily(family);
    QApplication::setFont(font);
    {
        std::vector<tsumugi::ChangeRow> rows = SomeRows();
        for (int k = 0; k < 30; ++k) {
            rows.push_back(Row(0x100 + 2 * k, k % 15, k, "精神コマンド1", "集中", "ひらめき"));
            rows.back().recordName = "アルテミスカスタム";
        }
        CChangeListDlg dlg(rows);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        EXPECT_LE(dlg.width(), 1280);
        EXPECT_LE(dlg.height(), 800);
        for (QPushButton* b : dlg.findChildren<QPushButton*>()) EXPECT_GE(b->width(), b->sizeHint().width());
        const QFontMetrics metrics(dlg.font());
        for (const QChar c : QStringLiteral("変更一覧分類すべてアドレス閉じる"))
            EXPECT_TRUE(metrics.inFont(c)) << "no glyph";
        QTableWidget* table = Table(dlg);
        EXPECT_GE(table->viewport()->width(), 700) << "the table takes the window's width";
        const QByteArray dir = qgetenv("TSUMUGI_SHOT_DIR");
        if (!dir.isEmpty()) dlg.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(Q(u"change_list.png")));
    }
    QApplication::setFont(oldFont);
}

}  // namespace
}  // namespace testing_ui
