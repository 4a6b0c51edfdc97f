// How long the main window takes to show a large clipboard bitmap, against the bare
// platform work the same display needs. Run by hand under Wine:
//   scripts/wine-exec build/windows/bench/clipboard_view_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/win/application.h"
#include "app/win/main_form.h"
#include "app/win/panel.h"
#include "base/win/handles.h"
#include "clipboard/win/bitmap_handle.h"
#include "clipboard/win/clipboard.h"
#include "clipboard/win/dc_canvas.h"
#include "picture/bitmap.h"
#include "picture/picture.h"
#include "picture/jpeg_image.h"

namespace {

using namespace pelmora;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// The median of several runs.
double Measure(const std::function<void()>& work, int runs = 7) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    work();
    ::QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace

int main() {
  constexpr int kWidth = 6000, kHeight = 4000;  // 24 megapixels
  RegisterClipboardFormats();
  InitJpegImageKind(32);
  TApplication application(::GetModuleHandleW(nullptr));
  TClipboard::SetApplicationWindow(application.Handle());
  TForm1 form(application);
  form.Show();
  PumpMessages();

  win::WindowDc screen(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen.Get(), kWidth, kHeight);
  {
    win::UniqueMemoryDc dc(::CreateCompatibleDC(screen.Get()));
    HGDIOBJ old = ::SelectObject(dc.Get(), bitmap);
    for (int y = 0; y < kHeight; y += 50) {
      RECT band{0, y, kWidth, y + 50};
      win::UniqueBrush brush(::CreateSolidBrush(RGB(y % 256, (y / 7) % 256, 128)));
      ::FillRect(dc.Get(), &band, brush.Get());
    }
    ::SelectObject(dc.Get(), old);
  }
  ::OpenClipboard(nullptr);
  ::EmptyClipboard();
  ::SetClipboardData(CF_BITMAP, bitmap);
  ::CloseClipboard();

  // The bare work: read the clipboard's bitmap once and draw it scaled into the panel.
  HWND panel = form.Panel1().Handle();
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 4);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const double bare_read = Measure([&] {
    ::OpenClipboard(nullptr);
    HANDLE handle = ::GetClipboardData(CF_BITMAP);
    ::GetDIBits(screen.Get(), static_cast<HBITMAP>(handle), 0, kHeight, pixels.data(), &info,
                DIB_RGB_COLORS);
    ::CloseClipboard();
  });
  const double bare_draw = Measure([&] {
    win::WindowDc dc(panel);
    ::SetStretchBltMode(dc.Get(), COLORONCOLOR);
    ::StretchDIBits(dc.Get(), 73, 5, 277, 221, 0, 0, kWidth, kHeight, pixels.data(), &info,
                    DIB_RGB_COLORS, SRCCOPY);
  });

  const double inspect = Measure([&] { form.N8Click(); });
  std::shared_ptr<raster::Image> image;
  const double to_image = Measure([&] {
    ::OpenClipboard(nullptr);
    image = win::ImageFromBitmapHandle(static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)));
    ::CloseClipboard();
  });
  TPicture picture;
  const double load = Measure([&] {
    ClipboardData data;
    data.image = image;
    picture.LoadFromClipboardFormat(kCfBitmap, data);
  });
  const double draw = Measure([&] {
    win::WindowDc dc(panel);
    win::TDcCanvas canvas(dc.Get());
    picture.Graphic()->Draw(canvas, TRect{73, 5, 350, 226});
  });
  std::printf("handle to engine image %8.1f ms\npicture load %8.1f ms\nbitmap draw %8.1f ms\n",
              to_image, load, draw);
  const double paint = Measure([&] {
    ::InvalidateRect(form.Handle(), nullptr, FALSE);
    ::RedrawWindow(form.Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  });
  bool wide = false;
  const double resize = Measure([&] {
    wide = !wide;
    ::SetWindowPos(form.Handle(), nullptr, 0, 0, wide ? 600 : 432, wide ? 400 : 258,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::UpdateWindow(form.Handle());
  });

  const double bare = bare_read + bare_draw;
  std::printf("24-megapixel clipboard bitmap (%d x %d), median of 7 runs\n", kWidth, kHeight);
  std::printf("bare read (GetDIBits)          %8.1f ms\n", bare_read);
  std::printf("bare scaled draw (StretchDIBits) %6.1f ms\n", bare_draw);
  std::printf("inspection (Sub_Clip)          %8.1f ms  %.2fx bare read+draw\n", inspect,
              inspect / bare);
  std::printf("paint (inspection and drawing) %8.1f ms  %.2fx bare read+draw\n", paint,
              paint / bare);
  std::printf("resize (refit and repaint)     %8.1f ms  %.2fx bare read+draw\n", resize,
              resize / bare);
  TClipboard::SetApplicationWindow(nullptr);
  DoneJpegImageKind();
  return 0;
}
