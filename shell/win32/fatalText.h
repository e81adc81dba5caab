// The text of the fatal-error box, composed without ever writing past its buffer.
#pragma once

#include <cstddef>

// Composes "<name> failed with error <code>: <detail>" into `out` of `size` bytes (size > 0).
// Never writes past the buffer: a text that does not fit is cut, and `out` always ends with
// its terminating zero. Null strings read as empty. Returns the length written.
inline std::size_t composeFatalText(char* out, std::size_t size, const char* name, long code,
                                    const char* detail) {
    std::size_t length = 0;
    auto append = [&](const char* piece) {
        for (; piece && *piece && length + 1 < size; ++piece) {
            out[length++] = *piece;
        }
    };

    // The code as signed decimal, built backwards; unsigned arithmetic keeps the most negative
    // value exact.
    char digits[24];
    std::size_t count = 0;
    unsigned long magnitude =
        code < 0 ? 0UL - static_cast<unsigned long>(code) : static_cast<unsigned long>(code);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    char number[26];
    std::size_t at = 0;
    if (code < 0) {
        number[at++] = '-';
    }
    while (count > 0) {
        number[at++] = digits[--count];
    }
    number[at] = '\0';

    append(name);
    append(" failed with error ");
    append(number);
    append(": ");
    append(detail);
    out[length] = '\0';
    return length;
}
