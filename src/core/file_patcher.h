#pragma once
// Writes (offset, bytes) entries into an existing file in place without changing its
// length. Entries at or past the end of the file are skipped; an entry that straddles the
// end has its bytes inside the file written.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tsumugi {

// What an Apply that wrote into the file did, entry by entry (entries are named by their
// offsets, in ascending order). Entries at or past the end of the file are in neither list,
// except when the file could not even be opened: then every entry is in `notWritten`.
// When Apply fails with every entry in `written` and none in `notWritten`, the bytes were
// all handed to the file but the sync or close that follows failed: they are not known to
// be on disk. An entry cut by a failing write (its first byte written, its second not) is
// in `notWritten`.
struct ApplyReport {
    std::vector<uint32_t> written;
    std::vector<uint32_t> notWritten;
    std::string error;  // the failing call and its reason, e.g. "write: No space left on device"
};

class FilePatcher {
public:
    struct Entry {
        uint8_t bytes[4];
        uint32_t length;
    };

    // The low `length` bytes (1-4) of value, little-endian. False, and nothing changes,
    // when an entry for offset exists already or length is not 1-4.
    bool AddEntry(uint32_t offset, uint32_t value, uint32_t length);

    // Writes every entry that lies inside the file, then fsyncs. True when no file
    // operation failed. `skipped` (optional) receives the number of entries whose first
    // byte lies at or past the end of the file; `report` (optional) which entries were
    // written and, on failure, which were not and why. Writing stops at the first failure.
    bool Apply(const std::string& path, size_t* skipped = nullptr, ApplyReport* report = nullptr) const;

    size_t Count() const { return m_entries.size(); }

private:
    std::map<uint32_t, Entry> m_entries;
};

}  // namespace tsumugi
