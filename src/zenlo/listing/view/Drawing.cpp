// Drawing the listing off screen: the tree with its lines and expanders, or the listing in
// details or list mode, or the text of an empty folder; then one copy to the screen.
#include <algorithm>
#include <array>

#include "listing/model/ItemDetails.h"
#include "listing/view/LibraryPictures.h"
#include "listing/view/ViewState.h"
#include "toolkit/Error.h"
#include "toolkit/Text.h"
#include "toolkit/TransparentBlt.h"
#include "toolkit/Window.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {

// Twips of the listing surface to its pixels.
struct Scale {
  int tppX, tppY;
  int X(double twips) const { return tk::TwipsToPixels(twips, tppX); }
  int Y(double twips) const { return tk::TwipsToPixels(twips, tppY); }
};

std::wstring CurrentDateText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return tk::SystemTimeToDateText(now);
}

}  // namespace

void ZenloFileControl::DrawFolderBox() {
  ViewState& v = *view_;
  const Scale s{tk::TwipsPerPixelX(), tk::TwipsPerPixelY()};
  const bool tree = ltFolderListType == fbFolder;
  // List mode never applies to a tree; any other mode than details lays out columns.
  const bool listMode = !tree && ListMode != listDetails;
  HGDIOBJ previousPen = nullptr;
  tk::Pen pen;
  try {
    CalculateHeadingPositions();
    if (!listMode) v.FolderBoxRect.Width = v.Headings.Headings[HeadingsTable::kFiller].Left;
    DCSetup();
    v.FirstVisible = v.LastVisible = -1;
    HDC dc = v.List.Dc();
    auto text = [&](const std::wstring& t, double x, double y, COLORREF colour) {
      if (!dc || t.empty()) return;
      SetTextColor(dc, colour);
      SetBkMode(dc, TRANSPARENT);
      TextOutW(dc, s.X(x), s.Y(y), t.c_str(), static_cast<int>(t.size()));
    };
    // A cell's text stays left of `right` (twips); what does not fit ends in an ellipsis.
    // Right-aligned text ends at `right`.
    auto cellText = [&](const std::wstring& t, double x, double y, double right, COLORREF colour,
                        bool alignRight = false) {
      if (!dc || t.empty() || s.X(right) <= s.X(x)) return;
      SetTextColor(dc, colour);
      SetBkMode(dc, TRANSPARENT);
      RECT cell{s.X(x), s.Y(y), s.X(right), s.Y(y) + s.Y(v.RowHeight)};
      DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &cell,
                DT_SINGLELINE | DT_NOPREFIX | DT_TOP | DT_END_ELLIPSIS |
                    (alignRight ? DT_RIGHT : DT_LEFT));
    };

    const bool hidingFolders = ltFolderListType == fbFile && filesShown_ == 0 && foldersShown_ >= 1;
    if (hidingFolders || filesShown_ + foldersShown_ == 0) {
      v.FolderBoxRect.Top = 0;
      v.FolderBoxScaleTop = 0;
      v.FolderBoxRect.Height = v.RowHeight + 30;
      v.EmptyTextShown = true;
      const double x = defaultIndent_;
      if (hidingFolders) {
        const std::wstring first = L"-- no files in selected folder, you are hiding  ";
        const std::wstring count = std::to_wstring(foldersShown_);
        text(first, x, 30, v.Skin.ListText);
        text(count, x + TextWidthTwips(first), 30, v.Skin.TextSecondary);
        text(L"  sub-folders --", x + TextWidthTwips(first + count + L" "), 30, v.Skin.ListText);
        v.FolderBoxToolTip = L"Press the 'Folder' icon on the above toolbar to show/hide folders.";
      } else {
        v.FolderBoxToolTip.clear();
        text(L"-- no files or sub-folders in the selected folder --", x, 30, v.Skin.ListText);
      }
    } else {
      v.FolderBoxToolTip.clear();
      v.EmptyTextShown = false;
      if (listMode) {
        v.FirstVisible = v.VisibleRows * v.TopItem;
        v.LastVisible = (v.VisibleColumns + 1) * v.VisibleRows + v.FirstVisible;
        if (ltFolderListType == fbFile && foldersShown_ > 0) {
          v.FirstVisible += foldersShown_;
          v.LastVisible += foldersShown_;
        }
        v.LastVisible = std::min(v.LastVisible, lastShownItem_);
        v.FolderBoxScaleTop = 0;
      } else {
        v.FirstVisible = v.TopItem;
        v.FolderBoxScaleTop = v.RowHeight * v.TopItem;
        const std::int32_t rowsFit = v.BoundBoxRect.Height / v.RowHeight;
        v.LastVisible = rowsFit + 1 + v.TopItem > lastShownItem_ ? lastShownItem_
                                                                 : rowsFit + v.TopItem;
      }
      v.LastVisible = std::min(v.LastVisible, itemCount_ - 1);
      if (v.FirstVisible > v.LastVisible) v.FirstVisible = v.LastVisible = -1;

      const ListPictures& pictures = ListPictures::Shared();
      pen.Reset(CreatePen(PS_SOLID, 1, RGB(180, 180, 180)));
      if (dc) previousPen = SelectObject(dc, pen.Get());
      auto picture = [&](ListPictures::Picture p, double x, double y) {
        if (dc && pictures[p]) tk::DrawTransparentScaled(pictures[p], dc, s.X(x), s.Y(y), 0, 0, SRCCOPY);
      };
      auto line = [&](double x1, double y1, double x2, double y2) {
        if (!dc) return;
        MoveToEx(dc, s.X(x1), s.Y(y1), nullptr);
        LineTo(dc, s.X(x2), s.Y(y2));
      };

      // Content widths start afresh with every draw.
      const std::wstring dateText = CurrentDateText();
      for (auto& h : v.Headings.Headings) {
        if (tk::SameText(h.Key, L"sColor")) {
          h.DrawnWidth = h.Width;
        } else if (tk::SameText(h.Key, L"sDateLastModified") ||
                   tk::SameText(h.Key, L"sDateCreated") ||
                   tk::SameText(h.Key, L"sDateLastAccessed")) {
          h.DrawnWidth = TextWidthTwips(dateText) + 50;
        } else if (tk::SameText(h.Key, L"sAttributes")) {
          h.DrawnWidth = TextWidthTwips(L"asrhc");
        } else if (tk::SameText(h.Key, L"sSize") || tk::SameText(h.Key, L"sComments") ||
                   tk::SameText(h.Key, L"sFileType") || tk::SameText(h.Key, L"sExt")) {
          h.DrawnWidth = 500;
          continue;
        } else {
          h.DrawnWidth = 0;
          continue;
        }
        h.MaxTextWidth = h.DrawnWidth;
      }

      // Where the Name column ends on the surface (the columns are placed in the control's
      // coordinates, the surface starts at the edge gap).
      const TypeHeading& nameColumn = v.Headings.Headings[1];
      const std::int32_t nameColumnRight =
          nameColumn.Active ? nameColumn.Right - v.EdgeGap : v.FolderBoxRect.Width;
      std::int32_t y = -v.RowHeight;
      std::int32_t column = 0, rowInColumn = 0, columnX = 0;
      std::int32_t indentX = 0, textX = 0, iconX = 0, expanderX = 0, rightEdge = 0;
      std::int16_t previousLevel = -1;
      bool newGeometry = true;
      for (std::int32_t i = v.FirstVisible; i >= 0 && i <= v.LastVisible; ++i) {
        TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
        if (listMode) {
          if (++rowInColumn > v.VisibleRows) {
            ++column;
            rowInColumn = 1;
            y = -v.RowHeight;
            columnX = v.ColumnWidth * column;
            newGeometry = true;
          }
        }
        y += v.RowHeight;
        const double rowMiddle = y + v.RowHeight / 2.0;
        if (newGeometry || item.Level != previousLevel) {
          indentX = item.Level * v.IndentStep + v.IndentBase + columnX;
          textX = indentX + v.TextOffsetX;
          iconX = indentX + v.IconOffsetX;
          expanderX = indentX + v.ExpanderOffsetX;
          rightEdge = listMode ? indentX + v.IconOffsetX + v.ColumnWidth : v.FolderBoxRect.Width;
          if (!tree && static_cast<std::size_t>(column) < v.ColumnZones.size())
            v.ColumnZones[static_cast<std::size_t>(column)] = {indentX, indentX + v.TextOffsetX};
          newGeometry = false;
          previousLevel = item.Level;
        }
        item.RowTop = y;
        item.DrawLeft = indentX;
        item.DrawRight = rightEdge;
        item.DrawBottom = v.FolderBoxScaleTop + y;
        item.DrawBottomGap = item.DrawBottom + v.RowHeight;

        COLORREF colour = v.Skin.ListText;
        if (item.CompareState == IsNotMatch)
          colour = v.Skin.TextSecondary;
        else if (item.CompareState == NotActive && item.ItemColor != -1)
          colour = static_cast<COLORREF>(item.ItemColor);

        // The name cell (tree lines, expander, icon and name) ends where the next column
        // begins; in list mode at the item's column edge, once a column width is known.
        const std::int32_t nameRight =
            !listMode ? nameColumnRight : v.ColumnWidth > 0 ? rightEdge : v.FolderBoxRect.Width;
        if (dc) {
          SaveDC(dc);
          IntersectClipRect(dc, 0, s.Y(y), s.X(nameRight), s.Y(y) + s.Y(v.RowHeight));
        }
        cellText(item.IsOpen ? item.Name + L" (currenly open)" : item.Name, textX, y + 30,
                 nameRight, colour);
        TypeHeading& nameHeading = v.Headings.Headings[1];
        nameHeading.DrawnWidth = std::max(nameHeading.DrawnWidth, MeasureNameWidth(item.Name, L"sName"));

        const bool root = tree && i == 0;
        const ItemDetails& d = *details_;
        auto cachedIcon = [&] {
          const tk::MemorySurface& cache = item.IconPalette == 0 ? d.SharedTrans : d.OwnTrans;
          if (dc && cache.Built())
            BitBlt(dc, s.X(iconX), s.Y(y + 30), kIconCell, kIconCell, cache.Dc(),
                   item.IconX * kIconCell, item.IconY * kIconCell, SRCCOPY);
        };
        if (item.ItemType == sFile) {
          if (item.IconX == -1)
            picture(ListPictures::FileGeneric, iconX, y + 40);
          else
            cachedIcon();
        } else if (!root) {
          switch (item.ItemType) {
            case sNetwork: picture(ListPictures::WholeNetwork, iconX, y + 40); break;
            case sDomain: picture(ListPictures::Workgroup, iconX, y + 40); break;
            case sServer: picture(ListPictures::Computer, iconX, y + 40); break;
            case sShare: picture(ListPictures::FolderClosed, iconX, y + 40); break;
            default:
              if (item.IconX == -1)
                picture(ListPictures::FolderClosed, iconX, y + 40);
              else
                cachedIcon();
          }
        }

        if (tree && !root) {
          const std::int32_t lineX = indentX - 325;
          std::int32_t nextLineX = 0;
          if (i + 1 < itemCount_)
            nextLineX = listItems_[static_cast<std::size_t>(i + 1)].Level * 150 + 300 + columnX - 325;
          for (std::int32_t lx = lineX; lx >= defaultIndent_ - 450; lx -= 150) {
            if (lx > nextLineX) {
              line(lx, y, lx, rowMiddle);
              if (lx != lineX && dc) {
                // A closed ancestor level ends in a small circle.
                const int cx = s.X(lx), cy = s.Y(rowMiddle + 25);
                const int rx = s.X(40), ry = s.Y(40);
                Ellipse(dc, cx - rx, cy - ry, cx + rx, cy + ry);
              }
            } else {
              line(lx, y, lx, y + v.RowHeight);
            }
          }
          switch (item.FolderStatus) {
            case sExpanded: picture(ListPictures::Minus, expanderX, y + 50); break;
            case sNotExpanded: picture(ListPictures::Plus, expanderX, y + 50); break;
            case sNoSubFolders: line(indentX - 325, y + 120, indentX - 270, y + 120); break;
          }
        }
        if (dc) RestoreDC(dc, -1);

        if (!listMode) {
          for (int slot = 2; slot <= 9; ++slot) {
            TypeHeading& h = v.Headings.Headings[static_cast<std::size_t>(slot)];
            if (!h.Active) continue;
            // Each text stays inside its own column, short of where the next one's starts.
            const std::int32_t cellRight = h.Right - v.EdgeGap;
            std::optional<std::wstring> value;
            std::int32_t pad = -1;
            if (tk::SameText(h.Key, L"sSize")) {
              const std::int32_t w = TextWidthTwips(item.SizeText());
              cellText(item.SizeText(), h.Left - v.EdgeGap, y + 30, h.Right - 50 - v.EdgeGap, colour,
                       true);
              h.DrawnWidth = std::max(h.DrawnWidth, w + v.SizeWidthPad);
              continue;
            }
            if (tk::SameText(h.Key, L"sExt")) value = item.Extension(), pad = v.ExtWidthPad;
            else if (tk::SameText(h.Key, L"sDateLastModified")) value = item.DateLastModified();
            else if (tk::SameText(h.Key, L"sDateCreated")) value = item.DateCreated();
            else if (tk::SameText(h.Key, L"sDateLastAccessed")) value = item.DateLastAccessed();
            else if (tk::SameText(h.Key, L"sAttributes")) value = item.AttributesText();
            else if (tk::SameText(h.Key, L"sComments")) value = item.Comments(), pad = 0;
            else if (tk::SameText(h.Key, L"sFileType")) value = item.FileType(), pad = 0;
            if (!value) continue;
            cellText(*value, h.Left + 50 - v.EdgeGap, y + 30, cellRight, colour);
            if (pad >= 0) h.DrawnWidth = std::max(h.DrawnWidth, TextWidthTwips(*value) + pad);
          }
        }
      }
      if (tree && v.FirstVisible == 0) {
        if (dc) {
          SaveDC(dc);
          IntersectClipRect(dc, 0, 0, s.X(nameColumnRight), s.Y(2 * v.RowHeight));
        }
        line(defaultIndent_ - 325, v.RowHeight, defaultIndent_ - 325, 120);
        line(defaultIndent_ - 325, 120, defaultIndent_, 120);
        if (dc) RestoreDC(dc, -1);
      }
      if (dc && previousPen) SelectObject(dc, previousPen);
      previousPen = nullptr;
    }
    v.Tip.SetText(v.FolderBoxToolTip);
    ApplyPlacement();  // the box takes the width and height the drawing gave it
    BitBltBase(false);
    UpdateStatus(true);
  } catch (...) {
    if (previousPen && v.List.Dc()) SelectObject(v.List.Dc(), previousPen);
    const tk::ErrorInfo err = tk::CurrentError();
    const std::wstring details = L"\r\n\r\nError: " + std::to_wstring(err.Number) +
                                 L"\r\n\r\nDescription: " + err.Description;
    if (err.Number == 480)
      RaiseMessage(L"You do not have enough available memory to complete the drawing opertion."
                   L"\r\n\r\nVarnello may not be able to continue." + details);
    else
      RaiseMessage(L"An error occurred while drawing the folder box." + details);
  }
}

void ZenloFileControl::DrawSelectedItems() {
  const ViewState& v = *view_;
  if (itemCount_ == 0 || v.FirstVisible == -1) return;
  try {
    for (std::int32_t i = v.FirstVisible; i <= v.LastVisible && i < itemCount_; ++i)
      if (listItems_[static_cast<std::size_t>(i)].Selected == 1) DrawSelectionMark(i);
  } catch (...) {
    RaiseMessage(L"An error occurred while drawing the selected items.");
  }
}

void ZenloFileControl::DrawSelectionMark(std::int32_t index) {
  ViewState& v = *view_;
  if (!v.Front.Built() || !v.PointerSelect) return;
  const TypeListItem& item = listItems_[static_cast<std::size_t>(index)];
  const int x = tk::TwipsToPixels(item.DrawLeft, tk::TwipsPerPixelX());
  const int y = tk::TwipsToPixels(item.DrawBottom - v.FolderBoxScaleTop + 60, tk::TwipsPerPixelY());
  tk::DrawTransparentScaled(v.PointerSelect.Get(), v.Front.Dc(), x, y, 0, 0, SRCCOPY);
}

}  // namespace zenlo
