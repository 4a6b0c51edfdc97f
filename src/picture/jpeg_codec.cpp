#include "picture/jpeg_codec.h"

#include <algorithm>
#include <climits>

#include "base/errors.h"
#include "base/progress.h"
#include "base/strings.h"
#include "picture/jpeg_glue.h"
#include "raster/checked_math.h"

#include <jerror.h>

namespace pelmora::jpeg {
namespace {

[[noreturn]] void RaiseJpegError(int code) {
  // Memory libjpeg was refused is a shortage, not a fault of the file.
  if (code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE) {
    throw EOutOfResources(strings::kPictureTooLarge);
  }
  throw EJPEG(strings::kJpegError, {std::int64_t{code}});
}

// Runs step(state) under libjpeg's fatal-error exit; a fatal error marks the state failed
// and is raised as EJPEG here, after libjpeg's frames are gone.
template <typename State>
void Guarded(State& state, void (*step)(State& state)) {
  if (state.failed) RaiseJpegError(state.errors.pub.msg_code);
  struct Call {
    State* state;
    void (*step)(State&);
  } call{&state, step};
  const bool done = RunGuarded(
      state.errors,
      [](void* context) {
        auto* c = static_cast<Call*>(context);
        c->step(*c->state);
      },
      &call);
  if (!done) {
    state.failed = true;
    RaiseJpegError(state.errors.pub.msg_code);
  }
}

// x / 255 rounded, for x up to 255 * 255.
inline std::uint8_t DivideBy255(unsigned x) {
  x += 128;
  return static_cast<std::uint8_t>((x + (x >> 8)) >> 8);
}

// Four-component rows come out of libjpeg as CMYK (YCCK is converted by libjpeg). Files
// with an Adobe marker store the inks inverted (255 = no ink), as Adobe's programs write
// them; others store the inks themselves.
void CmykRowToBgr(const std::uint8_t* in, std::uint8_t* out, int width, bool inverted,
                  bool gray) {
  const unsigned flip = inverted ? 0 : 255;
  for (int x = 0; x < width; ++x, in += 4, out += 3) {
    const unsigned k = in[3] ^ flip;
    const std::uint8_t red = DivideBy255((in[0] ^ flip) * k);
    const std::uint8_t green = DivideBy255((in[1] ^ flip) * k);
    const std::uint8_t blue = DivideBy255((in[2] ^ flip) * k);
    if (gray) {
      const auto luma =
          static_cast<std::uint8_t>((77u * red + 150u * green + 29u * blue + 128u) >> 8);
      out[0] = out[1] = out[2] = luma;
    } else {
      out[0] = blue;
      out[1] = green;
      out[2] = red;
    }
  }
}

// Whether a picture of these dimensions fits the memory an image may take, as rows padded
// to 32 bits.
bool FitsImageMemory(std::uint64_t width, std::uint64_t height, unsigned bits) {
  const auto row_bytes = raster::PaddedRowBytes(width, bits);
  const auto bytes = row_bytes ? raster::CheckedMul(*row_bytes, height) : std::nullopt;
  return bytes && *bytes <= raster::MaxPixelBytes();
}

}  // namespace

struct Decoder::State {
  jpeg_decompress_struct cinfo{};
  ErrorManager errors{};
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  bool failed = false;
  OutputFormat format = OutputFormat::Bgr24;
  bool four_components = false;
  bool gray_from_four = false;
  std::uint8_t* target = nullptr;  // the row being read
  std::vector<std::uint8_t> cmyk_row;
};

Decoder::Decoder(const std::uint8_t* data, std::size_t size) : state_(std::make_unique<State>()) {
  State& s = *state_;
  InitErrorManager(s.errors);
  s.cinfo.err = &s.errors.pub;
  s.data = data;
  s.size = size;
  try {
    Guarded<State>(s, [](State& s) {
      jpeg_create_decompress(&s.cinfo);
      // libjpeg's memory source: when the bytes run out it supplies an end-of-image marker
      // (with its premature-end warning), so corrupt or truncated data still decodes; no
      // bytes at all is its empty-input error. It counts the bytes in an unsigned long,
      // 32 bits on Windows: a longer file is read as far as that reaches, as if cut there.
      jpeg_mem_src(&s.cinfo, s.data,
                   static_cast<unsigned long>(std::min<std::size_t>(s.size, ULONG_MAX)));
      s.cinfo.mem->max_memory_to_use = kMaxLibraryMemory;
      LimitScans(s.errors, &s.cinfo, kMaxScans, kMaxScanBlocks);
    });
  } catch (...) {
    jpeg_destroy_decompress(&s.cinfo);  // whatever creation had allocated
    throw;
  }
}

Decoder::~Decoder() { jpeg_destroy_decompress(&state_->cinfo); }

void Decoder::ReadHeader() {
  Guarded<State>(*state_, [](State& s) { jpeg_read_header(&s.cinfo, TRUE); });
}

int Decoder::ImageWidth() const { return static_cast<int>(state_->cinfo.image_width); }
int Decoder::ImageHeight() const { return static_cast<int>(state_->cinfo.image_height); }

void Decoder::Configure(const DecodeOptions& options) {
  State& s = *state_;
  jpeg_decompress_struct& c = s.cinfo;
  c.scale_num = 1;
  c.scale_denom = 1u << std::clamp(options.scale_shift, 0, 3);
  c.do_block_smoothing = options.block_smoothing ? TRUE : FALSE;
  s.errors.max_scan_blocks = options.max_scan_blocks;
  s.four_components = c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK;
  if (s.four_components) {
    // libjpeg converts these to CMYK only; the rows are turned into BGR here.
    c.out_color_space = JCS_CMYK;
    c.quantize_colors = FALSE;
    s.gray_from_four = options.gray;
    s.format = OutputFormat::Bgr24;
  } else {
    if (options.gray) c.out_color_space = JCS_GRAYSCALE;
    const bool quantize = options.eight_bit || c.out_color_space == JCS_GRAYSCALE;
    if (quantize) {
      // A three-component space: a four-byte one would drop to one-pass quantization.
      if (c.out_color_space != JCS_GRAYSCALE) c.out_color_space = JCS_RGB;
      c.quantize_colors = TRUE;
      c.desired_number_of_colors = kQuantizedColors;
      s.format = OutputFormat::Indexed8;
    } else {
      c.out_color_space = JCS_EXT_BGR;
      c.quantize_colors = FALSE;
      s.format = OutputFormat::Bgr24;
    }
  }
  if (options.fast) {
    c.dct_method = JDCT_IFAST;
    c.two_pass_quantize = FALSE;
    c.dither_mode = JDITHER_ORDERED;
  } else {
    c.dct_method = JDCT_FLOAT;
  }
}

OutputFormat Decoder::Format() const { return state_->format; }

void Decoder::Start() {
  State& s = *state_;
  Guarded<State>(s, [](State& s) { jpeg_calc_output_dimensions(&s.cinfo); });
  const unsigned bits = s.format == OutputFormat::Indexed8 ? 8 : 24;
  if (!FitsImageMemory(s.cinfo.output_width, s.cinfo.output_height, bits)) {
    // A sound file whose picture would not fit the memory an image may take.
    s.failed = true;
    s.errors.pub.msg_code = JERR_OUT_OF_MEMORY;
    RaiseJpegError(JERR_OUT_OF_MEMORY);
  }
  Guarded<State>(s, [](State& s) { jpeg_start_decompress(&s.cinfo); });
  if (s.four_components) s.cmyk_row.resize(std::size_t{s.cinfo.output_width} * 4);
}

int Decoder::OutputWidth() const { return static_cast<int>(state_->cinfo.output_width); }
int Decoder::OutputHeight() const { return static_cast<int>(state_->cinfo.output_height); }

std::vector<PaletteEntry> Decoder::Colormap() const {
  const jpeg_decompress_struct& c = state_->cinfo;
  std::vector<PaletteEntry> entries;
  if (!c.quantize_colors || c.colormap == nullptr) return entries;
  entries.reserve(static_cast<std::size_t>(c.actual_number_of_colors));
  for (int i = 0; i < c.actual_number_of_colors; ++i) {
    if (c.out_color_components == 1) {
      const std::uint8_t v = c.colormap[0][i];
      entries.push_back({v, v, v});
    } else {
      entries.push_back({c.colormap[0][i], c.colormap[1][i], c.colormap[2][i]});
    }
  }
  return entries;
}

int Decoder::OutputScanline() const { return static_cast<int>(state_->cinfo.output_scanline); }

void Decoder::ReadRow(std::uint8_t* row) {
  State& s = *state_;
  s.target = s.four_components ? s.cmyk_row.data() : row;
  Guarded<State>(s, [](State& s) {
    JSAMPROW rows[1] = {s.target};
    jpeg_read_scanlines(&s.cinfo, rows, 1);
  });
  ReportProgress(s.cinfo.output_scanline, s.cinfo.output_height);
  if (s.four_components) {
    CmykRowToBgr(s.cmyk_row.data(), row, static_cast<int>(s.cinfo.output_width),
                 s.cinfo.saw_Adobe_marker != FALSE, s.gray_from_four);
  }
}

void Decoder::Finish() {
  Guarded<State>(*state_, [](State& s) { jpeg_finish_decompress(&s.cinfo); });
}

HeaderSize ReadHeaderSize(const std::uint8_t* data, std::size_t size) {
  Decoder decoder(data, size);
  decoder.ReadHeader();
  return {decoder.ImageWidth(), decoder.ImageHeight()};
}

struct Encoder::State {
  jpeg_compress_struct cinfo{};
  ErrorManager errors{};
  VectorDestination destination{};
  bool failed = false;
  EncodeOptions options;
  const std::uint8_t* source = nullptr;  // the row being written
};

Encoder::Encoder(std::vector<std::uint8_t>& out) : state_(std::make_unique<State>()) {
  State& s = *state_;
  InitErrorManager(s.errors);
  s.cinfo.err = &s.errors.pub;
  s.destination.out = &out;
  try {
    Guarded<State>(s, [](State& s) {
      jpeg_create_compress(&s.cinfo);
      InitVectorDestination(s.destination, &s.cinfo, *s.destination.out);
    });
  } catch (...) {
    jpeg_destroy_compress(&s.cinfo);
    throw;
  }
}

Encoder::~Encoder() { jpeg_destroy_compress(&state_->cinfo); }

void Encoder::Start(int width, int height, const EncodeOptions& options) {
  State& s = *state_;
  s.cinfo.image_width = static_cast<JDIMENSION>(std::max(width, 0));
  s.cinfo.image_height = static_cast<JDIMENSION>(std::max(height, 0));
  s.cinfo.input_components = 3;
  s.cinfo.in_color_space = JCS_EXT_BGR;
  s.options = options;
  Guarded<State>(s, [](State& s) {
    jpeg_set_defaults(&s.cinfo);
    s.cinfo.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&s.cinfo, s.options.quality, TRUE);
    if (s.options.gray) jpeg_set_colorspace(&s.cinfo, JCS_GRAYSCALE);
    if (s.options.progressive) jpeg_simple_progression(&s.cinfo);
    jpeg_start_compress(&s.cinfo, TRUE);
  });
}

int Encoder::NextScanline() const { return static_cast<int>(state_->cinfo.next_scanline); }

void Encoder::WriteRow(const std::uint8_t* row) {
  State& s = *state_;
  s.source = row;
  Guarded<State>(s, [](State& s) {
    // libjpeg takes rows as writable but only reads them.
    JSAMPROW rows[1] = {const_cast<JSAMPROW>(s.source)};
    jpeg_write_scanlines(&s.cinfo, rows, 1);
  });
  ReportProgress(s.cinfo.next_scanline, s.cinfo.image_height);
}

void Encoder::Finish() {
  Guarded<State>(*state_, [](State& s) { jpeg_finish_compress(&s.cinfo); });
}

}  // namespace pelmora::jpeg
