// The picture writers and readers report their rows as they go, for the progress bar of a
// long save or load, to the innermost listening scope only.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/progress.h"
#include "base/stream.h"
#include "picture/bitmap_test_support.h"
#include "picture/jpeg_image.h"
#include "picture/png_image.h"

namespace pelmora {
namespace {

// The last report, after every report was checked to rise towards the same total.
struct Recorder final : ProgressListener {
  std::uint64_t done = 0, total = 0, reports = 0;
  void OnProgress(std::uint64_t d, std::uint64_t t) noexcept override {
    EXPECT_GE(d, done);
    EXPECT_TRUE(reports == 0 || t == total);
    done = d, total = t, ++reports;
  }
};

template <typename Image>
void SaveAndLoad(TBitmap& bitmap, Recorder& saving, Recorder& loading) {
  Image saved;
  saved.Assign(&bitmap);
  TMemoryStream file;
  {
    const ProgressScope scope(saving);
    saved.SaveToStream(file);
  }
  Image loaded;
  file.SetPosition(0);
  const ProgressScope scope(loading);
  loaded.LoadFromStream(file);
  (void)loaded.Bitmap();  // decoded by now
}

TEST(ProgressReports, SavesAndLoadsReportEveryRowToTheInnermostScopeOnly) {
  const auto bitmap = test::Bitmap24(40, 37);
  Recorder outer;
  const ProgressScope outer_scope(outer);
  for (auto save_and_load : {&SaveAndLoad<TPngImage>, &SaveAndLoad<TJPEGImage>}) {
    Recorder saving, loading;
    save_and_load(*bitmap, saving, loading);
    EXPECT_EQ(saving.done, 37u);
    EXPECT_EQ(saving.total, 37u);
    EXPECT_EQ(loading.done, 37u);
    EXPECT_EQ(loading.total, 37u);
  }
  EXPECT_EQ(outer.reports, 0u) << "an inner scope's reports reached the outer one";
}

}  // namespace
}  // namespace pelmora
