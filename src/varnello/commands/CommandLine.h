#pragma once
// The command-line box: the typed line split into a program and its parameters, started in
// the clicked pane's folder.
#include <string>

namespace varnello {

class Master;

struct CommandLaunch {
  std::wstring Program;
  std::wstring Parameters;
  std::wstring Folder;
};

class CommandLine {
 public:
  // The line without blanks or tabs at its ends.
  static std::wstring Trimmed(const std::wstring& line);
  // Program and parameters of a line: a program in quotation marks keeps its blanks, otherwise
  // the line is split at its first blank or tab.
  static CommandLaunch Split(const std::wstring& line);
  // What Enter starts: the split line, or with Shift the line run by the command interpreter,
  // which stays open. `interpreter` is the interpreter's path.
  static CommandLaunch Plan(const std::wstring& line, bool shift, const std::wstring& folder,
                            const std::wstring& interpreter);
  // The folder a pane's record names, without the display prefix of a network place.
  static std::wstring WorkingFolder(const std::wstring& paneFolder);

  explicit CommandLine(Master& master) : m_(master) {}
  // Enter in the box; Shift held or not.
  void Enter(bool shift);

 private:
  Master& m_;
};

}  // namespace varnello
