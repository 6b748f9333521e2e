// A registry key opened with full access and closed when it goes out of scope.
#pragma once

#include <windows.h>

class RegKey {
public:
    RegKey() = default;
    RegKey(HKEY root, const char* path) {
        if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~RegKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    explicit operator bool() const { return key_ != nullptr; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};
