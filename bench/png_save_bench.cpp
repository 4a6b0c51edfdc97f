// TPngImage's save of real pictures against bare libspng's save with its defaults (level 6,
// every filter tried on every row), which is what the program did before it chose the
// compression by the picture. The pictures come from Debian's packages: a screen capture
// (valgrind's documentation), a plot (nodejs's), an icon with alpha (adwaita-icon-theme),
// and GNOME's wallpapers, which ship as WebP and are converted first:
//   apt-get install gnome-backgrounds
//   convert /usr/share/backgrounds/gnome/adwaita-l.webp /tmp/adwaita-l.png
//   build/native/bench/png_save_bench
// PELMORA_PNG_PICTURES (paths separated by ":") names other pictures. The counter "MB" is
// the file's size: the ratios of time and size between each pair are what matters.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <spng.h>

#include "base/stream.h"
#include "picture/png_image.h"

namespace {

struct Picture {
  std::string name;
  spng_ihdr ihdr{};
  std::vector<std::uint8_t> pixels;  // RGB or RGBA rows as the file holds them
  pelmora::TPngImage image;
};

std::vector<std::string> PicturePaths() {
  if (const char* named = std::getenv("PELMORA_PNG_PICTURES")) {
    std::vector<std::string> paths;
    std::stringstream list(named);
    for (std::string path; std::getline(list, path, ':');) paths.push_back(path);
    return paths;
  }
  return {"/tmp/adwaita-l.png", "/tmp/pixels-l.png",
          "/usr/share/doc/valgrind/html/images/kcachegrind_xtree.png",
          "/usr/share/doc/nodejs/contributing/doc_img/compare-boxplot.png",
          "/usr/share/icons/Adwaita/512x512/devices/camera-web.png"};
}

// The file's pixels through libspng, and the program's image of it; null when unreadable.
std::unique_ptr<Picture> Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  if (file.empty()) return nullptr;
  auto picture = std::make_unique<Picture>();
  picture->name = path.substr(path.find_last_of('/') + 1);
  spng_ctx* ctx = spng_ctx_new(0);
  spng_set_png_buffer(ctx, file.data(), file.size());
  spng_get_ihdr(ctx, &picture->ihdr);
  const bool alpha = picture->ihdr.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA ||
                     picture->ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA;
  const int format = alpha ? SPNG_FMT_RGBA8 : SPNG_FMT_RGB8;
  std::size_t size = 0;
  spng_decoded_image_size(ctx, format, &size);
  picture->pixels.resize(size);
  const int error = spng_decode_image(ctx, picture->pixels.data(), size, format, 0);
  spng_ctx_free(ctx);
  if (error != 0) return nullptr;
  picture->ihdr.color_type = alpha ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR;
  picture->ihdr.bit_depth = 8;
  picture->ihdr.interlace_method = SPNG_INTERLACE_NONE;
  pelmora::TSpanStream stream(file.data(), file.size());
  picture->image.LoadFromStream(stream);
  return picture;
}

void SaveWithLibspngDefaults(benchmark::State& state, const Picture* picture) {
  std::size_t size = 0;
  for (auto _ : state) {
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr = picture->ihdr;
    spng_set_ihdr(ctx, &ihdr);
    spng_encode_image(ctx, picture->pixels.data(), picture->pixels.size(), SPNG_FMT_PNG,
                      SPNG_ENCODE_FINALIZE);
    int error = 0;
    std::free(spng_get_png_buffer(ctx, &size, &error));
    spng_ctx_free(ctx);
  }
  state.counters["MB"] = static_cast<double>(size) / 1e6;
}

void SaveWithTPngImage(benchmark::State& state, Picture* picture) {
  std::size_t size = 0;
  // As the program saves a picture it shows: its bitmap assigned to a new image, encoded.
  for (auto _ : state) {
    pelmora::TPngImage image;
    image.Assign(&picture->image.Bitmap());
    pelmora::TMemoryStream out;
    image.SaveToStream(out);
    size = static_cast<std::size_t>(out.Size());
    benchmark::DoNotOptimize(out.Data());
  }
  state.counters["MB"] = static_cast<double>(size) / 1e6;
}

const bool registered = [] {
  static std::vector<std::unique_ptr<Picture>> pictures;
  for (const std::string& path : PicturePaths()) {
    std::unique_ptr<Picture> picture = Read(path);
    if (!picture) continue;
    const std::string name = picture->name;
    pictures.push_back(std::move(picture));
    Picture* held = pictures.back().get();
    benchmark::RegisterBenchmark(("libspng defaults/" + name).c_str(), SaveWithLibspngDefaults,
                                 held)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("TPngImage/" + name).c_str(), SaveWithTPngImage, held)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
