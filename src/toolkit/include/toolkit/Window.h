#pragma once
// Windows owning their HWND: our own window class dispatching to a virtual handler, and thin
// owners of the standard child controls.
#include <windows.h>

#include <functional>
#include <string>

namespace tk {

// The screen's twips per pixel (15 at 96 DPI), and conversions that round halves to even.
int TwipsPerPixelX();
int TwipsPerPixelY();
int TwipsToPixels(double twips, int twipsPerPixel);

// The window class of our own windows belongs to the module that links this toolkit. A library
// unregisters it when it is unloaded, so that a copy loaded later registers its own.
bool RegisterWindowClass();
void UnregisterWindowClass();

// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hwnd);
bool SameRect(const RECT& a, const RECT& b);

// Shows (without activating) or hides a child window unless it already is so: the platform
// answers even a show of a shown window with a round of messages and a repaint.
void ShowChild(HWND hwnd, bool visible);

// Moves a child window unless it still stands where it was last put. Layouts re-place every
// part each time, and the platform answers even a move to the same place with a round of
// messages. A window may keep a rectangle other than the one asked (a combo box its closed
// height, a toolbar its own height): it is judged by what it was asked and what it kept.
class ChildPlacement {
 public:
  void Move(HWND hwnd, int x, int y, int width, int height);

 private:
  HWND hwnd_ = nullptr;
  RECT asked_{};
  RECT kept_{};
};

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  // The toolkit object that owns `hwnd`, or null for a window the toolkit did not make.
  static Window* FromHandle(HWND hwnd);
  void SetBounds(int x, int y, int width, int height);  // pixels, in the parent
  void SetVisible(bool visible);
  bool Visible() const;
  int Width() const;
  int Height() const;
  void Destroy();
  // Called inside the catch block when handling a message failed (tk::CurrentError() tells
  // what); the failure ends at the window procedure and goes no further.
  void SetErrorHandler(std::function<void()> handler) { errorHandler_ = std::move(handler); }

 protected:
  // Creates a window of our own class; messages reach OnMessage.
  bool CreateOwn(HWND parent, DWORD style, DWORD exStyle = 0);
  // Creates a standard control (COMBOBOX, SCROLLBAR, ...); messages go to its own class.
  bool CreateStandard(const wchar_t* className, HWND parent, DWORD style, DWORD exStyle = 0,
                      const wchar_t* text = L"");
  virtual LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  friend bool RegisterWindowClass();
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK StandardProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void ReportError();
  HWND hwnd_ = nullptr;
  ChildPlacement placement_;
  bool standard_ = false;
  WNDPROC standardProc_ = nullptr;  // the control's own procedure, under ours
  // Set while a message of this window is handled: the handler may delete the object.
  bool* deleted_ = nullptr;
  std::function<void()> errorHandler_;
};

// A window of our own class whose messages go to a handler function (the owning control's
// named handlers).
class HandlerWindow : public Window {
 public:
  using Handler = std::function<bool(UINT msg, WPARAM, LPARAM, LRESULT&)>;
  bool Create(HWND parent, DWORD style, Handler handler, DWORD exStyle = 0);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  Handler handler_;
};

// A modeless top-level form: closing it destroys its window, while the object stays with its
// owner, who can open it again.
class ModelessForm : public Window {
 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// A one-line label painted with its own colours.
class Label : public Window {
 public:
  bool Create(HWND parent);
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& text);
  void SetColours(COLORREF text, COLORREF background);
  COLORREF ForeColor() const { return fore_; }
  COLORREF BackColor() const { return back_; }
  void SetFont(HFONT font) { font_ = font; }
  // Pixels kept clear left of the text (a frame drawn beside the label).
  void SetTextInset(int pixels);
  // Repaints now (progress marks during a read).
  void Refresh();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  std::wstring caption_;
  COLORREF fore_ = RGB(0, 0, 0);
  COLORREF back_ = RGB(255, 255, 255);
  HFONT font_ = nullptr;
  int inset_ = 0;
};

}  // namespace tk
