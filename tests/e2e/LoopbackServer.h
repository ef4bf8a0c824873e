#pragma once
// A tiny HTTP server on 127.0.0.1 for the update check's tests and benchmark: it answers GET
// requests from a table of documents (404 for the rest), or accepts and never answers.
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

class LoopbackServer {
 public:
  LoopbackServer();  // listening on a free port of 127.0.0.1
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  bool Listening() const { return listener_ != ~0ull; }
  unsigned short Port() const { return port_; }
  // "http://127.0.0.1:<port>/vr_ver/".
  std::wstring UpdateFolder() const;
  // `path` as requested ("/vr_ver/vrver.txt").
  void SetDocument(const std::string& path, const std::string& body);
  void RemoveDocument(const std::string& path);
  // Connections are accepted and held open without an answer.
  void SetSilent(bool silent) { silent_ = silent; }
  // The paths requested so far, in order.
  std::vector<std::string> Requests() const;
  int CountRequests(const std::string& path) const;
  // Connections accepted so far, answered or not.
  int Accepted() const { return accepted_; }

  // "http://127.0.0.1:<port>/vr_ver/" for a port nothing listens on.
  static std::wstring RefusedUpdateFolder();

 private:
  void Serve();
  void Answer(unsigned long long socket);

  unsigned long long listener_ = ~0ull;
  unsigned short port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<bool> silent_{false};
  std::atomic<int> accepted_{0};
  mutable std::mutex lock_;
  std::map<std::string, std::string> documents_;
  std::vector<std::string> requests_;
  std::vector<unsigned long long> held_;
  std::thread thread_;
};

}  // namespace e2e
