// The integer reading rules of the dialogs: the item reading with unsigned
// translation, the data exchange's parse, and the validation messages.
#include <gtest/gtest.h>
#include <limits>

#include "framework/IntegerText.h"

TEST(ReadUnsignedItemText, ReadsPlainDecimals) {
    EXPECT_EQ(exchange::ReadUnsignedItemText("0").value, 0u);
    EXPECT_TRUE(exchange::ReadUnsignedItemText("0").translated);
    EXPECT_EQ(exchange::ReadUnsignedItemText("1500").value, 1500u);
    EXPECT_EQ(exchange::ReadUnsignedItemText("007").value, 7u);
    EXPECT_EQ(exchange::ReadUnsignedItemText("4294967295").value, 4294967295u);
}

TEST(ReadUnsignedItemText, SkipsBlanksAroundTheDigits) {
    const UnsignedReading reading = exchange::ReadUnsignedItemText("  \t 64  ");
    EXPECT_TRUE(reading.translated);
    EXPECT_EQ(reading.value, 64u);
}

TEST(ReadUnsignedItemText, EmptyOrUnreadableTextReadsAsZeroAndFails) {
    for (const char* text : {"", "   ", "abc", "12a", "1 2", "-5", "+5", "0x10", "1.5"}) {
        const UnsignedReading reading = exchange::ReadUnsignedItemText(text);
        EXPECT_FALSE(reading.translated) << '"' << text << '"';
        EXPECT_EQ(reading.value, 0u) << '"' << text << '"';
    }
}

TEST(ReadUnsignedItemText, ValueBeyondThirtyTwoBitsFails) {
    EXPECT_FALSE(exchange::ReadUnsignedItemText("4294967296").translated);
    EXPECT_EQ(exchange::ReadUnsignedItemText("4294967296").value, 0u);
    EXPECT_FALSE(exchange::ReadUnsignedItemText("99999999999999999999999").translated);
}

TEST(ParseExchangeInt32, AcceptsDecimalIntegersWithBlanksAroundAndASign) {
    EXPECT_EQ(exchange::ParseExchangeInt32("255"), 255);
    EXPECT_EQ(exchange::ParseExchangeInt32("  42\t"), 42);
    EXPECT_EQ(exchange::ParseExchangeInt32("-7"), -7);
    EXPECT_EQ(exchange::ParseExchangeInt32("+7"), 7);
    EXPECT_EQ(exchange::ParseExchangeInt32("2147483647"), 2147483647);
    EXPECT_EQ(exchange::ParseExchangeInt32("-2147483648"),
              std::numeric_limits<std::int32_t>::min());
}

TEST(ParseExchangeInt32, RejectsEmptyNonDecimalAndOverflowingText) {
    for (const char* text : {"", "  ", "-", "+", "1 2", "12x", "x12", "- 5", "0x1F", "1e3",
                             "2147483648", "-2147483649", "99999999999"}) {
        EXPECT_FALSE(exchange::ParseExchangeInt32(text).has_value()) << '"' << text << '"';
    }
}

TEST(ParseExchangeInt64, CoversTheWideRange) {
    EXPECT_EQ(exchange::ParseExchangeInt64("4294967296"), 4294967296LL);
    EXPECT_EQ(exchange::ParseExchangeInt64(" 9223372036854775807 "),
              std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(exchange::ParseExchangeInt64("-9223372036854775808"),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_FALSE(exchange::ParseExchangeInt64("9223372036854775808").has_value());
    EXPECT_FALSE(exchange::ParseExchangeInt64("").has_value());
}

TEST(ExchangeText, RoundTripsThroughFormatAndParse) {
    for (std::int32_t value : {0, 1, -1, 64, 7200000, std::numeric_limits<std::int32_t>::max(),
                               std::numeric_limits<std::int32_t>::min()}) {
        EXPECT_EQ(exchange::ParseExchangeInt32(exchange::FormatExchangeInt(value)), value);
    }
}

TEST(ValidationMessages, HaveThePlatformTexts) {
    EXPECT_EQ(kEnterIntegerMessage, "Please enter an integer.");
    EXPECT_EQ(exchange::EnterIntegerRangeMessage(0, 255),
              "Please enter an integer between 0 and 255.");
    EXPECT_EQ(exchange::EnterIntegerRangeMessage(0, 2), "Please enter an integer between 0 and 2.");
    EXPECT_EQ(exchange::EnterIntegerRangeMessage(-5, 2147483647),
              "Please enter an integer between -5 and 2147483647.");
}
