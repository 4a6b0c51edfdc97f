#include "dialogs/win/save_picture_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/strings.h"
#include "base/win/text.h"
#include "dialogs/win/preview_window.h"
#include "picture/jpeg_image.h"
#include "picture/picture.h"
#include "support/test_paths.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "support/win/input.h"
#include "support/win/modal_watcher.h"
#include "support/win/platform_dialog.h"
#include "support/win/screenshot.h"
#include "support/win/transparent_picture.h"
#include "support/win/wait.h"
#include "support/win/window_query.h"

namespace pelmora {
namespace {

using Dialog = TSavePictureDialog;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// A 24-bit BMP file with a diagonal colour ramp.
void WriteBmp(const std::wstring& path, int width, int height) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t image = stride * static_cast<std::uint32_t>(height);
  std::vector<std::uint8_t> file;
  Put16(file, 0x4D42);
  Put32(file, 54 + image);
  Put32(file, 0);
  Put32(file, 54);
  Put32(file, 40);
  Put32(file, static_cast<std::uint32_t>(width));
  Put32(file, static_cast<std::uint32_t>(height));
  Put16(file, 1);
  Put16(file, 24);
  Put32(file, 0);
  Put32(file, image);
  Put32(file, 2835);
  Put32(file, 2835);
  Put32(file, 0);
  Put32(file, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      file.push_back(static_cast<std::uint8_t>(255 * x / width));          // blue
      file.push_back(static_cast<std::uint8_t>(255 * y / height));         // green
      file.push_back(static_cast<std::uint8_t>(255 - 255 * x / width));    // red
    }
    for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < stride; ++pad) {
      file.push_back(0);
    }
  }
  test::WriteBytes(path, std::string(file.begin(), file.end()));
}

// The preview's controls inside the dialog, found from the watcher's thread.
struct PreviewControls {
  HWND dialog = nullptr;
  HWND label = nullptr;
  HWND button = nullptr;
  HWND paint = nullptr;

  bool Find(HWND top) {
    dialog = top;
    HWND child = ::FindWindowExW(top, nullptr, L"#32770", nullptr);
    HWND panel = child ? ::GetDlgItem(child, Dialog::kPicturePanelId) : nullptr;
    if (panel == nullptr) return false;
    label = ::GetDlgItem(panel, Dialog::kPictureLabelId);
    button = ::GetDlgItem(panel, Dialog::kPreviewButtonId);
    paint = ::GetDlgItem(panel, Dialog::kPaintPanelId);
    return label && button && paint;
  }
};

// Waits for the dialog and its preview controls; null, with the test failed, when either
// does not come.
HWND WaitForPreviewDialog(test::Watcher& watcher, PreviewControls& controls) {
  HWND top = watcher.WaitFor(L"#32770");
  if (top == nullptr) return nullptr;
  if (!test::WaitUntil([&] { return controls.Find(top); }, 5000)) {
    ADD_FAILURE() << "the dialog has no preview";
    return nullptr;
  }
  return top;
}

// Closes the dialog with its Cancel button.
void Cancel(test::Watcher& watcher, HWND dialog) {
  ASSERT_TRUE(test::PressDialogButton(dialog, IDCANCEL));
  ASSERT_TRUE(watcher.WaitGone(dialog));
}

constexpr int kFileTypeList = 0x470;

struct PreviewState {
  std::wstring label;
  std::wstring caption;
  bool button_enabled = false;
};

PreviewState Read(const PreviewControls& c) {
  return {test::WindowText(c.label), test::WindowText(c.paint),
          ::IsWindowEnabled(c.button) != FALSE};
}

void ExpectPreview(const PreviewState& state, const std::wstring& label,
                   const std::wstring& caption, bool button_enabled) {
  EXPECT_EQ(state.label, label);
  EXPECT_EQ(state.caption, caption);
  EXPECT_EQ(state.button_enabled, button_enabled);
}

// A name in scripts Shift-JIS lacks: accented Latin, simplified Chinese, Hangul, an emoji.
const std::wstring kAnyScriptBmp = L"caf\u00E9-\u56FE\u7247-\uC0AC\uC9C4-\U0001F642.bmp";

TEST(SavePictureDialogTest, PreviewShowsSizeOfPictureAndNothingForDamagedFile) {
  const std::wstring folder = test::EmptyTempFolder(L"pelmora-picture-dialog").native();
  WriteBmp(folder + L"\\" + kAnyScriptBmp, 200, 150);
  test::WriteBytes(folder + L"\\damaged.bmp", "BM this is not a bitmap at all");
  ::CopyFileW(test::DataPath("jpeg/testorig.jpg").c_str(),
              (folder + L"\\photo.jpg").c_str(), FALSE);
  // The program registers the JPEG kind at start-up.
  InitJpegImageKind(24);
  int photo_width = 0, photo_height = 0;
  {
    TPicture photo;
    photo.LoadFromFile(FileName(folder + L"\\photo.jpg"));
    photo_width = photo.Width();
    photo_height = photo.Height();
  }
  ASSERT_GT(photo_width, 0);

  Dialog dialog;
  dialog.SetFilter("JPEG イメージファイル (*.jpg)|*.jpg|ビットマップ (*.bmp)|*.bmp");
  dialog.SetFilterIndex(2);
  dialog.SetDefaultExt("Jpg");
  dialog.SetFileName(FileName(folder + L"\\saved.jpg"));

  PreviewState at_start, after_bitmap, after_photo, after_damaged;
  std::wstring preview_caption;
  SIZE preview_client{};
  bool preview_centred = false;
  const bool confirmed = test::Watched([&] { return dialog.Execute(); }, [&](test::Watcher& watcher) {
    PreviewControls controls;
    HWND top = WaitForPreviewDialog(watcher, controls);
    ASSERT_NE(top, nullptr);
    at_start = Read(controls);

    ASSERT_TRUE(test::SelectInFileList(top, kAnyScriptBmp));
    EXPECT_TRUE(test::WaitUntil([&] { return ::IsWindowEnabled(controls.button) != FALSE; }, 5000));
    after_bitmap = Read(controls);
    test::SaveWindowScreenshot(top, test::BuildPath("screenshots/save_picture_dialog.png"));

    // The preview button opens the preview window; Esc closes it.
    ASSERT_TRUE(test::Click(controls.button));
    HWND preview = watcher.WaitFor(L"PelmoraPicturePreview");
    ASSERT_NE(preview, nullptr);
    preview_caption = test::WindowText(preview);
    RECT client{};
    ::GetClientRect(preview, &client);
    preview_client = {client.right, client.bottom};
    // In the middle of the monitor of the dialog it was opened from.
    RECT frame{};
    ::GetWindowRect(preview, &frame);
    preview_centred = test::CentredOnMonitorOf(top, frame, VerticalPlace::Middle) ==
                      DialogOrigin{frame.left, frame.top};
    test::SaveWindowScreenshot(preview, test::BuildPath("screenshots/picture_preview.png"));
    ASSERT_TRUE(test::PressKeys(preview, {VK_ESCAPE}));
    ASSERT_TRUE(watcher.WaitGone(preview));

    // Switch the file type to JPEG, so the list shows the photo.
    ASSERT_TRUE(test::ChooseInDialogList(top, kFileTypeList, 0));
    ASSERT_TRUE(test::SelectInFileList(top, L"photo.jpg"));
    EXPECT_TRUE(test::WaitUntil([&] { return test::WindowText(controls.label) != after_bitmap.label; }, 5000));
    after_photo = Read(controls);

    ASSERT_TRUE(test::ChooseInDialogList(top, kFileTypeList, 1));
    ASSERT_TRUE(test::SelectInFileList(top, L"damaged.bmp"));
    EXPECT_TRUE(test::WaitUntil([&] { return ::IsWindowEnabled(controls.button) == FALSE; }, 5000));
    after_damaged = Read(controls);
    Cancel(watcher, top);
  });
  DoneJpegImageKind();

  EXPECT_FALSE(confirmed);
  // Empty, or "画像:" when the dialog already reported the name it started with.
  EXPECT_TRUE(at_start.label.empty() || at_start.label == L"画像:");
  EXPECT_EQ(at_start.caption, L"(なし)");
  EXPECT_FALSE(at_start.button_enabled);
  ExpectPreview(after_bitmap, L" (200x150)", L"", true);

  EXPECT_EQ(preview_caption, L"プレビュー");
  // The picture, the border widths (5 pixels at 96 pixels per inch) and the frame.
  EXPECT_EQ(preview_client.cx, 200 + 2 * test::Scaled(5) + 2);
  EXPECT_EQ(preview_client.cy, 150 + 2 * test::Scaled(5) + 2);
  EXPECT_TRUE(preview_centred);

  ExpectPreview(after_photo,
                L" (" + std::to_wstring(photo_width) + L"x" + std::to_wstring(photo_height) + L")",
                L"", true);
  ExpectPreview(after_damaged, L"画像:", L"(なし)", false);
}

RECT RectIn(HWND window, HWND parent) {
  RECT r{};
  ::GetWindowRect(window, &r);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(SavePictureDialogTest, PreviewFollowsTheDialogWhenTheUserResizesIt) {
  const std::wstring folder = test::EmptyTempFolder(L"pelmora-picture-resize").native();
  Dialog dialog;
  dialog.SetFilter("ビットマップ (*.bmp)|*.bmp");
  dialog.SetFileName(FileName(folder + L"\\saved.bmp"));

  bool followed = false;
  RECT client_before{}, client_after{}, panel{}, paint{}, button{};
  RECT panel_in_dialog{}, file_list_in_dialog{};
  test::Watched([&] { return dialog.Execute(); }, [&](test::Watcher& watcher) {
    PreviewControls controls;
    HWND top = WaitForPreviewDialog(watcher, controls);
    ASSERT_NE(top, nullptr);
    HWND child = ::FindWindowExW(top, nullptr, L"#32770", nullptr);
    HWND picture_panel = ::GetDlgItem(child, Dialog::kPicturePanelId);
    ::GetClientRect(child, &client_before);
    RECT frame{};
    ::GetWindowRect(top, &frame);
    ::SetWindowPos(top, nullptr, 0, 0, frame.right - frame.left + 160,
                   frame.bottom - frame.top + 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    followed = test::WaitUntil(
        [&] {
          ::GetClientRect(child, &client_after);
          panel = RectIn(picture_panel, child);
          return client_after.right > client_before.right && panel.right == client_after.right &&
                 panel.bottom == client_after.bottom;
        },
        5000);
    // The dialog's thread moves the panel and then its children in one handler; a message
    // sent to it is answered only once that handler has finished.
    DWORD_PTR answered = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answered));
    panel = RectIn(picture_panel, child);
    panel_in_dialog = RectIn(picture_panel, top);
    file_list_in_dialog =
        RectIn(::FindWindowExW(top, nullptr, L"SHELLDLL_DefView", nullptr), top);
    paint = RectIn(controls.paint, picture_panel);
    button = RectIn(controls.button, picture_panel);
    test::SaveWindowScreenshot(top,
                               test::BuildPath("screenshots/save_picture_dialog_resized.png"));
    Cancel(watcher, top);
  });

  EXPECT_TRUE(followed) << "client right " << client_after.right << ", panel right "
                        << panel.right << ", client bottom " << client_after.bottom
                        << ", panel bottom " << panel.bottom;
  // The platform widens its file list; the preview stays clear of it.
  EXPECT_GE(panel_in_dialog.left, file_list_in_dialog.right);
  EXPECT_EQ(panel.top, 4);
  // The paint panel fills the picture panel inside its 6-pixel border, below the label.
  const int panel_width = panel.right - panel.left;
  const int panel_height = panel.bottom - panel.top;
  EXPECT_EQ(paint.right, panel_width - 6);
  EXPECT_EQ(paint.top, 6 + 23);
  EXPECT_EQ(paint.bottom, panel_height - 6);
  EXPECT_EQ(button.right, paint.right - 2);
}

TEST(SavePictureDialogTest, ANameTypedAsSoonAsItOpensIsTaken) {
  const std::wstring name = test::EmptyTempFolder(L"pelmora-picture-typed").native() + L"\\typed.bmp";
  Dialog dialog;
  dialog.SetFilter("ビットマップ (*.bmp)|*.bmp");
  // The name is typed with Enter where the focus is as soon as the dialog stands: the
  // file-name box, where the dialog's own code leaves it.
  const bool confirmed = test::Watched([&] { return dialog.Execute(); }, [&](test::Watcher& watcher) {
    PreviewControls controls;
    HWND top = WaitForPreviewDialog(watcher, controls);
    ASSERT_NE(top, nullptr);
    ASSERT_TRUE(test::TypeText(test::FileNameEdit(top), name + L"\r"));
    ASSERT_TRUE(watcher.WaitGone(top));
  });
  EXPECT_TRUE(confirmed) << "the typed name went elsewhere";
  EXPECT_EQ(dialog.FileName(), FileName(name));
}

TEST(SavePictureDialogTest, PreviewWindowSizeFollowsPictureUpToThreeQuartersOfMonitor) {
  // Client 300 wide with a panel client of 298 and borders of 5: the picture plus 12.
  EXPECT_EQ(PreviewClientExtent(1280, 300, 40, 298, 10, 40), 52);
  // At 150 %, borders of 8 (7.5 rounded).
  EXPECT_EQ(PreviewClientExtent(1920, 450, 40, 447, 16, 40), 59);
  // Never more than three quarters of the monitor.
  EXPECT_EQ(PreviewClientExtent(1280, 300, 5000, 298, 10, 5000), 960);
  EXPECT_EQ(PreviewClientExtent(1023, 300, 5000, 298, 10, 5000), 767);
  // A picture of no width leaves the window as it is.
  EXPECT_EQ(PreviewClientExtent(1280, 300, 0, 298, 10, 0), 300);
}

TEST(SavePictureDialogTest, PreviewShowsPngFilesWithTheirTransparency) {
  const std::wstring folder = test::EmptyTempFolder(L"pelmora-picture-dialog-png").native();
  test::WriteBytes(folder + L"\\transparent.png", test::TransparentPng());
  ::CopyFileW(test::DataPath("png/crashers/badcrc.png").c_str(),
              (folder + L"\\damaged.png").c_str(), FALSE);
  Dialog dialog;
  dialog.SetFilter("PNG イメージファイル (*.png)|*.png");
  dialog.SetFileName(FileName(folder + L"\\saved.png"));

  PreviewState after_png, after_damaged;
  EXPECT_FALSE(test::Watched([&] { return dialog.Execute(); }, [&](test::Watcher& watcher) {
    PreviewControls controls;
    HWND top = WaitForPreviewDialog(watcher, controls);
    ASSERT_NE(top, nullptr);
    ASSERT_TRUE(test::SelectInFileList(top, L"transparent.png"));
    test::WaitUntil([&] { return ::IsWindowEnabled(controls.button) != FALSE; }, 5000);
    after_png = Read(controls);
    test::SaveWindowScreenshot(top, test::BuildPath("screenshots/save_picture_dialog_png.png"));
    ASSERT_TRUE(test::SelectInFileList(top, L"damaged.png"));
    test::WaitUntil([&] { return ::IsWindowEnabled(controls.button) == FALSE; }, 5000);
    after_damaged = Read(controls);
    Cancel(watcher, top);
  }));
  ExpectPreview(after_png, L" (120x120)", L"", true);
  ExpectPreview(after_damaged, L"画像:", L"(なし)", false);
}

}  // namespace
}  // namespace pelmora
