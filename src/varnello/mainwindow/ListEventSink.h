#pragma once
// Hears one control and hands the events the main window handles to it with the list's index;
// the other events keep the base's empty handlers.
#include <string>

#include "mainwindow/PaneList.h"
#include "zenlo/ZenloFileControlEvents.h"

namespace varnello {

class ListSink final : public zenlo::ZenloFileControlEventsBase {
 public:
  ListSink(short index, PaneListEvents& target) : index_(index), target_(target) {}

  void Click() override { Guard([&] { target_.List_Click(index_); }); }
  void DriveClick() override { Guard([&] { target_.List_DriveClick(index_); }); }
  void Message(std::wstring& text) override { Guard([&] { target_.List_Message(index_, text); }); }
  void ForceQuit() override { Guard([&] { target_.List_ForceQuit(index_); }); }
  void UpdateFileName(std::wstring& name) override {
    Guard([&] { target_.List_UpdateFileName(index_, name); });
  }
  void GetBookmark(short& slot, std::wstring& path) override {
    Guard([&] { target_.List_GetBookmark(index_, slot, path); });
  }
  void IsPaneActive(short& pane, bool& result) override {
    Guard([&] { target_.List_IsPaneActive(index_, pane, result); });
  }
  void MouseMoveBasic() override { Guard([&] { target_.List_MouseMoveBasic(index_); }); }
  void PushedDownFolder(std::wstring& current, std::wstring& parent) override {
    Guard([&] { target_.List_PushedDownFolder(index_, current, parent); });
  }
  void PushedUpFolder2() override { Guard([&] { target_.List_PushedUpFolder2(index_); }); }
  void SetActiveIndex() override { Guard([&] { target_.List_SetActiveIndex(index_); }); }
  void SetLockedIndex() override { Guard([&] { target_.List_SetLockedIndex(index_); }); }
  void SetMasterMousePointer(short& pointer) override {
    Guard([&] { target_.List_SetMasterMousePointer(index_, pointer); });
  }
  void SetActiveButton(short& button) override {
    Guard([&] { target_.List_SetActiveButton(index_, button); });
  }
  void UpdateMasterHeadings() override {
    Guard([&] { target_.List_UpdateMasterHeadings(index_); });
  }
  void KeyPressed(short& keyCode) override {
    Guard([&] { target_.List_KeyPressed(index_, keyCode); });
  }
  void SpaceKeyUp() override { Guard([&] { target_.List_SpaceKeyUp(index_); }); }
  void MouseLocked(bool& locked) override {
    Guard([&] { target_.List_MouseLocked(index_, locked); });
  }
  void NotifySourceIndex() override { Guard([&] { target_.List_NotifySourceIndex(index_); }); }
  void PaneWantsToMimicFolder(short& pane) override {
    Guard([&] { target_.List_PaneWantsToMimicFolder(index_, pane); });
  }
  void PasteItems(std::wstring& source, std::wstring& text, std::wstring& operation) override {
    Guard([&] { target_.List_PasteItems(index_, source, text, operation); });
  }
  // Both New Folder events come from the list's New Folder button.
  void PushedNewFolder(std::wstring&, std::wstring&) override {
    Guard([&] { target_.List_PushedNewFolder2(index_); });
  }
  void PushedNewFolder2() override { Guard([&] { target_.List_PushedNewFolder2(index_); }); }
  void FBRightClick(short& button, short& shift, float& x, float& y, std::wstring& currentFolder,
                    std::wstring& parentFolder, std::wstring& currentItemPath,
                    std::wstring& currentName, bool& useCurrent, zenlo::sTypes currType) override {
    Guard([&] {
      target_.List_FBRightClick(index_, button, shift, x, y, currentFolder, parentFolder,
                                currentItemPath, currentName, useCurrent, currType);
    });
  }

 private:
  // No exception goes back into the library.
  template <typename F>
  void Guard(F&& f) {
    try {
      f();
    } catch (...) {
    }
  }
  short index_;
  PaneListEvents& target_;
};

}  // namespace varnello
