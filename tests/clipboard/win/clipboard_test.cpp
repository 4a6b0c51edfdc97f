#include "clipboard/win/clipboard.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/errors.h"
#include "base/win/handles.h"
#include "clipboard/win/bitmap_handle.h"
#include "support/win/clipboard_holder.h"

namespace pelmora {
namespace {

// A block of CF_TEXT for placing.
HANDLE TextBlock(const char* text) {
  std::size_t size = std::strlen(text) + 1;
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(::GlobalLock(block), text, size);
  ::GlobalUnlock(block);
  return block;
}

TEST(Clipboard, OnlyTheOutermostOpeningTouchesTheSystemClipboard) {
  TClipboard& clipboard = Clipboard();
  ASSERT_EQ(clipboard.OpenCount(), 0);
  clipboard.Open();
  HWND owner = ::GetOpenClipboardWindow();
  EXPECT_NE(owner, nullptr);
  clipboard.Open();
  EXPECT_EQ(clipboard.OpenCount(), 2);
  clipboard.Close();
  EXPECT_EQ(::GetOpenClipboardWindow(), owner);  // still open after the inner close
  clipboard.Close();
  EXPECT_EQ(::GetOpenClipboardWindow(), nullptr);
  clipboard.Close();  // closing at 0 does nothing
  EXPECT_EQ(clipboard.OpenCount(), 0);
}

TEST(Clipboard, TwoPlacementsInOneOpeningEmptyOnce) {
  TClipboard& clipboard = Clipboard();
  clipboard.PlaceHandle(CF_TEXT, TextBlock("old"));
  {
    ClipboardOpening opening(clipboard);
    clipboard.PlaceHandle(CF_TEXT, TextBlock("text"));
    win::UniqueBitmap bitmap(::CreateBitmap(4, 4, 1, 1, nullptr));
    clipboard.PlaceHandle(CF_BITMAP, bitmap.Release());
  }
  EXPECT_TRUE(clipboard.FormatAvailable(CF_TEXT));
  EXPECT_TRUE(clipboard.FormatAvailable(CF_BITMAP));
  // A new opening empties again before its first placement.
  clipboard.PlaceHandle(CF_TEXT, TextBlock("alone"));
  EXPECT_FALSE(clipboard.FormatAvailable(CF_BITMAP));
}

TEST(Clipboard, PictureFormatCountsAnyFormatAPictureCanLoad) {
  RegisterClipboardFormats();
  TClipboard& clipboard = Clipboard();
  clipboard.PlaceHandle(CF_TEXT, TextBlock("only text"));
  EXPECT_FALSE(clipboard.FormatAvailable(PictureClipboardFormat));
  win::UniqueBitmap bitmap(::CreateBitmap(2, 2, 1, 1, nullptr));
  clipboard.PlaceHandle(CF_BITMAP, bitmap.Release());
  EXPECT_TRUE(clipboard.FormatAvailable(PictureClipboardFormat));
  EXPECT_FALSE(clipboard.FormatAvailable(ComponentClipboardFormat));
  EXPECT_EQ(clipboard.OpenCount(), 0);
}

TEST(Clipboard, HeldByAnotherWindowFailsWithTheMessageAndLeavesTheCountAtZero) {
  test::ClipboardHolder holder;
  ASSERT_TRUE(holder.Held());
  TClipboard& clipboard = Clipboard();
  try {
    clipboard.TakeHandle(CF_BITMAP);
    ADD_FAILURE() << "opening should fail";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "クリップボードを開くことができません");
  }
  EXPECT_EQ(clipboard.OpenCount(), 0);
}

TEST(BitmapHandle, DeviceBitmapsKeepTheirFormAndColours) {
  // Monochrome stays 1 bit.
  win::UniqueBitmap mono(::CreateBitmap(8, 2, 1, 1, nullptr));
  auto image = win::ImageFromBitmapHandle(mono.Get());
  EXPECT_FALSE(image->IsSection());
  EXPECT_EQ(image->BitCount(), 1);
  EXPECT_EQ(image->Width(), 8);
  EXPECT_EQ(image->Height(), 2);

  // A DIB section keeps its depth, colours and pixels.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  win::UniqueBitmap section(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(section);
  auto* row = static_cast<std::uint8_t*>(bits);  // bottom row first
  row[0] = 0x10, row[1] = 0x20, row[2] = 0x30;
  image = win::ImageFromBitmapHandle(section.Get());
  EXPECT_TRUE(image->IsSection());
  EXPECT_EQ(image->BitCount(), 24);
  EXPECT_EQ(image->Pixel(0, 1), raster::MakeRgb(0x30, 0x20, 0x10));

  // And back: a device bitmap of the same size holding the same colours.
  win::UniqueBitmap back = win::BitmapHandleFromImage(*image);
  BITMAP facts{};
  ASSERT_NE(::GetObjectW(back.Get(), sizeof(facts), &facts), 0);
  EXPECT_EQ(facts.bmWidth, 3);
  EXPECT_EQ(facts.bmHeight, 2);
  auto again = win::ImageFromBitmapHandle(back.Get());
  EXPECT_EQ(again->Pixel(0, 1), raster::MakeRgb(0x30, 0x20, 0x10));
}

TEST(BitmapHandle, AHandleThatNamesNoBitmapIsAnInvalidBitmapNotACrash) {
  HBITMAP stale = ::CreateBitmap(4, 4, 1, 1, nullptr);
  ::DeleteObject(stale);
  for (HBITMAP handle : {stale, static_cast<HBITMAP>(nullptr),
                         reinterpret_cast<HBITMAP>(::GetStockObject(BLACK_BRUSH))}) {
    try {
      win::ImageFromBitmapHandle(handle);
      ADD_FAILURE() << "no error for a handle that names no bitmap";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message(), "ビットマップイメージが不正です");
    }
  }
}

}  // namespace
}  // namespace pelmora
