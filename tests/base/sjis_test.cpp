#include "base/sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

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

TEST(Sjis, FilterParts) {
  using Parts = std::vector<std::string_view>;
  EXPECT_EQ(FilterParts("Bitmaps (*.bmp)|*.bmp|All|*.*"),
            (Parts{"Bitmaps (*.bmp)", "*.bmp", "All", "*.*"}));
  // The open dialog's filter splits only at the separators: a comma inside a pattern, an
  // empty pattern and a final description without one.
  EXPECT_EQ(FilterParts("総て　(*.txt,*.rtf)|*.txt;*.rtf|テキスト　*.txt,*rft)|*.txt,*.rft|"
                        "JPEG イメージファイル (*.jpg)||ビットマップ (*.bmp)"),
            (Parts{"総て　(*.txt,*.rtf)", "*.txt;*.rtf", "テキスト　*.txt,*rft)", "*.txt,*.rft",
                   "JPEG イメージファイル (*.jpg)", "", "ビットマップ (*.bmp)"}));
  // "ポ" ends in the byte of "|": it stays, the separator after it does not.
  const std::string po_po = std::string(kPo) + kPo;
  const std::string po_filter = std::string(kPo) + "|*.x|" + po_po;
  EXPECT_EQ(FilterParts(po_filter), (Parts{kPo, "*.x", po_po}));
  EXPECT_EQ(FilterParts(""), Parts{""});
  EXPECT_EQ(FilterParts("|"), (Parts{"", ""}));
  // A lead byte at the end is a character of its own.
  EXPECT_EQ(FilterParts("a\x83"), Parts{"a\x83"});
}

}  // namespace
}  // namespace pelmora
