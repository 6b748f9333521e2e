// The program's own C runtime: the arguments it hands WinMain, and calloc's size check.
#include <cstddef>
#include <gtest/gtest.h>
#include <limits>
#include <string>

#include "app/runtime/StartRules.h"

namespace {

using runtime::ArrayBytes;
using runtime::CommandLineArguments;

TEST(CommandLineArguments, SkipTheProgramNameAndTheBlanksAfterIt) {
    const struct {
        const char* line;
        const char* arguments;
    } cases[] = {
        {R"("C:\Program Files\Vornel\Vornel.exe" /x y)", "/x y"},
        {R"("C:\Program Files\Vornel\Vornel.exe")", ""},
        {R"("C:\My Files\Vornel.exe"/x)", "/x"},
        {"Vornel.exe \t /x  y ", "/x  y "},
        {"C:\\Downloads\\Vornel.exe", ""},
        {"\"C:\\unclosed quote\\Vornel.exe /x", ""},
        {"", ""},
        {"\"\" /x", "/x"},
        // A name with letters beyond ASCII (here Latin-1 "Télé") is not cut at them.
        {"C:\\T\xe9l\xe9\\Vornel.exe /x", "/x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(CommandLineArguments(c.line)), c.arguments) << c.line;
    }
}

TEST(ArrayBytes, RefusesACountWhoseBytesDoNotFit) {
    constexpr std::size_t max = std::numeric_limits<std::size_t>::max();
    std::size_t bytes = 7;
    EXPECT_TRUE(ArrayBytes(3, 4, bytes));
    EXPECT_EQ(bytes, 12u);
    EXPECT_TRUE(ArrayBytes(max, 1, bytes));
    EXPECT_EQ(bytes, max);
    EXPECT_TRUE(ArrayBytes(max, 0, bytes));
    EXPECT_EQ(bytes, 0u);
    EXPECT_TRUE(ArrayBytes(max / 8, 8, bytes));
    EXPECT_EQ(bytes, max / 8 * 8);

    bytes = 7;
    EXPECT_FALSE(ArrayBytes(max / 8 + 1, 8, bytes));
    EXPECT_FALSE(ArrayBytes(max, 2, bytes));
    const std::size_t half = std::size_t{1} << (sizeof(std::size_t) * 4);  // its square wraps to 0
    EXPECT_FALSE(ArrayBytes(half, half, bytes));
    EXPECT_EQ(bytes, 7u);  // untouched on refusal
}

}  // namespace
