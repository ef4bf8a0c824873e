#include <windows.h>
#include <wininet.h>

#include "commands/DocumentFetch.h"

namespace varnello {

namespace {

constexpr DWORD kTimeOutMs = 3000;

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET h) : h_(h) {}
  ~InternetHandle() {
    if (h_) InternetCloseHandle(h_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET Get() const { return h_; }

 private:
  HINTERNET h_;
};

void SetTimeOuts(HINTERNET h) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    DWORD ms = kTimeOutMs;
    InternetSetOptionW(h, option, &ms, sizeof ms);
  }
  DWORD retries = 0;
  InternetSetOptionW(h, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);
}

class InternetFetch final : public DocumentFetch {
 public:
  std::string Fetch(const std::wstring& address, std::size_t limit) override {
    wchar_t host[256] = L"", path[2048] = L"", extra[2048] = L"";
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2048;
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = 2048;
    if (!InternetCrackUrlW(address.c_str(), 0, 0, &parts)) return {};
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return {};
    InternetHandle session(
        InternetOpenW(L"Varnello", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session.Get()) return {};
    SetTimeOuts(session.Get());
    InternetHandle connection(InternetConnectW(session.Get(), host, parts.nPort, nullptr, nullptr,
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection.Get()) return {};
    SetTimeOuts(connection.Get());
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                        INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES |
                        INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTH |
                        (parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0);
    const std::wstring object = std::wstring(path) + extra;
    InternetHandle request(HttpOpenRequestW(connection.Get(), L"GET", object.c_str(), nullptr,
                                            nullptr, nullptr, flags, 0));
    if (!request.Get()) return {};
    SetTimeOuts(request.Get());
    if (!HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0)) return {};
    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoW(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr) ||
        status != 200)
      return {};
    std::string body;
    char buffer[4096];
    while (body.size() < limit) {
      DWORD read = 0;
      if (!InternetReadFile(request.Get(), buffer, sizeof buffer, &read)) return {};
      if (read == 0) break;
      body.append(buffer, read);
    }
    if (body.size() > limit) body.resize(limit);
    return body;
  }
};

}  // namespace

std::shared_ptr<DocumentFetch> MakeInternetFetch() { return std::make_shared<InternetFetch>(); }

}  // namespace varnello
