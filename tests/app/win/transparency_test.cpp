// Pictures with transparency as other programs place them, shown by the running program:
// the test process places each form on the clipboard and reads Pelmora's window off the
// screen, pixel for pixel, where the picture is drawn at its own size.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/clipboard_fit.h"
#include "support/win/clipboard_text.h"
#include "support/win/window_query.h"
#include "support/win/pelmora_run.h"
#include "support/win/screenshot.h"
#include "support/win/session_scale.h"
#include "support/win/transparent_picture.h"

namespace pelmora {
namespace {

using test::AlphaData;
using test::kTransparentSide;

void Place(std::initializer_list<std::pair<UINT, HANDLE>> formats) {
  ASSERT_TRUE(test::OpenClipboardSoon());
  ::EmptyClipboard();
  for (const auto& [format, handle] : formats) ::SetClipboardData(format, handle);
  ::CloseClipboard();
}

// The picture's rectangle on the screen: unscaled and centred in the main window's client
// area, which the panel fills.
RECT PictureOnScreen(HWND main) {
  RECT client{};
  ::GetClientRect(main, &client);
  const ClipboardFit fit = FitPictureToPanel(client.right, client.bottom, kTransparentSide,
                                             kTransparentSide);
  POINT origin{fit.left, fit.top};
  ::ClientToScreen(main, &origin);
  return RECT{origin.x, origin.y, origin.x + fit.width, origin.y + fit.height};
}

std::uint32_t At(const std::vector<std::uint8_t>& rgb, int x, int y) {
  const std::size_t i = (static_cast<std::size_t>(y) * kTransparentSide + x) * 3;
  return std::uint32_t{rgb[i]} << 16 | std::uint32_t{rgb[i + 1]} << 8 | rgb[i + 2];
}

// Pixels of the shown picture that differ from what it must look like.
int WrongPixels(const std::vector<std::uint8_t>& rgb, bool alpha_honoured, std::string& first,
                int square = 8) {
  int wrong = 0;
  for (int y = 0; y < kTransparentSide; ++y) {
    for (int x = 0; x < kTransparentSide; ++x) {
      const std::uint32_t want = test::ExpectedOnScreen(x, y, alpha_honoured, square);
      if (At(rgb, x, y) != want && wrong++ == 0) {
        char text[96];
        std::snprintf(text, sizeof text, "(%d, %d) shows %06X, not %06X", x, y, At(rgb, x, y), want);
        first = text;
      }
    }
  }
  return wrong;
}

TEST(Transparency, EachFormOtherProgramsPlaceShowsTheCheckerboardExactlyWhereTransparent) {
  test::PelmoraRun run;
  ASSERT_NE(run.main(), nullptr);
  const UINT png = ::RegisterClipboardFormatW(L"PNG");
  const std::string png_file = test::TransparentPng();
  struct Case {
    const char* name;
    std::function<void()> place;
    bool alpha_honoured;
  };
  const Case cases[] = {
      {"dib-straight", [] { Place({{CF_DIB, test::TransparentDib(AlphaData::Straight)}}); }, true},
      {"dib-premultiplied",
       [] { Place({{CF_DIB, test::TransparentDib(AlphaData::Premultiplied)}}); }, true},
      {"dib-zero-alpha", [] { Place({{CF_DIB, test::TransparentDib(AlphaData::AllZero)}}); }, false},
      {"dibv5-alpha-mask", [] { Place({{CF_DIBV5, test::TransparentDibV5()}}); }, true},
      {"png-alone",
       [&] { Place({{png, test::GlobalCopy(png_file.data(), png_file.size())}}); }, true},
      // "PNG" wins over the DIB beside it, which here is plain yellow.
      {"png-with-dib",
       [&] {
         Place({{png, test::GlobalCopy(png_file.data(), png_file.size())},
                {CF_DIB, test::OpaqueDib(0xFFFF00)}});
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(test::PutClipboardText("between pictures"));
    // Pelmora shows the text before the picture comes.
    ASSERT_TRUE(test::WaitUntil([&] {
      HWND view = test::FindChildWindow(run.main(), L"PelmoraRichEdit41");
      wchar_t text[32] = {};
      // Sent: the control keeps its text itself, which GetWindowText of another process
      // does not ask for.
      ::SendMessageW(view, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text));
      return view != nullptr && ::IsWindowVisible(view) &&
             std::wstring_view(text) == L"between pictures";
    }, 5000));
    c.place();
    // Pelmora follows the clipboard by itself; the picture is there once its middle is red
    // and a corner shows what its ground must.
    const RECT rect = PictureOnScreen(run.main());
    std::vector<std::uint8_t> rgb;
    const bool shown = test::WaitUntil(
        [&] {
          rgb = test::CaptureScreenRect(rect);
          return rgb.size() == 3u * kTransparentSide * kTransparentSide &&
                 At(rgb, 60, 55) == 0xFF0000 && At(rgb, 2, 2) == test::ExpectedOnScreen(2, 2, c.alpha_honoured);
        },
        10000);
    std::string first;
    EXPECT_TRUE(shown);
    EXPECT_EQ(WrongPixels(rgb, c.alpha_honoured, first), 0) << first;
    // The checkerboard's two squares, the half-transparent band over each, and the disc.
    if (c.alpha_honoured) {
      EXPECT_EQ(At(rgb, 3, 3), 0xFFFFFFu);
      EXPECT_EQ(At(rgb, 11, 3), 0xCCCCCCu);
      EXPECT_EQ(At(rgb, 60, 110), 0x7F7FFFu);
      EXPECT_EQ(At(rgb, 68, 110), 0x6666E6u);
    } else {
      EXPECT_EQ(At(rgb, 3, 3), 0x00A000u);
      EXPECT_EQ(At(rgb, 60, 110), 0x0000FFu);
    }
    EXPECT_TRUE(test::SaveWindowScreenshot(
        run.main(), test::ScreenshotPath((std::string("transparency-") + c.name + ".png").c_str())));
  }
  EXPECT_EQ(run.Close(), std::optional<DWORD>(0));
}

TEST(Transparency, TheCheckerboardKeepsItsSizeOnTheScreenAtAnotherScale) {
  test::ScopedSessionScale scale(144);
  test::PelmoraRun run;
  ASSERT_NE(run.main(), nullptr);
  Place({{CF_DIB, test::TransparentDib(AlphaData::Straight)}});
  // The picture is shown pixel for pixel; the squares grow with the scale, to 12 pixels.
  const RECT rect = PictureOnScreen(run.main());
  std::vector<std::uint8_t> rgb;
  EXPECT_TRUE(test::WaitUntil(
      [&] {
        rgb = test::CaptureScreenRect(rect);
        return rgb.size() == 3u * kTransparentSide * kTransparentSide && At(rgb, 60, 55) == 0xFF0000;
      },
      10000));
  std::string first;
  EXPECT_EQ(WrongPixels(rgb, true, first, 12), 0) << first;
  EXPECT_EQ(run.Close(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace pelmora
