#pragma once
// Screenshots of windows for the record: what the display shows in the window's
// rectangle, saved as PNG.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelmora::test {

// The pixels of a screen rectangle as RGB rows, top row first; empty on failure.
std::vector<std::uint8_t> CaptureScreenRect(const RECT& rect);

// The same once what the screen shows there has settled: read, with this thread's
// messages pumped in between, until two readings agree (for at most two seconds).
std::vector<std::uint8_t> CaptureSettledScreenRect(const RECT& rect);

// Saves the window as it appears on the screen (its outer rectangle, as far as it lies on
// the screen), once it has painted itself and what the screen shows of it has settled.
// Creates the folder of path when missing. Returns false on failure.
bool SaveWindowScreenshot(HWND window, const std::filesystem::path& path);

}  // namespace pelmora::test
