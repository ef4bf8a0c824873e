#pragma once
// The events of ZFCombo, the drive and place selector. Its owner (the listing control) attaches
// one sink; by-reference arguments carry the owner's answers back. A sink must not let an
// exception escape; the selector guards anyway.
#include <string>

namespace zenlo {

class ZFComboEvents {
 public:
  virtual ~ZFComboEvents() = default;

  // Over the control outside the box; X and Y in the container's twips.
  virtual void MouseMove(short& Button, short& Shift, float& X, float& Y) = 0;
  virtual void MouseDown(short& Button, short& Shift, float& X, float& Y) = 0;
  // A place was chosen and passed its test; strSelect is the entry's text.
  virtual void Click(std::wstring& strSelect) = 0;
  // A non-blank entry was chosen, before its test.
  virtual void ChangeFocus() = 0;
  virtual void Message(std::wstring& strMessage) = 0;
  // True when the list drops down, False when an entry is chosen.
  virtual void MouseLocked(bool& Locked) = 0;
  // Asked for bookmark slots 0 to 9 while the list is filled: the path, or "(empty)".
  virtual void GetBookmark(short& ArrayIndex, std::wstring& ThePath) = 0;
};

}  // namespace zenlo

namespace zenlo {

// A sink whose handlers do nothing: an owner derives from it and overrides what it needs.
class ZFComboEventsBase : public ZFComboEvents {
 public:
  void MouseMove(short&, short&, float&, float&) override {}
  void MouseDown(short&, short&, float&, float&) override {}
  void Click(std::wstring&) override {}
  void ChangeFocus() override {}
  void Message(std::wstring&) override {}
  void MouseLocked(bool&) override {}
  void GetBookmark(short&, std::wstring&) override {}
};

}  // namespace zenlo
