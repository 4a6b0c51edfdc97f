#pragma once
// Shift-JIS (code page 932) bytes to UTF-16 through the platform's converter: the system's
// on Windows, iconv's "CP932" elsewhere, with the same result on both.
//
// The bytes are taken as characters the way the program's Shift-JIS helpers take them: a
// lead byte and a following byte in the second-byte range (0x40-0x7E, 0x80-0xFC) are one
// double-byte character; every other byte is a character of its own, a lead byte without
// its second byte included. Each character gives exactly one UTF-16 unit: its mapping, or
// U+FFFD when the code page defines none (a lead byte alone, an unassigned double-byte
// code, the bytes 0xA0 and 0xFD-0xFF). 0x80 is U+0080, as the system maps it.
#include <cstddef>
#include <cstdint>
#include <span>

namespace pelmora {

constexpr bool IsSecondByte(std::uint8_t c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// The length of the longest start of bytes, at most limit bytes long, that ends between
// two characters; at least one byte when bytes and limit are not empty, so a loop over the
// pieces always moves on. A piece ends best after a byte below 0x40, which is never part of
// a double-byte character; a text without one is walked character by character.
std::size_t CodePage932PieceSize(std::span<const std::uint8_t> bytes, std::size_t limit);

// Converts bytes into out, which has room for bytes.size() units, and returns the number of
// units written (one per character). Bytes of any length and content; a piece that ends
// inside a double-byte character ends with a lead byte alone. Throws std::runtime_error when
// the system has no converter for the code page.
std::size_t DecodeCodePage932(std::span<const std::uint8_t> bytes, char16_t* out);

}  // namespace pelmora
