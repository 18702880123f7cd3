// Damaged definition and bank files: each input is written to disk and read both as a definition
// file (record and device list) and as a bank file (index, program data, merging it into a bank),
// with the sanitizers watching every read and write.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "librarian/bank_file.h"
#include "librarian/device_list.h"
#include "librarian/instrument_definition.h"

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

std::string ScratchPath(const char* name) {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder ? folder : "/tmp") + "/talvane-fuzz-" + std::to_string(getpid()) +
           "-" + name;
}

bool WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

void CheckDefinition(const std::string& path) {
    Require(LoadInstrumentDefinition(path));
    const InstrumentDefinition& d = instrument.definition;
    Require(d.channel >= 1 && d.channel <= 16);
    Require(d.rangeStart >= 0 && d.rangeStart <= d.rangeEnd && d.rangeEnd <= highestProgramNumber);
    Require(d.programSize >= 0 && d.programSize <= largestProgramSize);
    Require(FieldText(d.requestString).size() < sizeof d.requestString);
    Require(FieldText(d.notes).size() < sizeof d.notes);
    std::vector<std::string> lines;
    if (ReadDeviceList(path, lines))
        for (const std::string& line : lines)
            Require(line.size() <= deviceLineSize);
}

void CheckBank(const std::string& path, const std::string& target) {
    std::int32_t programSize = 0;
    if (!ReadBankProgramSize(path, programSize))
        return;
    if (!LoadBankIndex(path, programSize))
        return;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(programSize) + 1, 0xCC);
    for (const BankIndexEntry& entry : bank.index) {
        Require(FieldText(entry.name).size() < bankNameSize);
        Require(FindProgram(FieldText(entry.name)) >= 0);
        ReadProgramData(entry.slot, buffer.data());
        Require(buffer.back() == 0xCC);
    }
    // Merge it into a fresh bank of its program size, then read the result back.
    if (!InitialiseBankFile(target, programSize) || !LoadBankIndex(target, programSize))
        return;
    MergeOutcome outcome = MergeBankRecords(path);
    Require(!outcome.full);
    Require(LoadBankIndex(target, programSize));
    Require(static_cast<std::int32_t>(bank.index.size()) == outcome.copied);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string input = ScratchPath("input");
    static const std::string target = ScratchPath("target");
    if (!WriteInput(input, data, size))
        return 0;
    CheckDefinition(input);
    CheckBank(input, target);
    ClearBankIndex();
    return 0;
}
