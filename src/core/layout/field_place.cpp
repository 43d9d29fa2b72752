#include "core/layout/field_place.h"

#include <cstdio>

#include "core/bytes.h"

namespace tsumugi::layout {
namespace {

std::string Format(const char* format, uint32_t a, uint32_t b = 0) {
    char text[48];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// The values a whole-value field takes: "0～65535", with the "none" value when it has one.
std::string Values(const Field& field) {
    uint32_t max = MaxOf(field);
    if (field.kind == FieldKind::Reference && CountOf(field.refers) > 0) {
        max = static_cast<uint32_t>(CountOf(field.refers) - 1);
    }
    if (field.kind == FieldKind::Flag) max = 1;
    std::string values = Format("0～%u", max);
    if (field.none >= 0) values += Format(", 無し=0x%X", static_cast<uint32_t>(field.none));
    return values;
}

}  // namespace

std::string FieldPlace(const Table& table, const Field& field, int record) {
    std::optional<uint32_t> at;
    if (record >= 0 && record < table.count) at = table.base + table.size * static_cast<uint32_t>(record);
    return FieldPlace(field, at);
}

std::string PointedTextPlace(const Field& pointer, uint32_t record, uint32_t text, std::optional<uint32_t> room) {
    std::string place = Format("+0x%02X (0x%08X)", pointer.offset, kBusBase + record + pointer.offset) +
                        Format(" → 0x%08X", kBusBase + text);
    return room ? place + Format(", %uバイト", *room) : place;
}

std::string FieldPlace(const Field& field, std::optional<uint32_t> record) {
    std::string place = Format("+0x%02X", field.offset);
    if (record) place += Format(" (0x%08X)", kBusBase + *record + field.offset);
    if (field.kind == FieldKind::Text) return place + Format(", %uバイト", field.width);
    if (field.bits == 1) return place + Format(" ビット%u", field.shift);
    if (field.bits > 1) {
        place += Format(" ビット%u～%u", field.shift, field.shift + field.bits - 1u);
        return place + (field.kind == FieldKind::Rank ? std::string(", S～D") : ", " + Values(field));
    }
    return place + Format(", %uビット, ", 8u * field.width) + Values(field);
}

}  // namespace tsumugi::layout
