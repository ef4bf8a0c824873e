#pragma once
// Answers the file commands' dialogs in tests, as BoxAnswers answers the message boxes: each
// dialog that opens is recorded (its name and text boxes) and handed to the next scripted
// action; with none left, the dialog fails the test and is closed. ShellAnswers does the same
// for the shell's own question windows, from a watcher thread.
#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "commands/FileDialogs.h"

namespace vtest {

struct SeenDialog {
  std::wstring Name, Caption;
  std::map<std::wstring, std::wstring> Texts;  // by text box
  std::wstring DefaultButton;
};

class DialogAnswers {
 public:
  using Action = std::function<void(varnello::FileDialog&)>;
  explicit DialogAnswers(std::vector<Action> actions);
  ~DialogAnswers();
  DialogAnswers(const DialogAnswers&) = delete;
  DialogAnswers& operator=(const DialogAnswers&) = delete;

  std::vector<SeenDialog> Seen;
  // Clicks a button; types a text first when `text` is given for `box`.
  static Action Click(const std::wstring& button);
  static Action Type(const std::wstring& box, const std::wstring& text, const std::wstring& button);
  static Action CloseBox();

 private:
  std::vector<Action> actions_;
  size_t next_ = 0;
};

// Presses a button of each question window the shell shows in this process (found by its
// caption), until destroyed; counts the windows it answered.
class ShellAnswers {
 public:
  ShellAnswers(std::wstring captionPart, int commandId);
  ~ShellAnswers();
  ShellAnswers(const ShellAnswers&) = delete;
  ShellAnswers& operator=(const ShellAnswers&) = delete;
  int Answered() const { return answered_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int> answered_{0};
  std::thread watcher_;
};

}  // namespace vtest
