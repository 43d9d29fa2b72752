#include "core/bps.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/bytes.h"
#include "core/checked_math.h"

namespace tsumugi {
namespace {

constexpr uint8_t kMagic[4] = {'B', 'P', 'S', '1'};
constexpr size_t kFooterSize = 12;  // source, target and patch CRC32

enum Action : uint64_t { kSourceRead = 0, kTargetRead = 1, kSourceCopy = 2, kTargetCopy = 3 };

// A stretch equal to the source shorter than this costs more as its own action than as
// literal bytes; a run of one value shorter than kMinRun likewise.
constexpr size_t kMinMatch = 4;
constexpr size_t kMinRun = 8;

uint32_t Crc32(const uint8_t* data, size_t size) {
    return static_cast<uint32_t>(crc32_z(0, size > 0 ? data : Z_NULL, size));
}

void AppendCrc(uint32_t crc, std::vector<uint8_t>& out) {
    uint8_t bytes[4];
    Write32(bytes, crc);
    out.insert(out.end(), bytes, bytes + 4);
}

PatchOutcome Malformed(const std::string& why) {
    return PatchOutcome::Fail(PatchStatus::Malformed, "malformed BPS patch: " + why);
}

// Builds the action list for MakeBps.
class Encoder {
public:
    Encoder(const uint8_t* source, size_t sourceSize, const uint8_t* target, size_t targetSize,
            std::vector<uint8_t>& out)
        : m_source(source),
          m_sourceSize(sourceSize),
          m_target(target),
          m_targetSize(targetSize),
          m_out(out) {}

    void Run() {
        size_t pos = 0;
        while (pos < m_targetSize) {
            const size_t match = MatchLength(pos, kMinMatch);
            if (match >= kMinMatch || (match > 0 && pos + match == m_targetSize)) {
                FlushLiteral(pos);
                const size_t length = MatchLength(pos, m_targetSize);
                Emit(kSourceRead, length);
                pos += length;
                continue;
            }
            if (RunLength(pos, kMinRun) >= kMinRun) {
                // The first byte goes out as data; the copy then reads each byte it wrote.
                const size_t length = RunLength(pos, m_targetSize);
                if (m_literal == kNone) m_literal = pos;
                FlushLiteral(pos + 1);
                TargetCopy(pos, length - 1);
                pos += length;
                continue;
            }
            if (m_literal == kNone) m_literal = pos;
            ++pos;
        }
        FlushLiteral(m_targetSize);
    }

private:
    static constexpr size_t kNone = std::numeric_limits<size_t>::max();

    // Bytes from pos on equal to the source at the same place, counting up to cap.
    size_t MatchLength(size_t pos, size_t cap) const {
        size_t n = 0;
        while (n < cap && pos + n < m_targetSize && pos + n < m_sourceSize &&
               m_source[pos + n] == m_target[pos + n]) {
            ++n;
        }
        return n;
    }

    // Bytes from pos on equal to the byte at pos, counting up to cap.
    size_t RunLength(size_t pos, size_t cap) const {
        size_t n = 1;
        while (n < cap && pos + n < m_targetSize && m_target[pos + n] == m_target[pos]) ++n;
        return n;
    }

    void Emit(uint64_t action, size_t length) {
        AppendBpsNumber((uint64_t{length - 1} << 2) | action, m_out);
    }

    void FlushLiteral(size_t end) {
        if (m_literal == kNone) return;
        Emit(kTargetRead, end - m_literal);
        m_out.insert(m_out.end(), m_target + m_literal, m_target + end);
        m_literal = kNone;
    }

    // Copies length output bytes from `from` on to the output position.
    void TargetCopy(size_t from, size_t length) {
        Emit(kTargetCopy, length);
        const uint64_t distance = from >= m_targetCursor
                                      ? uint64_t{from - m_targetCursor} << 1
                                      : (uint64_t{m_targetCursor - from} << 1) | 1;
        AppendBpsNumber(distance, m_out);
        m_targetCursor = from + length;
    }

    const uint8_t* m_source;
    size_t m_sourceSize;
    const uint8_t* m_target;
    size_t m_targetSize;
    std::vector<uint8_t>& m_out;
    size_t m_literal = kNone;  // start of the pending TargetRead bytes
    size_t m_targetCursor = 0;
};

// Moves a copy cursor by the signed distance d (magnitude * 2 + sign bit), keeping it
// within [0, limit]. nullopt when it would leave that range.
std::optional<uint64_t> MoveCursor(uint64_t cursor, uint64_t d, uint64_t limit) {
    const uint64_t magnitude = d >> 1;
    if (d & 1) {
        if (magnitude > cursor) return std::nullopt;
        return cursor - magnitude;
    }
    if (magnitude > limit - cursor) return std::nullopt;
    return cursor + magnitude;
}

}  // namespace

void AppendBpsNumber(uint64_t value, std::vector<uint8_t>& out) {
    for (;;) {
        const uint8_t bits = value & 0x7F;
        value >>= 7;
        if (value == 0) {
            out.push_back(static_cast<uint8_t>(0x80 | bits));
            return;
        }
        out.push_back(bits);
        --value;
    }
}

std::optional<uint64_t> ReadBpsNumber(const uint8_t* data, size_t size, size_t* pos) {
    uint64_t value = 0, shift = 1;
    for (;;) {
        if (*pos >= size) return std::nullopt;
        const uint8_t byte = data[(*pos)++];
        uint64_t part = 0;
        if (MulOverflows(uint64_t{byte & 0x7Fu}, shift, &part) ||
            AddOverflows(value, part, &value)) {
            return std::nullopt;
        }
        if (byte & 0x80) return value;
        if (shift > (std::numeric_limits<uint64_t>::max() >> 7)) return std::nullopt;
        shift <<= 7;
        if (AddOverflows(value, shift, &value)) return std::nullopt;
    }
}

bool IsBps(const uint8_t* data, size_t size) {
    return size >= sizeof kMagic && std::memcmp(data, kMagic, sizeof kMagic) == 0;
}

PatchOutcome MakeBps(const uint8_t* source, size_t sourceSize, const uint8_t* target,
                     size_t targetSize) {
    if (sourceSize > kMaxPatchImage || targetSize > kMaxPatchImage)
        return PatchOutcome::Fail(PatchStatus::TooLarge, "BPS images are limited to 64 MiB here");
    PatchOutcome outcome;
    std::vector<uint8_t>& out = outcome.bytes;
    out.assign(kMagic, kMagic + sizeof kMagic);
    AppendBpsNumber(sourceSize, out);
    AppendBpsNumber(targetSize, out);
    AppendBpsNumber(0, out);  // no metadata
    Encoder(source, sourceSize, target, targetSize, out).Run();
    AppendCrc(Crc32(source, sourceSize), out);
    AppendCrc(Crc32(target, targetSize), out);
    AppendCrc(Crc32(out.data(), out.size()), out);
    return outcome;
}

PatchOutcome ApplyBps(const uint8_t* patch, size_t patchSize, const uint8_t* source,
                      size_t sourceSize, bool force) {
    if (!IsBps(patch, patchSize))
        return PatchOutcome::Fail(PatchStatus::BadMagic, "not a BPS patch");
    if (patchSize < sizeof kMagic + 3 + kFooterSize) return Malformed("too short");
    const size_t footer = patchSize - kFooterSize;
    if (Crc32(patch, patchSize - 4) != Read32(patch + patchSize - 4))
        return PatchOutcome::Fail(PatchStatus::PatchCrc,
                                  "the BPS patch is damaged (its own CRC32 does not match)");

    size_t pos = sizeof kMagic;
    const std::optional<uint64_t> expectedSource = ReadBpsNumber(patch, footer, &pos);
    const std::optional<uint64_t> targetSize = ReadBpsNumber(patch, footer, &pos);
    const std::optional<uint64_t> metadataSize = ReadBpsNumber(patch, footer, &pos);
    if (!expectedSource || !targetSize || !metadataSize) return Malformed("bad header");
    if (*targetSize > kMaxPatchImage)
        return PatchOutcome::Fail(PatchStatus::TooLarge, "the BPS target would exceed 64 MiB");
    if (*metadataSize > footer - pos) return Malformed("metadata runs past the end");
    pos += static_cast<size_t>(*metadataSize);

    if (!force &&
        (*expectedSource != sourceSize || Crc32(source, sourceSize) != Read32(patch + footer))) {
        return PatchOutcome::Fail(PatchStatus::WrongSource,
                                  "the ROM is not the one this BPS patch was made for");
    }

    PatchOutcome outcome;
    std::vector<uint8_t>& target = outcome.bytes;
    target.assign(static_cast<size_t>(*targetSize), 0);
    size_t written = 0;
    uint64_t sourceCursor = 0, targetCursor = 0;
    while (pos < footer) {
        const std::optional<uint64_t> action = ReadBpsNumber(patch, footer, &pos);
        if (!action) return Malformed("bad action");
        const uint64_t lengthLess1 = *action >> 2;
        if (lengthLess1 >= target.size() - written)
            return Malformed("an action runs past the target's end");
        const size_t length = static_cast<size_t>(lengthLess1) + 1;
        uint8_t* to = target.data() + written;
        switch (*action & 3) {
            case kSourceRead:
                if (written > sourceSize || length > sourceSize - written)
                    return Malformed("SourceRead past the source's end");
                std::memcpy(to, source + written, length);
                break;
            case kTargetRead:
                if (length > footer - pos) return Malformed("TargetRead past the patch's end");
                std::memcpy(to, patch + pos, length);
                pos += length;
                break;
            case kSourceCopy: {
                const std::optional<uint64_t> d = ReadBpsNumber(patch, footer, &pos);
                if (!d) return Malformed("bad SourceCopy offset");
                const std::optional<uint64_t> from = MoveCursor(sourceCursor, *d, sourceSize);
                if (!from || length > sourceSize - *from)
                    return Malformed("SourceCopy outside the source");
                std::memcpy(to, source + *from, length);
                sourceCursor = *from + length;
                break;
            }
            default: {
                const std::optional<uint64_t> d = ReadBpsNumber(patch, footer, &pos);
                if (!d) return Malformed("bad TargetCopy offset");
                const std::optional<uint64_t> from = MoveCursor(targetCursor, *d, target.size());
                if (!from || *from >= written)
                    return Malformed("TargetCopy from bytes not yet written");
                // Byte by byte: the copy may read what it has just written.
                const uint8_t* src = target.data() + *from;
                for (size_t i = 0; i < length; ++i) to[i] = src[i];
                targetCursor = *from + length;
                break;
            }
        }
        written += length;
    }
    if (written != target.size()) return Malformed("the actions leave the target incomplete");
    if (Crc32(target.data(), target.size()) != Read32(patch + footer + 4))
        return PatchOutcome::Fail(PatchStatus::TargetCrc,
                                  "the patched ROM does not match the BPS patch's target CRC32");
    return outcome;
}

}  // namespace tsumugi
