#include "base/error_text.h"

#include <gtest/gtest.h>

#include <string>

#include "base/strings.h"

namespace pelmora {
namespace {

using namespace std::string_literals;

TEST(ErrorDisplayText, FullStopOnlyAfterCharactersAboveDot) {
  EXPECT_EQ(ErrorDisplayText(""), "");
  EXPECT_EQ(ErrorDisplayText("."), ".");
  EXPECT_EQ(ErrorDisplayText("abc."), "abc.");
  EXPECT_EQ(ErrorDisplayText("x)"), "x)");
  EXPECT_EQ(ErrorDisplayText("a-"), "a-");
  EXPECT_EQ(ErrorDisplayText("line\n"), "line\n");
  EXPECT_EQ(ErrorDisplayText("abc"), "abc.");
  EXPECT_EQ(ErrorDisplayText("#42"), "#42.");
  EXPECT_EQ(ErrorDisplayText("a/"), "a/.");
}

TEST(ErrorDisplayText, JapaneseMessagesGetAnAsciiFullStop) {
  EXPECT_EQ(ErrorDisplayText(strings::kCannotOpenClipboard),
            std::string(strings::kCannotOpenClipboard) + ".");
  // Ends in "。", a double-byte full stop, which still sorts above ".".
  EXPECT_EQ(ErrorDisplayText("終わり。"), "終わり。.");
  // Bytes compare unsigned: a last character "て" (second byte 0xC4) or a half-width
  // "ｱ" (0xB1) would sort below "." as signed chars.
  EXPECT_EQ(ErrorDisplayText("すべて"), "すべて.");
  EXPECT_EQ(ErrorDisplayText("\xB1"), "\xB1.");
}

}  // namespace
}  // namespace pelmora
