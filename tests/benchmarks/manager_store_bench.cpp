// The message store and the .syx files at scale: a full store appended and committed, an edit in
// the middle of a 100 MB store, and a Brevikorlando file of 32,767 messages read and saved. Each
// case reports the bytes it handles, the peak heap it used and the peak resident size, so that
// tools/bench-manager can set them beside copying the same files with cp. Like those copies, each
// case writes into files that do not exist yet; clearing the last round's files is not timed.
#include "manager/message_store.h"
#include "manager/syx_format.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

// ---- Heap accounting: every operator new is counted, so a case's peak heap is exact.

namespace {

std::atomic<std::int64_t> liveHeap{0};
std::atomic<std::int64_t> peakHeap{0};
constexpr std::size_t heapHeader = 16;

void* CountedAllocate(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + heapHeader));
    if (block == nullptr)
        throw std::bad_alloc();
    std::memcpy(block, &size, sizeof size);
    const std::int64_t live = liveHeap += static_cast<std::int64_t>(size);
    std::int64_t peak = peakHeap.load();
    while (live > peak && !peakHeap.compare_exchange_weak(peak, live)) {
    }
    return block + heapHeader;
}

void CountedRelease(void* pointer) {
    if (pointer == nullptr)
        return;
    auto* block = static_cast<unsigned char*>(pointer) - heapHeader;
    std::size_t size = 0;
    std::memcpy(&size, block, sizeof size);
    liveHeap -= static_cast<std::int64_t>(size);
    std::free(block);
}

} // namespace

void* operator new(std::size_t size) {
    return CountedAllocate(size);
}
void* operator new[](std::size_t size) {
    return CountedAllocate(size);
}
void operator delete(void* pointer) noexcept {
    CountedRelease(pointer);
}
void operator delete[](void* pointer) noexcept {
    CountedRelease(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    CountedRelease(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    CountedRelease(pointer);
}

namespace {

// ---- Peak resident size of the process, reset before each case (Linux).

void ResetPeakResident() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

std::int64_t PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atoll(line.c_str() + 6) * 1024;
    }
    return 0;
}

std::int64_t CurrentResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atoll(line.c_str() + 6) * 1024;
    }
    return 0;
}

struct MemoryWatch {
    std::int64_t heapAtStart = 0;
    std::int64_t residentAtStart = 0;

    MemoryWatch() {
        ResetPeakResident();
        heapAtStart = liveHeap.load();
        peakHeap = heapAtStart;
        residentAtStart = CurrentResidentBytes();
    }
    void Report(benchmark::State& state, std::int64_t bytes) const {
        state.counters["bytes"] = static_cast<double>(bytes);
        state.counters["heap_peak"] = static_cast<double>(peakHeap.load() - heapAtStart);
        state.counters["rss_peak"] = static_cast<double>(PeakResidentBytes());
        state.counters["rss_growth"] = static_cast<double>(PeakResidentBytes() - residentAtStart);
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
    }
};

// ---- Fixtures.

constexpr int storeMessages = 32767;
constexpr std::int32_t bigMessageLength = 100000;
constexpr int bigStoreMessages = 1000; // 100,000,000 bytes

std::string Folder(const char* name) {
    const std::filesystem::path folder = std::filesystem::path(BENCH_SCRATCH) / "manager" / name;
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

// Patch-sized messages of 256 to 1,023 bytes, F0 ... F7, as a bulk dump brings them.
std::vector<unsigned char> PatchMessage(int index) {
    std::vector<unsigned char> message(static_cast<std::size_t>(256 + (index * 37) % 768));
    for (std::size_t i = 0; i < message.size(); ++i)
        message[i] = static_cast<unsigned char>((i + static_cast<std::size_t>(index)) & 0x7F);
    message.front() = 0xF0;
    message[1] = 0x41;
    message.back() = 0xF7;
    return message;
}

void AddMessage(const std::vector<unsigned char>& message) {
    AppendMessageBytes(message.data(), static_cast<std::int64_t>(message.size()));
    CommitMessage(static_cast<std::int32_t>(message.size()), 0x41, LabelForm::received);
}

std::int64_t FillPatchStore() {
    std::int64_t bytes = 0;
    ResetStore();
    for (int i = 0; i < storeMessages; ++i) {
        const auto message = PatchMessage(i);
        AddMessage(message);
        bytes += static_cast<std::int64_t>(message.size());
    }
    store.dataFile.Flush();
    store.lengthFile.Flush();
    return bytes;
}

std::string BankFile() {
    return Folder("bank") + "bank.syx";
}

void BM_AppendAndCommitFullStore(benchmark::State& state) {
    BuildScratchFileNames(Folder("append"));
    std::vector<std::vector<unsigned char>> messages;
    std::int64_t bytes = 0;
    for (int i = 0; i < storeMessages; ++i) {
        messages.push_back(PatchMessage(i));
        bytes += static_cast<std::int64_t>(messages.back().size());
    }
    const MemoryWatch watch;
    for (auto _ : state) {
        // Emptying the store (deleting the last round's files) is not part of the case, just as
        // the copy with cp goes to a file that does not exist yet.
        state.PauseTiming();
        ResetStore();
        state.ResumeTiming();
        for (const auto& message : messages)
            AddMessage(message);
        store.dataFile.Flush();
        store.lengthFile.Flush();
    }
    watch.Report(state, bytes + 4 * storeMessages);
    CloseStore();
}

void BM_EditMiddleOf100MBStore(benchmark::State& state) {
    BuildScratchFileNames(Folder("edit"));
    ResetStore();
    {
        std::vector<unsigned char> message(bigMessageLength, 0x11);
        message.front() = 0xF0;
        message.back() = 0xF7;
        for (int i = 0; i < bigStoreMessages; ++i)
            AddMessage(message);
    }
    store.dataFile.Flush();
    const MemoryWatch watch;
    std::vector<unsigned char> edited;
    for (auto _ : state) {
        SplitForEdit(bigStoreMessages / 2, bigMessageLength, edited);
        CommitEdit(edited.data(), static_cast<std::int32_t>(edited.size()));
    }
    watch.Report(state, static_cast<std::int64_t>(bigMessageLength) * bigStoreMessages);
    if (MessageCount() != bigStoreMessages)
        state.SkipWithError("the edit changed the number of messages");
    CloseStore();
}

void BM_ReadBrevikorlandoFile(benchmark::State& state) {
    BuildScratchFileNames(Folder("read"));
    FillPatchStore();
    std::vector<unsigned char> block(32500);
    WriteStoreToFile(BankFile(), SyxFormat::brevikorlando, MakeDescription("bank.syx"),
                     block.data(), block.size());
    const std::int64_t fileBytes = std::filesystem::file_size(BankFile());
    const MemoryWatch watch;
    for (auto _ : state) {
        state.PauseTiming();
        ResetStore();
        state.ResumeTiming();
        if (ReadSyxFileIntoStore(BankFile()) != SyxReadResult::read)
            state.SkipWithError("the file did not read back");
        store.dataFile.Flush();
        store.lengthFile.Flush();
    }
    watch.Report(state, fileBytes);
    if (MessageCount() != storeMessages)
        state.SkipWithError("not every message was read");
    CloseStore();
}

void BM_SaveBrevikorlandoFile(benchmark::State& state) {
    BuildScratchFileNames(Folder("save"));
    FillPatchStore();
    std::vector<unsigned char> block(32500);
    const std::string target = Folder("save") + "saved.syx";
    const MemoryWatch watch;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(target);
        state.ResumeTiming();
        if (!WriteStoreToFile(target, SyxFormat::brevikorlando, MakeDescription("saved.syx"),
                              block.data(), block.size()))
            state.SkipWithError("the store could not be saved");
        ReopenStoreForWriting();
    }
    watch.Report(state, static_cast<std::int64_t>(std::filesystem::file_size(target)));
    CloseStore();
}

} // namespace

BENCHMARK(BM_AppendAndCommitFullStore)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EditMiddleOf100MBStore)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadBrevikorlandoFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveBrevikorlandoFile)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
