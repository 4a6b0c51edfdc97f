#pragma once
// A rectangle in pixels: left and top inside it, right and bottom just outside.
namespace pelmora {

struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace pelmora
