// BPS patches of any content over a source from the input: applying never reads outside
// patch or source and what it gives has the size the patch names; a patch made from the
// source to a target applies back to exactly that target.
#include <cstddef>
#include <cstdint>

#include "core/bps.h"
#include "fuzz_check.h"
#include "patch_split.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::PatchInput in;
    if (!fuzzing::SplitPatchInput(data, size, in)) return 0;
    // Exact-size blocks, so that a read past either end is caught.
    const tsumugi::PatchOutcome applied = tsumugi::ApplyBps(
        in.patch.data(), in.patch.size(), in.source.data(), in.source.size(), in.flag);
    if (applied.Ok()) {
        FUZZ_CHECK(applied.bytes.size() <= tsumugi::kMaxPatchImage);
        FUZZ_CHECK(tsumugi::IsBps(in.patch.data(), in.patch.size()));
    } else {
        FUZZ_CHECK(!applied.reason.empty());
    }

    const tsumugi::PatchOutcome made =
        tsumugi::MakeBps(in.source.data(), in.source.size(), in.patch.data(), in.patch.size());
    FUZZ_CHECK(made.Ok());
    const tsumugi::PatchOutcome back = tsumugi::ApplyBps(made.bytes.data(), made.bytes.size(),
                                                         in.source.data(), in.source.size(), false);
    FUZZ_CHECK(back.Ok());
    FUZZ_CHECK(back.bytes == in.patch);

    // The number encoding reads back what it wrote.
    size_t pos = 0;
    const std::optional<uint64_t> number =
        tsumugi::ReadBpsNumber(in.patch.data(), in.patch.size(), &pos);
    if (number) {
        FUZZ_CHECK(pos >= 1 && pos <= in.patch.size());
        std::vector<uint8_t> encoded;
        tsumugi::AppendBpsNumber(*number, encoded);
        size_t at = 0;
        FUZZ_CHECK(tsumugi::ReadBpsNumber(encoded.data(), encoded.size(), &at) == number);
        FUZZ_CHECK(at == encoded.size());
    }
    return 0;
}
