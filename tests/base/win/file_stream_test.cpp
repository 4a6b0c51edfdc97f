#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/errors.h"
#include "base/stream.h"
#include "base/win/text.h"
#include "support/error_message.h"
#include "support/temp_folder.h"

namespace pelmora {
namespace {

using test::MessageOf;

// The program's names are UTF-16 at the system; these tests build theirs in Shift-JIS.
FileName Wide(const std::string& sjis) { return FileName(win::WideFromSjis(sjis)); }

// A scratch folder whose name holds a character with a "\" second byte, so the name must
// reach the system whole.
std::string ScratchFolder() {
  static const std::string folder =
      win::SjisFromWide(test::EmptyTempFolder(L"pelmora-file-stream-\u8868").native());
  return folder;
}

TEST(FileStream, CreatesReadsAndSharesAsDesigned) {
  const std::string name = ScratchFolder() + "\\ソフト.bin";
  {  // Create truncates and writes; nobody else may open the file meanwhile.
    TFileStream out(Wide(name), FileMode::Create);
    out.WriteBuffer("abcdef", 6);
    EXPECT_THROW(TFileStream(Wide(name), FileMode::OpenRead), EFOpenError);
  }
  {  // Open for reading lets others read, not write.
    TFileStream in(Wide(name), FileMode::OpenRead);
    TFileStream second(Wide(name), FileMode::OpenRead);
    EXPECT_THROW(TFileStream(Wide(name), FileMode::Create), EFCreateError);
    EXPECT_EQ(in.Size(), 6);
    char buffer[4] = {};
    in.SetPosition(2);
    in.ReadBuffer(buffer, 4);
    EXPECT_EQ(std::string(buffer, 4), "cdef");
    EXPECT_EQ(in.Read(buffer, 4), 0u);
    EXPECT_THROW(in.ReadBuffer(buffer, 1), EReadError);
    EXPECT_EQ(in.Seek(-1, SeekOrigin::End), 5);
    EXPECT_EQ(in.Write("x", 1), 0u);  // read-only
  }
  {  // Create truncates an existing file.
    TFileStream out(Wide(name), FileMode::Create);
    EXPECT_EQ(out.Size(), 0);
  }
  ::DeleteFileW(win::WideFromSjis(name).c_str());
}

std::string ReadWhole(const std::string& name) {
  TFileStream in(Wide(name), FileMode::OpenRead);
  std::string bytes(static_cast<std::size_t>(in.Size()), '\0');
  in.ReadBuffer(bytes.data(), bytes.size());
  return bytes;
}

// The names in a folder, as a wildcard search lists them.
std::size_t FileCount(const std::string& folder) {
  std::size_t count = 0;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW(win::WideFromSjis(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (std::wstring_view(found.cFileName) != L"." && std::wstring_view(found.cFileName) != L"..") {
      ++count;
    }
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return count;
}

TEST(FileStream, ReplacingStreamKeepsTheOldFileUnlessComplete) {
  const std::string folder = ScratchFolder() + "\\replace";
  ::CreateDirectoryW(win::WideFromSjis(folder).c_str(), nullptr);
  const std::string name = folder + "\\保存ソ.bmp";
  const std::wstring wide_name = win::WideFromSjis(name);
  {
    TFileStream old(Wide(name), FileMode::Create);
    old.WriteBuffer("old bytes", 9);
  }
  ASSERT_EQ(FileCount(folder), 1u);
  {
    SCOPED_TRACE("the file is held open without sharing when it is to be replaced");
    HANDLE holder = ::CreateFileW(wide_name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    {
      TReplacingFileStream file(Wide(name));
      file.WriteBuffer("new bytes", 9);
      EXPECT_THROW(file.Commit(), EFCreateError);
    }
    ::CloseHandle(holder);
    EXPECT_EQ(ReadWhole(name), "old bytes");
    EXPECT_EQ(FileCount(folder), 1u);
  }
  {
    SCOPED_TRACE("complete");
    TReplacingFileStream file(Wide(name));
    file.WriteBuffer("new bytes", 9);
    file.Commit();
  }
  EXPECT_EQ(ReadWhole(name), "new bytes");
  EXPECT_EQ(FileCount(folder), 1u);
  ::DeleteFileW(wide_name.c_str());
}

TEST(FileStream, OpeningFailuresNameTheFile) {
  const std::string missing = ScratchFolder() + "\\無い.jpg";
  EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream(Wide(missing), FileMode::OpenRead); }),
            "ファイル " + missing + " は開けません");
  const std::string bad = ScratchFolder() + "\\no-such-folder\\x.bmp";
  EXPECT_EQ(MessageOf<EFCreateError>([&] { TFileStream(Wide(bad), FileMode::Create); }),
            "ファイル " + bad + " を作成できません");
  // A name Shift-JIS cannot hold keeps every character in the message's pieces.
  const FileName any_script(win::WideFromSjis(ScratchFolder()) + L"\\caf\u00E9-\U0001F642.bmp");
  try {
    TFileStream in(any_script, FileMode::OpenRead);
    FAIL();
  } catch (const EFOpenError& error) {
    ASSERT_EQ(error.Pieces().size(), 3u);
    EXPECT_EQ(std::get<FileName>(error.Pieces()[1]), any_script);
  }
}

}  // namespace
}  // namespace pelmora
