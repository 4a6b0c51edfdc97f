#include "picture/bitmap_copy.h"

#include <cstdlib>
#include <vector>

#include "raster/operations.h"
#include "raster/screen.h"

namespace pelmora {

namespace {

// The colour table the platform gives a display bitmap's pixels when they are read into
// a section of `bits` (up to 8): its own table, or the default one of that depth.
std::vector<raster::Rgb> DefaultTable(int bits) {
  if (bits == 1) return {raster::kBlack, raster::kWhite};
  if (bits == 4) return raster::Palette::System16()->Entries();
  return raster::Palette::MakeHalftone()->Entries();
}

}  // namespace

CopiedImage CopyImage(const raster::Image* source, const raster::Palette* new_palette,
                      raster::Description target, bool fill_white) {
  raster::InfoHeader& header = target.header;
  const bool has_header = header.size != 0;
  if (has_header ? (header.width == 0 || header.height == 0)
                 : (target.bitmap.width == 0 || target.bitmap.height == 0)) {
    return CopiedImage{nullptr, target};
  }

  std::shared_ptr<raster::Image> result;
  if (!has_header) {
    const bool monochrome = target.bitmap.planes == 1 && target.bitmap.bits_pixel == 1;
    result = raster::Image::MakeDisplay(target.bitmap.width, std::abs(target.bitmap.height),
                                        monochrome);
  } else {
    header.size = raster::kInfoHeaderSize;
    header.planes = 1;
    if (header.bit_count == 0) {
      const int depth = raster::Screen().Depth();
      header.bit_count = static_cast<std::uint16_t>(depth == 15 ? 16 : depth);
    }
    std::vector<raster::Rgb> colours;
    if (header.bit_count <= 8) {
      if (header.bit_count == 1 && (source == nullptr || !source->IsSection())) {
        colours = {raster::kBlack, raster::kWhite};
      } else if (new_palette != nullptr) {
        colours = new_palette->Entries();
      } else if (source != nullptr && source->IsSection() && !source->ColourTable().empty()) {
        auto table = source->ColourTable();
        colours.assign(table.begin(), table.end());
        header.clr_used = static_cast<std::uint32_t>(colours.size());
      } else if (source != nullptr && source->BitCount() <= 8) {
        auto table = source->ColourTable();
        colours.assign(table.begin(), table.end());
      } else {
        // A true-colour source has no table to give: an empty one would turn every pixel
        // black, so the depth's default table is used instead.
        colours = DefaultTable(header.bit_count);
      }
    }
    raster::Masks masks = target.masks;
    if ((header.bit_count == 16 || header.bit_count == 32) &&
        header.compression == raster::kBiBitfields && masks[0] == 0) {
      masks = raster::DefaultBitfieldMasks(header.bit_count);
    }
    result = raster::Image::MakeSection(header, colours, masks);
    // Transparency stays with a copy that can hold it; what the copy adds is opaque.
    if (source != nullptr) result->SetAlpha(source->HasAlpha());
    if (source != nullptr && source->Width() == result->Width() &&
        source->Height() == result->Height() && result->BitCount() > 8) {
      raster::Convert(*source, *result);
      return CopiedImage{result, result->Describe()};
    }
  }

  // The white shows only where the source does not reach: a source covering the whole
  // result overwrites every pixel, so filling first would only cost a pass over memory.
  if ((source == nullptr && fill_white) ||
      (source != nullptr &&
       (source->Width() < result->Width() || source->Height() < result->Height()))) {
    result->FillWhite();
  }
  if (source != nullptr) raster::Convert(*source, *result);
  return CopiedImage{result, result->Describe()};
}

}  // namespace pelmora
