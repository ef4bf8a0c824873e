// Opening files through the shell for real: an extension registered for this test to a small
// program that leaves a marker, an extension nobody has registered, a missing file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "companions/OpenWithProgram.h"
#include "support/TempFolder.h"
#include "toolkit/MessageBox.h"

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

TEST(OpenWithAssociatedProgram, StartsTheAssociatedProgramInTheGivenFolder) {
  ASSERT_FALSE(EnvText(L"OPEN_MARKER").empty());
  TempFolder dir;
  MarkerAssociation association;
  const std::wstring file = dir.File(L"doc one.vnlmark");
  const std::wstring work = dir.Folder(L"work");
  Boxes boxes;
  zenlo::OpenWithAssociatedProgram(file, SW_SHOWNORMAL, work, nullptr);
  ASSERT_TRUE(WaitFor(file + L".opened"));
  Sleep(100);  // the marker closes its file
  std::wstring started = ReadWide(file + L".opened");
  if (!started.empty() && started.back() != L'\\') started += L'\\';
  std::wstring expected = work;
  if (expected.back() != L'\\') expected += L'\\';
  EXPECT_EQ(CompareStringOrdinal(started.c_str(), -1, expected.c_str(), -1, TRUE), CSTR_EQUAL)
      << std::string(started.begin(), started.end());
  EXPECT_TRUE(boxes.shown.empty());
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
  const std::wstring notFound = L"File could not be opened. The file was not found.";
  struct Case {
    std::wstring path, shownFile, reason;
  } cases[] = {
      {dir.Path() + L"missing.txt", dir.Path() + L"missing.txt", notFound},
      // Wine has no network: the shell finds no such file.
      {L"*Docs on server \\\\noserver\\share\\file.txt", L"\\\\noserver\\share\\file.txt", notFound},
  };
  for (const auto& k : cases) {
    Boxes boxes;
    zenlo::OpenWithAssociatedProgram(k.path, SW_SHOWNORMAL, L"", nullptr);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].Text, k.reason + L"\r\n\r\nYour file: " + k.shownFile);
    EXPECT_EQ(boxes.shown[0].Style & 0xF, static_cast<UINT>(MB_OK));
  }
}

// Results without a sentence of their own take the system's reason when there is one.
TEST(OpenWithAssociatedProgram, FailureTextsByResult) {
  EXPECT_EQ(zenlo::OpenFailureText(3), L"File could not be opened. The path was not found.");
  EXPECT_EQ(zenlo::OpenFailureText(26), L"A sharing violation occurred.");
  EXPECT_EQ(zenlo::OpenFailureText(32), L"File cannot be opened.");
  const std::wstring withReason = zenlo::OpenFailureText(32, ERROR_MOD_NOT_FOUND);
  ASSERT_GT(withReason.size(), std::wstring(L"File cannot be opened. ").size());
  EXPECT_EQ(withReason.rfind(L"File cannot be opened. ", 0), 0u);
  EXPECT_EQ(withReason.find_first_of(L"\r\n"), std::wstring::npos);
}

}  // namespace
