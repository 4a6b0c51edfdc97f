#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "base/errors.h"
#include "base/format.h"
#include "base/strings.h"
#include "base/win/text.h"
#include "richtext/win/rich_edit.h"
#include "richtext/win/rich_edit_fixture.h"
#include "support/file_bytes.h"
#include "support/win/clipboard_text.h"

namespace pelmora::test {
namespace {

// The program's names are UTF-16 at the system; these tests build theirs in Shift-JIS.
FileName Wide(const std::string& sjis) { return FileName(win::WideFromSjis(sjis)); }

void WriteFile(const std::string& path, const std::string& bytes) {
  test::WriteBytes(win::WideFromSjis(path), bytes);
}

std::string ReadFile(const std::string& path) { return test::ReadBytes(win::WideFromSjis(path)); }

// Nobody holds the file open: only then can it be opened without any sharing.
bool IsClosed(const std::string& path) {
  HANDLE file = ::CreateFileW(win::WideFromSjis(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  return true;
}

LRESULT LineCount(HWND control) { return ::SendMessageW(control, EM_GETLINECOUNT, 0, 0); }

TEST_F(RichEditTest, SaveWritesRtfWhateverTheExtension) {
  view_->Clear();
  SetText("保存 saved text");
  for (const char* name : {"save.txt", "save.rft", "save", "save.rtf"}) {
    TempFile file(name);
    view_->SaveToFile(Wide(file.Path()));
    const std::string bytes = ReadFile(file.Path());
    EXPECT_EQ(bytes.rfind("{\\rtf", 0), 0u) << name << ": " << bytes.substr(0, 40);
    EXPECT_NE(bytes.find("saved text"), std::string::npos) << name;
    EXPECT_TRUE(IsClosed(file.Path())) << name;
  }
}

TEST_F(RichEditTest, SavedRtfLoadsBackWithItsFormatting) {
  view_->Clear();
  SetText("plain bold");
  Select(6, 10);
  view_->SetSelStyle(fsBold);
  view_->SetSelColor(RGB(255, 0, 0));
  view_->SetSelSize(20);
  TempFile file("round.txt");
  view_->SaveToFile(Wide(file.Path()));

  TRichEdit other(parent_, RECT{0, 0, 300, 200});
  other.LoadFromFile(Wide(file.Path()));
  EXPECT_TRUE(IsClosed(file.Path()));
  HWND control = other.Handle();
  auto format_of = [&](LONG start, LONG end) {
    CHARRANGE range{start, end};
    ::SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    ::SendMessageW(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
  };
  const CHARFORMAT2W bold = format_of(6, 10);
  EXPECT_NE(bold.dwEffects & CFE_BOLD, 0u);
  EXPECT_EQ(bold.crTextColor, RGB(255, 0, 0));
  EXPECT_EQ(bold.yHeight, 400);
  const CHARFORMAT2W plain = format_of(0, 5);
  EXPECT_EQ(plain.dwEffects & CFE_BOLD, 0u);
}

TEST_F(RichEditTest, RtfFileKeepsItsFormatting) {
  TempFile file("written.rtf");
  WriteFile(file.Path(),
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green128\\blue0;}"
            "\\f0\\fs24 normal \\b\\i\\cf1\\fs40 styled\\b0\\i0\\cf0\\fs24  end\\par}");
  view_->LoadFromFile(Wide(file.Path()));
  EXPECT_EQ(Text().rfind("normal styled end", 0), 0u) << Text();
  Select(7, 13);
  const CHARFORMAT2W styled = Format(SCF_SELECTION);
  EXPECT_NE(styled.dwEffects & CFE_BOLD, 0u);
  EXPECT_NE(styled.dwEffects & CFE_ITALIC, 0u);
  EXPECT_EQ(styled.crTextColor, RGB(0, 128, 0));
  EXPECT_EQ(styled.yHeight, 400);
  EXPECT_EQ(std::wstring(styled.szFaceName), L"Arial");
  Select(0, 6);
  EXPECT_EQ(Format(SCF_SELECTION).dwEffects & CFE_BOLD, 0u);
}

// Lines of every length from 0 to 12, so that line breaks fall on every position relative
// to the control's read requests.
std::string ManyLines(const char* line_end) {
  std::string text;
  for (int i = 0; i < 4000; ++i) {
    text.append(static_cast<std::size_t>(i % 13), static_cast<char>('a' + i % 26));
    text += line_end;
  }
  text += "最後の行";
  return text;
}

TEST_F(RichEditTest, PlainTextFilesShowTheSameLinesWhateverTheLineEnds) {
  TempFile lf("lines_lf.txt"), crlf("lines_crlf.txt"), cr("lines_cr.txt");
  WriteFile(lf.Path(), ManyLines("\n"));
  WriteFile(crlf.Path(), ManyLines("\r\n"));
  WriteFile(cr.Path(), ManyLines("\r"));

  view_->LoadFromFile(Wide(crlf.Path()));
  const std::string expected = Text();
  EXPECT_EQ(LineCount(Control()), 4001);
  EXPECT_NE(expected.find("最後の行"), std::string::npos);

  view_->LoadFromFile(Wide(lf.Path()));
  EXPECT_EQ(LineCount(Control()), 4001);
  EXPECT_TRUE(Text() == expected) << "line-feed file differs";

  view_->LoadFromFile(Wide(cr.Path()));
  EXPECT_EQ(LineCount(Control()), 4001);
  EXPECT_TRUE(Text() == expected) << "carriage-return file differs";
  EXPECT_TRUE(IsClosed(cr.Path()));
}

TEST_F(RichEditTest, TextLimitIsLiftedWhenTheViewIsMade) {
  view_->Clear();
  EXPECT_EQ(Send(EM_GETLIMITTEXT), 0x7FFFFFF0);

  // Far beyond the control's default limit, pasted before any file was loaded: 2000 lines
  // of 50 characters.
  std::string big;
  for (int i = 0; i < 2000; ++i) big += "0123456789012345678901234567890123456789012345678\r\n";
  ASSERT_TRUE(test::PutClipboardText(big));
  view_->SelectAll();
  view_->Paste();
  EXPECT_GE(Send(WM_GETTEXTLENGTH), static_cast<LRESULT>(big.size()));
  EXPECT_GE(Send(EM_GETLINECOUNT), 2001);

  // A failed load leaves it as it is.
  TempFile missing("missing.txt");
  EXPECT_THROW(view_->LoadFromFile(Wide(missing.Path())), EFOpenError);
  EXPECT_EQ(Send(EM_GETLIMITTEXT), 0x7FFFFFF0);
}

TEST_F(RichEditTest, FilesThatCannotBeUsedRaiseTheirErrors) {
  view_->Clear();
  SetText("kept");
  {
    const std::string name = "C:\\pelmora no such folder\\out.rtf";
    try {
      view_->SaveToFile(Wide(name));
      ADD_FAILURE() << "saved into a missing folder";
    } catch (const EFCreateError& error) {
      EXPECT_EQ(error.Message(), pelmora::Format(strings::kFileCreateError, {name}));
    }
  }
  {
    TempFile missing("読めない.rtf");
    try {
      view_->LoadFromFile(Wide(missing.Path()));
      ADD_FAILURE() << "loaded a missing file";
    } catch (const EFOpenError& error) {
      EXPECT_EQ(error.Message(), pelmora::Format(strings::kFileOpenError, {missing.Path()}));
    }
    EXPECT_EQ(Text(), "kept");
  }
  {
    // A file held open without sharing cannot be created again.
    TempFile locked("locked.rtf");
    HANDLE holder = ::CreateFileW(win::WideFromSjis(locked.Path()).c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_THROW(view_->SaveToFile(Wide(locked.Path())), EFCreateError);
    EXPECT_THROW(view_->LoadFromFile(Wide(locked.Path())), EFOpenError);
    ::CloseHandle(holder);
  }
}

TEST_F(RichEditTest, ShiftJisTextFileLoadsUnchanged) {
  TempFile file("日本語.txt");
  WriteFile(file.Path(), "表示\\テスト\nソース");
  view_->LoadFromFile(Wide(file.Path()));
  EXPECT_EQ(Text().rfind("表示\\テスト\r\nソース", 0), 0u) << Text();
}

// A stream in memory whose writes stop after write_room bytes and whose reads or writes
// may raise.
class FaultyStream final : public TStream {
 public:
  std::size_t write_room = SIZE_MAX;
  bool raise_on_read = false;
  // Only the first read raises: the file could be read on a second pass.
  bool raise_on_first_read = false;
  bool raise_on_write = false;
  TMemoryStream bytes;

  std::size_t Read(void* buffer, std::size_t count) override {
    if (raise_on_read || std::exchange(raise_on_first_read, false)) {
      throw EReadError(strings::kReadError);
    }
    return bytes.Read(buffer, count);
  }
  std::size_t Write(const void* buffer, std::size_t count) override {
    if (raise_on_write) throw EWriteError(strings::kWriteError);
    const std::size_t n = std::min(count, write_room);
    write_room -= n;
    return bytes.Write(buffer, n);
  }
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override {
    return bytes.Seek(offset, origin);
  }
};

TEST_F(RichEditTest, StreamFailuresBecomeTheViewsErrors) {
  view_->Clear();
  SetText("some text that makes an RTF file of a few hundred bytes");
  TConversion conversion;
  auto save_fails = [&](FaultyStream& stream) {
    try {
      view_->SaveToStream(stream, conversion);
      return std::string("no error");
    } catch (const EOutOfResources& error) {
      return error.Message();
    }
  };
  {
    FaultyStream stream;
    stream.write_room = 10;
    EXPECT_EQ(save_fails(stream), strings::kStreamOutFailed) << "a short write is a failure";
  }
  {
    FaultyStream stream;
    stream.write_room = 0;
    EXPECT_EQ(save_fails(stream), strings::kStreamOutFailed) << "a full disk is a failure";
  }
  {
    FaultyStream stream;
    stream.raise_on_write = true;
    EXPECT_EQ(save_fails(stream), strings::kStreamOutFailed);
  }
  {
    FaultyStream stream;
    EXPECT_EQ(save_fails(stream), "no error");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.bytes.Data()), 5), "{\\rtf");
  }
  {
    FaultyStream stream;
    stream.bytes.Write("text", 4);
    stream.bytes.SetPosition(0);
    stream.raise_on_read = true;
    try {
      view_->LoadFromStream(stream, conversion);
      ADD_FAILURE() << "a failing read loaded";
    } catch (const EReadError& error) {
      EXPECT_EQ(error.Message(), strings::kReadError) << "the read's own error";
    }
  }
  {
    // A failed read is not taken for RTF the control could not parse: no plain-text retry
    // reads the file again and hides the failure.
    FaultyStream stream;
    stream.bytes.Write("text", 4);
    stream.bytes.SetPosition(0);
    stream.raise_on_first_read = true;
    EXPECT_THROW(view_->LoadFromStream(stream, conversion), EReadError);
  }
}

TEST_F(RichEditTest, LoadReadsFromTheStreamsPosition) {
  TConversion conversion;
  {
    const std::string bytes = "JUNKline one\nline two";
    TSpanStream stream(bytes.data(), bytes.size());
    stream.SetPosition(4);
    view_->LoadFromStream(stream, conversion);
    EXPECT_EQ(Text().rfind("line one\r\nline two", 0), 0u) << Text();
  }
  {
    const std::string bytes = "JUNK{\\rtf1\\ansi plain \\b bold\\b0\\par}";
    TSpanStream stream(bytes.data(), bytes.size());
    stream.SetPosition(4);
    view_->LoadFromStream(stream, conversion);
    EXPECT_EQ(Text().rfind("plain bold", 0), 0u) << Text();
    Select(6, 10);
    EXPECT_NE(Format(SCF_SELECTION).dwEffects & CFE_BOLD, 0u);
  }
}

}  // namespace
}  // namespace pelmora::test
