#include "core/patch_target.h"

#include <algorithm>
#include <cstdio>

#include "core/bps.h"
#include "core/bytes.h"
#include "core/ips.h"

namespace tsumugi {

std::optional<std::vector<uint8_t>> ApplyCodesExtending(const uint8_t* rom, size_t size,
                                                        const PatchCodeList& codes) {
    if (size > kMaxPatchImage) return std::nullopt;
    size_t length = size;
    if (!codes.Empty()) {
        const uint64_t needed = uint64_t{codes.MaxOffset()} + 2;
        if (needed > kMaxPatchImage) return std::nullopt;
        if (needed > length) length = static_cast<size_t>(needed);
    }
    std::vector<uint8_t> image(length, 0xFF);
    if (size > 0) std::copy(rom, rom + size, image.begin());
    for (const auto& [offset, value] : codes) Write16(image.data() + offset, value);
    return image;
}

bool HoldsEveryCode(const uint8_t* rom, size_t size, const PatchCodeList& codes) {
    for (const auto& [offset, value] : codes) {
        if (uint64_t{offset} + 2 > size || Read16(rom + offset) != value) return false;
    }
    return true;
}

PatchOutcome MakePatchFromCodes(PatchFormat format, const uint8_t* rom, size_t size,
                                const PatchCodeList& codes) {
    const std::optional<std::vector<uint8_t>> target = ApplyCodesExtending(rom, size, codes);
    if (!target) {
        return PatchOutcome::Fail(PatchStatus::TooLarge,
                                  "the ROM with the codes applied would exceed 64 MiB");
    }
    if (format == PatchFormat::Bps) return MakeBps(rom, size, target->data(), target->size());
    return MakeIpsForCodes(size, *target, codes);
}

std::optional<PatchFormat> DetectPatchFormat(const uint8_t* patch, size_t size) {
    if (IsBps(patch, size)) return PatchFormat::Bps;
    if (IsIps(patch, size)) return PatchFormat::Ips;
    return std::nullopt;
}

PatchOutcome ApplyPatch(const uint8_t* patch, size_t patchSize, const uint8_t* source,
                        size_t sourceSize, bool force) {
    const std::optional<PatchFormat> format = DetectPatchFormat(patch, patchSize);
    if (!format) return PatchOutcome::Fail(PatchStatus::BadMagic, "not a BPS or IPS patch");
    if (*format == PatchFormat::Bps) return ApplyBps(patch, patchSize, source, sourceSize, force);
    return ApplyIps(patch, patchSize, source, sourceSize);
}

std::string HexAddress(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(value));
    return text;
}

}  // namespace tsumugi
