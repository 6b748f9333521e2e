// The two decisions of the program's own C runtime that need no system: where the
// arguments start in the command line, and the byte count of an array for calloc.
#pragma once

#include <cstddef>
#include <limits>

namespace runtime {

// The command line after the program's name, as the platform's runtime hands it to
// WinMain: the name runs to its closing quote when it starts with one (spaces and all),
// otherwise to the first space or control character; the blanks after it are skipped.
// A quote left open takes the whole line as the name.
inline const char* CommandLineArguments(const char* line) {
    const auto blank = [](char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; };
    if (*line == '"') {
        ++line;
        while (*line != '\0' && *line != '"') ++line;
        if (*line == '"') ++line;
    } else {
        while (*line != '\0' && !blank(*line)) ++line;
    }
    while (blank(*line)) ++line;
    return line;
}

// count * size in bytes, or false when that does not fit a size_t (calloc then fails
// instead of handing out a block smaller than asked for).
inline bool ArrayBytes(std::size_t count, std::size_t size, std::size_t& bytes) {
    if (size != 0 && count > std::numeric_limits<std::size_t>::max() / size) return false;
    bytes = count * size;
    return true;
}

}  // namespace runtime
