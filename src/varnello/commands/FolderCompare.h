#pragma once
// Compare Folder Contents: the clicked pane's listing hands its items to every other shown
// listing, which marks its own items against them; with two panes the clicked one is marked
// from what the other matched.
namespace varnello {

class Master;

class FolderCompare {
 public:
  explicit FolderCompare(Master& master) : m_(master) {}
  void Run();

 private:
  void Compare();
  Master& m_;
};

}  // namespace varnello
