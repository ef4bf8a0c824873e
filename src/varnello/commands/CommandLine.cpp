#include "commands/CommandLine.h"

#include "commands/ShellRunner.h"
#include "mainwindow/Master.h"

namespace varnello {

namespace {

bool Blank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring Interpreter() {
  wchar_t path[MAX_PATH] = L"";
  const DWORD n = GetEnvironmentVariableW(L"ComSpec", path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(path) : std::wstring(L"cmd.exe");
}

}  // namespace

std::wstring CommandLine::Trimmed(const std::wstring& line) {
  size_t first = 0, last = line.size();
  while (first < last && Blank(line[first])) ++first;
  while (last > first && Blank(line[last - 1])) --last;
  return line.substr(first, last - first);
}

CommandLaunch CommandLine::Split(const std::wstring& line) {
  const std::wstring text = Trimmed(line);
  CommandLaunch launch;
  if (!text.empty() && text[0] == L'"') {
    // A quoted program runs to its closing mark (or the end when it has none).
    const size_t close = text.find(L'"', 1);
    launch.Program = text.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    if (close != std::wstring::npos) launch.Parameters = Trimmed(text.substr(close + 1));
    return launch;
  }
  size_t blank = 0;
  while (blank < text.size() && !Blank(text[blank])) ++blank;
  launch.Program = text.substr(0, blank);
  if (blank < text.size()) launch.Parameters = Trimmed(text.substr(blank));
  return launch;
}

CommandLaunch CommandLine::Plan(const std::wstring& line, bool shift, const std::wstring& folder,
                                const std::wstring& interpreter) {
  CommandLaunch launch;
  const std::wstring text = Trimmed(line);
  if (shift) {
    // /S takes the outer quotation marks off and leaves the line between them as typed.
    launch.Program = interpreter;
    launch.Parameters = L"/S /K \"" + text + L"\"";
  } else {
    launch = Split(text);
  }
  launch.Folder = WorkingFolder(folder);
  return launch;
}

std::wstring CommandLine::WorkingFolder(const std::wstring& paneFolder) {
  const size_t network = paneFolder.find(L"\\\\");
  return network == std::wstring::npos ? paneFolder : paneFolder.substr(network);
}

void CommandLine::Enter(bool shift) {
  const std::wstring text = Trimmed(m_.CommandText());
  m_.SetCommandText(text);
  if (text.empty()) return;
  const CommandLaunch launch = Plan(text, shift, m_.CommandFolder(), Interpreter());
  if (launch.Program.empty()) return;
  const DWORD error =
      m_.Shell().Run(m_.Handle(), L"", launch.Program, launch.Parameters, launch.Folder);
  if (error == 0 || error == ERROR_CANCELLED) return;
  std::wstring message = L"\"" + launch.Program + L"\" could not be started.\r\n\r\n" +
                         SystemErrorSentence(error);
  m_.Message(message, 0, L"");
}

}  // namespace varnello
