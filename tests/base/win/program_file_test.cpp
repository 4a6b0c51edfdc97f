#include "base/win/program_file.h"

#include <gtest/gtest.h>

namespace pelmora::win {
namespace {

TEST(ProgramFile, TheApplicationTitleComesFromTheProgramFileName) {
  const std::wstring path = ProgramFilePath();
  EXPECT_TRUE(path.ends_with(L"\\base_win_tests.exe")) << path.size();
  // "base_win_tests.exe": cut at the dot; the first character stays as it is.
  EXPECT_EQ(ApplicationTitle(), "base_win_tests");
}

}  // namespace
}  // namespace pelmora::win
