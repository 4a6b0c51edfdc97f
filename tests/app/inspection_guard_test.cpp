#include "app/inspection_guard.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

TEST(InspectionGuard, SkipsReadsOnlyInTheStateThatThrew) {
  InspectionGuard guard;
  const InspectionState state{7, 424, 231};
  EXPECT_TRUE(guard.ShouldInspect(state));

  guard.Failed(state);
  EXPECT_FALSE(guard.ShouldInspect(state));  // the repaint after the error box
  EXPECT_TRUE(guard.ShouldInspect({8, 424, 231}));
  EXPECT_TRUE(guard.ShouldInspect({7, 425, 231}));
  EXPECT_TRUE(guard.ShouldInspect({7, 424, 230}));

  // Returning to the state that threw skips again; a read that went through clears it.
  EXPECT_FALSE(guard.ShouldInspect(state));
  guard.Succeeded();
  EXPECT_TRUE(guard.ShouldInspect(state));
}

}  // namespace
}  // namespace pelmora
