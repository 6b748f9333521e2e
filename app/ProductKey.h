// Where the product key lives and how its text values are read safely.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr const char* kProductKeyPath = "Software\\Vornel";
inline constexpr const char* kBackupKeyPath = "Software\\Vornel\\Original Settings";

// The text held by a registry value's data as read into a buffer of
// `capacity` bytes: the bytes up to the first NUL, or all of them when
// there is none (the registry does not promise a terminator), cut so that
// the text and its terminator fit the buffer.
std::string TextFromRegistryData(const std::uint8_t* data, std::size_t size, std::size_t capacity);

// The folder of a program file ("C:\Dir\Vornel.exe" gives "C:\Dir").
std::string FolderOfPath(const std::string& path);
