#pragma once
// Builders for the field descriptors that the tables_*.cpp files lay out.
#include <deque>
#include <string>
#include <utility>

#include "core/layout/descriptor.h"

namespace tsumugi::layout::detail {

constexpr Field Rank(const char* label, uint32_t offset, int nibble) {
    return {.label = label, .offset = offset, .width = 2, .kind = FieldKind::Rank,
            .shift = static_cast<uint8_t>(4 * nibble), .bits = 4};
}
// One bit of a byte (or of a 16-bit word with width 2).
constexpr Field Flag(const char* label, uint32_t offset, int bit, uint8_t width = 1) {
    return {.label = label, .offset = offset, .width = width, .kind = FieldKind::Flag,
            .shift = static_cast<uint8_t>(bit), .bits = 1};
}
// A check box that owns its whole byte: ticked when non-zero, written as 1 or 0.
constexpr Field ByteFlag(const char* label, uint32_t offset) {
    return {.label = label, .offset = offset, .width = 1, .kind = FieldKind::Flag};
}
constexpr Field Number(const char* label, uint32_t offset, uint8_t width, uint32_t max = 0) {
    return {.label = label, .offset = offset, .width = width, .max = max};
}
constexpr Field Choice(const char* label, uint32_t offset, uint32_t max, int64_t none = -1,
                       uint8_t width = 1) {
    return {.label = label, .offset = offset, .width = width, .kind = FieldKind::Choice, .max = max,
            .none = none};
}
// A choice among fixed items, 0 .. items.size() - 1.
constexpr Field Choice(const char* label, uint32_t offset, std::span<const char* const> items,
                       int64_t none = -1, uint8_t width = 1) {
    return {.label = label, .offset = offset, .width = width, .kind = FieldKind::Choice,
            .max = static_cast<uint32_t>(items.size() - 1), .none = none, .items = items};
}
constexpr Field Refer(const char* label, uint32_t offset, uint8_t width, Ref ref, int64_t none) {
    return {.label = label, .offset = offset, .width = width, .kind = FieldKind::Reference,
            .refers = ref, .none = none};
}
constexpr Field Text(const char* label, uint32_t offset, uint32_t room) {
    return {.label = label, .offset = offset, .width = static_cast<uint8_t>(room),
            .kind = FieldKind::Text};
}

// Keeps a label built at run time ("その１ 説明") for the life of the program.
inline const char* KeepLabel(std::string label) {
    static std::deque<std::string> kept;
    return kept.emplace_back(std::move(label)).c_str();
}

}  // namespace tsumugi::layout::detail
