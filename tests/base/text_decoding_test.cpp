#include "base/text_decoding.h"

#include <gtest/gtest.h>

#include <string>

#include "base/code_page_932.h"
#include "base/text_decoding_cases.h"

namespace pelmora {
namespace {

DecodedText Decode(const std::string& file) {
  return DecodeTextFile({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
}

TEST(TextDecoding, EachCase) {
  for (const test::TextFileCase& row : test::TextFileCases()) {
    const DecodedText decoded = Decode(row.file);
    EXPECT_EQ(decoded.text, row.text) << "for the file \"" << row.file << '"';
    EXPECT_EQ(decoded.encoding, row.encoding) << "for the file \"" << row.file << '"';
  }
}

// Shift-JIS is converted in pieces: one without a byte that ends a character for sure is
// walked, and a line break split between two pieces stays one.
TEST(TextDecoding, ShiftJisPiecesKeepCharactersAndLineBreaks) {
  std::string file;
  std::u16string text;
  for (int i = 0; i < 50000; ++i) file += "あ", text += u"あ";
  file += "a\r\n";
  text += u"a\r\n";
  const std::string unbroken = "ｱ" + file;  // every character shifted by one byte
  EXPECT_EQ(Decode(file).text, text);
  EXPECT_EQ(Decode(unbroken).text, u"ｱ" + text);

  const std::string lines = std::string(65535, 'x') + "\r\n\x82";
  EXPECT_EQ(Decode(lines).text, std::u16string(65535, u'x') + u"\r\n\uFFFD");
}

TEST(TextDecoding, ShiftJisPieceSizes) {
  auto size = [](const std::string& bytes, std::size_t limit) {
    return CodePage932PieceSize({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()},
                                limit);
  };
  EXPECT_EQ(size("abc", 5), 3u);
  EXPECT_EQ(size("abc", 2), 2u);
  EXPECT_EQ(size("あい", 3), 2u);   // not inside "い"
  EXPECT_EQ(size("あい", 1), 2u);   // the first character, longer than the limit
  EXPECT_EQ(size("ｱあい", 4), 3u);  // walked from the start: "あ" ends at 3
  EXPECT_EQ(size("あ\x82", 2), 2u);
}

}  // namespace
}  // namespace pelmora
