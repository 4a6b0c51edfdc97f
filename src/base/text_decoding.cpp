#include "base/text_decoding.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <stdexcept>

#include "base/code_page_932.h"

namespace pelmora {

namespace {

constexpr char16_t kLineFeed = 0x0A;
constexpr char16_t kCarriageReturn = 0x0D;
constexpr char16_t kReplacement = 0xFFFD;

// The text as it is written, with the line-break conversion done on the way. Each decoder
// runs twice over the file: once counting (kWrite false), so the string is made at its
// exact size, then writing.
template <bool kWrite>
class Output {
 public:
  explicit Output(char16_t* out = nullptr) : out_(out) {}

  std::size_t size() const { return size_; }

  // A unit that is neither a carriage return nor a line feed.
  void Unit(char16_t unit) {
    if constexpr (kWrite) out_[size_] = unit;
    ++size_;
    after_carriage_return_ = false;
  }

  // Any unit.
  void Any(char16_t unit) {
    if (unit > kCarriageReturn || (unit != kLineFeed && unit != kCarriageReturn)) {
      Unit(unit);
      return;
    }
    const bool pair_rest = unit == kLineFeed && after_carriage_return_;
    after_carriage_return_ = unit == kCarriageReturn;
    if (pair_rest) return;
    if constexpr (kWrite) {
      out_[size_] = kCarriageReturn;
      out_[size_ + 1] = kLineFeed;
    }
    size_ += 2;
  }

  void SurrogatePair(char16_t high, char16_t low) {
    if constexpr (kWrite) {
      out_[size_] = high;
      out_[size_ + 1] = low;
    }
    size_ += 2;
    after_carriage_return_ = false;
  }

  // ASCII bytes holding no carriage return or line feed.
  void Ascii(const std::uint8_t* bytes, std::size_t count) {
    if constexpr (kWrite) {
      for (std::size_t i = 0; i < count; ++i) out_[size_ + i] = bytes[i];
    }
    size_ += count;
    after_carriage_return_ = false;
  }

 private:
  char16_t* out_;
  std::size_t size_ = 0;
  bool after_carriage_return_ = false;
};

// --- UTF-8 ---

constexpr std::uint64_t kEveryByte = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

constexpr bool HasZeroByte(std::uint64_t word) {
  return ((word - kEveryByte) & ~word & kHighBits) != 0;
}

// Eight ASCII bytes with no carriage return or line feed among them.
bool IsPlainAscii8(const std::uint8_t* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return (word & kHighBits) == 0 && !HasZeroByte(word ^ (kEveryByte * kLineFeed)) &&
         !HasZeroByte(word ^ (kEveryByte * kCarriageReturn));
}

enum class Utf8Kind { Ascii, Unicode, Broken };

// Decodes UTF-8 after the well-formed sequences of the Unicode standard's table 3-7. A
// broken sequence gives one U+FFFD for its maximal subpart: the longest start of a
// well-formed sequence, or its first byte alone. With stop_at_broken, the walk ends at the
// first broken sequence (the bytes are then not UTF-8 at all).
template <bool kWrite>
Utf8Kind WalkUtf8(std::span<const std::uint8_t> bytes, Output<kWrite>& out, bool stop_at_broken) {
  const std::uint8_t* p = bytes.data();
  const std::uint8_t* const end = p + bytes.size();
  bool beyond_ascii = false;
  while (p < end) {
    if (end - p >= 8 && IsPlainAscii8(p)) {
      out.Ascii(p, 8);
      p += 8;
      continue;
    }
    const std::uint8_t lead = *p++;
    if (lead < 0x80) {
      out.Any(lead);
      continue;
    }
    beyond_ascii = true;
    int more;
    char32_t code;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2;
      code = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;   // no overlong forms
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3;
      code = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
      more = -1;
      code = 0;
    }
    for (; more > 0; --more) {
      if (p == end || *p < low || *p > high) break;
      code = code << 6 | (*p++ & 0x3F);
      low = 0x80;
      high = 0xBF;
    }
    if (more != 0) {
      if (stop_at_broken) return Utf8Kind::Broken;
      out.Unit(kReplacement);
    } else if (code < 0x10000) {
      out.Unit(static_cast<char16_t>(code));
    } else {
      code -= 0x10000;
      out.SurrogatePair(static_cast<char16_t>(0xD800 + (code >> 10)),
                        static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
  }
  return beyond_ascii ? Utf8Kind::Unicode : Utf8Kind::Ascii;
}

// --- UTF-16 ---

template <bool kBigEndian>
char16_t LoadUnit(const std::uint8_t* bytes) {
  return kBigEndian ? static_cast<char16_t>(bytes[0] << 8 | bytes[1])
                    : static_cast<char16_t>(bytes[1] << 8 | bytes[0]);
}

template <bool kBigEndian, bool kWrite>
void WalkUtf16(std::span<const std::uint8_t> bytes, Output<kWrite>& out) {
  const std::size_t units = bytes.size() / 2;
  const std::uint8_t* const p = bytes.data();
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t unit = LoadUnit<kBigEndian>(p + 2 * i);
    if (unit < 0xD800 || unit > 0xDFFF) {
      out.Any(unit);
      continue;
    }
    if (unit <= 0xDBFF && i + 1 < units) {
      const char16_t next = LoadUnit<kBigEndian>(p + 2 * i + 2);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        out.SurrogatePair(unit, next);
        ++i;
        continue;
      }
    }
    out.Unit(kReplacement);
  }
  if (bytes.size() % 2 != 0) out.Unit(kReplacement);
}

// --- Code page 932 ---

// Pieces small enough for the converted piece to stay in the cache while its line breaks
// are converted into the text.
constexpr std::size_t kPieceBytes = 64 * 1024;

// Every character is at least one byte and gives one unit, so the bytes bound the units;
// each carriage return and each line feed that does not end a pair adds one. Carriage
// returns and line feeds are characters of their own in this code page.
std::size_t CodePage932Bound(std::span<const std::uint8_t> bytes) {
  std::size_t breaks = 0;
  std::size_t pairs = 0;
  std::uint8_t previous = 0;
  for (const std::uint8_t byte : bytes) {
    breaks += byte == kCarriageReturn || byte == kLineFeed;
    pairs += previous == kCarriageReturn && byte == kLineFeed;
    previous = byte;
  }
  std::size_t bound;
  if (__builtin_add_overflow(bytes.size(), breaks - 2 * pairs, &bound)) {
    throw std::length_error("text too long");
  }
  return bound;
}

void DecodeCodePage932Text(std::span<const std::uint8_t> bytes, std::u16string& text) {
  text.resize(CodePage932Bound(bytes));
  Output<true> out(text.data());
  const auto piece = std::make_unique_for_overwrite<char16_t[]>(kPieceBytes);
  while (!bytes.empty()) {
    const std::size_t size = CodePage932PieceSize(bytes, kPieceBytes);
    const std::size_t units = DecodeCodePage932(bytes.first(size), piece.get());
    for (std::size_t i = 0; i < units; ++i) out.Any(piece[i]);
    bytes = bytes.subspan(size);
  }
  text.resize(out.size());
}

// --- Both passes ---

template <typename Walk>
void CountThenWrite(std::u16string& text, const Walk& walk) {
  Output<false> counter;
  walk(counter);
  text.resize(counter.size());
  Output<true> writer(text.data());
  walk(writer);
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> mark) {
  return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

}  // namespace

DecodedText DecodeTextFile(std::span<const std::uint8_t> file) {
  DecodedText result;
  if (StartsWith(file, {0xEF, 0xBB, 0xBF})) {
    result.encoding = TextEncoding::Utf8WithMark;
    CountThenWrite(result.text, [&](auto& out) { WalkUtf8(file.subspan(3), out, false); });
  } else if (StartsWith(file, {0xFF, 0xFE})) {
    result.encoding = TextEncoding::Utf16LittleEndian;
    CountThenWrite(result.text, [&](auto& out) { WalkUtf16<false>(file.subspan(2), out); });
  } else if (StartsWith(file, {0xFE, 0xFF})) {
    result.encoding = TextEncoding::Utf16BigEndian;
    CountThenWrite(result.text, [&](auto& out) { WalkUtf16<true>(file.subspan(2), out); });
  } else {
    // The counting pass is also the test for UTF-8. Plain ASCII is code page 932 by the
    // rule, but reads the same through the faster UTF-8 path.
    Output<false> counter;
    const Utf8Kind kind = WalkUtf8(file, counter, true);
    if (kind == Utf8Kind::Broken) {
      result.encoding = TextEncoding::CodePage932;
      DecodeCodePage932Text(file, result.text);
    } else {
      result.encoding = kind == Utf8Kind::Ascii ? TextEncoding::CodePage932 : TextEncoding::Utf8;
      result.text.resize(counter.size());
      Output<true> writer(result.text.data());
      WalkUtf8(file, writer, false);
    }
  }
  return result;
}

}  // namespace pelmora
