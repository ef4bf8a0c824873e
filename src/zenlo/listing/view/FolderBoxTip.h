#pragma once
// The tool tip of the listing box: a hint shown when the pointer rests on the listing (for
// instance why a listing with folders shows no items). No text, no tip.
#include <windows.h>

#include <string>

namespace zenlo {

class FolderBoxTip {
 public:
  FolderBoxTip() = default;
  ~FolderBoxTip();
  FolderBoxTip(const FolderBoxTip&) = delete;
  FolderBoxTip& operator=(const FolderBoxTip&) = delete;

  // Creates the tip window for the box; the text set so far takes effect.
  void Attach(HWND box);
  void SetText(const std::wstring& text);
  const std::wstring& Text() const { return text_; }
  HWND Handle() const { return tip_; }

 private:
  void Apply();

  HWND tip_ = nullptr;
  HWND box_ = nullptr;
  std::wstring text_;
  bool toolAdded_ = false;
};

}  // namespace zenlo
