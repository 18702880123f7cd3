// The portable share of receiving one input buffer: its bytes appended to the store, the message
// committed and its label text made, for the three message sizes of the input benchmark. Set
// beside tools/bench-input's figures it shows how little of the time per message this is; the
// rest is the system's (the queue, the MIDI calls, the list box).
#include "manager/message_store.h"
#include "manager/input_assembly.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

void CountLabel(void* context, LabelChange, int, const char* label) {
    *static_cast<std::size_t*>(context) += std::char_traits<char>::length(label);
}

void BM_AssembleReceivedMessages(benchmark::State& state) {
    const auto length = static_cast<std::size_t>(state.range(0));
    const std::filesystem::path folder = std::filesystem::path(BENCH_SCRATCH) / "input";
    std::filesystem::create_directories(folder);
    BuildScratchFileNames(folder.string() + "/");
    std::size_t labelBytes = 0;
    store.labelHook = CountLabel;
    store.labelContext = &labelBytes;
    std::vector<unsigned char> message(length, 0x10);
    message.front() = 0xF0;
    message[1] = 0x41;
    message.back() = 0xF7;
    std::int32_t continuation = 0;
    unsigned char maker = 0;
    constexpr int perRound = 3000; // well below the store's 32,767
    for (auto _ : state) {
        state.PauseTiming();
        ResetStore();
        state.ResumeTiming();
        for (int i = 0; i < perRound; ++i)
            AssembleInputBuffer(message.data(), static_cast<std::uint32_t>(length), 32000,
                                continuation, maker);
    }
    state.SetItemsProcessed(state.iterations() * perRound);
    benchmark::DoNotOptimize(labelBytes);
    CloseStore();
    DeleteStoreFiles();
    store.labelHook = nullptr;
}

} // namespace

BENCHMARK(BM_AssembleReceivedMessages)->Arg(8)->Arg(74)->Arg(566);
BENCHMARK_MAIN();
