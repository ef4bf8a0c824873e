#pragma once
// The events of ZenloFileControl. The host attaches one sink per instance; the sink knows the
// instance's control index and forwards to the host's handlers. By-reference arguments carry
// the host's answers back. A sink must not let an exception escape; the control guards anyway.
#include <string>

#include "zenlo/ZenloTypes.h"

namespace zenlo {

class ZenloFileControlEvents {
 public:
  virtual ~ZenloFileControlEvents() = default;

  virtual void Click() = 0;
  virtual void DriveClick() = 0;
  virtual void FBMouseDown(short& Button, short& Shift, float& X, float& Y) = 0;
  virtual void FBRightClick(short& Button, short& Shift, float& X, float& Y,
                            std::wstring& currentFolder, std::wstring& parentFolder,
                            std::wstring& currentItemPath, std::wstring& currentName,
                            bool& UseCurrent, sTypes currType) = 0;
  virtual void FBMouseUp(short& Button, short& Shift, float& X, float& Y) = 0;
  virtual void FBMouseMove(short& Button, short& Shift, float& X, float& Y) = 0;
  virtual void MouseMoveBasic() = 0;
  virtual void PushedNewFolder(std::wstring& currentFolder, std::wstring& parentFolder) = 0;
  virtual void PushedNewFolder2() = 0;
  virtual void PushedUpFolder(std::wstring& currentFolder, std::wstring& parentFolder) = 0;
  virtual void PushedDownFolder(std::wstring& currentFolder, std::wstring& parentFolder) = 0;
  virtual void PushedUpFolder2() = 0;
  virtual void DragStart() = 0;
  virtual void SetActiveIndex() = 0;
  virtual void SetLockedIndex() = 0;
  virtual void SetMasterMousePointer(short& MasterPointer) = 0;
  virtual void SetActiveButton(short& buttonIndex) = 0;
  virtual void Message(std::wstring& strMessage) = 0;
  virtual void UpdateMasterHeadings() = 0;
  virtual void MouseScrolled(bool& RollUp) = 0;
  virtual void KeyPressed(short& KeyCode) = 0;
  virtual void SpaceKeyUp() = 0;
  virtual void MouseLocked(bool& Locked) = 0;
  virtual void ForceQuit() = 0;
  virtual void UpdateFileName(std::wstring& FileName) = 0;
  virtual void PasteItems(std::wstring& strSource, std::wstring& strSourceText,
                          std::wstring& operation) = 0;
  virtual void NotifySourceIndex() = 0;
  virtual void GetBookmark(short& ArrayIndex, std::wstring& ThePath) = 0;
  virtual void PaneWantsToMimicFolder(short& PaneNum) = 0;
  virtual void IsPaneActive(short& PaneNum, bool& Result) = 0;
};

}  // namespace zenlo

namespace zenlo {

// A sink whose handlers do nothing: a host derives from it and overrides what it needs.
class ZenloFileControlEventsBase : public ZenloFileControlEvents {
 public:
  void Click() override {}
  void DriveClick() override {}
  void FBMouseDown(short&, short&, float&, float&) override {}
  void FBRightClick(short&, short&, float&, float&, std::wstring&, std::wstring&, std::wstring&,
                    std::wstring&, bool&, sTypes) override {}
  void FBMouseUp(short&, short&, float&, float&) override {}
  void FBMouseMove(short&, short&, float&, float&) override {}
  void MouseMoveBasic() override {}
  void PushedNewFolder(std::wstring&, std::wstring&) override {}
  void PushedNewFolder2() override {}
  void PushedUpFolder(std::wstring&, std::wstring&) override {}
  void PushedDownFolder(std::wstring&, std::wstring&) override {}
  void PushedUpFolder2() override {}
  void DragStart() override {}
  void SetActiveIndex() override {}
  void SetLockedIndex() override {}
  void SetMasterMousePointer(short&) override {}
  void SetActiveButton(short&) override {}
  void Message(std::wstring&) override {}
  void UpdateMasterHeadings() override {}
  void MouseScrolled(bool&) override {}
  void KeyPressed(short&) override {}
  void SpaceKeyUp() override {}
  void MouseLocked(bool&) override {}
  void ForceQuit() override {}
  void UpdateFileName(std::wstring&) override {}
  void PasteItems(std::wstring&, std::wstring&, std::wstring&) override {}
  void NotifySourceIndex() override {}
  void GetBookmark(short&, std::wstring&) override {}
  void PaneWantsToMimicFolder(short&) override {}
  void IsPaneActive(short&, bool&) override {}
};

}  // namespace zenlo
