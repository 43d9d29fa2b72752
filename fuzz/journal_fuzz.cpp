// Journals of any content: reading stops at the first damaged record and never reads past
// the input; the records read encode back to exactly the bytes they came from; replaying
// them over a small image never writes outside it nor changes its length.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/journal.h"
#include "core/session.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that a read past the end is caught.
    const std::vector<uint8_t> input(data, data + size);
    size_t used = 0;
    const std::vector<tsumugi::JournalRecord> records =
        tsumugi::ParseJournal(input.data(), input.size(), &used);
    FUZZ_CHECK(used <= size);
    std::vector<uint8_t> again;
    for (const tsumugi::JournalRecord& record : records) {
        const std::vector<uint8_t> bytes = tsumugi::EncodeRecord(record);
        again.insert(again.end(), bytes.begin(), bytes.end());
    }
    FUZZ_CHECK(again.size() == used);
    FUZZ_CHECK(std::equal(again.begin(), again.end(), input.begin()));

    constexpr uint32_t kImage = 0x200;
    tsumugi::ReplayTarget target;
    target.image.assign(kImage, 0xA5);
    target.original = target.image;
    tsumugi::SessionState state;
    tsumugi::ReplayJournal(records, target, state);
    FUZZ_CHECK(target.image.size() == kImage);
    FUZZ_CHECK(target.original.size() <= kImage);
    return 0;
}
