#include "base/win/text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/errors.h"

#include "base/win/system_error.h"

namespace pelmora::win {
namespace {

TEST(Text, ConvertsShiftJisWhateverTheSystemCodePage) {
  // The program's literals are Shift-JIS bytes.
  EXPECT_EQ(WideFromSjis(" Pelmora　    Ver 1.00"), L" Pelmora\u3000    Ver 1.00");
  EXPECT_EQ(WideFromSjis("終　了"), L"\u7D42\u3000\u4E86");
  // A second byte that is "\" stays part of its character ("表" is 0x95 0x5C).
  EXPECT_EQ(WideFromSjis("C:\\表\\a"), L"C:\\\u8868\\a");
  EXPECT_EQ(SjisFromWide(L"\u8868\\"), "表\\");
  EXPECT_EQ(SjisFromWide(WideFromSjis("ファイルの読込み")), "ファイルの読込み");
  EXPECT_EQ(WideFromSjis(""), L"");
  EXPECT_EQ(SjisFromWide(L""), "");
  // Embedded zeros are kept, not taken as the end.
  EXPECT_EQ(WideFromSjis(std::string_view("a\0b", 3)), std::wstring(L"a\0b", 3));
  // No Shift-JIS form: replaced, not dropped.
  const std::string replaced = SjisFromWide(L"x\U0001F600y");
  EXPECT_EQ(replaced.front(), 'x');
  EXPECT_EQ(replaced.back(), 'y');
  EXPECT_NE(replaced.find('?'), std::string::npos);
}

TEST(Text, SystemErrorTextIsTrimmedAndBounded) {
  EXPECT_EQ(SystemErrorText(0), "");
  const std::string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_LE(text.size(), 256u);
  EXPECT_NE(text.back(), '\n');
  EXPECT_NE(text.back(), '\r');
  EXPECT_NE(text.back(), ' ');

  ::SetLastError(0);
  try {
    RaiseOutOfResources();
    FAIL();
  } catch (const EOutOfResources& error) {
    EXPECT_EQ(error.Message(), "システム リソースが足りません");
  }
  ::SetLastError(ERROR_FILE_NOT_FOUND);
  try {
    RaiseLastOSError();
    FAIL();
  } catch (const EOSError& error) {
    EXPECT_EQ(error.ErrorCode(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(error.Message(), "システムエラー。コード：2.\n" + text);
  }
}

}  // namespace
}  // namespace pelmora::win
