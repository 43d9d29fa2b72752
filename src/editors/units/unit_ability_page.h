#pragma once
// Page "特殊技能": the special abilities as five groups of flag boxes, "特殊能力１" to
// "特殊能力5". The unit editor keeps them in bytes 32-36 of its record; the
// enhancement-part editor shows the same page with its own bytes and without group 5.
#include <QWidget>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

class QGroupBox;

namespace ui {
class CheckBox;
}

class CUnitAbilityPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kGroupCount = 5;

    explicit CUnitAbilityPage(QWidget* parent = nullptr);

    // Group 4 ("特殊能力5") can be switched off where a record has no such byte.
    void SetGroup5Enabled(bool enabled);

    // The flags of group (0-4) as a byte, bit 0 first; bits without a box are 0.
    uint8_t Bits(int group) const;
    void SetBits(int group, uint8_t bits);

    // Bytes 32-36 of a unit record.
    void LoadRecord(const uint8_t* record);
    void StoreRecord(uint8_t* record) const;

    // The groups kept in the record bytes at offsets, one per group in group order.
    // Groups past the list have no byte: they show no flag and store nothing.
    void LoadGroups(const uint8_t* record, std::span<const uint32_t> offsets);
    void StoreGroups(uint8_t* record, std::span<const uint32_t> offsets) const;

private:
    std::array<std::vector<ui::CheckBox*>, kGroupCount> m_boxes;
    std::array<QGroupBox*, kGroupCount> m_groups{};
};
