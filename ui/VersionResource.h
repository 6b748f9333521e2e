// Reads texts from a version resource (VS_VERSIONINFO) as the program's own module
// holds it, without the version library.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace version {

// The text `name` of the string table `table` (language and code page in hex, as
// "040904b0") under StringFileInfo, in the block's UTF-16. Nothing when the block does
// not hold it or is not well formed: every length it states must lie inside what
// encloses it.
std::optional<std::u16string> FindString(std::span<const std::uint8_t> block,
                                         std::string_view table, std::string_view name);

}  // namespace version
