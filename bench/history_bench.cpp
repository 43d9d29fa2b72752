// Undo and redo of one step of 100,000 words (the journal record synced each time), beside
// the plain copy of those words' old and new bytes into the image.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench_files.h"
#include "core/bytes.h"
#include "core/session.h"

namespace tsumugi::bench {
namespace {

constexpr uint32_t kWords = 100000;
constexpr uint32_t kSpacing = 64;  // one changed word every 64 bytes: 6.4 MB of the image

struct AllYes : WorkspaceQuestions {
    bool AcceptWrongTitle() override { return true; }
    bool AcceptExtend(uint32_t) override { return true; }
};

void BM_UndoRedo100kWords(benchmark::State& state) {
    const std::string rom = ScratchDir::Get().Write("history.gba", TitledImage(kRom32MiB));
    Workspace ws;
    AllYes yes;
    if (!ws.LoadRom(rom, yes)) return state.SkipWithError("load failed");
    Session session(ws);
    session.SetFolder(ScratchDir::Get().File("state"));
    session.Open();
    const std::vector<uint8_t> before(ws.m_rom.m_pData, ws.m_rom.m_pData + ws.m_rom.m_nSize);
    const PatchCodeList codesBefore = ws.m_codes;
    for (uint32_t w = 0; w < kWords; ++w) {
        const uint32_t at = 0x1000 + w * kSpacing;
        Write16(ws.m_rom.m_pData + at, static_cast<uint16_t>(~Read16(ws.m_rom.m_pData + at)));
        ws.m_codes.Record(at, Read16(ws.m_rom.m_pData + at));
    }
    session.Record(MakeStep(StepKind::Command, "bench", before.data(), ws.m_rom.m_pData, ws.m_rom.m_nSize,
                            codesBefore, ws.m_codes));
    for (auto _ : state) {
        session.Undo();
        session.Redo();
    }
    session.Close();
}
BENCHMARK(BM_UndoRedo100kWords)->Unit(benchmark::kMillisecond);

// The baseline: the same words' old bytes, then their new bytes, copied into the image.
void BM_CopyWords100k(benchmark::State& state) {
    std::vector<uint8_t> image = TitledImage(kRom32MiB);
    std::vector<uint8_t> oldBytes(2 * kWords), newBytes(2 * kWords);
    for (uint32_t w = 0; w < kWords; ++w) {
        std::memcpy(&oldBytes[2 * w], &image[0x1000 + w * kSpacing], 2);
        newBytes[2 * w] = static_cast<uint8_t>(~oldBytes[2 * w]);
        newBytes[2 * w + 1] = static_cast<uint8_t>(~oldBytes[2 * w + 1]);
    }
    for (auto _ : state) {
        for (uint32_t w = 0; w < kWords; ++w) std::memcpy(&image[0x1000 + w * kSpacing], &oldBytes[2 * w], 2);
        for (uint32_t w = 0; w < kWords; ++w) std::memcpy(&image[0x1000 + w * kSpacing], &newBytes[2 * w], 2);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyWords100k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tsumugi::bench
