// MRender text through Pango, private fonts and the text language.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <filesystem>

#include "render_test_util.h"
#include "tessel/core/fonts.h"
#include "tessel/core/manager.h"
#include "tessel/core/render.h"

using render_test::Alpha;
using render_test::NewSurface;

namespace {

bool CjkFontsInstalled() {
  int weight = 0;
  return !tessel_fonts::InstalledFamilyForFace(L"SourceHanSansCN-Regular", &weight).empty();
}

int InkedPixels(cairo_surface_t* s) {
  int n = 0;
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (Alpha(s, x, y) > 0) ++n;
  return n;
}

}  // namespace

TEST(RenderText, AllScriptsRenderWithRealGlyphs) {
  if (!CjkFontsInstalled()) GTEST_SKIP() << "fonts-noto-cjk is not installed";
  struct Case {
    int lcid;
    std::wstring text;
  };
  const Case cases[] = {
      {1033, L"Keyboard settings"},
      {1049, L"Настройки клавиатуры"},
      {1041, L"キーボードの設定"},
      {2052, L"键盘设置 灯光效果"},
  };
  MFont font;  // the toolkit face, "SourceHanSansCN-Regular"
  for (const Case& c : cases) {
    SetTesselTextLanguage(c.lcid);
    EXPECT_EQ(MRender::GetUnknownGlyphsCount(c.text, font), 0) << c.lcid;
    cairo_surface_t* s = NewSurface(300, 40);
    cairo_t* cr = cairo_create(s);
    MRender::DrawTextW(cr, c.text, MRect(0, 0, 300, 40), 0xFFFFFFFF, font, MDT_LEFT | MDT_VCENTER | MDT_SINGLELINE);
    cairo_destroy(cr);
    EXPECT_GT(InkedPixels(s), 50) << c.lcid;
    cairo_surface_destroy(s);
    const MSize size = MRender::GetTextBounds(c.text, font);
    EXPECT_GT(size.cx, 40) << c.lcid;
    EXPECT_GE(size.cy, 15) << c.lcid;
  }
  SetTesselTextLanguage(1033);
}

TEST(RenderText, LanguageChoosesChineseOrJapaneseGlyphs) {
  if (!CjkFontsInstalled()) GTEST_SKIP() << "fonts-noto-cjk is not installed";
  MFont latin;
  latin.face = L"Open Sans";  // no CJK glyphs: the fallback font depends on the language
  const std::wstring text = L"键盘设置";
  SetTesselTextLanguage(2052);
  EXPECT_NE(MRender::GetTextRunFamily(text, latin).find("CJK SC"), std::string::npos)
      << MRender::GetTextRunFamily(text, latin);
  SetTesselTextLanguage(1041);
  EXPECT_NE(MRender::GetTextRunFamily(text, latin).find("CJK JP"), std::string::npos)
      << MRender::GetTextRunFamily(text, latin);
  // The toolkit face stands for Source Han Sans CN: Simplified Chinese forms.
  SetTesselTextLanguage(1033);
  EXPECT_NE(MRender::GetTextRunFamily(text, MFont()).find("CJK SC"), std::string::npos);
  EXPECT_EQ(GetTesselTextLanguage(), 1033);
}

TEST(RenderText, OpenSansSemiboldFace) {
  MFont font;
  font.face = L"Open Sans Semibold";
  font.size = 12;
  EXPECT_EQ(MRender::GetUnknownGlyphsCount(L"Open Sans 123", font), 0);
  int weight = 0;
  const std::string family = tessel_fonts::InstalledFamilyForFace(L"Open Sans Semibold", &weight);
  if (family.empty()) GTEST_SKIP() << "fonts-open-sans is not installed";
  EXPECT_EQ(family, "Open Sans");
  EXPECT_EQ(weight, 600);
}

TEST(RenderText, AlignmentPlacesText) {
  MFont font;
  font.size = 14;
  auto first_inked_column = [](cairo_surface_t* s) {
    for (int x = 0; x < cairo_image_surface_get_width(s); ++x)
      for (int y = 0; y < cairo_image_surface_get_height(s); ++y)
        if (Alpha(s, x, y) > 0) return x;
    return -1;
  };
  int columns[3];
  for (int align = 0; align < 3; ++align) {
    cairo_surface_t* s = NewSurface(300, 30);
    cairo_t* cr = cairo_create(s);
    MRender::DrawString(cr, L"Macro", MRect(0, 0, 300, 30), font, 0xFF000000, align, 4);
    cairo_destroy(cr);
    columns[align] = first_inked_column(s);
    cairo_surface_destroy(s);
  }
  EXPECT_GE(columns[0], 0);
  EXPECT_LT(columns[0], 5);
  EXPECT_GT(columns[1], 100);
  EXPECT_LT(columns[1], 150);
  EXPECT_GT(columns[2], 240);
}

TEST(RenderText, ClippedToRectangle) {
  MFont font;
  font.size = 20;
  cairo_surface_t* s = NewSurface(200, 40);
  cairo_t* cr = cairo_create(s);
  MRender::DrawTextW(cr, L"A long text that does not fit", MRect(10, 10, 60, 30), 0xFFFFFFFF, font,
                     MDT_LEFT | MDT_SINGLELINE);
  cairo_destroy(cr);
  for (int y = 0; y < 40; ++y) {
    for (int x = 60; x < 200; ++x) ASSERT_EQ(Alpha(s, x, y), 0u) << x << "," << y;
  }
  EXPECT_GT(InkedPixels(s), 20);
  cairo_surface_destroy(s);
}

TEST(RenderText, BoundsRules) {
  MFont font;
  font.size = 14;
  const MSize empty = MRender::GetTextBounds(L"", font);
  EXPECT_EQ(empty.cx, 0);
  EXPECT_GT(empty.cy, 14);
  const MSize a = MRender::GetTextBounds(L"i", font);
  const MSize b = MRender::GetTextBounds(L"iiiiiiiiii", font);
  EXPECT_GT(b.cx, a.cx * 5);
  EXPECT_EQ(a.cy, b.cy);
  // Wrapped at a width: several lines, none wider than the width.
  const std::wstring long_text = L"one two three four five six seven eight nine ten";
  const MSize wrapped = MRender::GetTextBounds(long_text, font, 80);
  EXPECT_LE(wrapped.cx, 80);
  EXPECT_GT(wrapped.cy, 2 * a.cy);
  EXPECT_EQ(MRender::GetTextBounds(L"x", L"Open Sans", 14, MFONT_BOLD).cy > 0, true);
}

TEST(RenderText, CachedLayoutsGiveTheSamePicture) {
  MFont font;
  auto draw = [&font]() {
    cairo_surface_t* s = NewSurface(120, 30);
    cairo_t* cr = cairo_create(s);
    MRender::DrawTextW(cr, L"Profile 1", MRect(0, 0, 120, 30), 0xFF10A8FD, font, MDT_CENTER | MDT_VCENTER | MDT_SINGLELINE);
    cairo_destroy(cr);
    return s;
  };
  MRender::ClearTextCache();
  cairo_surface_t* a = draw();
  cairo_surface_t* b = draw();  // from the cache
  cairo_surface_flush(a);
  cairo_surface_flush(b);
  EXPECT_EQ(memcmp(cairo_image_surface_get_data(a), cairo_image_surface_get_data(b),
                   cairo_image_surface_get_stride(a) * 30),
            0);
  cairo_surface_destroy(a);
  cairo_surface_destroy(b);
}

TEST(RenderFonts, AddTempFontFromFileAndFallbacks) {
  MFontStore store;
  EXPECT_EQ(store.AddTempFont(L"Missing", L"/nonexistent/font.otf"), nullptr);
  render_test::TempDir dir;
  const auto junk = dir.path / "junk.otf";
  FILE* f = fopen(junk.c_str(), "wb");
  fputs("this is not a font", f);
  fclose(f);
  EXPECT_EQ(store.AddTempFont(L"Junk", junk.wstring()), nullptr);

  // A real font file copied into a program's font/ folder.
  std::string source;
  FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>("Open Sans:style=Semibold"));
  FcObjectSet* os = FcObjectSetBuild(FC_FILE, nullptr);
  FcFontSet* fs = FcFontList(nullptr, pat, os);
  if (fs && fs->nfont > 0) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(fs->fonts[0], FC_FILE, 0, &file) == FcResultMatch)
      source = reinterpret_cast<const char*>(file);
  }
  if (fs) FcFontSetDestroy(fs);
  FcObjectSetDestroy(os);
  FcPatternDestroy(pat);
  if (source.empty()) GTEST_SKIP() << "fonts-open-sans is not installed";
  std::filesystem::create_directories(dir.path / "font");
  const auto copy = dir.path / "font" / "Private.ttf";
  std::filesystem::copy_file(source, copy);
  const MFontFamily* fam = store.AddTempFont(L"MyFace", copy.wstring());
  ASSERT_NE(fam, nullptr);
  EXPECT_EQ(fam->family, "Open Sans");
  EXPECT_EQ(fam->weight, 600);
  MFont font;
  font.face = L"MyFace";
  EXPECT_EQ(MRender::GetUnknownGlyphsCount(L"Hello", font), 0);

  // FindTempFont looks up the toolkit face whatever face it is asked for.
  const std::wstring saved = Manager::GetFontName();
  Manager::SetFontName(L"MyFace");
  EXPECT_EQ(store.FindTempFont(L"Anything"), fam);
  Manager::SetFontName(saved);
  store.ClearTempFont();
  const MFontFamily* toolkit = store.FindTempFont(L"x");
  if (CjkFontsInstalled()) {
    ASSERT_NE(toolkit, nullptr);
    EXPECT_NE(toolkit->family.find("CJK SC"), std::string::npos);
  }
  // The toolkit's font resource 106 is Open Sans Semibold.
  const MFontFamily* res = store.AddTempFont(L"Open Sans Semibold", kTesselFontResourceId);
  ASSERT_NE(res, nullptr);
  EXPECT_EQ(res->weight, 600);
  EXPECT_TRUE(store.AddGDITempFont(kTesselFontResourceId));
  EXPECT_EQ(store.AddTempFont(L"x", 999), nullptr);
  EXPECT_FALSE(store.AddGDITempFont(999));
}
