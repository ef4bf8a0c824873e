#pragma once
// The grammar of the listing's network paths, shared by the classification, the read's walk to
// a level and the access check, so that a path the read lists is found again by both.
//   "*:\" or "*:"                        the whole network
//   "*:\provider"                        a network provider
//   "*:\provider\domain"                 a domain or workgroup
//   anything, then "\\computer"          a computer (the prefix is the listing it came from)
#include <memory>
#include <string>
#include <vector>

#include "zenlo/ZenloTypes.h"

namespace zenlo {

class NetEnumerator;
class NetResource;

sTypes NetworkObjectType(const std::wstring& path);
bool IsComputerPath(const std::wstring& path);
bool IsDomainPath(const std::wstring& path);
bool IsNetworkPath(const std::wstring& path);

// The name of one level (sNetwork, sDomain or sComputer) in a path; empty when the path has
// none. A trailing "\" makes no difference.
std::wstring SplitNetworkPath(const std::wstring& path, sTypes level);

// The levels of a path after its "*:\" prefix; a "\" that directly follows a separator
// belongs to the next level, so "\\computer" gives the level "\computer".
std::vector<std::wstring> NetworkPathSegments(const std::wstring& path);

// The node a path names, walking down from the root; nullptr when a level is not there.
NetResource* WalkNetworkPath(NetResource& root, const std::wstring& path);

// Providers that are never listed nor walked.
bool IsProviderNeverListed(const std::wstring& remoteName);

// Whether the path's own level (provider, domain or computer) is found in the enumeration.
bool CheckNetworkPathAccess(const std::wstring& path, std::shared_ptr<NetEnumerator> enumerator);

}  // namespace zenlo
