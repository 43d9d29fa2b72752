#include "core/ips.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace tsumugi {
namespace {

constexpr uint8_t kMagic[5] = {'P', 'A', 'T', 'C', 'H'};
constexpr uint8_t kEof[3] = {'E', 'O', 'F'};

// Half-open byte ranges [first, second) of the target, ascending and apart.
using Ranges = std::vector<std::pair<size_t, size_t>>;

uint32_t ReadBig(const uint8_t* p, size_t bytes) {
    uint32_t value = 0;
    for (size_t i = 0; i < bytes; ++i) value = (value << 8) | p[i];
    return value;
}

void AppendBig(uint32_t value, size_t bytes, std::vector<uint8_t>& out) {
    for (size_t i = bytes; i-- > 0;) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

PatchOutcome Malformed(const std::string& why) {
    return PatchOutcome::Fail(PatchStatus::Malformed, "malformed IPS patch: " + why);
}

PatchOutcome OutOfReach(size_t address, const std::string& why) {
    PatchOutcome outcome = PatchOutcome::Fail(PatchStatus::OutOfReach, why);
    outcome.address = static_cast<uint32_t>(address);
    return outcome;
}

// Adds [first, last) to ranges built in ascending order of first, joining touching ones.
void AddRange(Ranges& ranges, size_t first, size_t last) {
    if (first >= last) return;
    if (!ranges.empty() && first <= ranges.back().second) {
        ranges.back().second = std::max(ranges.back().second, last);
        return;
    }
    ranges.emplace_back(first, last);
}

// Writes the ranges of target as records, cut to at most kIpsMaxRecord bytes and never
// starting at the offset that reads as "EOF".
PatchOutcome Emit(const Ranges& ranges, const uint8_t* target, size_t targetSize,
                  size_t sourceSize) {
    for (const auto& [first, last] : ranges) {
        if (last > kIpsReach) {
            return OutOfReach(std::max<size_t>(first, kIpsReach),
                              "IPS reaches only the first 16 MiB; a change lies at file offset " +
                                  HexAddress(std::max<size_t>(first, kIpsReach)));
        }
    }
    const bool cut = targetSize < sourceSize;
    if (cut && targetSize >= kIpsReach) {
        return OutOfReach(targetSize, "IPS cannot cut a ROM to a length of 16 MiB or more (" +
                                          HexAddress(targetSize) + ")");
    }
    PatchOutcome outcome;
    std::vector<uint8_t>& out = outcome.bytes;
    out.assign(kMagic, kMagic + sizeof kMagic);
    for (const auto& [first, last] : ranges) {
        size_t pos = first;
        while (pos < last) {
            // One byte earlier repeats a byte of the target, harmless; the record does
            // not read as the end.
            const size_t start = pos == kIpsEofOffset ? pos - 1 : pos;
            const size_t length = std::min<size_t>(kIpsMaxRecord, last - start);
            AppendBig(static_cast<uint32_t>(start), 3, out);
            AppendBig(static_cast<uint32_t>(length), 2, out);
            out.insert(out.end(), target + start, target + start + length);
            pos = start + length;
        }
    }
    out.insert(out.end(), kEof, kEof + sizeof kEof);
    if (cut) AppendBig(static_cast<uint32_t>(targetSize), 3, out);
    return outcome;
}

PatchOutcome TooLarge() {
    return PatchOutcome::Fail(PatchStatus::TooLarge, "IPS images are limited to 64 MiB here");
}

}  // namespace

bool IsIps(const uint8_t* data, size_t size) {
    return size >= sizeof kMagic && std::memcmp(data, kMagic, sizeof kMagic) == 0;
}

PatchOutcome MakeIps(const uint8_t* source, size_t sourceSize, const uint8_t* target,
                     size_t targetSize) {
    if (sourceSize > kMaxPatchImage || targetSize > kMaxPatchImage) return TooLarge();
    Ranges ranges;
    const size_t common = std::min(sourceSize, targetSize);
    size_t pos = 0;
    while (pos < common) {
        if (source[pos] == target[pos]) {
            ++pos;
            continue;
        }
        const size_t first = pos;
        while (pos < common && source[pos] != target[pos]) ++pos;
        AddRange(ranges, first, pos);
    }
    AddRange(ranges, sourceSize, targetSize);
    return Emit(ranges, target, targetSize, sourceSize);
}

PatchOutcome MakeIpsForCodes(size_t sourceSize, const std::vector<uint8_t>& target,
                             const PatchCodeList& codes) {
    if (sourceSize > kMaxPatchImage || target.size() > kMaxPatchImage) return TooLarge();
    Ranges ranges;
    bool tailAdded = sourceSize >= target.size();
    for (const auto& [offset, value] : codes) {
        (void)value;
        if (!tailAdded && offset >= sourceSize) {
            AddRange(ranges, sourceSize, target.size());
            tailAdded = true;
        }
        AddRange(ranges, offset, std::min<size_t>(size_t{offset} + 2, target.size()));
    }
    if (!tailAdded) AddRange(ranges, sourceSize, target.size());
    return Emit(ranges, target.data(), target.size(), sourceSize);
}

namespace {

// One record of a patch: length bytes at offset, from data or (a run) all data[0].
struct Record {
    size_t offset;
    size_t length;
    const uint8_t* data;
    bool run;
};

// Reads the records up to the end mark and the length the patch cuts the image to, if
// any; a failure says what is malformed.
std::optional<PatchOutcome> ReadRecords(const uint8_t* patch, size_t patchSize, std::vector<Record>& records,
                                        std::optional<size_t>& cut) {
    size_t pos = sizeof kMagic;
    for (;;) {
        if (patchSize - pos < 3) return Malformed("it ends before EOF");
        if (std::memcmp(patch + pos, kEof, sizeof kEof) == 0) {
            pos += 3;
            break;
        }
        if (patchSize - pos < 5) return Malformed("a record header is cut off");
        Record record{ReadBig(patch + pos, 3), ReadBig(patch + pos + 3, 2), nullptr, false};
        pos += 5;
        if (record.length == 0) {
            if (patchSize - pos < 3) return Malformed("a run record is cut off");
            record.length = ReadBig(patch + pos, 2);
            if (record.length == 0) return Malformed("a run of no bytes");
            record.data = patch + pos + 2;
            record.run = true;
            pos += 3;
        } else {
            if (patchSize - pos < record.length) return Malformed("a record's data is cut off");
            record.data = patch + pos;
            pos += record.length;
        }
        records.push_back(record);
    }
    const size_t rest = patchSize - pos;
    if (rest == 0) return std::nullopt;
    if (rest != 3) return Malformed("unexpected bytes after EOF");
    cut = ReadBig(patch + pos, 3);
    return std::nullopt;
}

}  // namespace

PatchOutcome ApplyIps(const uint8_t* patch, size_t patchSize, const uint8_t* source,
                      size_t sourceSize) {
    if (!IsIps(patch, patchSize))
        return PatchOutcome::Fail(PatchStatus::BadMagic, "not an IPS patch");
    if (sourceSize > kMaxPatchImage) return TooLarge();
    std::vector<Record> records;
    std::optional<size_t> cut;
    if (std::optional<PatchOutcome> failed = ReadRecords(patch, patchSize, records, cut)) return std::move(*failed);
    // A record past the source's end lengthens the image, zero-filled up to it. The image
    // is made once at its final length (offset < 2^24 and length < 2^16: no overflow).
    size_t end = sourceSize;
    for (const Record& r : records) end = std::max(end, r.offset + r.length);
    if (cut && *cut > end)
        return PatchOutcome::Fail(PatchStatus::WrongSource,
                                  "the ROM is shorter than the length this IPS patch cuts it to");
    const size_t size = cut ? *cut : end;
    PatchOutcome outcome;
    std::vector<uint8_t>& target = outcome.bytes;
    target.reserve(size);
    target.assign(source, source + std::min(sourceSize, size));
    target.resize(size, 0);
    for (const Record& r : records) {
        if (r.offset >= size) continue;  // cut off at the end
        const size_t n = std::min(r.length, size - r.offset);
        if (r.run) {
            std::fill_n(target.begin() + static_cast<std::ptrdiff_t>(r.offset), n, r.data[0]);
        } else {
            std::memcpy(target.data() + r.offset, r.data, n);
        }
    }
    return outcome;
}

}  // namespace tsumugi
