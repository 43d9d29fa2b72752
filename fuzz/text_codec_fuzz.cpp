// Decode and Encode over arbitrary game bytes with the demo character table. The input's
// first two bytes give the limit (negative ones included), the third where in the image
// the text starts; the rest is the image, in a heap block of its exact size so that any
// read past its end is caught.
//  - Decode never reads past the image; its length counts at most the span, the byte a
//    pair begun at the span's last position takes after it, and a terminator;
//  - text that decodes cleanly encodes without error and decodes back to itself;
//  - Encode never writes at or past bytes + limit, whatever text it is given.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/char_table.h"
#include "core/text_codec.h"
#include "demo/rom.h"
#include "fuzz_check.h"

namespace {

void LoadDemoTable() {
    static const bool loaded = [] {
        const std::string table = tsumugi::demo::StringTable();
        tsumugi::CharTable& t = tsumugi::CharTable::Instance();
        const bool ok = t.Parse(reinterpret_cast<const uint8_t*>(table.data()), table.size());
        t.m_bLoaded = ok;
        return ok;
    }();
    FUZZ_CHECK(loaded);
}

// Encodes text into a block of exactly limit bytes and returns what was written.
std::vector<uint8_t> EncodeInto(tsumugi::CTextCodec& codec, const std::string& text, int limit,
                                int& rc) {
    const size_t room = limit > 0 ? static_cast<size_t>(limit) : 0;
    std::unique_ptr<uint8_t[]> block(new uint8_t[room + (room == 0 ? 1 : 0)]);
    rc = codec.Encode(text, room == 0 ? nullptr : block.get(), limit);
    if (rc == 1) {
        FUZZ_CHECK(codec.m_nLength >= 0 && codec.m_nLength <= (limit > 0 ? limit : 0));
        if (codec.m_nLength > 0)
            FUZZ_CHECK(block[static_cast<size_t>(codec.m_nLength) - 1] == 0xFF);
    }
    return std::vector<uint8_t>(block.get(),
                                block.get() + (rc == 1 ? static_cast<size_t>(codec.m_nLength) : 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    LoadDemoTable();
    const int limit = static_cast<int16_t>(data[0] | (data[1] << 8));
    const size_t imageSize = size - 3;
    const size_t start = imageSize == 0 ? 0 : data[2] % (imageSize + 1);
    std::unique_ptr<uint8_t[]> image(new uint8_t[imageSize == 0 ? 1 : imageSize]);
    if (imageSize > 0) std::memcpy(image.get(), data + 3, imageSize);

    tsumugi::CTextCodec codec(image.get(), static_cast<uint32_t>(imageSize));
    std::string text;
    FUZZ_CHECK(codec.Decode(text, image.get() + start, limit) == 1);
    if (limit >= 0)
        FUZZ_CHECK(codec.m_nLength >= 0 &&
                   static_cast<size_t>(codec.m_nLength) <= static_cast<size_t>(limit) + 2);

    if (codec.m_nStatus == 0) {
        int rc = 0;
        const std::vector<uint8_t> game =
            EncodeInto(codec, text, static_cast<int>(2 * text.size() + 2), rc);
        FUZZ_CHECK(rc == 1 && codec.m_nStatus == 0);
        tsumugi::CTextCodec again(game.data(), static_cast<uint32_t>(game.size()));
        std::string back;
        FUZZ_CHECK(again.Decode(back, game.data(), static_cast<int>(game.size())) == 1);
        FUZZ_CHECK(again.m_nStatus == 0 && back == text);
        // The same text into the limit the input asked for: cut, or whole and the same.
        const std::vector<uint8_t> cut = EncodeInto(codec, text, limit, rc);
        FUZZ_CHECK(rc == 1);
        if (codec.m_nStatus == 0) FUZZ_CHECK(cut == game);
    }

    // The raw input as display text, into a block of exactly the asked limit.
    int rc = 0;
    EncodeInto(codec, std::string(reinterpret_cast<const char*>(data + 3), imageSize), limit, rc);
    return 0;
}
