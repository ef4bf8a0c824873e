#include "BoxAnswers.h"

#include <gtest/gtest.h>

namespace vtest {

BoxAnswers::BoxAnswers(std::vector<Action> actions) : actions_(std::move(actions)) {
  varnello::MessageBoxForm::SetShownHook([this](varnello::MessageBoxForm& box) {
    SeenBox seen;
    seen.Text = box.Text();
    for (int n = 4; n >= 1; --n)
      if (box.ButtonVisible(n)) seen.Buttons.push_back(box.ButtonCaption(n));
    GetWindowRect(box.Handle(), &seen.Bounds);
    Seen.push_back(seen);
    if (next_ < actions_.size()) {
      auto action = actions_[next_++];
      action(box);
    } else {
      ADD_FAILURE() << "unexpected program message box";
      box.CloseWithoutAnswer();
    }
  });
}

BoxAnswers::~BoxAnswers() { InstallDefault(); }

BoxAnswers::Action BoxAnswers::Press(int n) {
  return [n](varnello::MessageBoxForm& box) { box.Press(n); };
}

BoxAnswers::Action BoxAnswers::Close() {
  return [](varnello::MessageBoxForm& box) { box.CloseWithoutAnswer(); };
}

void BoxAnswers::InstallDefault() {
  varnello::MessageBoxForm::SetShownHook([](varnello::MessageBoxForm& box) {
    const std::wstring text = box.Text();
    ADD_FAILURE() << "unexpected program message box: " << std::string(text.begin(), text.end());
    box.CloseWithoutAnswer();
  });
}

}  // namespace vtest
