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
  // Sets the outer size in twips, keeping the form where it stands.
  void SetOuterSize(int widthTwips, int heightTwips);
  // Moves the form into the work area of `owner`'s monitor when it reaches past it.
  void KeepInWorkArea(HWND owner);
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

// A one-line text box.
class TextBox : public Window {
 public:
  bool Create(Form& form, const std::wstring& text = L"");
  std::wstring Text() const;
  void SetText(const std::wstring& text);
};

// A two-state box. Setting it by code raises no click; a user's click or key toggles it first.
class CheckBox : public Window, public CommandSource {
 public:
  bool Create(Form& form, const std::wstring& caption);
  bool Value() const;
  void SetValue(bool ticked);
  // As a click of the user.
  void Press();
  std::function<void()> Click;
  void OnCommand(WORD code) override;
};

// One of a group of option buttons: selecting one clears the others of its group. The first
// button of each group is created with `firstOfGroup`.
class OptionButton : public Window, public CommandSource {
 public:
  bool Create(Form& form, const std::wstring& caption, bool firstOfGroup);
  bool Value() const;
  void SetValue(bool selected);
  std::function<void()> Click;
  void OnCommand(WORD code) override;
};

// A label that takes clicks and mouse moves, painted in its own text colour on the form's
// face, as page tabs drawn as plain text are.
class TabLabel : public Label {
 public:
  bool Create(Form& form, const std::wstring& caption, HFONT font);
  void SetForeColor(COLORREF colour);
  std::function<void()> Click;
  std::function<void()> MouseMove;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
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
