#include "core/address.h"

#include <algorithm>
#include <cstdio>

#include "core/bytes.h"
#include "core/patch_code.h"

namespace tsumugi {
namespace {

constexpr uint8_t kEnd = 0xFF;

// The first byte from `from` on that is not 0x00 filler.
std::optional<uint32_t> SkipFiller(const uint8_t* rom, uint32_t size, uint32_t from) {
    while (from < size && rom[from] == 0x00) ++from;
    if (from >= size) return std::nullopt;
    return from;
}

}  // namespace

std::optional<uint32_t> ParseAddress(std::string_view text) {
    text = text.substr(0, kAddressFieldLength);
    // 0xFFFFFFFF also marks a bad character; as a value it is no address either.
    const uint32_t value = ParseHex(text);
    if (value < kGameDataEnd) return value;
    if (IsBusAddress(value)) return value - kBusBase;
    return std::nullopt;
}

std::string AddressText(uint32_t offset) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", offset < kGameDataEnd ? offset : offset + kBusBase);
    return text;
}

std::optional<uint32_t> FindNextString(const uint8_t* rom, uint32_t size, uint32_t offset) {
    // The search gives up after the last byte of the first 16 MiB; one that starts past
    // it, in the extension area, never reaches that limit and ends with the image.
    const uint32_t end = offset < kGameDataEnd ? std::min(size, kGameDataEnd) : size;
    for (uint32_t i = offset; i < end; ++i) {
        if (rom[i] == kEnd) return SkipFiller(rom, size, i + 1);
    }
    return std::nullopt;
}

std::optional<uint32_t> FindPrevString(const uint8_t* rom, uint32_t size, uint32_t offset) {
    if (size == 0) return std::nullopt;
    int found = 0;
    for (uint32_t i = std::min(offset, size - 1) + 1; i-- > 0;) {
        if (rom[i] == kEnd && ++found == 2) return SkipFiller(rom, size, i + 1);
    }
    return std::nullopt;
}

}  // namespace tsumugi
