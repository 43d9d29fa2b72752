// One edit run of the scenario category on a 32 MiB ROM: scratch copies of the region and
// of the 16 MiB extension area, one changed word, the comparison that makes the codes.
// The baseline copies and compares the same bytes with plain memcpy and memcmp.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "core/edit_guard.h"
#include "core/patch_code.h"
#include "core/regions.h"
#include "core/rom_image.h"

namespace {

constexpr uint32_t kRomSize = 0x2000000;

struct Rom32 {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kRomSize, 0xFF);
    tsumugi::RomImage image;
    Rom32() {
        image.m_pData = bytes.data();
        image.m_nSize = kRomSize;
    }
    ~Rom32() { image.m_pData = nullptr; }  // the vector owns the bytes
};

const tsumugi::DataRegion& ScenarioRegion() {
    return tsumugi::kRegionTable.back();  // the scenario data, the last row
}

void BM_EditRunScenario32MiB(benchmark::State& state) {
    Rom32 rom;
    const tsumugi::DataRegion& region = ScenarioRegion();
    for (auto _ : state) {
        tsumugi::EditGuard guard;
        tsumugi::PatchCodeList codes;
        if (guard.Begin(rom.image, tsumugi::category::kScenario) != tsumugi::EditGuard::BeginResult::Ok) {
            state.SkipWithError("begin failed");
            break;
        }
        rom.bytes[region.offset + 100] ^= 1;  // the editor's one change
        guard.Commit(codes);
        benchmark::DoNotOptimize(codes.Size());
    }
}
BENCHMARK(BM_EditRunScenario32MiB)->Unit(benchmark::kMillisecond);

void BM_EditRunBaselineMemcpyMemcmp(benchmark::State& state) {
    Rom32 rom;
    const tsumugi::DataRegion& region = ScenarioRegion();
    const uint32_t extension = kRomSize - 0x1000000;
    for (auto _ : state) {
        std::unique_ptr<uint8_t[]> copy(new uint8_t[region.length]);
        std::unique_ptr<uint8_t[]> ext(new uint8_t[extension]);
        std::memcpy(copy.get(), rom.bytes.data() + region.offset, region.length);
        std::memcpy(ext.get(), rom.bytes.data() + 0x1000000, extension);
        rom.bytes[region.offset + 100] ^= 1;
        int a = std::memcmp(copy.get(), rom.bytes.data() + region.offset, region.length);
        int b = std::memcmp(ext.get(), rom.bytes.data() + 0x1000000, extension);
        benchmark::DoNotOptimize(a + b);
    }
}
BENCHMARK(BM_EditRunBaselineMemcpyMemcmp)->Unit(benchmark::kMillisecond);

}  // namespace
