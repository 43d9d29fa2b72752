// Code files of any content: every code read names a place in the two bus windows, and
// writing the codes out in the file's own form reads back to the same list.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/patch_code.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const tsumugi::PatchCodeList codes = tsumugi::ParseCodeText(data, size);
    std::string text;
    for (const auto& [offset, value] : codes) {
        FUZZ_CHECK(offset < 0x2000000u);
        char line[16];
        std::snprintf(line, sizeof line, "%08X:%04X\r\n", offset + 0x08000000u, value);
        text += line;
    }
    const tsumugi::PatchCodeList again =
        tsumugi::ParseCodeText(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    FUZZ_CHECK(again.Size() == codes.Size());
    auto a = again.begin();
    for (const auto& [offset, value] : codes) {
        FUZZ_CHECK(a->first == offset && a->second == value);
        ++a;
    }
    // The hexadecimal field reader on the raw text, as the dialogs feed it.
    tsumugi::ParseHex(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
