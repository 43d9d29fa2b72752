#pragma once
// The journal of a ROM's session: every step, undo, redo, in-place write and lengthening,
// appended as it happens, so that the work survives a crash.
//
// A journal is a row of records. Each record is the magic "TSJR", the payload's length and
// the payload's CRC32 (both 32-bit, low byte first), then the payload, whose first byte is
// the record's type. Reading stops at the first record that is cut short, damaged or not
// understood: what came before it is the journal.
#include <cstdint>
#include <string>
#include <vector>

#include "core/history.h"

namespace tsumugi {

enum class RecordType : uint8_t {
    Open = 1,    // the session began on the ROM file as it was then (size, CRC32, path)
    Step = 2,    // a step was done
    Undo = 3,
    Redo = 4,
    Disk = 5,    // the codes were written into the ROM file: the bytes that changed there
    Extend = 6,  // the ROM file was lengthened to size
    Saved = 7,   // the codes were saved as a code file
};

// A byte of the ROM file that an in-place write changed.
struct DiskByte {
    uint32_t offset = 0;
    uint8_t before = 0;
    uint8_t after = 0;
};

struct JournalRecord {
    RecordType type = RecordType::Open;
    int64_t time = 0;        // seconds since 1970
    uint32_t romSize = 0;    // Open, Disk, Extend: the ROM file's length afterwards
    uint32_t romCrc = 0;     // ... and its CRC32
    std::string path;        // Open: the ROM's full path
    Step step;               // Step
    std::vector<DiskByte> disk;  // Disk
};

// The record as it goes into the file, framing included.
std::vector<uint8_t> EncodeRecord(const JournalRecord& record);

// The records up to the first one that is incomplete or damaged. `used` (optional)
// receives how many bytes they take.
std::vector<JournalRecord> ParseJournal(const uint8_t* data, size_t size, size_t* used = nullptr);

// The journal file of the ROM at romPath (a full path) inside folder: the ROM's file name
// and a hash of its full path.
std::string JournalPathFor(const std::string& folder, const std::string& romPath);

uint32_t Crc32Of(const uint8_t* data, size_t size);

}  // namespace tsumugi
