#pragma once
// Decodes a PNG file with libpng alone, none of the program's code between: the reference
// the program's decoder is checked against, pixel for pixel. The transforms are those the
// program's decoding stands for: palettes and low bit depths expanded, 16 bits cut to 8 (the
// high byte), gray made colour, a transparent colour made alpha, gamma left alone; rows of
// blue, green, red (and alpha when the picture has it), top row first.
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <png.h>

namespace pelmora::png_test {

struct Reference {
  bool ok = false;
  int width = 0;
  int height = 0;
  int channels = 0;  // 3 or 4
  std::vector<std::uint8_t> pixels;
};

inline Reference DecodeWithLibpng(const std::string& file) {
  struct Source {
    const std::string* bytes;
    std::size_t at;
  } source{&file, 0};
  Reference result;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr,
                                           [](png_structp, png_const_charp) {});
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_read_struct(&png, &info, nullptr);
    return Reference{};
  }
  png_set_read_fn(png, &source, [](png_structp p, png_bytep out, png_size_t count) {
    auto* s = static_cast<Source*>(png_get_io_ptr(p));
    if (count > s->bytes->size() - s->at) png_error(p, "end of file");
    std::memcpy(out, s->bytes->data() + s->at, count);
    s->at += count;
  });
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  result.width = static_cast<int>(png_get_image_width(png, info));
  result.height = static_cast<int>(png_get_image_height(png, info));
  result.channels = png_get_channels(png, info);
  const std::size_t row_bytes = png_get_rowbytes(png, info);
  result.pixels.resize(row_bytes * static_cast<std::size_t>(result.height));
  for (int y = 0; y < result.height; ++y) rows.push_back(result.pixels.data() + row_bytes * y);
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  result.ok = true;
  return result;
}

}  // namespace pelmora::png_test
