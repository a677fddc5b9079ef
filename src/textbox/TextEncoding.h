#pragma once

// How a text file's bytes stand for its text. UTF-8 reads a byte that is part of no valid
// sequence as a character of its own (as the path codec does), so such a byte is written back
// as it was; UTF-16 is only read from a file that begins with its byte-order mark.
enum class TextEncoding { Utf8, Utf8WithBom, Windows1252, Utf16LE, Utf16BE };
