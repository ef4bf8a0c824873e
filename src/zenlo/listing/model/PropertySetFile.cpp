#include "listing/model/PropertySetFile.h"

#include <objbase.h>
#include <propidl.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <stdexcept>

#include "listing/model/FilePropertyStore.h"
#include "listing/model/PathText.h"
#include "toolkit/Error.h"
#include "toolkit/Text.h"

namespace zenlo {

namespace {

constexpr FMTID kSummaryInformation = {
    0xF29F85E0, 0x4FF9, 0x1068, {0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9}};
constexpr FMTID kUserDefinedProperties = {
    0xD5CDD505, 0x2E9C, 0x101B, {0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE}};
constexpr FMTID kDocumentSummary = {
    0xD5CDD502, 0x2E9C, 0x101B, {0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE}};
constexpr PROPID kCommentsId = 6;
constexpr PROPID kCategoryId = 2;
constexpr PROPID kFirstUsableId = 2;

template <typename T>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (p_) p_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  T** Out() { return &p_; }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T* operator->() const { return p_; }
  T* get() const { return p_; }

 private:
  T* p_ = nullptr;
};

class Variant {
 public:
  Variant() { PropVariantInit(&v_); }
  ~Variant() { PropVariantClear(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  PROPVARIANT* get() { return &v_; }
  std::optional<std::wstring> Text() const {
    switch (v_.vt) {
      case VT_LPWSTR: return v_.pwszVal ? std::wstring(v_.pwszVal) : std::wstring();
      case VT_BSTR: return v_.bstrVal ? std::wstring(v_.bstrVal) : std::wstring();
      case VT_LPSTR: {
        if (!v_.pszVal) return std::wstring();
        const int n = MultiByteToWideChar(CP_ACP, 0, v_.pszVal, -1, nullptr, 0);
        std::wstring out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), L'\0');
        if (n > 1) MultiByteToWideChar(CP_ACP, 0, v_.pszVal, -1, out.data(), n);
        return out;
      }
      default: return std::nullopt;
    }
  }

 private:
  PROPVARIANT v_;
};

bool IsSharingFailure(HRESULT hr) {
  return hr == STG_E_SHAREVIOLATION || hr == STG_E_LOCKVIOLATION ||
         hr == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION) ||
         hr == HRESULT_FROM_WIN32(ERROR_LOCK_VIOLATION);
}

// What a file that is not a storage answers: it offers no property sets.
bool IsNotAStorage(HRESULT hr) {
  return hr == STG_E_FILEALREADYEXISTS || hr == STG_E_INVALIDHEADER ||
         hr == STG_E_INVALIDFUNCTION || hr == STG_E_INVALIDPARAMETER ||
         hr == STG_E_OLDFORMAT || hr == STG_E_DOCFILECORRUPT || hr == STG_E_UNIMPLEMENTEDFUNCTION;
}

[[noreturn]] void Fail(HRESULT hr, const std::wstring& what) {
  throw tk::RuntimeError(IsSharingFailure(hr) ? kErrPropertiesUnavailable : static_cast<long>(hr),
                         what);
}

// Opens the storage and asks it for its property sets. The pointer that comes back for
// IID_IPropertySetStorage is not always that interface, so the storage is asked explicitly.
HRESULT OpenSets(const std::wstring& path, DWORD mode, Com<IPropertySetStorage>& sets) {
  Com<IStorage> storage;
  HRESULT hr = StgOpenStorageEx(LongPathForm(path).c_str(), mode, STGFMT_ANY, 0, nullptr, nullptr,
                                IID_IStorage, reinterpret_cast<void**>(storage.Out()));
  if (FAILED(hr)) return hr;
  return storage->QueryInterface(IID_IPropertySetStorage, reinterpret_cast<void**>(sets.Out()));
}

// Every named value of a property set, in property id order.
PropertyValues ReadNamed(IPropertyStorage* ps) {
  PropertyValues out;
  Com<IEnumSTATPROPSTG> list;
  if (FAILED(ps->Enum(list.Out()))) return out;
  STATPROPSTG stat{};
  ULONG got = 0;
  while (list->Next(1, &stat, &got) == S_OK && got == 1) {
    if (stat.lpwstrName) {
      PROPSPEC spec{};
      spec.ulKind = PRSPEC_PROPID;
      spec.propid = stat.propid;
      Variant value;
      if (ps->ReadMultiple(1, &spec, value.get()) == S_OK)
        if (auto text = value.Text()) out.emplace_back(stat.lpwstrName, *text);
      CoTaskMemFree(stat.lpwstrName);
    }
  }
  return out;
}

struct NameLookup {
  PROPID Found = 0;    // the id of the name, 0 when absent
  PROPID Highest = 0;  // the highest id in use
};

// Names compare without regard to case.
NameLookup LookUpName(IPropertySetStorage* sets, const std::wstring& name) {
  NameLookup out;
  Com<IPropertyStorage> ps;
  if (FAILED(sets->Open(kUserDefinedProperties, STGM_READ | STGM_SHARE_EXCLUSIVE, ps.Out())))
    return out;
  Com<IEnumSTATPROPSTG> list;
  if (FAILED(ps->Enum(list.Out()))) return out;
  STATPROPSTG stat{};
  ULONG got = 0;
  while (list->Next(1, &stat, &got) == S_OK && got == 1) {
    if (stat.propid > out.Highest && stat.propid < 0x80000000u) out.Highest = stat.propid;
    if (stat.lpwstrName) {
      if (!out.Found && tk::SameText(stat.lpwstrName, name)) out.Found = stat.propid;
      CoTaskMemFree(stat.lpwstrName);
    }
  }
  return out;
}

void WriteText(IPropertyStorage* ps, const PROPSPEC& spec, const std::wstring& value) {
  PROPVARIANT v;
  PropVariantInit(&v);
  v.vt = VT_LPWSTR;  // the narrow form loses characters in a Unicode set
  v.pwszVal = const_cast<LPWSTR>(value.c_str());
  const HRESULT hr = ps->WriteMultiple(1, &spec, &v, kFirstUsableId);
  if (FAILED(hr)) Fail(hr, L"The property could not be written.");
}

// Opens the user-defined set for writing, lets `change` work on it and commits.
void ChangeUserSet(const std::wstring& path, const std::wstring& name,
                   const std::function<void(IPropertyStorage*, const NameLookup&)>& change) {
  // A file marked read-only stays unchanged, whether or not the file system would let us write.
  const DWORD attributes = GetFileAttributesW(LongPathForm(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    throw tk::RuntimeError(static_cast<long>(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)),
                           L"The file is read-only.");
  Com<IPropertySetStorage> sets;
  HRESULT hr = OpenSets(path, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, sets);
  if (FAILED(hr)) Fail(hr, L"The file's properties could not be opened for writing.");
  const NameLookup lookup = LookUpName(sets.get(), name);
  Com<IPropertyStorage> user;
  hr = sets->Open(kUserDefinedProperties, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, user.Out());
  if (hr == STG_E_FILENOTFOUND) {
    // Made and saved empty first, then opened like an existing set.
    Com<IPropertyStorage> made;
    hr = sets->Create(kUserDefinedProperties, nullptr, PROPSETFLAG_DEFAULT,
                      STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, made.Out());
    if (SUCCEEDED(hr)) hr = made->Commit(STGC_DEFAULT);
    if (SUCCEEDED(hr)) {
      made.Reset();
      hr = sets->Open(kUserDefinedProperties, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, user.Out());
    }
  }
  if (FAILED(hr)) Fail(hr, L"The file's user properties could not be opened.");
  change(user.get(), lookup);
  hr = user->Commit(STGC_DEFAULT);
  if (FAILED(hr)) Fail(hr, L"The file's properties could not be saved.");
}

}  // namespace

std::optional<PropertySetContents> ReadPropertySets(const std::wstring& path) {
  Com<IPropertySetStorage> sets;
  HRESULT hr = OpenSets(path, STGM_READ | STGM_SHARE_DENY_WRITE, sets);
  if (FAILED(hr)) {
    if (IsNotAStorage(hr)) return std::nullopt;
    Fail(hr, L"The file's properties could not be opened.");
  }
  PropertySetContents out;
  Com<IPropertyStorage> summary;
  if (SUCCEEDED(sets->Open(kSummaryInformation, STGM_READ | STGM_SHARE_EXCLUSIVE, summary.Out()))) {
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_PROPID;
    spec.propid = kCommentsId;
    Variant value;
    if (summary->ReadMultiple(1, &spec, value.get()) == S_OK)
      out.Comments = value.Text().value_or(L"");
  }
  Com<IPropertyStorage> user;
  if (SUCCEEDED(sets->Open(kUserDefinedProperties, STGM_READ | STGM_SHARE_EXCLUSIVE, user.Out())))
    out.User = ReadNamed(user.get());
  return out;
}

void AddPropertySetValue(const std::wstring& path, const std::wstring& name,
                         const std::wstring& value) {
  ChangeUserSet(path, name, [&](IPropertyStorage* ps, const NameLookup& lookup) {
    if (lookup.Found)
      throw tk::RuntimeError(kErrPropertyExists, L"The name is already present.");
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_PROPID;
    spec.propid = std::max<PROPID>(lookup.Highest + 1, kFirstUsableId);
    WriteText(ps, spec, value);
    LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
    const HRESULT hr = ps->WritePropertyNames(1, &spec.propid, names);
    if (FAILED(hr)) Fail(hr, L"The property could not be written.");
  });
}

void SetPropertySetValue(const std::wstring& path, const std::wstring& name,
                         const std::wstring& value) {
  ChangeUserSet(path, name, [&](IPropertyStorage* ps, const NameLookup& lookup) {
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_PROPID;
    spec.propid = lookup.Found;
    if (!spec.propid) throw tk::RuntimeError(kErrPropertyNotFound, L"The property is not present.");
    WriteText(ps, spec, value);
  });
}

void RemovePropertySetValue(const std::wstring& path, const std::wstring& name) {
  ChangeUserSet(path, name, [&](IPropertyStorage* ps, const NameLookup& lookup) {
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_PROPID;
    spec.propid = lookup.Found;
    if (!spec.propid) throw tk::RuntimeError(kErrPropertyNotFound, L"The property is not present.");
    HRESULT hr = ps->DeleteMultiple(1, &spec);
    if (FAILED(hr)) Fail(hr, L"The property could not be removed.");
    hr = ps->DeletePropertyNames(1, &spec.propid);
    if (FAILED(hr)) Fail(hr, L"The property could not be removed.");
  });
}

namespace {

// One text property of a set, opened for reading.
std::optional<std::wstring> ReadText(const std::wstring& path, const FMTID& set, PROPID id) {
  Com<IPropertySetStorage> sets;
  if (FAILED(OpenSets(path, STGM_READ | STGM_SHARE_DENY_WRITE, sets))) return std::nullopt;
  Com<IPropertyStorage> ps;
  if (FAILED(sets->Open(set, STGM_READ | STGM_SHARE_EXCLUSIVE, ps.Out()))) return std::nullopt;
  PROPSPEC spec{};
  spec.ulKind = PRSPEC_PROPID;
  spec.propid = id;
  Variant value;
  if (ps->ReadMultiple(1, &spec, value.get()) != S_OK) return std::nullopt;
  return value.Text();
}

bool CheckRoundTrip() {
  wchar_t folder[MAX_PATH + 1] = {};
  wchar_t name[MAX_PATH + 1] = {};
  if (!GetTempPathW(MAX_PATH + 1, folder) || !GetTempFileNameW(folder, L"vpc", 0, name))
    return false;
  const std::wstring path = name;
  bool kept = false;
  try {
    {
      Com<IStorage> storage;
      if (FAILED(StgCreateStorageEx(path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                    STGFMT_STORAGE, 0, nullptr, nullptr, IID_IStorage,
                                    reinterpret_cast<void**>(storage.Out()))))
        throw std::runtime_error("scratch document");
      Com<IPropertySetStorage> sets;
      Com<IPropertyStorage> summary;
      if (FAILED(storage->QueryInterface(IID_IPropertySetStorage,
                                         reinterpret_cast<void**>(sets.Out()))) ||
          FAILED(sets->Create(kDocumentSummary, nullptr, PROPSETFLAG_DEFAULT,
                              STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, summary.Out())))
        throw std::runtime_error("scratch document");
      PROPSPEC spec{};
      spec.ulKind = PRSPEC_PROPID;
      spec.propid = kCategoryId;
      WriteText(summary.get(), spec, L"category");
      if (FAILED(summary->Commit(STGC_DEFAULT))) throw std::runtime_error("scratch document");
    }
    // The changes colour coding makes, each in its own session.
    AddPropertySetValue(path, L"First", L"1");
    AddPropertySetValue(path, L"Second", L"2");
    SetPropertySetValue(path, L"First", L"3");
    RemovePropertySetValue(path, L"Second");
    AddPropertySetValue(path, L"Third", L"4");
    const auto read = ReadPropertySets(path);
    kept = read && read->User == PropertyValues{{L"First", L"3"}, {L"Third", L"4"}} &&
           ReadText(path, kDocumentSummary, kCategoryId) == L"category";
  } catch (...) {
    kept = false;
  }
  DeleteFileW(path.c_str());
  return kept;
}

}  // namespace

bool PropertySetsKeepUserProperties() {
  static std::once_flag once;
  static bool kept = false;
  std::call_once(once, [] { kept = CheckRoundTrip(); });
  return kept;
}

}  // namespace zenlo
