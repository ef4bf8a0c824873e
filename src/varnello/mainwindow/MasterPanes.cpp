// The main window's pane area: applying the arrangement, the resize pass, opening and closing
// panes, the splitters and the display modes. The geometry itself is worked out by
// ArrangePanes2, SplitterDrag and the share helpers; this file moves the windows.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "commands/MainMenu.h"
#include "mainwindow/Master.h"

#include "settings/OptionsForm.h"
#include "mainwindow/PaneShares.h"
#include "toolkit/Error.h"

namespace varnello {

namespace {

constexpr long kTitleBarTwips = 255;
constexpr long kButtonTwips = 315;

std::wstring PaneButtonKey(short pane) { return L"pane" + std::to_wstring(pane); }

short CountShown(const PaneRecords& panes) {
  short n = 0;
  for (const PaneRecord& p : panes) n += p.Status == 0 ? 1 : 0;
  return n;
}

short PaneOf(short list) { return list >= 100 ? static_cast<short>(list - 100) : list; }

// Stops a list's window from painting while the pass moves and redraws it (its style's
// visible bit is cleared meanwhile), and lets it paint again.
void SetRedraw(HWND w, bool on) {
  if (w) SendMessageW(w, WM_SETREDRAW, on ? TRUE : FALSE, 0);
}

}  // namespace

ArrangeInput Master::ArrangementInput() const {
  RECT client{};
  GetClientRect(Handle(), &client);
  const int tppX = tk::TwipsPerPixelX(), tppY = tk::TwipsPerPixelY();
  ArrangeInput in;
  in.ScaleWidth = static_cast<double>(client.right) * tppX;
  in.ScaleHeight = static_cast<double>(client.bottom) * tppY;
  in.ToolbarTop = 0;
  in.ToolbarHeight = static_cast<long>(toolbar_.PreferredHeight()) * tppY;
  in.TitleBarHeight = kTitleBarTwips;
  in.TitleButtonWidth = kButtonTwips;
  in.CloseButtonWidth = kButtonTwips;
  in.TwipsPerPixel = tppX;
  in.Layout = Options.Layout;
  in.CommandLineOn = MenuChecked(menu_, mnuCommandOn);
  in.SplitterThickness = SplitterThickness;
  in.CommandLineBoxHeight = CommandLineBoxHeight;
  return in;
}

void Master::PlaceWindow(HWND w, const TwipRect& r) {
  if (!w) return;
  const RECT p = ToPixels(r, tk::TwipsPerPixelX(), tk::TwipsPerPixelY());
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
  // Within an arrangement every window joins one batch; a batch that failed is gone, and the
  // rest are moved one by one.
  if (placing_) placing_ = DeferWindowPos(placing_, w, nullptr, p.left, p.top, p.right - p.left,
                                          p.bottom - p.top, flags);
  if (!placing_) SetWindowPos(w, nullptr, p.left, p.top, p.right - p.left, p.bottom - p.top, flags);
}

void Master::ArrangePanes2() {
  // The toolbar is docked along the top: it spans the window above the panes.
  RECT client{};
  GetClientRect(Handle(), &client);
  toolbar_.SetBounds(0, 0, client.right, toolbar_.PreferredHeight());
  const ArrangeInput in = ArrangementInput();
  Arrangement a = varnello::ArrangePanes2(in, Panes, Options.ShownPaneCount);
  // Too small a window keeps the last geometry, and the values the splitters measure it by.
  if (!a.Arranged) return;
  layoutValues_ = a.Values;
  for (short i = 0; i < kPaneCount; ++i) {
    // Only the computed fields come back; a record's other fields may have changed meanwhile.
    PaneRecord& p = Panes[i];
    const PaneRecord& q = a.Panes[i];
    p.ControlGroup = q.ControlGroup;
    p.Width = q.Width, p.Height = q.Height, p.WidthH = q.WidthH, p.HeightH = q.HeightH;
    p.Left = q.Left, p.Top = q.Top;
    p.MainListWidth = q.MainListWidth, p.MainListHeight = q.MainListHeight;
    p.ChildListWidth = q.ChildListWidth, p.ChildListHeight = q.ChildListHeight;
    p.MainListFits = q.MainListFits, p.ChildListFits = q.ChildListFits;
  }
  const int tppX = tk::TwipsPerPixelX(), tppY = tk::TwipsPerPixelY();
  placing_ = BeginDeferWindowPos(4 * kPaneCount * 2 + 2);
  for (short g = 0; g < kPaneCount; ++g) {
    const PanePlacement& c = a.Controls[g];
    if (!c.Placed) continue;
    // A pair that was never loaded has no lists to place.
    if (Panes[g].Loaded) {
      if (PaneList* l = List(g)) PlaceWindow(l->Window(), c.Tree);
      if (PaneList* l = List(static_cast<short>(g + 100))) PlaceWindow(l->Window(), c.Child);
    }
    PlaceWindow(titleBars_[g], c.TitleBar);
    PlaceWindow(chrome_.TitleButton(g), c.TitleButton);
    PlaceWindow(chrome_.CloseButton(g), c.CloseButton);
    PlaceWindow(chrome_.NoRoom(g), c.TreeNoRoom);
    PlaceWindow(chrome_.NoRoom(static_cast<short>(g + 100)), c.ChildNoRoom);
    chrome_.PlaceHolder(g).Bounds = ToPixels(c.TreeOutline, tppX, tppY);
    chrome_.PlaceHolder(static_cast<short>(g + 100)).Bounds = ToPixels(c.ChildOutline, tppX, tppY);
    chrome_.Back(g).Bounds = ToPixels(c.Frame, tppX, tppY);
  }
  if (a.CommandRowPlaced) {
    PlaceWindow(currentPath_, a.CurrentPath);
    PlaceWindow(command_.Handle(), a.Command);
  }
  if (placing_) EndDeferWindowPos(std::exchange(placing_, nullptr));
  arrangement_ = std::move(a);
}

void Master::ResizeForm(bool DoSkip) {
  // Before the window was first shown there is nothing to lay out.
  if (!Handle() || !shown_) return;
  WindowResizeState& s = resize_;
  const bool minimised = IsIconic(Handle()) != FALSE;
  if (!minimised && s.InTray) {
    s.InTray = false;
    if (tray_) {
      tray_->ShellTrayDelete();
      tray_->UnhookWindow();
    }
    if (!MenuIconsFailed) menuIcons_.Attach(Handle());
  }
  if (minimised) {
    if (Options.MinimizeToTaskBar) return;
    // The window leaves the task bar only once a tray icon can bring it back.
    if (!tray_ || tray_->ShellTrayAdd() != 1) return;
    ShowWindow(Handle(), SW_HIDE);
    s.InTray = true;
    if (!MenuIconsFailed) menuIcons_.Detach();
    tray_->HookWindow(Handle());
    return;
  }
  s.LastWindowState = IsZoomed(Handle()) ? 2 : 0;

  RECT outer{};
  GetWindowRect(Handle(), &outer);
  const long formWidth = static_cast<long>(outer.right - outer.left) * tk::TwipsPerPixelX();
  const long formHeight = static_cast<long>(outer.bottom - outer.top) * tk::TwipsPerPixelY();
  if (!DoSkip && splitter_.State() == SplitterDragState::None &&
      formHeight == s.LastFormHeight && formWidth == s.LastFormWidth &&
      Options.Layout == s.LastLayout) {
    for (short i = 0; i < kPaneCount; ++i) {
      if (Panes[i].Status != 0 || !Panes[i].Loaded) continue;
      if (PaneList* l = List(i)) l->ClearTempGraphics();
      if (PaneList* l = List(static_cast<short>(i + 100))) l->ClearTempGraphics();
    }
    return;
  }
  if (Options.Layout != s.LastLayout || s.CommandLineChanged) {
    for (PaneRecord& p : Panes)
      if (p.Status == 0) p.NeedsResize = true;
  } else if (formHeight != s.LastFormHeight || formWidth != s.LastFormWidth) {
    for (PaneRecord& p : Panes) p.NeedsResize = true;
  }
  s.LastFormHeight = formHeight;
  s.LastFormWidth = formWidth;
  s.LastLayout = Options.Layout;

  // A hidden pane's windows are hidden; a shown pane's lists stay where they are and only stop
  // painting: they are moved, not hidden and shown, and repaint once when the pass is over.
  std::vector<HWND> held;
  for (short i = 0; i < kPaneCount; ++i) {
    const PaneRecord& p = Panes[i];
    if (!p.NeedsResize && p.Status != 1) continue;
    if (p.Loaded) {
      for (PaneList* l : {List(i), List(static_cast<short>(i + 100))}) {
        if (!l) continue;
        const HWND w = l->Window();
        if (p.Status == 0 && w && IsWindowVisible(w)) {
          SetRedraw(w, false);
          held.push_back(w);
        } else {
          tk::ShowChild(w, false);
        }
      }
    }
    if (p.Status != 0) {
      chrome_.HidePane(i);
      tk::ShowChild(titleBars_[i], false);
    }
  }
  ArrangePanes2();
  const zenlo::Orient orient = Options.Layout == 0 ? zenlo::vertical : zenlo::horizontal;
  for (short i = 0; i < kPaneCount; ++i) {
    const PaneRecord& p = Panes[i];
    if (!p.NeedsResize || p.Status != 0 || !p.Loaded) continue;
    if (p.MainListFits)
      if (PaneList* l = List(i)) l->ResizeControl(orient);
    if (p.ChildListFits)
      if (PaneList* l = List(static_cast<short>(i + 100))) l->ResizeControl(orient);
  }
  for (short i = 0; i < kPaneCount; ++i) {
    const PaneRecord& p = Panes[i];
    if (!p.NeedsResize || p.Status != 0 || !p.Loaded) continue;
    chrome_.Back(i).Visible = true;
    tk::ShowChild(chrome_.CloseButton(i), true);
    tk::ShowChild(titleBars_[i], true);
    tk::ShowChild(chrome_.TitleButton(i), true);
    const std::pair<short, bool> lists[] = {{i, p.MainListFits},
                                            {static_cast<short>(i + 100), p.ChildListFits}};
    for (const auto& [index, fits] : lists) {
      if (PaneList* l = List(index)) {
        const HWND w = l->Window();
        // A held list paints again, or leaves the screen when it lost its room.
        if (std::find(held.begin(), held.end(), w) != held.end()) {
          std::erase(held, w);
          SetRedraw(w, true);
        }
        tk::ShowChild(w, fits);
      }
      chrome_.PlaceHolder(index).Visible = !fits;
      tk::ShowChild(chrome_.NoRoom(index), !fits);
    }
  }
  // Not laid out after all (a window below the minimum size): as they were.
  for (HWND w : held) SetRedraw(w, true);
  const bool commandLine = MenuChecked(menu_, mnuCommandOn);
  tk::ShowChild(currentPath_, commandLine);
  tk::ShowChild(command_.Handle(), commandLine);
  HighlightActiveList(true);
  for (short i = 0; i < kPaneCount; ++i) {
    PaneRecord& p = Panes[i];
    if (p.Status != 0 || !p.NeedsResize) continue;
    if (p.Loaded) {
      if (PaneList* l = List(i)) l->ClearTempGraphics();
      if (PaneList* l = List(static_cast<short>(i + 100))) l->ClearTempGraphics();
    }
    p.NeedsResize = false;
  }
  // The outlines and frames are the window's own drawing; everything repaints once, when the
  // pass is over and the queue is idle, the lists that were moved with it.
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  // Hiding a focused list left the focus nowhere useful; keys typed now reach the active list.
  if (txtFocus_) SetFocus(txtFocus_);
}

// ---------------------------------------------------------------------------------------------
// Opening and closing panes

void Master::ChangePanes(short PaneNum) {
  if (PaneNum < 0 || PaneNum >= kPaneCount || unloading_ || unloaded_) return;
  // Opening a pane reads its folders, which yields: a close waits until this has finished.
  BusyScope busy(*this);
  PaneRecord& pane = Panes[PaneNum];
  if (pane.Status == 0) {
    if (CountShown(Panes) <= 1) {
      toolbar_.SetValue(PaneButtonKey(PaneNum), true);
      std::wstring text = L" You must always have at least one pane open.";
      Message(text, 0, L"");
      return;
    }
    pane.Status = 1;
    if (pane.Loaded) {
      if (PaneList* l = List(PaneNum)) l->WatchStop();
      if (PaneList* l = List(static_cast<short>(PaneNum + 100))) l->WatchStop();
    }
    // Neither of the closed pane's lists may stay the active list.
    if (PaneOf(Options.ActivePane) == PaneNum) Options.ActivePane = Options.ClickedPane;
  } else {
    pane.Status = 0;
    if (!Options.SkipWin9XWarningPanes) {
      int used = 0;
      for (const PaneRecord& p : Panes) used += (p.Loaded || p.Status == 0) ? 1 : 0;
      if (used >= 4) {
        if (OldWindows) {
          std::wstring text =
              L"On older operating systems like the one your running (" + OSName +
              L") your system may not be able to handle loading up too many panes at the same "
              L"time.\r\n\r\nShould Varnello stop responding, just restart Varnello and use only "
              L"panes 1,2 and 3. (How about that? For once, a program tells you it might crash "
              L"in advance.)";
          Message(text, 0, L"");
        }
        Options.SkipWin9XWarningPanes = true;
      }
    }
    if (!pane.Loaded) {
      try {
        InitializePaneSet(PaneNum);
      } catch (const tk::RuntimeError& e) {
        // A pane whose lists could not be made stays closed.
        pane.Status = 1;
        toolbar_.SetValue(PaneButtonKey(PaneNum), false);
        std::wstring text = L"The pane could not be opened.";
        Message(text, 0, L"", e.Info().Number, e.Info().Description);
        return;
      } catch (...) {
        pane.Status = 1;
        toolbar_.SetValue(PaneButtonKey(PaneNum), false);
        std::wstring text = L"The pane could not be opened.";
        Message(text, 0, L"");
        return;
      }
    }
    if (!pane.FolderSet) SetPaneFolder(PaneNum);
  }
  Options.ShownPaneCount = CountShown(Panes);

  const short target = PaneOf(Options.ClickedPane);
  bool targetLost = false;
  for (short i = 0; i < kPaneCount; ++i) {
    PaneRecord& p = Panes[i];
    p.NeedsResize = true;
    const bool shown = p.Status == 0;
    toolbar_.SetValue(PaneButtonKey(i), shown);
    SetMenuCheck(menu_, mnuPane0 + static_cast<UINT>(i), shown);
    if (!shown && i == target) targetLost = true;
  }
  const short lowest = LowestShownPane(Panes);
  if (targetLost) Options.ClickedPane = Options.ActivePane = lowest;
  const short active = PaneOf(Options.ActivePane);
  if (active >= 0 && active < kPaneCount && Panes[active].Status != 0) Options.ActivePane = lowest;
  if (MenuChecked(menu_, mnuAutoExpandOn)) {
    DoAutoExpand();
  } else {
    EqualizePaneSizes();
    ResizeForm(true);
  }
}

void Master::EqualizePaneSizes() {
  const ArrangeInput in = ArrangementInput();
  EqualizeShares(Panes, Options.ShownPaneCount, in.ScaleWidth, in.ScaleHeight,
                 layoutValues_.PaneAreaTop, layoutValues_.CommandLineHeight, SplitterThickness);
}

// ---------------------------------------------------------------------------------------------
// Display modes

void Master::SwitchLayout(const std::wstring& selected) {
  const bool vertical = selected == L"vertical";
  if ((vertical && Options.Layout == 0) || (selected == L"horizontal" && Options.Layout == 1)) {
    toolbar_.SetValue(vertical ? L"layoutvertical" : L"layouthorizontal", true);
    return;
  }
  Options.Layout = vertical ? 0 : 1;
  toolbar_.SetValue(L"layoutvertical", vertical);
  toolbar_.SetValue(L"layouthorizontal", !vertical);
  if (!MenuIconsFailed)
    menuIcons_.SetImage(mnuOrientation,
                        images_.IndexOf(vertical ? L"layoutvertical" : L"layouthorizontal"));
  if (MenuChecked(menu_, mnuAutoExpandOn))
    DoAutoExpand();
  else
    ResizeForm(true);
}

void Master::SwitchAutoExpand(bool ONoff) {
  if (MenuChecked(menu_, ONoff ? mnuAutoExpandOn : mnuAutoExpandOff)) return;
  toolbar_.SetValue(L"layoutautoexpand", ONoff);
  SetMenuCheck(menu_, mnuAutoExpandOn, ONoff);
  SetMenuCheck(menu_, mnuAutoExpandOff, !ONoff);
  Options.AutoExpandOn = ONoff;
  if (ONoff) DoAutoExpand();
}

void Master::DoAutoExpand() {
  if (!AutoExpandShares(Panes, Options.ActivePane, Options.Layout)) return;
  ResizeForm(true);
}

void Master::ShowCommandLine(bool ONoff, bool skipResize) {
  if (MenuChecked(menu_, ONoff ? mnuCommandOn : mnuCommandOff)) return;
  toolbar_.SetValue(L"showcommandline", ONoff);
  SetMenuCheck(menu_, mnuCommandOn, ONoff);
  SetMenuCheck(menu_, mnuCommandOff, !ONoff);
  Options.CommandLineOn = ONoff;
  if (skipResize) return;
  resize_.CommandLineChanged = true;
  ResizeForm(true);
}

void Master::ShowColor(bool ONoff) {
  Options.ColorCodingOn = ONoff;
  SendProperty(L"ShowColor", ONoff);
  if (frmOptions* options = OptionsDialog()) options->ShowColorState(ONoff);
  if (MenuChecked(menu_, ONoff ? mnuColorOn : mnuColorOff)) return;
  toolbar_.SetValue(L"showcolor", ONoff);
  SetMenuCheck(menu_, mnuColorOn, ONoff);
  SetMenuCheck(menu_, mnuColorOff, !ONoff);
}

bool Master::ColorMenuOn() const { return MenuChecked(menu_, mnuColorOn); }

void Master::SetCompareMode() {
  const bool size = toolbar_.Value(L"compare_size");
  const bool date = toolbar_.Value(L"compare_date");
  Options.CompareMode = (size ? 1 : 0) + (date ? 2 : 0);
  SetMenuCheck(menu_, mnuCompareSize, size);
  SetMenuCheck(menu_, mnuCompareDate, date);
}

void Master::TitleBar_MouseMove(short index) {
  mousePointer_ = kPointerArrow;
  if (index < 0 || index >= kPaneCount) return;
  if (MenuChecked(menu_, mnuAutoExpandOn) && Options.ActivePane != index) {
    Options.ActivePane = index;
    DoAutoExpand();
  }
}

// ---------------------------------------------------------------------------------------------
// Splitters

SplitterGeometry Master::SplitterInput() const {
  SplitterGeometry g;
  g.Layout = Options.Layout;
  g.SplitterThickness = SplitterThickness;
  g.Values = layoutValues_;
  for (short i = 0; i < kPaneCount; ++i) g.Trees[i] = arrangement_.Controls[i].Tree;
  RECT client{};
  GetClientRect(Handle(), &client);
  g.InnerWidth = static_cast<double>(client.right) * tk::TwipsPerPixelX();
  g.InnerHeight = static_cast<double>(client.bottom) * tk::TwipsPerPixelY();
  g.Grip = 7L * tk::TwipsPerPixelX();  // the lists leave this much empty at their edges
  return g;
}

void Master::Form_MouseMove(double X, double Y) {
  if (splitter_.State() == SplitterDragState::None) {
    mousePointer_ = splitter_.HitTest(X, Y, Panes, SplitterInput());
    return;
  }
  splitter_.Move(X, Y, Panes, SplitterInput());
  // The marker bars follow the band to where the release will put it.
  TwipRect bar = dragBars_.Bar;
  (dragBars_.Vertical ? bar.Left : bar.Top) += splitter_.Offset();
  const RECT r = ToPixels(bar, tk::TwipsPerPixelX(), tk::TwipsPerPixelY());
  const HWND first = dragBars_.Vertical ? chrome_.LineVert() : chrome_.LineHorz();
  const HWND twin = dragBars_.Vertical ? chrome_.LineVert2() : chrome_.LineHorz2();
  for (HWND w : {first, twin})
    if (w)
      SetWindowPos(w, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE);
}

bool Master::PreviewMouse(const MSG& msg) {
  if (splitter_.State() != SplitterDragState::None || GetCapture() || !shown_) return false;
  bool overList = false;
  for (short i = 0; i < kPaneCount && !overList; ++i)
    for (PaneList* l : {List(i), List(static_cast<short>(i + 100))})
      if (l && l->Window() && (msg.hwnd == l->Window() || IsChild(l->Window(), msg.hwnd)))
        overList = true;
  if (!overList) return false;
  POINT p = msg.pt;
  ScreenToClient(Handle(), &p);
  const double X = static_cast<double>(p.x) * tk::TwipsPerPixelX();
  const double Y = static_cast<double>(p.y) * tk::TwipsPerPixelY();
  const int pointer = splitter_.HitTest(X, Y, Panes, SplitterInput());
  if (pointer == kPointerArrow) return false;
  mousePointer_ = pointer;
  SetCursor(LoadCursorW(nullptr, pointer == kPointerSizeNS ? IDC_SIZENS : IDC_SIZEWE));
  if (msg.message == WM_LBUTTONDOWN) Form_MouseDown(X, Y);
  return true;
}

void Master::Form_MouseDown(double X, double Y) {
  MarkerBars bars;
  if (!splitter_.Press(X, Y, Panes, SplitterInput(), bars)) return;
  dragBars_ = bars;
  HWND first = bars.Vertical ? chrome_.LineVert() : chrome_.LineHorz();
  HWND twin = bars.Vertical ? chrome_.LineVert2() : chrome_.LineHorz2();
  for (HWND w : {first, twin}) {
    PlaceWindow(w, bars.Bar);
    SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  SetCapture(Handle());
}

void Master::Form_MouseUp() {
  mousePointer_ = 0;
  const SplitterDragState state = splitter_.State();
  if (state == SplitterDragState::None) return;
  if (GetCapture() == Handle()) ReleaseCapture();
  const bool westEast = state == SplitterDragState::WestEast;
  tk::ShowChild(westEast ? chrome_.LineVert() : chrome_.LineHorz(), false);
  tk::ShowChild(westEast ? chrome_.LineVert2() : chrome_.LineHorz2(), false);
  splitter_.Release(Panes, SplitterInput());
  ResizeForm(false);
  splitter_.Finish();
}

}  // namespace varnello
