#include "base/sjis.h"

#include <gtest/gtest.h>

#include <string>

namespace pelmora {
namespace {

using namespace std::string_literals;

// Double-byte characters whose second byte looks like ASCII: "表" and "ソ" end in "\",
// "ポ" in "|", "Ｂ" in "a", "ト" in "g", "キ" in "L".
constexpr char kHyo[] = "\x95\x5C";
constexpr char kSo[] = "\x83\x5C";
constexpr char kPo[] = "\x83\x7C";

TEST(Sjis, LiteralsAreShiftJis) {
  // Every other test here relies on the build compiling narrow literals to code page 932.
  EXPECT_EQ("表"s, kHyo);
  EXPECT_EQ("ソ"s, kSo);
  EXPECT_EQ("ポ"s, kPo);
}

TEST(Sjis, LeadBytesAndCharacterSizes) {
  for (int c : {0x81, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(IsLeadByte(c)) << c;
  for (int c : {0x5C, 0x80, 0xA0, 0xB1, 0xDF, 0xFD}) EXPECT_FALSE(IsLeadByte(c)) << c;

  EXPECT_EQ(CharSizeAt("a"s + kHyo, 1), 2u);
  // A lead byte at the end, or before a 0 byte, stands alone.
  EXPECT_EQ(CharSizeAt("a\x95", 1), 1u);
  EXPECT_EQ(CharSizeAt("\x95\0x"s, 0), 1u);

  EXPECT_EQ(LastCharStart(""), std::string_view::npos);
  EXPECT_EQ(LastCharStart("a"s + kHyo), 1u);
  EXPECT_EQ(LastCharStart(std::string(kSo) + kSo), 2u);
  EXPECT_EQ(LastCharStart("a\x95"), 1u);
}

TEST(Sjis, SeparatorScansSkipSecondBytes) {
  std::string folder = "C:\\"s + kHyo + "\\x";
  EXPECT_EQ(LastDelimiter(folder, "\\"), 5u);
  EXPECT_EQ(LastDelimiter("a"s + kHyo, "\\"), std::string_view::npos);
  EXPECT_EQ(LastDelimiter("a.b:c", ".:"), 3u);

  EXPECT_EQ(FindChar(std::string(kPo) + "|", '|'), 2u);
  EXPECT_EQ(FindChar(kPo, '|'), std::string_view::npos);
  EXPECT_EQ(FindChar("a.b.c", '.', 2), 3u);
}

TEST(Sjis, CaseMappingTouchesAsciiLettersOnly) {
  // "テキスト" holds second bytes "L" and "g"; "Ｂ" holds "a"; "ｱ" is single-byte.
  std::string mixed = "aZ\xB1テキストＢ@[`{";
  EXPECT_EQ(UpperCaseAscii(mixed), "AZ\xB1テキストＢ@[`{");
  EXPECT_EQ(LowerCaseAscii(mixed), "az\xB1テキストＢ@[`{");
  EXPECT_EQ(UpperCaseAscii("\x83\x67"), "\x83\x67");
  EXPECT_EQ(LowerCaseAscii("\x83\x4C"), "\x83\x4C");
}

TEST(Sjis, FilterConversion) {
  {
    std::string list = ConvertFilter("Bitmaps (*.bmp)|*.bmp|All|*.*");
    EXPECT_EQ(list, "Bitmaps (*.bmp)\0*.bmp\0All\0*.*\0"s);
    // The string's own terminator is the list's closing second 0.
    EXPECT_EQ(list.data()[list.size()], '\0');
  }
  {
    // The open dialog's filter goes through unchanged apart from the separators: a
    // comma inside a pattern, an empty pattern and a final description without one.
    std::string filter =
        "総て　(*.txt,*.rtf,*.jpg,*.bmp)|*.txt;*.rtf;*.jpg;*.bmp|テキスト　*.txt,*rft)|"
        "*.txt,*.rft|JPEG イメージファイル (*.jpg)||ビットマップ (*.bmp)";
    std::string expected =
        "総て　(*.txt,*.rtf,*.jpg,*.bmp)\0*.txt;*.rtf;*.jpg;*.bmp\0テキスト　*.txt,*rft)\0"
        "*.txt,*.rft\0JPEG イメージファイル (*.jpg)\0\0ビットマップ (*.bmp)\0"s;
    EXPECT_EQ(ConvertFilter(filter), expected);
  }
  {
    // "ポ" ends in the byte of "|": it stays, the separator after it does not.
    std::string list = ConvertFilter(std::string(kPo) + "|*.x|" + kPo + kPo);
    EXPECT_EQ(list, std::string(kPo) + "\0*.x\0"s + kPo + kPo + "\0"s);
  }
  {
    EXPECT_EQ(ConvertFilter(""), "\0"s);
    EXPECT_EQ(ConvertFilter("|"), "\0\0"s);
    // A lead byte at the end does not swallow the appended 0.
    EXPECT_EQ(ConvertFilter("a\x83"), "a\x83\0"s);
  }
}

}  // namespace
}  // namespace pelmora
