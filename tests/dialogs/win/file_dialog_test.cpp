#include "dialogs/win/file_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <optional>

#include "base/win/text.h"
#include "dialogs/dialog_position.h"
#include "dialogs/win/dialog_host.h"
#include "support/temp_folder.h"
#include "support/win/modal_watcher.h"
#include "support/win/platform_dialog.h"
#include "support/win/window_query.h"

namespace pelmora {
namespace {

// A wide literal with its embedded zeros, without its own terminator.
template <std::size_t N>
std::wstring Zeros(const wchar_t (&text)[N]) {
  return std::wstring(text, N - 1);
}

// What the watcher saw of the dialog while it was up.
struct Observed {
  RECT bounds{};
  bool other_window_enabled = true;
};

// A save dialog that notes the size of the record it hands to the platform: the full
// record of this architecture, not the older, shorter form the platform also takes.
class RecordSizeSaveDialog final : public TSaveDialog {
 public:
  DWORD record_size = 0;

 protected:
  BOOL RunPlatformDialog(OPENFILENAMEW& record) override {
    record_size = record.lStructSize;
    return TSaveDialog::RunPlatformDialog(record);
  }
};

// Runs dialog with a watcher that types name (when not empty) and presses button.
bool RunDriven(TOpenDialog& dialog, const std::wstring& name, int button, Observed& seen,
               HWND other_window = nullptr) {
  return test::Watched([&] { return dialog.Execute(); },
                       [&](test::Watcher& watcher) {
                         HWND box = watcher.WaitFor(L"#32770");
                         ASSERT_NE(box, nullptr);
                         ::GetWindowRect(box, &seen.bounds);
                         if (other_window) {
                           seen.other_window_enabled = ::IsWindowEnabled(other_window) != FALSE;
                         }
                         if (!name.empty()) {
                           ASSERT_TRUE(test::TypeFileName(box, name));
                         }
                         ASSERT_TRUE(test::PressDialogButton(box, button));
                         ASSERT_TRUE(watcher.WaitGone(box));
                       });
}

TEST(FileDialogTest, FilterBecomesZeroSeparatedListInUtf16) {
  {
    const std::wstring list = win::PlatformFilter("JPEG イメージファイル (*.jpg)|*.jpg|ビットマップ (*.bmp)|*.bmp");
    const std::wstring expected =
        Zeros(L"JPEG イメージファイル (*.jpg)\0*.jpg\0ビットマップ (*.bmp)\0*.bmp\0");
    EXPECT_EQ(list, expected);
    EXPECT_EQ(list.c_str()[list.size()], L'\0');  // the second 0 closing the list
  }
  {
    // "ソ" is 0x83 0x5C and "表" 0x95 0x5C; "|" is 0x7C, and a second byte equal to it
    // ("ポ" is 0x83 0x7C) must not split the description.
    const std::wstring list = win::PlatformFilter("ポ表ソ|*.x");
    EXPECT_EQ(list, Zeros(L"ポ表ソ\0*.x\0"));
  }
  {
    // The open dialog's filter passes on unchanged, an empty pattern included.
    const std::wstring list = win::PlatformFilter("A|*.a||B");
    EXPECT_EQ(list, Zeros(L"A\0*.a\0\0B\0"));
  }
  EXPECT_EQ(win::PlatformFilter(""), Zeros(L"\0"));
}

TEST(FileDialogTest, SaveReturnsTypedNameAndKeepsFilterIndex) {
  const std::wstring folder = test::EmptyTempFolder(L"pelmora-file-dialog").native();
  RecordSizeSaveDialog dialog;
  dialog.SetFilter("JPEG イメージファイル (*.jpg)|*.jpg|ビットマップ (*.bmp)|*.bmp");
  dialog.SetDefaultExt("Jpg");
  dialog.SetFilterIndex(2);

  {
    Observed seen;
    const std::wstring typed = folder + L"\\保存テスト.bmp";
    ASSERT_TRUE(RunDriven(dialog, typed, IDOK, seen));
    EXPECT_EQ(dialog.FileName(), FileName(typed));
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_EQ(dialog.record_size, sizeof(OPENFILENAMEW));
  }
  {
    // The next run starts from the name last chosen; confirming it unchanged keeps it.
    Observed seen;
    const FileName before = dialog.FileName();
    ASSERT_TRUE(RunDriven(dialog, L"", IDOK, seen));
    EXPECT_EQ(dialog.FileName(), before);
  }
}

TEST(FileDialogTest, CancelChangesNothing) {
  const std::wstring folder = test::EmptyTempFolder(L"pelmora-file-dialog").native();
  TOpenDialog dialog;
  dialog.SetFilter("テキスト|*.txt|すべて|*.*");
  dialog.SetFilterIndex(2);
  dialog.SetFileName(FileName(folder + L"\\before.txt"));
  const FileName before = dialog.FileName();

  Observed seen;
  EXPECT_FALSE(RunDriven(dialog, folder + L"\\other.txt", IDCANCEL, seen));
  EXPECT_EQ(dialog.FileName(), before);
  EXPECT_EQ(dialog.FilterIndex(), 2);
}

TEST(FileDialogTest, OpenAcceptsNameOfMissingFile) {
  const std::wstring folder = test::EmptyTempFolder(L"pelmora-file-dialog").native();
  TOpenDialog dialog;
  // The main window's open filter, malformed pairs and all, passes on as it stands.
  dialog.SetFilter(
      "総て　(*.txt,*.rtf,*.jpg,*.bmp)|*.txt;*.rtf;*.jpg;*.bmp|テキスト　*.txt,*rft)|"
      "*.txt,*.rft|JPEG イメージファイル (*.jpg)||ビットマップ (*.bmp)");
  Observed seen;
  const std::wstring typed = folder + L"\\does-not-exist.txt";
  ASSERT_TRUE(RunDriven(dialog, typed, IDOK, seen));
  EXPECT_EQ(dialog.FileName(), FileName(typed));
}

// Records where the dialog stood right after the hook placed it: the platform may resize
// a sizable dialog to its remembered size afterwards, keeping its top-left corner.
class PlacementRecorder : public TSaveDialog {
 public:
  void OnInitDone(HWND hook_window) override {
    TSaveDialog::OnInitDone(hook_window);
    ::GetWindowRect(::GetParent(hook_window), &placed);
  }
  RECT placed{};
};

TEST(FileDialogTest, DisablesOtherWindowsAndCentresOnTheMainForm) {
  const std::wstring folder = test::EmptyTempFolder(L"pelmora-file-dialog").native();
  HWND form = ::CreateWindowExW(0, L"STATIC", L"form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                200, 100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(form, nullptr);
  std::optional<win::DialogWindows> windows(std::in_place, nullptr, form);

  PlacementRecorder dialog;
  dialog.SetFilter("すべて|*.*");
  Observed seen;
  ASSERT_TRUE(RunDriven(dialog, folder + L"\\centred.txt", IDOK, seen, form));
  const RECT& placed = dialog.placed;
  EXPECT_FALSE(seen.other_window_enabled);
  EXPECT_TRUE(::IsWindowEnabled(form));

  const DialogOrigin expected =
      test::CentredOnMonitorOf(form, placed, VerticalPlace::UpperThird);
  EXPECT_EQ(placed.left, expected.left);
  EXPECT_EQ(placed.top, expected.top);
  EXPECT_EQ(seen.bounds.left, placed.left);
  EXPECT_EQ(seen.bounds.top, placed.top);

  windows.reset();
  ::DestroyWindow(form);
}

}  // namespace
}  // namespace pelmora
