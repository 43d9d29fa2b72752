// Typed addresses and the string walk. The input is split: its first bytes are an address
// field, the rest an image walked from the offset that field names.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/address.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t fieldLength = data[0] % 24;
    if (size < 1 + fieldLength) return 0;
    const std::string_view field(reinterpret_cast<const char*>(data + 1), fieldLength);

    const std::optional<uint32_t> offset = tsumugi::ParseAddress(field);
    if (offset) {
        // What the reader accepts is a place the written form can name again.
        FUZZ_CHECK(*offset < 0x2000000u);
        FUZZ_CHECK(tsumugi::ParseAddress(tsumugi::AddressText(*offset)) == offset);
    }

    // The image gets a heap block of its exact size, so any read past it is caught.
    const size_t imageSize = size - 1 - fieldLength;
    std::vector<uint8_t> image(data + 1 + fieldLength, data + size);
    const auto n = static_cast<uint32_t>(imageSize);
    const uint32_t from = offset.value_or(0) % (n + 2);
    for (const auto found : {tsumugi::FindNextString(image.data(), n, from),
                             tsumugi::FindPrevString(image.data(), n, from)}) {
        if (!found) continue;
        // A string found starts inside the image, on a byte that is no filler, right
        // after a terminator or its filler.
        FUZZ_CHECK(*found < n);
        FUZZ_CHECK(image[*found] != 0x00);
        FUZZ_CHECK(*found > 0);
        uint32_t before = *found - 1;
        while (before > 0 && image[before] == 0x00) --before;
        FUZZ_CHECK(image[before] == 0xFF);
    }
    return 0;
}
