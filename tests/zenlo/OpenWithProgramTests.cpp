// Opening files through the shell for real: an extension registered for this test to a small
// program that leaves a marker, an extension nobody has registered, a missing file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "companions/OpenWithProgram.h"
#include "support/TempFolder.h"
#include "toolkit/Error.h"
#include "toolkit/MessageBox.h"
#include "toolkit/PathText.h"

namespace {

using testsupport::TempFolder;

std::wstring EnvText(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2] = {};
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
  return n ? std::wstring(value, n) : std::wstring();
}

std::wstring ReadWide(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::wstring text(GetFileSize(h, nullptr) / sizeof(wchar_t), L'\0');
  DWORD got = 0;
  ReadFile(h, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &got, nullptr);
  CloseHandle(h);
  return text;
}

// Records the boxes shown and answers them.
struct Boxes {
  std::vector<tk::MessageBoxRequest> shown;
  int answer = IDNO;
  Boxes() {
    tk::SetMessageBoxSeam([this](const tk::MessageBoxRequest& r) {
      shown.push_back(r);
      return answer;
    });
  }
  ~Boxes() {
    tk::SetMessageBoxSeam([](const tk::MessageBoxRequest&) {
      ADD_FAILURE() << "unexpected message box";
      return IDCANCEL;
    });
  }
};

// ".vnlmark" opens with the marker program. Registered in the classes root: Wine's shell does
// not look at the current user's own classes.
class MarkerAssociation {
 public:
  MarkerAssociation() {
    const std::wstring exe = EnvText(L"OPEN_MARKER");
    const std::wstring command = L"\"" + exe + L"\" \"%1\"";
    Set(L".vnlmark", L"VarnelloTest.Marker");
    Set(L"VarnelloTest.Marker\\shell\\open\\command", command);
  }
  ~MarkerAssociation() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".vnlmark");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L".vnlmark");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VarnelloTest.Marker");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VarnelloTest.Marker");
  }

 private:
  static void Set(const wchar_t* key, const std::wstring& value) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
  }
};

bool WaitFor(const std::wstring& path) {
  for (int i = 0; i < 200; ++i) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(50);
  }
  return false;
}

// Also with a path short of the platform's limit but long enough for the folder searches' long
// form: the shell is handed the plain form it wants. (Wine's shell starts no file in a folder
// ending in a dot by any form, nor past the limit; the form handed over is checked below.)
TEST(OpenWithAssociatedProgram, StartsTheAssociatedProgramInTheGivenFolder) {
  ASSERT_FALSE(EnvText(L"OPEN_MARKER").empty());
  TempFolder dir;
  MarkerAssociation association;
  const std::wstring doc = L"\\doc one.vnlmark";
  const std::wstring longName(250 - dir.Path().size() - doc.size(), L'd');
  struct Case {
    const char* name;
    std::wstring folder;
  } cases[] = {
      {"plain", L"plain"},
      {"short of the length limit", longName},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const std::wstring file = dir.File(k.folder + doc);
    const std::wstring work = dir.Folder(L"work");
    Boxes boxes;
    zenlo::OpenWithAssociatedProgram(file, SW_SHOWNORMAL, work, nullptr);
    ASSERT_TRUE(WaitFor(tk::LongPathForm(file + L".opened")));
    Sleep(100);  // the marker closes its file
    std::wstring started = ReadWide(tk::LongPathForm(file + L".opened"));
    if (!started.empty() && started.back() != L'\\') started += L'\\';
    std::wstring expected = work;
    if (expected.back() != L'\\') expected += L'\\';
    EXPECT_EQ(CompareStringOrdinal(started.c_str(), -1, expected.c_str(), -1, TRUE), CSTR_EQUAL)
        << std::string(started.begin(), started.end());
    EXPECT_TRUE(boxes.shown.empty());
  }
}

// No program for the type: the question, then the open-with dialog only on Yes.
TEST(OpenWithAssociatedProgram, NoAssociationAsksBeforeTheOpenWithDialog) {
  TempFolder dir;
  const std::wstring file = dir.File(L"data.vnlnoassoc");
  for (int answer : {IDNO, IDYES}) {
    std::vector<std::wstring> started;
    zenlo::SetCommandStarter([&](const std::wstring& command) { started.push_back(command); });
    Boxes boxes;
    boxes.answer = answer;
    zenlo::OpenWithAssociatedProgram(file, SW_SHOWNORMAL, L"", nullptr);
    zenlo::SetCommandStarter({});
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].Text,
              L"No program has been associated with this file. Do you wish to choose a program "
              L"to open this file with?\r\n\r\nYour file: " + file);
    EXPECT_EQ(boxes.shown[0].Style & 0xF, static_cast<UINT>(MB_YESNO));
    if (answer == IDYES) {
      EXPECT_EQ(started, std::vector<std::wstring>{L"rundll32.exe shell32.dll,OpenAs_RunDLL " + file});
    } else {
      EXPECT_TRUE(started.empty());
    }
  }
}

// Any other failure says why, once; a listing's display prefix is cut before the start.
TEST(OpenWithAssociatedProgram, OtherFailuresTellTheUserWhy) {
  TempFolder dir;
  struct Case {
    std::wstring path, shownFile, reason;
  } cases[] = {
      {dir.Path() + L"missing.txt", dir.Path() + L"missing.txt",
       tk::SystemErrorText(ERROR_FILE_NOT_FOUND)},
      // Wine has no network: the shell finds no such file, for a reason of its own.
      {L"*Docs on server \\\\noserver\\share\\file.txt", L"\\\\noserver\\share\\file.txt", L""},
  };
  for (const auto& k : cases) {
    Boxes boxes;
    zenlo::OpenWithAssociatedProgram(k.path, SW_SHOWNORMAL, L"", nullptr);
    ASSERT_EQ(boxes.shown.size(), 1u);
    const std::wstring& text = boxes.shown[0].Text;
    const std::wstring head = L"File cannot be opened. ";
    const std::wstring tail = L"\r\n\r\nYour file: " + k.shownFile;
    ASSERT_GT(text.size(), head.size() + tail.size());
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    if (!k.reason.empty()) {
      EXPECT_EQ(text, head + k.reason + tail);
    }
    EXPECT_EQ(boxes.shown[0].Style & 0xF, static_cast<UINT>(MB_OK));
  }
}

// What the shell's call answers decides, not hInstApp alone: hInstApp is promised only for
// some calls. The shell here is a stand-in, since Wine's does not fail these ways.
TEST(OpenWithAssociatedProgram, TheCallsOwnResultDecidesSuccess) {
  const std::wstring file = L"C:\\docs\\report.txt";
  struct Case {
    const char* name;
    bool started;
    INT_PTR hInstApp;
    DWORD lastError;
    std::wstring box;  // empty: none
  } cases[] = {
      {"started", true, 42, 0, L""},
      {"started without hInstApp", true, 0, 0, L""},
      {"failed with a success hInstApp", false, 42, ERROR_ACCESS_DENIED,
       L"The operating system denied access to the specified file. " +
           tk::SystemErrorText(ERROR_ACCESS_DENIED)},
      {"failed, reason only in the last error", false, 0, ERROR_SHARING_VIOLATION,
       L"A sharing violation occurred. " + tk::SystemErrorText(ERROR_SHARING_VIOLATION)},
      {"started but hInstApp names an error", true, SE_ERR_OOM, 0,
       L"File could not be opened. Out of Memory/Resources. " +
           tk::SystemErrorText(ERROR_NOT_ENOUGH_MEMORY)},
      {"failed with no association", false, 42, ERROR_NO_ASSOCIATION,
       L"No program has been associated with this file. Do you wish to choose a program to open "
       L"this file with?"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    zenlo::SetShellStarter([&](SHELLEXECUTEINFOW& info) {
      info.hInstApp = reinterpret_cast<HINSTANCE>(k.hInstApp);
      SetLastError(k.lastError);
      return k.started;
    });
    Boxes boxes;
    zenlo::OpenWithAssociatedProgram(file, SW_SHOWNORMAL, L"", nullptr);
    zenlo::SetShellStarter({});
    if (k.box.empty()) {
      EXPECT_TRUE(boxes.shown.empty());
    } else {
      ASSERT_EQ(boxes.shown.size(), 1u);
      EXPECT_EQ(boxes.shown[0].Text, k.box + L"\r\n\r\nYour file: " + file);
    }
  }
}

// Paths Win32 would turn into others (a trailing dot or blank dropped) or refuse (past its
// length limit) reach the shell in the form that names the file itself.
TEST(OpenWithAssociatedProgram, OddPathsReachTheShellInTheirLongForm) {
  const std::wstring deep = L"C:\\" + std::wstring(130, L'd') + L"\\" + std::wstring(130, L'e');
  const std::wstring shortOfLimit =
      L"C:\\" + std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e');
  struct Case {
    const char* name;
    std::wstring file, folder, shellFile, shellFolder;
  } cases[] = {
      {"plain", L"C:\\docs\\a.txt", L"C:\\docs", L"C:\\docs\\a.txt", L"C:\\docs"},
      // Short of the limit the shell wants the plain form.
      {"short of the length limit", shortOfLimit + L"\\a.txt", shortOfLimit,
       shortOfLimit + L"\\a.txt", shortOfLimit},
      {"a folder ending in a dot", L"C:\\trail dot.\\a.txt", L"C:\\trail dot.",
       L"\\\\?\\C:\\trail dot.\\a.txt", L"\\\\?\\C:\\trail dot."},
      {"past 260 characters", deep + L"\\a.txt", deep, L"\\\\?\\" + deep + L"\\a.txt",
       L"\\\\?\\" + deep},
      {"a share in display form", L"*:\\Net\\WG\\\\S\\odd \\a.txt", L"",
       L"\\\\?\\UNC\\S\\odd \\a.txt", L""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    std::wstring file, folder;
    zenlo::SetShellStarter([&](SHELLEXECUTEINFOW& info) {
      file = info.lpFile ? info.lpFile : L"";
      folder = info.lpDirectory ? info.lpDirectory : L"";
      info.hInstApp = reinterpret_cast<HINSTANCE>(42);
      return true;
    });
    zenlo::OpenWithAssociatedProgram(k.file, SW_SHOWNORMAL, k.folder, nullptr);
    zenlo::SetShellStarter({});
    EXPECT_EQ(file, k.shellFile);
    EXPECT_EQ(folder, k.shellFolder);
  }
}

// The failure texts by result, each followed by the system's reason.
TEST(OpenWithAssociatedProgram, FailureTextsByResult) {
  auto why = [](DWORD e) { return L" " + tk::SystemErrorText(e); };
  struct Case {
    INT_PTR result;
    DWORD systemError;
    std::wstring text;
  } cases[] = {
      {SE_ERR_FNF, 0, L"File cannot be opened." + why(ERROR_FILE_NOT_FOUND)},
      {SE_ERR_PNF, 0, L"File cannot be opened." + why(ERROR_PATH_NOT_FOUND)},
      {SE_ERR_ACCESSDENIED, 0,
       L"The operating system denied access to the specified file." + why(ERROR_ACCESS_DENIED)},
      {SE_ERR_OOM, 0,
       L"File could not be opened. Out of Memory/Resources." + why(ERROR_NOT_ENOUGH_MEMORY)},
      {ERROR_BAD_FORMAT, 0, L"File could not be opened. Bad File Format." + why(ERROR_BAD_FORMAT)},
      {SE_ERR_SHARE, 0, L"A sharing violation occurred." + why(ERROR_SHARING_VIOLATION)},
      {SE_ERR_DLLNOTFOUND, 0, L"File cannot be opened."},
      {SE_ERR_DLLNOTFOUND, ERROR_MOD_NOT_FOUND,
       L"File cannot be opened." + why(ERROR_MOD_NOT_FOUND)},
  };
  ASSERT_FALSE(tk::SystemErrorText(ERROR_FILE_NOT_FOUND).empty());
  for (const Case& k : cases) {
    SCOPED_TRACE(k.result);
    EXPECT_EQ(zenlo::OpenFailureText(k.result, k.systemError), k.text);
    EXPECT_EQ(k.text.find_first_of(L"\r\n"), std::wstring::npos);
  }
}

}  // namespace
