#include "editors/common/value_combo.h"

#include "ui/controls.h"

namespace editors {

int ComboMapping::ItemOf(uint32_t value) const {
    if (value < static_cast<uint32_t>(count)) return static_cast<int>(value);
    if (none && (value == *none || (countShowsNone && value == static_cast<uint32_t>(count)))) {
        return count;
    }
    return -1;
}

std::optional<uint32_t> ComboMapping::ValueOf(int item) const {
    if (item >= 0 && item < count) return static_cast<uint32_t>(item);
    if (none && item == count) return none;
    return std::nullopt;
}

void ValueCombo::Load(uint32_t value) {
    m_nLoaded = value;
    m_pCombo->SetCurSel(m_mapping.ItemOf(value));
}

uint32_t ValueCombo::Store() const {
    if (const std::optional<uint32_t> value = m_mapping.ValueOf(m_pCombo->GetCurSel())) return *value;
    if (m_mapping.emptyStoresNone && m_mapping.none) return *m_mapping.none;
    return m_nLoaded;
}

}  // namespace editors
