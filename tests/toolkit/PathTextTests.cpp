// The rule every path handed to the file system goes through.
#include <gtest/gtest.h>

#include <string>

#include "toolkit/PathText.h"
#include "toolkit/Text.h"

namespace {

TEST(LongPathForm, OnlyPathsWin32WouldChangeTakeTheLongForm) {
  const std::wstring deep = L"C:\\" + std::wstring(120, L'a') + L"\\" + std::wstring(130, L'b');
  struct Case {
    std::wstring given, expected;
  } cases[] = {
      {L"C:\\plain\\file.txt", L"C:\\plain\\file.txt"},
      {L"C:\\trail dot.\\file.txt", L"\\\\?\\C:\\trail dot.\\file.txt"},
      {L"C:\\trail blank \\file.txt", L"\\\\?\\C:\\trail blank \\file.txt"},
      {L"C:\\dir\\name.", L"\\\\?\\C:\\dir\\name."},
      {L"\\\\server\\share\\odd.\\f", L"\\\\?\\UNC\\server\\share\\odd.\\f"},
      {deep, L"\\\\?\\" + deep},  // past the platform's length limit
      {L"\\\\?\\C:\\odd.\\f", L"\\\\?\\C:\\odd.\\f"},  // already in that form
      // The long form would not resolve these: they go as given.
      {L"C:\\a\\..\\odd.\\f", L"C:\\a\\..\\odd.\\f"},
      {L"C:/odd./f", L"C:/odd./f"},
      {L"relative odd.\\f", L"relative odd.\\f"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(tk::ToUtf8(k.given));
    EXPECT_EQ(tk::LongPathForm(k.given), k.expected);
    EXPECT_EQ(tk::OrdinaryPathForm(tk::LongPathForm(k.given)), tk::OrdinaryPathForm(k.given));
  }
}

}  // namespace
