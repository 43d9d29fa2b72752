#include "app/change_list_dlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "app/main_support.h"
#include "core/file_io.h"
#include "core/regions.h"
#include "ui/controls.h"
#include "ui/services.h"

namespace app {
namespace {

// The row's place in the list the dialog was given, kept on the address cell.
constexpr int kRowRole = Qt::UserRole;
// A number the column sorts by instead of its text.
constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kWidestColumn = 260;  // pixels: a long text is cut, its tip shows it whole
constexpr int kValueColumn = 120;   // pixels at least for names and values, however short

const char16_t* const kHeaders[CChangeListDlg::kColumnCount] = {
    u"アドレス", u"分類", u"テーブル", u"番号", u"名前", u"項目", u"変更前", u"変更後"};

// Sorts by kSortRole where a cell has one, by text otherwise.
class Cell : public QTableWidgetItem {
public:
    explicit Cell(const QString& text) : QTableWidgetItem(text) {
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        setToolTip(text);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        const QVariant mine = data(kSortRole), theirs = other.data(kSortRole);
        if (mine.isValid() && theirs.isValid()) return mine.toLongLong() < theirs.toLongLong();
        if (mine.isValid() != theirs.isValid()) return !mine.isValid();  // blank cells first
        return text() < other.text();
    }
};

QString U8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A value on one line: a line break shows as "↵".
QString OneLine(const std::string& text) { return U8(text).replace(QLatin1Char('\n'), QChar(0x21B5)); }

int FilterItemOf(int category) { return category >= 0 && category < tsumugi::kCategoryCount ? category + 1 : tsumugi::kCategoryCount + 1; }

}  // namespace

CChangeListDlg::CChangeListDlg(std::vector<tsumugi::ChangeRow> rows, QWidget* parent)
    : ui::Dialog(parent), m_rows(std::move(rows)) {
    setWindowTitle(QStringLiteral("変更一覧"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    CreateControls();
    FillTable();
    ApplyFilter();
    resize(960, 520);
}

void CChangeListDlg::CreateControls() {
    m_pFilter = new ui::ComboBox(QStringLiteral("分類"), this);
    QStringList items{QStringLiteral("すべて")};
    for (int c = 0; c < tsumugi::kCategoryCount; ++c) items << QString::fromUtf8(tsumugi::CategoryLabel(c));
    items << QStringLiteral("その他");
    m_pFilter->SetItems(items);
    m_pFilter->SetCurSel(0);
    m_pCount = new QLabel(this);
    m_pCount->setAccessibleName(QStringLiteral("件数"));
    auto* top = new QHBoxLayout;
    top->addWidget(ui::MakeLabel(QStringLiteral("分類"), m_pFilter, this));
    top->addWidget(m_pFilter);
    top->addStretch(1);
    top->addWidget(m_pCount);

    m_pTable = new QTableWidget(0, kColumnCount, this);
    ui::SetLabel(m_pTable, QStringLiteral("変更一覧"));
    QStringList headers;
    for (const char16_t* header : kHeaders) headers << QString::fromUtf16(header);
    m_pTable->setHorizontalHeaderLabels(headers);
    m_pTable->verticalHeader()->setVisible(false);
    m_pTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setWordWrap(false);
    m_pTable->horizontalHeader()->setStretchLastSection(true);

    auto* csv = new ui::Button(QStringLiteral("CSV出力"), this);
    auto* close = new ui::Button(QStringLiteral("閉じる"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(csv);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pTable, 1);
    layout->addLayout(buttons);

    connect(m_pFilter, &ui::ComboBox::SelChange, this, &CChangeListDlg::ApplyFilter);
    connect(csv, &QPushButton::clicked, this, &CChangeListDlg::OnExportCsv);
    connect(close, &QPushButton::clicked, this, [this] { EndDialog(QDialog::Accepted); });
}

void CChangeListDlg::FillTable() {
    m_pTable->setSortingEnabled(false);
    m_pTable->setRowCount(static_cast<int>(m_rows.size()));
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
        const tsumugi::ChangeRow& row = m_rows[static_cast<size_t>(r)];
        auto* address = new Cell(U8(tsumugi::CodeAddress(row.offset)));
        address->setData(kRowRole, r);
        address->setData(kSortRole, static_cast<qlonglong>(row.offset));
        auto* record = new Cell(row.record >= 0 ? QString::number(row.record) : QString());
        if (row.record >= 0) record->setData(kSortRole, row.record);
        auto* category = new Cell(QString::fromUtf8(tsumugi::CategoryLabel(row.category)));
        category->setData(kSortRole, FilterItemOf(row.category));
        const std::pair<int, QTableWidgetItem*> cells[] = {
            {kAddress, address},
            {kCategory, category},
            {kTable, new Cell(U8(row.table))},
            {kRecord, record},
            {kName, new Cell(U8(row.recordName))},
            {kField, new Cell(U8(row.field))},
            {kBefore, new Cell(OneLine(row.before))},
            {kAfter, new Cell(OneLine(row.after))},
        };
        for (const auto& [column, cell] : cells) m_pTable->setItem(r, column, cell);
    }
    m_pTable->resizeColumnsToContents();
    for (int c = 0; c < kColumnCount; ++c) {
        const int least = c == kName || c == kBefore || c == kAfter ? kValueColumn : 0;
        m_pTable->setColumnWidth(c, std::clamp(m_pTable->columnWidth(c), least, kWidestColumn));
    }
    m_pTable->setSortingEnabled(true);
    m_pTable->sortByColumn(kAddress, Qt::AscendingOrder);
}

void CChangeListDlg::ApplyFilter() {
    const int item = m_pFilter->GetCurSel();
    int shown = 0;
    for (int r = 0; r < m_pTable->rowCount(); ++r) {
        const int index = m_pTable->item(r, kAddress)->data(kRowRole).toInt();
        const bool show = item <= 0 || FilterItemOf(m_rows[static_cast<size_t>(index)].category) == item;
        m_pTable->setRowHidden(r, !show);
        shown += show ? 1 : 0;
    }
    m_pCount->setText(m_rows.empty() ? QStringLiteral("コードがありません") : QStringLiteral("%1件").arg(shown));
}

std::vector<tsumugi::ChangeRow> CChangeListDlg::ShownRows() const {
    std::vector<tsumugi::ChangeRow> rows;
    for (int r = 0; r < m_pTable->rowCount(); ++r) {
        if (m_pTable->isRowHidden(r)) continue;
        rows.push_back(m_rows[static_cast<size_t>(m_pTable->item(r, kAddress)->data(kRowRole).toInt())]);
    }
    return rows;
}

void CChangeListDlg::OnExportCsv() {
    ui::FileDialogOptions options;
    options.title = QStringLiteral("CSV出力");
    options.filterText = QStringLiteral("CSVﾌｧｲﾙ(*.csv)");
    options.filterPattern = QStringLiteral("*.csv");
    options.defaultSuffix = QStringLiteral("csv");
    const std::optional<QString> path = ui::services().SaveFile(this, options);
    if (!path) return;
    const std::string csv = tsumugi::ChangeRowsCsv(ShownRows());
    if (!tsumugi::WriteWholeFile(LocalPath(*path), reinterpret_cast<const uint8_t*>(csv.data()), csv.size())) {
        ui::MessageBox(this, QStringLiteral("CSVの保存に失敗しました。"));
    }
}

}  // namespace app
