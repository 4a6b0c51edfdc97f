#include "app/inspection_guard.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

TEST(InspectionGuard, LooksOnlyAtAClipboardNotSeenYet) {
  InspectionGuard guard;
  EXPECT_TRUE(guard.ShouldInspect(0));  // the first paint always looks

  guard.Seen(7);
  EXPECT_FALSE(guard.ShouldInspect(7));  // repaints, resizes, the repaint after an error box
  EXPECT_TRUE(guard.ShouldInspect(8));
  // Any difference counts, also a number that wrapped around below the last one.
  EXPECT_TRUE(guard.ShouldInspect(6));

  guard.Seen(8);
  EXPECT_FALSE(guard.ShouldInspect(8));
  EXPECT_TRUE(guard.ShouldInspect(7));
}

}  // namespace
}  // namespace pelmora
