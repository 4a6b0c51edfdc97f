#pragma once
// RTF from the rich-edit control, made to carry every character of its text exactly.
#include <string>
#include <string_view>

namespace pelmora::win {

// rtf as the control wrote it, with each character it wrote by a nearest fit rewritten as
// \uN; text is what the control holds for it, paragraphs ended by a lone CR.
std::string FaithfulRtf(std::string rtf, std::wstring_view text);

}  // namespace pelmora::win
