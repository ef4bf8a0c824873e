// The column heading button as a real window under Xvfb: mouse sequences against the events an
// owner receives, its colours, its sort mark and caption on screen, and its lifetime.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "support/HostWindow.h"
#include "toolkit/EventLoop.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Window.h"
#include "zenlo/ZenloClassIds.h"
#include "zenlo/button_headings.h"

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv);

using namespace zenlo;

namespace {

constexpr int kWidthPx = 100;
constexpr int kHeightPx = 16;
const wchar_t kColourTip[] = L"After color coding files, double click to sort by color.";

// Records what the owner hears, and answers the hover's limits.
struct EventLog : button_headingsEventsBase {
  std::vector<std::wstring> Events;
  float MinX = 0;
  float MaxX = 100000;
  std::function<void(const std::wstring&)> After;

  void Add(const std::wstring& e) {
    Events.push_back(e);
    if (After) After(e);
  }
  void Click() override { Add(L"Click"); }
  void DblClick(short&, short&, float&, float&) override { Add(L"DblClick"); }
  void ResizeButton(float& Diff) override {
    Add(L"ResizeButton " + std::to_wstring(static_cast<int>(Diff)));
  }
  void ResizeFinished() override { Add(L"ResizeFinished"); }
  void ResizeColumn1(short& Shift1) override { Add(L"ResizeColumn1 " + std::to_wstring(Shift1)); }
  void SetMousePointer(short& PointerType) override {
    Add(L"SetMousePointer " + std::to_wstring(PointerType));
  }
  void MouseMove(short&, short&, float&, float&, bool& DoResize) override {
    Add(DoResize ? L"MouseMove resize" : L"MouseMove");
  }
  void MouseDown(short&, short&, float&, float&) override { Add(L"MouseDown"); }
  void GetMinMaxX(float& Xmin, float& Xmax) override {
    Xmin = MinX;
    Xmax = MaxX;
    Add(L"GetMinMaxX");
  }
};

// A button of 100 x 16 pixels in slot `slot` of a host window.
struct HeadingButton {
  testsupport::HostWindow host{300, 120};
  EventLog log;
  button_headings* b = button_headings::Create();

  explicit HeadingButton(std::int16_t slot, bool canResize = true) {
    b->AttachEvents(&log);
    EXPECT_TRUE(b->CreateFrame(host.Handle(), slot));
    b->DoResize = true;
    MoveWindow(b->Window(), 10, 10, kWidthPx, kHeightPx, TRUE);
    b->DoResize = false;
    b->CanBeResized = canResize;
  }
  ~HeadingButton() {
    if (b) b->Release();
    tk::SetScreenMousePointer(tk::PointerDefault);
  }
  HeadingButton(const HeadingButton&) = delete;
  HeadingButton& operator=(const HeadingButton&) = delete;
};

// The text the tip window of `button` holds for it.
std::wstring ShownTip(HWND button) {
  struct Find {
    HWND owner, tip = nullptr;
  } find{button};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        auto& f = *reinterpret_cast<Find*>(p);
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        if (_wcsicmp(cls, TOOLTIPS_CLASSW) != 0) return TRUE;
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = f.owner;
        tool.uId = reinterpret_cast<UINT_PTR>(f.owner);
        if (SendMessageW(w, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) f.tip = w;
        return f.tip == nullptr;
      },
      reinterpret_cast<LPARAM>(&find));
  if (!find.tip) return L"(no tip window)";
  wchar_t text[256] = {};
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = button;
  info.uId = reinterpret_cast<UINT_PTR>(button);
  info.lpszText = text;
  SendMessageW(find.tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
  return text;
}

enum class Act { Move, Down, Up, DoubleClick, OtherWindowCaptures };
struct Step {
  Act act;
  int x, y;  // pixels in the button
  WPARAM keys = 0;
};

void Play(HWND button, const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    const LPARAM at = MAKELPARAM(static_cast<short>(s.x), static_cast<short>(s.y));
    switch (s.act) {
      case Act::Move:
        SendMessageW(button, WM_MOUSEMOVE, s.keys, at);
        break;
      case Act::Down:
        SendMessageW(button, WM_LBUTTONDOWN, s.keys | MK_LBUTTON, at);
        break;
      case Act::Up:
        SendMessageW(button, WM_LBUTTONUP, s.keys, at);
        break;
      case Act::DoubleClick:
        SendMessageW(button, WM_LBUTTONDBLCLK, s.keys | MK_LBUTTON, at);
        break;
      case Act::OtherWindowCaptures:
        SetCapture(GetParent(button));
        break;
    }
  }
}

// Pixels: the caption's middle, the right edge's zone (inside the top and bottom margins),
// and a point past the right edge.
constexpr int kMidX = 50, kMidX2 = 52, kEdgeX = 98, kPastX = 107, kY = 8;

struct SequenceCase {
  const char* name;
  std::int16_t slot;
  bool canResize;
  float maxX;  // the owner's answer to GetMinMaxX
  std::vector<Step> steps;
  std::vector<std::wstring> events;
  std::wstring endState;
  bool endCaptured;
};

TEST(HeadingButton, MouseSequencesRaiseTheOwnersEvents) {
  const std::vector<Step> edgePressRelease = {{Act::Move, kMidX, kY},
                                              {Act::Move, kEdgeX, kY},
                                              {Act::Down, kEdgeX, kY},
                                              {Act::Up, kEdgeX, kY}};
  const std::vector<Step> clickAndDoubleClickAtEdge = {
      {Act::Move, kEdgeX, kY}, {Act::Move, kEdgeX, kY},        {Act::Down, kEdgeX, kY},
      {Act::Up, kEdgeX, kY},   {Act::DoubleClick, kEdgeX, kY}, {Act::Up, kEdgeX, kY}};
  const std::vector<std::wstring> neverResized = {L"SetMousePointer 0", L"SetMousePointer 0",
                                                  L"Click", L"DblClick"};
  const SequenceCase cases[] = {
      {"an edge press and release without a move", 3, true, 100000, edgePressRelease,
       {L"MouseMove", L"GetMinMaxX", L"MouseDown", L"ResizeFinished"}, L"ResizeReady", true},
      {"a drag of the edge reports the travel", 3, true, 100000,
       {{Act::Move, kMidX, kY},
        {Act::Move, kEdgeX, kY},
        {Act::Down, kEdgeX, kY},
        {Act::Move, kEdgeX + 10, kY},
        {Act::Move, kEdgeX - 20, kY},
        {Act::Up, kEdgeX - 20, kY}},
       {L"MouseMove", L"GetMinMaxX", L"MouseDown", L"ResizeButton 150", L"ResizeButton -300",
        L"ResizeFinished", L"SetMousePointer 0"},
       L"", true},
      // A fast pointer: the button hears one move on the edge, or none, before the press.
      {"one move onto the edge readies it under the size arrow", 3, true, 100000,
       {{Act::Move, kEdgeX, kY}}, {L"GetMinMaxX"}, L"ResizeReady", true},
      {"a first move straight onto the edge, then a drag past it", 3, true, 100000,
       {{Act::Move, kEdgeX, kY},
        {Act::Down, kEdgeX, kY},
        {Act::Move, kPastX, kY},
        {Act::Up, kPastX, kY}},
       {L"GetMinMaxX", L"MouseDown", L"ResizeButton 135", L"ResizeFinished",
        L"SetMousePointer 0"},
       L"", false},
      {"a press on the edge before any move there", 3, true, 100000,
       {{Act::Move, kMidX, kY},
        {Act::Down, kEdgeX, kY},
        {Act::Move, kPastX, kY},
        {Act::Up, kPastX, kY}},
       {L"MouseMove", L"GetMinMaxX", L"MouseDown", L"ResizeButton 135", L"ResizeFinished",
        L"SetMousePointer 0"},
       L"", false},
      {"a double click at the edge fits the column, Ctrl passed on", 3, true, 100000,
       {{Act::Move, kMidX, kY},
        {Act::Move, kEdgeX, kY},
        {Act::Down, kEdgeX, kY},
        {Act::Up, kEdgeX, kY},
        {Act::DoubleClick, kEdgeX, kY, MK_CONTROL},
        {Act::Up, kEdgeX, kY, MK_CONTROL}},
       {L"MouseMove", L"GetMinMaxX", L"MouseDown", L"ResizeFinished", L"ResizeColumn1 2"},
       L"ResizeReady", true},
      {"a double click on the caption clicks, then sorts", 3, true, 100000,
       {{Act::Move, kMidX, kY},
        {Act::Move, kMidX2, kY},
        {Act::Down, kMidX2, kY},
        {Act::Up, kMidX2, kY},
        {Act::DoubleClick, kMidX2, kY},
        {Act::Up, kMidX2, kY}},
       {L"MouseMove", L"GetMinMaxX", L"SetMousePointer 0", L"Click", L"DblClick"}, L"", true},
      {"slot 0 never resizes", 0, true, 100000, clickAndDoubleClickAtEdge, neverResized, L"",
       false},
      {"slot 10 never resizes", 10, true, 100000, clickAndDoubleClickAtEdge, neverResized, L"",
       false},
      {"a heading the owner does not let resize", 4, false, 100000, clickAndDoubleClickAtEdge,
       neverResized, L"", false},
      {"leaving past the right edge ends the hover and the ready edge", 3, true, 100000,
       {{Act::Move, kMidX, kY}, {Act::Move, kEdgeX, kY}, {Act::Move, kPastX, kY}},
       {L"MouseMove", L"GetMinMaxX", L"SetMousePointer 0"}, L"", false},
      {"a drag cut short by another window's capture still finishes", 3, true, 100000,
       {{Act::Move, kMidX, kY},
        {Act::Move, kEdgeX, kY},
        {Act::Down, kEdgeX, kY},
        {Act::Move, kEdgeX + 10, kY},
        {Act::OtherWindowCaptures, 0, 0}},
       {L"MouseMove", L"GetMinMaxX", L"MouseDown", L"ResizeButton 150", L"ResizeFinished"}, L"",
       false},
      {"the edge beyond the owner's limit is no edge", 3, true, 1000,
       {{Act::Move, kMidX, kY}, {Act::Move, kEdgeX, kY}, {Act::Down, kEdgeX, kY}},
       {L"MouseMove", L"GetMinMaxX", L"SetMousePointer 0"}, L"", false},
  };
  for (const SequenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    HeadingButton button(c.slot, c.canResize);
    button.log.MaxX = c.maxX;
    Play(button.b->Window(), c.steps);
    EXPECT_EQ(button.log.Events, c.events);
    EXPECT_EQ(button.b->ResizeState(), c.endState);
    EXPECT_EQ(GetCapture() == button.b->Window(), c.endCaptured);
    EXPECT_EQ(tk::ScreenMousePointer() == tk::PointerSizeWE, c.endState == L"ResizeReady");
    if (c.slot == 0) {
      EXPECT_EQ(button.b->ToolTip(), kColourTip);
    } else if (c.slot == 10 || !c.canResize) {
      EXPECT_EQ(button.b->ToolTip(), L"");
    }
    ReleaseCapture();
  }
}

TEST(HeadingButton, AHeadingThatCannotBeResizedKeepsItsOwnersTipOnHover) {
  const struct {
    std::int16_t slot;
    bool canResize;
    const wchar_t* tipAfterHover;
  } cases[] = {
      {4, false, L"Size of the file"},  // cut by the listing's edge
      {10, true, L"Size of the file"},
      {0, true, kColourTip},  // the colour heading always explains its double click
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slot);
    HeadingButton button(c.slot, c.canResize);
    button.b->SetToolTip(L"Size of the file");
    Play(button.b->Window(), {{Act::Move, kMidX, kY}, {Act::Move, kEdgeX, kY}});
    EXPECT_EQ(button.b->ToolTip(), c.tipAfterHover);
    EXPECT_EQ(ShownTip(button.b->Window()), c.tipAfterHover);
    ReleaseCapture();
  }
}

TEST(HeadingButton, TheHoverColoursTheCaptionAndAsksItsLimitsOncePerHover) {
  HeadingButton button(2);
  Variant text = std::int32_t{RGB(10, 10, 10)}, hover = std::int32_t{RGB(0, 0, 200)};
  button.b->ApplyProperty(L"ColorInactiveHeadingText", text);
  button.b->ApplyProperty(L"ColorHeadingHoverText", hover);
  button.b->Highlight(false);
  HWND w = button.b->Window();

  Play(w, {{Act::Move, kMidX, kY}, {Act::Move, kMidX2, kY}, {Act::Move, kMidX, kY}});
  EXPECT_EQ(button.b->CaptionColour(), RGB(0, 0, 200));
  Play(w, {{Act::Move, kMidX, -3}});  // above the button: the hover ends
  EXPECT_EQ(button.b->CaptionColour(), RGB(10, 10, 10));
  EXPECT_NE(GetCapture(), w);
  Play(w, {{Act::Move, kMidX, kY}});
  EXPECT_EQ(button.b->CaptionColour(), RGB(0, 0, 200));
  EXPECT_EQ(std::count(button.log.Events.begin(), button.log.Events.end(), L"GetMinMaxX"), 2);
  ReleaseCapture();
}

TEST(HeadingButton, ApplyPropertyTakesOnlyItsFiveColoursExactlySpelt) {
  struct Case {
    const wchar_t* name;
    Variant value;
    COLORREF active, inactive, activeText, inactiveText, hoverText;
  };
  const COLORREF button3d = GetSysColor(COLOR_BTNFACE);
  const Case cases[] = {
      {L"ColorActiveHeading", std::int32_t{0x123456}, 0x123456, 0, 0, 0, 0},
      {L"ColorInactiveHeading", std::int16_t{255}, 0, 255, 0, 0, 0},
      {L"ColorActiveHeadingText", std::wstring(L"65280"), 0, 0, 65280, 0, 0},
      {L"ColorInactiveHeadingText", std::wstring(L"&HFF0000"), 0, 0, 0, 0xFF0000, 0},
      {L"ColorHeadingHoverText", std::int32_t{static_cast<std::int32_t>(0x8000000F)}, 0, 0, 0, 0,
       button3d},
      {L"colorActiveHeading", std::int32_t{0x123456}, 0, 0, 0, 0, 0},
      {L"COLORHEADINGHOVERTEXT", std::int32_t{0x123456}, 0, 0, 0, 0, 0},
      {L"ColorProgramBackground", std::int32_t{0x123456}, 0, 0, 0, 0, 0},
      {L"ColorActiveHeading", std::wstring(L"blue"), 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
    button_headings* b = button_headings::Create();
    b->ApplyProperty(c.name, c.value);
    EXPECT_EQ(b->ColorActiveHeading(), c.active);
    EXPECT_EQ(b->ColorInactiveHeading(), c.inactive);
    EXPECT_EQ(b->ColorActiveHeadingText(), c.activeText);
    EXPECT_EQ(b->ColorInactiveHeadingText(), c.inactiveText);
    EXPECT_EQ(b->ColorHeadingHoverText(), c.hoverText);
    b->Release();
  }

  // The colours show at the next Highlight or ResetLabelTextColour.
  button_headings* b = button_headings::Create();
  const std::pair<const wchar_t*, COLORREF> colours[] = {
      {L"ColorActiveHeading", RGB(1, 2, 3)},       {L"ColorInactiveHeading", RGB(4, 5, 6)},
      {L"ColorActiveHeadingText", RGB(7, 8, 9)},   {L"ColorInactiveHeadingText", RGB(10, 11, 12)},
      {L"ColorHeadingHoverText", RGB(13, 14, 15)},
  };
  for (const auto& [name, colour] : colours)
    b->ApplyProperty(name, std::int32_t{static_cast<std::int32_t>(colour)});
  b->Highlight(true);
  EXPECT_EQ(b->FaceColour(), RGB(1, 2, 3));
  EXPECT_EQ(b->CaptionColour(), RGB(7, 8, 9));
  b->Highlight(false);
  EXPECT_EQ(b->FaceColour(), RGB(4, 5, 6));
  EXPECT_EQ(b->CaptionColour(), RGB(10, 11, 12));
  b->ResetLabelTextColour(true);
  EXPECT_EQ(b->CaptionColour(), RGB(7, 8, 9));
  b->Release();
}

TEST(HeadingButton, ShowSortPicksTheArrowAndTheLevelNumber) {
  struct Case {
    const wchar_t* order;
    const wchar_t* number;
    const wchar_t* arrow;
  };
  const Case cases[] = {
      {L"asc", L"", L"ASC"}, {L"", L"2", L""}, {L"DeS", L"3", L"DES"}, {L"ascadd", L"", L""}};
  button_headings* b = button_headings::Create();
  for (const Case& c : cases) {
    b->ShowSort(c.order, c.number);
    EXPECT_EQ(b->SortArrow(), c.arrow) << testing::PrintToString(std::wstring(c.order));
    EXPECT_EQ(b->SortNumber(), c.number) << testing::PrintToString(std::wstring(c.order));
    EXPECT_EQ(b->Parts().SortNumber.x, 180);
  }
  b->Release();
}

// Counts the pixels of the button's window in [x0, x1) x [y0, y1) that pass the test.
template <typename F>
int CountPixels(HWND w, int x0, int x1, int y0, int y1, F&& test) {
  HDC dc = GetDC(w);
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const COLORREF p = GetPixel(dc, x, y);
      if (p != CLR_INVALID && test(p)) ++n;
    }
  ReleaseDC(w, dc);
  return n;
}

bool Dark(COLORREF p) { return GetRValue(p) < 100 && GetGValue(p) < 100 && GetBValue(p) < 100; }
bool Red(COLORREF p) { return GetRValue(p) > 150 && GetGValue(p) < 120 && GetBValue(p) < 120; }

TEST(HeadingButton, OnScreenItShowsItsCaptionAndItsSortMarkWithTheLevel) {
  HeadingButton button(1);
  button_headings& b = *button.b;
  b.ApplyProperty(L"ColorInactiveHeading", std::int32_t{RGB(220, 230, 255)});
  b.ApplyProperty(L"ColorInactiveHeadingText", std::int32_t{RGB(200, 0, 0)});
  b.Highlight(false);
  b.SetCaption(L"Name");
  HWND w = b.Window();
  auto show = [&](const wchar_t* order, const wchar_t* number) {
    b.ShowSort(order, number);
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
  };
  // Left of the caption: the arrow (x 3..11) and the number from x 12; the outline's border is
  // left out.
  auto arrowRow = [&](int y) { return CountPixels(w, 3, 12, y, y + 1, Dark); };
  auto numberArea = [&] { return CountPixels(w, 12, 30, 1, kHeightPx - 1, Dark); };
  auto markArea = [&] { return CountPixels(w, 3, 30, 1, kHeightPx - 1, Dark); };

  show(L"", L"");
  EXPECT_EQ(markArea(), 0);
  EXPECT_GT(CountPixels(w, 30, kWidthPx - 3, 1, kHeightPx - 1, Red), 5);  // the caption

  show(L"asc", L"12");
  EXPECT_GT(arrowRow(9), arrowRow(5) + 2);  // wide at the bottom: pointing up
  EXPECT_GT(numberArea(), 2);
  EXPECT_GT(CountPixels(w, 30, kWidthPx - 3, 1, kHeightPx - 1, Red), 5);
  tk::PumpUntil([] { return false; }, 200);
  EXPECT_TRUE(testsupport::SaveWindowPicture(button.host.Handle(),
                                             testsupport::ScreenshotPath(L"heading-button.bmp")));

  show(L"des", L"");
  EXPECT_GT(arrowRow(5), arrowRow(9) + 2);  // pointing down
  EXPECT_EQ(numberArea(), 0);
}

TEST(HeadingButton, ANarrowButtonHasNoCaptionAndTheOutlineKeepsItsGap) {
  HeadingButton button(2);
  const int p = 2 * tk::TwipsPerPixelX();
  const int w = kWidthPx * tk::TwipsPerPixelX();
  const ButtonHeadingsParts& parts = button.b->Parts();
  EXPECT_EQ(parts.Caption.left, 40);
  EXPECT_EQ(parts.Caption.right, w - 40);
  EXPECT_EQ(parts.Outline.left, p);
  EXPECT_EQ(parts.Outline.right, w - 15);

  // Without DoResize a new size leaves the parts where they were.
  MoveWindow(button.b->Window(), 10, 10, 5, kHeightPx, TRUE);
  EXPECT_EQ(parts.Caption.right, w - 40);
  button.b->DoResize = true;
  MoveWindow(button.b->Window(), 10, 10, 4, kHeightPx, TRUE);  // 60 twips at 96 DPI
  EXPECT_EQ(parts.Caption.right - parts.Caption.left, 0);
  EXPECT_GT(parts.Outline.right, parts.Outline.left);
}

TEST(HeadingButton, TheOwnerMayLetGoInsideAnEventAndHearsNothingMore) {
  HeadingButton button(3);
  button.log.After = [&](const std::wstring& e) {
    if (e == L"ResizeFinished") {
      button.b->Release();
      button.b = nullptr;
    }
  };
  // The release is followed by a mode test at a point off the edge, which would raise
  // SetMousePointer if the button still talked to its owner.
  Play(button.b->Window(), {{Act::Move, kMidX, kY},
                           {Act::Move, kEdgeX, kY},
                           {Act::Down, kEdgeX, kY},
                           {Act::Up, kMidX, kY}});
  EXPECT_EQ(button.log.Events,
            (std::vector<std::wstring>{L"MouseMove", L"GetMinMaxX", L"MouseDown",
                                       L"ResizeFinished"}));
  EXPECT_EQ(button.b, nullptr);
}

TEST(HeadingButton, ItsClassFactoryHandsOutTheButtonWithItsPersistedCaption) {
  IClassFactory* factory = nullptr;
  ASSERT_EQ(DllGetClassObject(CLSID_button_headings, IID_IClassFactory,
                              reinterpret_cast<void**>(&factory)),
            S_OK);
  button_headings* b = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_button_headings, reinterpret_cast<void**>(&b)),
            S_OK);
  factory->Release();

  testsupport::HostWindow host(200, 80);
  ASSERT_TRUE(b->CreateFrame(host.Handle(), 5, L"cmdSort"));
  EXPECT_EQ(b->Caption(), L"cmdSort");  // a new button is captioned with its name
  EXPECT_EQ(b->Index(), 5);
  PropertyBag bag;
  b->ReadProperties(bag);
  EXPECT_EQ(b->Caption(), L"cmdSort");
  bag.Write(L"Caption", std::wstring(L"Size"));
  b->ReadProperties(bag);
  EXPECT_EQ(b->Caption(), L"Size");
  EXPECT_FALSE(b->PropertiesChanged());
  b->SetCaption(L"Modified");
  EXPECT_TRUE(b->PropertiesChanged());
  PropertyBag saved;
  b->WriteProperties(saved);
  ASSERT_NE(saved.Find(L"Caption"), nullptr);
  EXPECT_EQ(std::get<std::wstring>(*saved.Find(L"Caption")), L"Modified");
  EXPECT_FALSE(b->PropertiesChanged());
  EXPECT_EQ(b->Release(), 0u);
}

}  // namespace
