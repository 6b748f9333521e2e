// The walk over a version resource: nested nodes of length, value length, type, a
// UTF-16 key, then the value and the children, each aligned to four bytes.
#include "ui/VersionResource.h"

#include <cstddef>

namespace version {
namespace {

struct Node {
    std::u16string key;
    std::span<const std::uint8_t> value;     // for a text: its UTF-16 code units
    std::span<const std::uint8_t> children;  // the nodes below, one after the other
    std::size_t length = 0;                  // what the node takes, before padding
};

std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::size_t Align(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

// The node at the start of `bytes`, or nothing when it does not fit there.
std::optional<Node> ReadNode(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 6) return std::nullopt;
    const std::size_t length = Word(bytes, 0);
    const std::size_t valueLength = Word(bytes, 2);
    const bool text = Word(bytes, 4) == 1;
    if (length < 6 || length > bytes.size()) return std::nullopt;
    const std::span<const std::uint8_t> node = bytes.first(length);

    Node result;
    result.length = length;
    std::size_t at = 6;
    for (;; at += 2) {
        if (at + 2 > node.size()) return std::nullopt;
        const std::uint16_t unit = Word(node, at);
        if (unit == 0) break;
        result.key.push_back(static_cast<char16_t>(unit));
    }
    at = Align(at + 2);
    // A text's value length counts UTF-16 units, its terminator included.
    const std::size_t valueBytes = text ? valueLength * 2 : valueLength;
    if (valueBytes > 0) {
        if (at > node.size() || valueBytes > node.size() - at) return std::nullopt;
        result.value = node.subspan(at, valueBytes);
        at = Align(at + valueBytes);
    }
    result.children = at < node.size() ? node.subspan(at) : std::span<const std::uint8_t>{};
    return result;
}

// The child named `key` (ASCII, compared without case, as the system does) of the
// nodes in `children`.
std::optional<Node> FindChild(std::span<const std::uint8_t> children, std::string_view key) {
    const auto same = [&](const std::u16string& name) {
        if (name.size() != key.size()) return false;
        for (std::size_t i = 0; i < key.size(); ++i) {
            const auto lower = [](char32_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
            if (lower(name[i]) != lower(static_cast<unsigned char>(key[i]))) return false;
        }
        return true;
    };
    while (!children.empty()) {
        const std::optional<Node> child = ReadNode(children);
        if (!child) return std::nullopt;
        if (same(child->key)) return child;
        const std::size_t next = Align(child->length);
        if (next >= children.size()) break;
        children = children.subspan(next);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::u16string> FindString(std::span<const std::uint8_t> block,
                                         std::string_view table, std::string_view name) {
    const std::optional<Node> root = ReadNode(block);
    if (!root || root->key != u"VS_VERSION_INFO") return std::nullopt;
    std::optional<Node> node = FindChild(root->children, "StringFileInfo");
    if (node) node = FindChild(node->children, table);
    if (node) node = FindChild(node->children, name);
    if (!node) return std::nullopt;
    std::u16string text;
    for (std::size_t at = 0; at + 2 <= node->value.size(); at += 2) {
        const std::uint16_t unit = Word(node->value, at);
        if (unit == 0) break;
        text.push_back(static_cast<char16_t>(unit));
    }
    return text;
}

}  // namespace version
