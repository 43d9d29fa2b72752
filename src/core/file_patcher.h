#pragma once
// Writes (offset, bytes) entries into an existing file in place without changing its
// length. Entries at or past the end of the file are skipped; an entry that straddles the
// end has its bytes inside the file written.
#include <cstdint>
#include <map>
#include <string>

namespace tsumugi {

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
    // byte lies at or past the end of the file.
    bool Apply(const std::string& path, size_t* skipped = nullptr) const;

    size_t Count() const { return m_entries.size(); }

private:
    std::map<uint32_t, Entry> m_entries;
};

}  // namespace tsumugi
