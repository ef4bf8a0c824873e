#include <gtest/gtest.h>

#include "toolkit/Gdi.h"
#include "toolkit/TextMeasure.h"

namespace {

// The cached widths must agree with GDI's own measurement of the same text.
TEST(TextMeasure, AgreesWithGdiForEveryKindOfText) {
  tk::Font font(CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                            DEFAULT_PITCH, L"Arial"));
  tk::TextMeasure measure;
  measure.SetFont(font.Get());
  tk::MemoryDc dc;
  tk::SelectObjectScope use(dc.Get(), font.Get());
  const std::wstring texts[] = {L"",
                                L"notes.txt",
                                L"3,000,000,000",
                                L"WWW iii MMM",
                                L"\u00fcml\u00e4ut \u00e9t\u00e9",
                                L"e\u0301 combining",
                                L"\u6587\u4ef6.txt",
                                L"emoji \U0001F600"};
  for (const auto& t : texts) {
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), t.c_str(), static_cast<int>(t.size()), &size);
    EXPECT_EQ(measure.Width(t), size.cx) << t.size();
    EXPECT_EQ(measure.Width(t), size.cx) << "cached " << t.size();
  }
}

}  // namespace
