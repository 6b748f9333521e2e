// How the dialogs read and write whole numbers in edit controls, and the two
// validation messages: portable rules, no window involved.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The result of reading an edit's text the way the platform's GetDlgItemInt
// does with unsigned translation.
struct UnsignedReading {
    std::uint32_t value = 0;  // 0 whenever translated is false
    bool translated = false;
};

namespace exchange {

// Leading blanks are skipped, then one or more decimal digits must follow,
// then only blanks. Empty or unreadable text, a sign, or a value above
// 4294967295 gives { 0, false }.
UnsignedReading ReadUnsignedItemText(std::string_view text);

// The data exchange's reading: an optional sign and decimal digits, blanks
// (space or tab) allowed before and after. Empty text, anything else, or a
// value outside the target type's range gives no value.
std::optional<std::int32_t> ParseExchangeInt32(std::string_view text);
std::optional<std::int64_t> ParseExchangeInt64(std::string_view text);

// The text the data exchange writes into a control: plain signed decimal.
std::string FormatExchangeInt(std::int64_t value);

}  // namespace exchange

// The two validation messages of the platform's data exchange.
inline constexpr std::string_view kEnterIntegerMessage = "Please enter an integer.";
inline constexpr std::string_view kEnterIntegerRangeTemplate =
    "Please enter an integer between %1 and %2.";

namespace exchange {
// The range message with %1 and %2 replaced by the bounds as plain text.
std::string EnterIntegerRangeMessage(std::int64_t minimum, std::int64_t maximum);
}  // namespace exchange
