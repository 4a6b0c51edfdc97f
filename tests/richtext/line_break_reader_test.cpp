#include "richtext/line_break_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/stream.h"
#include "richtext/conversion.h"
#include "richtext/line_break_oracle.h"
#include "support/expect_each.h"

namespace pelmora {
namespace {

using test::ConvertLineBreaks;

// A file whose reads stop at the given offsets, as if the control's requests ended there.
class SplitStream final : public TStream {
 public:
  SplitStream(std::string data, std::vector<std::size_t> stops)
      : data_(std::move(data)), stops_(std::move(stops)) {}

  std::size_t Read(void* buffer, std::size_t count) override {
    std::size_t end = data_.size();
    for (std::size_t stop : stops_) {
      if (stop > position_) {
        end = std::min(end, stop);
        break;
      }
    }
    const std::size_t n = std::min(count, end - position_);
    std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return n;
  }
  std::size_t Write(const void*, std::size_t) override { return 0; }
  std::int64_t Seek(std::int64_t offset, SeekOrigin) override {
    position_ = static_cast<std::size_t>(offset);
    return offset;
  }

 private:
  std::string data_;
  std::vector<std::size_t> stops_;
  std::size_t position_ = 0;
};

// Serves requests of n bytes until the reader reports the end; checks that no request is
// overfilled and that only the end gives nothing.
std::string ReadAll(TStream& stream, std::size_t n) {
  TLineBreakReader reader;
  TConversion conversion;
  std::string result;
  std::vector<std::uint8_t> buffer(n + 8, 0xAB);
  for (int requests = 0; requests < 10000; ++requests) {
    const std::size_t got = reader.Read(conversion, stream, buffer.data(), n);
    EXPECT_LE(got, n);
    EXPECT_EQ(buffer[n], 0xAB) << "request of " << n << " overfilled";
    if (got == 0) return result;
    result.append(reinterpret_cast<const char*>(buffer.data()), got);
  }
  ADD_FAILURE() << "the reader never reported the end";
  return result;
}

std::string Printable(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\0': out += "\\0"; break;
      default: out += c;
    }
  }
  return out;
}

const std::vector<std::string> kInputs = {
    "",
    "\n",
    "\r",
    "\r\n",
    "a\nb\nc",
    "a\r\nb\r\nc\r\n",
    "a\rb\rc\r",
    "\r\n\r\n\r\n",
    "\r\r\n\n\r",
    "\n\r",
    "ab\r\ncd\ref\ngh\r\r\n\n\rij",
    std::string("a\0b\r\nc\0", 8),
    "\x82\xa0\x82\xa2\r\n\x95\\\x8e\xa6\r\x82\xa4\n",
};

TEST(LineBreakConversion, WholeText) {
  test::ExpectEach(ConvertLineBreaks,
                   {
                       {"", ""},
                       {"a\nb", "a\r\nb"},
                       {"a\r\nb", "a\r\nb"},
                       {"a\rb\r", "a\r\nb\r\n"},
                       {"\r\r\n\n", "\r\n\r\n\r\n"},
                       {"\n\r", "\r\n\r\n"},
                       {std::string("x\0y", 3), std::string("x\0y", 3)},
                   });
}

// Every place a request boundary can fall gives the same bytes as converting the whole
// file at once: a pair split across two requests is one line break, a lone carriage
// return at the end of a request is still one.
TEST(LineBreakConversion, EverySplitPointMatchesWholeText) {
  for (const std::string& input : kInputs) {
    const std::string expected = ConvertLineBreaks(input);
    for (std::size_t split = 0; split <= input.size(); ++split) {
      for (std::size_t n : {1u, 2u, 3u, 5u, 7u, 64u}) {
        SplitStream stream(input, {split});
        EXPECT_EQ(Printable(ReadAll(stream, n)), Printable(expected))
            << "input " << Printable(input) << ", split at " << split << ", requests of " << n;
      }
    }
    // Two boundaries, for a boundary on each side of a pair's line feed.
    for (std::size_t first = 0; first <= input.size(); ++first) {
      for (std::size_t second = first; second <= input.size(); ++second) {
        SplitStream stream(input, {first, second});
        EXPECT_EQ(Printable(ReadAll(stream, 64)), Printable(expected))
            << "input " << Printable(input) << ", splits at " << first << " and " << second;
      }
    }
  }
}

TEST(LineBreakConversion, EveryRequestSizeMatchesWholeText) {
  for (const std::string& input : kInputs) {
    const std::string expected = ConvertLineBreaks(input);
    for (std::size_t n = 1; n <= 2 * input.size() + 3; ++n) {
      TSpanStream stream(input.data(), input.size());
      EXPECT_EQ(Printable(ReadAll(stream, n)), Printable(expected))
          << "input " << Printable(input) << ", requests of " << n;
    }
  }
}

TEST(LineBreakConversion, RequestBoundaryCases) {
  TConversion conversion;
  std::uint8_t out[16];
  {
    // A lone carriage return as the last byte read: a line break now, the next byte
    // unchanged.
    const std::string input = "a\rb";
    TSpanStream stream(input.data(), input.size());
    TLineBreakReader reader;
    ASSERT_EQ(reader.Read(conversion, stream, out, 4), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 3), "a\r\n");
    ASSERT_EQ(reader.Read(conversion, stream, out, 4), 1u);
    EXPECT_EQ(out[0], 'b');
    EXPECT_EQ(reader.Read(conversion, stream, out, 4), 0u);
  }
  {
    // The pair's line feed alone in the next request gives nothing by itself; the reader
    // reads on rather than answer 0, which would end the file.
    const std::string input = "\r\nz";
    SplitStream stream(input, {1, 2});
    TLineBreakReader reader;
    ASSERT_EQ(reader.Read(conversion, stream, out, 8), 2u);
    ASSERT_EQ(reader.Read(conversion, stream, out, 8), 1u);
    EXPECT_EQ(out[0], 'z');
    EXPECT_EQ(reader.Read(conversion, stream, out, 8), 0u);
  }
  {
    // Reset forgets a pending pair: the file read again from the start keeps its first
    // line feed.
    const std::string input = "\n";
    TSpanStream stream("\r", 1);
    TLineBreakReader reader;
    ASSERT_EQ(reader.Read(conversion, stream, out, 2), 2u);
    reader.Reset();
    TSpanStream again(input.data(), input.size());
    EXPECT_EQ(reader.Read(conversion, again, out, 2), 2u);
  }
}

TEST(ConversionTable, LooksUpByLowerCasedExtension) {
  const TConversionFormat* txt = FindConversionFormat("memo.txt");
  const TConversionFormat* rtf = FindConversionFormat("C:\\文書\\表.RtF");
  ASSERT_NE(txt, nullptr);
  ASSERT_NE(rtf, nullptr);
  EXPECT_EQ(txt->extension, "txt");
  EXPECT_EQ(rtf->extension, "rtf");
  EXPECT_EQ(FindConversionFormat("archive.tar.TXT"), txt);
  // Compared exactly, and only after the last "." of the name itself.
  EXPECT_EQ(FindConversionFormat("memo.rft"), nullptr);
  EXPECT_EQ(FindConversionFormat("memo.tx"), nullptr);
  EXPECT_EQ(FindConversionFormat("memo.txts"), nullptr);
  EXPECT_EQ(FindConversionFormat("memo"), nullptr);
  EXPECT_EQ(FindConversionFormat("dir.txt\\memo"), nullptr);
  EXPECT_EQ(FindConversionFormat(""), nullptr);
}

TEST(ConversionTable, EveryConverterPassesBytesThrough) {
  const std::string bytes("{\\rtf1 a\r\n\x82\xa0\0b}", 14);
  for (const char* name : {"a.txt", "a.rtf", "a.rft", "a"}) {
    auto conversion = CreateConversion(name);
    ASSERT_NE(conversion, nullptr) << name;
    TMemoryStream file;
    EXPECT_EQ(conversion->ConvertWriteStream(file, bytes.data(), bytes.size()), bytes.size());
    file.SetPosition(0);
    std::string back(bytes.size() + 4, '\0');
    EXPECT_EQ(conversion->ConvertReadStream(file, back.data(), back.size()), bytes.size());
    back.resize(bytes.size());
    EXPECT_EQ(back, bytes) << name;
  }
}

}  // namespace
}  // namespace pelmora
