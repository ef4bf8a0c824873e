#include "zenlo/ZenloFileControl.h"

#include "listing/model/ChangeWatch.h"
#include "listing/model/ColorCoding.h"
#include "listing/model/FolderSizes.h"
#include "listing/model/FilePropertyStore.h"
#include "listing/model/ItemDetails.h"
#include "listing/model/ItemReleaser.h"
#include "listing/model/MultiHeadingSort.h"
#include "listing/model/NameKeys.h"
#include "listing/model/NetResource.h"
#include "listing/model/PlaceMemory.h"
#include "listing/model/ShellFileInfo.h"
#include "listing/model/SoundPlayer.h"
#include "listing/model/SubFolderProbe.h"
#include "listing/view/HeadingStrip.h"
#include "listing/view/HeadingStripOwner.h"
#include "listing/model/Marking.h"
#include "listing/view/PointerState.h"
#include "listing/view/ViewState.h"
#include "zenlo/ZFCombo.h"
#include "listing/view/SelectorEvents.h"
#include "listing/CallGuard.h"
#include "library/ModuleLocks.h"
#include "zenlo/ZenloClassIds.h"

namespace zenlo {

ZenloFileControl* ZenloFileControl::Create() { return new ZenloFileControl(); }

ZenloFileControl::ZenloFileControl()
    : lifetime_(std::make_unique<CallLifetime>()),
      places_(std::make_unique<PlaceMemory>()),
      view_(std::make_unique<ViewState>()),
      pointer_(std::make_unique<PointerState>()),
      marking_(std::make_unique<Marking>()),
      details_(std::make_unique<ItemDetails>()),
      subFolderProbe_(std::make_unique<SubFolderProbe>()),
      releaser_(std::make_unique<ItemReleaser>()),
      readKeys_(std::make_unique<ReadNameKeys>()),
      sorter_(std::make_unique<MultiHeadingSort>()),
      watch_(std::make_unique<ChangeWatch>()),
      sizes_(std::make_unique<FolderSizeState>()),
      colorMemory_(std::make_unique<ColorMemory>()),
      propertyStore_(DefaultFilePropertyStore()),
      shell_(MakeShellFileInfo()),
      sound_(MakeSoundPlayer()) {
  watch_->Timer1.OnTick = [this] { OnWatchTick(); };
  stripOwner_ = std::make_unique<HeadingStripOwner>(*this);
  strip_ = std::make_unique<HeadingStrip>(*view_, *stripOwner_);
  CreateSelector();
  ModuleLocks().Add();
}

ZenloFileControl::~ZenloFileControl() {
  // Tear-down: every release is attempted, none can fail. The heading buttons go while the
  // surface they sit on still exists.
  RevokeDropTargets();
  strip_.reset();
  ReleaseSelector();
  watch_->Close();
  DCDestroy();
  DCDestroyIcon();
  DCDestroyIconTrans();
  DCDestroyIconEXE();
  DCDestroyIconEXETrans();
  listItems_.assign(1, TypeListItem{});
  for (HCURSOR& c : view_->Cursors) {
    if (c) DestroyCursor(c);
    c = nullptr;
  }
  DestroyMenus();
  ModuleLocks().Remove();
}

void ZenloFileControl::Initialize() {
  CallGuard guard(*this);
  if (closing_) return;
  SetInitialProperties();
  view_->ListFont.Reset(CreateMyFont(8, 0));
  view_->Measure.SetFont(view_->ListFont.Get());
  view_->ScrollRedrawEnabled = true;
  LoadPictures();  // may tell the host that pictures are missing
  if (closing_) return;
  CreateMenus();
  places_->Clear();
}

void ZenloFileControl::AttachEvents(ZenloFileControlEvents* sink) { sink_ = sink; }

HRESULT STDMETHODCALLTYPE ZenloFileControl::QueryInterface(REFIID riid, void** ppv) {
  return QueryPublishedInterface(this, IID_ZenloFileControl, riid, ppv);
}

ULONG STDMETHODCALLTYPE ZenloFileControl::AddRef() { return lifetime_->AddRef(); }

ULONG STDMETHODCALLTYPE ZenloFileControl::Release() {
  const ULONG left = lifetime_->Release([this] {
    closing_ = true;
    sink_ = nullptr;
    watch_->Timer1.SetInterval(0);
  });
  if (left == 0) delete this;
  return left;
}

CallGuard::CallGuard(ZenloFileControl& c) : hold_(c, *c.lifetime_) {}

void ZenloFileControl::RaiseMessage(const std::wstring& text) {
  std::wstring copy = text;
  RaiseHost([&](ZenloFileControlEvents& s) { s.Message(copy); });
}

void ZenloFileControl::RaiseForceQuit() {
  RaiseHost([](ZenloFileControlEvents& s) { s.ForceQuit(); });
}

void ZenloFileControl::RaiseClick() {
  RaiseHost([](ZenloFileControlEvents& s) { s.Click(); });
}

void ZenloFileControl::RaiseGetBookmark(std::int16_t slot, std::wstring& path) {
  RaiseHost([&](ZenloFileControlEvents& s) { s.GetBookmark(slot, path); });
}

void ZenloFileControl::SetPropertyStore(std::shared_ptr<FilePropertyStore> store) {
  propertyStore_ = store ? std::move(store) : DefaultFilePropertyStore();
}

void ZenloFileControl::SetShellFileInfo(std::shared_ptr<ShellFileInfo> shell) {
  shell_ = shell ? std::move(shell) : MakeShellFileInfo();
}

void ZenloFileControl::SetSoundPlayer(std::shared_ptr<SoundPlayer> sound) {
  sound_ = sound ? std::move(sound) : MakeSoundPlayer();
}

}  // namespace zenlo
