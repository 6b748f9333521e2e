// The rules for the product key's values.
#include "app/ProductKey.h"

#include <algorithm>

namespace {

bool FitsBuffer(const std::string& text) {
    return !text.empty() && text.size() < kProductTextCapacity;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// "C:\..." or a network path "\\server\share...".
bool IsAbsolutePath(std::string_view path) {
    const bool drive = path.size() >= 3 &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && IsSeparator(path[2]);
    const bool network =
        path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
    return drive || network;
}

bool IsFileName(std::string_view name) {
    return name.find_first_of("\\/:") == std::string_view::npos &&
           name.find("..") == std::string_view::npos;
}

}  // namespace

std::optional<std::string> product::ProductText(const reg::Value& value) {
    if (value.type != reg::kSz && value.type != reg::kExpandSz) return std::nullopt;
    const auto end = std::find(value.data.begin(), value.data.end(), std::uint8_t{0});
    return std::string(value.data.begin(), end);
}

std::optional<std::string> product::UsableAppPath(const reg::Value& value) {
    std::optional<std::string> text = product::ProductText(value);
    if (!text || !FitsBuffer(*text) || !IsAbsolutePath(*text)) return std::nullopt;
    return text;
}

std::optional<std::string> product::UsableLanguage(const reg::Value& value) {
    std::optional<std::string> text = product::ProductText(value);
    if (!text || !FitsBuffer(*text) || !IsFileName(*text)) return std::nullopt;
    return text;
}

std::string product::FolderOfPath(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
