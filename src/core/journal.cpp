#include "core/journal.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "core/bytes.h"

namespace tsumugi {

namespace {
constexpr uint8_t kMagic[4] = {'T', 'S', 'J', 'R'};
constexpr size_t kFrame = 12;  // magic, length, CRC32
// No record is larger: a step over the whole 32 MiB bus twice over, with room.
constexpr uint32_t kMaxPayload = 160u << 20;
constexpr size_t kMaxText = 4096;

class Writer {
public:
    std::vector<uint8_t> out;
    void U8(uint8_t v) { out.push_back(v); }
    void U16(uint16_t v) { U8(static_cast<uint8_t>(v)); U8(static_cast<uint8_t>(v >> 8)); }
    void U32(uint32_t v) { U16(static_cast<uint16_t>(v)); U16(static_cast<uint16_t>(v >> 16)); }
    void I64(int64_t v) {
        const uint64_t u = static_cast<uint64_t>(v);
        U32(static_cast<uint32_t>(u));
        U32(static_cast<uint32_t>(u >> 32));
    }
    void Bytes(const std::vector<uint8_t>& b) { out.insert(out.end(), b.begin(), b.end()); }
    void Text(const std::string& s) {
        const size_t n = std::min(s.size(), kMaxText);
        U32(static_cast<uint32_t>(n));
        out.insert(out.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
    }
};

// Reads a payload; every read checks the room left, and a failed read poisons the rest.
class Reader {
public:
    Reader(const uint8_t* p, size_t n) : m_p(p), m_left(n) {}
    bool ok = true;
    bool Done() const { return ok && m_left == 0; }
    size_t Left() const { return m_left; }
    uint8_t U8() { return Take(1) ? m_p[-1] : 0; }
    uint16_t U16() { return Take(2) ? Read16(m_p - 2) : 0; }
    uint32_t U32() { return Take(4) ? Read32(m_p - 4) : 0; }
    int64_t I64() {
        const uint64_t low = U32();
        const uint64_t high = U32();
        return static_cast<int64_t>(low | (high << 32));
    }
    bool Bytes(std::vector<uint8_t>& to, size_t n) {
        if (!Take(n)) return false;
        to.assign(m_p - n, m_p);
        return true;
    }
    std::string Text() {
        const uint32_t n = U32();
        if (n > kMaxText || !Take(n)) {
            ok = false;
            return {};
        }
        return std::string(reinterpret_cast<const char*>(m_p - n), n);
    }

private:
    bool Take(size_t n) {
        if (!ok || n > m_left) {
            ok = false;
            return false;
        }
        m_p += n;
        m_left -= n;
        return true;
    }
    const uint8_t* m_p;
    size_t m_left;
};

void PutOptional(Writer& w, const std::optional<uint16_t>& v) {
    w.U8(v ? 1 : 0);
    w.U16(v.value_or(0));
}

std::optional<uint16_t> GetOptional(Reader& r) {
    const uint8_t present = r.U8();
    const uint16_t value = r.U16();
    // The writer puts 0 beside an absent value: anything else is damage.
    if (present > 1 || (present == 0 && value != 0)) r.ok = false;
    if (present == 1) return value;
    return std::nullopt;
}

void PutStep(Writer& w, const Step& step) {
    w.U8(static_cast<uint8_t>(step.kind));
    w.Text(step.name);
    w.U32(step.words);
    w.U32(static_cast<uint32_t>(step.bytes.size()));
    for (const ByteRun& run : step.bytes) {
        w.U32(run.offset);
        w.U32(static_cast<uint32_t>(run.before.size()));
        w.Bytes(run.before);
        w.Bytes(run.after);
    }
    w.U32(static_cast<uint32_t>(step.codes.size()));
    for (const CodeChange& c : step.codes) {
        w.U32(c.offset);
        PutOptional(w, c.before);
        PutOptional(w, c.after);
    }
}

bool GetStep(Reader& r, Step& step) {
    const uint8_t kind = r.U8();
    if (kind < 1 || kind > 3) return false;
    step.kind = static_cast<StepKind>(kind);
    step.name = r.Text();
    step.words = r.U32();
    // Counts are checked against the bytes left before anything is reserved.
    const uint32_t runs = r.U32();
    if (!r.ok || runs > r.Left() / 8) return false;
    step.bytes.resize(runs);
    for (ByteRun& run : step.bytes) {
        run.offset = r.U32();
        const uint32_t length = r.U32();
        if (!r.ok || length > r.Left() / 2) return false;
        if (static_cast<uint64_t>(run.offset) + length > 0x100000000ull) return false;
        if (!r.Bytes(run.before, length) || !r.Bytes(run.after, length)) return false;
    }
    const uint32_t codes = r.U32();
    if (!r.ok || codes > r.Left() / 10) return false;
    step.codes.resize(codes);
    for (CodeChange& c : step.codes) {
        c.offset = r.U32();
        c.before = GetOptional(r);
        c.after = GetOptional(r);
    }
    return r.ok;
}

bool DecodePayload(const uint8_t* p, size_t n, JournalRecord& record) {
    Reader r(p, n);
    const uint8_t type = r.U8();
    if (type < 1 || type > 7) return false;
    record.type = static_cast<RecordType>(type);
    record.time = r.I64();
    switch (record.type) {
    case RecordType::Open:
        record.romSize = r.U32();
        record.romCrc = r.U32();
        record.path = r.Text();
        break;
    case RecordType::Step:
        if (!GetStep(r, record.step)) return false;
        break;
    case RecordType::Disk: {
        record.romSize = r.U32();
        record.romCrc = r.U32();
        const uint32_t count = r.U32();
        if (!r.ok || count > r.Left() / 6) return false;
        record.disk.resize(count);
        for (DiskByte& b : record.disk) {
            b.offset = r.U32();
            b.before = r.U8();
            b.after = r.U8();
        }
        break;
    }
    case RecordType::Extend:
        record.romSize = r.U32();
        record.romCrc = r.U32();
        break;
    case RecordType::Undo:
    case RecordType::Redo:
    case RecordType::Saved:
        break;
    }
    return r.Done();
}
}  // namespace

uint32_t Crc32Of(const uint8_t* data, size_t size) {
    uLong crc = crc32_z(0, Z_NULL, 0);
    return static_cast<uint32_t>(size > 0 ? crc32_z(crc, data, size) : crc);
}

std::vector<uint8_t> EncodeRecord(const JournalRecord& record) {
    Writer w;
    w.U8(static_cast<uint8_t>(record.type));
    w.I64(record.time);
    switch (record.type) {
    case RecordType::Open:
        w.U32(record.romSize);
        w.U32(record.romCrc);
        w.Text(record.path);
        break;
    case RecordType::Step:
        PutStep(w, record.step);
        break;
    case RecordType::Disk:
        w.U32(record.romSize);
        w.U32(record.romCrc);
        w.U32(static_cast<uint32_t>(record.disk.size()));
        for (const DiskByte& b : record.disk) {
            w.U32(b.offset);
            w.U8(b.before);
            w.U8(b.after);
        }
        break;
    case RecordType::Extend:
        w.U32(record.romSize);
        w.U32(record.romCrc);
        break;
    case RecordType::Undo:
    case RecordType::Redo:
    case RecordType::Saved:
        break;
    }
    std::vector<uint8_t> out(kFrame);
    std::memcpy(out.data(), kMagic, 4);
    Write32(out.data() + 4, static_cast<uint32_t>(w.out.size()));
    Write32(out.data() + 8, Crc32Of(w.out.data(), w.out.size()));
    out.insert(out.end(), w.out.begin(), w.out.end());
    return out;
}

std::vector<JournalRecord> ParseJournal(const uint8_t* data, size_t size, size_t* used) {
    std::vector<JournalRecord> records;
    size_t at = 0;
    while (data != nullptr && size - at >= kFrame) {
        const uint8_t* frame = data + at;
        if (std::memcmp(frame, kMagic, 4) != 0) break;
        const uint32_t length = Read32(frame + 4);
        if (length > kMaxPayload || length > size - at - kFrame) break;
        const uint8_t* payload = frame + kFrame;
        if (Crc32Of(payload, length) != Read32(frame + 8)) break;
        JournalRecord record;
        if (!DecodePayload(payload, length, record)) break;
        records.push_back(std::move(record));
        at += kFrame + length;
    }
    if (used) *used = at;
    return records;
}

std::string JournalPathFor(const std::string& folder, const std::string& romPath) {
    const size_t slash = romPath.find_last_of('/');
    const std::string name = slash == std::string::npos ? romPath : romPath.substr(slash + 1);
    char hash[16];
    std::snprintf(hash, sizeof hash, "%08x",
                  Crc32Of(reinterpret_cast<const uint8_t*>(romPath.data()), romPath.size()));
    return folder + "/" + name + "-" + hash + ".journal";
}

}  // namespace tsumugi
