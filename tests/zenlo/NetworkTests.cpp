// The network neighbourhood: the path grammar, the nodes and their enumeration, browsing it in
// a listing and a tree, and the access checks of network levels. Wine has no network, so the
// enumeration is the fake tree of support/FakeNetwork.h.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "listing/model/NetResource.h"
#include "listing/model/NetworkPaths.h"
#include "support/ControlFixture.h"
#include "support/FakeNetwork.h"
#include "support/TempFolder.h"
#include "toolkit/Error.h"
#include "toolkit/Text.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::FakeNetwork;
using testsupport::TempFolder;

namespace {

const std::wstring kProvider = L"*:\\Fake Windows Network";
const std::wstring kDomain = kProvider + L"\\WORKGROUP";
const std::wstring kComputer = kDomain + L"\\\\ATLAS";
const std::wstring kShare = kComputer + L"\\public";

std::vector<std::wstring> Names(NetResources& nodes) {
  std::vector<std::wstring> names;
  for (const auto& n : nodes) names.push_back(n->RemoteName());
  return names;
}

struct Row {
  std::wstring Name, FullPath;
  sTypes Type;
  std::int16_t Level;
  bool operator==(const Row& o) const {
    return Name == o.Name && FullPath == o.FullPath && Type == o.Type && Level == o.Level;
  }
};
std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << tk::ToUtf8(r.Name) << " | " << tk::ToUtf8(r.FullPath) << " | " << r.Type << " | "
            << r.Level;
}

std::vector<Row> Rows(const ZenloFileControl& c) {
  std::vector<Row> rows;
  for (std::int32_t i = 0; i < c.ItemCount(); ++i) {
    const TypeListItem& item = c.ListItems()[static_cast<std::size_t>(i)];
    rows.push_back({item.Name, item.FullPath, item.ItemType, item.Level});
  }
  return rows;
}

}  // namespace

TEST(NetworkPaths, ClassifiesAndSplitsEveryLevel) {
  struct Case {
    std::wstring path;
    sTypes type;
    std::wstring provider, domain, computer;
  };
  const Case cases[] = {
      {L"*:\\", sEntireNetwork, L"", L"", L""},
      {L"*:", sEntireNetwork, L"", L"", L""},
      {kProvider, sNetwork, L"Fake Windows Network", L"", L""},
      {kProvider + L"\\", sNetwork, L"Fake Windows Network", L"", L""},
      {kDomain, sDomain, L"Fake Windows Network", L"WORKGROUP", L""},
      {kDomain + L"\\", sDomain, L"Fake Windows Network", L"WORKGROUP", L""},
      {kDomain + L"\\\\", sDomain, L"Fake Windows Network", L"WORKGROUP", L""},
      {kComputer, sComputer, L"Fake Windows Network", L"WORKGROUP", L"ATLAS"},
      {kComputer + L"\\", sComputer, L"Fake Windows Network", L"WORKGROUP", L"ATLAS"},
      {L"\\\\ATLAS", sComputer, L"", L"", L""},
      {L"\\\\ATLAS\\", sComputer, L"", L"", L""},
      {kShare, sDefault, L"Fake Windows Network", L"WORKGROUP", L"ATLAS"},
      {kShare + L"\\docs\\", sDefault, L"Fake Windows Network", L"WORKGROUP", L"ATLAS"},
      {L"\\\\ATLAS\\public", sDefault, L"", L"", L""},
      {L"C:\\Windows", sDefault, L"", L"", L""},
      {L"C:\\", sDefault, L"", L"", L""},
  };
  ControlHolder c;
  for (const Case& k : cases) {
    SCOPED_TRACE(tk::ToUtf8(k.path));
    EXPECT_EQ(c->GetObjectType(k.path), k.type);
    EXPECT_EQ(c->IsComputer(k.path), k.type == sComputer);
    if (k.type != sComputer) {
      EXPECT_EQ(c->IsDomain(k.path), k.type == sDomain);
    }
    // The whole network is told apart first; the provider test alone would take it too.
    if (k.type != sComputer && k.type != sDomain && k.type != sEntireNetwork) {
      EXPECT_EQ(c->IsNetwork(k.path), k.type == sNetwork);
    }
    EXPECT_EQ(SplitNetworkPath(k.path, sNetwork), k.provider);
    EXPECT_EQ(SplitNetworkPath(k.path, sDomain), k.domain);
    EXPECT_EQ(SplitNetworkPath(k.path, sComputer), k.computer);
  }
}

TEST(NetworkPaths, LevelsKeepTheComputersBackslashWithOrWithoutATrailingOne) {
  const std::vector<std::wstring> levels{L"Fake Windows Network", L"WORKGROUP", L"\\ATLAS"};
  EXPECT_EQ(NetworkPathSegments(kComputer), levels);
  EXPECT_EQ(NetworkPathSegments(kComputer + L"\\"), levels);
  EXPECT_TRUE(NetworkPathSegments(L"*:\\").empty());
}

TEST(NetResource, RootListsProvidersAndAServerItsShareAndPrinter) {
  auto fake = std::make_shared<FakeNetwork>();
  NetResource root(fake);
  NetResources& providers = root.Children();
  EXPECT_EQ(Names(providers), (std::vector<std::wstring>{L"Fake Windows Network", L"Second Network",
                                                         L"Microsoft Terminal Services",
                                                         L"Web Client Network"}));
  for (const auto& p : providers) EXPECT_EQ(p->ResourceTypeName(), L"Network");
  ASSERT_NE(providers.Item(1), nullptr);
  EXPECT_EQ(providers.Item(1)->RemoteName(), L"Fake Windows Network");
  EXPECT_EQ(providers.Item(0), nullptr);
  EXPECT_EQ(providers.Item(5), nullptr);
  EXPECT_EQ(providers.Item(L"No Such Network"), nullptr);

  NetResource* server = providers.Item(L"fake windows network")->Child(L"WORKGROUP")->Child(L"\\\\atlas");
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server->ShortName(), L"ATLAS");
  EXPECT_EQ(server->ResourceTypeName(), L"Server");
  NetResources& shares = server->Children();
  ASSERT_EQ(shares.Count(), 2);
  NetResource* share = shares.Item(L"\\\\ATLAS\\public");
  NetResource* printer = shares.Item(L"\\\\ATLAS\\laser");
  ASSERT_TRUE(share && printer);
  EXPECT_EQ(share->ShortName(), L"public");
  EXPECT_EQ(share->ResourceTypeName(), L"Share");
  EXPECT_EQ(share->ResourceType(), 3);
  EXPECT_EQ(share->Comment(), L"Shared files");
  EXPECT_EQ(share->Provider(), L"Fake Provider");
  EXPECT_EQ(printer->ResourceTypeName(), L"Printer");
  EXPECT_EQ(printer->ResourceType(), 255);
  EXPECT_EQ(share->Children().Count(), 0);

  EXPECT_THROW(shares.Remove(L"\\\\ATLAS\\nothing"), tk::RuntimeError);
  EXPECT_THROW(shares.Remove(3), tk::RuntimeError);
  shares.Remove(L"\\\\atlas\\LASER");
  EXPECT_EQ(Names(shares), (std::vector<std::wstring>{L"\\\\ATLAS\\public"}));
  EXPECT_EQ(fake->OpenHandles, 0);
}

TEST(NetResource, AsksAgainOnlyAfterAFailedOpen) {
  auto fake = std::make_shared<FakeNetwork>();
  NetResource root(fake);
  NetResource* domain = root.Child(L"Fake Windows Network")->Child(L"WORKGROUP");
  ASSERT_NE(domain, nullptr);
  fake->FailOpen.insert(L"WORKGROUP");
  EXPECT_EQ(domain->Children().Count(), 0);
  EXPECT_FALSE(domain->ChildrenRead());
  fake->FailOpen.clear();
  const std::size_t opensBefore = fake->Opened.size();
  EXPECT_EQ(domain->Children().Count(), 1);
  EXPECT_TRUE(domain->ChildrenRead());
  EXPECT_EQ(fake->Opened.size(), opensBefore + 2);  // the disk pass and the printer pass
  EXPECT_EQ(domain->Children().Count(), 1);
  EXPECT_EQ(fake->Opened.size(), opensBefore + 2);  // read once, kept
  EXPECT_EQ(fake->OpenHandles, 0);
}

TEST(NetResource, EnumerationEndsOnEveryFailureAndReadsTextsOnlyInsideTheBuffer) {
  const std::wstring longName = L"\\\\ATLAS\\" + std::wstring(300, L'x');
  struct Case {
    const char* what;
    void (*fault)(FakeNetwork&);
    std::vector<std::wstring> expected;
  };
  const Case cases[] = {
      {"a failing call with a count left", [](FakeNetwork& f) { f.FailEnum[L"\\\\ATLAS"] = ERROR_NO_NETWORK; }, {}},
      {"more data for ever", [](FakeNetwork& f) { f.MoreDataForever.insert(L"\\\\ATLAS"); }, {}},
      {"one entry a call", [](FakeNetwork& f) { f.EntriesPerCall = 1; },
       {L"\\\\ATLAS\\public", L"\\\\ATLAS\\laser"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    auto fake = std::make_shared<FakeNetwork>();
    k.fault(*fake);
    NetResource root(fake);
    NetResource* server = root.Child(L"Fake Windows Network")->Child(L"WORKGROUP")->Child(L"\\\\ATLAS");
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(Names(server->Children()), k.expected);
    EXPECT_TRUE(server->ChildrenRead());
    EXPECT_EQ(fake->OpenHandles, 0);
    EXPECT_LT(fake->EnumCalls, 40);
  }

  // A text longer than any fixed work string is read whole; a text pointing outside the
  // buffer is not read at all.
  auto fake = std::make_shared<FakeNetwork>();
  fake->Add(*fake->Find(L"\\\\ATLAS"), RESOURCEDISPLAYTYPE_SHARE, longName).Comment =
      std::wstring(2000, L'c');
  fake->CommentOutsideBuffer.insert(L"WORKGROUP");
  NetResource root(fake);
  NetResource* domain = root.Child(L"Fake Windows Network")->Child(L"WORKGROUP");
  NetResource* server = domain->Child(L"\\\\ATLAS");
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server->Comment(), L"");
  NetResource* wide = server->Child(longName);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(wide->RemoteName(), longName);
  EXPECT_EQ(wide->Comment(), std::wstring(2000, L'c'));
  EXPECT_EQ(wide->ShortName(), std::wstring(300, L'x'));
}

TEST(NetResource, ARemoteNameMetTwiceSkipsOnlyThatEntry) {
  auto fake = std::make_shared<FakeNetwork>();
  FakeNetwork::Node& workgroup = *fake->Find(L"WORKGROUP");
  fake->Add(workgroup, RESOURCEDISPLAYTYPE_SERVER, L"\\\\atlas");
  fake->Add(workgroup, RESOURCEDISPLAYTYPE_SERVER, L"\\\\ZEUS");
  NetResource root(fake);
  NetResource* domain = root.Child(L"Fake Windows Network")->Child(L"WORKGROUP");
  EXPECT_EQ(Names(domain->Children()), (std::vector<std::wstring>{L"\\\\ATLAS", L"\\\\ZEUS"}));
  EXPECT_EQ(domain->Child(L"\\\\ATLAS")->Children().Count(), 2);  // the first one is kept
}

TEST(NetworkBrowsing, AListingWalksDownEveryLevel) {
  ControlHolder c(fbFileAndFolder);
  c->SetNetEnumerator(std::make_shared<FakeNetwork>());
  struct Level {
    std::wstring path;
    std::vector<Row> rows;
  };
  const Level levels[] = {
      {L"*:\\",
       {{L"Fake Windows Network", kProvider, sNetwork, 1},
        {L"Second Network", L"*:\\Second Network", sNetwork, 1}}},
      {kProvider, {{L"WORKGROUP", kDomain, sDomain, 1}}},
      {kDomain + L"\\", {{L"ATLAS", kComputer, sServer, 1}}},
      {kComputer, {{L"public", kShare, sShare, 1}}},  // the printer is not listed
      {L"*:\\Second Network\\", {}},
  };
  for (const Level& level : levels) {
    SCOPED_TRACE(tk::ToUtf8(level.path));
    ASSERT_TRUE(c->GetFolderContents(level.path, true));
    EXPECT_EQ(Rows(*c), level.rows);
  }
  EXPECT_TRUE(c.host.Messages().empty());
}

// Below a domain a listing path needs a computer's "\\\\": without one it names no folder,
// and the listing keeps what it showed.
TEST(NetworkBrowsing, AListingRefusesALevelWithoutAComputer) {
  ControlHolder c(fbFileAndFolder);
  c->SetNetEnumerator(std::make_shared<FakeNetwork>());
  ASSERT_TRUE(c->GetFolderContents(kDomain + L"\\", true));
  const std::vector<Row> shown = Rows(*c);
  ASSERT_EQ(shown.size(), 1u);
  for (const std::wstring& path :
       {kProvider + L"\\Foo\\Bar\\", kDomain + L"\\Bar", kDomain + L"\\Bar\\Baz\\"}) {
    SCOPED_TRACE(tk::ToUtf8(path));
    const std::size_t before = c.host.Messages().size();
    EXPECT_FALSE(c->GetFolderContents(path, true));
    EXPECT_EQ(Rows(*c), shown);
    EXPECT_EQ(c->currentFolder(), kDomain + L"\\");
    ASSERT_EQ(c.host.Messages().size(), before + 1);
    EXPECT_NE(c.host.Messages().back().find(path), std::wstring::npos);
  }
}

TEST(NetworkBrowsing, ATreeExpandsAndCollapsesItsLevels) {
  ControlHolder tree(fbFolder);
  tree->SetNetEnumerator(std::make_shared<FakeNetwork>());
  tree->SetCurrentDrive(L"*");
  ASSERT_TRUE(tree->GetFolderContents(L"*:\\", true));
  const Row root{L"Entire Network", L"*:", sEntireNetwork, 0};
  const Row provider{L"Fake Windows Network", kProvider, sNetwork, 1};
  const Row second{L"Second Network", L"*:\\Second Network", sNetwork, 1};
  const Row domain{L"WORKGROUP", kDomain, sDomain, 2};
  const Row computer{L"ATLAS", kComputer, sServer, 3};
  const Row share{L"public", kShare, sShare, 4};
  EXPECT_EQ(Rows(*tree), (std::vector<Row>{root, provider, second}));

  tree->ExpandFolder(kProvider, Expand);
  EXPECT_EQ(Rows(*tree), (std::vector<Row>{root, provider, domain, second}));
  tree->ExpandFolder(kDomain, Expand);
  tree->ExpandFolder(kComputer, Expand);
  EXPECT_EQ(Rows(*tree), (std::vector<Row>{root, provider, domain, computer, share, second}));
  for (std::int32_t i = 2; i < 5; ++i)
    EXPECT_GT(tree->ListItems()[i].IndentX, tree->ListItems()[i - 1].IndentX);
  EXPECT_EQ(tree->ListItems()[3].FolderStatus, sExpanded);

  tree->ExpandFolder(kProvider, Collapse);
  EXPECT_EQ(Rows(*tree), (std::vector<Row>{root, provider, second}));
  tree->ExpandFolder(kProvider, Expand);  // the levels below open again as they were
  EXPECT_EQ(Rows(*tree), (std::vector<Row>{root, provider, domain, computer, share, second}));
  tree->CollapseAllFolders();
  EXPECT_EQ(Rows(*tree), (std::vector<Row>{root, provider, second}));
  EXPECT_TRUE(tree.host.Messages().empty());
}

TEST(CheckFolderAccess, NetworkLevelsAreLookedUpInTheEnumeration) {
  struct Case {
    std::wstring path;
    bool ok;
    std::vector<std::wstring> opened;  // enumerations opened, "" the root
  };
  const std::vector<std::wstring> rootOnly{L"", L""};
  const std::vector<std::wstring> toDomain{L"", L"", L"Fake Windows Network", L"Fake Windows Network"};
  const std::vector<std::wstring> toServers{L"", L"", L"Fake Windows Network", L"Fake Windows Network",
                                            L"WORKGROUP", L"WORKGROUP"};
  const Case cases[] = {
      {L"*:", true, {}},
      {L"*:\\", true, {}},
      {kProvider, true, rootOnly},  // a provider needs no walk
      {kProvider + L"\\", true, rootOnly},
      {L"*:\\Nowhere Network", false, rootOnly},
      {kDomain, true, toDomain},
      {kDomain + L"\\\\", true, toDomain},
      {kProvider + L"\\NOGROUP", false, toDomain},
      {kComputer, true, toServers},
      {kComputer + L"\\", true, toServers},
      {kDomain + L"\\\\GHOST", false, toServers},
      {L"*:\\Microsoft Terminal Services\\WORKGROUP", false, rootOnly},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(tk::ToUtf8(k.path));
    ControlHolder c;
    auto fake = std::make_shared<FakeNetwork>();
    c->SetNetEnumerator(fake);
    EXPECT_EQ(c->CheckFolderAccess(k.path, true), k.ok);
    EXPECT_EQ(fake->Opened, k.opened);
    EXPECT_TRUE(c.host.Messages().empty());  // network levels never show the message
  }
}

TEST(CheckFolderAccess, FoldersAreProbedAndSystemVolumeInformationNeverIs) {
  TempFolder dir;
  const std::wstring svi = dir.Folder(L"System Volume Information");
  const std::wstring plain = dir.Folder(L"plain");
  ControlHolder c;
  c->SetNetEnumerator(std::make_shared<FakeNetwork>());
  EXPECT_TRUE(c->CheckFolderAccess(plain, true));
  EXPECT_FALSE(c->CheckFolderAccess(svi, false));
  EXPECT_TRUE(c.host.Messages().empty());
  const std::wstring mixed = dir.Path() + L"sYSTEM vOLUME iNFORMATION";
  EXPECT_FALSE(c->CheckFolderAccess(mixed, true));
  ASSERT_EQ(c.host.Messages().size(), 1u);
  EXPECT_EQ(c.host.Messages()[0],
            L"The selected folder (folder path and name shown below) could not be accessed.\r\n\r\n"
            L"Selected folder: " + mixed);

  // A path under the network tree is probed in its form from the first "\\" on: here a local
  // folder in its "\\?\" form, which a probe of the whole text could never find.
  const std::wstring underNetwork = kDomain + L"\\\\?\\" + plain;
  EXPECT_TRUE(c->CheckFolderAccess(underNetwork, true));
  const std::wstring missing = kShare + L"\\gone";
  EXPECT_FALSE(c->CheckFolderAccess(missing, true));
  ASSERT_EQ(c.host.Messages().size(), 2u);
  EXPECT_EQ(c.host.Messages()[1],
            L"The selected folder (folder path and name shown below) could not be accessed.\r\n\r\n"
            L"Selected folder: " + missing.substr(3));
}

// The real enumeration (Wine answers "no network"): the neighbourhood reads without a message,
// and a provider passes the check exactly when the listing shows it.
TEST(NetworkBrowsing, TheRealEnumerationReadsWhateverTheMachineHas) {
  ControlHolder c(fbFileAndFolder);
  ASSERT_TRUE(c->GetFolderContents(L"*:\\", true));
  EXPECT_TRUE(c.host.Messages().empty());
  EXPECT_FALSE(c->CheckFolderAccess(L"*:\\No Such Provider Here", true));
  for (const Row& row : Rows(*c)) {
    EXPECT_EQ(row.Type, sNetwork);
    EXPECT_TRUE(c->CheckFolderAccess(row.FullPath, false)) << tk::ToUtf8(row.FullPath);
  }
  EXPECT_TRUE(c.host.Messages().empty());
}
