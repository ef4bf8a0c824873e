#pragma once
// The system's colour, Open and Save dialogs as the program shows them: the colour picker with
// a grey ramp of custom colours, and the file dialogs centred on the screen by their hook.
// Tests answer them through seams instead of the screen.
#include <windows.h>
#include <commdlg.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace varnello {

class clsCommonDia {
 public:
  explicit clsCommonDia(HWND owner) : owner_(owner) {}
  // The colour chosen, or -1 when the user cancels or the dialog fails. A system colour is
  // offered as the colour it stands for now.
  std::int32_t ShowColor(const std::int32_t& DefaultColor);
  const std::array<COLORREF, 16>& CustomColours() const { return custom_; }

 private:
  HWND owner_;
  std::array<COLORREF, 16> custom_{};
};

// Centres an Explorer-style Open or Save dialog on the screen as it opens.
UINT_PTR CALLBACK OFNHookProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
// Gives its argument back: callers put the hook's address into the dialog's record with it.
LPOFNHOOKPROC FarProc(LPOFNHOOKPROC address);

struct FileDialogRequest {
  HWND Owner = nullptr;
  bool Save = false;
  std::wstring Title;
  std::wstring FileName;       // proposed name, or a pattern such as "*.vrk"
  std::wstring FilterName;     // "Varnello Skins"
  std::wstring FilterPattern;  // "*.vrk"
  std::wstring DefaultExtension;
  std::wstring InitialFolder;
};

// The path chosen, or nothing when the dialog was cancelled. Open asks for an existing file;
// Save asks before replacing one.
std::optional<std::wstring> ShowFileDialog(const FileDialogRequest& request);

// Tests: the dialogs go to these instead of the screen; an empty function restores the screen.
using ColorDialogSeam = std::function<std::int32_t(COLORREF initial)>;
void SetColorDialogSeam(ColorDialogSeam seam);
using FileDialogSeam = std::function<std::optional<std::wstring>(const FileDialogRequest&)>;
void SetFileDialogSeam(FileDialogSeam seam);

}  // namespace varnello
