#pragma once
// Helpers of the JPEG tests: test files, a synthetic picture, and files the program never
// writes (CMYK, YCCK, 4:4:4, many scans) made with libjpeg directly (jpeg_direct.h).
#include <gtest/gtest.h>

#include "support/test_paths.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/format.h"
#include "base/strings.h"
#include "picture/jpeg_direct.h"

namespace pelmora::jpeg_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadTestFile(const std::string& name) {
  std::ifstream in(test::DataPath("jpeg") / name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Gradients with a hard edge: blue, green, red per pixel, rows top first.
inline Bytes MakeBgrPicture(int width, int height) {
  Bytes pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels.push_back(static_cast<std::uint8_t>(255 * y / std::max(height - 1, 1)));
      pixels.push_back(x < width / 2 ? 40 : 200);
      pixels.push_back(static_cast<std::uint8_t>(255 * x / std::max(width - 1, 1)));
    }
  }
  return pixels;
}

inline double MeanDifference(const Bytes& a, const Bytes& b) {
  if (a.size() != b.size() || a.empty()) return 1e9;
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i) sum += std::abs(a[i] - b[i]);
  return sum / static_cast<double>(a.size());
}

// The offset of a marker segment before the first scan, or npos.
inline std::size_t FindMarker(const Bytes& file, std::uint8_t code) {
  for (std::size_t i = 2; i + 4 <= file.size() && file[i] == 0xFF && file[i + 1] != 0xDA;
       i += 2 + (file[i + 2] << 8 | file[i + 3])) {
    if (file[i + 1] == code) return i;
  }
  return std::string::npos;
}

inline void PatchFrameSize(Bytes& file, std::uint16_t width, std::uint16_t height) {
  for (std::uint8_t sof : {0xC0, 0xC2}) {
    const std::size_t at = FindMarker(file, sof);
    if (at == std::string::npos) continue;
    const std::uint8_t size[4] = {std::uint8_t(height >> 8), std::uint8_t(height),
                                  std::uint8_t(width >> 8), std::uint8_t(width)};
    std::copy(size, size + 4, file.begin() + static_cast<long>(at + 5));
  }
}

inline Bytes EncodeDirect(const Bytes& pixels, int width, int height, const DirectOptions& o) {
  return EncodeDirect(pixels.data(), width, height, o);
}

// Repeats a progressive file's last scan until the file has `scans` scans.
inline Bytes WithRepeatedLastScan(const Bytes& file, int scans) {
  std::size_t last = 0;
  int count = 0;
  for (std::size_t i = 0; i + 1 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xDA) last = i, ++count;
  }
  const auto scan = file.begin() + static_cast<long>(last), end = file.end() - 2;
  Bytes out(file.begin(), end);
  for (; count < scans; ++count) out.insert(out.end(), scan, end);
  out.insert(out.end(), {0xFF, 0xD9});
  return out;
}

// Runs fn and returns the code of the EJPEG it raises, -1 when it raises none.
inline int JpegErrorCode(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const EJPEG& e) {
    for (int code = 0; code < 1000; ++code) {
      if (e.Message() == Format(strings::kJpegError, {std::int64_t{code}})) return code;
    }
    ADD_FAILURE() << "not a JPEG error message";
  }
  return -1;
}

// Whether fn fails as a picture too large for memory (not as a broken file).
inline bool RefusedAsTooLarge(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const EOutOfResources& e) {
    return e.Message() == strings::kPictureTooLarge;
  }
  return false;
}

}  // namespace pelmora::jpeg_test
