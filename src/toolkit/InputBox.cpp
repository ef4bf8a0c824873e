#include "toolkit/InputBox.h"

#include <vector>

namespace tk {

namespace {

InputBoxSeam g_seam;

constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

struct DialogState {
  const InputBoxRequest* request;
  std::wstring answer;
};

// An in-memory dialog template: DLGTEMPLATE, then the items, each DWORD aligned.
class TemplateWriter {
 public:
  void Word(WORD w) { words_.push_back(w); }
  void DWord(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const wchar_t* text) {
    for (; *text; ++text) Word(static_cast<WORD>(*text));
    Word(0);
  }
  void Align() {
    if (words_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom,
            const wchar_t* text) {
    Align();
    DWord(style | WS_CHILD | WS_VISIBLE);
    DWord(0);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF);
    Word(classAtom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      state = reinterpret_cast<DialogState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetWindowTextW(dialog, state->request->Title.c_str());
      SetDlgItemTextW(dialog, kPromptId, state->request->Prompt.c_str());
      SetDlgItemTextW(dialog, kEditId, state->request->Default.c_str());
      SendDlgItemMessageW(dialog, kEditId, EM_SETSEL, 0, -1);
      if (const auto& p = state->request->Position)
        SetWindowPos(dialog, nullptr, p->x, p->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      SetFocus(GetDlgItem(dialog, kEditId));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && state) {
        HWND edit = GetDlgItem(dialog, kEditId);
        const int n = GetWindowTextLengthW(edit);
        std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
        GetWindowTextW(edit, text.data(), n + 1);
        text.resize(static_cast<std::size_t>(n));
        state->answer = std::move(text);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<std::wstring> ShowInputBox(HWND owner, const std::wstring& prompt,
                                         const std::wstring& title,
                                         const std::wstring& defaultAnswer,
                                         std::optional<POINT> position) {
  const InputBoxRequest request{prompt, title, defaultAnswer, position};
  if (g_seam) return g_seam(request);
  TemplateWriter t;
  t.DWord(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.DWord(0);
  t.Word(4);  // items
  t.Word(0);
  t.Word(0);
  t.Word(250);
  t.Word(90);
  t.Word(0);  // no menu
  t.Word(0);  // standard dialog class
  t.Text(L"");
  t.Word(8);
  t.Text(L"MS Shell Dlg");
  t.Item(SS_LEFT, 7, 7, 180, 50, kPromptId, 0x0082, L"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 193, 7, 50, 14, IDOK, 0x0080, L"OK");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 193, 25, 50, 14, IDCANCEL, 0x0080, L"Cancel");
  t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 66, 236, 14, kEditId, 0x0081, L"");
  DialogState state{&request, {}};
  const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), owner,
                                                 DialogProc, reinterpret_cast<LPARAM>(&state));
  if (result != IDOK) return std::nullopt;
  return state.answer;
}

void SetInputBoxSeam(InputBoxSeam seam) { g_seam = std::move(seam); }

}  // namespace tk
