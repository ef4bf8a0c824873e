#include "listing/model/NetEnumerator.h"

namespace zenlo {

namespace {
class WNetEnumerator final : public NetEnumerator {
 public:
  DWORD OpenEnum(DWORD scope, DWORD type, DWORD usage, NETRESOURCEW* resource,
                 HANDLE* handle) override {
    return WNetOpenEnumW(scope, type, usage, resource, handle);
  }
  DWORD EnumResource(HANDLE handle, DWORD* count, void* buffer, DWORD* bufferSize) override {
    return WNetEnumResourceW(handle, count, buffer, bufferSize);
  }
  DWORD CloseEnum(HANDLE handle) override { return WNetCloseEnum(handle); }
};
}  // namespace

std::shared_ptr<NetEnumerator> MakeWNetEnumerator() { return std::make_shared<WNetEnumerator>(); }

}  // namespace zenlo
