#include "picture/stream_bytes.h"

#include <algorithm>
#include <new>

#include "base/errors.h"
#include "base/strings.h"

namespace pelmora {

std::vector<std::uint8_t> ReadRemainingBytes(TStream& stream) {
  const std::int64_t count = std::max<std::int64_t>(stream.Remaining(), 0);
  std::vector<std::uint8_t> bytes;
  try {
    bytes.resize(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    throw EOutOfResources(strings::kPictureTooLarge);
  }
  stream.ReadBuffer(bytes.data(), bytes.size());
  return bytes;
}

}  // namespace pelmora
