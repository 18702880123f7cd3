#include "manager/file_list.h"

#include "manager/byte_file.h"

#include <algorithm>
#include <cstring>

FileList fileList;

namespace {

constexpr std::size_t listedDescriptionLength = 98;
constexpr std::size_t maxStandardLabelLength = 100;

void ReportChange(FileListChange change, int index, const std::string& label) {
    if (fileList.hook != nullptr)
        fileList.hook(fileList.context, change, index, label.c_str());
}

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string FileListLabel(SyxFormat format, const std::string& name,
                          const unsigned char* description, std::size_t descriptionLength) {
    switch (format) {
    case SyxFormat::brevikorlando10: {
        const std::size_t limit = std::min(descriptionLength, listedDescriptionLength);
        const auto* end = static_cast<const unsigned char*>(std::memchr(description, 0, limit));
        const std::size_t length =
            end != nullptr ? static_cast<std::size_t>(end - description) : limit;
        return "- " + std::string(reinterpret_cast<const char*>(description), length);
    }
    case SyxFormat::brevikorlando:
        return "* " + name;
    case SyxFormat::standard:
        break;
    }
    return name.substr(0, maxStandardLabelLength);
}

std::string FileListLabelOf(const std::string& path, const std::string& name) {
    ByteFile file(path, ByteFile::Mode::read);
    unsigned char tag[syxTagSize];
    const SyxFormat format = FormatOfTag(tag, file.Read(tag, sizeof tag));
    unsigned char description[listedDescriptionLength];
    std::size_t descriptionLength = 0;
    if (format == SyxFormat::brevikorlando10)
        descriptionLength = file.Read(description, sizeof description);
    return FileListLabel(format, name, description, descriptionLength);
}

bool IsListedFileName(const std::string& name) {
    return !name.empty() && name[0] != '~';
}

bool SameFileName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

void FillFileList(const std::string& folder, const std::vector<std::string>& names,
                  const std::string& nameToSelect) {
    fileList.names.clear();
    ReportChange(FileListChange::clear, 0, "");
    for (const std::string& name : names) {
        if (!IsListedFileName(name))
            continue;
        AddFileListEntry(FileListLabelOf(folder + name, name), name,
                         SameFileName(name, nameToSelect));
    }
}

void AddFileListEntry(const std::string& label, const std::string& name, bool select) {
    fileList.names.push_back(name);
    const int index = FileListCount() - 1;
    ReportChange(FileListChange::append, index, label);
    if (select)
        ReportChange(FileListChange::select, index, label);
}

void RemoveFileListEntry(int index) {
    if (index < 0 || index >= FileListCount())
        return;
    fileList.names.erase(fileList.names.begin() + index);
    ReportChange(FileListChange::remove, index, "");
}

std::string FileListName(int index) {
    if (index < 0 || index >= FileListCount())
        return {};
    return fileList.names[static_cast<std::size_t>(index)];
}

int FileListCount() {
    return static_cast<int>(fileList.names.size());
}
