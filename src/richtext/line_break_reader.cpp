#include "richtext/line_break_reader.h"

#include <algorithm>

namespace pelmora {

namespace {

constexpr std::uint8_t kCarriageReturn = 13;
constexpr std::uint8_t kLineFeed = 10;

}  // namespace

void TLineBreakReader::Reset() {
  after_carriage_return_ = false;
  line_feed_due_ = false;
}

std::size_t TLineBreakReader::Read(TConversion& conversion, TStream& stream, std::uint8_t* out,
                                   std::size_t n) {
  if (n == 0) return 0;
  std::size_t produced = 0;
  if (line_feed_due_) {
    out[produced++] = kLineFeed;
    line_feed_due_ = false;
  }
  // A read that gives only the line feed of a pair already given produces nothing; read
  // again then, since an empty answer would end the file for the control. That happens at
  // most once in a row.
  while (produced < n) {
    const std::size_t room = n - produced;
    // Half the room, so that every byte may double. A one-byte request still reads one
    // byte; a line break's second byte then waits for the next request.
    const std::size_t h = std::max<std::size_t>(room / 2, 1);
    work_.resize(h);
    const std::size_t k = std::min(conversion.ConvertReadStream(stream, work_.data(), h), h);
    if (k == 0) break;

    std::uint8_t* const block = out + produced;
    std::size_t written = 0;
    auto put = [&](std::uint8_t byte) {
      if (written < room) {
        block[written++] = byte;
      } else {
        line_feed_due_ = true;  // only a line break's line feed can be left over
      }
    };
    for (std::size_t i = 0; i < k; ++i) {
      const std::uint8_t byte = work_[i];
      const bool pair_rest = after_carriage_return_ && byte == kLineFeed;
      after_carriage_return_ = byte == kCarriageReturn;
      if (pair_rest) continue;
      if (byte == kCarriageReturn || byte == kLineFeed) {
        put(kCarriageReturn);
        put(kLineFeed);
      } else {
        put(byte);
      }
    }
    produced += written;
    if (produced > 0) break;
  }
  return produced;
}

}  // namespace pelmora
