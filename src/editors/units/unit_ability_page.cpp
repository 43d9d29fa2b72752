#include "editors/units/unit_ability_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "core/layout/units.h"
#include "ui/controls.h"

namespace {

using tsumugi::layout::unit_record::kAbilityGroups;
using tsumugi::layout::unit_record::kAbilities;

// A unit keeps the five groups in consecutive bytes.
constexpr std::array<uint32_t, CUnitAbilityPage::kGroupCount> kUnitGroupBytes = {
    kAbilities, kAbilities + 1, kAbilities + 2, kAbilities + 3, kAbilities + 4};

}  // namespace

CUnitAbilityPage::CUnitAbilityPage(QWidget* parent) : QWidget(parent) {
    for (int g = 0; g < kGroupCount; ++g) {
        auto* layout = new QVBoxLayout;
        for (const char* label : kAbilityGroups[g].labels) {
            if (label == nullptr) break;
            auto* box = new ui::CheckBox(QString::fromUtf8(label));
            m_boxes[g].push_back(box);
            layout->addWidget(box);
        }
        layout->addStretch();
        m_groups[g] = ui::MakeGroup(QString::fromUtf8(kAbilityGroups[g].title), layout, this);
    }
    // Groups with one box share a column; the three full groups stand beside them.
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_groups[0], 0, 0, 2, 1);
    grid->addWidget(m_groups[1], 0, 1);
    grid->addWidget(m_groups[3], 1, 1);
    grid->addWidget(m_groups[2], 0, 2, 2, 1);
    grid->addWidget(m_groups[4], 0, 3, 2, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(4, 1);
}

void CUnitAbilityPage::SetGroup5Enabled(bool enabled) {
    for (ui::CheckBox* box : m_boxes[4]) box->setEnabled(enabled);
}

uint8_t CUnitAbilityPage::Bits(int group) const {
    uint8_t bits = 0;
    if (group < 0 || group >= kGroupCount) return bits;
    for (size_t i = 0; i < m_boxes[group].size(); ++i) {
        if (m_boxes[group][i]->GetCheck()) bits |= static_cast<uint8_t>(1u << i);
    }
    return bits;
}

void CUnitAbilityPage::SetBits(int group, uint8_t bits) {
    if (group < 0 || group >= kGroupCount) return;
    for (size_t i = 0; i < m_boxes[group].size(); ++i) m_boxes[group][i]->SetCheck((bits >> i) & 1);
}

void CUnitAbilityPage::LoadRecord(const uint8_t* record) { LoadGroups(record, kUnitGroupBytes); }

void CUnitAbilityPage::StoreRecord(uint8_t* record) const { StoreGroups(record, kUnitGroupBytes); }

void CUnitAbilityPage::LoadGroups(const uint8_t* record, std::span<const uint32_t> offsets) {
    for (int g = 0; g < kGroupCount; ++g) {
        SetBits(g, static_cast<size_t>(g) < offsets.size() ? record[offsets[g]] : 0);
    }
}

void CUnitAbilityPage::StoreGroups(uint8_t* record, std::span<const uint32_t> offsets) const {
    for (size_t g = 0; g < offsets.size() && g < kGroupCount; ++g) {
        record[offsets[g]] = Bits(static_cast<int>(g));
    }
}
