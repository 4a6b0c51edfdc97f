#pragma once
// Which of the clipboard's pictures the view reads: "PNG" when it is there, since it
// keeps transparency exactly; else the first of CF_DIBV5, CF_DIB and CF_BITMAP in the
// clipboard's own order. Formats come in the order their owner placed them, and those the
// system makes from another follow it, so the first of the three is what the owner gave
// (a 32-bit DIB keeps its alpha, a bitmap has none).
#include <cstdint>
#include <span>

namespace pelmora {

inline constexpr std::uint16_t kCfDib = 8;
inline constexpr std::uint16_t kCfDibV5 = 17;

enum class ClipboardPicture { None, Png, DibV5, Dib, Bitmap };

// formats: what the clipboard holds, in its own order; png_format: the registered "PNG".
ClipboardPicture ChooseClipboardPicture(std::span<const std::uint16_t> formats, std::uint16_t png_format);

// The clipboard format a picture is read from (0 for none).
std::uint16_t ClipboardFormatOf(ClipboardPicture picture, std::uint16_t png_format);

}  // namespace pelmora
