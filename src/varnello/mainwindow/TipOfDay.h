#pragma once
// frmTip: one tip at a time from TIPOFDAY.TXT in the program folder, after start-up unless the
// user switched it off, and from the menu.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Gdi.h"
#include "toolkit/Window.h"

namespace varnello {

// The tips of a tip file's bytes, one a line (UTF-8, else the ANSI code page). Empty lines are
// tips too, but the line end that closes the last line starts none.
std::vector<std::wstring> ReadTips(const std::string& bytes);

class TipForm final : public tk::ModelessForm {
 public:
  struct Setup {
    std::wstring ProgramFolder;
    // The per-user store's application name that keeps "Show Tips at Startup".
    std::wstring StoreName;
    bool FirstRun = false;
    std::function<void()> OpenHelp;
  };
  static constexpr wchar_t kTipFile[] = L"TIPOFDAY.TXT";

  explicit TipForm(Setup setup) : setup_(std::move(setup)) {}
  ~TipForm() override;

  // Show the form even when tips at start-up are off (the menu's "Show Tips").
  bool SkipCheck = false;
  // Form_Load and show; false when the form unloaded itself at once.
  bool Form_Load();
  bool LoadTips(const std::wstring& file);
  void DisplayCurrentTip();
  void DoNextTip();
  void UserKeyDown(int keyCode, int shift);
  void cmdOK_Click();
  void cmdNextTip_Click() { DoNextTip(); }
  void chkLoadTipsAtStartup_Click();

  const std::vector<std::wstring>& Tips() const { return tips_; }
  long CurrentTip() const { return currentTip_; }
  const std::wstring& TipText() const { return tipText_; }
  bool ShowAtStartupChecked() const;
  HWND OkButton() const { return ok_; }
  HWND NextTipButton() const { return next_; }
  HWND CheckBox() const { return check_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  static LRESULT CALLBACK ControlKeys(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);
  void CreateControls();
  void Paint();

  Setup setup_;
  std::vector<std::wstring> tips_;
  long currentTip_ = 0;
  std::wstring tipText_;
  HWND ok_ = nullptr;
  HWND next_ = nullptr;
  HWND check_ = nullptr;
  tk::Font bold_;
  tk::Font normal_;
};

}  // namespace varnello
