#include "commands/NetworkDrives.h"

#include <winnetwk.h>

#include <string>

#include "commands/ShellRunner.h"
#include "mainwindow/Master.h"

namespace varnello {

namespace {

class WNetDialogs final : public NetworkDialogs {
 public:
  DWORD Connect(HWND owner) override { return WNetConnectionDialog(owner, RESOURCETYPE_DISK); }
  DWORD Disconnect(HWND owner) override { return WNetDisconnectDialog(owner, RESOURCETYPE_DISK); }
  std::wstring ExtendedError() override {
    DWORD code = 0;
    wchar_t text[512] = L"", provider[256] = L"";
    if (WNetGetLastErrorW(&code, text, 512, provider, 256) != NO_ERROR) return {};
    return text;
  }
};

}  // namespace

std::unique_ptr<NetworkDialogs> MakeNetworkDialogs() { return std::make_unique<WNetDialogs>(); }

void NetworkDrives::Map() { Report(m_.Network().Connect(m_.Handle()), L"mapped"); }

void NetworkDrives::Disconnect() {
  Report(m_.Network().Disconnect(m_.Handle()), L"disconnected");
}

void NetworkDrives::Report(DWORD result, const wchar_t* what) {
  // A cancel is the user's choice, not an error.
  if (result == NO_ERROR || result == 0xFFFFFFFF || result == ERROR_CANCELLED) return;
  std::wstring reason;
  if (result == ERROR_EXTENDED_ERROR) reason = m_.Network().ExtendedError();
  if (reason.empty()) reason = SystemErrorSentence(result);
  std::wstring text = L"The network drive could not be " + std::wstring(what) + L".\r\n\r\n" + reason;
  m_.Message(text, 0, L"");
}

}  // namespace varnello
