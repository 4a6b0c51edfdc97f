#include "app/win/instance_guard.h"

#include <gtest/gtest.h>

#include "app/win/application.h"
#include "app/win/main_window.h"
#include "support/win/menus.h"
#include "support/win/pelmora_run.h"

namespace pelmora {
namespace {

using test::PelmoraRun;

TEST(InstanceGuard, OpensFirstAndCreatesOnlyWhenAbsent) {
  const char* name = "PelmoraGuardTest";
  InstanceGuard first = AcquireInstanceGuard(name);
  EXPECT_FALSE(first.another_copy_running);
  EXPECT_TRUE(first.mutex);
  {  // While the first holds it, every later look finds it and keeps no handle.
    InstanceGuard second = AcquireInstanceGuard(name);
    EXPECT_TRUE(second.another_copy_running);
    EXPECT_FALSE(second.mutex);
  }
  first.mutex.Reset();
  // Gone with the last handle: the next copy passes.
  InstanceGuard again = AcquireInstanceGuard(name);
  EXPECT_FALSE(again.another_copy_running);
}

TEST(InstanceGuard, SecondCopyEndsAtOnceAndTheFirstRunsOn) {
  PelmoraRun first;
  ASSERT_TRUE(first.process().Started()) << "Pelmora.exe not found next to the tests";
  ASSERT_NE(first.main(), nullptr);
  {
    test::Process second(test::PelmoraProgramPath());
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.WaitForExit(10000), std::optional<DWORD>(0));
  }
  EXPECT_TRUE(first.process().Running());
  EXPECT_TRUE(::IsWindowVisible(first.main()));
  // The close box ends the first copy with code 0.
  EXPECT_EQ(first.Close(), std::optional<DWORD>(0));

  // Once it has ended, a new copy starts normally; its quit command ends it the same way.
  PelmoraRun next;
  ASSERT_NE(next.main(), nullptr);
  // "終　了", the menu's last item.
  ASSERT_TRUE(test::ChooseFromContextMenu(next.main(), POINT{60, 40}, 0));
  EXPECT_EQ(next.process().WaitForExit(10000), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace pelmora
