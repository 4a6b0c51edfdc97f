#include "app/win/program.h"

#include <gtest/gtest.h>

#include "base/win/handles.h"
#include "raster/screen.h"

namespace pelmora {
namespace {

HWND ClipboardOpener() {
  ClipboardOpening opening(Clipboard());
  return ::GetOpenClipboardWindow();
}

TEST(Program, StandsForTheProcessForItsLifeAndPutsEverythingBackAtItsEnd) {
  const raster::ScreenFacts before = raster::Screen();
  HWND application = nullptr;
  {
    Program program(::GetModuleHandleW(nullptr));
    application = program.Application().Handle();
    EXPECT_EQ(win::ErrorDisplayOwner(), application);
    EXPECT_EQ(win::DialogOwner(), application);
    EXPECT_EQ(win::DialogMainForm(), program.Window().Handle());
    EXPECT_EQ(ClipboardOpener(), application);
    EXPECT_NE(PngClipboardFormat, 0);
    win::WindowDc screen(nullptr);
    EXPECT_EQ(raster::Screen().Depth(),
              ::GetDeviceCaps(screen.Get(), BITSPIXEL) * ::GetDeviceCaps(screen.Get(), PLANES));
  }
  EXPECT_EQ(win::ErrorDisplayOwner(), nullptr);
  EXPECT_EQ(win::DialogOwner(), nullptr);
  EXPECT_EQ(win::DialogMainForm(), nullptr);
  EXPECT_NE(ClipboardOpener(), application);
  EXPECT_EQ(raster::Screen().Depth(), before.Depth());
}

}  // namespace
}  // namespace pelmora
