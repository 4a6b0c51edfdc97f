#include "app/last_look.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

TEST(LastLook, LooksOnlyAtAClipboardNotSeenYet) {
  LastLook last;
  EXPECT_TRUE(last.IsBefore(0));  // the first paint always looks

  last.Note(7);
  EXPECT_FALSE(last.IsBefore(7));  // repaints, resizes, the repaint after an error box
  EXPECT_TRUE(last.IsBefore(8));
  // Any difference counts, also a number that wrapped around below the last one.
  EXPECT_TRUE(last.IsBefore(6));

  last.Note(8);
  EXPECT_FALSE(last.IsBefore(8));
  EXPECT_TRUE(last.IsBefore(7));
}

}  // namespace
}  // namespace pelmora
