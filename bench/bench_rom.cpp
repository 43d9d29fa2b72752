// Loading a ROM and comparing regions, each beside the plain operation it builds on.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "bench_files.h"
#include "core/patch_code.h"
#include "core/rom_image.h"

namespace tsumugi::bench {
namespace {

constexpr uint32_t kScenarioLength = 1614936;
constexpr uint32_t kExtensionLength = 0x1000000;
constexpr int kChangedWords = 100;

const std::string& Rom32() {
    static const std::string path = ScratchDir::Get().Write("rom32.gba", TitledImage(kRom32MiB));
    return path;
}

void BM_RomLoad32MiB(benchmark::State& state) {
    const std::string& path = Rom32();
    for (auto _ : state) {
        RomImage rom;
        const bool loaded = rom.Load(path, [] { return false; });
        if (!loaded) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(rom.m_pData);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kRom32MiB);
}

// The baseline: open, size, one read into an uninitialised heap block, close.
void BM_PlainRead32MiB(benchmark::State& state) {
    const std::string& path = Rom32();
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_RDONLY);
        struct stat st {};
        fstat(fd, &st);
        const auto size = static_cast<size_t>(st.st_size);
        std::unique_ptr<uint8_t[]> data(new uint8_t[size]);
        size_t done = 0;
        while (done < size) {
            const ssize_t n = read(fd, data.get() + done, size - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        close(fd);
        if (done != size) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(data.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kRom32MiB);
}

// A copy and a current image of `length` bytes that differ in kChangedWords words spread
// over the whole length.
struct RegionPair {
    explicit RegionPair(uint32_t length) : copy(TitledImage(length)), current(copy), same(copy) {
        for (int k = 0; k < kChangedWords; ++k) {
            const uint32_t at = (length / kChangedWords * static_cast<uint32_t>(k)) & ~1u;
            current[at] ^= 0x5A;
        }
    }
    std::vector<uint8_t> copy, current, same;
};

void DiffBenchmark(benchmark::State& state, uint32_t length) {
    const RegionPair pair(length);
    for (auto _ : state) {
        PatchCodeList codes;
        DiffRegion(pair.copy.data(), pair.current.data(), 0, length, codes);
        if (codes.Size() != kChangedWords) state.SkipWithError("wrong number of codes");
        benchmark::DoNotOptimize(codes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * length);
}

// The baseline: memcmp over the same number of bytes, run over equal buffers so that it
// reads them all instead of stopping at the first difference.
void MemcmpBenchmark(benchmark::State& state, uint32_t length) {
    const RegionPair pair(length);
    for (auto _ : state) {
        const int result = std::memcmp(pair.copy.data(), pair.same.data(), length);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * length);
}

void BM_DiffRegionScenario(benchmark::State& state) { DiffBenchmark(state, kScenarioLength); }
void BM_MemcmpScenario(benchmark::State& state) { MemcmpBenchmark(state, kScenarioLength); }
void BM_DiffRegionExtension16MiB(benchmark::State& state) {
    DiffBenchmark(state, kExtensionLength);
}
void BM_MemcmpExtension16MiB(benchmark::State& state) { MemcmpBenchmark(state, kExtensionLength); }

}  // namespace

BENCHMARK(BM_RomLoad32MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead32MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiffRegionScenario)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcmpScenario)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DiffRegionExtension16MiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcmpExtension16MiB)->Unit(benchmark::kMicrosecond);

}  // namespace tsumugi::bench
