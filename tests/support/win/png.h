#pragma once
// Test screenshots and test pictures as PNG files: 8-bit RGB or RGBA, unfiltered, made with
// the tests' one PNG writer (picture/png_builder.h).
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelmora::test {

// rgb holds height rows of width * 3 bytes, top row first. Returns false when the file
// cannot be written.
bool WritePng(const std::filesystem::path& path, int width, int height, const std::vector<std::uint8_t>& rgb);

// The PNG file of height rows of width * channels bytes (3: RGB, 4: RGBA), top row first.
std::string EncodePng(int width, int height, int channels, const std::vector<std::uint8_t>& pixels);

}  // namespace pelmora::test
