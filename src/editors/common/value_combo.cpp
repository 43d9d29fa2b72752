#include "editors/common/value_combo.h"

#include "ui/controls.h"

namespace editors {

int ComboMapping::ItemOf(uint32_t value) const {
    if (value < static_cast<uint32_t>(count)) return static_cast<int>(value);
    if (none && value == *none) return count;
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
    return m_mapping.ValueOf(m_pCombo->GetCurSel()).value_or(m_nLoaded);
}

}  // namespace editors
