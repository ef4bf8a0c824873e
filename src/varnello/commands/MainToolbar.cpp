#include "commands/MainToolbar.h"

#include "toolkit/Gdi.h"

namespace varnello {

const std::vector<std::wstring>& MainImageKeys() {
  static const std::vector<std::wstring> keys = {
      L"pane0x",    L"pane1x",         L"pane3x",         L"pane2x",          L"pane4x",
      L"headright", L"headleft",       L"headasc",        L"headdes",         L"headdesadd",
      L"headascadd", L"calculate",     L"layouthorizontal", L"layoutvertical", L"layoutautoexpand",
      L"headleft2", L"headright2",     L"headasc1",       L"headdesadd1",     L"headdes1",
      L"headascadd1", L"enhancedmode", L"skindefault",    L"skinsecond",      L"choosecolors",
      L"commandline", L"recyclebin",   L"recycleempty",   L"recycleempty2",   L"exit",
      L"about3",    L"vr1",            L"about4",         L"pane0",           L"pane1",
      L"pane2",     L"pane3",          L"pane4",          L"compare_date",    L"compare_size",
      L"compare",   L"colorcode",      L"options1",       L"options"};
  return keys;
}

const std::vector<tk::Toolbar::Button>& MainToolbarButtons() {
  using B = tk::Toolbar::Button;
  auto button = [](const wchar_t* key, const wchar_t* tip) { return B{key, tip}; };
  auto check = [](const wchar_t* key, const wchar_t* tip) {
    B b{key, tip};
    b.Check = true;
    return b;
  };
  auto separator = [] {
    B b;
    b.Separator = true;
    return b;
  };
  static const std::vector<B> buttons = [&] {
    B placeholder{L"placeholder243", L""};
    placeholder.SpaceWidth = 4;
    return std::vector<B>{
        placeholder,
        check(L"pane0", L""),
        check(L"pane1", L""),
        check(L"pane2", L""),
        check(L"pane3", L""),
        check(L"pane4", L""),
        separator(),
        button(L"headleft", L"Move active heading left."),
        button(L"headright", L"Move active heading right."),
        button(L"headasc", L"Sort active heading ascending."),
        button(L"headdes", L"Sort active heading descending."),
        button(L"headascadd", L"Add to current sort. Ascending."),
        button(L"headdesadd", L"Add to current sort. Descending."),
        separator(),
        check(L"layoutvertical", L"Arrange panes vertically."),
        check(L"layouthorizontal", L"Arrange panes horizontally."),
        check(L"layoutautoexpand", L"When active, automatically increases pane size."),
        separator(),
        check(L"useenhancedmode", L"When active, color coding and comments are shown."),
        check(L"showcommandline", L"Show/hide the command line."),
        check(L"showcolor", L"Show color coding and comments."),
        separator(),
        button(L"skindefault", L"Use the default skin."),
        button(L"skinsecond", L"Use an alternate skin."),
        button(L"choosecolors", L"Create your own skin."),
        separator(),
        check(L"compare_size", L"Include size when comparing folders."),
        check(L"compare_date", L"Include date when comparing folders."),
        button(L"compare", L"Compare folder contents."),
        separator(),
        button(L"recyclebin", L"Open the recycle bin."),
    };
  }();
  return buttons;
}

const std::vector<std::pair<std::wstring, std::wstring>>& ToolbarPictures() {
  static const std::vector<std::pair<std::wstring, std::wstring>> table = {
      {L"pane0", L"pane0"},
      {L"pane1", L"pane1"},
      {L"pane2", L"pane2"},
      {L"pane3", L"pane3"},
      {L"pane4", L"pane4"},
      {L"headleft", L"headleft2"},
      {L"headright", L"headright2"},
      {L"headasc", L"headasc1"},
      {L"headdes", L"headdes1"},
      {L"headascadd", L"headascadd1"},
      {L"headdesadd", L"headdesadd1"},
      {L"layouthorizontal", L"layouthorizontal"},
      {L"layoutvertical", L"layoutvertical"},
      {L"layoutautoexpand", L"layoutautoexpand"},
      {L"useenhancedmode", L"enhancedmode"},
      {L"skindefault", L"skindefault"},
      {L"skinsecond", L"skinsecond"},
      {L"choosecolors", L"choosecolors"},
      {L"showcommandline", L"commandline"},
      {L"recyclebin", L"recyclebin"},
      {L"compare_size", L"compare_size"},
      {L"compare_date", L"compare_date"},
      {L"compare", L"compare"},
      {L"showcolor", L"colorcode"},
  };
  return table;
}

namespace {

constexpr COLORREF kMask = RGB(255, 0, 255);
constexpr int kSize = 16;

// The stand-in for a missing picture: a tinted tile with a short mark on it.
struct Artwork {
  COLORREF Tile;
  const wchar_t* Mark;
};

Artwork ArtworkFor(const std::wstring& key) {
  struct Row {
    const wchar_t* Prefix;
    Artwork Art;
  };
  static const Row rows[] = {
      {L"pane", {RGB(70, 110, 190), nullptr}},
      {L"headleft", {RGB(90, 150, 90), L"<"}},
      {L"headright", {RGB(90, 150, 90), L">"}},
      {L"headascadd", {RGB(60, 120, 170), L"+"}},
      {L"headdesadd", {RGB(170, 100, 60), L"+"}},
      {L"headasc", {RGB(60, 120, 170), L"A"}},
      {L"headdes", {RGB(170, 100, 60), L"Z"}},
      {L"calculate", {RGB(120, 120, 40), L"="}},
      {L"layouthorizontal", {RGB(110, 90, 160), L"="}},
      {L"layoutvertical", {RGB(110, 90, 160), L"||"}},
      {L"layoutautoexpand", {RGB(110, 90, 160), L"+"}},
      {L"enhancedmode", {RGB(200, 140, 20), L"E"}},
      {L"skindefault", {RGB(80, 160, 200), L"1"}},
      {L"skinsecond", {RGB(90, 170, 90), L"2"}},
      {L"choosecolors", {RGB(200, 80, 140), L"S"}},
      {L"commandline", {RGB(40, 40, 40), L">"}},
      {L"recyclebin", {RGB(100, 130, 100), L"R"}},
      {L"recycleempty", {RGB(150, 150, 150), L"0"}},
      {L"exit", {RGB(190, 50, 50), L"x"}},
      {L"about", {RGB(70, 110, 190), L"?"}},
      {L"vr1", {RGB(50, 67, 149), L"V"}},
      {L"compare_date", {RGB(60, 140, 140), L"d"}},
      {L"compare_size", {RGB(60, 140, 140), L"s"}},
      {L"compare", {RGB(60, 140, 140), L"C"}},
      {L"colorcode", {RGB(220, 60, 60), L"c"}},
      {L"options", {RGB(120, 120, 120), L"o"}},
  };
  for (const Row& r : rows)
    if (key.rfind(r.Prefix, 0) == 0) return r.Art;
  return {RGB(128, 128, 128), L"?"};
}

HBITMAP DrawImage(HDC screen, const std::wstring& key) {
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kSize, kSize);
  if (!bitmap) return nullptr;
  HDC dc = CreateCompatibleDC(screen);
  {
    tk::SelectObjectScope keep(dc, bitmap);
    RECT all{0, 0, kSize, kSize};
    tk::Brush mask(CreateSolidBrush(kMask));
    FillRect(dc, &all, mask.Get());
    const Artwork art = ArtworkFor(key);
    tk::Brush tile(CreateSolidBrush(art.Tile));
    tk::Pen edge(CreatePen(PS_SOLID, 1, RGB(30, 30, 30)));
    {
      tk::SelectObjectScope b(dc, tile.Get());
      tk::SelectObjectScope p(dc, edge.Get());
      RoundRect(dc, 1, 1, kSize - 1, kSize - 1, 4, 4);
    }
    std::wstring mark;
    if (art.Mark) {
      mark = art.Mark;
    } else {
      // Pane pictures carry the pane's number as the user counts it.
      for (wchar_t c : key)
        if (c >= L'0' && c <= L'9') mark = std::wstring(1, static_cast<wchar_t>(c + 1));
    }
    tk::Font font(CreateFontW(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                              NONANTIALIASED_QUALITY, 0, L"Tahoma"));
    tk::SelectObjectScope f(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT text{1, 1, kSize - 1, kSize - 1};
    DrawTextW(dc, mark.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  DeleteDC(dc);
  return bitmap;
}

}  // namespace

HBITMAP LoadMainPicture(const std::wstring& key) {
  return static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), key.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

bool BuildMainImages(tk::ImageList& images) {
  if (!images.Create(kSize, kSize)) return false;
  HDC screen = GetDC(nullptr);
  bool ok = true;
  for (const std::wstring& key : MainImageKeys()) {
    tk::Bitmap bitmap(LoadMainPicture(key));
    COLORREF mask = kPictureKeyColour;
    if (!bitmap.Get()) {
      bitmap.Reset(DrawImage(screen, key));
      mask = kMask;
    }
    if (images.Add(key, bitmap.Get(), mask) < 0) ok = false;
  }
  ReleaseDC(nullptr, screen);
  return ok;
}

void AddMainToolbarButtons(tk::Toolbar& toolbar) {
  for (const auto& b : MainToolbarButtons()) toolbar.AddButton(b);
}

}  // namespace varnello
