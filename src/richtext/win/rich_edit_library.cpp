#include "richtext/win/rich_edit_library.h"

#include <richedit.h>

#include "base/win/handles.h"
#include "base/win/system_error.h"

namespace pelmora::win {
namespace {

constexpr wchar_t kLibraryName[] = L"Msftedit.dll";
constexpr wchar_t kViewClass[] = L"PelmoraRichEdit41";

// Owns the loaded library and the class made from it; both go at program end, the class
// first, since its procedure lies in the library.
class Library {
 public:
  ~Library() {
    if (registered_) ::UnregisterClassW(kViewClass, ::GetModuleHandleW(nullptr));
  }

  void Load() {
    if (module_) return;
    module_.Reset(::LoadLibraryW(kLibraryName));
    if (!module_) RaiseLastOSError();
  }

  const RichEditClass* Register(WNDPROC window_proc) {
    if (registered_) return &class_;
    WNDCLASSW control{};
    if (!::GetClassInfoW(nullptr, MSFTEDIT_CLASS, &control)) return nullptr;
    WNDCLASSW view = control;
    // Resizing repaints only what it uncovers, so the view does not flicker.
    view.style &= ~(CS_HREDRAW | CS_VREDRAW);
    // A global class could not be registered again under our module; ours is local.
    view.style &= ~CS_GLOBALCLASS;
    view.lpfnWndProc = window_proc;
    view.hInstance = ::GetModuleHandleW(nullptr);
    view.cbWndExtra = control.cbWndExtra + static_cast<int>(sizeof(void*));
    view.lpszClassName = kViewClass;
    if (!::RegisterClassW(&view)) return nullptr;
    class_ = {kViewClass, control.lpfnWndProc, control.cbWndExtra};
    registered_ = true;
    return &class_;
  }

 private:
  // Released after the destructor's body has unregistered the class.
  UniqueLibrary module_;
  bool registered_ = false;
  RichEditClass class_{};
};

Library& TheLibrary() {
  static Library library;
  return library;
}

}  // namespace

void LoadRichEditLibrary() { TheLibrary().Load(); }

const RichEditClass* RegisterRichEditClass(WNDPROC window_proc) {
  return TheLibrary().Register(window_proc);
}

}  // namespace pelmora::win
