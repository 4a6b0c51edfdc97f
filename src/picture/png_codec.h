#pragma once
// PNG coding on libspng. Every libspng failure surfaces as EPNG "PNG エラー #%d" with
// libspng's error code; libspng is plain C that reports by return values, so nothing here
// unwinds through it. Rows are 8-bit blue, green, red (and alpha), top row first: the
// engine's 24- and 32-bit row layout.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace pelmora::png {

// Ancillary chunks (text, colour profiles) are held only within these bounds, so a small
// file cannot claim large amounts of memory through them: one chunk may inflate to at most
// kMaxInflatedChunk bytes, all of them together may take kMaxChunkCache.
inline constexpr std::size_t kMaxInflatedChunk = std::size_t{16} << 20;
inline constexpr std::size_t kMaxChunkCache = std::size_t{64} << 20;
// Deflate cannot make more than about 1032 bytes of one: a file whose picture would need
// more than this many times its own size is cut short, and is refused before any pixel
// memory is taken.
inline constexpr std::uint64_t kMaxDeflateRatio = 1032;

class Decoder {
 public:
  // Reads the signature, the header and the chunks before the image data of a whole file
  // held in memory, which must outlive the decoder.
  Decoder(const std::uint8_t* data, std::size_t size);
  ~Decoder();
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  int Width() const;
  int Height() const;
  // The picture has an alpha channel or a transparent colour: its rows come as blue,
  // green, red, alpha (4 bytes a pixel); otherwise as blue, green, red (3 bytes).
  bool HasAlpha() const;

  // Refuses a picture whose bitmap would pass the raster engine's pixel ceiling
  // (EOutOfResources "the picture is too large") or that the file is too short to hold
  // (EPNG), then starts decoding. Call before taking the pixel memory.
  void Start();
  // Decodes every row into row(y), 0 being the top row; gamma is not applied. Returns
  // whether any pixel is less than opaque. A damaged or truncated file raises EPNG.
  bool DecodeRows(const std::function<std::uint8_t*(int y)>& row);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Encodes width x height rows as an 8-bit RGB (alpha false) or RGBA PNG, filtered and
// compressed as suits the picture (flat or photographic); row(y) gives row y in the layout
// above.
std::vector<std::uint8_t> Encode(int width, int height, bool alpha,
                                 const std::function<const std::uint8_t*(int y)>& row);

}  // namespace pelmora::png
