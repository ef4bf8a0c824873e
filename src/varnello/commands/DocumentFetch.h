#pragma once
// Fetching a document from the web, behind an interface so that the update check can be given
// another source.
#include <cstddef>
#include <memory>
#include <string>

namespace varnello {

class DocumentFetch {
 public:
  virtual ~DocumentFetch() = default;
  // The document at `address` (a full web address), at most `limit` bytes of it; empty on any
  // failure, an answer other than 200 included. Blocks: called on a worker thread.
  virtual std::string Fetch(const std::wstring& address, std::size_t limit) = 0;
};

// WinINet with short time-outs: a silent server costs a few seconds, never a hang.
std::shared_ptr<DocumentFetch> MakeInternetFetch();

}  // namespace varnello
