#pragma once
// JPEG coding on libjpeg-turbo, one step per call so that the caller can prepare its bitmap
// between the steps. Every libjpeg failure surfaces as EJPEG "JPEG エラー #%d" with
// libjpeg's message code, raised after libjpeg's frames are left. Rows are 24-bit
// blue-green-red (or 8-bit palette indexes), top row first, handed over one at a time.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "raster/image.h"

namespace pelmora::jpeg {

// Outputs whose bitmap would need more pixel memory than the raster engine allows
// (raster::MaxPixelBytes()) are refused before any decoding, as are files needing more
// working memory inside libjpeg: both as EOutOfResources "the picture is too large", since
// the file is sound and the machine cannot hold it.
inline constexpr long kMaxLibraryMemory = 1L << 30;
// A file with more scans than this is refused: each scan may cost a pass over the image.
inline constexpr int kMaxScans = 500;
// Nor may its scans together cover more 8x8 blocks than this (a second or two of work): a
// file of a few kilobytes can repeat scans over a huge picture. Legitimate files stay far
// below it (the ten scans of a 100-megapixel picture cover some 12 million blocks).
inline constexpr std::uint64_t kMaxScanBlocks = 200'000'000;
// Colours of a quantized (8-bit) output.
inline constexpr int kQuantizedColors = 236;

struct HeaderSize {
  int width = 0;
  int height = 0;
};

// Reads the header of a whole file held in memory (an image is required).
HeaderSize ReadHeaderSize(const std::uint8_t* data, std::size_t size);

struct DecodeOptions {
  int scale_shift = 0;  // output at 1/2^n of full size, n = 0..3
  bool block_smoothing = true;
  bool gray = false;       // gray output whatever the file's colours
  bool eight_bit = false;  // quantized to 236 colours with a palette
  bool fast = false;       // fast DCT, one-pass quantization, ordered dither
  std::uint64_t max_scan_blocks = kMaxScanBlocks;
};

struct PaletteEntry {
  std::uint8_t red, green, blue;
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

enum class OutputFormat {
  Indexed8,  // one palette index per pixel
  Bgr24,     // blue, green, red per pixel
};

class Decoder {
 public:
  // data must outlive the decoder.
  Decoder(const std::uint8_t* data, std::size_t size);
  ~Decoder();
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  void ReadHeader();
  int ImageWidth() const;
  int ImageHeight() const;

  // Chooses the output. Gray files and gray output are always quantized to 8 bits; four-
  // component files (CMYK, YCCK) always give 24 bits, even when 8 bits are asked for.
  void Configure(const DecodeOptions& options);
  OutputFormat Format() const;

  // Refuses outputs beyond the limits above, then starts decompressing.
  void Start();
  int OutputWidth() const;
  int OutputHeight() const;
  // The quantizer's colours (8-bit output only; empty otherwise).
  std::vector<PaletteEntry> Colormap() const;

  int OutputScanline() const;
  // Decodes the next row into row, which holds OutputWidth() pixels in Format().
  void ReadRow(std::uint8_t* row);
  void Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

struct EncodeOptions {
  int quality = 90;  // 1 to 100, baseline tables forced
  bool gray = false;
  bool progressive = false;
};

class Encoder {
 public:
  // libjpeg's output is appended to out.
  explicit Encoder(std::vector<std::uint8_t>& out);
  ~Encoder();
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  void Start(int width, int height, const EncodeOptions& options);
  int NextScanline() const;
  // Encodes the next row: width pixels of blue, green, red.
  void WriteRow(const std::uint8_t* row);
  void Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pelmora::jpeg
