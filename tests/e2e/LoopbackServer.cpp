#include "LoopbackServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>

namespace e2e {

namespace {

struct WinsockUse {
  WinsockUse() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockUse() { WSACleanup(); }
};

std::wstring FolderOf(unsigned short port) {
  return L"http://127.0.0.1:" + std::to_wstring(port) + L"/vr_ver/";
}

// A socket bound to 127.0.0.1 on a free port; its port in `port`.
SOCKET BoundSocket(unsigned short& port) {
  static WinsockUse winsock;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  int size = sizeof a;
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&a), &size) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  port = ntohs(a.sin_port);
  return s;
}

}  // namespace

LoopbackServer::LoopbackServer() {
  SOCKET s = BoundSocket(port_);
  if (s == INVALID_SOCKET) return;
  if (listen(s, 16) != 0) {
    closesocket(s);
    return;
  }
  listener_ = s;
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (Listening()) closesocket(static_cast<SOCKET>(listener_));
  for (auto h : held_) closesocket(static_cast<SOCKET>(h));
}

std::wstring LoopbackServer::UpdateFolder() const { return FolderOf(port_); }

std::wstring LoopbackServer::RefusedUpdateFolder() {
  unsigned short port = 0;
  SOCKET s = BoundSocket(port);
  if (s != INVALID_SOCKET) closesocket(s);  // bound and let go: nothing listens there
  return FolderOf(port);
}

void LoopbackServer::SetDocument(const std::string& path, const std::string& body) {
  std::lock_guard<std::mutex> hold(lock_);
  documents_[path] = body;
}

void LoopbackServer::RemoveDocument(const std::string& path) {
  std::lock_guard<std::mutex> hold(lock_);
  documents_.erase(path);
}

std::vector<std::string> LoopbackServer::Requests() const {
  std::lock_guard<std::mutex> hold(lock_);
  return requests_;
}

int LoopbackServer::CountRequests(const std::string& path) const {
  const auto r = Requests();
  return static_cast<int>(std::count(r.begin(), r.end(), path));
}

void LoopbackServer::Serve() {
  while (!stop_) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(static_cast<SOCKET>(listener_), &ready);
    timeval wait{0, 50000};
    if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
    SOCKET c = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
    if (c == INVALID_SOCKET) continue;
    ++accepted_;
    if (silent_) {
      std::lock_guard<std::mutex> hold(lock_);
      held_.push_back(c);
      continue;
    }
    Answer(c);
  }
}

void LoopbackServer::Answer(unsigned long long socketHandle) {
  const SOCKET c = static_cast<SOCKET>(socketHandle);
  std::string request;
  char buffer[2048];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(c, &ready);
    timeval wait{2, 0};
    if (select(0, &ready, nullptr, nullptr, &wait) <= 0) break;
    const int n = recv(c, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, static_cast<size_t>(n));
  }
  // "GET /path HTTP/1.1"
  std::string path;
  const size_t sp = request.find(' ');
  if (sp != std::string::npos) path = request.substr(sp + 1, request.find(' ', sp + 1) - sp - 1);
  std::string status = "404 Not Found", body = "<html><body>Not here</body></html>";
  {
    std::lock_guard<std::mutex> hold(lock_);
    requests_.push_back(path);
    if (auto it = documents_.find(path); it != documents_.end()) {
      status = "200 OK";
      body = it->second;
    }
  }
  const std::string reply = "HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: " +
                            std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
  send(c, reply.data(), static_cast<int>(reply.size()), 0);
  shutdown(c, SD_SEND);
  closesocket(c);
}

}  // namespace e2e
