#pragma once
// UTF-8 characters one at a time, and whole texts between UTF-8 and UTF-16 (what Windows
// takes for paths and gives for arguments). Strict: a text that is not well-formed UTF-8
// does not convert.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tsumugi {

// The scalar value of the well-formed UTF-8 character at text[pos] and its length; length
// 0 when the bytes there are none (a stray or missing continuation byte, an overlong form,
// a surrogate, a value past U+10FFFF, a character cut short).
std::pair<char32_t, size_t> DecodeUtf8(std::string_view text, size_t pos);

// Appends the UTF-8 form of a scalar value.
void AppendUtf8(std::string& out, char32_t c);

// nullopt when utf8 is not well-formed.
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);
// A surrogate without its partner becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

#ifdef _WIN32
// The same for Windows' wide strings (UTF-16 there).
std::optional<std::wstring> WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
#endif

}  // namespace tsumugi
