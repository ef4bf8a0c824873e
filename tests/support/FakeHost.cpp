#include "support/FakeHost.h"

namespace testsupport {

std::vector<std::wstring> FakeHost::Messages() const {
  std::vector<std::wstring> out;
  for (const auto& e : Events)
    if (e.Name == L"Message") out.push_back(e.Text);
  return out;
}

int FakeHost::Count(const std::wstring& name) const {
  int n = 0;
  for (const auto& e : Events) n += e.Name == name;
  return n;
}

void FakeHost::Click() {
  Record(L"Click");
  if (OnClick) OnClick();
}
void FakeHost::DriveClick() { Record(L"DriveClick"); }
void FakeHost::FBMouseDown(short&, short&, float&, float&) { Record(L"FBMouseDown"); }
void FakeHost::FBRightClick(short& button, short&, float&, float&, std::wstring& folder,
                            std::wstring& parent, std::wstring& path, std::wstring& name,
                            bool& useCurrent, zenlo::sTypes type) {
  // Everything the host's menu is built from, in the order of the arguments.
  Record(L"FBRightClick", std::to_wstring(button) + L"|" + folder + L"|" + parent + L"|" + path +
                              L"|" + name + L"|" + (useCurrent ? L"current" : L"item") + L"|" +
                              std::to_wstring(static_cast<int>(type)));
}
void FakeHost::FBMouseUp(short&, short&, float&, float&) { Record(L"FBMouseUp"); }
void FakeHost::FBMouseMove(short&, short&, float&, float&) { Record(L"FBMouseMove"); }
void FakeHost::MouseMoveBasic() { Record(L"MouseMoveBasic"); }
void FakeHost::PushedNewFolder(std::wstring&, std::wstring&) { Record(L"PushedNewFolder"); }
void FakeHost::PushedNewFolder2() { Record(L"PushedNewFolder2"); }
void FakeHost::PushedUpFolder(std::wstring&, std::wstring&) { Record(L"PushedUpFolder"); }
void FakeHost::PushedDownFolder(std::wstring& currentFolder, std::wstring& parentFolder) {
  Record(L"PushedDownFolder", currentFolder + L"|" + parentFolder);
}
void FakeHost::PushedUpFolder2() { Record(L"PushedUpFolder2"); }
void FakeHost::DragStart() { Record(L"DragStart"); }
void FakeHost::SetActiveIndex() { Record(L"SetActiveIndex"); }
void FakeHost::SetLockedIndex() { Record(L"SetLockedIndex"); }
void FakeHost::SetMasterMousePointer(short& p) {
  Record(L"SetMasterMousePointer", std::to_wstring(p));
}
void FakeHost::SetActiveButton(short& b) { Record(L"SetActiveButton", std::to_wstring(b)); }
void FakeHost::Message(std::wstring& strMessage) {
  Record(L"Message", strMessage);
  if (OnMessage) OnMessage(strMessage);
}
void FakeHost::UpdateMasterHeadings() { Record(L"UpdateMasterHeadings"); }
void FakeHost::MouseScrolled(bool&) { Record(L"MouseScrolled"); }
void FakeHost::KeyPressed(short& k) { Record(L"KeyPressed", std::to_wstring(k)); }
void FakeHost::SpaceKeyUp() { Record(L"SpaceKeyUp"); }
void FakeHost::MouseLocked(bool& l) { Record(L"MouseLocked", l ? L"true" : L"false"); }
void FakeHost::ForceQuit() {
  Record(L"ForceQuit");
  if (OnForceQuit) OnForceQuit();
}
void FakeHost::UpdateFileName(std::wstring& f) { Record(L"UpdateFileName", f); }
void FakeHost::PasteItems(std::wstring& s, std::wstring& text, std::wstring& operation) {
  Record(L"PasteItems", s);
  if (OnPasteItems) OnPasteItems(s, text, operation);
}
void FakeHost::NotifySourceIndex() { Record(L"NotifySourceIndex"); }
void FakeHost::GetBookmark(short& i, std::wstring& path) {
  Record(L"GetBookmark", std::to_wstring(i));
  if (i >= 0 && i < 10) path = Bookmarks[i];
}
void FakeHost::PaneWantsToMimicFolder(short& p) {
  Record(L"PaneWantsToMimicFolder", std::to_wstring(p));
}
void FakeHost::IsPaneActive(short& p, bool& result) {
  Record(L"IsPaneActive", std::to_wstring(p));
  if (p >= 0 && p < 5) result = PaneShown[p];
}

}  // namespace testsupport
