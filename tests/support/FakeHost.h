#pragma once
// A host for one control in tests: records every event it hears, in order, and answers the
// by-reference events with whatever the test scripted.
#include <functional>
#include <string>
#include <vector>

#include "zenlo/ZenloFileControl.h"

namespace testsupport {

struct RecordedEvent {
  std::wstring Name;
  std::wstring Text;  // the message text, file name, path ... where the event carries one
};

class FakeHost : public zenlo::ZenloFileControlEvents {
 public:
  std::vector<RecordedEvent> Events;
  std::vector<std::wstring> Messages() const;
  int Count(const std::wstring& name) const;

  // Scripted reactions (run after the event is recorded).
  std::function<void()> OnClick;
  std::function<void()> OnForceQuit;
  std::function<void(const std::wstring&)> OnMessage;
  std::function<void(const std::wstring& strSource, const std::wstring& strSourceText,
                     const std::wstring& operation)>
      OnPasteItems;
  std::wstring Bookmarks[10] = {L"(empty)", L"(empty)", L"(empty)", L"(empty)", L"(empty)",
                                L"(empty)", L"(empty)", L"(empty)", L"(empty)", L"(empty)"};
  bool PaneShown[5] = {true, false, false, false, false};

  void Click() override;
  void DriveClick() override;
  void FBMouseDown(short&, short&, float&, float&) override;
  void FBRightClick(short&, short&, float&, float&, std::wstring&, std::wstring&, std::wstring&,
                    std::wstring&, bool&, zenlo::sTypes) override;
  void FBMouseUp(short&, short&, float&, float&) override;
  void FBMouseMove(short&, short&, float&, float&) override;
  void MouseMoveBasic() override;
  void PushedNewFolder(std::wstring&, std::wstring&) override;
  void PushedNewFolder2() override;
  void PushedUpFolder(std::wstring&, std::wstring&) override;
  void PushedDownFolder(std::wstring& currentFolder, std::wstring&) override;
  void PushedUpFolder2() override;
  void DragStart() override;
  void SetActiveIndex() override;
  void SetLockedIndex() override;
  void SetMasterMousePointer(short&) override;
  void SetActiveButton(short&) override;
  void Message(std::wstring& strMessage) override;
  void UpdateMasterHeadings() override;
  void MouseScrolled(bool&) override;
  void KeyPressed(short& KeyCode) override;
  void SpaceKeyUp() override;
  void MouseLocked(bool&) override;
  void ForceQuit() override;
  void UpdateFileName(std::wstring& FileName) override;
  void PasteItems(std::wstring& strSource, std::wstring& strSourceText,
                  std::wstring& operation) override;
  void NotifySourceIndex() override;
  void GetBookmark(short& ArrayIndex, std::wstring& ThePath) override;
  void PaneWantsToMimicFolder(short&) override;
  void IsPaneActive(short& PaneNum, bool& Result) override;

 private:
  void Record(const wchar_t* name, std::wstring text = {}) { Events.push_back({name, text}); }
};

}  // namespace testsupport
