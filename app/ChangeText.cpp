// The rows of the list of changes.
#include "app/ChangeText.h"

#include <cstdint>

namespace {

const char* TypeName(std::uint32_t type) {
    switch (type) {
        case reg::kSz:
            return "REG_SZ";
        case reg::kExpandSz:
            return "REG_EXPAND_SZ";
        case reg::kBinary:
            return "REG_BINARY";
        case reg::kDword:
            return "REG_DWORD";
        case reg::kMultiSz:
            return "REG_MULTI_SZ";
        default:
            return "REG_NONE";
    }
}

// At most this many bytes of a binary value are shown.
constexpr std::size_t kShownBytes = 16;

}  // namespace

namespace changes {

std::string PlaceText(const engine::Place& place, const Words& words) {
    using engine::PlaceKind;
    switch (place.kind) {
        case PlaceKind::Browser:
            return words.browser;
        case PlaceKind::Stack:
            return "TCP/IP";
        case PlaceKind::StackParameters:
            return "TCP/IP Parameters";
        case PlaceKind::SocketDriver:
            return "AFD";
        case PlaceKind::Ras:
            return "RAS";
        case PlaceKind::Interface:
            return words.anInterface + " " + place.detail;
        case PlaceKind::DialUpAdapter:
            return words.dialUpAdapter;
        case PlaceKind::Adapter:
            return words.adapter + " " + place.detail;
        case PlaceKind::Other:
            break;
    }
    return place.detail;
}

std::string ValueText(const std::optional<reg::Value>& value,
                      const std::optional<reg::Value>& other, const Words& words) {
    if (!value) return words.notSet;
    std::string text;
    if (value->type == reg::kDword && value->data.size() == 4) {
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < 4; ++i) number |= std::uint32_t{value->data[i]} << (8 * i);
        text = std::to_string(number);
    } else if (value->type == reg::kSz || value->type == reg::kExpandSz) {
        text = reg::TextOf(*value);
        // A tab would start another column.
        for (char& c : text) {
            if (c == '\t' || c == '\r' || c == '\n') c = ' ';
        }
    } else {
        for (std::size_t i = 0; i < value->data.size() && i < kShownBytes; ++i) {
            constexpr char kDigits[] = "0123456789ABCDEF";
            if (!text.empty()) text += ' ';
            text += kDigits[value->data[i] >> 4];
            text += kDigits[value->data[i] & 0xF];
        }
        if (value->data.size() > kShownBytes) text += " ...";
    }
    if (other && other->type != value->type)
        text += std::string(" (") + TypeName(value->type) + ")";
    return text;
}

std::string RowText(const engine::Change& change, const Words& words) {
    return PlaceText(change.place, words) + ": " + change.name + "\t" +
           ValueText(change.now, change.after, words) + "\t" +
           ValueText(change.after, change.now, words);
}

}  // namespace changes
