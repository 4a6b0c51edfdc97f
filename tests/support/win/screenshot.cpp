#include "support/win/screenshot.h"

#include <filesystem>

#include "base/win/handles.h"
#include "support/win/png.h"
#include "support/win/wait.h"

namespace pelmora::test {

std::vector<std::uint8_t> CaptureScreenRect(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return {};
  win::WindowDc screen(nullptr);
  if (!screen) return {};

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win::UniqueBitmap section(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  win::UniqueMemoryDc memory(::CreateCompatibleDC(screen.Get()));
  if (!section || !memory || !bits) return {};
  {
    win::SelectedObject selected(memory.Get(), section.Get());
    if (!::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY)) {
      return {};
    }
    ::GdiFlush();
  }
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  const auto* bgra = static_cast<const std::uint8_t*>(bits);
  for (std::size_t i = 0, n = static_cast<std::size_t>(width) * height; i < n; ++i) {
    rgb[i * 3 + 0] = bgra[i * 4 + 2];
    rgb[i * 3 + 1] = bgra[i * 4 + 1];
    rgb[i * 3 + 2] = bgra[i * 4 + 0];
  }
  return rgb;
}

std::vector<std::uint8_t> CaptureSettledScreenRect(const RECT& rect) {
  std::vector<std::uint8_t> rgb;
  WaitUntil(
      [&] {
        if (rgb.empty()) {
          rgb = CaptureScreenRect(rect);
          return false;
        }
        std::vector<std::uint8_t> again = CaptureScreenRect(rect);
        const bool settled = again == rgb;
        rgb = std::move(again);
        return settled;
      },
      2000);
  return rgb;
}

bool SaveWindowScreenshot(HWND window, const std::filesystem::path& path) {
  RECT window_rect;
  if (!::GetWindowRect(window, &window_rect)) return false;
  // Only what lies on the screen: the display cannot read beyond it.
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  const RECT screen{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT rect;
  if (!::IntersectRect(&rect, &window_rect, &screen)) return false;
  // A window of another thread paints inside this call; the display may show its pixels a
  // little later (Wine hands a window's drawing to the display when its thread waits), so
  // the screen is read, with messages pumped in between, until two readings agree.
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const std::vector<std::uint8_t> rgb = CaptureSettledScreenRect(rect);
  if (rgb.empty()) return false;
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  return WritePng(path, rect.right - rect.left, rect.bottom - rect.top, rgb);
}

}  // namespace pelmora::test
