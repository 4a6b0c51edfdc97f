// How long the main window takes with a large clipboard bitmap, against the bare platform
// work the same display needs: a repaint and a resize with the clipboard unchanged against
// StretchDIBits of pixels already held, a clipboard change against GetDIBits into newly
// allocated memory plus StretchDIBits. Then the same for a picture with transparency: a
// change to a "PNG" against libspng decoding it into new memory plus StretchDIBits, a change
// to a 32-bit CF_DIB with alpha against copying its pixels into new memory plus
// StretchDIBits, and the repaint of either. Every timed piece ends with GdiFlush, so its
// drawing has reached the display. Run by hand under Wine:
//   scripts/wine-exec build/windows/bench/clipboard_view_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "app/win/main_window.h"
#include "base/win/handles.h"
#include "clipboard/win/bitmap_handle.h"
#include "clipboard/win/clipboard.h"
#include "picture/bitmap.h"
#include "picture/picture.h"
#include "picture/png_image.h"
#include "view/image.h"
#include "view/win/panel.h"

#include "measure.h"
#include "started_program.h"

#include <spng.h>

namespace {

using namespace pelmora;

using bench::PumpMessages;

// The median of 15 runs unless told otherwise.
double Measure(const std::function<void()>& work, const std::function<void()>& prepare = {},
               int runs = 15) {
  return bench::Measure(work, prepare, runs);
}

// A device bitmap of the screen's format in bands of colour, as a paint program gives.
HBITMAP MakeBitmap(int width, int height, int shade) {
  win::WindowDc screen(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen.Get(), width, height);
  win::UniqueMemoryDc dc(::CreateCompatibleDC(screen.Get()));
  HGDIOBJ old = ::SelectObject(dc.Get(), bitmap);
  for (int y = 0; y < height; y += 50) {
    RECT band{0, y, width, y + 50};
    win::UniqueBrush brush(::CreateSolidBrush(RGB((y + shade) % 256, (y / 7) % 256, 128)));
    ::FillRect(dc.Get(), &band, brush.Get());
  }
  ::SelectObject(dc.Get(), old);
  return bitmap;
}

// Places a bitmap on the clipboard as another program does.
void PlaceBitmap(HBITMAP bitmap) {
  ::OpenClipboard(nullptr);
  ::EmptyClipboard();
  ::SetClipboardData(CF_BITMAP, bitmap);
  ::CloseClipboard();
}

// A 32-bit picture with transparency in bands: opaque, half and wholly transparent colours,
// rows top-down, blue, green, red, alpha.
std::vector<std::uint8_t> TransparentPixels(int width, int height, int shade) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = &pixels[static_cast<std::size_t>(y) * width * 4];
    const std::uint8_t alpha = static_cast<std::uint8_t>((y / 200) % 3 == 0 ? 255 : (y / 200) % 3 == 1 ? 128 : 0);
    for (int x = 0; x < width; ++x, p += 4) {
      p[0] = static_cast<std::uint8_t>(x / 24 + shade);
      p[1] = static_cast<std::uint8_t>(y / 16);
      p[2] = 200;
      p[3] = alpha;
    }
  }
  return pixels;
}

// The clipboard data a browser gives: a "PNG" file, and a CF_DIB of the same pixels.
std::vector<std::uint8_t> PngOf(const std::vector<std::uint8_t>& pixels, int width, int height) {
  pelmora::raster::InfoHeader header{40, width, -height, 1, 32};
  auto image = pelmora::raster::Image::MakeSection(header);
  std::memcpy(image->Bits(), pixels.data(), pixels.size());
  image->SetAlpha(true);
  pelmora::TBitmap bitmap;
  bitmap.AdoptImage(image);
  pelmora::TPngImage png;
  png.Assign(&bitmap);
  return png.Bytes().Bytes();
}

HGLOBAL DibOf(const std::vector<std::uint8_t>& pixels, int width, int height) {
  BITMAPINFOHEADER header{sizeof header, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, sizeof header + pixels.size());
  auto* to = static_cast<std::uint8_t*>(::GlobalLock(block));
  std::memcpy(to, &header, sizeof header);
  std::memcpy(to + sizeof header, pixels.data(), pixels.size());
  ::GlobalUnlock(block);
  return block;
}

void PlaceMemory(UINT format, HGLOBAL block) {
  ::OpenClipboard(nullptr);
  ::EmptyClipboard();
  ::SetClipboardData(format, block);
  ::CloseClipboard();
}

HGLOBAL CopyOf(const std::vector<std::uint8_t>& bytes) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(::GlobalLock(block), bytes.data(), bytes.size());
  ::GlobalUnlock(block);
  return block;
}

}  // namespace

int main() {
  constexpr int kWidth = 6000, kHeight = 4000;  // 24 megapixels
  bench::StartedProgram program;
  MainWindow& form = program.window();

  // The window follows the clipboard by itself: the bitmap shows once its notice is handled.
  auto shown_after = [&](const TGraphic* before) {
    for (int i = 0; i < 500 && form.View().ImageView().Picture().Graphic() == before; ++i) {
      PumpMessages();
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    ::RedrawWindow(form.Handle(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::GdiFlush();
  };
  PlaceBitmap(MakeBitmap(kWidth, kHeight, 0));
  shown_after(nullptr);

  HWND panel = form.View().Panel().Handle();
  win::WindowDc screen(nullptr);
  const std::size_t pixel_bytes = static_cast<std::size_t>(kWidth) * kHeight * 4;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  auto bare_blit = [&](const std::uint8_t* pixels, const TRect& r) {
    win::WindowDc dc(panel);
    ::SetStretchBltMode(dc.Get(), COLORONCOLOR);
    ::StretchDIBits(dc.Get(), r.left, r.top, r.Width(), r.Height(), 0, 0, kWidth, kHeight,
                    pixels, &info, DIB_RGB_COLORS, SRCCOPY);
    ::GdiFlush();
  };
  // The bare read writes into memory allocated for it, as every read of a new picture must.
  auto bare_read = [&](std::uint8_t* pixels) {
    ::OpenClipboard(nullptr);
    HANDLE handle = ::GetClipboardData(CF_BITMAP);
    ::GetDIBits(screen.Get(), static_cast<HBITMAP>(handle), 0, kHeight, pixels, &info,
                DIB_RGB_COLORS);
    ::CloseClipboard();
  };
  std::unique_ptr<std::uint8_t[]> held(new std::uint8_t[pixel_bytes]);
  bare_read(held.get());

  // Repaint with the clipboard unchanged, against drawing the held pixels.
  const TRect fitted = form.View().ImageView().BoundsRect();
  const double bare_draw = Measure([&] { bare_blit(held.get(), fitted); });
  auto repainted = [&] {
    ::RedrawWindow(form.Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::GdiFlush();
  };
  const double repaint = Measure(repainted);

  // Resize with the clipboard unchanged, between two sizes, against drawing the held pixels
  // into the picture's place at each size.
  TRect fitted_at[2];
  auto resize_to = [&](int which) {
    ::SetWindowPos(form.Handle(), nullptr, 0, 0, which ? 600 : 432, which ? 400 : 258,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::UpdateWindow(form.Handle());
    ::GdiFlush();
  };
  for (int which : {1, 0}) {
    resize_to(which);
    fitted_at[which] = form.View().ImageView().BoundsRect();
  }
  int which = 0;
  const double bare_resize_draw = Measure([&] { bare_blit(held.get(), fitted_at[which ^= 1]); });
  which = 0;
  const double resize = Measure([&] { resize_to(which ^= 1); });
  resize_to(0);
  // The platform's own part of a resize: a plain window of the same style resized between
  // the same sizes, and the blit.
  HWND plain = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 432,
                                 258, nullptr, nullptr, nullptr, nullptr);
  PumpMessages();
  which = 0;
  const double bare_window_resize = Measure([&] {
    which ^= 1;
    ::SetWindowPos(plain, nullptr, 0, 0, which ? 600 : 432, which ? 400 : 258,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::UpdateWindow(plain);
    bare_blit(held.get(), fitted_at[which]);
  });
  ::DestroyWindow(plain);
  PumpMessages();

  // A new bitmap on the clipboard, against reading it into new memory and drawing it.
  const double bare_change = Measure([&] {
    std::unique_ptr<std::uint8_t[]> fresh(new std::uint8_t[pixel_bytes]);
    bare_read(fresh.get());
    bare_blit(fresh.get(), fitted);
  });
  const TGraphic* before = nullptr;
  int shade = 0;
  const double change = Measure([&] { shown_after(before); },
                                [&] {
                                  before = form.View().ImageView().Picture().Graphic();
                                  PlaceBitmap(MakeBitmap(kWidth, kHeight, shade += 40));
                                });
  // Where a change spends its time: the clipboard's bitmap into a new engine image.
  const double to_image = Measure([&] {
    ::OpenClipboard(nullptr);
    auto image = win::ImageFromBitmapHandle(static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)));
    ::CloseClipboard();
  });

  // Transparency: a "PNG", then a 32-bit CF_DIB with alpha.
  const std::vector<std::uint8_t> transparent = TransparentPixels(kWidth, kHeight, 0);
  const std::vector<std::uint8_t> png_file = PngOf(transparent, kWidth, kHeight);
  BITMAPINFO top_down = info;
  top_down.bmiHeader.biHeight = -kHeight;
  auto bare_alpha_blit = [&](const std::uint8_t* pixels, const TRect& r) {
    win::WindowDc dc(panel);
    ::SetStretchBltMode(dc.Get(), COLORONCOLOR);
    ::StretchDIBits(dc.Get(), r.left, r.top, r.Width(), r.Height(), 0, 0, kWidth, kHeight,
                    pixels, &top_down, DIB_RGB_COLORS, SRCCOPY);
    ::GdiFlush();
  };
  auto bare_png_change = [&] {
    std::unique_ptr<std::uint8_t[]> fresh(new std::uint8_t[pixel_bytes]);
    ::OpenClipboard(nullptr);
    HGLOBAL block = ::GetClipboardData(PngClipboardFormat);
    spng_ctx* ctx = spng_ctx_new(0);
    spng_set_png_buffer(ctx, ::GlobalLock(block), ::GlobalSize(block));
    spng_decode_image(ctx, fresh.get(), pixel_bytes, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS);
    spng_ctx_free(ctx);
    ::GlobalUnlock(block);
    ::CloseClipboard();
    bare_alpha_blit(fresh.get(), fitted);
  };
  before = form.View().ImageView().Picture().Graphic();
  PlaceMemory(PngClipboardFormat, CopyOf(png_file));
  shown_after(before);
  const double bare_png = Measure(bare_png_change, {}, 7);
  const double png_change = Measure([&] { shown_after(before); },
                                    [&] {
                                      before = form.View().ImageView().Picture().Graphic();
                                      PlaceMemory(PngClipboardFormat, CopyOf(png_file));
                                    },
                                    7);
  const double alpha_repaint = Measure(repainted);
  const double bare_alpha_draw = Measure([&] { bare_alpha_blit(transparent.data(), fitted); });

  auto bare_dib_change = [&] {
    std::unique_ptr<std::uint8_t[]> fresh(new std::uint8_t[pixel_bytes]);
    ::OpenClipboard(nullptr);
    HGLOBAL block = ::GetClipboardData(CF_DIB);
    std::memcpy(fresh.get(), static_cast<const std::uint8_t*>(::GlobalLock(block)) +
                                 sizeof(BITMAPINFOHEADER), pixel_bytes);
    ::GlobalUnlock(block);
    ::CloseClipboard();
    bare_alpha_blit(fresh.get(), fitted);
  };
  PlaceMemory(CF_DIB, DibOf(transparent, kWidth, kHeight));
  const double bare_dib = Measure(bare_dib_change, {}, 7);
  const double dib_change = Measure([&] { shown_after(before); },
                                    [&] {
                                      before = form.View().ImageView().Picture().Graphic();
                                      PlaceMemory(CF_DIB, DibOf(transparent, kWidth, kHeight));
                                    },
                                    7);

  std::printf("24-megapixel clipboard bitmap (%d x %d) shown at %d x %d, median of 15 runs\n",
              kWidth, kHeight, fitted.Width(), fitted.Height());
  std::printf("repaint, clipboard unchanged  %8.1f ms  bare blit %6.1f ms  %5.2fx\n", repaint,
              bare_draw, repaint / bare_draw);
  std::printf("resize, clipboard unchanged   %8.1f ms  bare blit %6.1f ms  %5.2fx\n", resize,
              bare_resize_draw, resize / bare_resize_draw);
  std::printf("  against a plain window's resize and the blit %6.1f ms  %5.2fx\n",
              bare_window_resize, resize / bare_window_resize);
  std::printf("clipboard change              %8.1f ms  bare read+blit %6.1f ms  %5.2fx\n",
              change, bare_change, change / bare_change);
  std::printf("  of which handle to engine image %6.1f ms\n", to_image);
  std::printf("24-megapixel picture with transparency (\"PNG\" %.1f MB), median of 7 runs\n",
              static_cast<double>(png_file.size()) / 1e6);
  std::printf("clipboard change to \"PNG\"     %8.1f ms  bare decode+blit %6.1f ms  %5.2fx\n",
              png_change, bare_png, png_change / bare_png);
  std::printf("clipboard change to CF_DIB    %8.1f ms  bare copy+blit %6.1f ms  %5.2fx\n",
              dib_change, bare_dib, dib_change / bare_dib);
  std::printf("repaint, clipboard unchanged  %8.1f ms  bare blit %6.1f ms  %5.2fx\n",
              alpha_repaint, bare_alpha_draw, alpha_repaint / bare_alpha_draw);
  return 0;
}
