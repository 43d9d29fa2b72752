#pragma once
// A drop-down list bound to one record field. The items stand for the values 0 .. count-1
// in order, optionally followed by one "none" item for a special value (0xFF, 0xFFFF).
// A stored value outside that list leaves the combo without a selection; storing then
// gives back the value that was loaded, so the field keeps its bytes untouched, unless
// the mapping says that an empty combo stands for "none".
#include <cstdint>
#include <optional>

namespace ui {
class ComboBox;
}

namespace editors {

struct ComboMapping {
    int count = 0;                  // items 0 .. count-1 stand for their own value
    std::optional<uint32_t> none;   // value of the extra last item, if there is one
    bool emptyStoresNone = false;   // with none: an empty combo stores none, not the loaded value
    bool countShowsNone = false;    // with none: the value count (the none item's position)
                                    // also selects the none item

    // The item showing value, or -1 when value lies outside the list.
    int ItemOf(uint32_t value) const;
    // The value of item, or nothing for -1 and positions past the list.
    std::optional<uint32_t> ValueOf(int item) const;
};

class ValueCombo {
public:
    ValueCombo() = default;
    ValueCombo(ui::ComboBox* combo, ComboMapping mapping) : m_pCombo(combo), m_mapping(mapping) {}

    ui::ComboBox* Combo() const { return m_pCombo; }

    // Selects the item of value (none when it lies outside the list) and remembers value.
    void Load(uint32_t value);
    // The selected item's value; when nothing is selected, the none value if the mapping
    // asks for it, otherwise the value last loaded.
    uint32_t Store() const;

private:
    ui::ComboBox* m_pCombo = nullptr;
    ComboMapping m_mapping;
    uint32_t m_nLoaded = 0;
};

// The "none" items of record-number combos.
inline constexpr uint32_t kNone8 = 0xFF;
inline constexpr uint32_t kNone16 = 0xFFFF;

}  // namespace editors
