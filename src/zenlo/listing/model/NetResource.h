#pragma once
// The network neighbourhood as a tree of nodes: the root, providers, domains, servers, shares
// and printer shares. A node asks the enumeration service for its children the first time
// they are wanted and keeps them; a node whose enumeration could not be opened asks again.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "listing/model/NetEnumerator.h"

namespace zenlo {

// The numbers and texts of one NETRESOURCE entry.
struct NetRecord {
  DWORD Scope = 0, Type = 0, DisplayType = 0, Usage = 0;
  std::wstring LocalName, RemoteName, Comment, Provider;
};

class NetResource;

// A node's children in enumeration order, keyed by remote name (compared without regard to
// case). Item indexes start at 1.
class NetResources {
 public:
  using Nodes = std::vector<std::unique_ptr<NetResource>>;
  // Nothing (nullptr) for an index or key that is not there.
  NetResource* Item(std::int32_t index) const;
  NetResource* Item(const std::wstring& key) const;
  std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
  // Removing what is not there is an error (tk::RuntimeError) raised to the caller.
  void Remove(std::int32_t index);
  void Remove(const std::wstring& key);
  Nodes::const_iterator begin() const { return items_.begin(); }
  Nodes::const_iterator end() const { return items_.end(); }

 private:
  friend class NetResource;
  // Adds a node under its remote name; a name already there keeps the first node and
  // returns nullptr.
  NetResource* Add(std::unique_ptr<NetResource> node);
  std::size_t Find(const std::wstring& key) const;
  Nodes items_;
};

class NetResource {
 public:
  // The network root: its children are the network providers.
  explicit NetResource(std::shared_ptr<NetEnumerator> enumerator);
  ~NetResource();
  NetResource(const NetResource&) = delete;
  NetResource& operator=(const NetResource&) = delete;

  NetResources& Children();
  std::wstring Comment() const { return record_.Comment; }
  std::wstring LocalName() const { return record_.LocalName; }
  std::wstring Provider() const { return record_.Provider; }
  std::wstring RemoteName() const { return record_.RemoteName; }
  std::int32_t ResourceType() const;
  std::wstring ResourceTypeName() const;
  std::wstring ShortName() const;

  bool ChildrenRead() const { return childrenRead_; }
  // The child of that remote name, enumerating first when needed; nullptr when there is none.
  NetResource* Child(const std::wstring& remoteName) { return Children().Item(remoteName); }

 private:
  NetResource(std::shared_ptr<NetEnumerator> enumerator, NetRecord record, bool printer);
  void Enumerate();
  bool EnumeratePass(DWORD type, DWORD usage, bool printers);

  std::shared_ptr<NetEnumerator> enumerator_;
  NetRecord record_;
  bool isRoot_ = false;
  bool isPrinter_ = false;
  bool childrenRead_ = false;
  std::unique_ptr<NetResources> children_;
};

}  // namespace zenlo
