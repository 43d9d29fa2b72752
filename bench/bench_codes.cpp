// Code files, in-place patching and name decoding, each beside a plain baseline.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include "bench_files.h"
#include "core/char_table.h"
#include "demo/rom.h"
#include "core/file_patcher.h"
#include "core/patch_code.h"
#include "core/text_codec.h"

namespace tsumugi::bench {
namespace {

constexpr int kFileCodes = 100000;
constexpr int kPatchCodes = 10000;

PatchCodeList SpreadCodes(int count, uint32_t span) {
    PatchCodeList codes;
    const uint32_t step = (span / static_cast<uint32_t>(count)) & ~1u;
    for (int k = 0; k < count; ++k) {
        codes.Set(step * static_cast<uint32_t>(k), static_cast<uint16_t>(k * 40503));
    }
    return codes;
}

const PatchCodeList& FileCodes() {
    static const PatchCodeList codes = SpreadCodes(kFileCodes, kRom32MiB);
    return codes;
}

const std::string& CodeFile() {
    static const std::string path = [] {
        const std::string p = ScratchDir::Get().File("codes100k.txt");
        WriteCodeFile(FileCodes(), p);
        return p;
    }();
    return path;
}

void BM_WriteCodeFile100k(benchmark::State& state) {
    const std::string path = ScratchDir::Get().File("write100k.txt");
    for (auto _ : state) {
        if (!WriteCodeFile(FileCodes(), path)) state.SkipWithError("write failed");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kFileCodes);
}

// The baseline: the same bytes, already formatted, written the same way.
void BM_PlainWriteCodeText100k(benchmark::State& state) {
    const std::optional<ByteBuffer> text = ReadWholeFile(CodeFile());
    const std::string path = ScratchDir::Get().File("plain100k.txt");
    for (auto _ : state) {
        if (!WriteWholeFile(path, text->Data(), text->Size())) state.SkipWithError("write failed");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kFileCodes);
}

void BM_ReadCodeFile100k(benchmark::State& state) {
    const std::string& path = CodeFile();
    for (auto _ : state) {
        const std::optional<PatchCodeList> codes = ReadCodeFile(path);
        if (!codes || codes->Size() != kFileCodes) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(codes);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kFileCodes);
}

// The baseline: reading the file's bytes without parsing them.
void BM_PlainReadCodeFile100k(benchmark::State& state) {
    const std::string& path = CodeFile();
    for (auto _ : state) {
        const std::optional<ByteBuffer> text = ReadWholeFile(path);
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kFileCodes);
}

const std::string& PatchTarget() {
    static const std::string path = ScratchDir::Get().Write("patch32.gba", TitledImage(kRom32MiB));
    return path;
}

void BM_FilePatcherApply10k(benchmark::State& state) {
    FilePatcher patcher;
    for (const auto& [offset, value] : SpreadCodes(kPatchCodes, kRom32MiB))
        patcher.AddEntry(offset, value, 2);
    const std::string& path = PatchTarget();
    for (auto _ : state) {
        if (!patcher.Apply(path)) state.SkipWithError("apply failed");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPatchCodes);
}

// The baseline: one two-byte pwrite per code and one fsync.
void BM_PlainPwrite10k(benchmark::State& state) {
    const PatchCodeList codes = SpreadCodes(kPatchCodes, kRom32MiB);
    const std::string& path = PatchTarget();
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_WRONLY);
        for (const auto& [offset, value] : codes) {
            const uint8_t bytes[2] = {static_cast<uint8_t>(value),
                                      static_cast<uint8_t>(value >> 8)};
            if (pwrite(fd, bytes, 2, offset) != 2) state.SkipWithError("pwrite failed");
        }
        fsync(fd);
        close(fd);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPatchCodes);
}

namespace weapon_names {
constexpr uint32_t kFirst = 0xD7CC0, kStride = 64, kLength = 32;
constexpr int kCount = 740;
}  // namespace weapon_names

const std::vector<uint8_t>& DemoRom() {
    static const std::vector<uint8_t> rom = [] {
        const std::string table = demo::StringTable();
        const std::string path = ScratchDir::Get().File("string.txt");
        WriteWholeFile(path, reinterpret_cast<const uint8_t*>(table.data()), table.size());
        CharTable::SetPath(path);
        return demo::BuildRom();
    }();
    return rom;
}

void BM_DecodeWeaponNames740(benchmark::State& state) {
    const std::vector<uint8_t>& rom = DemoRom();
    CTextCodec codec(rom.data(), static_cast<uint32_t>(rom.size()));
    std::string name;
    if (!codec.GetWeaponName(0, name)) state.SkipWithError("no character table");
    for (auto _ : state) {
        for (int i = 0; i < weapon_names::kCount; ++i) {
            codec.GetWeaponName(i, name);
            benchmark::DoNotOptimize(name);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * weapon_names::kCount);
}

// The baseline: copying each name's bytes up to its terminator, without a table.
void BM_CopyWeaponNameBytes740(benchmark::State& state) {
    const std::vector<uint8_t>& rom = DemoRom();
    std::string name;
    for (auto _ : state) {
        for (uint32_t i = 0; i < weapon_names::kCount; ++i) {
            const uint8_t* field = rom.data() + weapon_names::kFirst + weapon_names::kStride * i;
            uint32_t length = 0;
            while (length < weapon_names::kLength && field[length] != 0xFF) ++length;
            name.assign(reinterpret_cast<const char*>(field), length);
            benchmark::DoNotOptimize(name);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * weapon_names::kCount);
}

}  // namespace

BENCHMARK(BM_WriteCodeFile100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteCodeText100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCodeFile100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadCodeFile100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilePatcherApply10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainPwrite10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeWeaponNames740)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyWeaponNameBytes740)->Unit(benchmark::kMicrosecond);

}  // namespace tsumugi::bench
