#pragma once
// Helpers of the JPEG tests: test files, synthetic pictures, and files that the program
// never writes (CMYK, YCCK, progressive with a custom script) made with libjpeg directly.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace pelmora::jpeg_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadTestFile(const std::string& name) {
  std::ifstream in(std::string(PELMORA_TEST_DATA) + "/jpeg/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A smooth picture with a hard edge: blue, green, red per pixel, rows top first.
inline Bytes MakeBgrPicture(int width, int height) {
  Bytes pixels(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
      p[0] = static_cast<std::uint8_t>(255 * y / (height > 1 ? height - 1 : 1));
      p[1] = static_cast<std::uint8_t>(x < width / 2 ? 40 : 200);
      p[2] = static_cast<std::uint8_t>(255 * x / (width > 1 ? width - 1 : 1));
    }
  }
  return pixels;
}

inline int MaxDifference(const Bytes& a, const Bytes& b) {
  if (a.size() != b.size()) return 1 << 20;
  int worst = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const int d = a[i] > b[i] ? a[i] - b[i] : b[i] - a[i];
    if (d > worst) worst = d;
  }
  return worst;
}

inline double MeanDifference(const Bytes& a, const Bytes& b) {
  if (a.size() != b.size() || a.empty()) return 1e9;
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i) sum += a[i] > b[i] ? a[i] - b[i] : b[i] - a[i];
  return sum / static_cast<double>(a.size());
}

// Finds a marker segment (FF code) before the first scan; returns its offset or npos.
inline std::size_t FindMarker(const Bytes& file, std::uint8_t code) {
  std::size_t i = 2;
  while (i + 4 <= file.size() && file[i] == 0xFF) {
    if (file[i + 1] == code) return i;
    if (file[i + 1] == 0xDA) break;
    i += 2 + (file[i + 2] << 8 | file[i + 3]);
  }
  return std::string::npos;
}

// Writes new dimensions into the file's frame header.
inline void PatchFrameSize(Bytes& file, std::uint16_t width, std::uint16_t height) {
  for (std::uint8_t sof : {0xC0, 0xC1, 0xC2, 0xC9, 0xCA}) {
    const std::size_t at = FindMarker(file, sof);
    if (at == std::string::npos) continue;
    file[at + 5] = height >> 8;
    file[at + 6] = height & 0xFF;
    file[at + 7] = width >> 8;
    file[at + 8] = width & 0xFF;
    return;
  }
}

struct DirectOptions {
  J_COLOR_SPACE in_space = JCS_EXT_BGR;
  int components = 3;
  J_COLOR_SPACE file_space = JCS_UNKNOWN;  // JCS_UNKNOWN: libjpeg's default for in_space
  bool adobe_marker = true;                // for four-component files
  bool progressive = false;
  bool full_chroma = false;  // 1x1 sampling for every component
  int quality = 90;
};

inline void AppendTo(Bytes& out, unsigned char* buffer, unsigned long size) {
  out.insert(out.end(), buffer, buffer + size);
  std::free(buffer);
}

// Encodes pixels (rows top first, components per pixel as in_space says) with libjpeg
// directly. The pictures here are valid, so libjpeg's default error exit never runs.
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
  jpeg_set_quality(&c, o.quality, TRUE);
  if (o.file_space != JCS_UNKNOWN) jpeg_set_colorspace(&c, o.file_space);
  if (o.components == 4) c.write_Adobe_marker = o.adobe_marker ? TRUE : FALSE;
  if (o.full_chroma) {
    for (int i = 0; i < c.num_components; ++i) {
      c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    }
  }
  if (o.progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(
        &pixels[static_cast<std::size_t>(c.next_scanline) * width * o.components]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes out;
  AppendTo(out, buffer, size);
  return out;
}

// Repeats a progressive file's last scan until the file has `scans` scans.
inline Bytes WithRepeatedLastScan(const Bytes& file, int scans) {
  std::size_t last = 0;
  int count = 0;
  for (std::size_t i = 0; i + 1 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xDA) {
      last = i;
      ++count;
    }
  }
  const std::size_t end = file.size() - 2;  // the end marker
  Bytes out(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(end));
  for (; count < scans; ++count) {
    out.insert(out.end(), file.begin() + static_cast<std::ptrdiff_t>(last),
               file.begin() + static_cast<std::ptrdiff_t>(end));
  }
  out.push_back(0xFF);
  out.push_back(0xD9);
  return out;
}

}  // namespace pelmora::jpeg_test
