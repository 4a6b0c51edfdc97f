#pragma once
// Text files and the text each must load as, run natively (iconv) and under Windows (the
// system's converter): both must give the same text. Narrow literals are Shift-JIS bytes.
#include <string>
#include <vector>

#include "base/text_decoding.h"

namespace pelmora::test {

inline std::string Utf16Bytes(std::u16string_view text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

inline std::string Utf8Bytes(std::u8string_view text) { return {text.begin(), text.end()}; }

struct TextFileCase {
  std::string file;
  std::u16string text;
  TextEncoding encoding;
};

inline std::vector<TextFileCase> TextFileCases() {
  using enum TextEncoding;
  const std::string mark = "\xEF\xBB\xBF";
  return {
      // Each encoding, with and without its mark.
      {mark + Utf8Bytes(u8"café 사진 日本語 𠮷"), u"café 사진 日本語 𠮷", Utf8WithMark},
      {mark, u"", Utf8WithMark},
      {Utf8Bytes(u8"naïve 日本語"), u"naïve 日本語", Utf8},
      {Utf16Bytes(u"日本 𠮷 é", false), u"日本 𠮷 é", Utf16LittleEndian},
      {Utf16Bytes(u"日本 𠮷 é", true), u"日本 𠮷 é", Utf16BigEndian},
      // Long enough to be read four units at a time.
      {Utf16Bytes(u"クリップボード and text 𠮷 then more text\n", false),
       u"クリップボード and text 𠮷 then more text\r\n", Utf16LittleEndian},
      {Utf16Bytes(u"クリップボード and text 𠮷 then more text\n", true),
       u"クリップボード and text 𠮷 then more text\r\n", Utf16BigEndian},
      {"", u"", CodePage932},
      {"plain C:\\text~", u"plain C:\\text~", CodePage932},
      {"日本語のテキスト、表示ｶﾀｶﾅ①", u"日本語のテキスト、表示ｶﾀｶﾅ①", CodePage932},
      // Not UTF-8 somewhere: the whole file is Shift-JIS ("é" then "あ").
      {"\xC3\xA9\x82\xA0", u"ﾃｩあ", CodePage932},
      // UTF-16 without a mark is not recognised; its zero bytes are kept.
      {std::string("a\0b\0", 4), std::u16string(u"a\0b\0", 4), CodePage932},
      // Shift-JIS that happens to be valid UTF-8 ("ﾃｽ") reads as UTF-8: valid UTF-8 wins.
      {"\xC3\xBD", u"ý", Utf8},
      // Broken UTF-8 after a mark: one U+FFFD per maximal subpart.
      {mark + "a\xF1\x80\x80\xE1\x80\xC2"
              "b\x80"
              "c\x80\xBF"
              "d",
       u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd", Utf8WithMark},
      {mark + "\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80|\xE0\x9F\xBF",
       u"\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD",
       Utf8WithMark},
      {mark + "ab\xE6\x97", u"ab\uFFFD", Utf8WithMark},
      {mark + "\xF0\x9F\x98", u"\uFFFD", Utf8WithMark},
      // Broken UTF-16: a last lone byte; unpaired surrogates, also at the end.
      {Utf16Bytes(u"a", false) + "b", u"a\uFFFD", Utf16LittleEndian},
      {Utf16Bytes(u"\xD842"
                  u"a\xDFB7\xD842",
                  true),
       u"\uFFFDa\uFFFD\uFFFD", Utf16BigEndian},
      // Broken Shift-JIS: a lead byte at the end or before a line feed, an unassigned code,
      // bytes the code page does not define; 0x80 is U+0080 as the system has it.
      {"ab\x82", u"ab\uFFFD", CodePage932},
      {"\x82\n\x85\x40\xA0\xFD\x80", u"\uFFFD\r\n\uFFFD\uFFFD\uFFFD\u0080", CodePage932},
      // Line breaks in every encoding, around runs long enough for the ASCII fast path.
      {mark + "one line\ntwo lines\rthree\r\n\n\r", u"one line\r\ntwo lines\r\nthree\r\n\r\n\r\n",
       Utf8WithMark},
      {Utf8Bytes(u8"é\nlong line\r\r\n"), u"é\r\nlong line\r\n\r\n", Utf8},
      {"a\nb\rc\r\nd\n\r", u"a\r\nb\r\nc\r\nd\r\n\r\n", CodePage932},
      {"日\n本\r語\r\n\x95\\", u"日\r\n本\r\n語\r\n表", CodePage932},
      {Utf16Bytes(u"a\nb\rc\r\nd\n\r", false), u"a\r\nb\r\nc\r\nd\r\n\r\n", Utf16LittleEndian},
      {Utf16Bytes(u"a\nb\rc\r\nd\n\r", true), u"a\r\nb\r\nc\r\nd\r\n\r\n", Utf16BigEndian},
  };
}

}  // namespace pelmora::test
