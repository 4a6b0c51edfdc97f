#pragma once
// The edge between the clipboard's CF_BITMAP handles and engine images.
#include <windows.h>

#include <memory>

#include "base/win/handles.h"
#include "raster/image.h"

namespace pelmora::win {

// Copies the bitmap behind a handle into an engine image of the same form: a device
// bitmap becomes a display image in the screen's format (a monochrome one stays 1 bit); a
// DIB section keeps its header, colours and pixels. Every bitmap is read through GetDIBits
// straight into the image's memory; a section's own pixel address is never used, since it
// may belong to another program. A handle that does not name a bitmap (any more) raises
// EInvalidGraphic "ビットマップイメージが不正です"; one too large for memory raises
// EOutOfResources.
std::shared_ptr<raster::Image> ImageFromBitmapHandle(HBITMAP handle);

// A new device bitmap holding the image's pixels (monochrome for a 1-bit display image),
// for placing on the clipboard. Raises EOutOfResources when the platform makes none.
UniqueBitmap BitmapHandleFromImage(const raster::Image& image);

}  // namespace pelmora::win
