#pragma once
// Shared set-up of the native tests of the message store and the .syx files: a scratch folder of
// its own for every test, the store's scratch files in it, and a label list that records what
// the store reports, as the Manager's list box would show it.
#include "manager/message_store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

struct LabelListDouble {
    std::vector<std::string> labels;
    int fullNotices = 0;
};

inline void RecordLabel(void* context, LabelChange change, int index, const char* label) {
    auto& labels = static_cast<LabelListDouble*>(context)->labels;
    switch (change) {
    case LabelChange::clear:
        labels.clear();
        break;
    case LabelChange::append:
        EXPECT_EQ(index, static_cast<int>(labels.size()));
        labels.push_back(label);
        break;
    case LabelChange::replace:
        ASSERT_LT(index, static_cast<int>(labels.size()));
        labels[static_cast<std::size_t>(index)] = label;
        break;
    }
}

inline void RecordFullNotice(void* context) {
    ++static_cast<LabelListDouble*>(context)->fullNotices;
}

// A message of `length` bytes: F0, the maker byte, a counting pattern, F7.
inline Bytes MakeMessage(std::size_t length, unsigned char maker, unsigned seed = 0) {
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<unsigned char>((i * 7 + seed * 13) & 0x7F);
    if (length > 0)
        bytes[0] = 0xF0;
    if (length > 1)
        bytes[1] = maker;
    if (length > 2)
        bytes.back() = 0xF7;
    return bytes;
}

inline Bytes ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void AppendInt32(Bytes& bytes, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<unsigned char>((bits >> shift) & 0xFF));
}

class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::path(TALVANE_TEST_SCRATCH) /
                 (std::string(info->test_suite_name()) + "." + info->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        BuildScratchFileNames(folder.string() + "/");
        store.labelHook = RecordLabel;
        store.labelContext = &list;
        store.fullHook = RecordFullNotice;
        store.fullContext = &list;
        ResetStore();
    }
    void TearDown() override {
        CloseStore();
        store.labelHook = nullptr;
        store.fullHook = nullptr;
    }

    std::string Path(const std::string& name) const { return (folder / name).string(); }

    void AddMessage(const Bytes& bytes) {
        AppendMessageBytes(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        CommitMessage(static_cast<std::int32_t>(bytes.size()),
                      FindMakerByte(bytes.data(), static_cast<std::int64_t>(bytes.size())),
                      LabelForm::received);
    }

    // The messages as the store files hold them, cut by the length file.
    std::vector<Bytes> StoredMessages() {
        store.dataFile.Flush();
        store.lengthFile.Flush();
        const Bytes data = ReadWholeFile(store.files.data);
        const Bytes lengths = ReadWholeFile(store.files.lengths);
        EXPECT_EQ(lengths.size(), 4u * static_cast<std::size_t>(MessageCount()));
        std::vector<Bytes> messages;
        std::size_t offset = 0;
        for (std::size_t i = 0; i + 4 <= lengths.size(); i += 4) {
            const std::size_t length = lengths[i] | lengths[i + 1] << 8 | lengths[i + 2] << 16 |
                                       static_cast<std::size_t>(lengths[i + 3]) << 24;
            if (offset + length > data.size()) {
                ADD_FAILURE() << "length file names more bytes than the data file holds";
                break;
            }
            messages.emplace_back(data.begin() + static_cast<std::ptrdiff_t>(offset),
                                  data.begin() + static_cast<std::ptrdiff_t>(offset + length));
            offset += length;
        }
        EXPECT_EQ(offset, data.size()) << "data file holds bytes no length names";
        return messages;
    }

    std::filesystem::path folder;
    LabelListDouble list;
};
