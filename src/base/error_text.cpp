#include "base/error_text.h"

#include "base/sjis.h"

namespace pelmora {

std::string ErrorDisplayText(std::string_view message) {
  std::string text(message);
  if (message.empty()) return text;
  std::string_view last = message.substr(LastCharStart(message));
  // string_view compares bytes as unsigned char, so a lead byte 0x81.. sorts above ".".
  if (last > std::string_view(".")) text += '.';
  return text;
}

}  // namespace pelmora
