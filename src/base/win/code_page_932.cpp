// Code page 932 through the system's converter. Without MB_ERR_INVALID_CHARS the system
// gives U+30FB, which is also a real character (0x81 0x45), for a lead byte alone and for an
// unassigned code, takes the byte after a lead byte into the character whatever it is (so
// 0x81 then a line feed loses the line feed), and maps 0xA0 and 0xFD-0xFF into the private
// use area. So each piece is converted with the flag, and a piece the system refuses is
// halved at a character boundary until the characters it cannot read stand alone; each of
// them becomes U+FFFD. Ordinary text takes one call per piece.
#include <windows.h>

#include <climits>

#include "base/code_page_932.h"

namespace pelmora {

namespace {

constexpr UINT kCodePage = 932;
// Pieces stay well within the int counts the system takes.
constexpr std::size_t kPieceLimit = std::size_t{1} << 30;

std::size_t DecodeChecked(std::span<const std::uint8_t> bytes, char16_t* out) {
  if (bytes.empty()) return 0;
  const int size = static_cast<int>(bytes.size());
  const int written = ::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS,
                                            reinterpret_cast<const char*>(bytes.data()), size,
                                            reinterpret_cast<wchar_t*>(out), size);
  if (written > 0) return static_cast<std::size_t>(written);
  const std::size_t half = bytes.size() == 1 ? 1 : CodePage932PieceSize(bytes, bytes.size() / 2);
  if (half == bytes.size()) {  // one character
    out[0] = 0xFFFD;
    return 1;
  }
  const std::size_t first = DecodeChecked(bytes.first(half), out);
  return first + DecodeChecked(bytes.subspan(half), out + first);
}

}  // namespace

std::size_t DecodeCodePage932(std::span<const std::uint8_t> bytes, char16_t* out) {
  std::size_t written = 0;
  while (!bytes.empty()) {
    const std::size_t piece = CodePage932PieceSize(bytes, kPieceLimit);
    written += DecodeChecked(bytes.first(piece), out + written);
    bytes = bytes.subspan(piece);
  }
  return written;
}

}  // namespace pelmora
