#pragma once
// The real lists: ZenloFileControl instances made by the class factory of the Zenlo.dll that
// sits in the program's folder, as any host makes them.
#include <memory>
#include <string>

#include "mainwindow/PaneList.h"

namespace varnello {

class ZenloLibrary;

class ZenloPaneListFactory final : public PaneListFactory {
 public:
  // Loads Zenlo.dll from `folder` (the program's folder).
  explicit ZenloPaneListFactory(const std::wstring& folder);
  ~ZenloPaneListFactory() override;
  bool Loaded() const;
  std::unique_ptr<PaneList> Create(short index, HWND parent, PaneListEvents& events) override;

 private:
  std::unique_ptr<ZenloLibrary> library_;
};

}  // namespace varnello
