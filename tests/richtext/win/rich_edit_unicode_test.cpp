// The text view holds, copies, saves and loads text in any script unit for unit.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "base/win/text.h"
#include "clipboard/win/clipboard.h"
#include "richtext/win/rich_edit.h"
#include "richtext/win/rich_edit_fixture.h"
#include "richtext/win/rich_edit_library.h"
#include "base/text_decoding_cases.h"
#include "support/file_bytes.h"
#include "support/unicode_samples.h"
#include "support/win/clipboard_text.h"

namespace pelmora::test {
namespace {

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

TEST_F(RichEditTest, TheViewIsAUnicodeWindowOfTheRichEdit41Class) {
  // Wine's first rich-edit version takes Unicode too; Windows' does not, so what stands for
  // Windows here is the window's class and its Unicode-ness.
  view_->Clear();
  EXPECT_TRUE(::IsWindowUnicode(Control()));
  WNDCLASSEXW control{};
  control.cbSize = sizeof control;
  ASSERT_TRUE(::GetClassInfoExW(nullptr, MSFTEDIT_CLASS, &control));
  const win::RichEditClass* view_class = win::RegisterRichEditClass(nullptr);
  ASSERT_NE(view_class, nullptr);
  EXPECT_EQ(view_class->control_proc, control.lpfnWndProc);
  WNDCLASSEXW first_version{};
  first_version.cbSize = sizeof first_version;
  if (::GetClassInfoExW(nullptr, L"RICHEDIT", &first_version)) {
    EXPECT_NE(view_class->control_proc, first_version.lpfnWndProc);
  }
}

TEST_F(RichEditTest, TextInEveryScriptIsCopiedSavedAndLoadedUnitForUnit) {
  TempFile file("every script.rtf");
  for (const test::UnicodeSample& sample : test::UnicodeSamples()) {
    const std::wstring text = Wide(sample.text);
    view_->Clear();
    view_->Paste(pelmora::ClipboardText{{}, text});
    EXPECT_TRUE(test::SameUnits(view_->Text(), text)) << sample.name;

    view_->SelectAll();
    view_->Copy();
    EXPECT_TRUE(test::SameUnits(test::ClipboardWideText(), text)) << sample.name;
    EXPECT_TRUE(test::SameUnits(test::TextOfRtf(test::ClipboardRtf()), text)) << sample.name;

    view_->SaveToFile(FileName(win::WideFromSjis(file.Path())));
    view_->Clear();
    view_->LoadFromFile(FileName(win::WideFromSjis(file.Path())));
    EXPECT_TRUE(test::SameUnits(view_->Text(), text)) << sample.name;
  }
}

TEST_F(RichEditTest, TextFilesLoadInTheirOwnEncoding) {
  TempFile file("encoded.txt");
  for (const test::TextFileCase& row : test::TextFileCases()) {
    test::WriteBytes(win::WideFromSjis(file.Path()), row.file);
    view_->LoadFromFile(FileName(win::WideFromSjis(file.Path())));
    EXPECT_TRUE(test::SameUnits(view_->Text(), row.text)) << "for the file \"" << row.file << '"';
  }
}

}  // namespace
}  // namespace pelmora::test
