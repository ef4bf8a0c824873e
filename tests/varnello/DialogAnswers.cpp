#include "DialogAnswers.h"

#include <gtest/gtest.h>

namespace vtest {

DialogAnswers::DialogAnswers(std::vector<Action> actions) : actions_(std::move(actions)) {
  varnello::FileDialog::SetShownHook([this](varnello::FileDialog& d) {
    SeenDialog seen{d.Name(), d.Caption(), {}, d.DefaultButton()};
    for (const wchar_t* box : {L"txtSource", L"txtDest", L"txtNewFolderName"})
      if (d.Visible(box)) seen.Texts[box] = d.Text(box);
    Seen.push_back(seen);
    if (next_ < actions_.size()) {
      auto action = actions_[next_++];
      action(d);
    } else {
      ADD_FAILURE() << "unexpected file dialog";
      d.CloseBox();
    }
  });
}

DialogAnswers::~DialogAnswers() {
  varnello::FileDialog::SetShownHook([](varnello::FileDialog& d) {
    ADD_FAILURE() << "unexpected file dialog";
    d.CloseBox();
  });
}

DialogAnswers::Action DialogAnswers::Click(const std::wstring& button) {
  return [button](varnello::FileDialog& d) { d.Click(button); };
}

DialogAnswers::Action DialogAnswers::Type(const std::wstring& box, const std::wstring& text,
                                          const std::wstring& button) {
  return [=](varnello::FileDialog& d) {
    d.SetText(box, text);
    d.Click(button);
  };
}

DialogAnswers::Action DialogAnswers::CloseBox() {
  return [](varnello::FileDialog& d) { d.CloseBox(); };
}

ShellAnswers::ShellAnswers(std::wstring captionPart, int commandId) {
  const DWORD process = GetCurrentProcessId();
  watcher_ = std::thread([this, captionPart, commandId, process] {
    while (!stop_) {
      struct Search {
        const std::wstring* part;
        DWORD process;
        HWND found;
      } s{&captionPart, process, nullptr};
      EnumWindows(
          [](HWND w, LPARAM lp) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid != s.process) return TRUE;
            // Never a plain send: the test's thread may be waiting for this one to stop.
            wchar_t caption[256] = L"";
            DWORD_PTR got = 0;
            SendMessageTimeoutW(w, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(caption),
                                SMTO_ABORTIFHUNG | SMTO_BLOCK, 100, &got);
            // The program's window may be hidden in a test, and the question with it.
            if (std::wstring(caption).find(*s.part) != std::wstring::npos) {
              s.found = w;
              return FALSE;
            }
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&s));
      if (s.found) {
        PostMessageW(s.found, WM_COMMAND, MAKEWPARAM(commandId, BN_CLICKED), 0);
        ++answered_;
        // One answer per window: wait until it has gone.
        for (int i = 0; i < 200 && IsWindow(s.found); ++i) Sleep(10);
      }
      Sleep(20);
    }
  });
}

ShellAnswers::~ShellAnswers() {
  stop_ = true;
  watcher_.join();
}

}  // namespace vtest
