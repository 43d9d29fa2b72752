#include "core/file_patcher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "core/file_io.h"

namespace tsumugi {

bool FilePatcher::AddEntry(uint32_t offset, uint32_t value, uint32_t length) {
    if (length < 1 || length > 4 || m_entries.contains(offset)) return false;
    Entry entry{};
    entry.length = length;
    for (uint32_t i = 0; i < length; ++i) entry.bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    m_entries.emplace(offset, entry);
    return true;
}

// Entries are written with positioned writes, so nothing but their bytes is touched and
// the file never grows. Entries that touch or overlap each other are gathered into one
// run and written with one call; where two overlap, the later (higher) entry wins.
bool FilePatcher::Apply(const std::string& path, size_t* skipped) const {
    if (skipped) *skipped = 0;
    FileHandle file(open(path.c_str(), O_RDWR | O_CLOEXEC));
    if (!file.IsOpen()) return false;
    struct stat st {};
    if (fstat(file.Get(), &st) != 0 || st.st_size < 0) return false;
    const uint64_t fileLength = static_cast<uint64_t>(st.st_size);

    std::vector<uint8_t> run;
    uint64_t runStart = 0;
    auto flush = [&]() {
        const bool ok = run.empty() || WriteAllAt(file.Get(), run.data(), run.size(), runStart);
        run.clear();
        return ok;
    };

    size_t pastEnd = 0;
    for (const auto& [offset, entry] : m_entries) {
        if (offset >= fileLength) {
            ++pastEnd;
            continue;
        }
        const auto inside = static_cast<size_t>(
            std::min<uint64_t>(entry.length, fileLength - offset));
        if (!run.empty() && offset > runStart + run.size()) {
            if (!flush()) return false;
        }
        if (run.empty()) runStart = offset;
        const size_t at = static_cast<size_t>(offset - runStart);
        if (run.size() < at + inside) run.resize(at + inside);
        std::copy_n(entry.bytes, inside, run.begin() + static_cast<std::ptrdiff_t>(at));
    }
    if (skipped) *skipped = pastEnd;
    if (!flush()) return false;
    if (fsync(file.Get()) != 0) return false;
    return file.Close();
}

}  // namespace tsumugi
