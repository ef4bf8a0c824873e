#pragma once
// Mapping and disconnecting network drives through the system's dialogs. The dialogs sit
// behind an interface: this machine has no network, and tests answer them with a fake.
#include <windows.h>

#include <memory>

namespace varnello {

class Master;

class NetworkDialogs {
 public:
  virtual ~NetworkDialogs() = default;
  // As WNetConnectionDialog / WNetDisconnectDialog for disk resources: NO_ERROR, 0xFFFFFFFF
  // when the user cancelled, or a system error code.
  virtual DWORD Connect(HWND owner) = 0;
  virtual DWORD Disconnect(HWND owner) = 0;
  // The provider's own error text after ERROR_EXTENDED_ERROR.
  virtual std::wstring ExtendedError() = 0;
};

std::unique_ptr<NetworkDialogs> MakeNetworkDialogs();

class NetworkDrives {
 public:
  explicit NetworkDrives(Master& master) : m_(master) {}
  void Map();
  void Disconnect();

 private:
  void Report(DWORD result, const wchar_t* what);
  Master& m_;
};

}  // namespace varnello
