#pragma once
// Answers the program's own message boxes in tests. Each box that opens is recorded (its text
// and visible buttons) and answered by the next scripted action; with none left, the box fails
// the test and is closed.
#include <functional>
#include <string>
#include <vector>

#include "mainwindow/ProgramMessageBox.h"

namespace vtest {

struct SeenBox {
  std::wstring Text;
  std::vector<std::wstring> Buttons;  // visible captions, left to right
  RECT Bounds{};
};

class BoxAnswers {
 public:
  // Each action gets the open box; press a button (1 = rightmost) or close it.
  using Action = std::function<void(varnello::MessageBoxForm&)>;
  explicit BoxAnswers(std::vector<Action> actions);
  ~BoxAnswers();
  BoxAnswers(const BoxAnswers&) = delete;
  BoxAnswers& operator=(const BoxAnswers&) = delete;

  std::vector<SeenBox> Seen;
  static Action Press(int n);
  static Action Close();
  static void InstallDefault();

 private:
  std::vector<Action> actions_;
  size_t next_ = 0;
};

}  // namespace vtest
