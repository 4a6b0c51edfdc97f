#pragma once
// Builds PNG files chunk by chunk, so that tests can state sizes, contents and damage
// exactly.
#include <cstdint>
#include <string>
#include <vector>

#include <zlib.h>

namespace pelmora::test {

class PngBuilder {
 public:
  PngBuilder() : bytes_{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'} {}

  PngBuilder& Chunk(const char (&type)[5], const std::vector<std::uint8_t>& data) {
    Put32(static_cast<std::uint32_t>(data.size()));
    const std::size_t start = bytes_.size();
    bytes_.insert(bytes_.end(), type, type + 4);
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    Put32(static_cast<std::uint32_t>(
        crc32(0, bytes_.data() + start, static_cast<uInt>(bytes_.size() - start))));
    return *this;
  }
  // An 8-bit header of the colour type (2 RGB, 6 RGBA).
  PngBuilder& Header(std::uint32_t width, std::uint32_t height, std::uint8_t colour_type) {
    std::vector<std::uint8_t> d;
    Big32(d, width);
    Big32(d, height);
    d.insert(d.end(), {8, colour_type, 0, 0, 0});
    return Chunk("IHDR", d);
  }
  // Deflates the data into one chunk of the type (IDAT, or the text of a zTXt).
  static std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<std::uint8_t> out(size);
    compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9);
    out.resize(size);
    return out;
  }
  PngBuilder& End() { return Chunk("IEND", {}); }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  static void Big32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  void Put32(std::uint32_t v) { Big32(bytes_, v); }
  std::vector<std::uint8_t> bytes_;
};

}  // namespace pelmora::test
