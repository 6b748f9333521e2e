// Safe reading of the product key's text values.
#include "app/ProductKey.h"

#include <algorithm>

std::string TextFromRegistryData(const std::uint8_t* data, std::size_t size, std::size_t capacity) {
    if (data == nullptr || capacity == 0) return {};
    const std::size_t limit = std::min(size, capacity - 1);
    const auto* end = std::find(data, data + limit, std::uint8_t{0});
    return std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(end - data));
}

std::string FolderOfPath(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
