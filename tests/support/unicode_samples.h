#pragma once
// Text in the scripts people copy today, each a case a path through a narrow code page
// loses: the one table the text tests run through.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora::test {

struct UnicodeSample {
  const char* name;
  std::u16string text;
};

inline const std::vector<UnicodeSample>& UnicodeSamples() {
  static const std::vector<UnicodeSample> samples = [] {
    std::vector<UnicodeSample> rows{
        {"accented Latin", u"café naïve Ærøskøbing Œuvre Straße ¥100 ‾"},
        {"combining marks", u"cafe\u0301 n\u0303o A\u030A"},
        {"Greek", u"Ελληνικά: αβγ δέλτα"},
        {"Cyrillic", u"Кириллица: ёжик Ўў"},
        {"Hangul", u"사진 한국어 텍스트"},
        {"Chinese outside JIS", u"我们这个 简体字"},
        {"surrogate pairs", u"𠮷野家 𩸽 𝔸𝕏 ∑∫√∞≠"},
        {"emoji with skin tone", u"👍🏽 👋🏿"},
        {"emoji family", u"👨\u200D👩\u200D👧\u200D👦"},
        {"flag", u"🇯🇵 🇺🇦"},
        {"Arabic", u"مرحبا بالعالم"},
        {"Hebrew", u"שלום עולם"},
        {"replacement character", u"bad \uFFFD byte"},
        {"two lines", u"first line\r\nsecond line"},
    };
    std::u16string line;
    while (line.size() < 20000) line += u"long line ÄÖÜ 日本語 사진 🇯🇵 ";
    rows.push_back({"a very long line", line});
    return rows;
  }();
  return samples;
}

// The table's texts one per line: what a screenshot shows and a whole-text round trip takes.
inline std::u16string AllUnicodeSamples() {
  std::u16string all;
  for (const UnicodeSample& sample : UnicodeSamples()) {
    if (sample.text.size() > 200) continue;
    all += sample.text + u"\r\n";
  }
  return all;
}

// Whether two texts are the same unit for unit; when not, says where they first differ
// (the texts may be long).
template <typename Got, typename Want>
::testing::AssertionResult SameUnits(const Got& got, const Want& want) {
  const std::size_t n = std::min(got.size(), want.size());
  std::size_t at = 0;
  while (at < n && static_cast<char32_t>(got[at]) == static_cast<char32_t>(want[at])) ++at;
  if (at == got.size() && at == want.size()) return ::testing::AssertionSuccess();
  auto unit = [](const auto& text, std::size_t i) {
    return i < text.size() ? std::to_string(static_cast<unsigned>(text[i])) : std::string("end");
  };
  return ::testing::AssertionFailure()
         << "lengths " << got.size() << " and " << want.size() << ", first difference at unit "
         << at << ": " << unit(got, at) << " where " << unit(want, at) << " was expected";
}

}  // namespace pelmora::test
