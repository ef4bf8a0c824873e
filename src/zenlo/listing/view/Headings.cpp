// The control's members over its headings table and sort-level list.
#include "listing/model/MultiHeadingSort.h"
#include "listing/view/HeadingStrip.h"
#include "listing/view/ViewState.h"
#include "toolkit/Text.h"
#include "toolkit/Window.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
bool SlotInRange(int slot, int slots) { return slot >= 0 && slot < slots; }
}  // namespace

void ZenloFileControl::SetHeadingsDefaults() {
  view_->Headings.SetDefaults(ltFolderListType == fbFolder);
  SyncHeadingsMenu();
}

Variant ZenloFileControl::GetHeadingProperty(std::int16_t headingNo, const std::wstring& prop) {
  if (!SlotInRange(headingNo, HeadingsTable::kSlots)) {
    RaiseMessage(L"There is no heading " + std::to_wstring(headingNo) +
                 L"; headings are numbered 0 to 10.");
    return std::monostate{};
  }
  return view_->Headings.Property(headingNo, prop);
}

void ZenloFileControl::SetHeadingProperty(std::int16_t headingIndex,
                                          const std::wstring& HeadingParam,
                                          const Variant& HeadingValue) {
  if (!SlotInRange(headingIndex, HeadingsTable::kSlots)) {
    RaiseMessage(L"There is no heading " + std::to_wstring(headingIndex) +
                 L"; headings are numbered 0 to 10.");
    return;
  }
  view_->Headings.SetProperty(headingIndex, HeadingParam, HeadingValue);
}

void ZenloFileControl::ModifyHeadings(const std::wstring& TheHeading) {
  view_->Headings.ToggleMenu(TheHeading);
  SyncHeadingsMenu();
  RaiseHost([](ZenloFileControlEvents& s) { s.UpdateMasterHeadings(); });
  Update(updateDrawOnly);
}

bool ZenloFileControl::GetHeadingValue(const std::wstring& name) const {
  return view_->Headings.MenuChecked(L"mnuHeading" + name);
}

void ZenloFileControl::CalculateHeadingPositions() {
  ViewState& v = *view_;
  v.Headings.CalculatePositions(v.EdgeGap - tk::TwipsPerPixelX());
  strip_->ShowColumns();
  DrawHeadingTitles();
}

void ZenloFileControl::DrawHeadingTitles() { strip_->DrawTitles(); }

void ZenloFileControl::HighLightButton(std::int16_t index) { strip_->HighLight(index); }

void ZenloFileControl::ColorHeadings(std::int16_t index) { strip_->Colour(index); }

void ZenloFileControl::ShiftHeading(const std::wstring& direction) {
  HeadingsTable& t = view_->Headings;
  const wchar_t* fixed = nullptr;
  switch (t.Shift(direction)) {
    case HeadingsTable::ShiftOutcome::ColorFixed:
      fixed = L"The 'Color' column must always be the first column and can't be moved.";
      break;
    case HeadingsTable::ShiftOutcome::NameFixed:
      fixed = L"The 'Name' column must always be the second column and can't be moved.";
      break;
    case HeadingsTable::ShiftOutcome::Unmoved:
      return;
    case HeadingsTable::ShiftOutcome::Moved:
      HighLightButton(t.Headings[static_cast<std::size_t>(t.ActiveHeadingIndex)].Index);
      if (closing_) return;
      FindAdjacentHeadings();
      Update(updateDrawOnly);
      return;
  }
  RaiseMessage(std::wstring(fixed) +
               L"\r\n\r\nClick on any other heading (eg. Size, Date Modified, etc) and use this "
               L"button to change the order of the columns.");
}

void ZenloFileControl::FindAdjacentHeadings() {
  HeadingsTable& t = view_->Headings;
  t.FindAdjacent(t.ActiveHeadingIndex, t.LeftHeading, t.RightHeading);
}

void ZenloFileControl::FindAdjacentHeadingsMove() {
  HeadingsTable& t = view_->Headings;
  t.FindAdjacent(t.ResizeHeadingSlot, t.MoveLeftHeading, t.MoveRightHeading);
}

std::int32_t ZenloFileControl::TextWidthTwips(const std::wstring& text) const {
  return view_->Measure.Width(text) * tk::TwipsPerPixelX();
}

std::int32_t ZenloFileControl::MeasureNameWidth(const std::wstring& text,
                                                const std::wstring& headingKey) const {
  if (!tk::SameText(headingKey, L"sName")) return 0;
  const ViewState& v = *view_;
  const std::int32_t width = TextWidthTwips(text);
  if (ltFolderListType == fbFolder)
    return width + v.IndentBase - v.ExpanderOffsetX + v.TextOffsetX + v.ExtWidthPad;
  return width - v.IconOffsetX + v.TextOffsetX + v.ExtWidthPad;
}

void ZenloFileControl::GetMaxHeadingWidths() {
  view_->Headings.MaxTextWidths(
      listItems_, itemCount_, [this](const std::wstring& t) { return TextWidthTwips(t); },
      [this](const std::wstring& t) { return MeasureNameWidth(t, L"sName"); });
}

void ZenloFileControl::SetSortOrder(std::int16_t sortIndex, const std::wstring& sortKey,
                                    const std::wstring& sortOrder) {
  if (!SlotInRange(sortIndex, SortOrderList::kSlots)) {
    RaiseMessage(L"There is no sort level " + std::to_wstring(sortIndex) +
                 L"; sort levels are numbered 0 to 100.");
    return;
  }
  // A damaged settings file: refused here once rather than at every sort.
  if (!sortKey.empty() && SortHeadingOfKey(sortKey) == SortHeading::Unknown) {
    RaiseMessage(L"Sorting by this heading is not yet handled.");
    return;
  }
  view_->Sorts.Slots[static_cast<std::size_t>(sortIndex)] = {sortKey, sortOrder};
}

bool ZenloFileControl::GetSortOrder(std::int16_t sortIndex, std::wstring& sortKey,
                                    std::wstring& sortOrder) {
  if (!SlotInRange(sortIndex, SortOrderList::kSlots)) {
    RaiseMessage(L"There is no sort level " + std::to_wstring(sortIndex) +
                 L"; sort levels are numbered 0 to 100.");
    return false;
  }
  const TypeSortEntry& e = view_->Sorts.Slots[static_cast<std::size_t>(sortIndex)];
  sortKey = e.SortKey;
  sortOrder = e.SortOrder;
  return true;
}

std::int16_t ZenloFileControl::GetNumberOfSorts() const { return view_->Sorts.NumberOfSorts(); }

void ZenloFileControl::SortReset() { view_->Sorts.Reset(); }

void ZenloFileControl::ShowSortMarks() {
  // Buttons made later take their marks from the view when they are created.
  strip_->ShowSortMarks();
}

}  // namespace zenlo
