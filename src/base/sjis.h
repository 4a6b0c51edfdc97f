#pragma once
// Shift-JIS (code page 932) text helpers. Every text inside Pelmora is Shift-JIS, and the
// second byte of a double-byte character may equal "\", "|" or an ASCII letter, so every
// scan here walks the text forwards character by character; a scan "from the end" is a
// forward pass that remembers the last match.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

// True for the first byte of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The size in bytes (1 or 2) of the character starting at text[index]. A lead byte
// counts as a double-byte character only when a non-zero byte follows it, so a cut-off
// character never swallows the end or an embedded terminator.
std::size_t CharSizeAt(std::string_view text, std::size_t index);

// The start of the last character of text; npos when text is empty.
std::size_t LastCharStart(std::string_view text);

// The index of the first single-byte character c at or after from (which must be the
// start of a character); npos when there is none.
std::size_t FindChar(std::string_view text, char c, std::size_t from = 0);

// The index of the last single-byte character of text that is one of delimiters; npos
// when there is none. A second byte never matches.
std::size_t LastDelimiter(std::string_view text, std::string_view delimiters);

// Maps "a"-"z" to "A"-"Z" (or back); every other byte, and every byte of a double-byte
// character, is kept.
std::string UpperCaseAscii(std::string_view text);
std::string LowerCaseAscii(std::string_view text);

// The parts of a dialog filter ("description|pattern|..."), split at each "|" that is a
// character of its own (never the second byte of a double-byte character); one part more
// than there are separators.
std::vector<std::string_view> FilterParts(std::string_view filter);

}  // namespace pelmora
