#pragma once
// frmHelp: the program's help, one scrolling page of headings and paragraphs that reflows to
// the window's width.
#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/Gdi.h"
#include "toolkit/Window.h"

namespace varnello {

class HelpForm final : public tk::ModelessForm {
 public:
  enum class Style { Title, Heading, Paragraph };
  // One text block (lbltxt(i)) on the page, in page pixels.
  struct Block {
    std::wstring Caption;
    Style Kind = Style::Paragraph;
    int Top = 0;
    int Height = 0;
  };

  HelpForm() = default;
  ~HelpForm() override;

  // Form_Load: creates the window (not shown) with its blocks laid out.
  bool Form_Load();
  void Form_Resize();
  void VScroll1_Scroll();

  const std::vector<Block>& Blocks() const { return blocks_; }
  tk::ScrollBar& VScroll1() { return vscroll_; }
  // Picture1's top: 0 or minus the part of the page scrolled out above.
  int PageTop() const { return pageTop_; }
  int PageHeight() const { return pageHeight_; }
  int PageWidth() const { return pageWidth_; }
  int InnerHeight() const;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void SetScrollRange();
  void LayOut();
  HFONT FontOf(Style s) const;
  void Paint();

  std::vector<Block> blocks_;
  tk::ScrollBar vscroll_;
  tk::Font title_, heading_, paragraph_;
  int pageTop_ = 0;
  int pageHeight_ = 0;
  int pageWidth_ = 0;
  int textWidth_ = 0;
};

}  // namespace varnello
