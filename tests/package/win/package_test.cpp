// The unpacked release package, as Windows sees it: Pelmora.exe carries its manifest and
// version information, and starts from the folder it was unpacked into. The folder is given
// by the environment variable PELMORA_PACKAGE_DIR (tests/package/check_package sets it).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/win/text.h"
#include "pelmora_version.h"
#include "support/win/pelmora_run.h"
#include "support/win/window_query.h"

namespace pelmora {
namespace {

std::wstring PackagedProgram() {
  wchar_t folder[1024] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"PELMORA_PACKAGE_DIR", folder, 1024);
  if (length == 0 || length >= 1024) return {};
  std::wstring path(folder, length);
  // Under Wine the folder is a Unix path; drive Z: is the Unix root.
  if (path[0] == L'/') path = L"Z:" + path;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path + L"\\Pelmora.exe";
}

class Package : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = PackagedProgram();
    ASSERT_FALSE(program_.empty()) << "PELMORA_PACKAGE_DIR is not set";
    ASSERT_NE(::GetFileAttributesW(program_.c_str()), INVALID_FILE_ATTRIBUTES)
        << win::SjisFromWide(program_) << " is missing";
  }
  std::wstring program_;
};

// One string of the version information's Japanese/Unicode block, as Shift-JIS.
std::string VersionString(const std::vector<char>& info, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
  if (!::VerQueryValueW(info.data(), key.c_str(), &value, &length) || length == 0) return {};
  const auto* text = static_cast<const wchar_t*>(value);
  return win::SjisFromWide(std::wstring_view(text, text[length - 1] == L'\0' ? length - 1 : length));
}

TEST_F(Package, ProgramCarriesItsManifestAndVersion) {
  // The manifest that selects the version 6 common controls and declares DPI awareness.
  HMODULE module = ::LoadLibraryExW(program_.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr) << "no application manifest";
  const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
  const std::string manifest(bytes, ::SizeofResource(module, found));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
  EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
  EXPECT_NE(manifest.find(std::string("name=\"Pelmora\" version=\"") +
                          std::to_string(PELMORA_VERSION_MAJOR) + "." +
                          std::to_string(PELMORA_VERSION_MINOR) + ".0.0\""),
            std::string::npos);
  ::FreeLibrary(module);

  // The version information, as Explorer shows it, agrees with the captions and the zip.
  const DWORD size = ::GetFileVersionInfoSizeW(program_.c_str(), nullptr);
  ASSERT_GT(size, 0u) << "no version information";
  std::vector<char> info(size);
  ASSERT_TRUE(::GetFileVersionInfoW(program_.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixed_length = 0;
  ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixed_length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(PELMORA_VERSION_MINOR, PELMORA_VERSION_MAJOR));
  EXPECT_EQ(VersionString(info, L"FileVersion"), PELMORA_VERSION_TEXT);
  EXPECT_EQ(VersionString(info, L"ProductName"), "Pelmora");
  EXPECT_EQ(VersionString(info, L"OriginalFilename"), "Pelmora.exe");
}

TEST_F(Package, StartsFromTheFolderItWasUnpackedInto) {
  test::PelmoraRun run(program_);
  ASSERT_TRUE(run.process().Started());
  ASSERT_NE(run.main(), nullptr) << "the main window did not show";
  EXPECT_EQ(test::WindowTextSjis(run.main()), " Pelmora　    Ver " PELMORA_VERSION_TEXT);
  // The title taken from the program file's name, on the taskbar button's window.
  EXPECT_EQ(test::WindowTextSjis(::GetWindow(run.main(), GW_OWNER)), "Pelmora");
  EXPECT_EQ(run.Close(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace pelmora
