#include "richtext/rtf_text_escapes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <vector>

namespace pelmora {
namespace {

// One character of the RTF's text: what it reads as, and the bytes that wrote it.
struct TextCharacter {
  std::u16string units;
  std::size_t begin;
  std::size_t end;
  int fallback_count;  // the \ucN in force where it stands
};

// Control symbols and words that stand for one character of text.
struct CharacterWord {
  std::string_view word;
  char16_t unit;
};
constexpr std::array<CharacterWord, 21> kCharacterWords{{
    {"par", u'\r'},          {"line", u'\v'},         {"tab", u'\t'},
    {"emdash", u'\u2014'},   {"endash", u'\u2013'},   {"emspace", u'\u2003'},
    {"enspace", u'\u2002'},  {"qmspace", u'\u2005'},  {"bullet", u'\u2022'},
    {"lquote", u'\u2018'},   {"rquote", u'\u2019'},   {"ldblquote", u'\u201C'},
    {"rdblquote", u'\u201D'}, {"zwj", u'\u200D'},     {"zwnj", u'\u200C'},
    {"ltrmark", u'\u200E'},  {"rtlmark", u'\u200F'},  {"~", u'\u00A0'},
    {"-", u'\u00AD'},        {"_", u'\u2011'},        {"sect", u'\r'},
}};

// Destinations whose text is not part of the document's text.
constexpr std::array<std::string_view, 9> kSkippedDestinations{
    "fonttbl", "colortbl", "stylesheet", "info", "pict", "object", "listtable",
    "listoverridetable", "revtbl"};
// Words after which the text cannot be matched character for character.
constexpr std::array<std::string_view, 6> kUnmatchable{"bin", "cell", "row", "nestcell",
                                                         "field", "page"};

template <std::size_t N>
bool OneOf(std::string_view word, const std::array<std::string_view, N>& words) {
  for (std::string_view w : words) {
    if (w == word) return true;
  }
  return false;
}

struct GroupState {
  bool skipped = false;   // inside a destination that holds no document text
  int font = -1;          // \fN in force
  int skip_after_unicode = 1;  // \ucN
};

class TextReader {
 public:
  TextReader(std::string_view rtf, const CodePages& code_pages)
      : rtf_(rtf), code_pages_(code_pages) {}

  // Every character of the document's text in order; nothing when the RTF holds what
  // cannot be matched.
  std::optional<std::vector<TextCharacter>> Read() {
    std::vector<GroupState> groups{GroupState{}};
    std::vector<TextCharacter> characters;
    int skip_fallback = 0;  // characters still to skip after \uN
    bool font_table = false;
    int font_table_depth = 0;
    int pending_font = -1;
    std::size_t i = 0;
    while (i < rtf_.size()) {
      const char c = rtf_[i];
      if (c == '{') {
        groups.push_back(groups.back());
        ++i;
        continue;
      }
      if (c == '}') {
        // The document's own group closes: what may follow (a 0 byte) is not part of it.
        if (groups.size() <= 2) break;
        groups.pop_back();
        if (font_table && static_cast<int>(groups.size()) < font_table_depth) font_table = false;
        skip_fallback = 0;
        ++i;
        continue;
      }
      if (c == '\r' || c == '\n') {
        ++i;
        continue;
      }
      GroupState& state = groups.back();
      const std::size_t begin = i;
      if (c == '\\') {
        if (i + 1 >= rtf_.size()) return std::nullopt;
        const char next = rtf_[i + 1];
        if (next == '\'') {
          if (i + 3 >= rtf_.size()) return std::nullopt;
          const int byte = Hex(rtf_[i + 2]) * 16 + Hex(rtf_[i + 3]);
          if (byte < 0) return std::nullopt;
          i += 4;
          if (!TextByte(state, static_cast<std::uint8_t>(byte), begin, i, skip_fallback,
                        characters)) {
            return std::nullopt;
          }
          continue;
        }
        if (!IsLetter(next)) {
          i += 2;
          if (next == '\\' || next == '{' || next == '}') {
            if (!TextByte(state, static_cast<std::uint8_t>(next), begin, i, skip_fallback,
                          characters)) {
              return std::nullopt;
            }
          } else if (next == '*') {
            state.skipped = true;
          } else if (next == '\r' || next == '\n') {
            Emit(state, u"\r", begin, i, skip_fallback, characters);
          } else if (const char16_t unit = WordCharacter(std::string_view(&rtf_[i - 1], 1))) {
            Emit(state, std::u16string(1, unit), begin, i, skip_fallback, characters);
          }
          continue;
        }
        // A control word: letters, an optional signed number, an optional space.
        std::size_t j = i + 1;
        while (j < rtf_.size() && IsLetter(rtf_[j])) ++j;
        const std::string_view word = rtf_.substr(i + 1, j - i - 1);
        const std::size_t number_at = j;
        if (j < rtf_.size() && rtf_[j] == '-') ++j;
        while (j < rtf_.size() && rtf_[j] >= '0' && rtf_[j] <= '9') ++j;
        long number = 0;
        const bool has_number =
            std::from_chars(rtf_.data() + number_at, rtf_.data() + j, number).ec == std::errc{};
        if (j < rtf_.size() && rtf_[j] == ' ') ++j;
        i = j;
        if (OneOf(word, kUnmatchable) && !state.skipped) return std::nullopt;
        if (word == "fonttbl") {
          font_table = true;
          font_table_depth = static_cast<int>(groups.size());
          state.skipped = true;
        } else if (OneOf(word, kSkippedDestinations)) {
          state.skipped = true;
        } else if (word == "ansicpg" && has_number) {
          document_code_page_ = static_cast<unsigned>(number);
        } else if (word == "deff" && has_number) {
          default_font_ = static_cast<int>(number);
        } else if (word == "f" && has_number) {
          if (font_table) {
            pending_font = static_cast<int>(number);
          } else {
            state.font = static_cast<int>(number);
          }
        } else if (word == "fcharset" && font_table && pending_font >= 0) {
          font_code_pages_[pending_font] = CodePageOfCharset(static_cast<int>(number));
        } else if (word == "uc" && has_number) {
          state.skip_after_unicode = static_cast<int>(number);
        } else if (word == "u" && has_number) {
          const auto unit = static_cast<char16_t>(static_cast<std::uint16_t>(number));
          Emit(state, std::u16string(1, unit), begin, i, skip_fallback, characters);
          skip_fallback = state.skip_after_unicode;
        } else if (const char16_t unit = WordCharacter(word)) {
          Emit(state, std::u16string(1, unit), begin, i, skip_fallback, characters);
        }
        continue;
      }
      ++i;
      if (!TextByte(state, static_cast<std::uint8_t>(c), begin, i, skip_fallback, characters)) {
        return std::nullopt;
      }
    }
    return characters;
  }

 private:
  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1000;
  }
  static char16_t WordCharacter(std::string_view word) {
    for (const CharacterWord& w : kCharacterWords) {
      if (w.word == word) return w.unit;
    }
    return 0;
  }

  unsigned CodePageOf(const GroupState& state) const {
    const auto found = font_code_pages_.find(state.font >= 0 ? state.font : default_font_);
    if (found != font_code_pages_.end() && found->second != 0) return found->second;
    return document_code_page_;
  }

  // A character of the text, unless it is a fallback that a \uN before it replaces.
  void Emit(const GroupState& state, std::u16string units, std::size_t begin, std::size_t end,
            int& skip_fallback, std::vector<TextCharacter>& characters) {
    if (state.skipped) return;
    if (skip_fallback > 0) {
      --skip_fallback;
      return;
    }
    characters.push_back({std::move(units), begin, end, state.skip_after_unicode});
  }

  // One byte of text in the run's code page; a lead byte waits for the byte after it.
  bool TextByte(const GroupState& state, std::uint8_t byte, std::size_t begin, std::size_t end,
                int& skip_fallback, std::vector<TextCharacter>& characters) {
    if (state.skipped) return true;
    if (skip_fallback > 0) {
      --skip_fallback;
      return true;
    }
    const unsigned code_page = CodePageOf(state);
    if (lead_) {
      const std::string bytes{static_cast<char>(*lead_), static_cast<char>(byte)};
      lead_.reset();
      characters.push_back(
          {code_pages_.Decode(code_page, bytes), lead_begin_, end, state.skip_after_unicode});
      return true;
    }
    if (byte >= 0x80 && code_pages_.IsLeadByte(code_page, byte)) {
      lead_ = byte;
      lead_begin_ = begin;
      return true;
    }
    const std::u16string units =
        byte < 0x80 ? std::u16string(1, static_cast<char16_t>(byte))
                    : code_pages_.Decode(code_page, std::string(1, static_cast<char>(byte)));
    characters.push_back({units, begin, end, state.skip_after_unicode});
    return true;
  }

  std::string_view rtf_;
  const CodePages& code_pages_;
  unsigned document_code_page_ = 1252;
  int default_font_ = 0;
  std::map<int, unsigned> font_code_pages_;
  std::optional<std::uint8_t> lead_;
  std::size_t lead_begin_ = 0;
};

}  // namespace

unsigned CodePageOfCharset(int charset) {
  switch (charset) {
    case 0: return 1252;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return 0;
  }
}

std::optional<std::string> EscapeUnfaithfulCharacters(std::string_view rtf,
                                                      std::u16string_view text,
                                                      const CodePages& code_pages) {
  const std::optional<std::vector<TextCharacter>> read = TextReader(rtf, code_pages).Read();
  if (!read) return std::nullopt;
  // Line the characters up with the text, unit by unit.
  std::vector<std::pair<const TextCharacter*, std::u16string_view>> wrong;
  std::size_t at = 0;
  for (const TextCharacter& character : *read) {
    const std::size_t n = character.units.size();
    if (at + n > text.size()) {
      // Only the closing paragraph mark may go beyond the text.
      if (at == text.size() && character.units == u"\r" && &character == &read->back()) break;
      return std::nullopt;
    }
    const std::u16string_view expected = text.substr(at, n);
    if (expected != character.units) {
      // A character may have been written wrongly, never a paragraph mark: a mark out of
      // place means the text was not read as the control reads it.
      if (expected.find(u'\r') != expected.npos || character.units.find(u'\r') != std::u16string::npos) {
        return std::nullopt;
      }
      wrong.emplace_back(&character, expected);
    }
    at += n;
  }
  if (at != text.size() || wrong.empty()) return std::nullopt;

  std::string repaired;
  repaired.reserve(rtf.size() + wrong.size() * 8);
  std::size_t copied = 0;
  for (const auto& [character, expected] : wrong) {
    repaired.append(rtf.substr(copied, character->begin - copied));
    // \uN takes a signed 16-bit number; its fallback is as many "?" as the \ucN in force
    // asks to skip (with none, a space ends the word).
    for (char16_t unit : expected) {
      repaired += "\\u" + std::to_string(static_cast<std::int16_t>(unit));
      repaired.append(static_cast<std::size_t>(std::max(character->fallback_count, 0)), '?');
      if (character->fallback_count <= 0) repaired += ' ';
    }
    copied = character->end;
  }
  repaired.append(rtf.substr(copied));
  return repaired;
}

}  // namespace pelmora
