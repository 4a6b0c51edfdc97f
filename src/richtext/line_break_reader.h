#pragma once
// Line-break conversion for loading a file into the rich-edit control: a line feed alone
// and a carriage return alone each become carriage return + line feed; a carriage return +
// line feed pair stays one pair.
//
// The control asks for the file in requests of up to n bytes. Each request reads at most
// n div 2 bytes of the file, since every byte grows to at most two. The reader keeps its
// state between requests, so the result never depends on where a request boundary falls:
// a carriage return at the end of one request is given at once as a line break, and a line
// feed that starts the next request is recognised as the rest of that pair and skipped.
// A lone carriage return is therefore never lost, and a pair never counts twice.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/stream.h"
#include "richtext/conversion.h"

namespace pelmora {

class TLineBreakReader {
 public:
  // Fills out, which has room for n bytes, with the next converted bytes of stream read
  // through conversion. Returns how many bytes it gave; 0 only at the end of the file (or
  // when n is 0). Errors of the stream or the converter pass to the caller.
  std::size_t Read(TConversion& conversion, TStream& stream, std::uint8_t* out, std::size_t n);

  // Forgets what earlier requests left behind, to read a file again from its start.
  void Reset();

 private:
  // The last byte of the file read so far was a carriage return, already given as a line
  // break; a line feed next completes that pair and gives nothing.
  bool after_carriage_return_ = false;
  // A line break's line feed that did not fit into a one-byte request; it comes first in
  // the next one.
  bool line_feed_due_ = false;
  std::vector<std::uint8_t> work_;
};

}  // namespace pelmora
