// Loads any bytes as a text file the way the rich-text view does: the converter chosen by
// a file name, the line-break reader fed in requests of random sizes from a stream that
// gives short reads. The result must equal the whole-text conversion, whatever the sizes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/stream.h"
#include "richtext/conversion.h"
#include "richtext/line_break_oracle.h"
#include "richtext/line_break_reader.h"

namespace {

// A small generator for request and read sizes, seeded from the input.
class Sizes {
 public:
  explicit Sizes(std::uint32_t seed) : state_(seed | 1) {}
  std::size_t Next(std::size_t limit) {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ % limit;
  }

 private:
  std::uint32_t state_;
};

// A file stream that gives at most a few bytes per read, as a slow device may.
class TrickleStream final : public pelmora::TStream {
 public:
  TrickleStream(const std::uint8_t* data, std::size_t size, Sizes& sizes)
      : inner_(data, size), sizes_(sizes) {}
  std::size_t Read(void* buffer, std::size_t count) override {
    return inner_.Read(buffer, std::min(count, sizes_.Next(7) + 1));
  }
  std::size_t Write(const void*, std::size_t) override { return 0; }
  std::int64_t Seek(std::int64_t offset, pelmora::SeekOrigin origin) override {
    return inner_.Seek(offset, origin);
  }
  std::int64_t Size() override { return inner_.Size(); }

 private:
  pelmora::TSpanStream inner_;
  Sizes& sizes_;
};

}  // namespace

// Input: one byte n, then n bytes of file name (n < 32), four bytes of seed, then the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pelmora;
  if (size < 1) return 0;
  const std::size_t name_length = data[0] % 32;
  if (size < 1 + name_length + 4) return 0;
  const std::string_view name(reinterpret_cast<const char*>(data + 1), name_length);
  const std::uint8_t* seed_bytes = data + 1 + name_length;
  const std::uint32_t seed = std::uint32_t{seed_bytes[0]} | std::uint32_t{seed_bytes[1]} << 8 |
                             std::uint32_t{seed_bytes[2]} << 16 |
                             std::uint32_t{seed_bytes[3]} << 24;
  const std::uint8_t* file = seed_bytes + 4;
  const std::size_t file_size = size - (file - data);

  // The choice must be one of the table's entries or none, and always give a converter.
  const TConversionFormat* format = FindConversionFormat(name);
  if (format != nullptr && format->extension != "txt" && format->extension != "rtf") {
    __builtin_trap();
  }
  std::unique_ptr<TConversion> conversion = CreateConversion(name);
  if (conversion == nullptr) __builtin_trap();

  Sizes sizes(seed);
  TrickleStream stream(file, file_size, sizes);
  TLineBreakReader reader;
  std::string result;
  std::vector<std::uint8_t> request;
  for (;;) {
    const std::size_t n = sizes.Next(64) + 1;
    request.assign(n + 1, 0xEE);  // one guard byte past the request
    const std::size_t got = reader.Read(*conversion, stream, request.data(), n);
    if (got > n || request[n] != 0xEE) __builtin_trap();
    if (got == 0) break;
    result.append(reinterpret_cast<const char*>(request.data()), got);
    if (result.size() > 2 * file_size + 1) __builtin_trap();  // no byte more than doubles
  }
  const std::string expected =
      test::ConvertLineBreaks(std::string_view(reinterpret_cast<const char*>(file), file_size));
  if (result != expected) __builtin_trap();
  return 0;
}
