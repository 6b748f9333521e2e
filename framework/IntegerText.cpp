// How the dialogs read and write whole numbers in edit controls.
#include "framework/IntegerText.h"

#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Digits only, at least one; the magnitude must not pass `limit`.
std::optional<std::uint64_t> ParseMagnitude(std::string_view digits, std::uint64_t limit) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (!IsDigit(c)) return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (limit - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

template <typename Int>
std::optional<Int> ParseExchange(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const auto maxPositive = static_cast<std::uint64_t>(std::numeric_limits<Int>::max());
    const auto magnitude = ParseMagnitude(text, negative ? maxPositive + 1 : maxPositive);
    if (!magnitude) return std::nullopt;
    if (!negative) return static_cast<Int>(*magnitude);
    // Negate in unsigned arithmetic so that the type's minimum is reachable.
    return static_cast<Int>(0 - *magnitude);
}

void ReplaceAll(std::string& text, std::string_view what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
}

}  // namespace

UnsignedReading exchange::ReadUnsignedItemText(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    const auto value = ParseMagnitude(text, std::numeric_limits<std::uint32_t>::max());
    if (!value) return {};
    return {static_cast<std::uint32_t>(*value), true};
}

std::optional<std::int32_t> exchange::ParseExchangeInt32(std::string_view text) {
    return ParseExchange<std::int32_t>(text);
}

std::optional<std::int64_t> exchange::ParseExchangeInt64(std::string_view text) {
    return ParseExchange<std::int64_t>(text);
}

std::string exchange::FormatExchangeInt(std::int64_t value) {
    return std::to_string(value);
}

std::string exchange::EnterIntegerRangeMessage(std::int64_t minimum, std::int64_t maximum) {
    // One pass per placeholder, in order, so that a bound's digits are never
    // taken for a placeholder.
    std::string message(kEnterIntegerRangeTemplate);
    ReplaceAll(message, "%1", exchange::FormatExchangeInt(minimum));
    ReplaceAll(message, "%2", exchange::FormatExchangeInt(maximum));
    return message;
}
