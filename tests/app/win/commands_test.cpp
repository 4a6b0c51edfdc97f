// The context menu's commands end to end: each command runs on the test's thread while a
// second thread answers the real file or font dialog, then looks for any box the command
// shows afterwards and closes it, so the test's thread always comes back.
#include <gtest/gtest.h>
#include <richedit.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <algorithm>
#include <vector>

#include "app/win/clipboard_view.h"
#include "app/win/main_window.h"
#include "app/win/program.h"
#include "base/win/text.h"
#include "clipboard/win/clipboard.h"
#include "dialogs/win/dialog_host.h"
#include "dialogs/win/message_form.h"
#include "picture/bitmap.h"
#include "picture/jpeg_image.h"
#include "picture/png_image.h"
#include "raster/screen.h"
#include "richtext/win/rich_edit.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"
#include "support/unicode_samples.h"
#include "support/win/clipboard_text.h"
#include "support/win/input.h"
#include "support/win/menus.h"
#include "support/win/modal_watcher.h"
#include "support/win/platform_dialog.h"
#include "support/win/transparent_picture.h"
#include "support/win/wait.h"
#include "support/win/window_query.h"
#include "view/image.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;

constexpr int kFaceList = 1136;
constexpr int kSizeBox = 1138;

// ---- The clipboard, seen from the test ----------------------------------------------

void PutText(const std::string& text) { ASSERT_TRUE(test::PutClipboardText(text)); }

// A display bitmap, red above and blue below its middle row.
void PutBitmap(int width, int height) {
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
  HBRUSH blue = ::CreateSolidBrush(RGB(0, 0, 255));
  RECT top{0, 0, width, height / 2}, bottom{0, height / 2, width, height};
  ::FillRect(dc, &top, red);
  ::FillRect(dc, &bottom, blue);
  ::SelectObject(dc, old);
  ::DeleteObject(red);
  ::DeleteObject(blue);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  ASSERT_TRUE(test::OpenClipboardSoon());
  ::EmptyClipboard();
  ::SetClipboardData(CF_BITMAP, bitmap);
  ::CloseClipboard();
}

using test::ClipboardText;

// The clipboard's CF_BITMAP: its size and the colours of its top-left and bottom-left
// pixels; all -1 without one.
struct ClipboardPicture {
  int width = -1;
  int height = -1;
  COLORREF top_left = CLR_INVALID;
  COLORREF bottom_left = CLR_INVALID;
};

ClipboardPicture ReadClipboardBitmap() {
  ClipboardPicture result;
  if (!test::OpenClipboardSoon()) return result;
  if (HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP))) {
    BITMAP facts{};
    if (::GetObjectW(bitmap, sizeof facts, &facts) != 0) {
      result.width = facts.bmWidth;
      result.height = facts.bmHeight;
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = facts.bmWidth;
      info.bmiHeader.biHeight = -facts.bmHeight;  // top-down
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      std::vector<DWORD> pixels(
          static_cast<std::size_t>(facts.bmWidth) * static_cast<std::size_t>(facts.bmHeight), 0);
      HDC screen = ::GetDC(nullptr);
      if (::GetDIBits(screen, bitmap, 0, static_cast<UINT>(facts.bmHeight), pixels.data(), &info,
                      DIB_RGB_COLORS) == facts.bmHeight) {
        auto colour = [](DWORD p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); };
        result.top_left = colour(pixels.front());
        result.bottom_left =
            colour(pixels[static_cast<std::size_t>(facts.bmHeight - 1) * facts.bmWidth]);
      }
      ::ReleaseDC(nullptr, screen);
    }
  }
  ::CloseClipboard();
  return result;
}

// ---- Files ------------------------------------------------------------------------

using test::ReadBytes;
using test::WriteBytes;

// An empty folder of this name under the system's temporary folder.
std::wstring EmptyTempFolder(const wchar_t* name) { return test::EmptyTempFolder(name).native(); }

bool FolderIsEmpty(const std::wstring& folder) {
  return fs::is_empty(fs::path(folder));
}

std::size_t FileCount(const std::wstring& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(fs::path(folder)), fs::directory_iterator()));
}

// The names in a folder, as the file system lists them.
std::vector<std::wstring> FileNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(folder))) {
    names.push_back(entry.path().filename().native());
  }
  return names;
}

// The file saved under a name typed into a dialog, which the platform may give an extension.
std::wstring SavedUnder(const std::wstring& folder, const std::wstring& typed) {
  const std::wstring base = fs::path(folder + typed).filename().native();
  for (const std::wstring& name : FileNames(folder)) {
    if (name.rfind(base, 0) == 0 && (name == base || name[base.size()] == L'.')) {
      return folder + L"\\" + name;
    }
  }
  return L"<none>";
}

bool Holds(const std::vector<std::wstring>& names, const std::wstring& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// A name in scripts Shift-JIS lacks: accented Latin, simplified Chinese, Hangul, an emoji.
const std::wstring kAnyScript = L"caf\u00E9-\u56FE\u7247-\uC0AC\uC9C4-\U0001F642";

bool IsJpeg(const std::string& bytes) { return bytes.compare(0, 3, "\xFF\xD8\xFF") == 0; }
bool IsBmp(const std::string& bytes) { return bytes.compare(0, 2, "BM") == 0; }

std::string WithoutFinalBreak(std::string text) {
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) {
    text.resize(text.size() - 2);
  } else if (!text.empty() && text.back() == '\r') {
    text.pop_back();
  }
  return text;
}

bool StartsWith(const std::string& bytes, const std::string& prefix) {
  return bytes.compare(0, prefix.size(), prefix) == 0;
}

// A 24-bit BMP file written by the program's own bitmap: red above, blue below the middle.
void WriteBmp(const std::wstring& path, int width, int height) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(TPixelFormat::Bit24);
  bitmap.SetWidth(width);
  bitmap.SetHeight(height);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      const bool top = y < height / 2;
      row[3 * x + 0] = top ? 0 : 255;  // blue
      row[3 * x + 1] = 0;
      row[3 * x + 2] = top ? 255 : 0;  // red
    }
  }
  bitmap.SaveToFile(FileName(path));
}

// The first quantization table of a JPEG file in zigzag order, or empty.
std::string FirstQuantizationTable(const std::string& jpeg) {
  std::size_t at = 2;
  while (at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF) {
    const unsigned char marker = static_cast<unsigned char>(jpeg[at + 1]);
    const std::size_t length = (static_cast<unsigned char>(jpeg[at + 2]) << 8) |
                               static_cast<unsigned char>(jpeg[at + 3]);
    if (marker == 0xDB && at + 5 + 64 <= jpeg.size()) return jpeg.substr(at + 5, 64);
    if (marker == 0xDA) break;
    at += 2 + length;
  }
  return {};
}

bool HasMarker(const std::string& jpeg, unsigned char marker) {
  return jpeg.find(std::string("\xFF") + static_cast<char>(marker)) != std::string::npos;
}

// ---- Driving the dialogs ----------------------------------------------------------

constexpr int kFileTypeList = 0x470;


// The texts a box shows, its buttons' included, one after another.
std::wstring BoxText(HWND box) {
  if (HWND label = ::GetDlgItem(box, TMessageForm::kMessageId)) return test::WindowText(label);
  std::wstring text;
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    text += test::WindowText(child);
  }
  return text;
}

struct Script {
  // The name typed into a file dialog; none typed when empty.
  std::wstring file_name;
  // Acts in the dialog before its button is pressed.
  std::function<void(HWND dialog)> act;
  int button = IDOK;
  // Acts on a box that comes up after the dialog, before the box is closed.
  std::function<void(HWND box)> on_box;
};

// What the watcher saw while the command ran.
struct Seen {
  bool dialog = false;
  std::wstring prompt;     // anything the dialog itself asked before it closed
  std::wstring box_class;  // a box that came up after the dialog closed
  std::wstring box_text;
};

// Closes a box the command showed: the program's own with a click on its OK button, the
// system's through its button's BM_CLICK.
void CloseBox(test::Watcher& watcher, HWND box, bool ours) {
  ASSERT_TRUE(ours ? test::Click(::GetDlgItem(box, IDOK)) : test::PressDialogButton(box, IDOK));
  ASSERT_TRUE(watcher.WaitGone(box));
}

// Runs command on this thread while the watcher answers its dialog by script and then,
// until the command returns, reads and closes any box that comes up.
Seen RunWithDialog(const std::function<void()>& command, const Script& script) {
  Seen seen;
  test::Watched(command, [&](test::Watcher& watcher) {
    HWND dialog = watcher.WaitFor(L"#32770");
    ASSERT_NE(dialog, nullptr);
    seen.dialog = true;
    if (!script.file_name.empty()) {
      ASSERT_TRUE(test::TypeFileName(dialog, script.file_name));
    }
    if (script.act) script.act(dialog);
    ASSERT_TRUE(test::PressDialogButton(dialog, script.button));
    // The dialog closes, unless it asks something first (an overwrite prompt, a bad path).
    HWND prompt = nullptr;
    ASSERT_TRUE(test::WaitUntil(
        [&] {
          prompt = test::FindThreadWindow(watcher.Thread(), L"#32770", dialog);
          return !::IsWindowVisible(dialog) || (prompt != nullptr && ::IsWindowEnabled(prompt));
        },
        test::kStandTimeoutMs))
        << "the dialog neither closed nor asked anything";
    if (prompt != nullptr) {
      seen.prompt = BoxText(prompt);
      // A question is answered No; a notice has only OK.
      const int answer = ::GetDlgItem(prompt, IDNO) != nullptr ? IDNO : IDOK;
      ASSERT_TRUE(test::PressDialogButton(prompt, answer));
      ASSERT_TRUE(watcher.WaitGone(prompt));
      ASSERT_TRUE(test::PressDialogButton(dialog, IDCANCEL));
      ASSERT_TRUE(watcher.WaitGone(dialog));
    }
    // Whatever the command shows afterwards is read and closed; the first box is noted.
    while (HWND box = watcher.NextOrEnd({L"PelmoraMessageForm", L"#32770"})) {
      const bool ours = test::ClassOf(box) == "PelmoraMessageForm";
      if (seen.box_class.empty()) {
        seen.box_class = ours ? L"PelmoraMessageForm" : L"#32770";
        seen.box_text = BoxText(box);
        if (script.on_box) script.on_box(box);
      }
      CloseBox(watcher, box, ours);
    }
  });
  return seen;
}

// ---- The form under test ------------------------------------------------------------

class CommandsTest : public ::testing::Test {
 protected:

  // Puts text on the clipboard and lets the form show it.
  void ShowText(const std::string& text) {
    PutText(text);
    test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
    ASSERT_EQ(form_.View().Kind(), ClipboardKind::Text);
    ASSERT_TRUE(form_.View().TextView().Visible());
  }
  void ShowPicture(int width, int height) {
    PutBitmap(width, height);
    test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
    ASSERT_EQ(form_.View().Kind(), ClipboardKind::Bitmap);
    ASSERT_TRUE(form_.View().ImageView().Visible());
  }

  Seen Save(const std::wstring& name) {
    return RunWithDialog([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::SaveShown); }, Script{name});
  }
  Seen Load(const std::wstring& name) {
    return RunWithDialog([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::LoadFile); }, Script{name});
  }

  HWND TextView() { return form_.View().TextView().Handle(); }
  void SelectText(int from, int to) {
    ::SendMessageW(TextView(), EM_SETSEL, static_cast<WPARAM>(from), to);
  }
  std::string ViewText() {
    char text[1024] = {};
    ::SendMessageA(TextView(), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
  }
  CHARFORMATA SelectionFormat() {
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    ::SendMessageA(TextView(), EM_GETCHARFORMAT, SCF_SELECTION,
                   reinterpret_cast<LPARAM>(&format));
    return format;
  }
  void ColourAllText(COLORREF colour) {
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.crTextColor = colour;
    ::SendMessageA(TextView(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  }

  Program program_{::GetModuleHandleW(nullptr)};
  MainWindow& form_ = program_.Window();
};

// ---- Saving -------------------------------------------------------------------------

TEST_F(CommandsTest, SavingTextWritesRtfWhateverTheName) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-save-text");
  ShowText("保存するテキスト save me");
  for (const wchar_t* name : {L"\\text.txt", L"\\text.rft", L"\\plain"}) {
    SCOPED_TRACE(win::SjisFromWide(name));
    const Seen seen = Save(folder + name);
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.prompt, L"");
    EXPECT_EQ(seen.box_class, L"") << win::SjisFromWide(seen.box_text);
    // The platform may add the default extension to a name typed without one.
    const std::wstring chosen = SavedUnder(folder, name);
    EXPECT_EQ(chosen.rfind(folder + name, 0), 0u) << win::SjisFromWide(chosen);
    const std::string bytes = ReadBytes(chosen);
    EXPECT_TRUE(StartsWith(bytes, "{\\rtf")) << bytes.substr(0, 20);
    EXPECT_NE(bytes.find("save me"), std::string::npos);
  }
  // A name typed without an extension is given ".rtf".
  EXPECT_TRUE(fs::exists(fs::path(folder + L"\\plain.rtf")));
  {  // Saving over an existing file asks nothing and replaces it.
    const std::wstring existing = folder + L"\\existing.txt";
    WriteBytes(existing, std::string(5000, 'x') + "old content");
    const Seen seen = Save(existing);
    EXPECT_EQ(seen.prompt, L"");
    EXPECT_EQ(seen.box_class, L"");
    const std::string bytes = ReadBytes(existing);
    EXPECT_TRUE(StartsWith(bytes, "{\\rtf"));
    EXPECT_EQ(bytes.find("old content"), std::string::npos);
  }
  // Saving never looks at the clipboard again.
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Text);
  EXPECT_EQ(FileCount(folder), 4u) << "a temporary file was left behind";
}

TEST_F(CommandsTest, NamesInAnyScriptAreSavedUnderExactlyThatName) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-save-any-script");
  ShowText("text under a name in any script");
  const std::wstring text_name = kAnyScript + L".rtf";
  Seen seen = Save(folder + L"\\" + text_name);
  ASSERT_TRUE(seen.dialog);
  EXPECT_EQ(seen.box_class, L"") << win::SjisFromWide(seen.box_text);
  EXPECT_NE(ReadBytes(folder + L"\\" + text_name).find("in any script"), std::string::npos);

  ShowPicture(32, 24);
  for (const std::wstring extension : {L".jpg", L".bmp"}) {
    SCOPED_TRACE(win::SjisFromWide(extension));
    seen = Save(folder + L"\\" + kAnyScript + extension);
    EXPECT_EQ(seen.box_class, L"") << win::SjisFromWide(seen.box_text);
    const std::string bytes = ReadBytes(folder + L"\\" + kAnyScript + extension);
    EXPECT_TRUE(extension == L".jpg" ? IsJpeg(bytes) : IsBmp(bytes));
  }
  const std::vector<std::wstring> names = FileNames(folder);
  EXPECT_EQ(names.size(), 3u);
  for (const std::wstring extension : {L".rtf", L".jpg", L".bmp"}) {
    EXPECT_TRUE(Holds(names, kAnyScript + extension)) << win::SjisFromWide(extension);
  }
}

TEST_F(CommandsTest, LargeTextIsRestyledSavedAndLoadedWhole) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-large-text");
  // 100,000 characters: 1000 lines of 98 and their line breaks.
  std::string text;
  for (int i = 0; i < 1000; ++i) {
    for (int j = 0; j < 9; ++j) text += "line " + std::to_string(100 + i % 900) + "  ";
    text += "the end.\r\n";
  }
  ASSERT_EQ(text.size(), 100000u);
  ShowText(text);

  const Seen restyled = RunWithDialog([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::RestyleText); }, Script{});
  ASSERT_TRUE(restyled.dialog);
  const std::string copied = ClipboardText();
  EXPECT_TRUE(WithoutFinalBreak(copied) == WithoutFinalBreak(text)) << copied.size();

  const Seen saved = Save(folder + L"\\large.rtf");
  EXPECT_EQ(saved.box_class, L"");
  PutText("something else");
  const Seen loaded = Load(folder + L"\\large.rtf");
  EXPECT_EQ(loaded.box_class, L"");
  const std::string reloaded = ClipboardText();
  EXPECT_TRUE(WithoutFinalBreak(reloaded) == WithoutFinalBreak(text)) << reloaded.size();
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Text);
}

TEST_F(CommandsTest, TextInEveryScriptIsRestyledSavedAndLoadedUnitForUnit) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-every-script");
  const std::u16string all16 = test::AllUnicodeSamples();
  const std::wstring all(all16.begin(), all16.end());
  ASSERT_TRUE(test::PutClipboardWideText(all));
  test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
  ASSERT_TRUE(test::SameUnits(form_.View().TextView().Text(), all));

  // Restyled, the text goes back as itself: each line break once, every character kept.
  ASSERT_TRUE(RunWithDialog([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::RestyleText); }, Script{}).dialog);
  EXPECT_TRUE(test::SameUnits(test::ClipboardWideText(), all));
  EXPECT_TRUE(test::SameUnits(test::TextOfRtf(test::ClipboardRtf()), all));

  EXPECT_EQ(Save(folder + L"\\every script.rtf").box_class, L"");
  PutText("something else");
  EXPECT_EQ(Load(folder + L"\\every script.rtf").box_class, L"");
  EXPECT_TRUE(test::SameUnits(form_.View().TextView().Text(), all));
  EXPECT_TRUE(test::SameUnits(test::ClipboardWideText(), all));
}

TEST_F(CommandsTest, WriteFailureShowsTheShortMessageWhoseCopyIsExact) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-write-error");
  ShowText("text that cannot be written");
  DWORD sequence_before_copy = 0;
  bool copied = false;
  Script script{folder + L"\\missing-folder\\text.txt"};
  script.on_box = [&](HWND box) {
    sequence_before_copy = ::GetClipboardSequenceNumber();
    ASSERT_TRUE(test::PressKeys(box, {VK_CONTROL, 'C'}));
    copied = test::WaitUntil(
        [&] { return ::GetClipboardSequenceNumber() != sequence_before_copy; }, 5000);
    test::WaitUntil([] { return ::GetOpenClipboardWindow() == nullptr; }, 5000);
  };
  const Seen seen = RunWithDialog([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::SaveShown); }, script);
  ASSERT_TRUE(seen.dialog);
  ASSERT_EQ(seen.prompt, L"") << "the dialog refused the name";
  EXPECT_EQ(seen.box_class, L"PelmoraMessageForm");
  EXPECT_EQ(seen.box_text, L"ファイル書き込みエラー");
  EXPECT_TRUE(copied);
  const std::string dashes(27, '-');
  const std::string expected = dashes + "\r\napp_win_tests\r\n" + dashes +
                               "\r\n\x83\x74\x83\x40\x83\x43\x83\x8B\x8F\x91\x82\xAB\x8D\x9E"
                               "\x82\xDD\x83\x47\x83\x89\x81\x5B\r\n" +
                               dashes + "\r\nOK   \r\n" + dashes + "\r\n";
  EXPECT_EQ(ClipboardText(), expected);
  EXPECT_TRUE(FolderIsEmpty(folder));
}

TEST_F(CommandsTest, SavingAPictureWritesJpegOrBmpByTheExtensionOnly) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-save-picture");
  ShowPicture(64, 48);
  for (const wchar_t* name : {L"\\photo.jpg", L"\\PHOTO2.JPG"}) {
    SCOPED_TRACE(win::SjisFromWide(name));
    const Seen seen = Save(folder + name);
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.box_class, L"") << win::SjisFromWide(seen.box_text);
    const std::string bytes = ReadBytes(folder + name);
    ASSERT_GE(bytes.size(), 11u);
    EXPECT_EQ(bytes.substr(0, 4), "\xFF\xD8\xFF\xE0");
    EXPECT_EQ(bytes.substr(6, 5), std::string("JFIF\0", 5));
    // Baseline, and the luminance table of quality 90 (the standard table scaled by 20%).
    EXPECT_TRUE(HasMarker(bytes, 0xC0));
    EXPECT_FALSE(HasMarker(bytes, 0xC2));
    EXPECT_EQ(FirstQuantizationTable(bytes).substr(0, 8), "\x03\x02\x02\x03\x02\x02\x03\x03");
    // What was written is the shown picture.
    TJPEGImage written;
    written.LoadFromFile(FileName(folder + name));
    EXPECT_EQ(written.Width(), 64);
    EXPECT_EQ(written.Height(), 48);
  }
  {
    const Seen seen = Save(folder + L"\\picture.bmp");
    EXPECT_EQ(seen.box_class, L"");
    const std::string bytes = ReadBytes(folder + L"\\picture.bmp");
    ASSERT_GE(bytes.size(), 26u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    std::int32_t width = 0, height = 0;
    std::memcpy(&width, bytes.data() + 18, 4);
    std::memcpy(&height, bytes.data() + 22, 4);
    EXPECT_EQ(width, 64);
    EXPECT_EQ(std::abs(height), 48);
  }
  {
    SCOPED_TRACE("the other JPEG extensions");
    const Seen seen = Save(folder + L"\\photo.jpeg");
    EXPECT_EQ(seen.box_class, L"");
    EXPECT_TRUE(IsJpeg(ReadBytes(folder + L"\\photo.jpeg")));
  }
  // A name without an extension is saved in the format of the type chosen in the dialog.
  for (const int type : {0, 1}) {
    SCOPED_TRACE(type == 0 ? "no extension, JPEG chosen" : "no extension, bitmap chosen");
    const std::wstring typed = folder + (type == 0 ? L"\\bare" : L"\\plain");
    Script script;
    script.act = [&](HWND dialog) {
      ASSERT_TRUE(test::ChooseInDialogList(dialog, kFileTypeList, type));
      ASSERT_TRUE(test::TypeFileName(dialog, typed));
    };
    const Seen seen = RunWithDialog([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::SaveShown); }, script);
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.prompt, L"") << win::SjisFromWide(seen.prompt);
    EXPECT_EQ(seen.box_class, L"") << win::SjisFromWide(seen.box_text);
    const std::string bytes = ReadBytes(typed + (type == 0 ? L".jpg" : L".bmp"));
    EXPECT_TRUE(type == 0 ? IsJpeg(bytes) : IsBmp(bytes)) << bytes.substr(0, 4);
  }
  {
    SCOPED_TRACE("an extension that cannot be saved writes nothing and says why");
    const std::size_t before = FileCount(folder);
    const Seen seen = Save(folder + L"\\photo.gif");
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.box_class, L"#32770");
    EXPECT_NE(seen.box_text.find(L"拡張子 .gif の画像形式は処理できません"), std::wstring::npos)
        << win::SjisFromWide(seen.box_text);
    EXPECT_EQ(FileCount(folder), before);
  }
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Bitmap);
}

TEST_F(CommandsTest, PictureWriteFailuresReachTheirOwnDisplays) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-picture-error");
  ShowPicture(16, 16);
  auto save = [&](const std::wstring& name) {
    return RunWithDialog([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::SaveShown); }, Script{name});
  };
  {
    SCOPED_TRACE("jpeg: the error's own message in the default error display");
    const Seen seen = save(folder + L"\\missing-folder\\photo.jpg");
    ASSERT_TRUE(seen.dialog);
    ASSERT_EQ(seen.prompt, L"");
    EXPECT_EQ(seen.box_class, L"#32770");
    EXPECT_NE(seen.box_text.find(L"photo.jpg"), std::wstring::npos)
        << win::SjisFromWide(seen.box_text);
    EXPECT_NE(seen.box_text.find(L"作成できません"), std::wstring::npos);
  }
  {
    SCOPED_TRACE("bmp: the short message");
    const Seen seen = save(folder + L"\\missing-folder\\picture.bmp");
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.box_class, L"PelmoraMessageForm");
    EXPECT_EQ(seen.box_text, L"ファイル書き込みエラー");
  }
  EXPECT_TRUE(FolderIsEmpty(folder));
  for (const wchar_t* name : {L"\\kept.bmp", L"\\kept.jpg"}) {
    SCOPED_TRACE("a file that cannot be replaced keeps its bytes");
    const std::wstring path = folder + name;
    WriteBytes(path, "old bytes");
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    const Seen seen = save(path);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_NE(seen.box_class, L"");
    EXPECT_EQ(ReadBytes(path), "old bytes");
  }
  EXPECT_EQ(FileCount(folder), 2u) << "a temporary file was left behind";
}

TEST_F(CommandsTest, NothingShownSavesNothing) {
  ASSERT_FALSE(form_.View().TextView().Visible());
  ASSERT_FALSE(form_.View().ImageView().Visible());
  // The command ends without a dialog or a box (one that came up fails the test, and is
  // closed once the command has had its time).
  HWND shown = nullptr;
  test::Watched([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::SaveShown); }, [&](test::Watcher& watcher) {
    shown = watcher.NextOrEnd({L"#32770", L"PelmoraMessageForm"});
  });
  EXPECT_EQ(shown, nullptr) << test::ClassOf(shown);
}

TEST_F(CommandsTest, TransparencyIsKeptByPngAndPutOnWhiteByJpegAndBmp) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-save-transparent");
  ASSERT_TRUE(test::OpenClipboardSoon());
  ::EmptyClipboard();
  ::SetClipboardData(CF_DIB, test::TransparentDib(test::AlphaData::Straight));
  ::CloseClipboard();
  test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
  for (const wchar_t* name : {L"\\picture.png", L"\\picture.bmp", L"\\picture.jpg"}) {
    ASSERT_EQ(Save(folder + name).box_class, L"") << win::SjisFromWide(name);
  }
  // PNG: the same pixels with the same alpha.
  TPngImage png;
  png.LoadFromFile(FileName(folder + L"\\picture.png"));
  std::shared_ptr<const raster::Image> saved = png.Bitmap().Image();
  const std::vector<std::uint8_t> placed = test::TransparentPixels(test::AlphaData::Straight);
  EXPECT_TRUE(saved->HasAlpha());
  const std::size_t row = 4 * test::kTransparentSide;
  for (int y = 0; y < test::kTransparentSide; ++y) {
    ASSERT_TRUE(std::equal(saved->Row(y), saved->Row(y) + row, placed.begin() + row * y)) << y;
  }
  // BMP and JPEG: white where transparent, the disc red.
  TBitmap bmp;
  bmp.LoadFromFile(FileName(folder + L"\\picture.bmp"));
  EXPECT_EQ(bmp.Image()->Pixel(2, 2), raster::kWhite);
  EXPECT_EQ(bmp.Image()->Pixel(60, 55), raster::MakeRgb(255, 0, 0));
  TJPEGImage jpeg;
  jpeg.LoadFromFile(FileName(folder + L"\\picture.jpg"));
  const raster::Rgb corner = jpeg.Bitmap().Image()->Pixel(2, 2);
  EXPECT_GE(std::min({corner.red, corner.green, corner.blue}), 245);
}

// ---- Loading ------------------------------------------------------------------------

TEST_F(CommandsTest, LoadingAPictureReplacesTheClipboardAndShowsIt) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-load-picture");
  // Loads the picture file over text on the clipboard; the clipboard then holds only the
  // picture, of the given size, and the view shows it at that size.
  auto load_picture = [&](const std::wstring& path, int width, int height) {
    PutText("before");
    const Seen seen = Load(path);
    EXPECT_TRUE(seen.dialog);
    EXPECT_EQ(seen.box_class, L"");
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_TEXT));
    const ClipboardPicture picture = ReadClipboardBitmap();
    EXPECT_EQ(picture.width, width);
    EXPECT_EQ(picture.height, height);
    EXPECT_EQ(form_.View().Kind(), ClipboardKind::Bitmap);
    EXPECT_TRUE(form_.View().ImageView().Visible());
    EXPECT_FALSE(form_.View().TextView().Visible());
    EXPECT_EQ(form_.View().ImageView().Width(), width);
    EXPECT_EQ(form_.View().ImageView().Height(), height);
    return picture;
  };
  {
    SCOPED_TRACE("bmp");
    WriteBmp(folder + L"\\picture.bmp", 50, 40);
    const ClipboardPicture picture = load_picture(folder + L"\\picture.bmp", 50, 40);
    EXPECT_EQ(picture.top_left, RGB(255, 0, 0));
    EXPECT_EQ(picture.bottom_left, RGB(0, 0, 255));
  }
  {
    SCOPED_TRACE("jpeg");
    ::CopyFileW(test::DataPath("jpeg/testorig.jpg").c_str(),
                (folder + L"\\photo.jpg").c_str(), FALSE);
    TJPEGImage original;
    original.LoadFromFile(FileName(folder + L"\\photo.jpg"));
    ASSERT_GT(original.Width(), 0);
    load_picture(folder + L"\\photo.jpg", original.Width(), original.Height());
  }
}

TEST_F(CommandsTest, LoadingAPngPlacesItAsPngAndAsAV5BitmapWithItsAlpha) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-load-png");
  const std::string file = test::TransparentPng();
  WriteBytes(folder + L"\\picture.png", file);
  PutText("before");
  const Seen seen = Load(folder + L"\\picture.png");
  EXPECT_EQ(seen.box_class, L"") << win::SjisFromWide(seen.box_text);
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Bitmap);
  const auto* shown = dynamic_cast<const TBitmap*>(form_.View().ImageView().Picture().Graphic());
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->HasAlpha());

  ASSERT_TRUE(test::OpenClipboardSoon());
  EXPECT_FALSE(::IsClipboardFormatAvailable(CF_TEXT));
  // "PNG": the file's bytes as they are.
  HGLOBAL png = ::GetClipboardData(::RegisterClipboardFormatW(L"PNG"));
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(::GlobalLock(png)), file.size()), file);
  ::GlobalUnlock(png);
  // CF_DIBV5: 32 bits with an alpha mask, straight alpha, the bottom row first.
  HGLOBAL v5 = ::GetClipboardData(CF_DIBV5);
  ASSERT_NE(v5, nullptr);
  const auto* header = static_cast<const BITMAPV5HEADER*>(::GlobalLock(v5));
  EXPECT_EQ(header->bV5Size, sizeof(BITMAPV5HEADER));
  EXPECT_EQ(header->bV5BitCount, 32);
  EXPECT_EQ(header->bV5AlphaMask, 0xFF000000u);
  const auto* bottom = reinterpret_cast<const std::uint8_t*>(header) + header->bV5Size;
  const std::vector<std::uint8_t> placed = test::TransparentPixels(test::AlphaData::Straight);
  EXPECT_TRUE(std::equal(bottom, bottom + 4 * test::kTransparentSide,
                         placed.end() - 4 * test::kTransparentSide));
  ::GlobalUnlock(v5);
  ::CloseClipboard();
}

TEST_F(CommandsTest, NamesInAnyScriptLoadAndAreNamedWholeInFailures) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-load-any-script");
  WriteBmp(folder + L"\\" + kAnyScript + L".bmp", 30, 20);
  PutText("before");
  Seen seen = Load(folder + L"\\" + kAnyScript + L".bmp");
  EXPECT_EQ(seen.box_class, L"") << win::SjisFromWide(seen.box_text);
  EXPECT_EQ(ReadClipboardBitmap().width, 30);

  ::CopyFileW(test::DataPath("jpeg/testorig.jpg").c_str(),
              (folder + L"\\" + kAnyScript + L".jpg").c_str(), FALSE);
  TJPEGImage original;
  original.LoadFromFile(FileName(folder + L"\\" + kAnyScript + L".jpg"));
  PutText("before");
  seen = Load(folder + L"\\" + kAnyScript + L".jpg");
  EXPECT_EQ(seen.box_class, L"") << win::SjisFromWide(seen.box_text);
  EXPECT_EQ(ReadClipboardBitmap().width, original.Width());

  // A failure names the file, and an unknown extension, with every character.
  const std::wstring missing = folder + L"\\missing-" + kAnyScript + L".bmp";
  seen = Load(missing);
  EXPECT_EQ(seen.box_class, L"#32770");
  EXPECT_NE(seen.box_text.find(missing), std::wstring::npos) << win::SjisFromWide(seen.box_text);
  const std::wstring unknown = L"\u56FE\u7247\U0001F642";
  WriteBytes(folder + L"\\picture." + unknown, "BM");
  seen = Load(folder + L"\\picture." + unknown);
  EXPECT_EQ(seen.box_class, L"#32770");
  EXPECT_NE(seen.box_text.find(L"." + unknown + L" "), std::wstring::npos)
      << win::SjisFromWide(seen.box_text);
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Bitmap);
}

TEST_F(CommandsTest, LoadingATruncatedJpegShowsWhatItsDataHolds) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-load-truncated");
  const std::string whole = ReadBytes(test::DataPath("jpeg/testorig.jpg"));
  ASSERT_GT(whole.size(), 1000u);
  // Saved pictures may end in ".jpeg"; they load as JPEG like ".jpg" ones.
  WriteBytes(folder + L"\\half.jpeg", whole.substr(0, whole.size() / 2));
  TJPEGImage original;
  original.LoadFromFile(FileName(folder + L"\\half.jpeg"));
  PutText("before");
  const Seen seen = Load(folder + L"\\half.jpeg");
  ASSERT_TRUE(seen.dialog);
  EXPECT_EQ(seen.box_class, L"");
  const ClipboardPicture picture = ReadClipboardBitmap();
  EXPECT_EQ(picture.width, original.Width());
  EXPECT_EQ(picture.height, original.Height());
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Bitmap);
  EXPECT_TRUE(form_.View().ImageView().Visible());
}

TEST_F(CommandsTest, LoadingTextPutsItOnTheClipboardAndShowsIt) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-load-text");
  const std::string text = "読み込んだテキスト loaded";
  for (const wchar_t* name : {L"\\note.txt", L"\\NOTE2.TXT", L"\\older.rft"}) {
    SCOPED_TRACE(win::SjisFromWide(name));
    WriteBytes(folder + name, text);
    PutBitmap(20, 20);
    const Seen seen = Load(folder + name);
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.box_class, L"");
    EXPECT_EQ(ClipboardText(), text);
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_EQ(form_.View().Kind(), ClipboardKind::Text);
    EXPECT_TRUE(form_.View().TextView().Visible());
    EXPECT_FALSE(form_.View().ImageView().Visible());
    // Pasting back the whole text may bring the control's final paragraph mark along.
    EXPECT_EQ(WithoutFinalBreak(ViewText()), text);
  }
}

TEST_F(CommandsTest, OpenDialogListsItsFiveFileTypes) {
  std::vector<std::wstring> types;
  Script script;
  script.button = IDCANCEL;
  script.act = [&](HWND dialog) {
    HWND list = ::GetDlgItem(dialog, kFileTypeList);
    const int count = static_cast<int>(::SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[256] = {};
      if (::SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < 256) {
        ::SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      }
      types.push_back(text);
    }
  };
  const Seen seen = RunWithDialog([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::LoadFile); }, script);
  ASSERT_TRUE(seen.dialog);
  EXPECT_EQ(types, (std::vector<std::wstring>{L"総て　(*.txt,*.rtf,*.jpg,*.bmp,*.png)",
                                              L"テキスト　(*.txt,*.rtf)",
                                              L"JPEG イメージファイル (*.jpg)",
                                              L"ビットマップ (*.bmp)",
                                              L"PNG イメージファイル (*.png)"}));
}

TEST_F(CommandsTest, LoadingWhatCannotBeLoadedLeavesTheClipboard) {
  const std::wstring folder = EmptyTempFolder(L"pelmora-commands-load-nothing");
  // Loads the file, which the program refuses with a box saying why; the clipboard keeps
  // "before".
  auto expect_refused = [&](const wchar_t* name, const std::string& bytes,
                            const std::wstring& says) {
    WriteBytes(folder + name, bytes);
    const DWORD sequence = ::GetClipboardSequenceNumber();
    const Seen seen = Load(folder + name);
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.box_class, L"#32770");
    EXPECT_NE(seen.box_text.find(says), std::wstring::npos) << win::SjisFromWide(seen.box_text);
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
    EXPECT_EQ(ClipboardText(), "before");
  };
  {
    SCOPED_TRACE("a .jpg that is not JPEG data: nothing changes, the failure is shown");
    PutText("before");
    expect_refused(L"\\fake.jpg", "this is plain text, not a JPEG file", L"JPEG");
    // The view was not refreshed: it still shows nothing.
    EXPECT_EQ(form_.View().Kind(), ClipboardKind::Nothing);
    EXPECT_FALSE(form_.View().TextView().Visible());
    EXPECT_FALSE(form_.View().ImageView().Visible());
  }
  {
    SCOPED_TRACE("a corrupt .bmp says so and leaves the clipboard");
    // An info header of 20 bytes, a size no BMP header has.
    expect_refused(L"\\broken.bmp",
                   "BM" + std::string(12, '\0') + std::string("\x14\0\0\0", 4) +
                       std::string(40, '\0'),
                   L"ビットマップイメージが不正です");
    EXPECT_EQ(form_.View().Kind(), ClipboardKind::Nothing);
  }
  {
    SCOPED_TRACE("a .png cut short after its signature: the PNG error, nothing changes");
    expect_refused(L"\\photo.png", "\x89PNG\r\n\x1a\n", L"PNG エラー #68");
  }
  {
    SCOPED_TRACE("an extension no loader takes says so and changes nothing");
    expect_refused(L"\\photo.gif", "GIF89a", L"拡張子 .gif の画像形式は処理できません");
  }
  {
    SCOPED_TRACE("a 0-byte .bmp places nothing");
    WriteBytes(folder + L"\\empty.bmp", "");
    PutText("still before");
    const DWORD sequence = ::GetClipboardSequenceNumber();
    const Seen seen = Load(folder + L"\\empty.bmp");
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.box_class, L"");
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
    EXPECT_EQ(ClipboardText(), "still before");
    EXPECT_EQ(form_.View().Kind(), ClipboardKind::Text);
    EXPECT_EQ(ViewText(), "still before");
  }
  {
    SCOPED_TRACE("a missing text file says so and the text view keeps its text");
    const DWORD sequence = ::GetClipboardSequenceNumber();
    const Seen seen = Load(folder + L"\\missing.txt");
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.box_class, L"#32770");
    EXPECT_NE(seen.box_text.find(L"missing.txt"), std::wstring::npos)
        << win::SjisFromWide(seen.box_text);
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
    EXPECT_EQ(WithoutFinalBreak(ViewText()), "still before");
  }
  {
    SCOPED_TRACE("cancel");
    PutText("not looked at");
    const DWORD sequence = ::GetClipboardSequenceNumber();
    Script script;
    script.button = IDCANCEL;
    const Seen seen = RunWithDialog([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::LoadFile); }, script);
    EXPECT_TRUE(seen.dialog);
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
    EXPECT_EQ(WithoutFinalBreak(ViewText()), "still before");  // no look at the clipboard
  }
}

// ---- Restyle and copy ---------------------------------------------------------------

TEST_F(CommandsTest, RestyleWithColourUntouchedGivesAutomaticColourAndCopiesAll) {
  ShowText("ABCDEF");
  ColourAllText(RGB(255, 0, 0));
  SelectText(0, 3);
  const DWORD sequence = ::GetClipboardSequenceNumber();
  // The size the dialog shows is the size the text takes.
  std::wstring size_shown;
  Script script;
  script.act = [&](HWND dialog) { size_shown = test::WindowText(::GetDlgItem(dialog, kSizeBox)); };
  const Seen seen = RunWithDialog([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::RestyleText); }, script);
  ASSERT_TRUE(seen.dialog);
  EXPECT_EQ(seen.box_class, L"") << win::SjisFromWide(seen.box_text);

  // The whole text is selected and on the clipboard, with its formatting.
  EXPECT_NE(::GetClipboardSequenceNumber(), sequence);
  EXPECT_EQ(ClipboardText(), "ABCDEF");
  EXPECT_TRUE(::IsClipboardFormatAvailable(::RegisterClipboardFormatW(L"Rich Text Format")));
  CHARRANGE selection{};
  ::SendMessageW(TextView(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  EXPECT_EQ(selection.cpMin, 0);
  EXPECT_GE(selection.cpMax, 6);  // the control may count its final paragraph mark
  EXPECT_EQ(ViewText(), "ABCDEF");  // no look at the clipboard in between

  {  // The part selected before: automatic colour and the dialog's size.
    SelectText(0, 3);
    const CHARFORMATA format = SelectionFormat();
    EXPECT_TRUE(format.dwMask & CFM_COLOR);
    EXPECT_TRUE(format.dwEffects & CFE_AUTOCOLOR);
    EXPECT_TRUE(format.dwMask & CFM_SIZE);
    EXPECT_EQ(format.yHeight, std::stoi(size_shown) * 20) << win::SjisFromWide(size_shown);
  }
  {  // The rest keeps its colour.
    SelectText(3, 6);
    const CHARFORMATA format = SelectionFormat();
    EXPECT_FALSE(format.dwEffects & CFE_AUTOCOLOR);
    EXPECT_EQ(format.crTextColor, RGB(255, 0, 0));
  }
}

TEST_F(CommandsTest, RestyleWithAnotherFaceKeepsTheTextsFace) {
  ShowText("typeface stays");
  SelectText(0, -1);
  const std::string face_before = SelectionFormat().szFaceName;
  std::wstring chosen;
  Script script;
  script.act = [&](HWND dialog) {
    // The first face of the list that is neither the dialog's nor the text's, clicked.
    HWND faces = ::GetDlgItem(dialog, kFaceList);
    const std::wstring current = test::WindowText(faces);
    const auto count = ::SendMessageW(faces, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
      wchar_t face[LF_FACESIZE + 8] = {};
      if (::SendMessageW(faces, CB_GETLBTEXTLEN, i, 0) >= LF_FACESIZE) continue;
      ::SendMessageW(faces, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(face));
      if (face[0] == L'@' || ::lstrcmpiW(face, current.c_str()) == 0 ||
          win::SjisFromWide(face) == face_before) {
        continue;
      }
      EXPECT_TRUE(test::ChooseInDialogList(dialog, kFaceList, i));
      chosen = face;
      return;
    }
  };
  const Seen seen = RunWithDialog([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::RestyleText); }, script);
  ASSERT_TRUE(seen.dialog);
  ASSERT_FALSE(chosen.empty());
  // The dialog keeps the face chosen in it: it shows it the next time.
  std::wstring shown_next;
  Script cancel;
  cancel.act = [&](HWND dialog) { shown_next = test::WindowText(::GetDlgItem(dialog, kFaceList)); };
  cancel.button = IDCANCEL;
  ASSERT_TRUE(RunWithDialog([&] { test::RunMenuCommand(form_.Handle(), MenuCommand::RestyleText); }, cancel).dialog);
  EXPECT_EQ(shown_next, chosen);
  SelectText(0, -1);
  const CHARFORMATA format = SelectionFormat();
  EXPECT_EQ(std::string(format.szFaceName), face_before);
  EXPECT_TRUE(format.dwEffects & CFE_AUTOCOLOR);
}

TEST_F(CommandsTest, CopyNarrowsTheViewToTheSelection) {
  ShowText("ABCDEF");
  {
    SCOPED_TRACE("selection");
    SelectText(1, 4);
    test::RunMenuCommand(form_.Handle(), MenuCommand::CopySelection);
    EXPECT_EQ(ClipboardText(), "BCD");
    EXPECT_EQ(ViewText(), "BCD");
    EXPECT_EQ(form_.View().Kind(), ClipboardKind::Text);
  }
  {
    SCOPED_TRACE("no selection: the clipboard stays, the view shows it again");
    SelectText(0, 0);
    const DWORD sequence = ::GetClipboardSequenceNumber();
    test::RunMenuCommand(form_.Handle(), MenuCommand::CopySelection);
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
    EXPECT_EQ(ViewText(), "BCD");
  }
  {
    SCOPED_TRACE("picture shown: nothing happens");
    ShowPicture(10, 10);
    const DWORD sequence = ::GetClipboardSequenceNumber();
    test::RunMenuCommand(form_.Handle(), MenuCommand::CopySelection);
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
    EXPECT_TRUE(form_.View().ImageView().Visible());
  }
}

}  // namespace
}  // namespace pelmora
