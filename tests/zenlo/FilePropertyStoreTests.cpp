// The property store on real files: plain files here keep their properties in the per-user
// records (this file system offers no property sets for them), compound documents in their
// own property sets.
#include <gtest/gtest.h>
#include <objbase.h>
#include <propidl.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "listing/model/FilePropertyStore.h"
#include "listing/model/PropertySetFile.h"
#include "support/ControlFixture.h"
#include "support/ListingLookup.h"
#include "support/TempFolder.h"
#include "toolkit/Error.h"
#include "zenlo/ZenloFileControl.h"

namespace {

using namespace zenlo;
using testsupport::ReadAll;
using testsupport::TempFolder;
using testsupport::FindItem;

constexpr wchar_t kColor[] = L"VarnelloColor";

long ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const tk::RuntimeError& e) {
    return e.Info().Number;
  }
  return 0;
}

// A compound document with a summary comment, written the way document programs do.
std::wstring MakeCompoundDocument(const std::wstring& path, const std::wstring& comment) {
  IStorage* storage = nullptr;
  EXPECT_EQ(StgCreateStorageEx(path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                               STGFMT_STORAGE, 0, nullptr, nullptr, IID_IStorage,
                               reinterpret_cast<void**>(&storage)),
            S_OK);
  IPropertySetStorage* sets = nullptr;
  storage->QueryInterface(IID_IPropertySetStorage, reinterpret_cast<void**>(&sets));
  IPropertyStorage* summary = nullptr;
  EXPECT_EQ(sets->Create(FMTID_SummaryInformation, nullptr, PROPSETFLAG_DEFAULT,
                         STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, &summary),
            S_OK);
  PROPSPEC spec{};
  spec.ulKind = PRSPEC_PROPID;
  spec.propid = PIDSI_COMMENTS;
  PROPVARIANT v;
  PropVariantInit(&v);
  v.vt = VT_LPWSTR;
  v.pwszVal = const_cast<LPWSTR>(comment.c_str());
  EXPECT_EQ(summary->WriteMultiple(1, &spec, &v, 2), S_OK);
  summary->Commit(STGC_DEFAULT);
  summary->Release();
  IPropertyStorage* document = nullptr;
  EXPECT_EQ(sets->Create(FMTID_DocSummaryInformation, nullptr, PROPSETFLAG_DEFAULT,
                         STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, &document),
            S_OK);
  spec.propid = PIDDSI_CATEGORY;
  v.pwszVal = const_cast<LPWSTR>(L"the category");
  EXPECT_EQ(document->WriteMultiple(1, &spec, &v, 2), S_OK);
  document->Commit(STGC_DEFAULT);
  document->Release();
  sets->Release();
  storage->Release();
  return path;
}

// A property as the document itself holds it, read without the store.
std::optional<std::wstring> DocumentProperty(const std::wstring& path, const FMTID& set,
                                             const PROPSPEC& spec) {
  IStorage* storage = nullptr;
  if (FAILED(StgOpenStorageEx(path.c_str(), STGM_READ | STGM_SHARE_DENY_WRITE, STGFMT_ANY, 0,
                              nullptr, nullptr, IID_IStorage, reinterpret_cast<void**>(&storage))))
    return std::nullopt;
  std::optional<std::wstring> out;
  IPropertySetStorage* sets = nullptr;
  storage->QueryInterface(IID_IPropertySetStorage, reinterpret_cast<void**>(&sets));
  IPropertyStorage* user = nullptr;
  if (sets && SUCCEEDED(sets->Open(set, STGM_READ | STGM_SHARE_EXCLUSIVE, &user))) {
    PROPVARIANT v;
    PropVariantInit(&v);
    if (user->ReadMultiple(1, &spec, &v) == S_OK && v.vt == VT_LPWSTR) out = v.pwszVal;
    PropVariantClear(&v);
    user->Release();
  }
  if (sets) sets->Release();
  storage->Release();
  return out;
}

std::optional<std::wstring> DocumentUserProperty(const std::wstring& path, const std::wstring& name) {
  PROPSPEC spec{};
  spec.ulKind = PRSPEC_LPWSTR;
  spec.lpwstr = const_cast<LPOLESTR>(name.c_str());
  return DocumentProperty(path, FMTID_UserDefinedProperties, spec);
}

std::optional<std::wstring> DocumentCategory(const std::wstring& path) {
  PROPSPEC spec{};
  spec.ulKind = PRSPEC_PROPID;
  spec.propid = PIDDSI_CATEGORY;
  return DocumentProperty(path, FMTID_DocSummaryInformation, spec);
}

// Where this platform keeps a compound document's user properties (printed for the run's log).
bool DocumentsKeepUserProperties() {
  const bool kept = PropertySetsKeepUserProperties();
  std::printf("[ store    ] compound documents' user properties: %s\n",
              kept ? "their own property sets" : "the per-user records");
  return kept;
}

struct StoreFixture : ::testing::Test {
  TempFolder files;
  TempFolder profile;  // the per-user records live here
  std::wstring Records() const { return profile.Path() + L"properties"; }
  std::shared_ptr<FilePropertyStore> NewStore() const { return MakeFilePropertyStore(profile.Path()); }
};

// Both back ends answer the named-property operations alike; the table names the store used.
TEST_F(StoreFixture, NamedPropertiesAddGetSetRemoveWithDistinctErrors) {
  struct Case {
    const wchar_t* name;
    bool compound;
  } cases[] = {{L"plain.txt", false}, {L"document.doc", true}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.compound ? "property sets" : "per-user records");
    const std::wstring path =
        k.compound ? MakeCompoundDocument(files.Path() + k.name, L"") : files.File(k.name, 10);
    auto store = NewStore();
    auto props = store->Open(path);
    EXPECT_FALSE(props->UserProperty(kColor));
    EXPECT_EQ(ErrorOf([&] { props->SetUserProperty(kColor, L"red"); }), kErrPropertyNotFound);
    EXPECT_EQ(ErrorOf([&] { props->RemoveUserProperty(kColor); }), kErrPropertyNotFound);

    props->AddUserProperty(kColor, L"red");
    EXPECT_EQ(props->UserProperty(L"varnellocolor"), L"red");
    // A name already present, in any case, is its own error and changes nothing.
    EXPECT_EQ(ErrorOf([&] { props->AddUserProperty(L"VARNELLOCOLOR", L"blue"); }), kErrPropertyExists);
    EXPECT_EQ(store->Open(path)->UserProperty(kColor), L"red");

    store->Open(path)->SetUserProperty(kColor, L"dark green");
    EXPECT_EQ(store->Open(path)->UserProperty(kColor), L"dark green");
    // Another name beside it is kept apart.
    store->Open(path)->AddUserProperty(L"Other", L"x");
    store->Open(path)->RemoveUserProperty(kColor);
    auto after = NewStore()->Open(path);
    EXPECT_FALSE(after->UserProperty(kColor));
    EXPECT_EQ(after->UserProperty(L"Other"), L"x");

    if (k.compound) {
      // Written into the document only where its property sets keep them, and never at the
      // cost of the document's other properties.
      EXPECT_EQ(DocumentUserProperty(path, L"Other").has_value(), DocumentsKeepUserProperties());
      EXPECT_EQ(DocumentCategory(path), L"the category");
    }
  }
  // The plain file, and the document where its sets are not used, went to the per-user records.
  const std::string records = ReadAll(Records());
  EXPECT_EQ(std::count(records.begin(), records.end(), '\n'),
            DocumentsKeepUserProperties() ? 2 : 3);  // the header and a record per file
  EXPECT_NE(records.find("Other\tx"), std::string::npos);
}

TEST_F(StoreFixture, CompoundDocumentKeepsItsCommentAndOtherProperties) {
  const std::wstring doc = MakeCompoundDocument(files.Path() + L"report.doc", L"quarterly figures");
  NewStore()->Open(doc)->AddUserProperty(kColor, L"blue");
  NewStore()->Open(doc)->SetUserProperty(kColor, L"red");
  auto props = NewStore()->Open(doc);
  EXPECT_EQ(props->Comments(), L"quarterly figures");
  EXPECT_EQ(props->UserProperty(kColor), L"red");
  EXPECT_EQ(DocumentCategory(doc), L"the category");
  // Kept in the document, the colour travels with a copy of it.
  const std::wstring copy = files.Path() + L"copy.doc";
  ASSERT_TRUE(CopyFileW(doc.c_str(), copy.c_str(), TRUE));
  EXPECT_EQ(NewStore()->Open(copy)->UserProperty(kColor).has_value(), DocumentsKeepUserProperties());
  EXPECT_EQ(NewStore()->Open(copy)->Comments(), L"quarterly figures");
}

TEST_F(StoreFixture, PerUserColourSurvivesRereadRenameMoveAndRestart) {
  const std::wstring original = files.File(L"a.txt", 3);
  files.File(L"neighbour.txt", 3);
  files.Folder(L"sub");
  NewStore()->Open(original)->AddUserProperty(kColor, L"Red");

  auto store = NewStore();
  struct Step {
    const wchar_t* to;  // empty: no move, just a read
  } steps[] = {{L""}, {L"renamed.txt"}, {L"sub\\moved.txt"}, {L"sub\\moved again.log"}};
  std::wstring at = original;
  for (const auto& s : steps) {
    if (*s.to) {
      const std::wstring next = files.Path() + s.to;
      ASSERT_TRUE(MoveFileW(at.c_str(), next.c_str()));
      at = next;
    }
    SCOPED_TRACE(at);
    EXPECT_EQ(store->Open(at)->UserProperty(kColor), L"Red");      // same store, re-read
    EXPECT_EQ(NewStore()->Open(at)->UserProperty(kColor), L"Red");  // after a restart
  }
  EXPECT_FALSE(store->Open(files.Path() + L"neighbour.txt")->UserProperty(kColor));
}

// Paths Win32 would turn into other paths (a trailing dot or blank dropped) or refuse (past
// its length limit): the store reaches the file by its own name, and the records their folder.
TEST_F(StoreFixture, OddPathsKeepTheirValuesAcrossARestart) {
  const std::wstring deep = files.DeepRelative();
  struct Case {
    const char* name;
    std::wstring relative;
  } cases[] = {
      {"in a folder ending in a dot", L"trail dot.\\a.txt"},
      {"in a folder ending in a blank", L"trail blank \\a.txt"},
      {"a name ending in a dot", L"ends in a dot."},
      {"past 260 characters", deep + L"deep dot.\\a.txt"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const std::wstring path = files.File(k.relative, 3);
    EXPECT_EQ(ErrorOf([&] { NewStore()->Open(path)->AddUserProperty(kColor, L"Red"); }), 0);
    EXPECT_EQ(ErrorOf([&] { EXPECT_EQ(NewStore()->Open(path)->UserProperty(kColor), L"Red"); }),
              0);
  }

  const std::wstring oddProfile = profile.Path() + L"records dot.\\";
  const std::wstring path = files.File(L"b.txt", 3);
  EXPECT_EQ(ErrorOf([&] {
              MakeFilePropertyStore(oddProfile)->Open(path)->AddUserProperty(kColor, L"Blue");
            }),
            0);
  EXPECT_EQ(MakeFilePropertyStore(oddProfile)->Open(path)->UserProperty(kColor), L"Blue");
  EXPECT_FALSE(ReadAll(oddProfile + L"properties").empty());
}

TEST_F(StoreFixture, PerUserValuesRoundTripAnyText) {
  const std::wstring path = files.File(L"x.txt");
  const std::wstring names[] = {L"tab\there", L"new\r\nline", L"back\\slash \\t", L"\u00e9t\u00e9 \u6587"};
  {
    auto props = NewStore()->Open(path);
    for (const auto& n : names) props->AddUserProperty(n, n + L" value\t\\n");
  }
  auto props = NewStore()->Open(path);
  for (const auto& n : names) EXPECT_EQ(props->UserProperty(n), n + L" value\t\\n");
}

TEST_F(StoreFixture, AFailedRecordsWriteIsReportedAndLosesNothing) {
  const std::wstring path = files.File(L"x.txt");
  auto props = NewStore()->Open(path);
  props->AddUserProperty(kColor, L"red");
  const std::string before = ReadAll(Records());
  // The temporary file's name is taken by a folder: the write cannot happen.
  const std::wstring blocker = Records() + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
  EXPECT_NE(ErrorOf([&] { props->SetUserProperty(kColor, L"blue"); }), 0);
  EXPECT_NE(ErrorOf([&] { props->AddUserProperty(L"Other", L"1"); }), 0);
  EXPECT_EQ(props->UserProperty(kColor), L"red");  // not counted as written
  EXPECT_FALSE(props->UserProperty(L"Other"));
  EXPECT_EQ(ReadAll(Records()), before);
  RemoveDirectoryW(blocker.c_str());
}

// A read-only document is never changed: where the colour would go into it, the write fails
// and is not counted; otherwise it goes to the per-user records.
TEST_F(StoreFixture, ReadOnlyCompoundDocumentIsNeverChanged) {
  const std::wstring doc = MakeCompoundDocument(files.Path() + L"locked.doc", L"");
  const std::string before = ReadAll(doc);
  ASSERT_TRUE(SetFileAttributesW(doc.c_str(), FILE_ATTRIBUTE_READONLY));
  auto props = NewStore()->Open(doc);  // reading still works
  const long error = ErrorOf([&] { props->AddUserProperty(kColor, L"red"); });
  if (DocumentsKeepUserProperties()) {
    EXPECT_NE(error, 0);
    EXPECT_FALSE(props->UserProperty(kColor));
  } else {
    EXPECT_EQ(error, 0);
    EXPECT_EQ(NewStore()->Open(doc)->UserProperty(kColor), L"red");
  }
  EXPECT_EQ(ReadAll(doc), before);
  SetFileAttributesW(doc.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(StoreFixture, FileInUseAndMissingFileFailToOpen) {
  const std::wstring path = files.File(L"busy.txt");
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ErrorOf([&] { NewStore()->Open(path); }), kErrPropertiesUnavailable);
  CloseHandle(h);
  const long missing = ErrorOf([&] { NewStore()->Open(files.Path() + L"gone.txt"); });
  EXPECT_NE(missing, 0);
  EXPECT_NE(missing, kErrPropertiesUnavailable);
}

// The control's read shows what the store holds: the colour of a plain file and the comment
// and colour of a compound document.
TEST_F(StoreFixture, ReadShowsStoredColoursAndComments) {
  const std::wstring plain = files.File(L"plain.txt", 5);
  const std::wstring doc = MakeCompoundDocument(files.Path() + L"doc.doc", L"a note");
  auto store = NewStore();
  store->Open(plain)->AddUserProperty(kColor, L"RED");
  store->Open(doc)->AddUserProperty(kColor, L"blue");
  testsupport::ControlHolder c;
  c->SetPropertyStore(NewStore());
  ASSERT_TRUE(c->GetFolderContents(files.Path(), true));
  const TypeListItem* p = FindItem(*c, L"plain.txt");
  const TypeListItem* d = FindItem(*c, L"doc.doc");
  ASSERT_TRUE(p && d);
  EXPECT_EQ(p->ItemColor, static_cast<std::int32_t>(RGB(255, 0, 0)));
  EXPECT_EQ(d->ItemColor, static_cast<std::int32_t>(RGB(0, 0, 255)));
  EXPECT_EQ(d->Comments(), L"a note");
  EXPECT_EQ(p->Comments(), L"");
}

// A listing's read opens a file only where it can hold properties: a short plain file on a
// volume the per-user records know nothing of is left closed. A file held by another program
// shows which files were opened: those are marked as in use.
TEST_F(StoreFixture, ListingReadOpensOnlyFilesThatCanHoldProperties) {
  const std::wstring small = files.File(L"small.txt", 100);
  const std::wstring large = files.File(L"large.bin", 4096);  // the size of a compound document
  const std::wstring other = files.File(L"other.txt", 3);
  auto hold = [](const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                       nullptr);
  };
  HANDLE heldSmall = hold(small), heldLarge = hold(large);
  ASSERT_NE(heldSmall, INVALID_HANDLE_VALUE);
  ASSERT_NE(heldLarge, INVALID_HANDLE_VALUE);
  auto store = NewStore();
  store->Open(other);  // the store learns what this volume offers plain files
  const bool plainSets = ReadPropertySets(other).has_value();
  std::printf("[ store    ] plain files of this volume carry property sets: %s\n",
              plainSets ? "yes" : "no");
  testsupport::ControlHolder c;
  c->SetPropertyStore(store);
  ASSERT_TRUE(c->GetFolderContents(files.Path(), true));
  // Large enough for a compound document: opened. The short one only where plain files keep
  // property sets.
  EXPECT_TRUE(FindItem(*c, L"large.bin")->IsOpen);
  EXPECT_EQ(FindItem(*c, L"small.txt")->IsOpen, plainSets);

  // Once the records hold a file of this volume, every file is looked up there, by the index
  // its folder's enumeration gives: still without opening the short ones.
  NewStore()->Open(other)->AddUserProperty(kColor, L"red");
  c->RefreshList();
  EXPECT_EQ(FindItem(*c, L"other.txt")->ColorWord(), L"red");
  EXPECT_EQ(FindItem(*c, L"small.txt")->ColorWord(), L"");
  EXPECT_EQ(FindItem(*c, L"small.txt")->IsOpen, plainSets);
  CloseHandle(heldSmall);
  CloseHandle(heldLarge);
}

}  // namespace
