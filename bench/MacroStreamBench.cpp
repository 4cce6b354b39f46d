// Encoding and paging of macros: the CPU cost of building an image, and the frames and modelled transfer time
// a macro of each size costs with the default pacing.
#include <benchmark/benchmark.h>

#include "device/MacroStream.h"
#include "device/ReportTransport.h"
#include "platform/Pacer.h"

namespace mousecfg {
namespace {

MacroBlock KeyMacro(int items, int delay) {
    MacroBlock block;
    block.macRpt = 1;
    block.num = static_cast<uint16_t>(items);
    for (size_t i = 0; i < static_cast<size_t>(items); ++i) {
        block.macVal[i] = static_cast<uint8_t>(0x04 + i % 26);
        block.macSta[i] = i % 2 == 0 ? 1 : 2;
        block.macDly[i] = delay;
    }
    return block;
}

void BM_EncodeMacro(benchmark::State& state) {
    const MacroBlock block = MapItemCodes(KeyMacro(static_cast<int>(state.range(0)), 20));
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeMacro(block));
    }
}
BENCHMARK(BM_EncodeMacro)->Arg(1)->Arg(100)->Arg(254);

// Counts the waits of a write instead of sleeping.
class CountingPacer final : public Pacer {
public:
    void Pause(std::chrono::milliseconds duration) override { totalMs += duration.count(); }
    long long totalMs = 0;
};

void BM_WriteMacroModelledTime(benchmark::State& state) {
    const MacroBlock block = MapItemCodes(KeyMacro(static_cast<int>(state.range(0)), 20));
    CountingPacer pacer;
    ReportTransport transport(PacingValues::Default(), pacer);
    for (auto _ : state) {
        pacer.totalMs = 0;
        benchmark::DoNotOptimize(WriteMacro(transport, 0, block));
    }
    const auto image = EncodeMacro(block);
    state.counters["image_bytes"] = static_cast<double>(image ? image->size() : 0);
    state.counters["frames"] = static_cast<double>(image ? (image->size() + kMacroPageSize - 1) / kMacroPageSize : 0);
    state.counters["modelled_ms"] = static_cast<double>(pacer.totalMs);
}
BENCHMARK(BM_WriteMacroModelledTime)->Arg(1)->Arg(100)->Arg(254);

}  // namespace
}  // namespace mousecfg
