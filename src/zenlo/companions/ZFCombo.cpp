#include "zenlo/ZFCombo.h"

#include <windowsx.h>

#include "companions/DriveProvider.h"
#include "library/CallLifetime.h"
#include "library/ModuleLocks.h"
#include "listing/model/HeadingsTable.h"
#include "toolkit/Error.h"
#include "toolkit/Gdi.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Text.h"
#include "toolkit/Window.h"

namespace zenlo {

namespace {
constexpr int kDroppedWidthPx = 500;
constexpr double kDropDownInches = 5;
constexpr int kComboId = 1;

const wchar_t kMappedUnavailable[] =
    L"Sorry, that drive isn't available right now.\r\n\r\nSince this is a mapped drive, the "
    L"problem was probably caused somewhere other than this computer.";
const wchar_t kRemovableUnavailable[] =
    L"Sorry, you have chosen a removable item (e.g. diskette, CD, DVD etc.) that is not "
    L"available right now.";
const wchar_t kOtherUnavailable[] = L"Sorry, that folder or drive isn't available right now.";
const wchar_t kSelectionFailed[] = L"An error occurred while selecting a new drive.";

bool StartsWithText(const std::wstring& text, std::size_t at, const std::wstring& word) {
  return text.size() >= at + word.size() && tk::SameText(text.substr(at, word.size()), word);
}

bool ContainsText(const std::wstring& text, const std::wstring& word) {
  return tk::UpperCase(text).find(tk::UpperCase(word)) != std::wstring::npos;
}

bool IsFloppyEntry(const std::wstring& text) {
  return !text.empty() && (text[0] == L'A' || text[0] == L'a' || text[0] == L'B' ||
                           text[0] == L'b');
}

// Runs one step of a routine that skips what fails and goes on.
template <typename F>
void Step(F&& f) {
  try {
    f();
  } catch (...) {
  }
}
}  // namespace

// The window side: the control's frame and the box inside it.
struct ZFComboWindow {
  tk::HandlerWindow Frame;
  HWND Combo = nullptr;
  HFONT Font = nullptr;       // the box's font (owned or stock)
  tk::Font OwnedFont;
  tk::Brush ListBrush;
  int DropHeightPx = 0;
  tk::ChildPlacement ComboPlacement;
};

// Keeps the selector alive while one of its handlers is on the stack.
class ZFCombo::Hold {
 public:
  explicit Hold(ZFCombo& c) : hold_(c, *c.lifetime_) {}

 private:
  CallLifetime::Hold hold_;
};

// Sets ComboClickGuard for a scope and puts back what it found (the guard may nest).
class ZFCombo::ClickGuard {
 public:
  explicit ClickGuard(ZFCombo& c) : c_(c), saved_(c.comboClickGuard_) {
    c_.comboClickGuard_ = true;
  }
  ~ClickGuard() { c_.comboClickGuard_ = saved_; }
  ClickGuard(const ClickGuard&) = delete;
  ClickGuard& operator=(const ClickGuard&) = delete;

 private:
  ZFCombo& c_;
  bool saved_;
};

ZFCombo* ZFCombo::Create() { return new ZFCombo(); }

ZFCombo::ZFCombo()
    : lifetime_(std::make_unique<CallLifetime>()),
      drives_(MakeSystemDriveProvider()),
      window_(std::make_unique<ZFComboWindow>()) {
  ModuleLocks().Add();
}

ZFCombo::~ZFCombo() {
  window_->Frame.Destroy();
  ModuleLocks().Remove();
}

HRESULT STDMETHODCALLTYPE ZFCombo::QueryInterface(REFIID riid, void** ppv) {
  return QueryPublishedInterface(this, IID_ZFCombo, riid, ppv);
}

ULONG STDMETHODCALLTYPE ZFCombo::AddRef() { return lifetime_->AddRef(); }

ULONG STDMETHODCALLTYPE ZFCombo::Release() {
  // When only running handlers still hold it, the owner has let go: nothing more is raised.
  const ULONG left = lifetime_->Release([this] {
    closing_ = true;
    sink_ = nullptr;
  });
  if (left == 0) delete this;
  return left;
}

void ZFCombo::AttachEvents(ZFComboEvents* sink) { sink_ = closing_ ? nullptr : sink; }

void ZFCombo::SetDriveProvider(std::shared_ptr<DriveProvider> drives) {
  drives_ = drives ? std::move(drives) : MakeSystemDriveProvider();
}

// ---- Events: an exception of the owner's handler never comes back into the selector ----

template <typename F>
static void RaiseGuarded(ZFComboEvents* sink, bool closing, F&& f) {
  if (!sink || closing) return;
  try {
    f(*sink);
  } catch (...) {
  }
}

void ZFCombo::RaiseClick(const std::wstring& text) {
  std::wstring copy = text;
  RaiseGuarded(sink_, closing_, [&](ZFComboEvents& s) { s.Click(copy); });
}

void ZFCombo::RaiseChangeFocus() {
  RaiseGuarded(sink_, closing_, [](ZFComboEvents& s) { s.ChangeFocus(); });
}

void ZFCombo::RaiseMessage(const std::wstring& text) {
  std::wstring copy = text;
  RaiseGuarded(sink_, closing_, [&](ZFComboEvents& s) { s.Message(copy); });
}

void ZFCombo::RaiseMouseLocked(bool locked) {
  RaiseGuarded(sink_, closing_, [&](ZFComboEvents& s) { s.MouseLocked(locked); });
}

void ZFCombo::RaiseGetBookmark(short slot, std::wstring& path) {
  RaiseGuarded(sink_, closing_, [&](ZFComboEvents& s) { s.GetBookmark(slot, path); });
}

// ---- The list ----

std::wstring ZFCombo::Text() const {
  if (selected_ < 0 || selected_ >= static_cast<std::int32_t>(entries_.size())) return {};
  return entries_[static_cast<std::size_t>(selected_)].Text;
}

void ZFCombo::BoxClear() {
  entries_.clear();
  selected_ = -1;
  if (window_->Combo) SendMessageW(window_->Combo, CB_RESETCONTENT, 0, 0);
}

void ZFCombo::BoxAdd(PlaceEntry entry) {
  entries_.push_back(std::move(entry));
  if (window_->Combo)
    SendMessageW(window_->Combo, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(entries_.back().Text.c_str()));
}

void ZFCombo::BoxSelect(std::int32_t index) {
  selected_ = index >= 0 && index < static_cast<std::int32_t>(entries_.size()) ? index : -1;
  if (window_->Combo) SendMessageW(window_->Combo, CB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
}

std::int32_t ZFCombo::FindText(const std::wstring& text) const {
  if (text.empty()) return -1;
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (tk::SameText(entries_[i].Text, text)) return static_cast<std::int32_t>(i);
  return -1;
}

void ZFCombo::SetListIndex(std::int32_t index) {
  BoxSelect(index);
  if (selected_ >= 0) Combo1_Click();
}

bool ZFCombo::SetText(const std::wstring& text) {
  if (text.empty()) {
    BoxSelect(-1);
    return false;
  }
  const std::int32_t index = FindText(text);
  if (index < 0) return false;
  SetListIndex(index);
  return true;
}

// ---- GetDrives ----

std::wstring ZFCombo::GetDrives(bool SkipAutoSet, bool DisplayMessage) {
  std::wstring name;
  return GetDrives(name, SkipAutoSet, DisplayMessage);
}

std::wstring ZFCombo::GetDrives(std::wstring& strName, bool SkipAutoSet, bool DisplayMessage) {
  Hold hold(*this);
  Step([&] {
    BoxClear();
    if (window_->Combo)
      SendMessageW(window_->Combo, CB_SETDROPPEDWIDTH, kDroppedWidthPx, 0);
    PlaceDropDown(kDropDownInches);
  });
  showUnavailableMessage_ = DisplayMessage;
  defaultEntryText_.clear();

  std::vector<std::wstring> roots;
  Step([&] { roots = drives_->LogicalDriveRoots(); });
  for (const std::wstring& root : roots)
    Step([&] {
      if (root.size() < 2) return;
      const std::wstring drive = root.substr(0, 2);
      std::wstring text = tk::Trim(drive + L" " + GetDriveTypeText(root, *drives_));
      if (!IsFloppyEntry(text) && defaultEntryText_.empty()) defaultEntryText_ = text;
      BoxAdd({text, drive, tk::UpperCase(root.substr(0, 1)), placeDrive});
    });
  Step([&] { BoxAdd({}); });
  Step([&] {
    BoxAdd({L"My Documents  " + drives_->MyDocumentsPath(), L"My Documents", L"?",
            placeDocuments});
  });
  Step([&] { BoxAdd({L"My Network Places", L"My Network Places", L"*", placeNetwork}); });
  Step([&] { BoxAdd({}); });
  for (short slot = 0; slot <= 9; ++slot)
    Step([&] {
      std::wstring path;
      RaiseGetBookmark(slot, path);
      if (path.empty() || tk::SameText(path, L"(empty)")) return;
      const std::wstring name = L"Bookmark " + std::to_wstring(slot + 1);
      // Paths of all bookmarks start in one column: "Bookmark 10" is one wider.
      const std::wstring gap = slot < 9 ? L"    " : L"   ";
      BoxAdd({name + gap + path, name, std::to_wstring(slot), placeBookmark});
    });

  if (SkipAutoSet || closing_) return {};

  Step([&] {
    if (strName.empty()) return;
    for (std::size_t i = 0; i < entries_.size(); ++i)
      if (tk::SameText(entries_[i].Key, strName)) {
        SetListIndex(static_cast<std::int32_t>(i));
        return;
      }
  });
  if (closing_) return {};
  Step([&] {
    if (!Text().empty()) return;
    SetText(defaultEntryText_);
    strName = Text().substr(0, 1);
  });
  std::wstring result;
  Step([&] {
    // The caller's drive text comes from what the entry is, never from words in its text
    // (a label or bookmark path may contain "My Documents").
    if (selected_ < 0) return;
    const PlaceEntry& entry = entries_[static_cast<std::size_t>(selected_)];
    if (!entry.Key.empty()) result = entry.Key + L":";
  });
  currDrive = Text();
  return result;
}

// ---- The box's handlers ----

void ZFCombo::Combo1_Click() {
  if (comboClickGuard_) return;
  Hold hold(*this);
  tk::HourglassPointer hourglass;
  try {
    if (Text().empty()) {
      // A blank line is no place: show the last one again and report nothing.
      ShowAgain();
      return;
    }
    // The owner's handlers may refill the list: keep what was chosen.
    const PlaceEntry chosen = entries_[static_cast<std::size_t>(selected_)];
    RaiseChangeFocus();
    RaiseMouseLocked(false);
    if (closing_) return;
    if (chosen.Kind != placeDrive) {
      shownText_ = chosen.Text;
      RaiseClick(chosen.Text);
      return;
    }
    const auto colon = chosen.Text.find(L':');
    std::wstring drive =
        colon == std::wstring::npos ? chosen.Text : chosen.Text.substr(0, colon + 1);
    if (IsDriveReady(drive, *drives_)) {
      shownText_ = chosen.Text;
      RaiseClick(chosen.Text);
      return;
    }
    if (showUnavailableMessage_) {
      if (StartsWithText(chosen.Text, 3, L"Remote"))
        RaiseMessage(kMappedUnavailable);
      else if (ContainsText(chosen.Text, L"removable"))
        RaiseMessage(kRemovableUnavailable);
      else
        RaiseMessage(kOtherUnavailable);
    }
    // The listing stays where it was, and so does the box.
    ShowAgain();
  } catch (...) {
    RaiseMessage(kSelectionFailed);
  }
}

void ZFCombo::Combo1_DropDown() {
  Hold hold(*this);
  dropDownKey_ = selected_ >= 0 ? entries_[static_cast<std::size_t>(selected_)].Key : L"";
  ClickGuard guard(*this);
  RaiseMouseLocked(true);
  if (closing_) return;
  // Picks up drives that came or went, and selects the same place again.
  const bool showsReported = !shownText_.empty() && tk::SameText(Text(), shownText_);
  std::wstring key = dropDownKey_;
  GetDrives(key, false, true);
  // The same place may read differently now (a new label): it is still the one reported.
  if (showsReported && selected_ >= 0 &&
      tk::SameText(entries_[static_cast<std::size_t>(selected_)].Key, dropDownKey_))
    shownText_ = Text();
}

void ZFCombo::Combo1_GotFocus() {
  tk::SetScreenMousePointer(tk::PointerDefault);
}

// Selects the entry last reported again, or the default entry when it has gone, without
// reporting it.
void ZFCombo::ShowAgain() {
  ClickGuard guard(*this);
  const std::int32_t shown = FindText(shownText_);
  BoxSelect(shown >= 0 ? shown : FindText(defaultEntryText_));
}

// ---- Skin ----

void ZFCombo::ApplyProperty(const std::wstring& PropName, const Variant& TheValue) {
  if (tk::SameText(PropName, L"ColorDriveList"))
    listColor_ = tk::SkinColour(VariantLong(TheValue));
  else if (tk::SameText(PropName, L"ColorDriveText"))
    textColor_ = tk::SkinColour(VariantLong(TheValue));
}

void ZFCombo::ApplySkinChange() {
  skinApplied_ = true;
  window_->ListBrush.Reset(CreateSolidBrush(listColor_));
  if (window_->Combo) InvalidateRect(window_->Combo, nullptr, TRUE);
}

std::int32_t ZFCombo::HiWord(const std::int32_t& dw) const { return zenlo::HiWord(dw); }
std::int32_t ZFCombo::LoWord(const std::int32_t& dw) const { return zenlo::LoWord(dw); }

// ---- The window ----

bool ZFCombo::CreateFrame(HWND parent) {
  ZFComboWindow& w = *window_;
  if (w.Frame.Handle()) return true;
  if (!w.Frame.Create(parent, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                      [this](UINT m, WPARAM wp, LPARAM lp, LRESULT& r) {
                        return OnFrameMessage(m, wp, lp, r);
                      }))
    return false;
  // A handler that fails ends at the window procedure; the owner hears of it once.
  w.Frame.SetErrorHandler([this] {
    RaiseMessage(tk::MessageWithError(L"An unknown error has occurred.", tk::CurrentError(),
                                      L"Error Description: "));
  });
  w.Combo = CreateWindowExW(0, L"COMBOBOX", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST,
                            0, 0, 0, 0, w.Frame.Handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboId)),
                            GetModuleHandleW(nullptr), nullptr);
  if (!w.Combo) {
    w.Frame.Destroy();
    return false;
  }
  SetFontOfBox();
  SendMessageW(w.Combo, CB_SETDROPPEDWIDTH, kDroppedWidthPx, 0);
  MirrorToWindow();
  PlaceDropDown(kDropDownInches);
  PlaceControls();
  return true;
}

HWND ZFCombo::Window() const { return window_->Frame.Handle(); }
HWND ZFCombo::ComboWindow() const { return window_->Combo; }

// The padded type words line up only in a fixed-width face. Under Wine "Courier New" may be
// missing and map to a proportional face; the stock fixed font stands in then.
void ZFCombo::SetFontOfBox() {
  ZFComboWindow& w = *window_;
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(825, GetDeviceCaps(screen, LOGPIXELSY), 7200);  // 8.25 pt
  HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           FIXED_PITCH | FF_MODERN, L"Courier New");
  bool usable = false;
  if (font) {
    HGDIOBJ old = SelectObject(screen, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    // TMPF_FIXED_PITCH set means variable pitch.
    usable = tk::SameText(face, L"Courier New") && !(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH);
    SelectObject(screen, old);
  }
  ReleaseDC(nullptr, screen);
  if (usable) {
    w.OwnedFont.Reset(font);
    w.Font = font;
  } else {
    if (font) DeleteObject(font);
    w.OwnedFont.Reset();
    w.Font = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
  }
  SendMessageW(w.Combo, WM_SETFONT, reinterpret_cast<WPARAM>(w.Font), TRUE);
}

void ZFCombo::MirrorToWindow() {
  HWND combo = window_->Combo;
  if (!combo) return;
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const PlaceEntry& e : entries_)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.Text.c_str()));
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
}

// The height a drop-down list box is given is the height of its open list.
void ZFCombo::PlaceDropDown(double inches) {
  ZFComboWindow& w = *window_;
  w.DropHeightPx = static_cast<int>(inches * 1440 / tk::TwipsPerPixelY());
  if (!w.Combo) return;
  RECT r{};
  GetWindowRect(w.Combo, &r);
  MapWindowPoints(nullptr, w.Frame.Handle(), reinterpret_cast<POINT*>(&r), 2);
  w.ComboPlacement.Move(w.Combo, r.left, r.top, r.right - r.left, w.DropHeightPx);
}

// The box's border lies outside the control: 30 twips up and left, 60 twips wider.
void ZFCombo::PlaceControls() {
  ZFComboWindow& w = *window_;
  if (!w.Combo) return;
  const int edgeX = tk::TwipsToPixels(30, tk::TwipsPerPixelX());
  const int edgeY = tk::TwipsToPixels(30, tk::TwipsPerPixelY());
  const int width = w.Frame.Width() + 2 * edgeX;
  w.ComboPlacement.Move(w.Combo, -edgeX, -edgeY, width, w.DropHeightPx);
}

void ZFCombo::RaiseMouse(bool down, WPARAM wParam, LPARAM lParam, short button) {
  short shift = static_cast<short>(((wParam & MK_SHIFT) ? 1 : 0) |
                                   ((wParam & MK_CONTROL) ? 2 : 0) |
                                   ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  HWND frame = window_->Frame.Handle();
  MapWindowPoints(frame, GetParent(frame), &p, 1);
  float x = static_cast<float>(p.x * tk::TwipsPerPixelX());
  float y = static_cast<float>(p.y * tk::TwipsPerPixelY());
  RaiseGuarded(sink_, closing_, [&](ZFComboEvents& s) {
    if (down)
      s.MouseDown(button, shift, x, y);
    else
      s.MouseMove(button, shift, x, y);
  });
}

bool ZFCombo::OnFrameMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // The owner may let go inside any event raised from here.
  Hold hold(*this);
  ZFComboWindow& w = *window_;
  switch (msg) {
    case WM_COMMAND: {
      if (!w.Combo || reinterpret_cast<HWND>(lParam) != w.Combo) return false;
      switch (HIWORD(wParam)) {
        case CBN_SELCHANGE: {
          const auto index = static_cast<std::int32_t>(SendMessageW(w.Combo, CB_GETCURSEL, 0, 0));
          selected_ = index >= 0 && index < static_cast<std::int32_t>(entries_.size()) ? index : -1;
          Combo1_Click();
          break;
        }
        case CBN_DROPDOWN:
          Combo1_DropDown();
          break;
        case CBN_SETFOCUS:
          Combo1_GotFocus();
          break;
        default:
          break;
      }
      result = 0;
      return true;
    }
    case WM_SIZE:
      PlaceControls();
      return false;
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (!skinApplied_ || !w.ListBrush) return false;
      SetTextColor(reinterpret_cast<HDC>(wParam), textColor_);
      SetBkColor(reinterpret_cast<HDC>(wParam), listColor_);
      result = reinterpret_cast<LRESULT>(w.ListBrush.Get());
      return true;
    case WM_MOUSEMOVE: {
      tk::SetScreenMousePointer(tk::PointerDefault);
      const short button = static_cast<short>(((wParam & MK_LBUTTON) ? 1 : 0) |
                                              ((wParam & MK_RBUTTON) ? 2 : 0) |
                                              ((wParam & MK_MBUTTON) ? 4 : 0));
      RaiseMouse(false, wParam, lParam, button);
      return false;
    }
    case WM_LBUTTONDOWN:
      RaiseMouse(true, wParam, lParam, 1);
      return false;
    case WM_RBUTTONDOWN:
      RaiseMouse(true, wParam, lParam, 2);
      return false;
    case WM_MBUTTONDOWN:
      RaiseMouse(true, wParam, lParam, 4);
      return false;
    case WM_NCDESTROY:
      // The owner's window took ours with it.
      w.Combo = nullptr;
      return false;
    default:
      return false;
  }
}

}  // namespace zenlo
