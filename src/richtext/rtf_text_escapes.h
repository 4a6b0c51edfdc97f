#pragma once
// Makes the RTF that the rich-edit control writes carry every character of the text exactly.
// The control writes a character that its run's code page lacks as \uN with a fallback, but
// some controls (Wine's) write the code page's nearest character instead: "é" in a Japanese
// run as a plain "e", "¥" as a backslash. Such characters are found by reading the RTF's text
// back, character by character, beside the text the control holds, and are written anew as
// \uN with "?" as the fallback. Everything else of the RTF stays byte for byte.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelmora {

// The code pages an RTF's text bytes are read in, as the platform knows them.
class CodePages {
 public:
  virtual ~CodePages() = default;
  // Whether the byte starts a double-byte character in the code page.
  virtual bool IsLeadByte(unsigned code_page, std::uint8_t byte) const = 0;
  // The UTF-16 of one character's bytes in the code page.
  virtual std::u16string Decode(unsigned code_page, std::string_view bytes) const = 0;
};

// The code page of an RTF font's \fcharset; 0 for one that means the document's own.
unsigned CodePageOfCharset(int charset);

// The RTF with each character that does not read back as the text's character at its place
// rewritten as \uN. text is what the control holds for the RTF's content, paragraphs ended by
// a lone CR (the RTF may end with one more \par, the closing paragraph mark). Returns nothing
// when the RTF needs no change, and also when its text cannot be matched to the text
// character for character (fields, tables, objects): then the control's own RTF stands.
std::optional<std::string> EscapeUnfaithfulCharacters(std::string_view rtf,
                                                      std::u16string_view text,
                                                      const CodePages& code_pages);

}  // namespace pelmora
