#include "support/win/png.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include <zlib.h>

#include "support/file_bytes.h"

namespace pelmora::test {
namespace {

void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[4],
              const std::vector<std::uint8_t>& data) {
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const auto crc = ::crc32_z(::crc32_z(0, nullptr, 0), out.data() + start, out.size() - start);
  PutBig32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

std::string EncodePng(int width, int height, int channels, const std::vector<std::uint8_t>& pixels) {
  const std::size_t row = static_cast<std::size_t>(width) * channels;
  // The image data: each row behind a filter byte 0.
  std::vector<std::uint8_t> raw;
  raw.reserve((row + 1) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), pixels.begin() + static_cast<std::ptrdiff_t>(row * y),
               pixels.begin() + static_cast<std::ptrdiff_t>(row * (y + 1)));
  }
  // A zlib stream of stored blocks of at most 65535 bytes.
  std::vector<std::uint8_t> zlib{0x78, 0x01};
  std::size_t at = 0;
  do {
    const std::size_t n = std::min<std::size_t>(raw.size() - at, 65535);
    const bool last = at + n == raw.size();
    zlib.push_back(last ? 1 : 0);
    zlib.push_back(static_cast<std::uint8_t>(n));
    zlib.push_back(static_cast<std::uint8_t>(n >> 8));
    zlib.push_back(static_cast<std::uint8_t>(~n));
    zlib.push_back(static_cast<std::uint8_t>(~n >> 8));
    zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                raw.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
  } while (at < raw.size());
  PutBig32(zlib, static_cast<std::uint32_t>(
                     ::adler32_z(::adler32_z(0, nullptr, 0), raw.data(), raw.size())));

  std::vector<std::uint8_t> header;
  PutBig32(header, static_cast<std::uint32_t>(width));
  PutBig32(header, static_cast<std::uint32_t>(height));
  // 8 bits, RGB or RGBA, deflate, no filter choice, no interlace.
  header.insert(header.end(), {8, static_cast<std::uint8_t>(channels == 4 ? 6 : 2), 0, 0, 0});

  std::vector<std::uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", zlib);
  PutChunk(file, "IEND", {});
  return std::string(file.begin(), file.end());
}

bool WritePng(const std::filesystem::path& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
  if (width <= 0 || height <= 0) return false;
  if (rgb.size() < static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(height)) return false;
  try {
    WriteBytes(path, EncodePng(width, height, 3, rgb));
  } catch (const std::runtime_error&) {
    return false;
  }
  return true;
}

}  // namespace pelmora::test
