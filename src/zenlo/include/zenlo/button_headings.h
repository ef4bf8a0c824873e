#pragma once
// button_headings: one column heading of a listing. It shows the heading's caption, a sort
// arrow with the heading's level in a multi-level sort, the active or inactive colours and a
// tooltip, and reports clicks, double clicks and drags of its right edge to its owner, which
// does the sorting and the column widths.
//
// Set-up by the owner: Create, AttachEvents, CreateFrame(parent, Index), then size and place
// Window() with DoResize True, ApplyProperty with the five heading colours, Highlight, ShowSort.
// The slot (the owner's array index) decides two things: slot 0 is the colour-code heading and
// slot 10 the filler; neither can be resized.
#include <windows.h>
#include <unknwn.h>

#include <cstdint>
#include <memory>
#include <string>

#include "zenlo/ZenloApi.h"
#include "zenlo/ZenloClassIds.h"
#include "zenlo/ZenloTypes.h"
#include "zenlo/button_headingsEvents.h"

namespace zenlo {

class CallLifetime;
struct ButtonHeadingsWindow;

// Where the button's parts lie, in twips of the button's own coordinates.
struct ButtonHeadingsParts {
  RECT Outline{};      // the face and its border
  RECT Caption{};      // the caption's label; empty when the button is too narrow for it
  RECT Cover{};        // the pointer's area, the whole button
  POINT SortArrow{};   // top left of the 16x16 arrow
  POINT SortNumber{};  // top left of the level number
};

class ZENLO_API button_headings final : public IUnknown {
 public:
  // Creates a button with one reference.
  static button_headings* Create();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  // A last Release while a handler of the button is on the stack defers destruction until
  // that handler has unwound; nothing more is raised meanwhile.
  ULONG STDMETHODCALLTYPE Release() override;

  void AttachEvents(button_headingsEvents* sink);
  // Creates the button's window in the owner's window as member Index of the owner's array
  // named Name; a new button's caption is its name.
  bool CreateFrame(HWND parent, std::int16_t Index, const std::wstring& Name = L"cmdSort");
  HWND Window() const;
  std::int16_t Index() const { return index_; }

  // Persisted property "Caption" (default: the control's name).
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag);
  // True when a persisted property changed since the last WriteProperties.
  bool PropertiesChanged() const { return propertiesChanged_; }

  // ---- Published members ----
  bool CanBeResized = false;
  std::int16_t ButtonIndexMax = 0;
  // The parts are laid out again on a size change only while this is true.
  bool DoResize = false;
  std::wstring Caption() const { return caption_; }
  void SetCaption(const std::wstring& value);

  void Highlight(const bool& OnOff);
  void SetToolTip(const std::wstring& tip);
  void ResetLabelTextColour(const bool& hilightColor);
  // The resize-edge test for a pointer at (X, Y), twips of the button.
  void SetModes(const float& X, const float& Y);
  // "ColorActiveHeading", "ColorInactiveHeading", "ColorActiveHeadingText",
  // "ColorInactiveHeadingText", "ColorHeadingHoverText", exactly so spelt; others are ignored.
  void ApplyProperty(const std::wstring& PropName, const Variant& TheValue);
  // "ASC" or "DES" (any case) shows that arrow, anything else none; a non-empty strNum shows
  // the level number.
  void ShowSort(const std::wstring& sortOrder, const std::wstring& strNum = L"");
  void StopTimer();

  // ---- What the button shows, for its owner and tests ----
  const std::wstring& ResizeState() const { return resizeState_; }
  COLORREF CaptionColour() const { return captionColour_; }
  COLORREF FaceColour() const { return faceColour_; }
  // "ASC", "DES" or empty.
  const std::wstring& SortArrow() const { return sortArrow_; }
  // The level number's text; empty when it is hidden.
  const std::wstring& SortNumber() const { return sortNumber_; }
  const std::wstring& ToolTip() const { return toolTip_; }
  COLORREF ColorActiveHeading() const { return colorActiveHeading_; }
  COLORREF ColorInactiveHeading() const { return colorInactiveHeading_; }
  COLORREF ColorActiveHeadingText() const { return colorActiveHeadingText_; }
  COLORREF ColorInactiveHeadingText() const { return colorInactiveHeadingText_; }
  COLORREF ColorHeadingHoverText() const { return colorHeadingHoverText_; }
  float HoverMinX() const { return hoverMinX_; }
  float HoverMaxX() const { return hoverMaxX_; }
  unsigned TimerInterval() const;
  const ButtonHeadingsParts& Parts() const { return parts_; }

 private:
  button_headings();
  ~button_headings();
  button_headings(const button_headings&) = delete;
  button_headings& operator=(const button_headings&) = delete;
  class Hold;

  bool FixedSlot() const { return index_ == 0 || index_ == 10; }
  float WidthTwips() const;
  float HeightTwips() const;
  void LayOutParts();
  void Repaint();
  void Paint();
  void SetCaptionColour(COLORREF colour);
  void SetPointer(int shape);
  void EndHover();
  bool InHoverArea(float x, float y) const;
  bool OnEdge(float x, float y) const;
  void MakeEdgeReady(float x);

  // The pointer's handlers: the covering area while the button does not hold the capture,
  // the button itself while it does.
  void OnCoverMove(short button, short shift, float x, float y);
  void OnCoverDown(short button);
  void OnCoverUp(short button, short shift, float x, float y);
  void OnOwnDown(short button, short shift, float x, float y);
  void OnOwnUp(short button, short shift, float x, float y);
  void OnDoubleClick();
  void OnCaptureLost();
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  template <typename F>
  void Raise(F&& f);

  std::unique_ptr<CallLifetime> lifetime_;  // destruction waits for the handlers on the stack
  bool closing_ = false;
  button_headingsEvents* sink_ = nullptr;

  std::int16_t index_ = 0;
  std::wstring name_;
  std::wstring caption_;
  bool propertiesChanged_ = false;

  COLORREF colorActiveHeading_ = 0;
  COLORREF colorInactiveHeading_ = 0;
  COLORREF colorActiveHeadingText_ = 0;
  COLORREF colorInactiveHeadingText_ = 0;
  COLORREF colorHeadingHoverText_ = 0;
  COLORREF savedTextColour_ = 0;
  COLORREF captionColour_ = 0;
  COLORREF faceColour_;

  std::wstring resizeState_;
  float resizeStartX_ = 0;
  float hoverMinX_ = 0;
  float hoverMaxX_ = 0;
  bool doubleClickSeen_ = false;
  bool coverPressed_ = false;   // a button went down on the covering area
  bool releasingCapture_ = false;

  std::wstring sortArrow_;
  std::wstring sortNumber_;
  std::wstring toolTip_;
  ButtonHeadingsParts parts_;

  std::unique_ptr<ButtonHeadingsWindow> window_;
};

}  // namespace zenlo
