#pragma once
// The whole of a file as the graphic kinds that keep it read it.
#include <cstdint>
#include <vector>

#include "base/stream.h"

namespace pelmora {

// Every byte from the stream's position to its end. A file larger than memory allows
// raises EOutOfResources "the picture is too large"; a short read EReadError.
std::vector<std::uint8_t> ReadRemainingBytes(TStream& stream);

}  // namespace pelmora
