// The demo ROM: an image a little past 16 MiB filled with 0xFF, a cartridge header with the game's title,
// and every table the editors read filled with made-up but plausible records.
#include "demo/rom.h"

#include "core/bytes.h"
#include "demo/data.h"
#include "core/file_io.h"
#include "core/rom_image.h"

namespace tsumugi::demo {
namespace detail {

bool RomWriter::Inside(uint32_t at, uint32_t length) const {
    return at <= m_rom.size() && length <= m_rom.size() - at;
}

void RomWriter::Put8(uint32_t at, uint8_t value) {
    if (Inside(at, 1)) m_rom[at] = value;
}

void RomWriter::Put16(uint32_t at, uint16_t value) {
    if (Inside(at, 2)) Write16(&m_rom[at], value);
}

void RomWriter::Put32(uint32_t at, uint32_t value) {
    if (Inside(at, 4)) Write32(&m_rom[at], value);
}

void RomWriter::PutPointer(uint32_t at, uint32_t offset) { Put32(at, kBusBase + offset); }

void RomWriter::PutBytes(uint32_t at, const std::vector<uint8_t>& bytes) {
    const auto length = static_cast<uint32_t>(bytes.size());
    if (!Inside(at, length)) return;
    for (uint32_t k = 0; k < length; ++k) m_rom[at + k] = bytes[k];
}

void RomWriter::Fill(uint32_t at, uint32_t length, uint8_t value) {
    if (!Inside(at, length)) return;
    for (uint32_t k = 0; k < length; ++k) m_rom[at + k] = value;
}

bool RomWriter::PutField(uint32_t at, uint32_t room, const std::vector<uint8_t>& bytes) {
    if (room == 0) return bytes.empty();
    Fill(at, room, 0x00);
    std::vector<uint8_t> field = bytes;
    const bool fits = field.size() <= room;
    if (!fits) {
        field.resize(room);
        field.back() = 0xFF;
    }
    PutBytes(at, field);
    return fits;
}

bool RomWriter::PutText(uint32_t at, uint32_t room, const std::string& cp932) {
    return PutField(at, room, EncodeText(cp932));
}

uint32_t TextArea::Add(const std::vector<uint8_t>& bytes, uint32_t slack) {
    const uint32_t at = m_next;
    m_writer.PutBytes(at, bytes);
    m_writer.Fill(at + static_cast<uint32_t>(bytes.size()), slack, 0x00);
    m_next = at + static_cast<uint32_t>(bytes.size()) + slack;
    return at;
}

uint32_t TextArea::Add(const std::string& cp932, uint32_t slack) {
    return Add(EncodeText(cp932), slack);
}

void TextArea::Align(uint32_t alignment) {
    const uint32_t pad = (alignment - m_next % alignment) % alignment;
    m_writer.Fill(m_next, pad, 0x00);
    m_next += pad;
}

namespace {

namespace header {
constexpr uint32_t kEntry = 0x00;
constexpr uint32_t kEntryBranch = 0xEA00002E;  // ARM "b 0x080000C0": past the header
constexpr uint32_t kEnd = 0xC0;
constexpr char kTitle[] = "PLDNX4";
constexpr uint32_t kTitleFieldLength = 12;  // 0xA0-0xAB, zero padded
constexpr uint32_t kFixedValue = 0xB2;      // always 0x96
constexpr uint32_t kChecksum = 0xBD;        // complement of 0xA0-0xBC
}  // namespace header

void WriteHeader(RomWriter& rom, std::vector<uint8_t>& image) {
    rom.Fill(0, header::kEnd, 0x00);
    rom.Put32(header::kEntry, header::kEntryBranch);
    for (uint32_t k = 0; k < sizeof header::kTitle - 1; ++k) {
        rom.Put8(rom_header::kTitleOffset + k, static_cast<uint8_t>(header::kTitle[k]));
    }
    static_assert(sizeof header::kTitle - 1 <= header::kTitleFieldLength);
    rom.Put8(header::kFixedValue, 0x96);
    uint8_t sum = 0;
    for (uint32_t k = rom_header::kTitleOffset; k < header::kChecksum; ++k) sum += image[k];
    rom.Put8(header::kChecksum, static_cast<uint8_t>(-(sum + 0x19)));
}

std::string Join(const std::string& dir, const char* name) {
    if (dir.empty()) return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

}  // namespace
}  // namespace detail

std::vector<uint8_t> BuildRom() {
    std::vector<uint8_t> image(kDemoRomSize, 0xFF);
    detail::RomWriter rom(image);
    detail::WriteHeader(rom, image);
    detail::WriteUnitsAndPilots(rom);
    detail::WriteAbilities(rom);
    detail::WriteBonuses(rom);
    detail::WriteScenario(rom);
    detail::WriteBattleLines(rom);
    return image;
}

bool WriteDemo(const std::string& dir) {
    const std::vector<uint8_t> image = BuildRom();
    const std::string table = StringTable();
    return WriteWholeFile(detail::Join(dir, "demo.gba"), image.data(), image.size()) &&
           WriteWholeFile(detail::Join(dir, "string.txt"),
                          reinterpret_cast<const uint8_t*>(table.data()), table.size());
}

}  // namespace tsumugi::demo
