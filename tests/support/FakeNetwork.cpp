#include "support/FakeNetwork.h"

#include <cstring>

#include "toolkit/Text.h"

namespace testsupport {

namespace {
const wchar_t kStrayComment[] = L"not in the buffer";
}

FakeNetwork::FakeNetwork() {
  Node& windows = Add(root_, RESOURCEDISPLAYTYPE_NETWORK, L"Fake Windows Network");
  Node& workgroup = Add(windows, RESOURCEDISPLAYTYPE_DOMAIN, L"WORKGROUP");
  Node& atlas = Add(workgroup, RESOURCEDISPLAYTYPE_SERVER, L"\\\\ATLAS");
  Add(atlas, RESOURCEDISPLAYTYPE_SHARE, L"\\\\ATLAS\\public").Comment = L"Shared files";
  Add(atlas, RESOURCEDISPLAYTYPE_SHARE, L"\\\\ATLAS\\laser", RESOURCETYPE_PRINT);
  Add(root_, RESOURCEDISPLAYTYPE_NETWORK, L"Second Network");
  Add(root_, RESOURCEDISPLAYTYPE_NETWORK, L"Microsoft Terminal Services");
  Add(root_, RESOURCEDISPLAYTYPE_NETWORK, L"Web Client Network");
}

FakeNetwork::Node& FakeNetwork::Add(Node& parent, DWORD displayType,
                                    const std::wstring& remoteName, DWORD type) {
  nodes_.push_back(Node{displayType, type, remoteName, L"", L"Fake Provider", {}});
  parent.Children.push_back(&nodes_.back());
  return nodes_.back();
}

FakeNetwork::Node* FakeNetwork::Find(const std::wstring& remoteName) {
  for (Node& n : nodes_)
    if (tk::SameText(n.RemoteName, remoteName)) return &n;
  return nullptr;
}

DWORD FakeNetwork::OpenEnum(DWORD, DWORD type, DWORD, NETRESOURCEW* resource, HANDLE* handle) {
  const std::wstring key = resource && resource->lpRemoteName ? resource->lpRemoteName : L"";
  Node* node = key.empty() ? &root_ : Find(key);
  if (!node) return ERROR_BAD_NET_NAME;
  if (FailOpen.count(key)) return ERROR_NO_NETWORK;
  Enumeration e{node, key, {}, 0};
  // As the service does: containers in both passes, shares only in the pass of their kind.
  for (Node* child : node->Children)
    if (child->DisplayType != RESOURCEDISPLAYTYPE_SHARE || child->Type == type)
      e.entries.push_back(child);
  open_.push_back(std::move(e));
  *handle = reinterpret_cast<HANDLE>(&open_.back());
  Opened.push_back(key);
  ++OpenHandles;
  return NO_ERROR;
}

DWORD FakeNetwork::EnumResource(HANDLE handle, DWORD* count, void* buffer, DWORD* bufferSize) {
  ++EnumCalls;
  auto& e = *reinterpret_cast<Enumeration*>(handle);
  if (auto fail = FailEnum.find(e.key); fail != FailEnum.end()) {
    *count = 3;
    return fail->second;
  }
  if (MoreDataForever.count(e.key)) return ERROR_MORE_DATA;  // the size left as it was
  if (e.next >= e.entries.size()) {
    *count = 0;
    return ERROR_NO_MORE_ITEMS;
  }
  auto bytesOf = [](const std::wstring& s) { return (s.size() + 1) * sizeof(wchar_t); };
  auto* records = static_cast<NETRESOURCEW*>(buffer);
  char* textEnd = static_cast<char*>(buffer) + *bufferSize;
  std::size_t used = 0;
  DWORD placed = 0;
  const DWORD wanted = *count;
  while (e.next < e.entries.size() && placed < wanted && placed < EntriesPerCall) {
    const Node& n = *e.entries[e.next];
    const std::size_t need = sizeof(NETRESOURCEW) + bytesOf(n.RemoteName) + bytesOf(n.Comment) +
                             bytesOf(n.Provider);
    if (used + need > *bufferSize) {
      if (placed == 0) {
        *bufferSize = static_cast<DWORD>(need);
        return ERROR_MORE_DATA;
      }
      break;
    }
    auto put = [&](const std::wstring& s) {
      textEnd -= bytesOf(s);
      std::memcpy(textEnd, s.c_str(), bytesOf(s));
      return reinterpret_cast<wchar_t*>(textEnd);
    };
    NETRESOURCEW& r = records[placed];
    r = NETRESOURCEW{};
    r.dwScope = RESOURCE_GLOBALNET;
    r.dwType = n.Type;
    r.dwDisplayType = n.DisplayType;
    r.dwUsage = n.Children.empty() ? RESOURCEUSAGE_CONNECTABLE : RESOURCEUSAGE_CONTAINER;
    r.lpRemoteName = put(n.RemoteName);
    r.lpComment = CommentOutsideBuffer.count(e.key) ? const_cast<wchar_t*>(kStrayComment)
                                                    : put(n.Comment);
    r.lpProvider = put(n.Provider);
    used += need;
    ++placed;
    ++e.next;
  }
  *count = placed;
  return NO_ERROR;
}

DWORD FakeNetwork::CloseEnum(HANDLE) {
  --OpenHandles;
  return NO_ERROR;
}

}  // namespace testsupport
