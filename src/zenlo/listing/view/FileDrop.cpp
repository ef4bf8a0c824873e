#include "listing/view/FileDrop.h"

#include <shlobj.h>


namespace zenlo {

namespace {

FORMATETC FileDropFormat() {
  return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool IsFileDropFormat(const FORMATETC* f) {
  return f && f->cfFormat == CF_HDROP && f->dwAspect == DVASPECT_CONTENT &&
         (f->tymed & TYMED_HGLOBAL) != 0;
}

// Hands out the one format of the file-drop data.
class FormatEnumerator final
    : public SingleInterfaceObject<IEnumFORMATETC, IID_IEnumFORMATETC> {
 public:
  explicit FormatEnumerator(ULONG at = 0) : at_(at) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    if (count > 0 && at_ == 0) {
      out[0] = FileDropFormat();
      n = 1;
      at_ = 1;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const bool all = at_ + count <= 1;
    at_ = all ? at_ + count : 1;
    return all ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    at_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override {
    if (!out) return E_POINTER;
    *out = new FormatEnumerator(at_);
    return S_OK;
  }

 private:
  ULONG at_;
};

class FileDropData final : public SingleInterfaceObject<IDataObject, IID_IDataObject> {
 public:
  explicit FileDropData(std::vector<std::wstring> paths) : paths_(std::move(paths)) {}

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!format || !medium) return E_POINTER;
    if (!IsFileDropFormat(format)) return DV_E_FORMATETC;
    // Every caller gets its own copy and frees it.
    HGLOBAL block = MakeDropFilesBlock(paths_);
    if (!block) return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (!format) return E_POINTER;
    return IsFileDropFormat(format) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
  }
  // The drag helpers of the shell may try to add their own formats; only the list is kept.
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    *out = new FormatEnumerator();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }

 private:
  std::vector<std::wstring> paths_;
};

class FileDropSource final : public SingleInterfaceObject<IDropSource, IID_IDropSource> {
 public:
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape || (keys & (MK_RBUTTON | MK_MBUTTON)) != 0) return DRAGDROP_S_CANCEL;
    if ((keys & MK_LBUTTON) == 0) return DRAGDROP_S_DROP;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

}  // namespace

bool OffersFileDrop(IDataObject* data) {
  if (!data) return false;
  FORMATETC format = FileDropFormat();
  return data->QueryGetData(&format) == S_OK;
}

std::vector<std::wstring> ReadFileDrop(IDataObject* data) {
  std::vector<std::wstring> paths;
  if (!data) return paths;
  FORMATETC format = FileDropFormat();
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium))) return paths;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) paths = ReadDropFilesBlock(medium.hGlobal);
  ReleaseStgMedium(&medium);
  return paths;
}

ComRef<IDataObject> MakeFileDropData(std::vector<std::wstring> paths) {
  return ComRef<IDataObject>(new FileDropData(std::move(paths)));
}

ComRef<IDropSource> MakeFileDropSource() { return ComRef<IDropSource>(new FileDropSource()); }

ComRef<ListDropTarget> ListDropTarget::Create(Handler handler) {
  return ComRef<ListDropTarget>(new ListDropTarget(std::move(handler)));
}

DWORD ListDropTarget::Forward(Call call, IDataObject* data, POINTL pt, DWORD allowed,
                              DWORD keys) {
  if (!handler_) return DROPEFFECT_NONE;
  // The handler may detach this target (its owner goes away while a host's handler runs).
  ComRef<ListDropTarget> keep(this);
  AddRef();
  try {
    Handler handler = handler_;
    return handler(call, data, pt, allowed, keys);
  } catch (...) {
    return DROPEFFECT_NONE;  // nothing escapes into the drag loop
  }
}

HRESULT STDMETHODCALLTYPE ListDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL pt,
                                                    DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  if (data) data->AddRef();
  entered_ = ComRef<IDataObject>(data);
  *effect = Forward(Call::Enter, data, pt, *effect, keys);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ListDropTarget::DragOver(DWORD keys, POINTL pt, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect = Forward(Call::Over, entered_.Get(), pt, *effect, keys);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ListDropTarget::DragLeave() {
  entered_ = ComRef<IDataObject>();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ListDropTarget::Drop(IDataObject* data, DWORD keys, POINTL pt,
                                               DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  entered_ = ComRef<IDataObject>();
  *effect = Forward(Call::Drop, data, pt, *effect, keys);
  return S_OK;
}

}  // namespace zenlo
