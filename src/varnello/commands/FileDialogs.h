#pragma once
// The four small modal dialogs of the file commands: popCopyMove, popDelete, popNewFolder and
// popRename. None does any file work: each leaves its verdict in the main window's verdict
// variables and unloads, and the command that showed it acts on the verdict.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Gdi.h"
#include "toolkit/Window.h"

namespace varnello {

// What the dialogs answer through: the main window's public variables.
struct FileVerdicts {
  std::wstring currOperation;
  std::wstring DestinationFolder;
  bool SendToRecycleBin = false;
};

// One modal dialog of labels, text boxes, a check box and buttons, laid out in twips and
// found by control name. Each dialog below handles its own clicks.
class FileDialog : public tk::Window {
 public:
  ~FileDialog() override;

  const std::wstring& Name() const { return name_; }
  std::wstring Caption() const;
  std::wstring Text(const std::wstring& control) const;
  void SetText(const std::wstring& control, const std::wstring& text);
  bool Visible(const std::wstring& control) const;
  bool Checked(const std::wstring& control) const;
  void SetChecked(const std::wstring& control, bool checked);
  // The caret and selection of a text box.
  DWORD SelStart(const std::wstring& control) const;
  DWORD SelLength(const std::wstring& control) const;
  // The button Enter presses.
  std::wstring DefaultButton() const { return defaultButton_; }
  // The button that closed the dialog; empty when it was closed without one.
  const std::wstring& Pressed() const { return pressed_; }
  // A click on a button, as the user's.
  void Click(const std::wstring& control);
  // The close box: the dialog goes without a button.
  void CloseBox();

  // Tests: called once each dialog is up, from inside its modal loop.
  static void SetShownHook(std::function<void(FileDialog&)> hook);

 protected:
  FileDialog(std::wstring name, FileVerdicts& verdicts);
  // Shows the dialog modal, centred over `owner`, until it unloads.
  void ShowModal(HWND owner);
  void Unload();
  // Form_Unload: what a dialog keeps when it goes, however it was closed.
  virtual void Form_Unload() {}
  virtual void ButtonClick(const std::wstring& control) = 0;

  enum class Kind { Label, TextBox, ReadOnlyTextBox, Button, CheckBox };
  // The form and its controls, in twips.
  void Build(const std::wstring& caption, int widthTwips, int heightTwips);
  void Add(Kind kind, const std::wstring& name, const std::wstring& caption, int left, int top,
           int width, int height);
  void SetDefaultButton(const std::wstring& control) { defaultButton_ = control; }
  // The control that has the focus when the dialog shows (else the default button).
  void Focus(const std::wstring& control);
  HWND Control(const std::wstring& control) const;

  FileVerdicts& verdicts_;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  struct Item {
    std::wstring Name;
    Kind Type;
    HWND Handle;
  };
  std::wstring name_;
  std::vector<Item> items_;
  std::wstring defaultButton_;
  std::wstring focus_;
  std::wstring pressed_;
  tk::Font font_;
  tk::Brush lightBlue_, white_;
  bool done_ = false;
};

// Copy or move, with the destination the user may edit.
class popCopyMove final : public FileDialog {
 public:
  explicit popCopyMove(FileVerdicts& v) : FileDialog(L"popCopyMove", v) {}
  // Enter moves when `defaultActionMove`, else copies.
  void Show(HWND owner, const std::wstring& source, const std::wstring& destination,
            bool defaultActionMove);

 private:
  void ButtonClick(const std::wstring& control) override;
  void Form_Unload() override;
};

class popDelete final : public FileDialog {
 public:
  explicit popDelete(FileVerdicts& v) : FileDialog(L"popDelete", v) {}
  // `permanent`: no recycle box, and the question reads "Permanently Delete?".
  void Show(HWND owner, const std::wstring& source, bool permanent);

 private:
  void ButtonClick(const std::wstring& control) override;
};

class popNewFolder final : public FileDialog {
 public:
  explicit popNewFolder(FileVerdicts& v) : FileDialog(L"popNewFolder", v) {}
  void Show(HWND owner, const std::wstring& folder);
  // The name typed when Create was pressed.
  const std::wstring& Typed() const { return typed_; }

 private:
  void ButtonClick(const std::wstring& control) override;
  std::wstring typed_;
};

class popRename final : public FileDialog {
 public:
  explicit popRename(FileVerdicts& v) : FileDialog(L"popRename", v) {}
  void Show(HWND owner, const std::wstring& oldName);
  // Puts the caret of txtDest before its last ".", when it has one.
  void PositionCursor();
  // The name in txtDest when Rename was pressed.
  const std::wstring& Typed() const { return typed_; }

 private:
  void ButtonClick(const std::wstring& control) override;
  std::wstring typed_;
};

}  // namespace varnello
