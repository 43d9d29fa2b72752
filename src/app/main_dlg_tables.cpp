// The main window's "CSV出力" and "CSV読込": the selected category's fixed-record table as
// a spreadsheet file and back, as the command line's table export and import do.
#include "app/file_places.h"
#include "app/main_dlg.h"
#include "app/main_support.h"
#include "core/file_io.h"
#include "core/history.h"
#include "core/layout/descriptor.h"
#include "core/table_csv.h"
#include "core/table_import_step.h"
#include "ui/controls.h"
#include "ui/services.h"
#include "ui/text.h"

namespace app {
namespace {

namespace layout = tsumugi::layout;

ui::FileDialogOptions CsvOptions(const QString& title) {
    ui::FileDialogOptions options;
    options.title = title;
    options.filterText = QStringLiteral("CSVﾌｧｲﾙ(*.csv)");
    options.filterPattern = QStringLiteral("*.csv");
    options.defaultSuffix = QStringLiteral("csv");
    return options;
}

// Where the first problem of a refused file lies and what it is.
QString ProblemText(const tsumugi::TableCsvError& e) {
    if (e.notUtf8) {
        return QStringLiteral("このCSVファイルはUTF-8ではないため、何も変更していません（%1行目）。\n"
                              "Excelの「CSV (コンマ区切り)」はShift-JISで保存されます。\n"
                              "「名前を付けて保存」で「CSV UTF-8 (コンマ区切り)」を選んで保存し直してください。")
            .arg(e.row);
    }
    QString where;
    if (e.row > 0) where = QStringLiteral("%1行目").arg(e.row);
    if (e.column > 0) {
        where += QStringLiteral("、%1列目").arg(e.column);
        if (!e.columnName.empty()) where += QStringLiteral("（%1）").arg(QString::fromStdString(e.columnName));
    }
    const QString reason = QString::fromStdString(e.reason);
    return QStringLiteral("CSVファイルに誤りがあるため、何も変更していません。\n") +
           (where.isEmpty() ? reason : where + QStringLiteral("：") + reason);
}

}  // namespace

const layout::Table* CMainDlg::SelectedTable() const {
    const int category = m_pCategoryList->GetCurSel();
    for (const layout::Table& table : layout::Tables()) {
        if (table.category == category) return &table;
    }
    return nullptr;
}

bool CMainDlg::MayUseTable(const layout::Table& table) {
    if (!MayReadText()) return false;
    if (table.End() > m_rom.m_nSize) {
        ui::MessageBox(this, TooShortText());
        return false;
    }
    return true;
}

std::optional<QString> CMainDlg::ChooseCsv(const layout::Table& table, bool save) {
    ui::FileDialogOptions options = CsvOptions(save ? QStringLiteral("CSV出力") : QStringLiteral("CSV読込"));
    PlaceChooser(options, FileKind::Csv, m_rom, QStringLiteral("-%1.csv").arg(QLatin1String(table.name)));
    const std::optional<QString> path =
        save ? ui::services().SaveFile(this, options) : ui::services().OpenFile(this, options);
    if (path) RememberFolder(FileKind::Csv, *path);
    return path;
}

void CMainDlg::OnExportTable() {
    const layout::Table* table = SelectedTable();
    if (table == nullptr || !MayUseTable(*table)) return;
    const std::optional<QString> path = ChooseCsv(*table, true);
    if (!path) return;
    std::optional<std::string> csv = tsumugi::ExportTableCsv(*table, m_rom.m_pData, m_rom.m_nSize);
    // With the mark, a spreadsheet reads the file as UTF-8 rather than as Shift-JIS.
    if (csv) csv->insert(0, tsumugi::kUtf8Bom);
    if (!csv || !tsumugi::WriteWholeFile(LocalPath(*path), reinterpret_cast<const uint8_t*>(csv->data()), csv->size())) {
        ui::MessageBox(this, QStringLiteral("CSVの保存に失敗しました。"));
    }
}

void CMainDlg::OnImportTable() {
    const layout::Table* table = SelectedTable();
    if (table == nullptr || !MayUseTable(*table)) return;
    const std::optional<QString> path = ChooseCsv(*table, false);
    if (!path) return;
    const std::optional<tsumugi::ByteBuffer> csv = tsumugi::ReadWholeFile(LocalPath(*path));
    if (!csv) {
        ui::MessageBox(this, QStringLiteral("CSVファイルを読み込めませんでした。"));
        return;
    }
    // The table's bytes and the codes as they were: the import is one step of the history.
    const uint32_t length = table->End() - table->base;
    const std::vector<uint8_t> before(m_rom.m_pData + table->base, m_rom.m_pData + table->base + length);
    const tsumugi::PatchCodeList codesBefore = m_codes;
    const tsumugi::TableImportStep step = tsumugi::ApplyTableCsv(
        *table, m_rom.m_pData, m_rom.m_nSize, m_codes, reinterpret_cast<const char*>(csv->Data()), csv->Size());
    if (step.ok && step.fields > 0) {
        tsumugi::Step done;
        done.kind = tsumugi::StepKind::Command;
        done.name = std::string("CSV読込 ") + table->label;
        tsumugi::AddByteChanges(done, table->base, before.data(), m_rom.m_pData + table->base, length);
        done.codes = tsumugi::DiffCodes(codesBefore, m_codes);
        m_session.Record(std::move(done));
        ReportJournal();
        RefreshHistory();
    }
    if (!step.ok) {
        ui::MessageBox(this, ProblemText(step.error));
    } else if (step.fields == 0) {
        ui::MessageBox(this, QStringLiteral("変更された項目はありません。"));
    } else {
        ui::MessageBox(this, QStringLiteral("%1件のレコードの%2個の項目を変更しました。").arg(step.records).arg(step.fields));
    }
    RefreshStatus();
}

}  // namespace app
