// Colour coding: the colour word of the selected files, stored with each file through the
// property store, shown at once and remembered where it could not be stored.
#include "listing/model/ColorCoding.h"

#include "listing/CallGuard.h"
#include "listing/model/FilePropertyStore.h"
#include "listing/model/ItemDetails.h"
#include "toolkit/Error.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
constexpr wchar_t kColorProperty[] = L"VarnelloColor";

// Stores the word, or removes the property for "default". Throws when the file's properties
// could not be opened or changed.
void StoreColorWord(FilePropertyStore& store, const std::wstring& path, const std::wstring& word) {
  auto props = store.Open(path);
  if (!props) throw tk::RuntimeError(kErrPropertiesUnavailable, L"No properties.");
  if (tk::SameText(word, L"default")) {
    if (props->UserProperty(kColorProperty)) props->RemoveUserProperty(kColorProperty);
    return;
  }
  try {
    props->AddUserProperty(kColorProperty, word);
  } catch (const tk::RuntimeError& e) {
    if (e.Info().Number != kErrPropertyExists) throw;
    props->SetUserProperty(kColorProperty, word);
  }
}
}  // namespace

void ColorMemory::Remember(const std::wstring& fullPath, const std::wstring& word) {
  for (auto& e : entries_)
    if (tk::SameText(e.Path, fullPath)) {
      e.ColorWord = word;
      return;
    }
  entries_.push_back({tk::UpperCase(fullPath), word});
}

const TypeColorMemory* ColorMemory::At(std::int32_t j) const {
  if (j < 0 || j > Count()) return nullptr;
  return &entries_[static_cast<std::size_t>(j)];
}

void ZenloFileControl::ColorFiles(const std::wstring& TheColor) {
  std::int32_t count = 0;
  ColorFiles(TheColor, count);
}

void ZenloFileControl::ColorFiles(const std::wstring& TheColor, std::int32_t& TotalFileCount) {
  if (closing_) return;
  CallGuard guard(*this);
  // Stopped so that the writes do not make this listing read itself again; started again
  // however the call ends.
  WatchStop();
  struct Restart {
    ZenloFileControl& c;
    ~Restart() {
      if (!c.closing_) c.WatchStart();
    }
  } restart{*this};
  TotalFileCount = filesShown_;
  bool nonFile = false;
  std::wstring failed;
  try {
    std::shared_ptr<FilePropertyStore> store = propertyStore_;
    const std::int32_t colour = ColorWordToRgb(TheColor);
    for (std::int32_t i = 0; i <= lastShownItem_ && i < itemCount_; ++i) {
      TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
      if (item.Selected != 1) continue;
      if (item.ItemType != sFile) {
        nonFile = true;
        continue;
      }
      item.SetColorWord(TheColor);
      item.ItemColor = colour;
      try {
        StoreColorWord(*store, item.FullPath, TheColor);
      } catch (...) {
        // Not stored (no properties, read-only, disk full): shown until the next read.
        failed += L"   " + item.Name + L"\r\n";
        colorMemory_->Remember(item.FullPath, TheColor);
      }
    }
    Update(updateDrawOnly);
    if (closing_) return;
    if (nonFile) RaiseMessage(L"Sorry, only files can be color coded.");
    if (!failed.empty())
      RaiseMessage(L"Sorry, the following files you selected can't be color coded and will return "
                   L"to their default color when the list is refreshed.\r\n\r\nThe file(s) may not "
                   L"support this feature.\r\n\r\n" + failed);
  } catch (...) {
    RaiseMessage(L"Sorry, an error occurred while color coding the selected items.");
  }
}

std::int32_t ZenloFileControl::ColorCount() const { return colorMemory_->Count(); }

std::wstring ZenloFileControl::ColorItemPath(std::int32_t J) const {
  const TypeColorMemory* e = colorMemory_->At(J);
  return e ? e->Path : std::wstring();
}

std::wstring ZenloFileControl::ColorWord(std::int32_t J) const {
  const TypeColorMemory* e = colorMemory_->At(J);
  return e ? e->ColorWord : std::wstring();
}

}  // namespace zenlo
