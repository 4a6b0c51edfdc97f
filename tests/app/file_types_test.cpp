#include "app/file_types.h"

#include <gtest/gtest.h>

#include <string>

#include "picture/bitmap.h"
#include "picture/file_formats.h"
#include "picture/jpeg_image.h"
#include "picture/png_image.h"

namespace pelmora {
namespace {

TEST(FileTypes, PictureSaveFormatByExtensionInAnyCase) {
  for (const char* jpeg : {".jpg", ".JPG", ".jpeg", ".Jpeg", ".jpe", ".JFIF"}) {
    EXPECT_EQ(PictureSaveFormat(jpeg), PictureFileFormat::Jpeg) << jpeg;
  }
  for (const char* bitmap : {".bmp", ".BMP", ".dib", ".Dib"}) {
    EXPECT_EQ(PictureSaveFormat(bitmap), PictureFileFormat::Bitmap) << bitmap;
  }
  EXPECT_EQ(PictureSaveFormat(".PNG"), PictureFileFormat::Png);
  for (const char* other : {".gif", ".jpgx", ".", "", "jpg", ".txt"}) {
    EXPECT_EQ(PictureSaveFormat(other), PictureFileFormat::None) << other;
  }
}

TEST(FileTypes, LoadedKindTakesOlderSavedTextToo) {
  EXPECT_EQ(LoadedFileKindOf(".JPG"), LoadedFileKind::Jpeg);
  EXPECT_EQ(LoadedFileKindOf(".jpeg"), LoadedFileKind::Jpeg);
  EXPECT_EQ(LoadedFileKindOf(".bmp"), LoadedFileKind::Bitmap);
  EXPECT_EQ(LoadedFileKindOf(".DIB"), LoadedFileKind::Bitmap);
  for (const char* text : {".txt", ".RTF", ".rft", ".Rft"}) {
    EXPECT_EQ(LoadedFileKindOf(text), LoadedFileKind::Text) << text;
  }
  EXPECT_EQ(LoadedFileKindOf(".Png"), LoadedFileKind::Png);
  EXPECT_EQ(LoadedFileKindOf(".gif"), LoadedFileKind::None);
  EXPECT_EQ(LoadedFileKindOf(""), LoadedFileKind::None);
}

TEST(FileTypes, DialogFiltersListEveryTypeWithItsExtensions) {
  EXPECT_EQ(PictureSaveFilter(),
            "JPEG イメージファイル (*.jpg)|*.jpg|ビットマップ (*.bmp)|*.bmp|"
            "PNG イメージファイル (*.png)|*.png");
  EXPECT_EQ(OpenFilter(),
            "総て　(*.txt,*.rtf,*.jpg,*.bmp,*.png)|"
            "*.txt;*.rtf;*.rft;*.jpg;*.jpeg;*.jpe;*.jfif;*.bmp;*.dib;*.png|"
            "テキスト　(*.txt,*.rtf)|*.txt;*.rtf;*.rft|"
            "JPEG イメージファイル (*.jpg)|*.jpg;*.jpeg;*.jpe;*.jfif|ビットマップ (*.bmp)|*.bmp;*.dib|"
            "PNG イメージファイル (*.png)|*.png");
  // The type chosen in the save dialog gives its extension to a name typed without one.
  EXPECT_EQ(FilterTypeExtension(PictureSaveFilter(), 3), ".png");
}

// The save dialog's preview loads a file through the format registry: every picture the
// open dialog offers must load there as the kind the load command reads it as.
TEST(FileTypes, EveryPictureTheOpenDialogOffersLoadsThroughTheFormatRegistry) {
  InitJpegImageKind(24);  // as at start-up
  const std::string filter = OpenFilter();
  const std::size_t from = filter.find('|') + 1;
  std::string_view patterns(filter.data() + from, filter.find('|', from) - from);
  int pictures = 0;
  while (!patterns.empty()) {
    const std::string_view pattern = patterns.substr(0, patterns.find(';'));
    patterns.remove_prefix(std::min(patterns.size(), pattern.size() + 1));
    ASSERT_EQ(pattern.substr(0, 2), "*.");
    const std::string extension(pattern.substr(2));
    const GraphicClass* kind = nullptr;
    switch (LoadedFileKindOf("." + extension)) {
      case LoadedFileKind::Text: continue;
      case LoadedFileKind::Jpeg: kind = &TJPEGImage::StaticClass(); break;
      case LoadedFileKind::Bitmap: kind = &TBitmap::StaticClass(); break;
      case LoadedFileKind::Png: kind = &TPngImage::StaticClass(); break;
      case LoadedFileKind::None: ADD_FAILURE() << extension << " is offered but not loaded";
    }
    EXPECT_EQ(TFileFormatsList::Instance().FindExt(extension), kind) << extension;
    ++pictures;
  }
  EXPECT_EQ(pictures, 7);
  DoneJpegImageKind();
}

TEST(FileTypes, FilterTypeExtensionIsThatOfTheChosenTypesPattern) {
  const char* filter = "JPEG イメージファイル (*.jpg)|*.jpg|ビットマップ (*.bmp)|*.bmp";
  EXPECT_EQ(FilterTypeExtension(filter, 1), ".jpg");
  EXPECT_EQ(FilterTypeExtension(filter, 2), ".bmp");
  EXPECT_EQ(FilterTypeExtension(filter, 0), "");
  EXPECT_EQ(FilterTypeExtension(filter, 3), "");
  // The first of several patterns; none for a pattern that names no single extension.
  EXPECT_EQ(FilterTypeExtension("テキスト|*.txt;*.rtf|全部|*.*|空|", 1), ".txt");
  EXPECT_EQ(FilterTypeExtension("テキスト|*.txt;*.rtf|全部|*.*|空|", 2), "");
  EXPECT_EQ(FilterTypeExtension("テキスト|*.txt;*.rtf|全部|*.*|空|", 3), "");
  // A second byte equal to "|" in a description does not split it ("ポ" is 0x83 0x7C).
  EXPECT_EQ(FilterTypeExtension("ポ表|*.x|b|*.y", 2), ".y");
}

}  // namespace
}  // namespace pelmora
