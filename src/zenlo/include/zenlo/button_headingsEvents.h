#pragma once
// The events of button_headings, one column heading of a listing. Its owner (the listing
// control) attaches one sink per button; by-reference arguments carry the owner's answers back.
// X and Y are twips in the button's own coordinates. A sink must not let an exception escape;
// the button guards anyway.
namespace zenlo {

class button_headingsEvents {
 public:
  virtual ~button_headingsEvents() = default;

  // A click on the caption or the button, outside a resize.
  virtual void Click() = 0;
  // On the mouse-up after a double click (not on the right edge).
  virtual void DblClick(short& Button, short& Shift, float& X, float& Y) = 0;
  // While the right edge is dragged: the pointer's travel since the drag started.
  virtual void ResizeButton(float& Diff) = 0;
  // The dragged edge was released.
  virtual void ResizeFinished() = 0;
  // Never raised; kept so the events keep their numbers.
  virtual void ResizeColumn() = 0;
  // On the mouse-up after a double click on the right edge.
  virtual void ResizeColumn1(short& Shift1) = 0;
  // The pointer should be the default (0).
  virtual void SetMousePointer(short& PointerType) = 0;
  // The pointer moved over the caption.
  virtual void MouseMove(short& Button, short& Shift, float& X, float& Y, bool& DoResize) = 0;
  // A button went down on the right edge: a drag starts.
  virtual void MouseDown(short& Button, short& Shift, float& X, float& Y) = 0;
  // The hover started: the owner answers the X range in which it stays.
  virtual void GetMinMaxX(float& Xmin, float& Xmax) = 0;
};

// A sink whose handlers do nothing: an owner derives from it and overrides what it needs.
class button_headingsEventsBase : public button_headingsEvents {
 public:
  void Click() override {}
  void DblClick(short&, short&, float&, float&) override {}
  void ResizeButton(float&) override {}
  void ResizeFinished() override {}
  void ResizeColumn() override {}
  void ResizeColumn1(short&) override {}
  void SetMousePointer(short&) override {}
  void MouseMove(short&, short&, float&, float&, bool&) override {}
  void MouseDown(short&, short&, float&, float&) override {}
  void GetMinMaxX(float&, float&) override {}
};

}  // namespace zenlo
