#include "base/stream.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>

#include "base/errors.h"
#include "base/strings.h"

namespace pelmora {

std::int64_t TStream::Size() {
  std::int64_t here = Position();
  std::int64_t end = Seek(0, SeekOrigin::End);
  Seek(here, SeekOrigin::Begin);
  return end;
}

void TStream::ReadBuffer(void* buffer, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (count > 0) {
    std::size_t got = Read(out, count);
    if (got == 0) throw EReadError(strings::kReadError);
    out += got;
    count -= got;
  }
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  while (count > 0) {
    std::size_t put = Write(in, count);
    if (put == 0) throw EWriteError(strings::kWriteError);
    in += put;
    count -= put;
  }
}

void TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count <= 0) return;
  std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 20)));
  while (count > 0) {
    auto n = static_cast<std::size_t>(
        std::min<std::int64_t>(count, static_cast<std::int64_t>(block.size())));
    source.ReadBuffer(block.data(), n);
    WriteBuffer(block.data(), n);
    count -= static_cast<std::int64_t>(n);
  }
}

namespace {

// Resolves a seek against a stream of the given size; positions stay within 0..size for
// reading streams but may pass the end of a memory stream (a later write fills the gap).
std::int64_t Resolve(std::int64_t offset, SeekOrigin origin, std::int64_t position,
                     std::int64_t size) {
  std::int64_t base = origin == SeekOrigin::Begin     ? 0
                      : origin == SeekOrigin::Current ? position
                                                      : size;
  // Saturate instead of overflowing: a far seek lands at the largest position, where a
  // later write fails cleanly.
  constexpr std::int64_t kFarthest = std::numeric_limits<std::int64_t>::max();
  if (offset > 0 && base > kFarthest - offset) return kFarthest;
  std::int64_t target = base + offset;
  return target < 0 ? 0 : target;
}

}  // namespace

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  if (position_ >= bytes_.size()) return 0;
  std::size_t n = std::min(count, bytes_.size() - position_);
  std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return 0;
  // A buffer that cannot grow writes nothing, which WriteBuffer reports as EWriteError.
  if (count > bytes_.max_size() || position_ > bytes_.max_size() - count) return 0;
  if (position_ + count > bytes_.size()) {
    try {
      if (bytes_.capacity() < position_ + count) {
        bytes_.reserve(std::max(position_ + count, bytes_.capacity() * 2));
      }
      bytes_.resize(position_ + count);
    } catch (const std::exception&) {
      return 0;
    }
  }
  std::memcpy(bytes_.data() + position_, buffer, count);
  position_ += count;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
  position_ = static_cast<std::size_t>(Resolve(offset, origin, static_cast<std::int64_t>(position_),
                                               static_cast<std::int64_t>(bytes_.size())));
  return static_cast<std::int64_t>(position_);
}

std::size_t TSpanStream::Read(void* buffer, std::size_t count) {
  if (position_ >= size_) return 0;
  std::size_t n = std::min(count, size_ - position_);
  std::memcpy(buffer, data_ + position_, n);
  position_ += n;
  return n;
}

std::int64_t TSpanStream::Seek(std::int64_t offset, SeekOrigin origin) {
  position_ = static_cast<std::size_t>(
      std::min<std::int64_t>(Resolve(offset, origin, static_cast<std::int64_t>(position_),
                                     static_cast<std::int64_t>(size_)),
                             static_cast<std::int64_t>(size_)));
  return static_cast<std::int64_t>(position_);
}

}  // namespace pelmora
