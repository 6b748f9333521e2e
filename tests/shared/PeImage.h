// A PE image read from its bytes, for tests that look inside the shipped files: its headers,
// imports and resources.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace pe {

inline std::string ToLower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

class PeImage {
public:
    explicit PeImage(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    std::uint32_t U32(std::size_t at) const {
        if (at + 4 > m_bytes.size()) throw std::out_of_range("read past the end");
        std::uint32_t v;
        std::memcpy(&v, &m_bytes[at], 4);
        return v;
    }
    std::uint16_t U16(std::size_t at) const {
        if (at + 2 > m_bytes.size()) throw std::out_of_range("read past the end");
        return static_cast<std::uint16_t>(m_bytes[at] | (m_bytes[at + 1] << 8));
    }
    std::string CString(std::size_t at) const {
        std::string s;
        while (at < m_bytes.size() && m_bytes[at] != 0) s += static_cast<char>(m_bytes[at++]);
        return s;
    }

    std::size_t Nt() const { return U32(0x3c); }
    std::size_t Optional() const { return Nt() + 24; }

    // File offset of a relative virtual address, through the section table.
    std::size_t Offset(std::uint32_t rva) const {
        const std::size_t sections = Optional() + U16(Nt() + 20);
        for (unsigned i = 0; i < U16(Nt() + 6); ++i) {
            const std::size_t s = sections + i * 40;
            const std::uint32_t va = U32(s + 12), size = std::max(U32(s + 8), U32(s + 16));
            if (rva >= va && rva < va + size) return rva - va + U32(s + 20);
        }
        throw std::out_of_range("address outside every section");
    }

    // Imported functions by library (lower-case library names).
    std::vector<std::pair<std::string, std::string>> Imports() const {
        std::vector<std::pair<std::string, std::string>> out;
        const std::uint32_t dir = U32(Optional() + 96 + 8);  // data directory 1
        if (dir == 0) return out;
        for (std::size_t d = Offset(dir);; d += 20) {
            const std::uint32_t lookup = U32(d) ? U32(d) : U32(d + 16);
            const std::uint32_t name = U32(d + 12);
            if (name == 0) break;
            const std::string dll = ToLower(CString(Offset(name)));
            for (std::size_t t = Offset(lookup); U32(t) != 0; t += 4) {
                const std::uint32_t entry = U32(t);
                out.emplace_back(dll,
                                 (entry & 0x80000000u) ? "#ordinal" : CString(Offset(entry) + 2));
            }
        }
        return out;
    }

    // The data of the resource of that type and id (its first language), or nothing.
    std::vector<std::uint8_t> Resource(std::uint32_t type, std::uint32_t id) const {
        const std::uint32_t root = U32(Optional() + 96 + 2 * 8);  // data directory 2
        if (root == 0) return {};
        const std::size_t base = Offset(root);
        // Entry `id` of the directory at `at` (ids follow the named entries), or the
        // first entry when id is 0; gives the offset it points to, within the section.
        const auto entry = [&](std::size_t at, std::uint32_t wanted) -> std::uint32_t {
            const unsigned count = U16(at + 12) + U16(at + 14);
            for (unsigned i = 0; i < count; ++i) {
                const std::size_t e = at + 16 + i * 8;
                if (wanted == 0 || U32(e) == wanted) return U32(e + 4) & 0x7fffffffu;
            }
            throw std::out_of_range("no such resource");
        };
        const std::size_t types = base + entry(base, type);
        const std::size_t names = base + entry(types, id);
        const std::size_t data = base + entry(names, 0);
        const std::size_t at = Offset(U32(data)), size = U32(data + 4);
        if (at + size > m_bytes.size()) throw std::out_of_range("resource past the end");
        return {m_bytes.begin() + static_cast<std::ptrdiff_t>(at),
                m_bytes.begin() + static_cast<std::ptrdiff_t>(at + size)};
    }

    // The numeric ids of the resources of that type.
    std::vector<std::uint32_t> ResourceIds(std::uint32_t type) const {
        std::vector<std::uint32_t> ids;
        const std::uint32_t root = U32(Optional() + 96 + 2 * 8);
        if (root == 0) return ids;
        const std::size_t base = Offset(root);
        const unsigned types = U16(base + 12) + U16(base + 14);
        for (unsigned i = 0; i < types; ++i) {
            const std::size_t e = base + 16 + i * 8;
            if (U32(e) != type) continue;
            const std::size_t names = base + (U32(e + 4) & 0x7fffffffu);
            const unsigned count = U16(names + 12) + U16(names + 14);
            for (unsigned n = 0; n < count; ++n) ids.push_back(U32(names + 16 + n * 8));
        }
        return ids;
    }

private:
    std::vector<std::uint8_t> m_bytes;
};

inline PeImage ReadPeImage(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return PeImage(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
}

}  // namespace pe
