#pragma once
// Helpers of the JPEG tests: test files, a synthetic picture, and files the program never
// writes (CMYK, YCCK, 4:4:4, many scans) made with libjpeg directly.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "base/errors.h"
#include "base/format.h"
#include "base/strings.h"

namespace pelmora::jpeg_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadTestFile(const std::string& name) {
  std::ifstream in(std::string(PELMORA_TEST_DATA) + "/jpeg/" + name, std::ios::binary);
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

struct DirectOptions {
  J_COLOR_SPACE in_space = JCS_EXT_BGR;
  int components = 3;
  J_COLOR_SPACE file_space = JCS_UNKNOWN;  // JCS_UNKNOWN: libjpeg's choice for in_space
  bool adobe_marker = true;                // four-component files only
  bool progressive = false;
  bool full_chroma = false;  // every component sampled 1x1
};

// Encodes valid pixels with libjpeg directly (its default error exit never runs here).
inline Bytes EncodeDirect(const Bytes& pixels, int width, int height, const DirectOptions& o) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = width;
  c.image_height = height;
  c.input_components = o.components;
  c.in_color_space = o.in_space;
  jpeg_set_defaults(&c);
  if (o.file_space != JCS_UNKNOWN) jpeg_set_colorspace(&c, o.file_space);
  if (o.components == 4) c.write_Adobe_marker = o.adobe_marker;
  for (int i = 0; o.full_chroma && i < c.num_components; ++i) {
    c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
  }
  if (o.progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    auto* row = const_cast<JSAMPROW>(&pixels[std::size_t{c.next_scanline} * width * o.components]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
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
