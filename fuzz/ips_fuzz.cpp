// IPS patches of any content over a source from the input: applying never reads outside
// patch or source; a patch made from the source to a target applies back to exactly that
// target.
#include <cstddef>
#include <cstdint>

#include "core/ips.h"
#include "fuzz_check.h"
#include "patch_split.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::PatchInput in;
    if (!fuzzing::SplitPatchInput(data, size, in)) return 0;
    const tsumugi::PatchOutcome applied =
        tsumugi::ApplyIps(in.patch.data(), in.patch.size(), in.source.data(), in.source.size());
    if (applied.Ok()) {
        FUZZ_CHECK(applied.bytes.size() <= tsumugi::kMaxPatchImage);
        FUZZ_CHECK(tsumugi::IsIps(in.patch.data(), in.patch.size()));
    } else {
        FUZZ_CHECK(!applied.reason.empty());
    }

    const tsumugi::PatchOutcome made =
        tsumugi::MakeIps(in.source.data(), in.source.size(), in.patch.data(), in.patch.size());
    FUZZ_CHECK(made.Ok());
    const tsumugi::PatchOutcome back =
        tsumugi::ApplyIps(made.bytes.data(), made.bytes.size(), in.source.data(), in.source.size());
    FUZZ_CHECK(back.Ok());
    FUZZ_CHECK(back.bytes == in.patch);
    return 0;
}
