#pragma once
// The text of a plain-text file, decoded to UTF-16 for the text view.
//
// The encoding: a byte order mark decides (EF BB BF: UTF-8; FF FE: UTF-16 little-endian;
// FE FF: UTF-16 big-endian) and is not part of the text. Without one, bytes that are valid
// UTF-8 and not plain ASCII are read as UTF-8, and everything else as Shift-JIS (code page
// 932). Plain ASCII reads the same either way. A Shift-JIS text is valid UTF-8 only by
// chance: its kana and most kanji begin with a byte that cannot begin a UTF-8 character, so
// only a few characters of half-width katakana or of rare kanji, with nothing else outside
// ASCII, can pass for UTF-8.
//
// Line breaks: a line feed alone and a carriage return alone each become carriage return +
// line feed; a carriage return + line feed pair stays one pair.
//
// A malformed file still loads whole: what cannot be read becomes U+FFFD and everything
// else is kept, U+0000 included. In UTF-8, each maximal subpart of a broken sequence gives
// one U+FFFD (the Unicode standard's practice); in UTF-16, an unpaired surrogate gives one,
// as does a last lone byte; in Shift-JIS, a lead byte without its second byte, or a
// character the code page does not define, gives one. The text is always well-formed
// UTF-16.
#include <cstdint>
#include <span>
#include <string>

namespace pelmora {

enum class TextEncoding {
  CodePage932,  // no byte order mark, not UTF-8 (plain ASCII included)
  Utf8,         // no byte order mark, valid UTF-8 with at least one character beyond ASCII
  Utf8WithMark,
  Utf16LittleEndian,
  Utf16BigEndian,
};

struct DecodedText {
  std::u16string text;
  TextEncoding encoding;
};

// Decodes a whole text file. Memory: the text itself, exactly sized for the Unicode
// encodings; for code page 932 the string's capacity may exceed its size by the number of
// double-byte characters. Throws std::length_error when the text would not fit in a
// string, std::bad_alloc when memory runs out.
DecodedText DecodeTextFile(std::span<const std::uint8_t> file);

}  // namespace pelmora
