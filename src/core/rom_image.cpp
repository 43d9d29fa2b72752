#include "core/rom_image.h"

#include <cstring>
#include <limits>
#include <utility>

#include "core/file_io.h"
#include "core/platform.h"

namespace tsumugi {

namespace {
constexpr uint8_t kTitle[rom_header::kTitleLength] = {'P', 'L', 'D', 'N', 'X', '4', 0, 0};
constexpr uint32_t kFillBlock = 0x100000;  // lengthening appends 1 MiB at a time
constexpr uint8_t kFillByte = 0xFF;
}  // namespace

bool RomImage::TitleMatches(const uint8_t* data, uint32_t size) {
    return data != nullptr && size >= rom_header::kMinimumSize &&
           std::memcmp(data + rom_header::kTitleOffset, kTitle, rom_header::kTitleLength) == 0;
}

void RomImage::Unload() {
    m_buffer.Free();
    m_pData = nullptr;
    m_nSize = 0;
    m_szPath.clear();
}

bool RomImage::Load(const std::string& path, const AcceptWrongTitle& acceptWrongTitle) {
    const std::string chosen = path;  // path may be our own m_szPath, which Unload clears
    Unload();

    std::optional<ByteBuffer> contents = ReadWholeFile(chosen);
    // An empty file has nothing to hold (and no buffer to point at): it counts as unreadable.
    if (!contents || contents->Empty()) return false;

    const auto size = static_cast<uint32_t>(contents->Size());
    if (!TitleMatches(contents->Data(), size)) {
        if (!acceptWrongTitle || !acceptWrongTitle()) return false;
    }
    m_buffer = std::move(*contents);
    m_pData = m_buffer.Data();
    m_nSize = size;
    m_szPath = chosen;
    return true;
}

bool RomImage::SaveTo(const std::string& path) const {
    if (!IsLoaded()) return false;
    return WriteWholeFile(path, m_pData, m_nSize);
}

bool RomImage::ExtendFile(uint32_t newSize) const {
    if (newSize <= m_nSize) return true;
    // The file must still be there: lengthening a file that vanished would leave a file of
    // nothing but padding under the ROM's name.
    FileHandle file(OpenFile(m_szPath, O_WRONLY | O_APPEND));
    if (!file.IsOpen()) return false;
    const std::optional<uint64_t> length = FileLengthOf(file.Get());
    if (!length || *length > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return false;
    const auto oldLength = static_cast<off_t>(*length);

    // A lengthening that fails half way is taken back, so the file keeps the length it had.
    auto takeBack = [&]() {
        if (CurrentFileOps().ftruncate(file.Get(), oldLength) == 0) SyncFile(file.Get());
        return false;
    };
    uint32_t remaining = newSize - m_nSize;
    ByteBuffer fill;
    if (!fill.Allocate(remaining < kFillBlock ? remaining : kFillBlock)) return false;
    std::memset(fill.Data(), kFillByte, fill.Size());
    while (remaining > 0) {
        const uint32_t chunk = remaining < kFillBlock ? remaining : kFillBlock;
        if (!WriteAll(file.Get(), fill.Data(), chunk)) return takeBack();
        remaining -= chunk;
    }
    if (!SyncFile(file.Get())) return takeBack();
    if (file.Close()) return true;
    // The close failed after a good sync: the padding is on disk but the failure is
    // reported, so take it back through a fresh descriptor.
    ResizeFile(m_szPath, static_cast<uint64_t>(oldLength));
    return false;
}

bool RomImage::ExtendImage(uint32_t newSize) {
    if (!IsLoaded()) return false;
    if (newSize <= m_nSize) return true;
    ByteBuffer longer;
    if (!longer.Allocate(newSize)) return false;
    std::memcpy(longer.Data(), m_pData, m_nSize);
    std::memset(longer.Data() + m_nSize, kFillByte, newSize - m_nSize);
    m_buffer = std::move(longer);
    m_pData = m_buffer.Data();
    m_nSize = newSize;
    return true;
}

}  // namespace tsumugi
