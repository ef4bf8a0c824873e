#pragma once
// The options dialog: a General page (minimising, change notices, default drop action) and a
// Speed page (icons, colour coding and its file-count limit). Icons, colour coding and the
// minimise choice take effect at the click; the rest on Apply or OK.
#include <array>
#include <memory>
#include <vector>

#include "toolkit/Form.h"
#include "toolkit/Gdi.h"

namespace varnello {

class Master;

class frmOptions final : public tk::Form {
 public:
  static constexpr COLORREF kSelectedColor = RGB(0, 115, 201);
  static constexpr COLORREF kHoverColor = RGB(79, 168, 234);
  static constexpr COLORREF kNormalColor = RGB(0, 0, 0);

  explicit frmOptions(Master& master);
  ~frmOptions() override;

  // Form_Load: creates the dialog from the current options when it is not loaded.
  void Load();

  void ShowOptions(long TheType);
  void ResetColors();
  void Apply();
  // Colour coding was switched elsewhere: the boxes follow without acting.
  void ShowColorState(bool on);
  long CurrentPage() const { return currentPage_; }

  std::array<tk::CheckBox, 6> chk;
  std::array<tk::OptionButton, 2> optMin;
  tk::CheckBox chkNotifyFold, chkNotifyFile, chkChime, chkDefaultMoveOrCopy;
  tk::TextBox txtNumColor;
  tk::Button cmdApply, cmdOK, cmdTestChime;
  tk::TabLabel lblGeneral, lblSpeed;

  void chk_Click(int Index);
  void optMin_Click(int Index);
  void cmdApply_Click() { Apply(); }
  void cmdOK_Click();
  void cmdTestChime_Click();
  void lblGeneral_Click() { ShowOptions(1); }
  void lblSpeed_Click() { ShowOptions(2); }
  void lblGeneral_MouseMove();
  void lblSpeed_MouseMove();
  void Frame1_MouseMove() { ResetColors(); }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  // A control of a page, placed in twips relative to the page's top-left corner.
  struct PagePart {
    tk::Window* Control;
    int Left, Top, Width, Height;
  };
  void CreateControls();
  void CreateGeneralPage();
  void CreateSpeedPage();
  void PlacePage(const std::vector<PagePart>& page, int left, int top);
  void SetBoxesFromOptions();

  Master& m_;
  long currentPage_ = 0;
  long shownPage_ = 0;
  tk::Font tabFont_;
  tk::Frame Frame1, Frame2, Frame3, Frame4, Frame5;
  std::vector<std::unique_ptr<tk::FormLabel>> labels_;
  std::vector<PagePart> general_, speed_;
};

}  // namespace varnello
