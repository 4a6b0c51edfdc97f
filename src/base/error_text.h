#pragma once
#include <string>
#include <string_view>

namespace pelmora {

// The text the default error display shows for an error's message: the message with "."
// appended when it is not empty and its last character (both bytes of a double-byte one)
// compares greater than "." byte by byte. Every Japanese message thus gets an ASCII full
// stop, while "Done." or "(x)" stay as they are.
std::string ErrorDisplayText(std::string_view message);

}  // namespace pelmora
