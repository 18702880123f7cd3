#include "harness/registry.h"

#include <gtest/gtest.h>

namespace e2e {

namespace {

// An open registry key that closes itself.
struct Key {
    HKEY handle = nullptr;
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() {
        if (handle)
            RegCloseKey(handle);
    }
};

bool Open(HKEY root, std::string_view path, REGSAM access, Key& key) {
    return RegOpenKeyExA(root, std::string(path).c_str(), 0, access, &key.handle) == ERROR_SUCCESS;
}

bool Create(HKEY root, std::string_view path, Key& key) {
    return RegCreateKeyExA(root, std::string(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, &key.handle, nullptr) == ERROR_SUCCESS;
}

} // namespace

bool KeyExists(HKEY root, std::string_view path) {
    Key key;
    return Open(root, path, KEY_READ, key);
}

bool ValueExists(HKEY root, std::string_view path, std::string_view name) {
    return ReadValue(root, path, name).has_value();
}

std::optional<RegistryValue> ReadValue(HKEY root, std::string_view path, std::string_view name) {
    Key key;
    if (!Open(root, path, KEY_READ, key))
        return std::nullopt;
    std::string valueName(name);
    RegistryValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key.handle, valueName.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    if (RegQueryValueExA(key.handle, valueName.c_str(), nullptr, &value.type,
                         size ? value.data.data() : nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

std::optional<DWORD> ReadDword(HKEY root, std::string_view path, std::string_view name) {
    auto value = ReadValue(root, path, name);
    if (!value || value->type != REG_DWORD || value->data.size() != sizeof(DWORD))
        return std::nullopt;
    DWORD number = 0;
    for (int i = 3; i >= 0; --i)
        number = (number << 8) | value->data[i];
    return number;
}

std::optional<std::string> ReadString(HKEY root, std::string_view path, std::string_view name) {
    auto value = ReadValue(root, path, name);
    if (!value || value->type != REG_SZ)
        return std::nullopt;
    std::string text(value->data.begin(), value->data.end());
    if (auto zero = text.find('\0'); zero != std::string::npos)
        text.resize(zero);
    return text;
}

bool WriteValue(HKEY root, std::string_view path, std::string_view name, DWORD type,
                const std::vector<unsigned char>& data) {
    Key key;
    if (!Create(root, path, key))
        return false;
    return RegSetValueExA(key.handle, std::string(name).c_str(), 0, type,
                          data.empty() ? nullptr : data.data(),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool WriteDword(HKEY root, std::string_view path, std::string_view name, DWORD value) {
    std::vector<unsigned char> data{
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return WriteValue(root, path, name, REG_DWORD, data);
}

bool WriteString(HKEY root, std::string_view path, std::string_view name, std::string_view value) {
    std::vector<unsigned char> data(value.begin(), value.end());
    data.push_back(0);
    return WriteValue(root, path, name, REG_SZ, data);
}

bool DeleteValue(HKEY root, std::string_view path, std::string_view name) {
    Key key;
    if (!Open(root, path, KEY_ALL_ACCESS, key))
        return true;
    LONG status = RegDeleteValueA(key.handle, std::string(name).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteKeyTree(HKEY root, std::string_view path) {
    {
        Key key;
        if (!Open(root, path, KEY_ALL_ACCESS, key))
            return !KeyExists(root, path);
        // Delete the first subkey until there is none: indexes shift as keys go.
        char child[256];
        for (;;) {
            DWORD length = sizeof child;
            if (RegEnumKeyExA(key.handle, 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            std::string childPath = std::string(path) + "\\" + child;
            if (!DeleteKeyTree(root, childPath))
                return false;
        }
    }
    RegDeleteKeyA(root, std::string(path).c_str());
    return !KeyExists(root, path);
}

void ResetRegistry() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        EXPECT_TRUE(DeleteKeyTree(root, "Software\\Quillfen"))
            << "the settings survived under "
            << (root == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE");
    for (const char* key : kFileTypeKeys)
        EXPECT_TRUE(DeleteKeyTree(HKEY_CLASSES_ROOT, key))
            << "the file-type key " << key << " survived";
}

} // namespace e2e
