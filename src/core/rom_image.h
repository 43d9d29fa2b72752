#pragma once
// The whole ROM file in one heap buffer, its length and the path it came from.
#include <cstdint>
#include <functional>
#include <string>

#include "core/byte_buffer.h"

namespace tsumugi {

namespace rom_header {
constexpr uint32_t kTitleOffset = 0xA0;
constexpr uint32_t kTitleLength = 8;  // "PLDNX4" and two zero bytes
constexpr uint32_t kMinimumSize = kTitleOffset + kTitleLength;
}  // namespace rom_header

// Asked when the cartridge title is not the game's: true loads the file anyway.
using AcceptWrongTitle = std::function<bool()>;

class RomImage {
public:
    uint8_t* m_pData = nullptr;  // the whole file, or null when no ROM is loaded
    uint32_t m_nSize = 0;        // byte length of the buffer
    std::string m_szPath;        // path of the file the image was loaded from

    bool IsLoaded() const { return m_pData != nullptr; }

    // Discards the current image, reads the file at path and checks the title; a file too
    // short to hold a title counts as a mismatch. A declined or failed load leaves no ROM.
    bool Load(const std::string& path, const AcceptWrongTitle& acceptWrongTitle);

    // Writes the whole image to path (created or truncated), durable on return. False when
    // no ROM is loaded or the write failed.
    bool SaveTo(const std::string& path) const;

    // Lengthens the file at m_szPath to newSize bytes with 0xFF, leaving memory alone.
    // True at once when newSize is not above m_nSize. False when the file cannot be
    // opened or a write, the sync or the close fails; the file is then cut back to the
    // length it had.
    bool ExtendFile(uint32_t newSize) const;

    // Lengthens the image in memory to newSize bytes the way ExtendFile lengthens the
    // file: 0xFF after the old end, everything before it kept. True at once when newSize
    // is not above m_nSize. False (and the image unchanged) when no ROM is loaded or the
    // memory cannot be had. The buffer moves: m_pData changes.
    bool ExtendImage(uint32_t newSize);

    void Unload();

    static bool TitleMatches(const uint8_t* data, uint32_t size);

private:
    ByteBuffer m_buffer;
};

}  // namespace tsumugi
