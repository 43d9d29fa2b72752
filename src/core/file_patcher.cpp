#include "core/file_patcher.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/file_io.h"
#include "core/platform.h"

namespace tsumugi {

bool FilePatcher::AddEntry(uint32_t offset, uint32_t value, uint32_t length) {
    if (length < 1 || length > 4 || m_entries.contains(offset)) return false;
    Entry entry{};
    entry.length = length;
    for (uint32_t i = 0; i < length; ++i) entry.bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    m_entries.emplace(offset, entry);
    return true;
}

namespace {

constexpr uint64_t kPageSize = 4096;  // the unit the system writes a file's pages in
constexpr uint64_t kJoinGap = uint64_t{64} << 10;  // the widest gap a run reaches over
constexpr uint64_t kMaxRun = kFilePiece;  // the longest run a gap may be taken into

std::string Reason(const char* call) { return std::string(call) + ": " + std::strerror(errno); }

// One entry's place in the file: its offset, its bytes and how many of them lie inside.
struct Placed {
    uint32_t offset;
    const uint8_t* bytes;
    size_t inside;
};

}  // namespace

// Entries are written with positioned writes, so nothing but their bytes changes and the
// file never grows. Entries close to each other are gathered into one run and written with
// one call; where two overlap, the later (higher) entry wins.
bool FilePatcher::Apply(const std::string& path, size_t* skipped, ApplyReport* report) const {
    if (skipped) *skipped = 0;
    ApplyReport local;
    ApplyReport& out = report ? *report : local;
    out = ApplyReport{};

    auto failBeforeWriting = [&](const char* call) {
        out.error = Reason(call);
        for (const auto& [offset, entry] : m_entries) out.notWritten.push_back(offset);
        return false;
    };
    FileHandle file(OpenFile(path, O_RDWR));
    if (!file.IsOpen()) return failBeforeWriting("open");
    const std::optional<uint64_t> length = FileLengthOf(file.Get());
    if (!length) return failBeforeWriting("fstat");
    const uint64_t fileLength = *length;

    std::vector<Placed> placed;
    size_t pastEnd = 0;
    for (const auto& [offset, entry] : m_entries) {
        if (offset >= fileLength) {
            ++pastEnd;
            continue;
        }
        placed.push_back({offset, entry.bytes,
                          static_cast<size_t>(std::min<uint64_t>(entry.length, fileLength - offset))});
    }
    if (skipped) *skipped = pastEnd;

    std::vector<uint8_t> run;
    uint64_t handed = 0;  // the bytes below this have been handed to the disk
    size_t first = 0;  // index in placed of the run's first entry
    while (first < placed.size()) {
        // A run takes in the entries that follow while they touch it, overlap it or lie a
        // short gap away. The bytes of a gap are read and written back as they are, so that
        // codes close together go to the disk as one write rather than thousands of small
        // ones, which the disk takes far more slowly.
        const uint64_t runStart = placed[first].offset;
        uint64_t runEnd = runStart + placed[first].inside;
        bool gaps = false;
        size_t next = first + 1;
        for (; next < placed.size(); ++next) {
            const uint64_t at = placed[next].offset;
            const uint64_t end = std::max<uint64_t>(runEnd, at + placed[next].inside);
            if (at > runEnd && (at - runEnd > kJoinGap || end - runStart > kMaxRun)) break;
            gaps = gaps || at > runEnd;
            runEnd = end;
        }
        run.resize(static_cast<size_t>(runEnd - runStart));
        errno = 0;
        if (gaps && !ReadAllAt(file.Get(), run.data(), run.size(), runStart)) {
            if (errno == 0) errno = EIO;  // the file got shorter under us
            out.error = Reason("read");
            for (size_t i = first; i < placed.size(); ++i) out.notWritten.push_back(placed[i].offset);
            return false;
        }
        for (size_t i = first; i < next; ++i) {
            std::copy_n(placed[i].bytes, placed[i].inside,
                        run.begin() + static_cast<std::ptrdiff_t>(placed[i].offset - runStart));
        }
        size_t done = 0;
        const bool ok = WriteAllAt(file.Get(), run.data(), run.size(), runStart, &done);
        if (!ok) out.error = Reason("write");
        for (size_t i = first; i < next; ++i) {
            const bool landed = placed[i].offset - runStart + placed[i].inside <= done;
            (landed ? out.written : out.notWritten).push_back(placed[i].offset);
        }
        if (!ok) {
            for (size_t i = next; i < placed.size(); ++i) out.notWritten.push_back(placed[i].offset);
            return false;
        }
        // Runs come in ascending order: the whole pages below this run's end are written
        // for good and go to the disk now, while the rest are written.
        const uint64_t finished = runEnd / kPageSize * kPageSize;
        if (finished >= handed + kFilePiece) {
            StartWriteback(file.Get(), handed, finished - handed);
            handed = finished;
        }
        first = next;
    }
    if (!SyncFile(file.Get())) {
        out.error = Reason("fsync");
        return false;
    }
    if (!file.Close()) {
        out.error = Reason("close");
        return false;
    }
    return true;
}

}  // namespace tsumugi
