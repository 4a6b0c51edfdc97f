#pragma once
// The clipboard's picture forms beyond CF_BITMAP: "PNG", which keeps transparency exactly,
// and the packed DIBs (CF_DIB, CF_DIBV5) with their alpha. Reading checks every size
// against the memory block the clipboard holds; that block belongs to the clipboard and to
// whichever program placed it, so it is read and never trusted.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "clipboard/picture_choice.h"
#include "clipboard/win/clipboard.h"
#include "picture/bitmap.h"
#include "picture/png_image.h"

namespace pelmora::win {

// The formats on the clipboard in its own order. The clipboard must be open.
std::vector<std::uint16_t> ClipboardFormatList();

// Reads the data handle of a "PNG" or packed-DIB picture into the bitmap (a PNG with
// transparency, or a 32-bit DIB with alpha, gives a bitmap with alpha). A handle of no
// memory raises EInvalidGraphic "未対応のクリップボード データです"; damaged data the
// error of its format (EPNG, EInvalidGraphic, EReadError). The bitmap is changed only on
// success.
void ReadPictureHandle(ClipboardPicture picture, HANDLE handle, TBitmap& bitmap);

// Places a PNG image on the clipboard as other programs paste it: its file's bytes as
// "PNG", and its bitmap as a CF_DIBV5 with straight alpha. The first placement empties the
// clipboard; the clipboard is opened for both. An empty picture places nothing.
void PlacePng(TClipboard& clipboard, TPngImage& png);

}  // namespace pelmora::win
