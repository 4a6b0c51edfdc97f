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
    while (at_ < rtf_.size() && matchable_) {
      const char c = rtf_[at_];
      if (c == '{') {
        groups_.push_back(groups_.back());
        ++at_;
      } else if (c == '}') {
        // The document's own group closes: what may follow (a 0 byte) is not part of it.
        if (groups_.size() <= 2) break;
        CloseGroup();
      } else if (c == '\\') {
        Escaped();
      } else {
        ++at_;
        if (c != '\r' && c != '\n') TextByte(static_cast<std::uint8_t>(c), at_ - 1);
      }
    }
    if (!matchable_) return std::nullopt;
    return std::move(characters_);
  }

 private:
  GroupState& State() { return groups_.back(); }

  void CloseGroup() {
    groups_.pop_back();
    if (font_table_depth_ > static_cast<int>(groups_.size())) font_table_depth_ = 0;
    skip_fallback_ = 0;
    ++at_;
  }

  // What follows a backslash: a byte in hex, a control symbol or a control word.
  void Escaped() {
    const std::size_t begin = at_;
    if (at_ + 1 >= rtf_.size()) {
      matchable_ = false;
      return;
    }
    const char next = rtf_[at_ + 1];
    if (next == '\'') {
      const int byte = at_ + 3 < rtf_.size() ? Hex(rtf_[at_ + 2]) * 16 + Hex(rtf_[at_ + 3]) : -1;
      if (byte < 0) {
        matchable_ = false;
        return;
      }
      at_ += 4;
      TextByte(static_cast<std::uint8_t>(byte), begin);
    } else if (IsLetter(next)) {
      ControlWord(begin);
    } else {
      at_ += 2;
      if (next == '\\' || next == '{' || next == '}') {
        TextByte(static_cast<std::uint8_t>(next), begin);
      } else if (next == '*') {
        State().skipped = true;
      } else if (next == '\r' || next == '\n') {
        Emit(u'\r', begin);
      } else if (const char16_t unit = WordCharacter(std::string_view(&rtf_[at_ - 1], 1))) {
        Emit(unit, begin);
      }
    }
  }

  // A control word: letters, an optional signed number, an optional space.
  void ControlWord(std::size_t begin) {
    std::size_t j = at_ + 1;
    while (j < rtf_.size() && IsLetter(rtf_[j])) ++j;
    const std::string_view word = rtf_.substr(at_ + 1, j - at_ - 1);
    const std::size_t number_at = j;
    if (j < rtf_.size() && rtf_[j] == '-') ++j;
    while (j < rtf_.size() && rtf_[j] >= '0' && rtf_[j] <= '9') ++j;
    long number = 0;
    const bool has_number =
        std::from_chars(rtf_.data() + number_at, rtf_.data() + j, number).ec == std::errc{};
    if (j < rtf_.size() && rtf_[j] == ' ') ++j;
    at_ = j;
    if (OneOf(word, kUnmatchable) && !State().skipped) {
      matchable_ = false;
    } else if (has_number && NumberedWord(word, static_cast<int>(number), begin)) {
      // a font, a code page or a Unicode character
    } else if (word == "fonttbl") {
      font_table_depth_ = static_cast<int>(groups_.size());
      State().skipped = true;
    } else if (OneOf(word, kSkippedDestinations)) {
      State().skipped = true;
    } else if (const char16_t unit = WordCharacter(word)) {
      Emit(unit, begin);
    }
  }

  // The control words with a number that the reading needs; false for any other.
  bool NumberedWord(std::string_view word, int number, std::size_t begin) {
    if (word == "ansicpg") {
      document_code_page_ = static_cast<unsigned>(number);
    } else if (word == "deff") {
      default_font_ = number;
    } else if (word == "f" && font_table_depth_ > 0) {
      font_being_described_ = number;
    } else if (word == "f") {
      State().font = number;
    } else if (word == "fcharset" && font_table_depth_ > 0 && font_being_described_ >= 0) {
      font_code_pages_[font_being_described_] = CodePageOfCharset(number);
    } else if (word == "uc") {
      State().skip_after_unicode = number;
    } else if (word == "u") {
      Emit(static_cast<char16_t>(static_cast<std::uint16_t>(number)), begin);
      skip_fallback_ = State().skip_after_unicode;
    } else {
      return false;
    }
    return true;
  }

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
  void Emit(char16_t unit, std::size_t begin) {
    if (State().skipped) return;
    if (skip_fallback_ > 0) {
      --skip_fallback_;
      return;
    }
    characters_.push_back({std::u16string(1, unit), begin, at_, State().skip_after_unicode});
  }

  // One byte of text in the run's code page; a lead byte waits for the byte after it.
  void TextByte(std::uint8_t byte, std::size_t begin) {
    if (State().skipped) return;
    if (skip_fallback_ > 0) {
      --skip_fallback_;
      return;
    }
    const unsigned code_page = CodePageOf(State());
    std::string bytes(1, static_cast<char>(byte));
    if (lead_) {
      bytes.insert(bytes.begin(), static_cast<char>(*lead_));
      begin = lead_begin_;
      lead_.reset();
    } else if (byte >= 0x80 && code_pages_.IsLeadByte(code_page, byte)) {
      lead_ = byte;
      lead_begin_ = begin;
      return;
    }
    const std::u16string units = bytes.size() == 1 && byte < 0x80
                                     ? std::u16string(1, static_cast<char16_t>(byte))
                                     : code_pages_.Decode(code_page, bytes);
    characters_.push_back({units, begin, at_, State().skip_after_unicode});
  }

  std::string_view rtf_;
  const CodePages& code_pages_;
  std::size_t at_ = 0;
  bool matchable_ = true;
  std::vector<GroupState> groups_{GroupState{}};
  std::vector<TextCharacter> characters_;
  int skip_fallback_ = 0;        // characters still to skip after \uN
  int font_table_depth_ = 0;     // the group depth of the font table while inside it
  int font_being_described_ = -1;
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
