#include "settings/OptionsForm.h"

#include "mainwindow/Master.h"
#include "settings/FileCountLimit.h"

namespace varnello {

namespace {

const wchar_t kOwnerName[] = L"frmOptions";
constexpr long kFallbackLimit = 50;

// Design places of the two pages: the one at the Speed place lies past the form's right edge.
constexpr int kGeneralLeft = 1920, kGeneralTop = 210;
constexpr int kSpeedLeft = 6540, kSpeedTop = 225;

}  // namespace

frmOptions::frmOptions(Master& master) : m_(master) {}

frmOptions::~frmOptions() {
  if (Handle()) m_.UnregisterForm(Handle());
}

void frmOptions::Load() {
  if (Loaded()) return;
  if (!Create(L"Options", 11145, 6360)) return;
  // Group boxes paint only their lines: the face under them is the form's to erase.
  SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) & ~WS_CLIPCHILDREN);
  CreateControls();
  const HWND window = Handle();
  Unloaded = [this, window] { m_.UnregisterForm(window); };
  m_.RegisterForm(kOwnerName, Handle());
  currentPage_ = shownPage_ = 0;
  txtNumColor.SetText(std::to_wstring(m_.Options.FileCountMax));
  SetBoxesFromOptions();
  // Opening pushes the click-time options once more, as ticking the boxes did in the old form.
  m_.SendProperty(L"ShowFileIcons", m_.Options.ShowFileIcons);
  m_.SendProperty(L"ShowFolderIcons", m_.Options.ShowFolderIcons);
  m_.ShowColor(m_.Options.ColorCodingOn);
  ShowOptions(1);
}

void frmOptions::CreateControls() {
  tabFont_.Reset(CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             L"Arial"));
  Frame1.Create(*this, L"Category");
  Place(Frame1, 75, 45, 1680, 5745);
  lblGeneral.Create(*this, L"General", tabFont_.Get());
  Place(lblGeneral, 180, 390, 1230, 420);
  lblSpeed.Create(*this, L"Speed", tabFont_.Get());
  Place(lblSpeed, 180, 960, 975, 420);
  lblGeneral.Click = [this] { lblGeneral_Click(); };
  lblSpeed.Click = [this] { lblSpeed_Click(); };
  lblGeneral.MouseMove = [this] { lblGeneral_MouseMove(); };
  lblSpeed.MouseMove = [this] { lblSpeed_MouseMove(); };
  Frame2.Create(*this, L"");
  Place(Frame2, 1815, 45, 4350, 5745);
  CreateGeneralPage();
  CreateSpeedPage();
  cmdApply.Create(*this, L"Apply");
  Place(cmdApply, 3270, 5865, 1380, 400);
  cmdApply.Click = [this] { cmdApply_Click(); };
  cmdOK.Create(*this, L"OK");
  Place(cmdOK, 4740, 5865, 1380, 400);
  cmdOK.Click = [this] { cmdOK_Click(); };
  // Group boxes lie under the controls they frame.
  for (tk::Frame* f : {&Frame5, &Frame4, &Frame3, &Frame2, &Frame1})
    SetWindowPos(f->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void frmOptions::CreateGeneralPage() {
  Frame3.Create(*this, L"Minimizing");
  Frame4.Create(*this, L"Status Line Notifications");
  Frame5.Create(*this, L"Other");
  optMin[0].Create(*this, L"Minimize to Task Bar", true);
  optMin[1].Create(*this, L"Minimize to System Tray (clock area)", false);
  for (int i = 0; i < 2; ++i) optMin[static_cast<std::size_t>(i)].Click = [this, i] { optMin_Click(i); };
  chkNotifyFold.Create(*this, L"Notify when Folders added or removed");
  chkNotifyFile.Create(*this, L"Notify when Files added or removed");
  chkChime.Create(*this, L"Audible chime");
  cmdTestChime.Create(*this, L"Test");
  cmdTestChime.Click = [this] { cmdTestChime_Click(); };
  chkDefaultMoveOrCopy.Create(*this, L"Make default action Move (instead of Copy)");
  general_ = {
      {&Frame3, 105, 360, 3915, 1080},
      {&optMin[0], 240, 660, 3600, 285},
      {&optMin[1], 240, 990, 3600, 285},
      {&Frame4, 105, 1575, 3915, 1410},
      {&chkNotifyFold, 240, 1875, 3660, 285},
      {&chkNotifyFile, 240, 2205, 3660, 285},
      {&chkChime, 240, 2535, 2200, 285},
      {&cmdTestChime, 2640, 2505, 900, 345},
      {&Frame5, 105, 3120, 3915, 780},
      {&chkDefaultMoveOrCopy, 240, 3450, 3660, 285},
  };
}

void frmOptions::CreateSpeedPage() {
  auto label = [this](const wchar_t* text) -> tk::FormLabel* {
    labels_.push_back(std::make_unique<tk::FormLabel>());
    labels_.back()->Create(*this, text);
    return labels_.back().get();
  };
  speed_ = {
      {label(L"Slower"), 2025, 330, 900, 255},
      {label(L"Faster"), 3060, 330, 900, 255},
  };
  const wchar_t* rows[] = {L"Get File Icons", L"Get Folder Icons", L"Show Color Coding"};
  const int tops[] = {705, 1095, 1500};
  for (int row = 0; row < 3; ++row) {
    speed_.push_back({label(rows[row]), 120, tops[row] + 30, 1900, 255});
    for (int side = 0; side < 2; ++side) {
      const int index = row * 2 + side;
      tk::CheckBox& box = chk[static_cast<std::size_t>(index)];
      box.Create(*this, side == 0 ? L"Yes" : L"No");
      box.Click = [this, index] { chk_Click(index); };
      speed_.push_back({&box, side == 0 ? 2340 : 3330, tops[row], 700, 285});
    }
  }
  speed_.push_back(
      {label(L"Only show color coding when there are less than:"), 120, 1935, 2550, 450});
  txtNumColor.Create(*this);
  speed_.push_back({&txtNumColor, 2715, 1965, 435, 285});
  speed_.push_back({label(L"files."), 3210, 2000, 600, 255});
}

void frmOptions::PlacePage(const std::vector<PagePart>& page, int left, int top) {
  for (const PagePart& p : page) Place(*p.Control, left + p.Left, top + p.Top, p.Width, p.Height);
}

void frmOptions::SetBoxesFromOptions() {
  const ProgramOptions& o = m_.Options;
  const bool pairs[] = {o.ShowFileIcons, o.ShowFolderIcons, o.ColorCodingOn};
  for (std::size_t p = 0; p < 3; ++p) {
    chk[p * 2].SetValue(pairs[p]);
    chk[p * 2 + 1].SetValue(!pairs[p]);
  }
  optMin[o.MinimizeToTaskBar ? 0 : 1].SetValue(true);
  chkNotifyFold.SetValue(o.TrackFoldChanges);
  chkNotifyFile.SetValue(o.TrackFileChanges);
  chkChime.SetValue(o.TrackChime);
  chkDefaultMoveOrCopy.SetValue(o.DefaultActionMove);
}

void frmOptions::ShowOptions(long TheType) {
  if (TheType == shownPage_) return;
  currentPage_ = shownPage_ = TheType;
  if (TheType == 1) {
    lblGeneral.SetForeColor(kSelectedColor);
    lblSpeed.SetForeColor(kNormalColor);
    PlacePage(general_, kGeneralLeft, kGeneralTop);
    PlacePage(speed_, kSpeedLeft, kSpeedTop);
  } else if (TheType == 2) {
    lblGeneral.SetForeColor(kNormalColor);
    lblSpeed.SetForeColor(kSelectedColor);
    PlacePage(general_, kSpeedLeft, kSpeedTop);
    PlacePage(speed_, kGeneralLeft, kGeneralTop);
  }
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void frmOptions::ResetColors() {
  if (currentPage_ == 1) lblSpeed.SetForeColor(kNormalColor);
  if (currentPage_ == 2) lblGeneral.SetForeColor(kNormalColor);
}

void frmOptions::lblGeneral_MouseMove() {
  if (currentPage_ != 1) lblGeneral.SetForeColor(kHoverColor);
}

void frmOptions::lblSpeed_MouseMove() {
  if (currentPage_ != 2) lblSpeed.SetForeColor(kHoverColor);
}

void frmOptions::chk_Click(int Index) {
  if (Index < 0 || Index >= 6) return;
  // Boxes set by code raise no click, so the partner is set without a guard; one box of each
  // pair stays ticked.
  const auto clicked = static_cast<std::size_t>(Index);
  const std::size_t partner = clicked ^ 1u;
  chk[partner].SetValue(!chk[clicked].Value());
  ProgramOptions& o = m_.Options;
  switch (Index / 2) {
    case 0:
      o.ShowFileIcons = chk[0].Value();
      break;
    case 1:
      o.ShowFolderIcons = chk[2].Value();
      break;
    default:
      m_.ShowColor(chk[4].Value());
      break;
  }
  m_.SendProperty(L"ShowFileIcons", o.ShowFileIcons);
  m_.SendProperty(L"ShowFolderIcons", o.ShowFolderIcons);
}

void frmOptions::optMin_Click(int) { m_.Options.MinimizeToTaskBar = optMin[0].Value(); }

void frmOptions::cmdTestChime_Click() { m_.TestSound(); }

void frmOptions::ShowColorState(bool on) {
  if (!Loaded()) return;
  chk[4].SetValue(on);
  chk[5].SetValue(!on);
}

void frmOptions::Apply() {
  ProgramOptions& o = m_.Options;
  if (auto limit = ReadFileCountLimit(txtNumColor.Text())) {
    o.FileCountMax = *limit;
  } else {
    // The panes follow the limit the box now shows.
    o.FileCountMax = kFallbackLimit;
    txtNumColor.SetText(std::to_wstring(kFallbackLimit));
  }
  m_.SendProperty(L"FileCountMax", static_cast<std::int32_t>(o.FileCountMax));
  o.TrackFoldChanges = chkNotifyFold.Value();
  o.TrackFileChanges = chkNotifyFile.Value();
  o.TrackChime = chkChime.Value();
  o.DefaultActionMove = chkDefaultMoveOrCopy.Value();
  m_.SendProperty(L"TrackFoldChanges", o.TrackFoldChanges);
  // Trees never report file changes.
  m_.SendListingProperty(L"TrackFileChanges", o.TrackFileChanges);
  m_.SendProperty(L"TrackChime", o.TrackChime);
}

void frmOptions::cmdOK_Click() {
  Apply();
  Close();
}

LRESULT frmOptions::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MOUSEMOVE && Frame1.Handle()) {
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const RECT frame = tk::RectInParent(Frame1.Handle());
    if (PtInRect(&frame, at)) Frame1_MouseMove();
  }
  return Form::OnMessage(msg, wParam, lParam);
}

}  // namespace varnello
