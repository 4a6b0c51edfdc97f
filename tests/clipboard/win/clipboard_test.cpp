#include "clipboard/win/clipboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

// No opening is left: the system clipboard is closed, and the next opening opens it and
// its close closes it again (an opening counted without opening the clipboard would not).
void ExpectNoOpeningLeft(TClipboard& clipboard) {
  EXPECT_EQ(::GetOpenClipboardWindow(), nullptr);
  clipboard.Open();
  EXPECT_NE(::GetOpenClipboardWindow(), nullptr);
  clipboard.Close();
  EXPECT_EQ(::GetOpenClipboardWindow(), nullptr);
}

TEST(Clipboard, OnlyTheOutermostOpeningTouchesTheSystemClipboard) {
  TClipboard& clipboard = Clipboard();
  ExpectNoOpeningLeft(clipboard);
  clipboard.Open();
  HWND owner = ::GetOpenClipboardWindow();
  EXPECT_NE(owner, nullptr);
  clipboard.Open();
  clipboard.Close();
  EXPECT_EQ(::GetOpenClipboardWindow(), owner);  // still open after the inner close
  clipboard.Close();
  EXPECT_EQ(::GetOpenClipboardWindow(), nullptr);
  clipboard.Close();  // closing at 0 does nothing
  ExpectNoOpeningLeft(clipboard);
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
  ExpectNoOpeningLeft(clipboard);
}

TEST(Clipboard, HeldByAnotherWindowFailsWithTheMessageAndLeavesTheCountAtZero) {
  TClipboard& clipboard = Clipboard();
  {
    test::ClipboardHolder holder;
    ASSERT_TRUE(holder.Held());
    try {
      clipboard.DataHandle(CF_BITMAP);
      ADD_FAILURE() << "opening should fail";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "クリップボードを開くことができません");
    }
  }
  ExpectNoOpeningLeft(clipboard);
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
  {
    // An indexed section keeps its depth and its own colour table.
    std::vector<std::uint8_t> storage(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* indexed = reinterpret_cast<BITMAPINFO*>(storage.data());
    indexed->bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 1, 1, 4, BI_RGB, 0, 0, 0, 16, 0};
    indexed->bmiColors[3] = {0x11, 0x22, 0x33, 0};
    void* indexed_bits = nullptr;
    win::UniqueBitmap four(
        ::CreateDIBSection(nullptr, indexed, DIB_RGB_COLORS, &indexed_bits, nullptr, 0));
    ASSERT_TRUE(four);
    static_cast<std::uint8_t*>(indexed_bits)[0] = 0x30;
    auto read = win::ImageFromBitmapHandle(four.Get());
    EXPECT_TRUE(read->IsSection());
    EXPECT_EQ(read->BitCount(), 4);
    EXPECT_EQ(read->Pixel(0, 0), raster::MakeRgb(0x33, 0x22, 0x11));
    EXPECT_EQ(read->Pixel(1, 0), raster::kBlack);
  }

  // And back: a device bitmap of the same size holding the same colours.
  win::UniqueBitmap back = win::BitmapHandleFromImage(*image);
  BITMAP facts{};
  ASSERT_NE(::GetObjectW(back.Get(), sizeof(facts), &facts), 0);
  EXPECT_EQ(facts.bmWidth, 3);
  EXPECT_EQ(facts.bmHeight, 2);
  auto again = win::ImageFromBitmapHandle(back.Get());
  EXPECT_EQ(again->Pixel(0, 1), raster::MakeRgb(0x30, 0x20, 0x10));
}

// A section made by another program: an 8-bit DIB section of 4 x 2 whose colour table maps
// index i to (40i, 255 - 40i, 7) and whose pixel (x, y) is index x + 2y.
constexpr wchar_t kSectionPlaced[] = L"PelmoraTestSectionPlaced";
constexpr wchar_t kSectionRead[] = L"PelmoraTestSectionRead";

raster::Rgb ForeignColour(int index) {
  return raster::MakeRgb(static_cast<std::uint8_t>(40 * index),
                         static_cast<std::uint8_t>(255 - 40 * index), 7);
}

// Run only as the other program, started by the test below: places the section on the
// clipboard and keeps it there until the test has read it (at most 20 seconds).
TEST(BitmapHandle, DISABLED_ForeignSectionOwner) {
  win::UniqueKernelHandle placed(::OpenEventW(EVENT_MODIFY_STATE, FALSE, kSectionPlaced));
  win::UniqueKernelHandle read(::OpenEventW(SYNCHRONIZE, FALSE, kSectionRead));
  ASSERT_TRUE(placed && read);
  std::vector<std::uint8_t> storage(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  auto* info = reinterpret_cast<BITMAPINFO*>(storage.data());
  info->bmiHeader = {sizeof(BITMAPINFOHEADER), 4, -2, 1, 8, BI_RGB, 0, 0, 0, 8, 0};
  for (int i = 0; i < 8; ++i) {
    const raster::Rgb c = ForeignColour(i);
    info->bmiColors[i] = {c.blue, c.green, c.red, 0};
  }
  void* bits = nullptr;
  HBITMAP section = ::CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(section, nullptr);
  auto* rows = static_cast<std::uint8_t*>(bits);  // top-down, 4 bytes a row
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) rows[4 * y + x] = static_cast<std::uint8_t>(x + 2 * y);
  }
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  ASSERT_NE(::SetClipboardData(CF_BITMAP, section), nullptr);
  ::CloseClipboard();
  ::SetEvent(placed.Get());
  ::WaitForSingleObject(read.Get(), 20000);
}

TEST(BitmapHandle, ASectionFromAnotherProgramIsReadThroughThePlatform) {
  win::UniqueKernelHandle placed(::CreateEventW(nullptr, TRUE, FALSE, kSectionPlaced));
  win::UniqueKernelHandle read(::CreateEventW(nullptr, TRUE, FALSE, kSectionRead));
  ASSERT_TRUE(placed && read);
  wchar_t self[MAX_PATH];
  ASSERT_NE(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  std::wstring command = L"\"" + std::wstring(self) +
                         L"\" --gtest_also_run_disabled_tests "
                         L"--gtest_filter=BitmapHandle.DISABLED_ForeignSectionOwner";
  std::vector<wchar_t> writable(command.begin(), command.end());
  writable.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(::CreateProcessW(self, writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &started));
  ::CloseHandle(started.hThread);
  win::UniqueKernelHandle owner(started.hProcess);
  ASSERT_EQ(::WaitForSingleObject(placed.Get(), 20000), WAIT_OBJECT_0);

  // Shown with its colours, or refused as a bitmap it cannot read: never read from the
  // other program's pixel address.
  try {
    auto image = win::ImageFromBitmapHandle(
        static_cast<HBITMAP>(Clipboard().DataHandle(CF_BITMAP)));
    ASSERT_EQ(image->Width(), 4);
    ASSERT_EQ(image->Height(), 2);
    if (image->IsSection()) {
      EXPECT_EQ(image->BitCount(), 8);
      EXPECT_EQ(image->ColourTable()[5], ForeignColour(5));
    }
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(image->Pixel(x, y), ForeignColour(x + 2 * y)) << x << "," << y;
      }
    }
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "ビットマップイメージが不正です");
  }
  ::SetEvent(read.Get());
  EXPECT_EQ(::WaitForSingleObject(owner.Get(), 20000), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(owner.Get(), &code);
  EXPECT_EQ(code, 0u) << "the other program failed to place its section";
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
