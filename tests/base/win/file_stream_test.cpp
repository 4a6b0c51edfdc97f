#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "base/errors.h"
#include "base/stream.h"
#include "base/win/text.h"

namespace pelmora {
namespace {

// A scratch folder under the build folder whose name holds a character with a "\" second
// byte, so the name must reach the system whole.
std::string ScratchFolder() {
  std::string folder = PELMORA_BUILD_DIR;
  if (!folder.empty() && folder[0] == '/') folder = "Z:" + folder;
  folder += "\\test-表";
  ::CreateDirectoryW(win::WideFromSjis(folder).c_str(), nullptr);
  return folder;
}

TEST(FileStream, CreatesReadsAndSharesAsDesigned) {
  const std::string name = ScratchFolder() + "\\ソフト.bin";
  {  // Create truncates and writes; nobody else may open the file meanwhile.
    TFileStream out(name, FileMode::Create);
    out.WriteBuffer("abcdef", 6);
    EXPECT_THROW(TFileStream(name, FileMode::OpenRead), EFOpenError);
  }
  {  // Open for reading lets others read, not write.
    TFileStream in(name, FileMode::OpenRead);
    TFileStream second(name, FileMode::OpenRead);
    EXPECT_THROW(TFileStream(name, FileMode::Create), EFCreateError);
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
    TFileStream out(name, FileMode::Create);
    EXPECT_EQ(out.Size(), 0);
  }
  ::DeleteFileW(win::WideFromSjis(name).c_str());
}

TEST(FileStream, OpeningFailuresNameTheFile) {
  const std::string missing = ScratchFolder() + "\\無い.jpg";
  try {
    TFileStream in(missing, FileMode::OpenRead);
    FAIL();
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), "ファイル " + missing + " は開けません");
  }
  const std::string bad = ScratchFolder() + "\\no-such-folder\\x.bmp";
  try {
    TFileStream out(bad, FileMode::Create);
    FAIL();
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "ファイル " + bad + " を作成できません");
  }
}

}  // namespace
}  // namespace pelmora
