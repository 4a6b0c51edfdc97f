#include "base/app_title.h"

#include <gtest/gtest.h>

#include <string>

namespace pelmora {
namespace {

using namespace std::string_literals;

TEST(ApplicationTitle, NameBeforeFirstDotWithTheRestLowerCased) {
  EXPECT_EQ(ApplicationTitleFromPath("C:\\x\\VIEWER.EXE"), "Viewer");
  EXPECT_EQ(ApplicationTitleFromPath("C:\\Program Files\\Pelmora\\Pelmora.exe"), "Pelmora");
  EXPECT_EQ(ApplicationTitleFromPath("pelmora.exe"), "pelmora");
  EXPECT_EQ(ApplicationTitleFromPath("C:\\Program Files\\ClipView.v2.exe"), "Clipview");
  EXPECT_EQ(ApplicationTitleFromPath("C:\\Tools\\APP"), "App");
  EXPECT_EQ(ApplicationTitleFromPath("C:\\my.tools\\VIEW.EXE"), "View");
  EXPECT_EQ(ApplicationTitleFromPath("C:\\Tools\\"), "");
  EXPECT_EQ(ApplicationTitleFromPath("C:\\Tools\\.EXE"), "");
  EXPECT_EQ(ApplicationTitleFromPath(""), "");
}

TEST(ApplicationTitle, DoubleByteCharactersStayWhole) {
  // A folder ending in "表" (second byte "\") is not cut inside that character.
  EXPECT_EQ(ApplicationTitleFromPath("C:\\表\\ABC.EXE"), "Abc");
  EXPECT_EQ(ApplicationTitleFromPath("C:\\ツール表\\ABC.EXE"), "Abc");
  // A double-byte first character is kept whole; the letters after it are lower-cased,
  // the second bytes of later characters ("ト" ends in "g", "キ" in "L") are not.
  EXPECT_EQ(ApplicationTitleFromPath("C:\\x\\表VIEW.EXE"), "表view");
  EXPECT_EQ(ApplicationTitleFromPath("C:\\x\\Aテキスト.EXE"), "Aテキスト");
  EXPECT_EQ(ApplicationTitleFromPath("C:\\x\\キAB.exe"), "キab");
}

}  // namespace
}  // namespace pelmora
