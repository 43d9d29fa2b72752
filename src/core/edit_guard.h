#pragma once
// Guards one editor run: scratch copies of a category's regions and of the extension
// area past 16 MiB, turned into patch codes on OK or written back on any other close.
#include <cstdint>
#include <vector>

#include "core/byte_buffer.h"
#include "core/history.h"
#include "core/patch_code.h"
#include "core/regions.h"
#include "core/rom_image.h"

namespace tsumugi {

class EditGuard {
public:
    enum class BeginResult { Ok, NoRom, RomTooShort, OutOfMemory };

    // Copies the category's regions (table order) and, when the ROM is longer than
    // 16 MiB, the extension area. Refuses a ROM that ends before a region ends.
    BeginResult Begin(const RomImage& rom, int category);

    // OK: DiffRegion each region, then the extension area, into codes.
    void Commit(PatchCodeList& codes);
    // The bytes the editor changed, region by region, then the extension area, into step.
    void Collect(Step& step) const;
    // Anything else: every copy back over its bytes, so the buffer is as before.
    void Restore();

    bool HasExtension() const { return m_hasExtension; }
    size_t RegionCount() const { return m_copies.size(); }

private:
    struct Copy {
        DataRegion region;
        ByteBuffer bytes;
    };
    uint8_t* m_pRom = nullptr;
    uint32_t m_nSize = 0;
    std::vector<Copy> m_copies;
    ByteBuffer m_extension;
    bool m_hasExtension = false;
};

}  // namespace tsumugi
