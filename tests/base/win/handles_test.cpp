#include "base/win/handles.h"

#include <gtest/gtest.h>

#include <utility>

namespace pelmora::win {
namespace {

TEST(Handles, SelectedObjectPutsThePreviousObjectBackIntoItsOwnDc) {
  UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  UniqueMemoryDc other_dc(::CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc && other_dc);
  UniqueBrush red(::CreateSolidBrush(RGB(255, 0, 0)));
  UniqueBrush blue(::CreateSolidBrush(RGB(0, 0, 255)));
  HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_BRUSH);
  HGDIOBJ other_original = ::GetCurrentObject(other_dc.Get(), OBJ_BRUSH);

  {  // Nested selections unwind in order.
    SelectedObject first(dc.Get(), red.Get());
    EXPECT_TRUE(first);
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BRUSH), red.Get());
    {
      SelectedObject second(dc.Get(), blue.Get());
      EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BRUSH), blue.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BRUSH), red.Get());
  }
  EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BRUSH), original);

  {  // A moved selection restores once, into the DC it was made on.
    SelectedObject outer(dc.Get(), red.Get());
    {
      SelectedObject moved(std::move(outer));
      SelectedObject unrelated(other_dc.Get(), blue.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BRUSH), original);
    EXPECT_EQ(::GetCurrentObject(other_dc.Get(), OBJ_BRUSH), other_original);
  }
  EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BRUSH), original);
}

TEST(Handles, SavedDcPutsTheStateBackAtTheEndOfItsScope) {
  UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  auto origin = [&] {
    POINT point{};
    ::GetViewportOrgEx(dc.Get(), &point);
    return point.x;
  };
  {  // Nested saves unwind one level each.
    SavedDc outer(dc.Get());
    EXPECT_TRUE(outer);
    ::OffsetViewportOrgEx(dc.Get(), 5, 0, nullptr);
    {
      SavedDc inner(dc.Get());
      ::OffsetViewportOrgEx(dc.Get(), 10, 0, nullptr);
      EXPECT_EQ(origin(), 15);
    }
    EXPECT_EQ(origin(), 5);
  }
  EXPECT_EQ(origin(), 0);
  SavedDc none(nullptr);  // no DC: nothing saved, nothing restored
  EXPECT_FALSE(none);
}

TEST(Handles, OwnersReleaseExactlyOnceAndMoveOwnership) {
  {  // A GDI object is deleted when its owner ends, not when a moved-from owner ends.
    UniqueBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
    HBRUSH raw = brush.Get();
    ASSERT_NE(::GetObjectType(raw), 0u);
    {
      UniqueBrush taken(std::move(brush));
      EXPECT_FALSE(brush);
      EXPECT_NE(::GetObjectType(raw), 0u);
    }
    EXPECT_EQ(::GetObjectType(raw), 0u);
  }
  {  // Release gives the handle up without deleting it.
    UniqueBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
    HBRUSH raw = brush.Release();
    EXPECT_NE(::GetObjectType(raw), 0u);
    ::DeleteObject(raw);
  }
  {  // Kernel handles: INVALID_HANDLE_VALUE counts as none; a real one is closed.
    UniqueKernelHandle none(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none);
    HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE duplicate = nullptr;
    {
      UniqueKernelHandle owner(event);
      ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), event, ::GetCurrentProcess(),
                                    &duplicate, 0, FALSE, DUPLICATE_SAME_ACCESS));
    }
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(event, &flags));
    EXPECT_TRUE(::GetHandleInformation(duplicate, &flags));
    ::CloseHandle(duplicate);
  }
  {  // Move assignment releases what the target held.
    UniqueMenu a(::CreatePopupMenu());
    UniqueMenu b(::CreatePopupMenu());
    HMENU old = a.Get();
    a = std::move(b);
    EXPECT_FALSE(::IsMenu(old));
    EXPECT_TRUE(::IsMenu(a.Get()));
  }
  {  // A window DC goes back to the window it came from.
    WindowDc dc(nullptr);
    EXPECT_TRUE(dc);
    WindowDc moved(std::move(dc));
    EXPECT_FALSE(dc);
    EXPECT_TRUE(moved);
  }
}

}  // namespace
}  // namespace pelmora::win
