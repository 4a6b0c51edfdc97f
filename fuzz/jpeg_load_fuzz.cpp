// JPEG load and decode on arbitrary bytes: a load parses the header only, the decoded
// bitmap runs libjpeg over the whole file, with the default settings and with 8-bit, fast
// or scaled output; the decoded bitmap is then encoded again. Failures must surface as the
// program's errors, never as a crash, a leak or undefined behaviour.
#include <cstddef>
#include <cstdint>

#include "base/errors.h"
#include "base/stream.h"
#include "picture/bitmap.h"
#include "picture/jpeg_image.h"

namespace {

// Larger pictures are decoded only at 1/8 of their size, and the largest not at all: they
// cost time under the sanitizers, not coverage (a picture's entropy data is decoded in full
// whatever the scale; the size and work limits are covered by the unit tests).
constexpr std::int64_t kFullSizePixels = std::int64_t{1} << 20;
constexpr std::int64_t kMaxDecodedPixels = std::int64_t{1} << 22;

void DecodeAndEncode(pelmora::TJPEGImage& image) {
  try {
    pelmora::TBitmap& bitmap = image.Bitmap();
    pelmora::TJPEGImage again;
    again.Assign(&bitmap);
    pelmora::TMemoryStream out;
    again.SaveToStream(out);
  } catch (const pelmora::Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pelmora::TJPEGImage image;
  try {
    pelmora::TSpanStream stream(data, size);
    image.LoadFromStream(stream);
  } catch (const pelmora::Exception&) {
    return 0;
  }
  const std::int64_t pixels = std::int64_t{image.Width()} * image.Height();
  if (pixels > kFullSizePixels) image.Settings().DecodeScale = 3;
  if (pixels > kMaxDecodedPixels) return 0;

  // A second image on the same bytes with other settings, chosen by the input's size.
  pelmora::TJPEGImage other;
  other.Assign(&image);
  other.Settings().DecodeBits = 8;
  other.Settings().FastDecode = (size & 1) != 0;
  other.Settings().GrayOnly = (size & 2) != 0;
  other.Settings().BlockSmoothing = (size & 4) != 0;
  other.Settings().DecodeScale = image.Settings().DecodeScale == 3 ? 3 : (size >> 3) & 3;

  DecodeAndEncode(image);
  // Two-pass quantization is slow under the sanitizers: small pictures only.
  if (pixels <= kFullSizePixels / 4) DecodeAndEncode(other);

  pelmora::TMemoryStream saved;
  image.SaveToStream(saved);
  if (saved.Size() != static_cast<std::int64_t>(size)) __builtin_trap();
  return 0;
}
