#include "base/error_text.h"

#include <gtest/gtest.h>

#include <string>

#include "base/strings.h"
#include "support/expect_each.h"

namespace pelmora {
namespace {

using test::ExpectEach;

TEST(ErrorDisplayText, FullStopOnlyAfterCharactersAboveDot) {
  ExpectEach(ErrorDisplayText,
             {
                 {"", ""},
                 {".", "."},
                 {"abc.", "abc."},
                 {"x)", "x)"},
                 {"a-", "a-"},
                 {"line\n", "line\n"},
                 {"abc", "abc."},
                 {"#42", "#42."},
                 {"a/", "a/."},
             });
}

TEST(ErrorDisplayText, JapaneseMessagesGetAnAsciiFullStop) {
  ExpectEach(ErrorDisplayText,
             {
                 {strings::kCannotOpenClipboard, std::string(strings::kCannotOpenClipboard) + "."},
                 // Ends in "。", a double-byte full stop, which still sorts above ".".
                 {"終わり。", "終わり。."},
                 // Bytes compare unsigned: a last character "て" (second byte 0xC4) or a
                 // half-width "ｱ" (0xB1) would sort below "." as signed chars.
                 {"すべて", "すべて."},
                 {"\xB1", "\xB1."},
             });
}

}  // namespace
}  // namespace pelmora
