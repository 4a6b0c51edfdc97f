#pragma once
// The system's own text for an error code, and the errors built from it.
#include <cstdint>
#include <string>

namespace pelmora::win {

// The system's message for an error code in the user's default language, as Shift-JIS,
// at most 256 bytes (cut before a double-byte character rather than through it), without
// the line break the system appends. Empty when the system has no text for the code.
std::string SystemErrorText(std::uint32_t code);

// EOSError for GetLastError() and its text.
[[noreturn]] void RaiseLastOSError();
// A platform call gave no object: EOutOfResources with the system's text for the last
// error code, or the string table's "out of resources" message when there is none.
[[noreturn]] void RaiseOutOfResources();

}  // namespace pelmora::win
