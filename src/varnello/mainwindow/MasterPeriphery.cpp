// Master's update check, help, tip of the day and the way back from the tray.
#include "mainwindow/Master.h"

namespace varnello {

namespace {

// Centres `form` on `over`, or on the work area while `over` is hidden or minimised.
void CentreOn(HWND form, HWND over) {
  RECT area{};
  if (over && IsWindowVisible(over) && !IsIconic(over))
    GetWindowRect(over, &area);
  else
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT r{};
  GetWindowRect(form, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(form, nullptr, area.left + (area.right - area.left) / 2 - w / 2,
               area.top + (area.bottom - area.top) / 2 - h / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

UpdateCheck& Master::Updates() {
  if (!updates_) updates_ = std::make_unique<UpdateCheck>(*this);
  return *updates_;
}

void Master::CheckForUpdate(bool ManualCheck) {
  try {
    Updates().CheckForUpdate(ManualCheck);
  } catch (...) {
  }
}

HelpForm* Master::Help() const { return help_ && help_->Handle() ? help_.get() : nullptr; }

void Master::OpenHelp() {
  if (!Help()) {
    help_ = std::make_unique<HelpForm>();
    if (!help_->Form_Load()) {
      help_.reset();
      return;
    }
  }
  CentreOn(help_->Handle(), Handle());
  ShowWindow(help_->Handle(), IsIconic(help_->Handle()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(help_->Handle());
}

TipForm* Master::Tip() const { return tip_ && tip_->Handle() ? tip_.get() : nullptr; }

void Master::ShowTip(bool SkipCheck) {
  if (TipForm* open = Tip()) {
    SetForegroundWindow(open->Handle());
    return;
  }
  tip_ = std::make_unique<TipForm>(
      TipForm::Setup{folder_, UserStoreName, Options.FirstRun, [this] { OpenHelp(); }});
  tip_->SkipCheck = SkipCheck;
  if (!tip_->Form_Load()) tip_.reset();
}

void Master::RestoreWindow() {
  ShowWindow(Handle(), resize_.LastWindowState == 2 ? SW_SHOWMAXIMIZED : SW_RESTORE);
  SetForegroundWindow(Handle());
}

}  // namespace varnello
