#pragma once

#include <QtGlobal>

#include <cstring>

// Most bytes of a text file are printable ASCII, which can neither end a line nor begin a
// character of more than one byte: a scan skips them eight at a time.
namespace PlainBytes {

constexpr qsizetype wordSize = 8;

// Whether the eight bytes at bytes are all in 0x0E..0x7F.
inline bool isPlainWord(const uchar *bytes)
{
    quint64 word;
    std::memcpy(&word, bytes, sizeof word);
    constexpr quint64 highBits = 0x8080808080808080ULL;
    constexpr quint64 belowPlain = 0x0E0E0E0E0E0E0E0EULL;
    // With no high bit set, a byte below 0x0E is the only one whose subtraction borrows.
    return (word & highBits) == 0 && ((word - belowPlain) & ~word & highBits) == 0;
}

} // namespace PlainBytes
