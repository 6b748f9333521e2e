// The C runtime's memory and string functions: what the compiler's own code, the C++
// library and the program call. Byte loops: the program moves little data. Built
// without the compiler's built-ins (see app/CMakeLists.txt), so that no loop here is
// turned back into a call of itself.
#include <cstddef>

extern "C" {

void* memcpy(void* to, const void* from, std::size_t count) {
    auto* d = static_cast<unsigned char*>(to);
    const auto* s = static_cast<const unsigned char*>(from);
    while (count-- != 0) *d++ = *s++;
    return to;
}

void* memmove(void* to, const void* from, std::size_t count) {
    auto* d = static_cast<unsigned char*>(to);
    const auto* s = static_cast<const unsigned char*>(from);
    if (d < s) {
        while (count-- != 0) *d++ = *s++;
    } else {
        while (count-- != 0) d[count] = s[count];
    }
    return to;
}

void* memset(void* to, int value, std::size_t count) {
    auto* d = static_cast<unsigned char*>(to);
    while (count-- != 0) *d++ = static_cast<unsigned char>(value);
    return to;
}

int memcmp(const void* a, const void* b, std::size_t count) {
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    for (; count != 0; --count, ++x, ++y) {
        if (*x != *y) return *x < *y ? -1 : 1;
    }
    return 0;
}

void* memchr(const void* from, int value, std::size_t count) {
    const auto* s = static_cast<const unsigned char*>(from);
    for (; count != 0; --count, ++s) {
        if (*s == static_cast<unsigned char>(value)) return const_cast<unsigned char*>(s);
    }
    return nullptr;
}

std::size_t strlen(const char* text) {
    const char* end = text;
    while (*end != '\0') ++end;
    return static_cast<std::size_t>(end - text);
}

int strncmp(const char* a, const char* b, std::size_t count) {
    for (; count != 0; --count, ++a, ++b) {
        const auto x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        if (x != y) return x < y ? -1 : 1;
        if (x == '\0') break;
    }
    return 0;
}

int strcmp(const char* a, const char* b) {
    return strncmp(a, b, static_cast<std::size_t>(-1));
}

}  // extern "C"
