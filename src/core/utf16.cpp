#include "core/utf16.h"

namespace tsumugi {

std::pair<char32_t, size_t> DecodeUtf8(std::string_view text, size_t pos) {
    const auto lead = static_cast<uint8_t>(text[pos]);
    if (lead < 0x80) return {lead, 1};
    size_t length = 0;
    char32_t c = 0, minimum = 0;
    if (lead >= 0xC2 && lead < 0xE0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        return {0, 0};
    }
    if (text.size() - pos < length) return {0, 0};
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<uint8_t>(text[pos + k]);
        if ((next & 0xC0) != 0x80) return {0, 0};
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return {0, 0};
    return {c, length};
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        const auto [c, length] = DecodeUtf8(utf8, pos);
        if (length == 0) return std::nullopt;
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
        pos += length;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (size_t pos = 0; pos < utf16.size(); ++pos) {
        char32_t c = utf16[pos];
        if (c >= 0xD800 && c < 0xDC00 && pos + 1 < utf16.size() && utf16[pos + 1] >= 0xDC00 &&
            utf16[pos + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++pos] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

#ifdef _WIN32
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::optional<std::wstring> WideFromUtf8(std::string_view utf8) {
    const std::optional<std::u16string> wide = Utf8ToUtf16(utf8);
    if (!wide) return std::nullopt;
    return std::wstring(wide->begin(), wide->end());
}

std::string Utf8FromWide(std::wstring_view wide) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}
#endif

}  // namespace tsumugi
