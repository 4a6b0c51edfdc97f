#include "base/file_name.h"

#include <gtest/gtest.h>

#include "support/expect_each.h"

namespace pelmora {
namespace {

using test::ExpectEach;

// A name in scripts Shift-JIS lacks: accented Latin, simplified Chinese, Hangul and an
// emoji outside the basic plane (a surrogate pair in UTF-16).
// Kept out of the assertions, whose text is compiled to Shift-JIS.
const FileName kWorldName(u8"C:\\写真\\café-图片-사진-🙂.JPG");
const FileName kWorldFolder(u8"C:\\café.图片\\사진");
const FileName kWorldExtension(u8"a.图片");
const FileName kChinese(u8"图片");
const FileName kFullWidth(u8".ＪＰＧ");
const FileName kDotAbove(u8".jpġ");

TEST(FileName, ExtensionKeepsTheDot) {
  ExpectEach(ExtractFileExt,
             {
                 {"C:\\pics\\photo.jpg", ".jpg"},
                 {"C:\\pics\\photo.tar.GZ", ".GZ"},
                 {"C:\\pics\\photo", ""},
                 {"photo.", "."},
                 {".bmp", ".bmp"},
                 // A dot only in a folder's name is no extension; drive letters and stream
                 // names end the search like a folder does.
                 {"C:\\my.pics\\photo", ""},
                 {"C:photo", ""},
                 {"C:.bmp", ".bmp"},
                 {"a.bmp:x", ""},
             });
}

TEST(FileName, ExtensionOfANameInAnyScript) {
  EXPECT_EQ(ExtractFileExt(kWorldName), ".JPG");
  EXPECT_EQ(ExtractPictureExtension(kWorldName), "JPG");
  EXPECT_EQ(ExtractFileExt(kWorldFolder), "");
  // An extension outside ASCII comes back whole, for the message that names it.
  EXPECT_EQ(ExtractPictureExtension(kWorldExtension), kChinese);
}

TEST(FileName, PictureExtensionDropsTheDotAndKeepsCase) {
  EXPECT_EQ(ExtractPictureExtension("C:\\pics\\photo.JPEG"), "JPEG");
  EXPECT_EQ(ExtractPictureExtension("photo.bMp"), "bMp");
  EXPECT_EQ(ExtractPictureExtension("photo."), "");
  EXPECT_EQ(ExtractPictureExtension("C:\\my.pics\\photo"), "");
}

TEST(FileName, ExtensionKeyLowerCasesAsciiOnly) {
  EXPECT_EQ(AsciiExtensionKey(ExtractFileExt(kWorldName)), ".jpg");
  EXPECT_EQ(AsciiExtensionKey(FileName(".TxT")), ".txt");
  // Full-width letters and a letter with a dot above are no ASCII letters.
  EXPECT_NE(AsciiExtensionKey(kFullWidth), ".jpg");
  EXPECT_NE(AsciiExtensionKey(kDotAbove), ".jpg");
  EXPECT_EQ(AsciiExtensionKey(kDotAbove).substr(0, 3), ".jp");
}

}  // namespace
}  // namespace pelmora
