// The PNG test images of libpng's source package (PngSuite and libpng's own test images:
// every colour type and bit depth, interlaced, palettes with transparency, gamma chunks),
// decoded by the program and by libpng alone; and the damaged files, which must fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/format.h"
#include "base/strings.h"
#include "picture/png_image.h"
#include "picture/png_reference.h"
#include "support/test_paths.h"
#include "support/file_bytes.h"

namespace pelmora {
namespace {

const std::filesystem::path kPngData = test::DataPath("png");

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".png") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string LoadFailure(const std::filesystem::path& file, TPngImage& image) {
  try {
    image.LoadFromFile(FileName(file.string()));
  } catch (const EPNG& e) {
    return e.Message();
  }
  return "(nothing raised)";
}

// Every pixel of the decoded bitmap against libpng's, alpha included.
void ExpectSamePixels(const std::filesystem::path& file) {
  SCOPED_TRACE(file.filename().string());
  const png_test::Reference reference = png_test::DecodeWithLibpng(test::ReadBytes(file));
  ASSERT_TRUE(reference.ok);
  TPngImage image;
  image.LoadFromFile(FileName(file.string()));
  ASSERT_EQ(image.Width(), reference.width);
  ASSERT_EQ(image.Height(), reference.height);
  TBitmap& bitmap = image.Bitmap();
  ASSERT_EQ(bitmap.Width(), reference.width);
  ASSERT_EQ(bitmap.Height(), reference.height);
  std::shared_ptr<const raster::Image> decoded = bitmap.Image();
  const int bytes = decoded->BitCount() / 8;
  ASSERT_EQ(bytes, reference.channels);
  bool transparent = false;
  for (int y = 0; y < reference.height; ++y) {
    const std::uint8_t* ours = decoded->Row(y);
    const std::uint8_t* theirs =
        reference.pixels.data() + static_cast<std::size_t>(y) * reference.width * reference.channels;
    ASSERT_TRUE(std::equal(ours, ours + reference.width * bytes, theirs)) << "row " << y;
    for (int x = 0; bytes == 4 && x < reference.width; ++x) transparent |= theirs[4 * x + 3] != 255;
  }
  // Transparency is marked exactly when some pixel is less than opaque.
  EXPECT_EQ(bitmap.HasAlpha(), transparent);
}

TEST(PngSuite, EveryImageDecodesToLibpngsPixels) {
  int checked = 0;
  for (const char* folder : {"pngsuite", "testpngs"}) {
    for (const auto& file : FilesIn(kPngData / folder)) {
      ExpectSamePixels(file);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 60 + 104);
}

TEST(PngSuite, EveryDamagedFileFailsWithItsMessage) {
  // libspng's error codes: 18 a chunk's checksum, 63 the image data's, 68 the file ends too
  // soon (a chunk claims more bytes than are left), 77 more chunk data than allowed.
  const std::vector<std::pair<std::string, int>> damaged = {
      {"bad_iCCP.png", 18},          {"badadler.png", 63},
      {"badcrc.png", 18},            {"empty_ancillary_chunks.png", 77},
      {"huge_IDAT.png", 68},         {"huge_bKGD_chunk.png", 68},
      {"huge_cHRM_chunk.png", 68},   {"huge_eXIf_chunk.png", 77},
      {"huge_gAMA_chunk.png", 68},   {"huge_hIST_chunk.png", 68},
      {"huge_iCCP_chunk.png", 68},   {"huge_iTXt_chunk.png", 68},
      {"huge_juNK_unsafe_to_copy.png", 68}, {"huge_juNk_safe_to_copy.png", 68},
      {"huge_pCAL_chunk.png", 68},   {"huge_pHYs_chunk.png", 68},
      {"huge_sCAL_chunk.png", 68},   {"huge_sPLT_chunk.png", 77},
      {"huge_sRGB_chunk.png", 68},   {"huge_sTER_chunk.png", 68},
      {"huge_tEXt_chunk.png", 68},   {"huge_tIME_chunk.png", 68},
      {"huge_zTXt_chunk.png", 68},
  };
  ASSERT_EQ(damaged.size(), FilesIn(kPngData / "crashers").size());
  for (const auto& [name, code] : damaged) {
    SCOPED_TRACE(name);
    // An image that held a picture keeps it when a damaged file fails to load.
    TPngImage image;
    image.LoadFromFile(FileName((kPngData / "pngsuite" / "basn6a08.png").string()));
    EXPECT_EQ(LoadFailure(kPngData / "crashers" / name, image),
              Format(strings::kPngError, {std::int64_t{code}}));
    EXPECT_EQ(image.Width(), 32);
    EXPECT_TRUE(image.Bitmap().HasAlpha());
  }
}

}  // namespace
}  // namespace pelmora
