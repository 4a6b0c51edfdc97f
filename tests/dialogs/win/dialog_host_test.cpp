#include "dialogs/win/dialog_host.h"

#include <gtest/gtest.h>

#include <optional>

#include "base/win/handles.h"
#include "support/win/window_query.h"

namespace pelmora::win {
namespace {

// Hidden: what is looked at here is where windows are, not how they show.
UniqueWindow Form(const wchar_t* text, DWORD style = WS_OVERLAPPEDWINDOW) {
  return UniqueWindow(::CreateWindowExW(0, L"STATIC", text, style, 300, 200, 200, 120, nullptr,
                                        nullptr, nullptr, nullptr));
}

TEST(DialogHostTest, ABoxGoesToTheActiveFormElseToTheMainForm) {
  UniqueWindow application = Form(L"application", WS_POPUP);
  UniqueWindow main_form = Form(L"main");
  UniqueWindow other_form = Form(L"other");
  UniqueWindow gone = Form(L"gone");
  const HWND gone_handle = gone.Get();
  gone.Reset();
  std::optional<DialogWindows> windows(std::in_place, application.Get(), main_form.Get());

  EXPECT_EQ(PlacementForm(other_form.Get()), other_form.Get());
  // The hidden application window is nobody's place to work in.
  EXPECT_EQ(PlacementForm(application.Get()), main_form.Get());
  EXPECT_EQ(PlacementForm(nullptr), main_form.Get());
  EXPECT_EQ(PlacementForm(gone_handle), main_form.Get());
  windows.reset();
  EXPECT_EQ(PlacementForm(nullptr), nullptr) << "the windows go with the object";
}

TEST(DialogHostTest, CentresOnTheFormsMonitorByHalfOrAThird) {
  UniqueWindow form = Form(L"form");
  UniqueWindow box = Form(L"box", WS_POPUP | WS_CAPTION);
  ::SetWindowPos(box.Get(), nullptr, 0, 0, 333, 222, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const VerticalPlace place : {VerticalPlace::Middle, VerticalPlace::UpperThird}) {
    CentreOnMonitor(box.Get(), form.Get(), place);
    RECT placed{};
    ::GetWindowRect(box.Get(), &placed);
    EXPECT_EQ(test::CentredOnMonitorOf(form.Get(), placed, place),
              (DialogOrigin{placed.left, placed.top}));
    EXPECT_EQ(placed.right - placed.left, 333);  // moved, not resized
  }
}

}  // namespace
}  // namespace pelmora::win
