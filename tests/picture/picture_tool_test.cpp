// Runs the built picture-tool as a developer would. Skipped when the tool has not been
// built in this build directory.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/format.h"
#include "base/strings.h"
#include "picture/bmp_builder.h"
#include "support/test_paths.h"
#include "support/file_bytes.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int exit_code;
  std::string out;
  std::string err;
};

// The tool's messages as a terminal gets them.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// A 24-bit BMP of width x 1 pixels, every pixel blue 0x11, green 0x22, red 0x33.
std::string SmallBmp(int width) {
  test::BmpSpec spec;
  spec.width = width;
  for (int x = 0; x < width; ++x) spec.pixels.insert(spec.pixels.end(), {0x11, 0x22, 0x33});
  spec.pixels.resize(test::RowBytesOf(width, 24), 0);
  std::vector<std::uint8_t> bytes = test::BuildBmp(spec);
  return {bytes.begin(), bytes.end()};
}

class PictureToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tool_ = test::BuildPath("tools/picture-tool");
    if (!fs::exists(tool_)) GTEST_SKIP() << "picture-tool is not built at " << tool_;
    dir_ = fs::temp_directory_path() / ("pelmora-picture-tool-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  Outcome Run(const std::vector<std::string>& args) const {
    std::string command = "'" + tool_.string() + "'";
    for (const auto& arg : args) command += " '" + arg + "'";
    command += " >'" + (dir_ / "stdout").string() + "' 2>'" + (dir_ / "stderr").string() + "'";
    int status = std::system(command.c_str());
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return {code, test::ReadBytes(dir_ / "stdout"), test::ReadBytes(dir_ / "stderr")};
  }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  fs::path tool_;
  fs::path dir_;
};

TEST_F(PictureToolTest, ReportsErrorsWithKindAndMessage) {
  {
    Outcome o = Run({});
    EXPECT_EQ(o.exit_code, 1);
    EXPECT_NE(o.err.find("usage"), std::string::npos);
  }
  {  // Unregistered extension.
    test::WriteBytes(PathOf("photo.gif"), "GIF89a");
    Outcome o = Run({"info", PathOf("photo.gif")});
    EXPECT_EQ(o.exit_code, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "EInvalidGraphic: " + Utf8(u8"拡張子 .gif の画像形式は処理できません") + "\n");
  }
  {  // Missing file.
    Outcome o = Run({"save", PathOf("missing.bmp"), PathOf("out.bmp")});
    EXPECT_EQ(o.exit_code, 1);
    EXPECT_EQ(o.err,
              "EFOpenError: " + Utf8(u8"ファイル ") + PathOf("missing.bmp") +
                  Utf8(u8" は開けません") + "\n");
    EXPECT_FALSE(fs::exists(PathOf("out.bmp")));
  }
  {  // A kind that reads no data.
    test::WriteBytes(PathOf("a.ico"), std::string("\0\0\1\0", 4));
    Outcome o = Run({"tobmp", PathOf("a.ico"), PathOf("out.bmp")});
    EXPECT_EQ(o.exit_code, 1);
    EXPECT_EQ(o.err.rfind("EInvalidGraphic: ", 0), 0u);
  }
  {  // Damaged BMP: the magic is wrong.
    std::string bmp = SmallBmp(2);
    bmp[0] = 'X';
    test::WriteBytes(PathOf("bad.bmp"), bmp);
    Outcome o = Run({"info", PathOf("bad.bmp")});
    EXPECT_EQ(o.exit_code, 1);
    // Printed in UTF-8 for the terminal, not in the program's Shift-JIS.
    EXPECT_EQ(o.err, "EInvalidGraphic: " + Utf8(u8"ビットマップイメージが不正です") + "\n");
  }
}

TEST_F(PictureToolTest, ReadsAndWritesBitmaps) {
  test::WriteBytes(PathOf("in.BMP"), SmallBmp(3));
  {
    Outcome o = Run({"info", PathOf("in.BMP")});
    EXPECT_EQ(o.exit_code, 0) << o.err;
    EXPECT_EQ(o.out, "bitmap 3 1 24\n");
  }
  {  // The picture's own format, whatever the output name says.
    Outcome o = Run({"save", PathOf("in.BMP"), PathOf("out.jpg")});
    EXPECT_EQ(o.exit_code, 0) << o.err;
    EXPECT_EQ(test::ReadBytes(PathOf("out.jpg")), SmallBmp(3));
  }
  {
    Outcome o = Run({"tobmp", PathOf("in.BMP"), PathOf("out.bmp")});
    EXPECT_EQ(o.exit_code, 0) << o.err;
    EXPECT_EQ(test::ReadBytes(PathOf("out.bmp")), SmallBmp(3));
  }
  {  // The program's load path: clipboard bitmap and view.
    Outcome o = Run({"view", PathOf("in.BMP")});
    EXPECT_EQ(o.exit_code, 0) << o.err;
    EXPECT_EQ(o.out, "3 1\n");
  }
}

TEST_F(PictureToolTest, ConvertsBetweenJpegAndBitmap) {
  const std::string jpeg = test::DataPath("jpeg/testorig.jpg").string();
  {
    Outcome o = Run({"info", jpeg});
    EXPECT_EQ(o.exit_code, 0) << o.err;
    EXPECT_EQ(o.out, "jpeg 227 149 24\n");
  }
  {  // The decoded bitmap as BMP, read back as a bitmap.
    Outcome o = Run({"tobmp", jpeg, PathOf("decoded.bmp")});
    EXPECT_EQ(o.exit_code, 0) << o.err;
    EXPECT_EQ(Run({"info", PathOf("decoded.bmp")}).out, "bitmap 227 149 24\n");
  }
  {  // A bitmap encoded as baseline JFIF, read back as a JPEG image.
    test::WriteBytes(PathOf("in.bmp"), SmallBmp(3));
    Outcome o = Run({"tojpg", PathOf("in.bmp"), PathOf("out.jpg")});
    EXPECT_EQ(o.exit_code, 0) << o.err;
    EXPECT_EQ(test::ReadBytes(PathOf("out.jpg")).substr(0, 4), "\xFF\xD8\xFF\xE0");
    EXPECT_EQ(Run({"info", PathOf("out.jpg")}).out, "jpeg 3 1 24\n");
  }
  {  // Not JPEG data.
    test::WriteBytes(PathOf("text.jpg"), "plain text");
    Outcome o = Run({"info", PathOf("text.jpg")});
    EXPECT_EQ(o.exit_code, 1);
    EXPECT_EQ(o.err.rfind("EJPEG: ", 0), 0u) << o.err;
  }
}

TEST_F(PictureToolTest, ReadsAndWritesPngWithItsAlpha) {
  const std::string png = test::DataPath("png/pngsuite/basn6a08.png").string();
  EXPECT_EQ(Run({"info", png}).out, "png 32 32 32 alpha\n");
  EXPECT_EQ(Run({"view", png}).out, "32 32\n");
  {  // Transparency on white in BMP; kept in PNG.
    EXPECT_EQ(Run({"tobmp", png, PathOf("flat.bmp")}).exit_code, 0);
    EXPECT_EQ(Run({"info", PathOf("flat.bmp")}).out, "bitmap 32 32 24\n");
    Outcome o = Run({"topng", png, PathOf("again.png")});
    EXPECT_EQ(o.exit_code, 0) << o.err;
    EXPECT_EQ(Run({"info", PathOf("again.png")}).out, "png 32 32 32 alpha\n");
  }
  {  // A damaged file.
    Outcome o = Run({"info", test::DataPath("png/crashers/badcrc.png").string()});
    EXPECT_EQ(o.exit_code, 1);
    EXPECT_EQ(o.err.rfind("EPNG: PNG ", 0), 0u) << o.err;
    EXPECT_NE(o.err.find(" #18\n"), std::string::npos) << o.err;
  }
}

}  // namespace
}  // namespace pelmora
