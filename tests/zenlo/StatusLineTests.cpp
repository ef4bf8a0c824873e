// The status line's text, colours and chime.
#include <gtest/gtest.h>

#include "ScreenPixels.h"
#include "listing/view/StatusLine.h"
#include "listing/view/ViewState.h"
#include "support/ControlFixture.h"
#include "support/HostWindow.h"
#include "support/TempFolder.h"

using namespace zenlo;

namespace {

TEST(StatusLine, ComposesTheDocumentedLines) {
  struct Case {
    StatusInputs in;
    const wchar_t* text;
    bool red;
  } cases[] = {
      {{fbFolder, L"12 Folders", L"", L"", L"", L"Selected: 1 Folder"},
       L"12 Folders   Selected: 1 Folder", false},
      {{fbFileAndFolder, L"3 Folders", L"10 Files", L"", L"", L"Selected: 0 Folders / 2 Files"},
       L"3 Folders / 10 Files   Selected: 0 Folders / 2 Files", false},
      {{fbFile, L"3 Folders", L"4 Files", L"", L"", L"Selected: 0 Folders / 0 Files", true},
       L"FILTERED: 3 Folders (not shown)  / 4 Files   Selected: 0 Folders / 0 Files", false},
      {{fbFileAndFolder, L"3 Folders", L"11 Files", L"0 Folders", L"1 File",
        L"Selected: 0 Folders / 0 Files", false, true, true},
       L"3 Folders / 11 Files   Selected: 0 Folders / 0 Files   Changes: 0 Folders / 1 File",
       true},
      // Only file changes tracked: the file part opens the changes.
      {{fbFileAndFolder, L"3 Folders", L"11 Files", L"0 Folders", L"1 File", L"", false, false,
        true},
       L"3 Folders / 11 Files   Changes: 1 File", true},
      // A tree never shows changes, whatever is tracked.
      {{fbFolder, L"2 Folders", L"", L"1 Folder", L"", L"", false, true, true},
       L"2 Folders", false},
  };
  for (const auto& c : cases) {
    StatusLine line = ComposeStatusLine(c.in);
    EXPECT_EQ(line.text, c.text);
    EXPECT_EQ(line.changeColours, c.red) << line.text.c_str();
  }
}

TEST(StatusLine, ChimeSoundsOncePerRefreshAndNeverWhenSkipped) {
  StatusInputs in{fbFileAndFolder, L"1 Folder", L"2 Files", L"1 Folder", L"1 File", L"",
                  false, true, true, true, false};
  EXPECT_TRUE(ComposeStatusLine(in).chime);
  in.skipSound = true;  // a redraw never chimes
  EXPECT_FALSE(ComposeStatusLine(in).chime);
  in.skipSound = false;
  in.trackChime = false;
  EXPECT_FALSE(ComposeStatusLine(in).chime);
}

TEST(StatusLine, SelectionTextCountsSingularAndPlural) {
  EXPECT_EQ(SelectionText(fbFileAndFolder, 0, 0), L"Selected: 0 Folders / 0 Files");
  EXPECT_EQ(SelectionText(fbFileAndFolder, 1, 1), L"Selected: 1 Folder / 1 File");
  EXPECT_EQ(SelectionText(fbFile, 2, 2), L"Selected: 2 Folders / 2 Files");
  EXPECT_EQ(SelectionText(fbFolder, 1, 5), L"Selected: 1 Folder");
}

TEST(StatusLine, OnScreenTheTextStartsClearOfTheFrameBesideIt) {
  testsupport::TempFolder dir;
  dir.File(L"a.txt");
  testsupport::HostWindow host{600, 400};
  testsupport::ControlHolder c;
  c->ApplyProperty(L"ColorStatusBackground", std::int32_t{RGB(255, 255, 255)});
  c->ApplyProperty(L"ColorStatusText", std::int32_t{RGB(0, 0, 0)});
  for (int border : {1, 3}) {
    SCOPED_TRACE(border);
    c->ApplyProperty(L"BorderWidth", std::int16_t(border));
    c->ApplySkinChange();
    if (!c->Window()) {
      ASSERT_TRUE(c->CreateFrame(host.Handle()));
    }
    MoveWindow(c->Window(), 0, 0, 560, 340, TRUE);
    c->LoadSetup();
    ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
    c->ResizeControl(zenlo::vertical);
    c->StatusLet(L"8888 Folders / 8888 Files");
    testsupport::ScreenPixels label(c->View().lblStatus.Handle());
    ASSERT_GT(label.Width(), 40);
    // The outline's line lies under the label's first `border` columns; the text keeps two
    // more clear beyond it.
    bool inked = false;
    for (int y = 0; y < label.Height(); ++y) {
      for (int x = 0; x < border + 2; ++x) {
        EXPECT_EQ(label.At(x, y), RGB(255, 255, 255)) << x << "," << y;
      }
      for (int x = border + 2; x < 40; ++x) inked |= label.At(x, y) != RGB(255, 255, 255);
    }
    EXPECT_TRUE(inked) << "the text was drawn";
  }
}

}  // namespace
