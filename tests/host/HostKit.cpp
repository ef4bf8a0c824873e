#include "HostKit.h"

#include <objbase.h>

#include "zenlo/ZenloClassIds.h"

namespace hostkit {

HWND MakeHostWindow() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ZenloHeaderHost";
  RegisterClassExW(&wc);  // fails harmlessly once the class exists
  HWND w = CreateWindowExW(0, L"ZenloHeaderHost", L"Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                           30, 30, 900, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(w, SW_SHOW);
  return w;
}

GetClassObject LibraryClassObject() {
  return reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"Zenlo.dll"), "DllGetClassObject")));
}

zenlo::ZenloFileControl* CreateThroughTheFactory() {
  GetClassObject getClassObject = LibraryClassObject();
  if (!getClassObject) return nullptr;
  IClassFactory* factory = nullptr;
  if (getClassObject(zenlo::CLSID_ZenloFileControl, IID_IClassFactory,
                     reinterpret_cast<void**>(&factory)) != S_OK)
    return nullptr;
  IUnknown* unknown = nullptr;
  factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&unknown));
  factory->Release();
  if (!unknown) return nullptr;
  zenlo::ZenloFileControl* control = nullptr;
  const HRESULT hr =
      unknown->QueryInterface(zenlo::IID_ZenloFileControl, reinterpret_cast<void**>(&control));
  unknown->Release();
  return hr == S_OK ? control : nullptr;
}

zenlo::ZenloFileControl* SetUpControl(HWND window, Host& host, zenlo::ListType type) {
  zenlo::ZenloFileControl* c = CreateThroughTheFactory();
  if (!c) return nullptr;
  c->AttachEvents(&host);
  c->Initialize();
  c->ltFolderListType = type;
  if (!c->CreateFrame(window)) {
    c->Release();
    return nullptr;
  }
  MoveWindow(c->Window(), 0, 0, 860, 540, TRUE);
  c->LoadSetup();
  c->ResizeControl(zenlo::vertical);
  return c;
}

std::wstring Long(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0) return path;
  return L"\\\\?\\" + path;
}

bool MakeFolder(const std::wstring& path) {
  return CreateDirectoryW(Long(path).c_str(), nullptr) != 0;
}

bool MakeFile(const std::wstring& path, std::uint64_t bytes) {
  HANDLE f = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(bytes);
  const bool ok = SetFilePointerEx(f, at, nullptr, FILE_BEGIN) && SetEndOfFile(f);
  CloseHandle(f);
  return ok;
}

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW entry;
  HANDLE h = FindFirstFileW((Long(path) + L"*").c_str(), &entry);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path + name + L"\\");
      else
        DeleteFileW(Long(path + name).c_str());
    } while (FindNextFileW(h, &entry));
    FindClose(h);
  }
  std::wstring folder = path;
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  RemoveDirectoryW(Long(folder).c_str());
}

bool Exists(const std::wstring& path) {
  std::wstring p = path;
  if (p.size() > 3 && p.back() == L'\\') p.pop_back();
  return GetFileAttributesW(Long(p).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::int64_t FileSizeOnDisk(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Long(path).c_str(), GetFileExInfoStandard, &data)) return -1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                   data.nFileSizeLow);
}

ScratchFolder::ScratchFolder(const std::wstring& tag) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"zenlo-host-" + tag + L"-" +
          std::to_wstring(GetCurrentProcessId()) + L"\\";
  RemoveTree(path_);  // left over from a run that crashed
  MakeFolder(path_.substr(0, path_.size() - 1));
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

namespace {
struct BoxSearch {
  HWND found = nullptr;
};

BOOL CALLBACK FindFilterBox(HWND child, LPARAM data) {
  wchar_t cls[32];
  GetClassNameW(child, cls, 32);
  if (lstrcmpiW(cls, L"ComboBox") != 0) return TRUE;
  // The filter box is the combo box whose first entry is "All".
  const std::vector<std::wstring> entries = FilterBoxEntries(child);
  if (!entries.empty() && entries[0] == L"All") {
    reinterpret_cast<BoxSearch*>(data)->found = child;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FilterBox(zenlo::ZenloFileControl& control) {
  BoxSearch search;
  EnumChildWindows(control.Window(), &FindFilterBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<std::wstring> FilterBoxEntries(HWND box) {
  std::vector<std::wstring> entries;
  const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length == CB_ERR) continue;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    entries.push_back(text);
  }
  return entries;
}

void TypeIntoFilterBox(HWND box, const std::wstring& text) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(box, &info);
  SetWindowTextW(info.hwndItem, text.c_str());
  SendMessageW(info.hwndItem, WM_KEYDOWN, VK_RETURN, 0);
}

void ChooseInFilterBox(HWND box, const std::wstring& entry) {
  const LRESULT index =
      SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.c_str()));
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(GetParent(box), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
}

std::vector<std::wstring> ShownNames(const zenlo::ZenloFileControl& control) {
  std::vector<std::wstring> names;
  for (std::int32_t i = 0; i <= control.LastShownItem() && i < control.ItemCount(); ++i)
    names.push_back(control.ListItems()[static_cast<std::size_t>(i)].Name);
  return names;
}

bool HasBrokenCharacter(const std::wstring& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return true;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

std::wstring Grouped(std::uint64_t n) {
  std::wstring digits = std::to_wstring(n);
  std::wstring out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += L',';
    out += digits[i];
  }
  return out;
}

}  // namespace hostkit
