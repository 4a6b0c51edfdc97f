#pragma once
// Encodes pixels with libjpeg alone, none of the program's code between: files the
// program never writes for the JPEG tests, and the bare-library side of the benchmark.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace pelmora::jpeg_test {

struct DirectOptions {
  J_COLOR_SPACE in_space = JCS_EXT_BGR;
  int components = 3;
  J_COLOR_SPACE file_space = JCS_UNKNOWN;  // JCS_UNKNOWN: libjpeg's choice for in_space
  bool adobe_marker = true;                // four-component files only
  bool progressive = false;
  bool full_chroma = false;  // every component sampled 1x1
  int quality = 0;           // 0: libjpeg's default; else baseline tables forced
  bool float_dct = false;
};

// Encodes rows of width x components bytes, top first. The pixels must be valid: the
// default error exit, which ends the process, never runs here.
inline std::vector<std::uint8_t> EncodeDirect(const std::uint8_t* pixels, int width, int height,
                                              const DirectOptions& o) {
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
  if (o.float_dct) c.dct_method = JDCT_FLOAT;
  if (o.quality != 0) jpeg_set_quality(&c, o.quality, TRUE);
  if (o.file_space != JCS_UNKNOWN) jpeg_set_colorspace(&c, o.file_space);
  if (o.components == 4) c.write_Adobe_marker = o.adobe_marker;
  for (int i = 0; o.full_chroma && i < c.num_components; ++i) {
    c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
  }
  if (o.progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  const std::size_t row_bytes = static_cast<std::size_t>(width) * o.components;
  while (c.next_scanline < c.image_height) {
    auto* row = const_cast<JSAMPROW>(pixels + std::size_t{c.next_scanline} * row_bytes);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

}  // namespace pelmora::jpeg_test
