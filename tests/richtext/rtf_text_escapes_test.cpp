#include "richtext/rtf_text_escapes.h"

#include <gtest/gtest.h>

#include <map>

namespace pelmora {
namespace {

// Code page 1252 as Latin-1, and a few characters of code page 932.
class TestCodePages final : public CodePages {
 public:
  bool IsLeadByte(unsigned code_page, std::uint8_t byte) const override {
    return code_page == 932 && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
  }
  std::u16string Decode(unsigned code_page, std::string_view bytes) const override {
    if (code_page != 932) return std::u16string(1, static_cast<std::uint8_t>(bytes[0]));
    static const std::map<std::string, std::u16string> kJapanese{
        {"\x93\xfa", u"日"}, {"\x96\x7b", u"本"}, {"\x5c", u"\\"}};
    const auto found = kJapanese.find(std::string(bytes));
    return found == kJapanese.end() ? u"\uFFFD" : found->second;
  }
};

constexpr char kHeader[] =
    "{\\rtf1\\ansi\\ansicpg932\\uc1\\deff0{\\fonttbl{\\f0\\fcharset128 \\'82\\'6c;}"
    "{\\f1\\fcharset0 Arial;}}{\\colortbl;}{\\*\\generator Wine Riched20 2.0;}\\pard ";

std::string Document(const std::string& body) { return kHeader + body + "\\par\n}"; }

TEST(RtfTextEscapes, CharactersWrittenByANearestFitAreWrittenAsUnicode) {
  const TestCodePages code_pages;
  struct Row {
    const char* body;          // as the control wrote it
    std::u16string text;       // what it holds
    const char* faithful;      // the body as it should be, or nullptr for no change
  };
  const Row rows[] = {
      // A Japanese run: "é" written as "e", "¥" as a backslash; 日本, \u, ASCII exact.
      {"cafe e \\'93\\'fa\\'96\\'7b \\u-16212?", u"café e 日本 사\r",
       "caf\\u233? e \\'93\\'fa\\'96\\'7b \\u-16212?"},
      {"a\\\\b", u"a¥b\r", "a\\u165?b"},
      // A Western run reads its bytes in its own code page.
      {"\\f1 caf\\'e9\\f0 ", u"café\r", nullptr},
      // Surrogate pairs come as two units.
      {"\\u-10174?\\u-8265?", u"𠮷\r", nullptr},
      {"xx", u"𠮷\r", "\\u-10174?\\u-8265?"},
      // With no fallback in force, the word ends with a space.
      {"{\\uc0 cafe}", u"café\r", "{\\uc0 caf\\u233 }"},
      // Paragraphs, tabs and the characters RTF names by words.
      {"a\\tab b\\par c\\emdash d", u"a\tb\rc\u2014d\r", nullptr},
      // What cannot be matched: more or less text, or a table.
      {"abc", u"ab\r", nullptr},
      {"a\\cell b", u"a\u0007b\r", nullptr},
  };
  for (const Row& row : rows) {
    const std::optional<std::string> repaired =
        EscapeUnfaithfulCharacters(Document(row.body), row.text, code_pages);
    if (row.faithful) {
      ASSERT_TRUE(repaired.has_value()) << row.body;
      EXPECT_EQ(*repaired, Document(row.faithful)) << row.body;
    } else {
      EXPECT_FALSE(repaired.has_value()) << row.body;
    }
  }
}

}  // namespace
}  // namespace pelmora
