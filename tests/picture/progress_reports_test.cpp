// The picture writers and readers report their rows as they go, for the progress bar of a
// long save or load.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "base/progress.h"
#include "base/stream.h"
#include "picture/bitmap.h"
#include "picture/bitmap_test_support.h"
#include "picture/jpeg_image.h"
#include "picture/png_image.h"

namespace pelmora {
namespace {

struct Recorder final : ProgressListener {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
  void OnProgress(std::uint64_t done, std::uint64_t total) noexcept override {
    reports.emplace_back(done, total);
  }
};

// What work reports: steps rising to the whole of one total.
void ExpectRisingToTheEnd(const Recorder& recorder, std::uint64_t total) {
  ASSERT_FALSE(recorder.reports.empty());
  std::uint64_t last = 0;
  for (const auto& [done, reported_total] : recorder.reports) {
    EXPECT_EQ(reported_total, total);
    EXPECT_GE(done, last);
    last = done;
  }
  EXPECT_EQ(last, total);
}

template <typename Image>
std::vector<std::uint8_t> Save(TBitmap& bitmap, Recorder* recorder) {
  Image image;
  image.Assign(&bitmap);
  TMemoryStream file;
  if (recorder == nullptr) {
    image.SaveToStream(file);
  } else {
    const ProgressScope scope(*recorder);
    image.SaveToStream(file);
  }
  return file.Bytes();
}

template <typename Image>
void Load(const std::vector<std::uint8_t>& bytes, Recorder& recorder) {
  Image image;
  TSpanStream stream(bytes.data(), bytes.size());
  const ProgressScope scope(recorder);
  image.LoadFromStream(stream);
  (void)image.Bitmap();  // decoded by now
}

TEST(ProgressReports, SavesAndLoadsReportEveryRowOfTheirPicture) {
  const auto bitmap = test::Bitmap24(40, 37);
  struct Case {
    const char* name;
    std::function<std::vector<std::uint8_t>(Recorder*)> save;
    std::function<void(const std::vector<std::uint8_t>&, Recorder&)> load;
  };
  const Case cases[] = {
      {"PNG", [&](Recorder* r) { return Save<TPngImage>(*bitmap, r); }, Load<TPngImage>},
      {"JPEG", [&](Recorder* r) { return Save<TJPEGImage>(*bitmap, r); }, Load<TJPEGImage>},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorder saving;
    const std::vector<std::uint8_t> file = c.save(&saving);
    ExpectRisingToTheEnd(saving, 37);
    Recorder loading;
    c.load(file, loading);
    ExpectRisingToTheEnd(loading, 37);
  }
}

TEST(ProgressReports, ReachOnlyTheInnermostScopeAndNobodyAfterIt) {
  const auto bitmap = test::Bitmap24(8, 5);
  Recorder outer, inner;
  {
    const ProgressScope outer_scope(outer);
    {
      const ProgressScope inner_scope(inner);
      Save<TPngImage>(*bitmap, nullptr);
    }
    EXPECT_TRUE(outer.reports.empty());
    Save<TPngImage>(*bitmap, nullptr);
  }
  ExpectRisingToTheEnd(inner, 5);
  ExpectRisingToTheEnd(outer, 5);
  const std::size_t heard = outer.reports.size();
  Save<TPngImage>(*bitmap, nullptr);
  EXPECT_EQ(outer.reports.size(), heard);
}

}  // namespace
}  // namespace pelmora
