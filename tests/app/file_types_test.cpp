#include "app/file_types.h"

#include <gtest/gtest.h>

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
