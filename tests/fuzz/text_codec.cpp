// The decimal text of Win9x tuning values: decoding any bytes, and number -> text -> number.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <limits>
#include <vector>

#include "engine/Catalogue.h"

namespace {

// The documented reading, worked out on its own: white space, a sign, the digits up to the first
// other byte; no digits give 0, and a number beyond the 32-bit range saturates.
std::int32_t ReferenceDecode(const std::uint8_t* data, std::size_t size) {
    std::size_t i = 0;
    while (i < size && std::strchr(" \t\n\v\f\r", data[i]) != nullptr && data[i] != 0) ++i;
    bool negative = false;
    if (i < size && (data[i] == '+' || data[i] == '-')) negative = data[i++] == '-';
    while (i < size && data[i] == '0') ++i;
    std::size_t digits = 0;
    std::int64_t magnitude = 0;
    for (; i < size && data[i] >= '0' && data[i] <= '9'; ++i, ++digits) {
        if (digits < 11) magnitude = magnitude * 10 + (data[i] - '0');
    }
    if (digits > 10) magnitude = std::int64_t{1} << 32;
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

// "0", or digits without a leading zero after an optional '-', within the 32-bit range, with at
// most one NUL after them.
bool IsCanonical(const std::uint8_t* data, std::size_t size) {
    if (size > 0 && data[size - 1] == 0) --size;
    std::size_t i = size > 0 && data[0] == '-' ? 1 : 0;
    if (i == size || size - i > 10 || (data[i] == '0' && (size - i > 1 || i == 1))) return false;
    std::int64_t magnitude = 0;
    for (; i < size; ++i) {
        if (data[i] < '0' || data[i] > '9') return false;
        magnitude = magnitude * 10 + (data[i] - '0');
    }
    return data[0] == '-' ? magnitude <= std::int64_t{1} << 31 : magnitude < std::int64_t{1} << 31;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Any bytes: no crash, and the documented reading.
    const std::int32_t decoded = DecodeText(data, size);
    Check(decoded == ReferenceDecode(data, size));

    // The canonical text of what was read reads back as the same number, and is its own canonical
    // text: digits with at most a leading '-', no leading zeros, one NUL at the end.
    const std::vector<std::uint8_t> canonical = EncodeText(decoded);
    Check(!canonical.empty() && canonical.back() == 0);
    Check(DecodeText(canonical.data(), canonical.size()) == decoded);
    Check(EncodeText(DecodeText(canonical.data(), canonical.size())) == canonical);
    for (std::size_t i = 0; i + 1 < canonical.size(); ++i) {
        const std::uint8_t c = canonical[i];
        Check((c >= '0' && c <= '9') || (c == '-' && i == 0));
    }
    const std::size_t first = canonical[0] == '-' ? 1 : 0;
    Check(canonical[first] != '0' || canonical.size() == 2);
    // Text that is already canonical, with or without its NUL, is given back unchanged.
    if (IsCanonical(data, size)) {
        Check(canonical.size() == size + (data[size - 1] == 0 ? 0 : 1));
        Check(std::memcmp(canonical.data(), data, canonical.size() - 1) == 0);
    }

    // Any number -> text -> number, and the stored value's type.
    FuzzedDataProvider provider(data, size);
    const auto number = provider.ConsumeIntegral<std::int32_t>();
    const reg::Value text = EncodeValue(Encoding::Text, number);
    Check(text.type == reg::kSz);
    Check(DecodeText(text.data.data(), text.data.size()) == number);
    // The same text without its NUL, or followed by anything but a digit, reads alike.
    Check(DecodeText(text.data.data(), text.data.size() - 1) == number);
    const reg::Value dword = EncodeValue(Encoding::Number, number);
    Check(dword.type == reg::kDword && dword.data.size() == 4);
    std::int32_t back = 0;
    std::memcpy(&back, dword.data.data(), 4);
    Check(back == number);
    return 0;
}
