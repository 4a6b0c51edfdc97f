#include "base/code_page_932.h"

#include "base/sjis.h"

namespace pelmora {

namespace {

// How far back from a piece's end to look for a byte below 0x40 before walking instead;
// ordinary text has one every line or sooner.
constexpr std::size_t kBoundarySearch = 4096;

}  // namespace

std::size_t CodePage932PieceSize(std::span<const std::uint8_t> bytes, std::size_t limit) {
  if (bytes.size() <= limit) return bytes.size();
  const std::size_t stop = limit > kBoundarySearch ? limit - kBoundarySearch : 0;
  for (std::size_t end = limit; end > stop; --end) {
    if (bytes[end - 1] < 0x40) return end;
  }
  std::size_t start = 0;
  std::size_t end = 0;
  while (end < limit) {
    start = end;
    end += IsLeadByte(bytes[end]) && end + 1 < bytes.size() && IsSecondByte(bytes[end + 1]) ? 2 : 1;
  }
  return end == limit || start == 0 ? end : start;
}

}  // namespace pelmora
