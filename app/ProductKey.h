// Where the product key lives and which of its values the program can use.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/Catalogue.h"
#include "engine/RegistryStore.h"

// HKEY_CURRENT_USER\Software\Vornel, beside the backup it holds.
inline constexpr const char* kProductKeyPath = catalogue::kProductKey;

// The program's buffers for the folder and the language: 260 bytes with the terminator.
inline constexpr std::size_t kProductTextCapacity = 260;

namespace product {

// The text of a REG_SZ or REG_EXPAND_SZ value: its bytes up to the first NUL,
// or all of them when there is none (the registry does not promise one).
// Nothing for a value of another type.
std::optional<std::string> ProductText(const reg::Value& value);

// The installation folder an "AppPath" value names, or nothing when it is of
// no use: not text, empty, relative (the system would resolve it against its
// own folder), or too long for the buffer. The program's own folder stands in.
std::optional<std::string> UsableAppPath(const reg::Value& value);

// The language a "Language" value names, or nothing when it does not name a
// file in the Lang folder: not text, empty, too long for the buffer, or
// holding a path separator, a drive colon or "..".
std::optional<std::string> UsableLanguage(const reg::Value& value);

// The folder of a program file ("C:\Dir\Vornel.exe" gives "C:\Dir").
std::string FolderOfPath(const std::string& path);

}  // namespace product
