#pragma once
// Addresses typed by the user and the string walk of the string tool. An address is a
// file offset below 16 MiB written plainly, or a bus address 0x08000000-0x09FFFFFF
// (file offset + 0x08000000).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tsumugi {

// At most this many characters of an address field are read.
constexpr size_t kAddressFieldLength = 15;

// Reads the field by the hexadecimal rule of the code files (from the last character
// back; a lower-case "x" ends it; digits beyond the eighth from the right add nothing).
// An empty field is offset 0. nullopt when a character is neither a hexadecimal digit
// nor "x", or when a value above 0xFFFFFF is not a bus address.
std::optional<uint32_t> ParseAddress(std::string_view text);

// The offset as eight upper-case hexadecimal digits; an offset past 16 MiB, which the
// plain form cannot name, is written as its bus address so that it reads back.
std::string AddressText(uint32_t offset);

// Strings end in 0xFF and may be followed by 0x00 filler. Both walks stay inside
// rom[0, size) and give nullopt when there is no such string.
//
// The start of the string after the 0xFF found from offset on (the byte at offset
// included); the search for that 0xFF gives up after offset 0xFFFFFF, or, when it starts
// in the extension area past 16 MiB, at the end of the image.
std::optional<uint32_t> FindNextString(const uint8_t* rom, uint32_t size, uint32_t offset);
// The start of the string after the second 0xFF found going back from offset (included).
std::optional<uint32_t> FindPrevString(const uint8_t* rom, uint32_t size, uint32_t offset);

}  // namespace tsumugi
