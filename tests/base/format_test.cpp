#include "base/format.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "base/strings.h"

namespace pelmora {
namespace {

TEST(Format, FillsTextAndNumbersInTurn) {
  EXPECT_EQ(Format("%s を %s に", {"TBitmap", "TJPEGImage"}), "TBitmap を TJPEGImage に");
  EXPECT_EQ(Format(strings::kJpegError, {std::int64_t{42}}), "JPEG エラー #42");
  EXPECT_EQ(Format(" (%dx%d)", {std::int64_t{640}, std::int64_t{-1}}), " (640x-1)");
}

TEST(Format, KeepsPercentSignsThatTakeNoArgument) {
  EXPECT_EQ(Format("100%% %d%", {std::int64_t{5}}), "100% 5%");
  EXPECT_EQ(Format("%s and %s", {"one"}), "one and %s");
  EXPECT_EQ(Format("%x"), "%x");
}

TEST(Errors, CarryKindAndFormattedMessage) {
  try {
    throw EFOpenError(strings::kFileOpenError, {"C:\\a.bmp"});
  } catch (const EStreamError& e) {
    EXPECT_STREQ(e.ClassName(), "EFOpenError");
    EXPECT_EQ(e.Message(), "ファイル C:\\a.bmp は開けません");
  }
  EOSError os(5, "Access denied");
  EXPECT_EQ(os.Message(), "システムエラー。コード：5.\nAccess denied");
  EXPECT_EQ(os.ErrorCode(), 5u);
  EJPEG jpeg(strings::kJpegError, {std::int64_t{53}});
  const EInvalidGraphic& as_graphic = jpeg;
  EXPECT_STREQ(as_graphic.ClassName(), "EJPEG");
}

}  // namespace
}  // namespace pelmora
