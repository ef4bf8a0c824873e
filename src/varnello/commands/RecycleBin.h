#pragma once
// The recycle bin of all drives: opened in a shell window, or emptied after our own question.
#include <windows.h>

#include <cstdint>
#include <string>

namespace varnello {

class Master;

class RecycleBin {
 public:
  explicit RecycleBin(Master& master) : m_(master) {}
  void Open();
  // Asks with the item count, empties without the shell's boxes, then says what is left.
  // `rootPath` empty means every drive. False when the bin was not emptied.
  bool Empty(const std::wstring& rootPath);
  // Items in the bin, or -1 when the shell cannot say.
  static std::int64_t ItemCount(const std::wstring& rootPath);

 private:
  Master& m_;
};

}  // namespace varnello
