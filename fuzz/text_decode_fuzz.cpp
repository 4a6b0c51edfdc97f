// Decodes any bytes as a text file and checks the result against oracles:
// - always well-formed UTF-16 in the normal line-break form (every carriage return followed
//   by a line feed, every line feed preceded by one), at most two units per byte, and the
//   same on a second run;
// - wherever iconv converts the file whole without an error, the same text as iconv's with
//   the line breaks converted; for code page 932 also where it has errors, against iconv
//   applied one character at a time;
// - the input taken as code points, written in each encoding, decodes back to them;
// - code page 932 converted in pieces of random sizes gives the whole conversion.
#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "base/code_page_932.h"
#include "base/sjis.h"
#include "base/text_decoding.h"

namespace {

using namespace pelmora;
using Bytes = std::span<const std::uint8_t>;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::u16string NormalLineBreaks(std::u16string_view text) {
  std::u16string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      result += u"\r\n";
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

void CheckWellFormed(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      Check(i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF);
      ++i;
    } else {
      Check(unit < 0xDC00 || unit > 0xDFFF);
    }
    if (unit == u'\r') Check(i + 1 < text.size() && text[i + 1] == u'\n');
    if (unit == u'\n') Check(i > 0 && text[i - 1] == u'\r');
  }
}

// Converters to UTF-16 by the name of the encoding, opened once: opening costs more than a
// run.
class Converters {
 public:
  ~Converters() {
    for (const auto& [name, converter] : converters_) ::iconv_close(converter);
  }
  iconv_t From(const char* name) {
    iconv_t& converter = converters_[name];
    if (converter == nullptr) converter = ::iconv_open("UTF-16LE", name);
    Check(converter != reinterpret_cast<iconv_t>(-1));
    return converter;
  }

 private:
  std::map<std::string, iconv_t> converters_;
};

// The bytes converted by iconv in one call; false when iconv reports any error.
bool IconvWhole(const char* from, Bytes bytes, std::u16string& text) {
  static Converters converters;
  const iconv_t converter = converters.From(from);
  ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
  text.assign(2 * bytes.size() + 1, u'\0');
  char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
  std::size_t in_left = bytes.size();
  char* out = reinterpret_cast<char*>(text.data());
  std::size_t out_left = text.size() * 2;
  const bool ok =
      ::iconv(converter, &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1);
  text.resize(text.size() - out_left / 2);
  return ok;
}

// Code page 932 one character at a time: each character as iconv converts it alone, looked
// up in a table made once (a call per character would make the runs slow).
std::u16string CodePage932ByCharacter(Bytes bytes) {
  static const std::vector<char16_t> table = [] {
    std::vector<char16_t> units(0x10000);
    for (std::uint32_t code = 0; code < units.size(); ++code) {
      const std::uint8_t lead = code >> 8;
      const std::uint8_t second = code & 0xFF;
      const std::uint8_t pair[] = {lead, second};
      const Bytes character = lead == 0 ? Bytes(pair + 1, 1) : Bytes(pair, 2);
      if (lead != 0 && !(IsLeadByte(lead) && IsSecondByte(second))) continue;
      std::u16string unit;
      if (IconvWhole("CP932", character, unit) && unit.size() == 1) {
        units[code] = unit[0];
      } else {
        units[code] = code == 0x80 ? u'\x80' : u'\xFFFD';
      }
    }
    return units;
  }();
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size();) {
    const bool pair = IsLeadByte(bytes[i]) && i + 1 < bytes.size() && IsSecondByte(bytes[i + 1]);
    // A lead byte alone is looked up as itself, which iconv does not convert.
    text += table[pair ? bytes[i] << 8 | bytes[i + 1] : bytes[i]];
    i += pair ? 2 : 1;
  }
  return text;
}

DecodedText Decode(const std::string& file) {
  return DecodeTextFile({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
}

void CheckFile(Bytes file) {
  const DecodedText decoded = DecodeTextFile(file);
  CheckWellFormed(decoded.text);
  Check(decoded.text.size() <= 2 * file.size());
  Check(DecodeTextFile(file).text == decoded.text);

  std::u16string bare;
  switch (decoded.encoding) {
    case TextEncoding::CodePage932:
      Check(decoded.text == NormalLineBreaks(CodePage932ByCharacter(file)));
      break;
    case TextEncoding::Utf8:
      Check(IconvWhole("UTF-8", file, bare) && decoded.text == NormalLineBreaks(bare));
      break;
    case TextEncoding::Utf8WithMark:
      if (IconvWhole("UTF-8", file.subspan(3), bare)) Check(decoded.text == NormalLineBreaks(bare));
      break;
    case TextEncoding::Utf16LittleEndian:
    case TextEncoding::Utf16BigEndian: {
      const bool big = decoded.encoding == TextEncoding::Utf16BigEndian;
      if (IconvWhole(big ? "UTF-16BE" : "UTF-16LE", file.subspan(2), bare)) {
        Check(decoded.text == NormalLineBreaks(bare));
      }
      break;
    }
  }
}

// The input as code points: a kind byte, then what that kind reads.
std::u32string CodePoints(Bytes data) {
  std::u32string points;
  std::size_t i = 0;
  auto next = [&]() -> char32_t { return i < data.size() ? data[i++] : 0; };
  while (i < data.size()) {
    const char32_t kind = next();
    switch (kind % 4) {
      case 0:
        points += next() & 0x7F;
        break;
      case 1: {
        const char32_t point = next() << 8 | next();
        if (point < 0xD800 || point > 0xDFFF) points += point;
        break;
      }
      case 2:
        points += 0x10000 + (next() << 16 | next() << 8 | next()) % 0x100000;
        break;
      default:
        points += kind & 4 ? U'\r' : U'\n';
    }
  }
  return points;
}

void CheckRoundTrip(Bytes data) {
  const std::u32string points = CodePoints(data);
  std::u16string text;
  std::string utf8;
  bool ascii = true;
  for (const char32_t point : points) {
    if (point < 0x80) {
      utf8 += static_cast<char>(point);
    } else if (point < 0x800) {
      utf8 += {static_cast<char>(0xC0 | point >> 6), static_cast<char>(0x80 | (point & 0x3F))};
    } else if (point < 0x10000) {
      utf8 += {static_cast<char>(0xE0 | point >> 12), static_cast<char>(0x80 | (point >> 6 & 0x3F)),
               static_cast<char>(0x80 | (point & 0x3F))};
    } else {
      utf8 +=
          {static_cast<char>(0xF0 | point >> 18), static_cast<char>(0x80 | (point >> 12 & 0x3F)),
           static_cast<char>(0x80 | (point >> 6 & 0x3F)), static_cast<char>(0x80 | (point & 0x3F))};
    }
    ascii = ascii && point < 0x80;
    if (point < 0x10000) {
      text += static_cast<char16_t>(point);
    } else {
      text += static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
      text += static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
    }
  }
  const std::u16string expected = NormalLineBreaks(text);

  const DecodedText marked = Decode("\xEF\xBB\xBF" + utf8);
  Check(marked.encoding == TextEncoding::Utf8WithMark && marked.text == expected);
  // Without a mark, a text that starts with U+FEFF starts with the mark's bytes.
  if (points.empty() || points[0] != 0xFEFF) {
    const DecodedText unmarked = Decode(utf8);
    Check(unmarked.encoding == (ascii ? TextEncoding::CodePage932 : TextEncoding::Utf8));
    Check(unmarked.text == expected);
  }
  for (const bool big : {false, true}) {
    std::string utf16 = big ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
      utf16 += big ? static_cast<char>(unit >> 8) : static_cast<char>(unit);
      utf16 += big ? static_cast<char>(unit) : static_cast<char>(unit >> 8);
    }
    const DecodedText decoded = Decode(utf16);
    Check(decoded.encoding ==
          (big ? TextEncoding::Utf16BigEndian : TextEncoding::Utf16LittleEndian));
    Check(decoded.text == expected);
  }
}

void CheckPieces(Bytes data) {
  std::vector<char16_t> whole(data.size());
  const std::size_t size = DecodeCodePage932(data, whole.data());
  std::vector<char16_t> pieces(data.size());
  std::size_t written = 0;
  std::uint32_t state = data.empty() ? 1 : data[0] | 1;
  for (Bytes rest = data; !rest.empty();) {
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    const std::size_t limit = state % 64 + 1;
    const std::size_t piece = CodePage932PieceSize(rest, limit);
    Check(piece >= 1 && piece <= rest.size() && (piece <= limit || piece == 2));
    written += DecodeCodePage932(rest.first(piece), pieces.data() + written);
    rest = rest.subspan(piece);
  }
  Check(written == size && std::equal(whole.begin(), whole.begin() + size, pieces.begin()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Bytes bytes(data, size);
  CheckFile(bytes);
  CheckRoundTrip(bytes);
  CheckPieces(bytes);
  return 0;
}
