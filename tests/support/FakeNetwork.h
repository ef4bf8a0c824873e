#pragma once
// A network neighbourhood with fixed answers, served the way the WNet enumeration serves it:
// records followed by their texts in the caller's buffer, "more data" when one does not fit.
// Wine has no network to browse, so the network code is tested against this.
//
//   Fake Windows Network            provider
//     WORKGROUP                     domain
//       \\ATLAS                     server
//         \\ATLAS\public            share
//         \\ATLAS\laser             printer share
//   Second Network                  provider (no domains)
//   Microsoft Terminal Services     provider never listed
//   Web Client Network              provider never listed
#include <windows.h>

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "listing/model/NetEnumerator.h"

namespace testsupport {

class FakeNetwork : public zenlo::NetEnumerator {
 public:
  struct Node {
    DWORD DisplayType = RESOURCEDISPLAYTYPE_GENERIC;
    DWORD Type = RESOURCETYPE_DISK;
    std::wstring RemoteName, Comment, Provider;
    std::vector<Node*> Children;
  };

  FakeNetwork();
  Node& Root() { return root_; }
  Node& Add(Node& parent, DWORD displayType, const std::wstring& remoteName,
            DWORD type = RESOURCETYPE_DISK);
  Node* Find(const std::wstring& remoteName);

  // Faults, keyed by the remote name of the node enumerated ("" = the root).
  std::set<std::wstring> FailOpen;                 // the enumeration cannot be opened
  std::map<std::wstring, DWORD> FailEnum;          // every enumeration call fails so, count left 3
  std::set<std::wstring> MoreDataForever;          // asks for the same room again and again
  std::set<std::wstring> CommentOutsideBuffer;     // entries point at a comment not in the buffer
  DWORD EntriesPerCall = 0xFFFFFFFF;

  // What was asked.
  std::vector<std::wstring> Opened;  // remote names, "" for the root, one per successful open
  int OpenHandles = 0;
  int EnumCalls = 0;

  DWORD OpenEnum(DWORD scope, DWORD type, DWORD usage, NETRESOURCEW* resource,
                 HANDLE* handle) override;
  DWORD EnumResource(HANDLE handle, DWORD* count, void* buffer, DWORD* bufferSize) override;
  DWORD CloseEnum(HANDLE handle) override;

 private:
  struct Enumeration {
    Node* node;
    std::wstring key;
    std::vector<Node*> entries;
    std::size_t next = 0;
  };
  Node root_;
  std::deque<Node> nodes_;
  std::deque<Enumeration> open_;
};

}  // namespace testsupport
