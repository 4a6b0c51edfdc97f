#include "clipboard/win/clipboard_picture.h"

#include <cstring>

#include "base/errors.h"
#include "base/strings.h"
#include "base/win/handles.h"

namespace pelmora::win {

namespace {

[[noreturn]] void Unsupported() { throw EInvalidGraphic(strings::kUnknownClipboardFormat); }

// A new block of global memory filled by write(data), for placing on the clipboard.
template <typename Write>
UniqueGlobal GlobalBlock(std::size_t size, Write write) {
  UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, size));
  if (!block) throw EOutOfResources(strings::kPictureTooLarge);
  GlobalLockGuard lock(block.Get());
  if (!lock) throw EOutOfResources(strings::kPictureTooLarge);
  write(static_cast<std::uint8_t*>(lock.Data()));
  return block;
}

void Place(TClipboard& clipboard, std::uint16_t format, UniqueGlobal block) {
  // The block passes to the system only once it is placed; otherwise it is freed here.
  if (clipboard.PlaceHandle(format, block.Get())) block.Release();
}

}  // namespace

std::vector<std::uint16_t> ClipboardFormatList() {
  std::vector<std::uint16_t> formats;
  for (UINT f = ::EnumClipboardFormats(0); f != 0; f = ::EnumClipboardFormats(f)) {
    formats.push_back(static_cast<std::uint16_t>(f));
  }
  return formats;
}

void ReadPictureHandle(ClipboardPicture picture, HANDLE handle, TBitmap& bitmap) {
  const auto memory = static_cast<HGLOBAL>(handle);
  // GlobalSize is what the block holds: nothing is read past it, whatever the data claims.
  const SIZE_T size = memory != nullptr ? ::GlobalSize(memory) : 0;
  GlobalLockGuard lock(size != 0 ? memory : nullptr);
  if (!lock) Unsupported();
  const auto* data = static_cast<const std::uint8_t*>(lock.Data());
  switch (picture) {
    case ClipboardPicture::Png:
      DecodePng(data, size, bitmap);
      return;
    case ClipboardPicture::Dib:
    case ClipboardPicture::DibV5:
      bitmap.LoadFromDib(data, size);
      return;
    case ClipboardPicture::Bitmap:
    case ClipboardPicture::None:
      break;
  }
  Unsupported();
}

void PlacePng(TClipboard& clipboard, TPngImage& png) {
  const TMemoryStream& bytes = png.Bytes();
  TBitmap& bitmap = png.Bitmap();
  if (bitmap.DibV5Size() == 0) return;  // an empty picture places nothing
  // Both blocks are made before the clipboard is emptied, so a failure leaves it as it was.
  UniqueGlobal file = GlobalBlock(bytes.Bytes().size(), [&](std::uint8_t* out) {
    std::memcpy(out, bytes.Data(), bytes.Bytes().size());
  });
  UniqueGlobal dib =
      GlobalBlock(bitmap.DibV5Size(), [&](std::uint8_t* out) { bitmap.WriteDibV5(out); });
  ClipboardOpening opening(clipboard);
  Place(clipboard, PngClipboardFormat, std::move(file));
  Place(clipboard, kCfDibV5, std::move(dib));
}

}  // namespace pelmora::win
