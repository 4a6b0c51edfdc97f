#include "base/text_decoding.h"

#include <algorithm>
#include <bit>
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

// Sizes: every byte gives at most two units, and a span holds at most PTRDIFF_MAX bytes, so
// a count of units never overflows on its way; only sums of counts are checked.
std::size_t CheckedSum(std::size_t a, std::size_t b) {
  std::size_t sum;
  if (__builtin_add_overflow(a, b, &sum)) throw std::length_error("text too long");
  return sum;
}

// The text as it is written, with the line-break conversion done on the way. Counting
// (kWrite false) gives the exact size of the text before it is written.
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

  // Units holding no carriage return or line feed.
  void Plain(const char16_t* units, std::size_t count) {
    if constexpr (kWrite) std::memcpy(out_ + size_, units, count * sizeof(char16_t));
    size_ += count;
    after_carriage_return_ = false;
  }

  // Any units: the runs between line breaks are copied whole.
  void Units(const char16_t* units, std::size_t count);

 private:
  char16_t* out_;
  std::size_t size_ = 0;
  bool after_carriage_return_ = false;
};

// Eight bytes or four units at a time: whether a lane of a word is zero.
constexpr std::uint64_t kEveryByte = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;
constexpr std::uint64_t kEveryUnit = 0x0001000100010001;
constexpr std::uint64_t kUnitHighBits = 0x8000800080008000;

constexpr bool HasZeroByte(std::uint64_t word) {
  return ((word - kEveryByte) & ~word & kHighBits) != 0;
}

constexpr bool HasZeroUnit(std::uint64_t word) {
  return ((word - kEveryUnit) & ~word & kUnitHighBits) != 0;
}

// Four units (in the machine's order) holding a carriage return or a line feed.
constexpr bool HasLineBreakUnit(std::uint64_t word) {
  return HasZeroUnit(word ^ (kEveryUnit * kLineFeed)) ||
         HasZeroUnit(word ^ (kEveryUnit * kCarriageReturn));
}

template <bool kWrite>
void Output<kWrite>::Units(const char16_t* units, std::size_t count) {
  std::size_t i = 0;
  while (i < count) {
    std::size_t end = i;
    for (std::uint64_t word; end + 4 <= count; end += 4) {
      std::memcpy(&word, units + end, sizeof word);
      if (HasLineBreakUnit(word)) break;
    }
    while (end < count && units[end] != kLineFeed && units[end] != kCarriageReturn) ++end;
    if (end > i) Plain(units + i, end - i);
    if (end < count) Any(units[end++]);
    i = end;
  }
}

// The units a text's line breaks add: one for each carriage return and for each line feed
// that does not end a pair, less one for each line feed that does. Counted in blocks of a
// fixed length, which the compiler turns into vector code.
template <typename Unit>
std::size_t LineBreakGrowth(const std::uint8_t* bytes, std::size_t units, Unit carriage_return,
                            Unit line_feed) {
  auto at = [bytes](std::size_t i) {
    Unit unit;
    std::memcpy(&unit, bytes + i * sizeof(Unit), sizeof unit);
    return unit;
  };
  if (units == 0) return 0;
  std::size_t breaks = at(0) == carriage_return || at(0) == line_feed;
  std::size_t pairs = 0;
  constexpr std::size_t kBlock = 64;
  std::size_t i = 1;
  for (; i + kBlock <= units; i += kBlock) {
    std::uint8_t block_breaks = 0;
    std::uint8_t block_pairs = 0;
    for (std::size_t k = 0; k < kBlock; ++k) {
      const Unit unit = at(i + k);
      const Unit previous = at(i + k - 1);
      block_breaks += (unit == carriage_return) | (unit == line_feed);
      block_pairs += (previous == carriage_return) & (unit == line_feed);
    }
    breaks += block_breaks;
    pairs += block_pairs;
  }
  for (; i < units; ++i) {
    breaks += at(i) == carriage_return || at(i) == line_feed;
    pairs += at(i - 1) == carriage_return && at(i) == line_feed;
  }
  return breaks - 2 * pairs;
}

// --- UTF-8 ---

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
    // Three-byte characters (most of CJK) first, then the general rule below.
    if (lead >= 0xE1 && lead <= 0xEF && lead != 0xED && end - p >= 2 && (p[0] & 0xC0) == 0x80 &&
        (p[1] & 0xC0) == 0x80) {
      out.Unit(static_cast<char16_t>((lead & 0x0F) << 12 | (p[0] & 0x3F) << 6 | (p[1] & 0x3F)));
      p += 2;
      continue;
    }
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

// Surrogates do not change the count (a pair stays two units, an unpaired one becomes one
// U+FFFD), so only the line breaks and a last lone byte add to the units.
template <bool kBigEndian>
std::size_t Utf16Size(std::span<const std::uint8_t> bytes) {
  constexpr bool kSwapped = kBigEndian == (std::endian::native == std::endian::little);
  const std::uint16_t carriage_return = kSwapped ? kCarriageReturn << 8 : kCarriageReturn;
  const std::uint16_t line_feed = kSwapped ? kLineFeed << 8 : kLineFeed;
  const std::size_t units = bytes.size() / 2;
  return CheckedSum(units + bytes.size() % 2,
                    LineBreakGrowth(bytes.data(), units, carriage_return, line_feed));
}

// Four units in the machine's order, or false when one is a surrogate or a line break.
template <bool kBigEndian>
bool LoadPlain4(const std::uint8_t* bytes, char16_t* units) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  if constexpr (kBigEndian == (std::endian::native == std::endian::little)) {
    word = (word >> 8 & 0x00FF00FF00FF00FF) | (word & 0x00FF00FF00FF00FF) << 8;
  }
  if (HasZeroUnit((word & (kEveryUnit * 0xF800)) ^ (kEveryUnit * 0xD800)) ||
      HasLineBreakUnit(word)) {
    return false;
  }
  std::memcpy(units, &word, sizeof word);
  return true;
}

template <bool kBigEndian>
void WriteUtf16(std::span<const std::uint8_t> bytes, Output<true>& out) {
  const std::size_t units = bytes.size() / 2;
  const std::uint8_t* const p = bytes.data();
  char16_t plain[4];
  for (std::size_t i = 0; i < units; ++i) {
    if (i + 4 <= units && LoadPlain4<kBigEndian>(p + 2 * i, plain)) {
      out.Plain(plain, 4);
      i += 3;
      continue;
    }
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

template <bool kBigEndian>
void DecodeUtf16(std::span<const std::uint8_t> bytes, std::u16string& text) {
  text.resize(Utf16Size<kBigEndian>(bytes));
  Output<true> out(text.data());
  WriteUtf16<kBigEndian>(bytes, out);
}

// --- Code page 932 ---

// Pieces small enough for the converted piece to stay in the cache while its line breaks
// are converted into the text.
constexpr std::size_t kPieceBytes = 64 * 1024;

// Every character is at least one byte and gives one unit, so the bytes bound the units;
// each carriage return and each line feed that does not end a pair adds one. Carriage
// returns and line feeds are characters of their own in this code page.
std::size_t CodePage932Bound(std::span<const std::uint8_t> bytes) {
  return CheckedSum(bytes.size(), LineBreakGrowth<std::uint8_t>(bytes.data(), bytes.size(),
                                                                kCarriageReturn, kLineFeed));
}

void DecodeCodePage932Text(std::span<const std::uint8_t> bytes, std::u16string& text) {
  text.resize(CodePage932Bound(bytes));
  Output<true> out(text.data());
  const auto piece = std::make_unique_for_overwrite<char16_t[]>(kPieceBytes);
  while (!bytes.empty()) {
    const std::size_t size = CodePage932PieceSize(bytes, kPieceBytes);
    out.Units(piece.get(), DecodeCodePage932(bytes.first(size), piece.get()));
    bytes = bytes.subspan(size);
  }
  text.resize(out.size());
}

// --- UTF-8, counted then written ---

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
    DecodeUtf16<false>(file.subspan(2), result.text);
  } else if (StartsWith(file, {0xFE, 0xFF})) {
    result.encoding = TextEncoding::Utf16BigEndian;
    DecodeUtf16<true>(file.subspan(2), result.text);
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
