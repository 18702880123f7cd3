// Bank files at their largest: 32,000 programs of 170 bytes (an M1 bank, about 6.4 MB). Opening
// it, storing into it and merging two of them, beside a plain sequential read of the same file.
// librarian_bank_bench_table.sh runs these next to `cat` and prints the comparison.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "librarian/bank_file.h"

namespace {

// Heap use of the operation being measured: the largest amount allocated at once.
std::atomic<std::size_t> heapNow{0};
std::atomic<std::size_t> heapPeak{0};

constexpr std::int32_t programSize = 170;

std::string Scratch(const char* name) {
    return std::string(BENCH_SCRATCH) + "/" + name;
}

// Writes a full bank record by record, so that making it costs no memory worth mentioning.
void WriteFullBank(const std::string& path, const char* namePrefix) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(&programSize, 4, 1, file);
    std::vector<std::uint8_t> flags(bankSlotCount, 1);
    std::fwrite(flags.data(), 1, flags.size(), file);
    std::vector<std::uint8_t> record(bankNameSize + programSize);
    for (std::int32_t slot = 0; slot < bankSlotCount; ++slot) {
        std::fill(record.begin(), record.end(), 0);
        std::snprintf(reinterpret_cast<char*>(record.data()), bankNameSize, "%s %05d", namePrefix,
                      slot);
        for (std::int32_t i = 0; i < programSize; ++i)
            record[bankNameSize + i] = static_cast<std::uint8_t>((slot + i) & 0x7F);
        std::fwrite(record.data(), 1, record.size(), file);
    }
    if (std::fclose(file) != 0)
        std::abort();
}

const std::string& FullBank() {
    static const std::string path = [] {
        std::filesystem::create_directories(BENCH_SCRATCH);
        std::string p = Scratch("Full.QXBank");
        WriteFullBank(p, "Program");
        return p;
    }();
    return path;
}

const std::string& OtherFullBank() {
    static const std::string path = [] {
        FullBank();
        std::string p = Scratch("Other.QXBank");
        WriteFullBank(p, "Other");
        return p;
    }();
    return path;
}

std::string CopyOf(const std::string& source, const char* name) {
    std::string path = Scratch(name);
    std::filesystem::copy_file(source, path, std::filesystem::copy_options::overwrite_existing);
    return path;
}

void StartHeapCount() {
    heapPeak = heapNow.load();
}

void ReportHeap(benchmark::State& state, std::size_t before) {
    state.counters["heap_peak_KiB"] = static_cast<double>(heapPeak - before) / 1024.0;
}

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void BM_SequentialRead(benchmark::State& state) {
    const std::string& path = FullBank();
    std::vector<char> buffer(64 * 1024);
    std::size_t before = heapNow;
    StartHeapCount();
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        std::size_t total = 0, got;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0)
            total += got;
        std::fclose(file);
        benchmark::DoNotOptimize(total);
    }
    ReportHeap(state, before);
}

void BM_OpenFullBank(benchmark::State& state) {
    const std::string& path = FullBank();
    std::size_t before = heapNow;
    StartHeapCount();
    for (auto _ : state) {
        Require(LoadBankIndex(path, programSize));
        Require(bank.index.size() == bankSlotCount);
    }
    ReportHeap(state, before);
    ClearBankIndex();
}

// Storing a new program into a bank whose only free slot is the last one, then deleting it again
// (the delete is not timed).
void BM_StoreIntoNearlyFullBank(benchmark::State& state) {
    std::string path = CopyOf(FullBank(), "Store.QXBank");
    Require(LoadBankIndex(path, programSize));
    Require(DeleteProgram("Program 31999"));
    std::vector<std::uint8_t> data(programSize, 0x42);
    std::size_t before = heapNow;
    StartHeapCount();
    for (auto _ : state) {
        Require(StoreProgramRecord("Stored", data.data(), -1) == bankSlotCount - 1);
        state.PauseTiming();
        Require(DeleteProgram("Stored"));
        state.ResumeTiming();
    }
    ReportHeap(state, before);
    ClearBankIndex();
}

void BM_StoreIntoFullBank(benchmark::State& state) {
    std::string path = CopyOf(FullBank(), "StoreFull.QXBank");
    Require(LoadBankIndex(path, programSize));
    std::vector<std::uint8_t> data(programSize, 0x42);
    std::size_t before = heapNow;
    StartHeapCount();
    for (auto _ : state)
        Require(StoreProgramRecord("Stored", data.data(), -1) == bankFull);
    ReportHeap(state, before);
    ClearBankIndex();
}

// All 32,000 programs copied into an empty bank.
void BM_MergeFullBankIntoEmptyBank(benchmark::State& state) {
    const std::string& source = FullBank();
    std::string target = Scratch("MergeTarget.QXBank");
    std::size_t before = heapNow;
    StartHeapCount();
    for (auto _ : state) {
        state.PauseTiming();
        Require(InitialiseBankFile(target, programSize));
        Require(LoadBankIndex(target, programSize));
        state.ResumeTiming();
        MergeOutcome outcome = MergeBankRecords(source);
        Require(outcome.copied == bankSlotCount && !outcome.unreadable && !outcome.writeFailed);
    }
    ReportHeap(state, before);
    ClearBankIndex();
}

// Two full banks with the same names: every program is read and skipped.
void BM_MergeFullBankIntoFullBank(benchmark::State& state) {
    std::string target = CopyOf(FullBank(), "MergeFull.QXBank");
    Require(LoadBankIndex(target, programSize));
    std::size_t before = heapNow;
    StartHeapCount();
    for (auto _ : state) {
        MergeOutcome outcome = MergeBankRecords(FullBank());
        Require(outcome.copied == 0 && !outcome.full && !outcome.unreadable &&
                !outcome.writeFailed);
    }
    ReportHeap(state, before);
    ClearBankIndex();
}

// Two full banks with different names: the first program finds no free slot.
void BM_MergeOtherFullBankIntoFullBank(benchmark::State& state) {
    std::string target = CopyOf(FullBank(), "MergeOther.QXBank");
    Require(LoadBankIndex(target, programSize));
    std::size_t before = heapNow;
    StartHeapCount();
    for (auto _ : state) {
        MergeOutcome outcome = MergeBankRecords(OtherFullBank());
        Require(outcome.copied == 0 && outcome.full);
    }
    ReportHeap(state, before);
    ClearBankIndex();
}

BENCHMARK(BM_SequentialRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFullBank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreIntoNearlyFullBank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreIntoFullBank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeFullBankIntoEmptyBank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeFullBankIntoFullBank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeOtherFullBankIntoFullBank)->Unit(benchmark::kMillisecond);

} // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size + sizeof(std::max_align_t));
    if (!p)
        throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = size;
    std::size_t now = heapNow += size;
    std::size_t peak = heapPeak;
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(p) + sizeof(std::max_align_t);
}

void operator delete(void* p) noexcept {
    if (!p)
        return;
    char* block = static_cast<char*>(p) - sizeof(std::max_align_t);
    heapNow -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

BENCHMARK_MAIN();
