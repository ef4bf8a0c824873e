#pragma once
// The network enumeration service the network nodes ask for their children: the real one
// over WNet, or a stand-in (Wine answers "no network", tests use a fixed tree).
#include <windows.h>
#include <winnetwk.h>

#include <memory>

namespace zenlo {

class NetEnumerator {
 public:
  virtual ~NetEnumerator() = default;
  // As WNetOpenEnumW, WNetEnumResourceW and WNetCloseEnum: a null resource asks for the top
  // level (the providers); the buffer receives NETRESOURCEW records followed by their texts.
  virtual DWORD OpenEnum(DWORD scope, DWORD type, DWORD usage, NETRESOURCEW* resource,
                         HANDLE* handle) = 0;
  virtual DWORD EnumResource(HANDLE handle, DWORD* count, void* buffer, DWORD* bufferSize) = 0;
  virtual DWORD CloseEnum(HANDLE handle) = 0;
};

std::shared_ptr<NetEnumerator> MakeWNetEnumerator();

}  // namespace zenlo
