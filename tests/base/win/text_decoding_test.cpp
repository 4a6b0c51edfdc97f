// The text-file cases under Windows, where code page 932 goes through the system's
// converter: it must give what iconv gives natively, broken files included.
#include "base/text_decoding.h"

#include <gtest/gtest.h>

#include "base/text_decoding_cases.h"

namespace pelmora {
namespace {

TEST(TextDecoding, EachCaseAsNatively) {
  for (const test::TextFileCase& row : test::TextFileCases()) {
    const DecodedText decoded =
        DecodeTextFile({reinterpret_cast<const std::uint8_t*>(row.file.data()), row.file.size()});
    EXPECT_EQ(decoded.text, row.text) << "for the file \"" << row.file << '"';
    EXPECT_EQ(decoded.encoding, row.encoding) << "for the file \"" << row.file << '"';
  }
}

}  // namespace
}  // namespace pelmora
