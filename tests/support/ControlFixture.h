#pragma once
// One ZenloFileControl with a recording host, released at the end of the test.
#include "support/FakeHost.h"
#include "zenlo/ZenloFileControl.h"

namespace testsupport {

class ControlHolder {
 public:
  explicit ControlHolder(zenlo::ListType type = zenlo::fbFileAndFolder)
      : control_(zenlo::ZenloFileControl::Create()) {
    control_->AttachEvents(&host);
    control_->Initialize();
    control_->ltFolderListType = type;
  }
  ~ControlHolder() { Reset(); }
  ControlHolder(const ControlHolder&) = delete;
  ControlHolder& operator=(const ControlHolder&) = delete;

  zenlo::ZenloFileControl* operator->() const { return control_; }
  zenlo::ZenloFileControl& operator*() const { return *control_; }
  zenlo::ZenloFileControl* Get() const { return control_; }
  // Lets go of the host's reference (as a host does when it closes).
  void Reset() {
    if (control_) control_->Release();
    control_ = nullptr;
  }

  FakeHost host;

 private:
  zenlo::ZenloFileControl* control_;
};

}  // namespace testsupport
