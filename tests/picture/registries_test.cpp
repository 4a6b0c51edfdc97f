#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "base/strings.h"
#include "picture/bitmap.h"
#include "picture/clipboard_formats.h"
#include "picture/fake_graphic.h"
#include "picture/file_formats.h"
#include "picture/icon.h"
#include "picture/metafile.h"
#include "picture/png_image.h"

namespace pelmora {
namespace {

using test::DerivedFakeGraphic;
using test::FakeGraphic;

std::vector<std::string> Describe(const TFileFormatsList& list) {
  std::vector<std::string> lines;
  for (const auto& e : list.Entries()) {
    lines.push_back(e.extension + " " + e.description + " " + e.graphic_class->name);
  }
  return lines;
}

TEST(FileFormats, StartsWithBuiltInEntriesAndFindsThemInAnyCase) {
  TFileFormatsList list;
  EXPECT_EQ(Describe(list),
            (std::vector<std::string>{
                std::string("wmf ") + strings::kMetafileDescription + " TMetafile",
                std::string("emf ") + strings::kEnhancedMetafileDescription + " TMetafile",
                std::string("ico ") + strings::kIconDescription + " TIcon",
                std::string("bmp ") + strings::kBitmapDescription + " TBitmap",
                std::string("dib ") + strings::kBitmapDescription + " TBitmap",
                std::string("png ") + strings::kPngDescription + " TPngImage",
            }));
  EXPECT_EQ(list.FindExt("PNG"), &TPngImage::StaticClass());
  EXPECT_EQ(list.FindExt("BMP"), &TBitmap::StaticClass());
  EXPECT_EQ(list.FindExt("bMp"), &TBitmap::StaticClass());
  EXPECT_EQ(list.FindExt("DIB"), &TBitmap::StaticClass());
  EXPECT_EQ(list.FindExt("Emf"), &TMetafile::StaticClass());
  EXPECT_EQ(list.FindExt("ICO"), &TIcon::StaticClass());
  // The comparison is exact: no dot, no prefix or suffix match.
  EXPECT_EQ(list.FindExt(".bmp"), nullptr);
  EXPECT_EQ(list.FindExt("bm"), nullptr);
  EXPECT_EQ(list.FindExt("bmpx"), nullptr);
  EXPECT_EQ(list.FindExt(""), nullptr);
  EXPECT_EQ(list.FindExt("gif"), nullptr);
}

TEST(FileFormats, LaterRegistrationHidesEarlierAndRemovalUncoversIt) {
  TFileFormatsList list;
  list.Add("BMP", "fake", FakeGraphic::kClass);
  EXPECT_EQ(list.Entries().back().extension, "bmp");
  EXPECT_EQ(list.FindExt("bmp"), &FakeGraphic::kClass);

  list.Add("bmp", "derived", DerivedFakeGraphic::kClass);
  EXPECT_EQ(list.FindExt("Bmp"), &DerivedFakeGraphic::kClass);

  // Removing a kind takes its descendants along; the built-in entry shows again.
  list.Remove(FakeGraphic::kClass);
  EXPECT_EQ(list.Entries().size(), 6u);
  EXPECT_EQ(list.FindExt("bmp"), &TBitmap::StaticClass());

  // Removing a derived kind leaves its parent's entries.
  list.Add("fak", "fake", FakeGraphic::kClass);
  list.Add("dfk", "derived", DerivedFakeGraphic::kClass);
  list.Remove(DerivedFakeGraphic::kClass);
  EXPECT_EQ(list.FindExt("fak"), &FakeGraphic::kClass);
  EXPECT_EQ(list.FindExt("dfk"), nullptr);
}

TEST(FileFormats, LowerCasingLeavesSecondBytesOfDoubleByteCharactersAlone) {
  // "ア" is 83 41 in Shift-JIS: its second byte is the code of "A".
  TFileFormatsList list;
  list.Add("\x83\x41X", "katakana", FakeGraphic::kClass);
  EXPECT_EQ(list.Entries().back().extension, "\x83\x41x");
  EXPECT_EQ(list.FindExt("\x83\x41X"), &FakeGraphic::kClass);
  EXPECT_EQ(list.FindExt("\x83\x61x"), nullptr);
}

TEST(ClipboardFormats, StartsWithThreePairsAndLooksUpFromTheEnd) {
  TClipboardFormats formats;
  std::vector<std::pair<int, std::string>> pairs;
  for (const auto& e : formats.Entries()) pairs.emplace_back(e.format, e.graphic_class->name);
  EXPECT_EQ(pairs, (std::vector<std::pair<int, std::string>>{
                       {3, "TMetafile"}, {14, "TMetafile"}, {2, "TBitmap"}}));
  EXPECT_EQ(formats.Find(3), &TMetafile::StaticClass());
  EXPECT_EQ(formats.Find(14), &TMetafile::StaticClass());
  EXPECT_EQ(formats.Find(2), &TBitmap::StaticClass());
  EXPECT_EQ(formats.Find(1), nullptr);  // text
  EXPECT_EQ(formats.Find(8), nullptr);  // device-independent bitmap

  formats.Add(kCfBitmap, FakeGraphic::kClass);
  EXPECT_EQ(formats.Find(2), &FakeGraphic::kClass);
  formats.Remove(FakeGraphic::kClass);
  EXPECT_EQ(formats.Find(2), &TBitmap::StaticClass());

  EXPECT_TRUE(CanLoadClipboardFormat(kCfBitmap));
  EXPECT_TRUE(CanLoadClipboardFormat(kCfMetafilePict));
  EXPECT_TRUE(CanLoadClipboardFormat(kCfEnhMetafile));
  EXPECT_FALSE(CanLoadClipboardFormat(1));
  EXPECT_FALSE(CanLoadClipboardFormat(0));
}

TEST(Registries, UnregisteringAKindEmptiesBothProcessWideListsOfItAndItsDescendants) {
  auto& files = TFileFormatsList::Instance();
  auto& clipboard = TClipboardFormats::Instance();
  std::size_t files_before = files.Entries().size();
  std::size_t clipboard_before = clipboard.Entries().size();

  RegisterFileFormat("FK1", "fake", FakeGraphic::kClass);
  RegisterFileFormat("fk2", "derived", DerivedFakeGraphic::kClass);
  clipboard.Add(0xC123, DerivedFakeGraphic::kClass);
  EXPECT_EQ(files.FindExt("fk1"), &FakeGraphic::kClass);
  EXPECT_EQ(files.FindExt("FK2"), &DerivedFakeGraphic::kClass);
  EXPECT_TRUE(CanLoadClipboardFormat(0xC123));

  UnregisterGraphicClass(FakeGraphic::kClass);
  EXPECT_EQ(files.FindExt("fk1"), nullptr);
  EXPECT_EQ(files.FindExt("fk2"), nullptr);
  EXPECT_FALSE(CanLoadClipboardFormat(0xC123));
  EXPECT_EQ(files.Entries().size(), files_before);
  EXPECT_EQ(clipboard.Entries().size(), clipboard_before);
  EXPECT_EQ(files.FindExt("bmp"), &TBitmap::StaticClass());
  EXPECT_TRUE(CanLoadClipboardFormat(kCfBitmap));
}

TEST(Registries, KindsWhoseDataIsNotReadStayEmptyAndTakeOnlyTheirOwnKind) {
  TIcon icon;
  TMetafile metafile;
  icon.Assign(nullptr);
  icon.Assign(&icon);
  metafile.Assign(&metafile);
  EXPECT_TRUE(icon.Empty());
  EXPECT_EQ(metafile.Width(), 0);
  for (auto [target, source, message] :
       {std::tuple<TGraphic*, TGraphic*, const char*>{
            &icon, &metafile, "TMetafile を TIcon に代入することはできません"},
        {&metafile, &icon, "TIcon を TMetafile に代入することはできません"}}) {
    try {
      target->Assign(source);
      ADD_FAILURE() << message;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), message);
    }
  }
  try {
    icon.LoadFromClipboardFormat(kCfBitmap, {});
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), strings::kUnknownClipboardFormat);
  }
}

}  // namespace
}  // namespace pelmora
