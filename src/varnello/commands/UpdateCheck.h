#pragma once
// Asks the product's web site whether a newer version exists: quietly after every start-up,
// aloud when the user asks. The documents are fetched on a worker thread, so a slow or silent
// server never holds up the window; the answer is handled back on the window's thread.
#include <windows.h>

#include <compare>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "commands/DocumentFetch.h"
#include "toolkit/Gdi.h"
#include "toolkit/Timer.h"
#include "toolkit/Window.h"

namespace varnello {

class Master;

struct VersionNumber {
  int Major = 0;
  int Minor = 0;
  int Revision = 0;
  auto operator<=>(const VersionNumber&) const = default;
  // As the settings file keeps it: the major number followed by the minor number and the
  // revision with four digits each (4.0.60 is 400000060).
  double Stored() const;
};

// What the site's version document says.
struct VersionReply {
  enum class Kind { Failed, Outdated, Version };
  Kind What = Kind::Failed;
  VersionNumber Version;
};
// Blanks around the text are ignored; "888888" means this version is too old to go on; else
// exactly three whole numbers 0-9999 separated by points. Anything else is a failed check.
VersionReply ReadVersionReply(const std::string& reply);

enum class UpdateVerdict { Failed, Outdated, UpToDate, Newer, AlreadyAnnounced };
// `announced` is the stored number of the last version announced.
UpdateVerdict JudgeReply(const VersionReply& reply, VersionNumber local, double announced,
                         bool manual);

// News text with every line end made CR LF (a CR LF stays one).
std::wstring NormaliseLineEnds(const std::wstring& text);

// frmUpdate: the notice of a newer version.
class UpdateNoticeForm final : public tk::ModelessForm {
 public:
  explicit UpdateNoticeForm(std::function<void()> getUpdate, std::function<void()> pass)
      : getUpdate_(std::move(getUpdate)), pass_(std::move(pass)) {}
  ~UpdateNoticeForm() override;
  // Creates the window, centred over `over`, and shows it without taking the program's input.
  bool Open(const std::wstring& news, const RECT& over);
  std::wstring News() const;
  void cmdUpdate_Click();
  void cmdPass_Click();
  HWND UpdateButton() const { return update_; }
  HWND PassButton() const { return pass_button_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  std::function<void()> getUpdate_;
  std::function<void()> pass_;
  HWND news_ = nullptr;
  HWND update_ = nullptr;
  HWND pass_button_ = nullptr;
  tk::Font newsFont_;
  tk::Font buttonFont_;
};

class UpdateCheck {
 public:
  explicit UpdateCheck(Master& master);
  ~UpdateCheck();
  UpdateCheck(const UpdateCheck&) = delete;
  UpdateCheck& operator=(const UpdateCheck&) = delete;

  // Where the documents come from: `baseAddress` ends in "/".
  void SetSource(std::shared_ptr<DocumentFetch> fetch, std::wstring baseAddress);
  const std::wstring& BaseAddress() const { return base_; }
  // Opens the web site for "Get Update from Website" (the system's handler by default).
  std::function<void(const std::wstring& address)> OpenAddress;

  // A check while one runs is done after it.
  void CheckForUpdate(bool manual);
  bool Running() const { return job_ != nullptr; }
  // The notice window while it is open, else null.
  UpdateNoticeForm* Notice();

 private:
  struct Job;
  void Start(bool manual);
  void Finished();
  void Show(UpdateVerdict verdict, bool manual, VersionNumber online, const std::wstring& news);
  void SayFailed();
  void SayOutdated();
  void SayNoUpdate();
  bool TellFirstRun();

  Master& m_;
  std::shared_ptr<DocumentFetch> fetch_;
  std::wstring base_;
  tk::HandlerWindow answers_;  // the worker's "done" arrives here
  tk::Timer deadline_;
  std::shared_ptr<Job> job_;
  std::optional<bool> queued_;  // a check asked for while one ran; true when manual
  std::optional<int> savedPointer_;
  std::unique_ptr<UpdateNoticeForm> notice_;
};

}  // namespace varnello
