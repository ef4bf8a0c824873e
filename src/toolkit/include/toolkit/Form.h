#pragma once
// Dialog forms: a top-level window sized by its inner area in twips, shown modeless and centred
// on an owner, with the child controls dialogs are made of. Children tell the form of their
// clicks; the form hands each to the control, which raises its own event.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Gdi.h"
#include "toolkit/Window.h"

namespace tk {

// A child control that acts on the notifications (WM_COMMAND codes) it sends its form.
class CommandSource {
 public:
  virtual void OnCommand(WORD code) = 0;

 protected:
  ~CommandSource() = default;
};

class Form : public Window {
 public:
  // A captioned, closable, fixed-size window; its inner area is `width` x `height` twips.
  bool Create(const std::wstring& caption, int innerWidthTwips, int innerHeightTwips);
  bool Loaded() const { return Handle() != nullptr; }
  HFONT Font() const { return font_.Get(); }
  // Places a child in twips of the inner area.
  void Place(Window& child, int left, int top, int width, int height);
  // Centres the form on `owner`'s window rectangle (not clamped to the screen).
  void CentreOn(HWND owner);
  // Shows the form without disabling any other window and brings it to the front.
  void ShowModeless();
  // Closes the form as its close box does: QueryUnload may keep it open; otherwise it is
  // hidden at once and destroyed from the message loop, so a handler may close its own form.
  // Returns false when the form stayed open.
  bool Close();
  // False keeps the form open.
  std::function<bool()> QueryUnload;
  std::function<void()> Unloaded;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  tk::Font font_;
  tk::Brush face_;
  bool closing_ = false;
};

class Button : public Window, public CommandSource {
 public:
  bool Create(Form& form, const std::wstring& caption);
  std::wstring Caption() const;
  void SetEnabled(bool enabled);
  bool Enabled() const;
  // As a click of the user.
  void Press() { OnCommand(BN_CLICKED); }
  std::function<void()> Click;
  void OnCommand(WORD code) override;
};

// A group box drawn round other controls (they are the form's children, placed over it).
class Frame : public Window {
 public:
  bool Create(Form& form, const std::wstring& caption);
};

// A list of texts with one selected entry.
class ListBox : public Window, public CommandSource {
 public:
  bool Create(Form& form, bool sorted = false);
  void Clear();
  void AddItem(const std::wstring& text);
  std::vector<std::wstring> Items() const;
  int ListIndex() const;  // -1 when none is selected
  void SetListIndex(int index);
  // The selected entry's text; empty when none is selected.
  std::wstring Text() const;
  std::function<void()> Click;
  std::function<void()> DblClick;
  void OnCommand(WORD code) override;
};

// A one-tab header drawn above a dialog's page.
class TabHeader : public Window {
 public:
  bool Create(Form& form, const std::vector<std::wstring>& tabs);
};

// A colour swatch: a box filled with its colour (RGB or a system colour, as skins hold them).
class Swatch : public Window {
 public:
  bool Create(Form& form);
  std::int32_t BackColor() const { return colour_; }
  void SetBackColor(std::int32_t colour);
  std::function<void()> Click;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  std::int32_t colour_ = 0;
};

// A label on a form's face, in the form's font.
class FormLabel : public Window {
 public:
  bool Create(Form& form, const std::wstring& caption);
  std::wstring Caption() const;
};

}  // namespace tk
