#include "picture/picture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "base/errors.h"
#include "base/strings.h"
#include "picture/bitmap.h"
#include "picture/bmp_builder.h"
#include "picture/clipboard_formats.h"
#include "picture/fake_graphic.h"
#include "picture/file_formats.h"
#include "picture/icon.h"
#include "picture/jpeg_image.h"
#include "picture/metafile.h"
#include "support/test_paths.h"
#include "support/error_message.h"
#include "support/file_bytes.h"

namespace pelmora {
namespace {

using test::FakeGraphic;

constexpr std::uint16_t kFakeClipboardFormat = 0xC0FA;

// Registers the fake kind under "fak" and two clipboard formats for the test's duration,
// gives each test a scratch folder, and counts the picture's notifications.
class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFileFormat("fak", "fake", FakeGraphic::kClass);
    TClipboardFormats::Instance().Add(kFakeClipboardFormat, FakeGraphic::kClass);
    TClipboardFormats::Instance().Add(FakeGraphic::kBadClipboardFormat, FakeGraphic::kClass);
    dir_ = std::filesystem::temp_directory_path() /
           ("pelmora-picture-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    picture_.SetOnChange([this](TPicture& sender) {
      EXPECT_EQ(&sender, &picture_);
      ++changes_;
    });
  }
  void TearDown() override {
    UnregisterGraphicClass(FakeGraphic::kClass);
    std::filesystem::remove_all(dir_);
  }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::string path = PathOf(name);
    test::WriteBytes(path, bytes);
    return path;
  }
  static std::string Read(const std::filesystem::path& path) { return test::ReadBytes(path); }
  // Loads a fake graphic holding data and forgets the change that made it.
  FakeGraphic& HoldFake(const std::string& data) {
    picture_.LoadFromFile(Write("held.fak", data));
    changes_ = 0;
    return dynamic_cast<FakeGraphic&>(*picture_.Graphic());
  }

  std::filesystem::path dir_;
  TPicture picture_;
  int changes_ = 0;
};

TEST_F(PictureTest, LoadHoldsTheRegisteredKindAndReportsOneChange) {
  EXPECT_EQ(picture_.Graphic(), nullptr);
  EXPECT_EQ(picture_.Width(), 0);
  EXPECT_EQ(picture_.Height(), 0);

  // The graphic reports a change while loading; the owner sees only the one at the end.
  picture_.LoadFromFile(Write("photo.FaK", "12345"));
  auto* fake = dynamic_cast<FakeGraphic*>(picture_.Graphic());
  ASSERT_NE(fake, nullptr);
  EXPECT_EQ(fake->data, "12345");
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(picture_.Width(), 5);
  EXPECT_EQ(picture_.Height(), 1);

  // Changes of the held graphic reach the owner from now on.
  fake->Changed();
  EXPECT_EQ(changes_, 2);
}

TEST_F(PictureTest, FailedLoadKeepsTheOldGraphicAndReportsNoChange) {
  FakeGraphic& old = HoldFake("old");

  {  // Content the kind rejects.
    EXPECT_EQ(test::MessageOf<EInvalidGraphic>([&] { picture_.LoadFromFile(Write("bad.fak", "BAD")); }),
              "bad fake");
  }
  {  // A file that does not exist.
    std::string missing = PathOf("missing.fak");
    EXPECT_EQ(test::MessageOf<EFOpenError>([&] { picture_.LoadFromFile(missing); }),
              Format(strings::kFileOpenError, {missing}));
  }
  {  // Kinds that are registered but read no data.
    EXPECT_EQ(
        test::MessageOf<EInvalidGraphic>([&] { picture_.LoadFromFile(Write("a.ico", "\0\0\1\0")); }),
        Format(strings::kUnknownExtension, {"ico"}));
    EXPECT_EQ(test::MessageOf<EInvalidGraphic>([&] { picture_.LoadFromFile(Write("a.WMF", "x")); }),
              Format(strings::kUnknownExtension, {"wmf"}));
    std::string emf(44, '\0');
    emf[0] = 1;
    emf.replace(40, 4, " EMF");
    EXPECT_EQ(test::MessageOf<EInvalidGraphic>([&] { picture_.LoadFromFile(Write("a.emf", emf)); }),
              Format(strings::kUnknownExtension, {"emf"}));
  }
  EXPECT_EQ(picture_.Graphic(), &old);
  EXPECT_EQ(old.data, "old");
  EXPECT_EQ(changes_, 0);
}

TEST_F(PictureTest, UnregisteredExtensionNamesItAsWritten) {
  FakeGraphic& old = HoldFake("old");
  auto message_for = [&](const std::string& name) {
    return test::MessageOf<EInvalidGraphic>([&] { picture_.LoadFromFile(name); });
  };
  {  // The dot belongs to a folder: no extension at all.
    EXPECT_EQ(message_for("C:\\my.pics\\photo"), "拡張子 . の画像形式は処理できません");
    EXPECT_EQ(message_for("C:photo"), "拡張子 . の画像形式は処理できません");
    EXPECT_EQ(message_for("C:.x\\photo"), "拡張子 . の画像形式は処理できません");
  }
  {  // Case as in the name, not lower-cased.
    EXPECT_EQ(message_for("photo.gif"), "拡張子 .gif の画像形式は処理できません");
    EXPECT_EQ(message_for("C:\\a\\photo.GiF"), "拡張子 .GiF の画像形式は処理できません");
    EXPECT_EQ(message_for("photo.bmp.gif"), "拡張子 .gif の画像形式は処理できません");
  }
  {  // An extension in a script Shift-JIS lacks is kept whole, for the display to show.
    const FileName name(u8"C:\\café\\사진.图片");
    const FileName extension(u8"图片");
    try {
      picture_.LoadFromFile(name);
      ADD_FAILURE() << "no error";
    } catch (const EInvalidGraphic& error) {
      ASSERT_EQ(error.Pieces().size(), 3u);
      EXPECT_EQ(std::get<FileName>(error.Pieces()[1]), extension);
      EXPECT_EQ(std::get<std::string>(error.Pieces()[2]), " の画像形式は処理できません");
    }
  }
  EXPECT_EQ(picture_.Graphic(), &old);
  EXPECT_EQ(changes_, 0);
}

TEST_F(PictureTest, SaveWritesTheGraphicsOwnFormWhateverTheName) {
  {  // No graphic: nothing happens and no file appears.
    TPicture empty;
    std::string path = PathOf("empty.bmp");
    empty.SaveToFile(path);
    EXPECT_FALSE(std::filesystem::exists(path));
  }
  {  // The name's extension does not choose the format, and an existing file is replaced.
    HoldFake("abc");
    std::string path = Write("out.jpg", "previous content that is longer");
    picture_.SaveToFile(path);
    EXPECT_EQ(Read(path), "FAKE:abc");
  }
  {  // A file that cannot be created.
    std::string path = PathOf("no-such-folder/out.fak");
    EXPECT_EQ(test::MessageOf<EFCreateError>([&] { picture_.SaveToFile(path); }),
              Format(strings::kFileCreateError, {path}));
  }
  EXPECT_EQ(changes_, 0);
}

TEST_F(PictureTest, AssignHoldsItsOwnCopyOfTheSourcesKind) {
  FakeGraphic source;
  source.data = "source";
  {  // A graphic: a new graphic of its kind, not the caller's object.
    picture_.Assign(&source);
    auto* held = dynamic_cast<FakeGraphic*>(picture_.Graphic());
    ASSERT_NE(held, nullptr);
    EXPECT_NE(held, &source);
    EXPECT_EQ(held->data, "source");
    EXPECT_EQ(changes_, 1);
    held->Changed();
    EXPECT_EQ(changes_, 2);
  }
  {  // A picture: its graphic is copied; the source picture keeps its own.
    TPicture other;
    other.Assign(&source);
    picture_.Assign(&other);
    EXPECT_NE(picture_.Graphic(), other.Graphic());
    EXPECT_EQ(dynamic_cast<FakeGraphic&>(*picture_.Graphic()).data, "source");
    EXPECT_EQ(changes_, 3);
  }
  {  // Itself: still a fresh copy of the same content.
    picture_.Assign(&picture_);
    EXPECT_EQ(dynamic_cast<FakeGraphic&>(*picture_.Graphic()).data, "source");
    picture_.Assign(picture_.Graphic());
    EXPECT_EQ(dynamic_cast<FakeGraphic&>(*picture_.Graphic()).data, "source");
    EXPECT_EQ(changes_, 5);
  }
  {  // An empty picture, or none: the graphic is dropped.
    TPicture empty;
    picture_.Assign(&empty);
    EXPECT_EQ(picture_.Graphic(), nullptr);
    EXPECT_EQ(changes_, 6);
    HoldFake("again");
    picture_.Assign(nullptr);
    EXPECT_EQ(picture_.Graphic(), nullptr);
    EXPECT_EQ(changes_, 1);
  }
}

// A kind whose assignment always fails, as a JPEG image refuses a graphic it cannot copy.
class RefusingGraphic final : public FakeGraphic {
 public:
  static const GraphicClass kClass;
  const GraphicClass& Class() const noexcept override { return kClass; }
  void Assign(const TPersistent*) override { throw EConvertError("refused"); }
};
const GraphicClass RefusingGraphic::kClass{"TRefusingGraphic", &FakeGraphic::kClass, [] {
                                             return std::unique_ptr<TGraphic>(new RefusingGraphic);
                                           }};

TEST_F(PictureTest, FailedAssignKeepsTheOldGraphic) {
  FakeGraphic& old = HoldFake("old");
  {
    RefusingGraphic source;
    EXPECT_THROW(picture_.Assign(&source), EConvertError);
  }
  {  // Not a graphic at all.
    TPicture picture_of_nothing;
    struct Stranger : TPersistent {
      const char* ClassName() const noexcept override { return "TStranger"; }
    } stranger;
    EXPECT_EQ(test::MessageOf<EConvertError>([&] { picture_.Assign(&stranger); }),
              Format(strings::kAssignError, {"TStranger", "TPicture"}));
  }
  EXPECT_EQ(picture_.Graphic(), &old);
  EXPECT_EQ(changes_, 0);
}

TEST_F(PictureTest, BitmapReplacesAnyOtherGraphicWithAnEmptyBitmap) {
  {  // No graphic.
    TBitmap& bitmap = picture_.Bitmap();
    EXPECT_EQ(picture_.Graphic(), &bitmap);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(changes_, 1);
    // Asking again keeps it and reports nothing.
    EXPECT_EQ(&picture_.Bitmap(), &bitmap);
    EXPECT_EQ(changes_, 1);
    // Its changes reach the owner.
    bitmap.Changed();
    EXPECT_EQ(changes_, 2);
  }
  {  // Another kind, whatever its content, is discarded.
    HoldFake("not a bitmap");
    TBitmap& bitmap = picture_.Bitmap();
    EXPECT_EQ(picture_.Graphic(), &bitmap);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(picture_.Width(), 0);
    EXPECT_EQ(changes_, 1);
  }
}

TEST_F(PictureTest, ClipboardFormReplacesTheGraphicAsAWhole) {
  FakeGraphic& old = HoldFake("old");
  {  // Formats without a registered kind, and kinds that refuse the data.
    EXPECT_EQ(test::MessageOf<EInvalidGraphic>([&] { picture_.LoadFromClipboardFormat(1, {}); }),
              strings::kUnknownClipboardFormat);
    EXPECT_EQ(
        test::MessageOf<EInvalidGraphic>([&] { picture_.LoadFromClipboardFormat(kCfMetafilePict, {}); }),
        strings::kUnknownClipboardFormat);
    EXPECT_THROW(picture_.LoadFromClipboardFormat(FakeGraphic::kBadClipboardFormat, {}),
                 EInvalidGraphic);
    EXPECT_EQ(picture_.Graphic(), &old);
    EXPECT_EQ(changes_, 0);
  }
  {
    picture_.LoadFromClipboardFormat(kFakeClipboardFormat, {});
    ASSERT_NE(picture_.Graphic(), nullptr);
    EXPECT_EQ(dynamic_cast<FakeGraphic&>(*picture_.Graphic()).data, "clip");
    EXPECT_EQ(changes_, 1);
    std::uint16_t format = 0;
    ClipboardData data;
    picture_.SaveToClipboardFormat(format, data);
    EXPECT_EQ(format, 0xC0DE);
  }
  {  // No graphic: the outputs stay as they were.
    TPicture empty;
    std::uint16_t format = 77;
    ClipboardData data;
    empty.SaveToClipboardFormat(format, data);
    EXPECT_EQ(format, 77);
    EXPECT_TRUE(TPicture::CanLoadClipboardFormat(kCfBitmap));
    EXPECT_FALSE(TPicture::CanLoadClipboardFormat(1));
  }
}

std::string SmallBmp() {
  test::BmpSpec spec;
  spec.width = 3;
  spec.pixels = {0x11, 0x22, 0x33, 0x11, 0x22, 0x33, 0x11, 0x22, 0x33, 0, 0, 0};
  std::vector<std::uint8_t> bytes = test::BuildBmp(spec);
  return {bytes.begin(), bytes.end()};
}

TEST_F(PictureTest, BitmapsAndJpegImagesLoadByExtensionAndSaveInTheirOwnFormat) {
  InitJpegImageKind(24);
  const std::string bmp = SmallBmp();
  const std::string jpeg = Read(test::DataPath("jpeg/testorig.jpg"));
  ASSERT_FALSE(jpeg.empty());
  {  // A name ending .BmP, in mixed case, loads as a bitmap; saved as .jpg it is still BMP.
    picture_.LoadFromFile(Write("photo.BmP", bmp));
    ASSERT_NE(picture_.Graphic(), nullptr);
    EXPECT_EQ(&picture_.Graphic()->Class(), &TBitmap::StaticClass());
    EXPECT_EQ(picture_.Width(), 3);
    EXPECT_EQ(picture_.Height(), 1);
    EXPECT_EQ(changes_, 1);
    std::string path = PathOf("out.jpg");
    picture_.SaveToFile(path);
    EXPECT_EQ(Read(path), bmp);
  }
  {  // A damaged BMP leaves the bitmap shown before.
    TGraphic* before = picture_.Graphic();
    std::string damaged = bmp;
    damaged[14] = 7;  // no header has 7 bytes
    EXPECT_THROW(picture_.LoadFromFile(Write("damaged.bmp", damaged)), EInvalidGraphic);
    EXPECT_THROW(picture_.LoadFromFile(Write("short.bmp", bmp.substr(0, 30))), Exception);
    EXPECT_EQ(picture_.Graphic(), before);
    EXPECT_EQ(picture_.Width(), 3);
    EXPECT_EQ(changes_, 1);
  }
  {  // A name ending .JPEG loads a JPEG image; saved as .bmp it writes the JPEG bytes.
    picture_.LoadFromFile(Write("photo.JPEG", jpeg));
    ASSERT_NE(picture_.Graphic(), nullptr);
    EXPECT_EQ(&picture_.Graphic()->Class(), &TJPEGImage::StaticClass());
    EXPECT_EQ(changes_, 2);
    std::string path = PathOf("out.bmp");
    picture_.SaveToFile(path);
    EXPECT_EQ(Read(path), jpeg);
  }
  {  // Asking for the bitmap discards the JPEG image.
    TBitmap& bitmap = picture_.Bitmap();
    EXPECT_EQ(picture_.Graphic(), &bitmap);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(picture_.Width(), 0);
    EXPECT_EQ(changes_, 3);
  }
  {  // Assigning a JPEG image keeps its kind and bytes.
    TJPEGImage source;
    TMemoryStream stream(std::vector<std::uint8_t>(jpeg.begin(), jpeg.end()));
    source.LoadFromStream(stream);
    picture_.Assign(&source);
    auto* held = dynamic_cast<TJPEGImage*>(picture_.Graphic());
    ASSERT_NE(held, nullptr);
    TMemoryStream saved;
    held->SaveToStream(saved);
    EXPECT_EQ(saved.Bytes(), std::vector<std::uint8_t>(jpeg.begin(), jpeg.end()));
    EXPECT_EQ(picture_.Width(), source.Width());
  }
  DoneJpegImageKind();
  EXPECT_EQ(TFileFormatsList::Instance().FindExt("jpg"), nullptr);
}

}  // namespace
}  // namespace pelmora
