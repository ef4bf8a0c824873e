#pragma once
// The shell's file-drop format (a DROPFILES block under CF_HDROP) and the small COM objects a
// listing needs to drag files out and take files in: a data object that offers only the file
// list, a drop source, and a drop target that hands each call to its owner.
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/FileDropList.h"

namespace zenlo {

// Owns one reference to a COM object.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  // Takes over a reference the caller already holds.
  explicit ComRef(T* adopted) : p_(adopted) {}
  ComRef(const ComRef& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  ComRef(ComRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComRef& operator=(ComRef o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~ComRef() {
    if (p_) p_->Release();
  }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For the out-argument of a call that hands back a new reference.
  T** Put() {
    *this = ComRef();
    return &p_;
  }

 private:
  T* p_ = nullptr;
};

// The IUnknown of an object that offers one interface, counted on the one thread that uses it.
template <typename Interface, const IID& kIid>
class SingleInterfaceObject : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIid)) {
      *ppv = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  SingleInterfaceObject() = default;
  virtual ~SingleInterfaceObject() = default;

 private:
  ULONG refs_ = 1;
};

using tk::MakeDropFilesBlock;
using tk::ReadDropFilesBlock;
// The paths of the file list the data holds, in its order; empty without one.
std::vector<std::wstring> ReadFileDrop(IDataObject* data);
bool OffersFileDrop(IDataObject* data);

// A data object with the file list of the given paths and nothing else.
ComRef<IDataObject> MakeFileDropData(std::vector<std::wstring> paths);

// Drops where the left button is released, gives up on Esc or another button.
ComRef<IDropSource> MakeFileDropSource();

// Forwards drag-enter, drag-over and drop to a handler until Detach; a detached target
// refuses everything (the window system may call it after its owner has gone).
class ListDropTarget final : public SingleInterfaceObject<IDropTarget, IID_IDropTarget> {
 public:
  enum class Call { Enter, Over, Drop };
  // Answers the effect to show (over) or taken (drop). `point` is on the screen, in pixels;
  // `keys` the MK_ state of the keys and buttons.
  using Handler =
      std::function<DWORD(Call, IDataObject*, POINTL point, DWORD allowed, DWORD keys)>;

  static ComRef<ListDropTarget> Create(Handler handler);
  void Detach() { handler_ = nullptr; }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;

 private:
  explicit ListDropTarget(Handler handler) : handler_(std::move(handler)) {}
  ~ListDropTarget() override = default;
  DWORD Forward(Call call, IDataObject* data, POINTL pt, DWORD allowed, DWORD keys);

  Handler handler_;
  ComRef<IDataObject> entered_;  // DragOver carries no data: the one of DragEnter
};

}  // namespace zenlo
