#include "editors/common/slot_grid.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QStringListModel>
#include <algorithm>

#include "ui/controls.h"

namespace editors {
namespace {

// Room for three digits and the box's frame.
int NumberBoxWidth(const QWidget* box) {
    return box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12;
}

}  // namespace

SlotGrid::SlotGrid(const QString& title, std::span<const SlotHeader> headers,
                   std::span<const SlotRow> rows, const QStringList& items, ComboMapping mapping,
                   int comboCharacters) {
    auto* grid = new QGridLayout;
    m_pGroup = ui::MakeGroup(title, grid);
    auto* model = new QStringListModel(items, m_pGroup);

    // Headers name columns, not single boxes: the boxes carry their own names. Numbers
    // under a header take a second line, beside which the other headers stand lower.
    const bool numbers =
        std::any_of(headers.begin(), headers.end(), [](const SlotHeader& h) { return h.numbered; });
    const int firstRow = numbers ? 2 : 1;
    int column = 0;
    for (const SlotHeader& header : headers) {
        const Qt::Alignment align = column == 0 ? Qt::AlignLeft : Qt::AlignHCenter;
        const int rowSpan = header.numbered ? 1 : firstRow;
        grid->addWidget(new QLabel(header.text), 0, column, rowSpan, header.span,
                        align | Qt::AlignBottom);
        for (int k = 0; header.numbered && k < header.span; ++k) {
            grid->addWidget(new QLabel(QString::number(k + 1)), 1, column + k, Qt::AlignHCenter);
        }
        column += header.span;
    }

    int line = firstRow;
    for (const SlotRow& row : rows) {
        auto* combo = new ui::ComboBox(row.combo.name);
        combo->ShareModel(model);
        SetContentsLength(combo, comboCharacters);
        grid->addWidget(combo, line, 0);
        m_combos.emplace_back(combo, mapping);
        m_comboOffsets.push_back(row.combo.offset);
        int boxColumn = 1;
        for (const SlotCell& cell : row.numbers) {
            auto* box = new ui::Edit(cell.name);
            box->setFixedWidth(NumberBoxWidth(box));
            box->setAlignment(Qt::AlignRight);
            grid->addWidget(box, line, boxColumn++);
            m_numbers.push_back({box, cell.offset, 1});
        }
        ++line;
    }
    grid->setRowStretch(line, 1);
    grid->setColumnStretch(column, 1);
}

void SlotGrid::Load(const uint8_t* record) {
    LoadNumbers(m_numbers, record);
    for (size_t i = 0; i < m_combos.size(); ++i) m_combos[i].Load(record[m_comboOffsets[i]]);
}

void SlotGrid::StoreCombos(uint8_t* record) const {
    for (size_t i = 0; i < m_combos.size(); ++i) {
        record[m_comboOffsets[i]] = static_cast<uint8_t>(m_combos[i].Store());
    }
}

bool SlotGrid::ReadNumbers(std::vector<uint32_t>& values) const {
    return editors::ReadNumbers(m_numbers, values);
}

void SlotGrid::WriteNumbers(const std::vector<uint32_t>& values, uint8_t* record) const {
    editors::WriteNumbers(m_numbers, values, record);
}

}  // namespace editors
