#pragma once
// Owners for the handles the shell uses: move-only, one class per release rule, so every
// handle is given back exactly once and on every path.
#include <windows.h>

#include <utility>

namespace pelmora::win {

// A handle released by Traits::Close unless it equals Traits::Invalid().
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

  // Gives up ownership without releasing.
  Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::Invalid();
};

// Traits of a handle that is null when there is none and that one function releases.
template <typename H, auto Free>
struct NullHandleTraits {
  using Handle = H;
  static constexpr Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { Free(handle); }
};

// A GDI object of a given kind, deleted with DeleteObject.
template <typename H>
class GdiObject {
 public:
  GdiObject() noexcept = default;
  explicit GdiObject(H handle) noexcept : owner_(handle) {}
  H Get() const noexcept { return static_cast<H>(owner_.Get()); }
  explicit operator bool() const noexcept { return static_cast<bool>(owner_); }
  H Release() noexcept { return static_cast<H>(owner_.Release()); }
  void Reset(H handle = nullptr) noexcept { owner_.Reset(handle); }

 private:
  UniqueHandle<NullHandleTraits<HGDIOBJ, &::DeleteObject>> owner_;
};

using UniqueFont = GdiObject<HFONT>;
using UniqueBrush = GdiObject<HBRUSH>;
using UniqueBitmap = GdiObject<HBITMAP>;
using UniqueRegion = GdiObject<HRGN>;
using UniquePalette = GdiObject<HPALETTE>;

// A kernel object handle (mutex, file, event): CloseHandle. Kernel functions report
// failure either as null or as INVALID_HANDLE_VALUE; both count as "no handle".
class UniqueKernelHandle : public UniqueHandle<NullHandleTraits<HANDLE, &::CloseHandle>> {
 public:
  UniqueKernelHandle() noexcept = default;
  explicit UniqueKernelHandle(HANDLE handle) noexcept
      : UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
};

// A menu not attached to a window: DestroyMenu.
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, &::DestroyMenu>>;

// A window: DestroyWindow.
using UniqueWindow = UniqueHandle<NullHandleTraits<HWND, &::DestroyWindow>>;

// Gives up a window that is gone already (its parent or owner took it along when it was
// destroyed), so that the owner never destroys a handle that is no longer its window.
inline void ReleaseIfDestroyed(UniqueWindow& window) noexcept {
  if (window && !::IsWindow(window.Get())) window.Release();
}

// A loaded library: FreeLibrary.
using UniqueLibrary = UniqueHandle<NullHandleTraits<HMODULE, &::FreeLibrary>>;

// A block of global memory: GlobalFree. Ownership passes to the clipboard by Release().
using UniqueGlobal = UniqueHandle<NullHandleTraits<HGLOBAL, &::GlobalFree>>;

// A memory DC from CreateCompatibleDC: DeleteDC.
using UniqueMemoryDc = UniqueHandle<NullHandleTraits<HDC, &::DeleteDC>>;

// A window's DC from GetDC: ReleaseDC with the same window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  WindowDc(WindowDc&& other) noexcept
      : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&& other) noexcept {
    if (this != &other) {
      Reset();
      window_ = other.window_;
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() { Reset(); }

  HDC Get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  void Reset() noexcept {
    if (dc_) ::ReleaseDC(window_, std::exchange(dc_, nullptr));
  }
  HWND window_;
  HDC dc_;
};

// One WM_PAINT: BeginPaint now, EndPaint with the same PAINTSTRUCT at the end.
class PaintDc {
 public:
  explicit PaintDc(HWND window) noexcept : window_(window) {
    dc_ = ::BeginPaint(window, &paint_);
  }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  PaintDc(PaintDc&&) = delete;
  ~PaintDc() {
    if (dc_) ::EndPaint(window_, &paint_);
  }

  HDC Get() const noexcept { return dc_; }
  const RECT& UpdateRect() const noexcept { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a DC; the object that was selected before is put back at the end.
// It keeps the DC it selected into, so the restore goes to the right place.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr) {}
  SelectedObject(SelectedObject&& other) noexcept
      : dc_(other.dc_), previous_(std::exchange(other.previous_, nullptr)) {}
  SelectedObject& operator=(SelectedObject&&) = delete;
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }

  // False when the selection failed (nothing will be restored).
  explicit operator bool() const noexcept { return previous_ && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A DC's state (clipping, origins, selections) saved now with SaveDC and put back with
// RestoreDC at the end, on every path. Restoring to this save also drops any saved later.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) noexcept : dc_(dc), saved_(::SaveDC(dc)) {}
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;
  SavedDc(SavedDc&&) = delete;
  ~SavedDc() {
    if (saved_ != 0) ::RestoreDC(dc_, saved_);
  }

  // False when the state could not be saved (nothing will be restored).
  explicit operator bool() const noexcept { return saved_ != 0; }

 private:
  HDC dc_;
  int saved_;
};

// A locked block of global memory: GlobalUnlock at the end. Does not own the block.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL memory) noexcept
      : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr) {}
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  GlobalLockGuard(GlobalLockGuard&&) = delete;
  ~GlobalLockGuard() {
    if (data_) ::GlobalUnlock(memory_);
  }

  void* Data() const noexcept { return data_; }
  explicit operator bool() const noexcept { return data_ != nullptr; }

 private:
  HGLOBAL memory_;
  void* data_;
};

}  // namespace pelmora::win
