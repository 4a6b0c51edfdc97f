#include "base/win/modal_scope.h"

#include <gtest/gtest.h>

#include "base/win/handles.h"

namespace pelmora::win {
namespace {

// A top-level window shown without being activated, when show is true; Wine then leaves
// it unmanaged, and it goes without waiting for a window manager that is not there.
UniqueWindow TopLevelWindow(const wchar_t* text, bool show, DWORD style = 0) {
  UniqueWindow window(::CreateWindowExW(0, L"STATIC", text, WS_POPUP | style, 10, 10, 200, 120,
                                        nullptr, nullptr, nullptr, nullptr));
  if (show) ::ShowWindow(window.Get(), SW_SHOWNOACTIVATE);
  return window;
}

TEST(ModalScope, DisablesTheOthersWhileItLastsAndGivesEverythingBack) {
  UniqueWindow form = TopLevelWindow(L"form", true);
  UniqueWindow owner = TopLevelWindow(L"owner", true);
  UniqueWindow disabled_before = TopLevelWindow(L"disabled", true, WS_DISABLED);
  UniqueWindow hidden = TopLevelWindow(L"hidden", false);
  UniqueWindow modal = TopLevelWindow(L"modal", false);
  ASSERT_TRUE(form && owner && disabled_before && hidden && modal);
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20,
                                form.Get(), nullptr, nullptr, nullptr);
  ::SetActiveWindow(form.Get());
  ::SetFocus(edit);
  ASSERT_EQ(::GetFocus(), edit);
  {
    ModalScope scope(owner.Get());
    EXPECT_EQ(scope.PreviouslyActive(), form.Get());
    EXPECT_FALSE(::IsWindowEnabled(form.Get()));
    EXPECT_TRUE(::IsWindowEnabled(owner.Get()));
    EXPECT_TRUE(::IsWindowEnabled(hidden.Get()));
    ::ShowWindow(modal.Get(), SW_SHOW);
    ::SetActiveWindow(modal.Get());
    scope.HideAtEnd(modal.Get());
  }
  EXPECT_TRUE(::IsWindowEnabled(form.Get()));
  // A window that was disabled before stays so: the scope enables only what it disabled.
  EXPECT_FALSE(::IsWindowEnabled(disabled_before.Get()));
  EXPECT_FALSE(::IsWindowVisible(modal.Get()));
  EXPECT_EQ(::GetActiveWindow(), form.Get());
  EXPECT_EQ(::GetFocus(), edit);

  {  // A window destroyed while the scope lasts, the remembered one included, is passed over.
    ModalScope scope;
    form.Reset();
    EXPECT_FALSE(::IsWindowEnabled(owner.Get()));
  }
  EXPECT_TRUE(::IsWindowEnabled(owner.Get()));
}

}  // namespace
}  // namespace pelmora::win
