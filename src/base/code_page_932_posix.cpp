// Code page 932 through iconv's "CP932" converter, which maps every character the system's
// converter maps, to the same code points, except 0x80.
#ifndef _WIN32
#include <errno.h>
#include <iconv.h>

#include <bit>
#include <cstring>
#include <stdexcept>

#include "base/code_page_932.h"
#include "base/sjis.h"

namespace pelmora {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// One converter per thread, opened on first use: opening costs far more than a piece.
class Converter {
 public:
  Converter()
      : handle_(::iconv_open(std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE",
                             "CP932")) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error("the system has no converter for code page 932");
    }
  }
  ~Converter() { ::iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  iconv_t handle() const { return handle_; }

 private:
  iconv_t handle_;
};

}  // namespace

std::size_t DecodeCodePage932(std::span<const std::uint8_t> bytes, char16_t* out) {
  thread_local Converter converter;
  char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
  std::size_t in_left = bytes.size();
  char* const out_start = reinterpret_cast<char*>(out);
  char* out_next = out_start;
  std::size_t out_left = bytes.size() * sizeof(char16_t);
  ::iconv(converter.handle(), nullptr, nullptr, nullptr, nullptr);
  while (in_left > 0) {
    if (::iconv(converter.handle(), &in, &in_left, &out_next, &out_left) !=
        static_cast<std::size_t>(-1)) {
      break;
    }
    // EILSEQ: a character the converter does not map; EINVAL: a lead byte at the end.
    if (errno != EILSEQ && errno != EINVAL) {
      throw std::runtime_error("the code page 932 converter failed");
    }
    const auto lead = static_cast<std::uint8_t>(in[0]);
    const bool pair =
        IsLeadByte(lead) && in_left >= 2 && IsSecondByte(static_cast<std::uint8_t>(in[1]));
    const char16_t unit = lead == 0x80 ? char16_t{0x80} : kReplacement;
    // Every character read so far took at least one byte, so the unit fits.
    std::memcpy(out_next, &unit, sizeof unit);
    out_next += sizeof unit;
    out_left -= sizeof unit;
    in += pair ? 2 : 1;
    in_left -= pair ? 2 : 1;
  }
  return static_cast<std::size_t>(out_next - out_start) / sizeof(char16_t);
}

}  // namespace pelmora
#endif
