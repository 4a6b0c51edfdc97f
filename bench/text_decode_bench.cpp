// Decoding a 100 MB text file (mixed Japanese and Latin, about 200,000 lines) in each of the
// four encodings, against iconv converting the same bytes into a string of the size it
// needs at most. The decoding also finds the encoding and converts the line breaks; the
// ratio of each pair is what matters.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "base/text_decoding.h"

namespace {

using namespace pelmora;

constexpr std::size_t kFileBytes = 100u << 20;

const char16_t* const kPhrases[] = {
    u"クリップボードの内容を表示します。",
    u"The quick brown fox jumps over the lazy dog. ",
    u"日本語のテキストと漢字かな交じり文、",
    u"ｶﾀｶﾅ、ＡＢＣ全角英字①②③、",
    u"Pelmora 1.00 (clipboard viewer) ",
    u"東京都千代田区丸の内一丁目",
    u"version=1.0; path=C:\\Users\\data\\file.txt; ",
    u"「文字編集」で書式を変えて戻します。",
};

// Lines of 250 to 350 characters drawn from the phrases, each ending in a line feed.
std::vector<std::u16string> Lines() {
  std::vector<std::u16string> lines;
  std::uint32_t seed = 2024;
  for (int i = 0; i < 1000; ++i) {
    std::u16string line;
    seed = seed * 1103515245u + 12345u;
    const std::size_t length = 250 + (seed >> 16) % 100;
    while (line.size() < length) {
      seed = seed * 1103515245u + 12345u;
      line += kPhrases[(seed >> 16) % std::size(kPhrases)];
    }
    lines.push_back(line + u"\n");
  }
  return lines;
}

std::string Convert(const char* to, std::u16string_view text) {
  const iconv_t converter = ::iconv_open(to, "UTF-16LE");
  std::string bytes(text.size() * 4, '\0');
  char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
  std::size_t in_left = text.size() * 2;
  char* out = bytes.data();
  std::size_t out_left = bytes.size();
  if (::iconv(converter, &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1))
    std::abort();
  ::iconv_close(converter);
  bytes.resize(bytes.size() - out_left);
  return bytes;
}

struct Encoding {
  const char* iconv_name;
  std::string mark;
};

const Encoding kEncodings[] = {
    {"UTF-8", "\xEF\xBB\xBF"}, {"UTF-16LE", "\xFF\xFE"}, {"UTF-16BE", "\xFE\xFF"}, {"CP932", ""}};

// The file in one encoding: its mark, then lines until 100 MB.
const std::string& File(int encoding) {
  static const std::vector<std::string> files = [] {
    const std::vector<std::u16string> lines = Lines();
    std::vector<std::string> all;
    for (const Encoding& e : kEncodings) {
      std::vector<std::string> encoded;
      for (const std::u16string& line : lines) encoded.push_back(Convert(e.iconv_name, line));
      std::string file = e.mark;
      for (std::size_t i = 0; file.size() < kFileBytes; ++i) file += encoded[i % encoded.size()];
      all.push_back(std::move(file));
    }
    return all;
  }();
  return files[encoding];
}

void SetCounters(benchmark::State& state, const std::string& file) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
  state.SetLabel(kEncodings[state.range(0)].iconv_name);
}

void BM_DecodeTextFile(benchmark::State& state) {
  const std::string& file = File(static_cast<int>(state.range(0)));
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(file.data()),
                                            file.size());
  for (auto _ : state) {
    DecodedText decoded = DecodeTextFile(bytes);
    benchmark::DoNotOptimize(decoded.text.data());
  }
  SetCounters(state, file);
}
BENCHMARK(BM_DecodeTextFile)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// The bare conversion: the bytes after the mark, into a fresh string with room for one
// unit per byte, cut to what iconv wrote.
void BM_Iconv(benchmark::State& state) {
  const Encoding& encoding = kEncodings[state.range(0)];
  const std::string& file = File(static_cast<int>(state.range(0)));
  const iconv_t converter = ::iconv_open("UTF-16LE", encoding.iconv_name);
  for (auto _ : state) {
    std::u16string text(file.size(), u'\0');
    char* in = const_cast<char*>(file.data() + encoding.mark.size());
    std::size_t in_left = file.size() - encoding.mark.size();
    char* out = reinterpret_cast<char*>(text.data());
    std::size_t out_left = text.size() * 2;
    if (::iconv(converter, &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1)) {
      std::abort();
    }
    text.resize(text.size() - out_left / 2);
    benchmark::DoNotOptimize(text.data());
  }
  ::iconv_close(converter);
  SetCounters(state, file);
}
BENCHMARK(BM_Iconv)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
