// Skin images: decoding, the per-window cache, bad files, built-in skins, GIF
// frames, MImageList and BMP files.
#include <gtest/gtest.h>

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gif_lib.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "render_test_util.h"
#include "tessel/core/embedded_skins.h"
#include "tessel/core/image.h"
#include "tessel/core/image_list.h"
#include "tessel/core/render.h"

using render_test::Alpha;
using render_test::NewSurface;
using render_test::Pixel;
namespace fs = std::filesystem;

namespace {

void WritePng(const fs::path& path, int w, int h, uint32_t rgb = 0x10A8FD) {
  cairo_surface_t* s = NewSurface(w, h, rgb);
  ASSERT_EQ(cairo_surface_write_to_png(s, path.c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(s);
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A 3-frame 4 x 2 GIF written with giflib: red, green, blue frames.
void WriteGif(const fs::path& path) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  ASSERT_NE(gif, nullptr);
  GifColorType colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 0, 0}};
  ColorMapObject* map = GifMakeMapObject(4, colours);
  EGifSetGifVersion(gif, true);
  ASSERT_EQ(EGifPutScreenDesc(gif, 4, 2, 2, 0, map), GIF_OK);
  // Netscape loop extension.
  EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
  EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
  unsigned char loop[3] = {1, 0, 0};
  EGifPutExtensionBlock(gif, 3, loop);
  EGifPutExtensionTrailer(gif);
  for (int frame = 0; frame < 3; ++frame) {
    GraphicsControlBlock gcb{};
    gcb.DelayTime = 5;  // 50 ms
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
    EGifPutImageDesc(gif, 0, 0, 4, 2, false, nullptr);
    GifPixelType line[4] = {GifPixelType(frame), GifPixelType(frame), GifPixelType(frame), GifPixelType(frame)};
    for (int y = 0; y < 2; ++y) EGifPutLine(gif, line, 4);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
}

// A program folder with skins/theme1/ set as the toolkit's program folder.
struct SkinFolder {
  render_test::TempDir dir;
  fs::path skins;
  SkinFolder() {
    skins = dir.path / "skins" / "theme1";
    fs::create_directories(skins);
    SetTesselProgramFolder(dir.path.wstring());
  }
  ~SkinFolder() { SetTesselProgramFolder(L""); }
};

}  // namespace

TEST(ImageCache, FrameWidthIsWidthOverCount) {
  SkinFolder folder;
  WritePng(folder.skins / "btn.png", 100, 10);
  MImageCache cache;
  ImgResInfo* info = cache.AddImgResInfo(L"btn.png", 3);
  ASSERT_NE(info, nullptr);
  ASSERT_NE(info->image, nullptr);
  EXPECT_EQ(info->frame_width, 33);
  EXPECT_EQ(info->frame_height, 10);
  EXPECT_EQ(info->count, 3);
  EXPECT_EQ(info->key, L"btn.png");
}

TEST(ImageCache, CachedNameKeepsItsFirstCount) {
  SkinFolder folder;
  WritePng(folder.skins / "state.png", 120, 30);
  MImageCache cache;
  ImgResInfo* first = cache.AddImgResInfo(L"state.png", 4);
  ImgResInfo* second = cache.AddImgResInfo(L"state.png", 2);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(second->frame_width, 30);
  EXPECT_EQ(second->count, 4);
  EXPECT_EQ(cache.Size(), 1u);
  cache.ClearImgResInfo();
  EXPECT_EQ(cache.Size(), 0u);
  ImgResInfo* third = cache.AddImgResInfo(L"state.png", 2);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->frame_width, 60);
}

TEST(ImageCache, BackslashNamesResolveToSubFolders) {
  SkinFolder folder;
  fs::create_directories(folder.skins / "icon");
  WritePng(folder.skins / "icon" / "tab_home.png", 40, 20);
  MImageCache cache;
  ImgResInfo* info = cache.AddImgResInfo(L"icon\\tab_home.png", 2);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->frame_width, 20);
  EXPECT_EQ(info->key, L"icon\\tab_home.png");
}

TEST(ImageCache, FailuresAreNotCached) {
  SkinFolder folder;
  MImageCache cache;
  EXPECT_EQ(cache.AddImgResInfo(L"later.png", 1), nullptr);
  EXPECT_EQ(cache.Size(), 0u);
  WritePng(folder.skins / "later.png", 8, 8);
  ImgResInfo* info = cache.AddImgResInfo(L"later.png", 1);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->frame_width, 8);
  EXPECT_EQ(cache.AddImgResInfo(L"", 1), nullptr);
}

TEST(ImageCache, BrokenSkinFilesGiveNullImagesAndBlankAreas) {
  SkinFolder folder;
  WritePng(folder.skins / "good.png", 64, 32);
  const std::string png = ReadBytes(folder.skins / "good.png");
  WriteBytes(folder.skins / "truncated.png", png.substr(0, png.size() / 2));
  WriteBytes(folder.skins / "header_only.png", png.substr(0, 8));
  WriteBytes(folder.skins / "empty.png", "");
  WriteBytes(folder.skins / "text.png", "this is a text file, not a picture\n");
  std::string garbage(4096, '\0');
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 7919) & 0xFF);
  WriteBytes(folder.skins / "garbage.jpg", garbage);
  WriteBytes(folder.skins / "fake.gif", "GIF89a\x10\x00\x10\x00");
  std::string bad_bmp = "BM" + std::string(60, '\xFF');
  WriteBytes(folder.skins / "bad.bmp", bad_bmp);
  fs::create_directories(folder.skins / "folder.png");

  MImageCache cache;
  cairo_surface_t* s = NewSurface(50, 50);
  cairo_t* cr = cairo_create(s);
  for (const wchar_t* name : {L"missing.png", L"truncated.png", L"header_only.png", L"empty.png",
                              L"text.png", L"garbage.jpg", L"fake.gif", L"bad.bmp", L"folder.png"}) {
    ImgResInfo* info = cache.AddImgResInfo(name, 4);
    EXPECT_EQ(info, nullptr) << std::string(name, name + wcslen(name));
    // A control draws with whatever it got: nothing.
    MRender::DrawImageFrame(cr, info ? info->image : nullptr, MRect(0, 0, 50, 50), 0, 0, 16, 16, 4);
  }
  cairo_destroy(cr);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) ASSERT_EQ(Pixel(s, x, y), 0u);
  cairo_surface_destroy(s);
  EXPECT_EQ(cache.Size(), 0u);
  EXPECT_NE(cache.AddImgResInfo(L"good.png", 4), nullptr);
  EXPECT_EQ(MRender::LoadImageFromMemory(nullptr, 0), nullptr);
}

TEST(ImageCache, DecodesPngJpegAndKeepsAlpha) {
  render_test::TempDir dir;
  cairo_surface_t* s = NewSurface(10, 10);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgba(cr, 1, 0, 0, 0.5);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_write_to_png(s, (dir.path / "half.png").c_str());
  cairo_surface_destroy(s);
  auto image = MRender::LoadImageFromFile((dir.path / "half.png").wstring());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 10);
  EXPECT_EQ(image->FrameCount(), 1);
  const uint32_t p = Pixel(image->Surface(), 5, 5);
  EXPECT_NEAR(static_cast<int>(p >> 24), 128, 1);
  EXPECT_GT(ArgbRed(p), 250);

  GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, false, 8, 16, 12);
  gdk_pixbuf_fill(pb, 0x00FF00FF);
  ASSERT_TRUE(gdk_pixbuf_save(pb, (dir.path / "g.jpg").c_str(), "jpeg", nullptr, nullptr));
  g_object_unref(pb);
  auto jpeg = MRender::LoadImageFromFile((dir.path / "g.jpg").string());
  ASSERT_NE(jpeg, nullptr);
  EXPECT_EQ(jpeg->Width(), 16);
  EXPECT_EQ(jpeg->Height(), 12);
  EXPECT_GT(ArgbGreen(Pixel(jpeg->Surface(), 8, 6)), 240);
}

TEST(ImageCache, GifFramesAreDecoded) {
  render_test::TempDir dir;
  WriteGif(dir.path / "loading.gif");
  auto gif = MRender::LoadImageFromFile((dir.path / "loading.gif").wstring());
  ASSERT_NE(gif, nullptr);
  ASSERT_EQ(gif->FrameCount(), 3);
  EXPECT_EQ(gif->Width(), 4);
  EXPECT_EQ(Pixel(gif->FrameSurface(0), 1, 1), 0xFFFF0000u);
  EXPECT_EQ(Pixel(gif->FrameSurface(1), 1, 1), 0xFF00FF00u);
  EXPECT_EQ(Pixel(gif->FrameSurface(2), 1, 1), 0xFF0000FFu);
  EXPECT_EQ(gif->FrameDelayMs(0), 50);
  EXPECT_TRUE(gif->SelectActiveFrame(2));
  EXPECT_EQ(Pixel(gif->Surface(), 0, 0), 0xFF0000FFu);
  EXPECT_FALSE(gif->SelectActiveFrame(3));
  // Drawing after a frame change uses the new frame, also through stretched pieces.
  cairo_surface_t* s = NewSurface(20, 10);
  cairo_t* cr = cairo_create(s);
  MRender::DrawImage(cr, gif.get(), MRect(0, 0, 20, 10));
  gif->SelectActiveFrame(1);
  MRender::DrawImage(cr, gif.get(), MRect(10, 0, 20, 10));
  cairo_destroy(cr);
  EXPECT_EQ(Pixel(s, 5, 5), 0xFF0000FFu);
  EXPECT_EQ(Pixel(s, 15, 5), 0xFF00FF00u);
  cairo_surface_destroy(s);
}

TEST(ImageCache, BuiltInScrollBarSkins) {
  MImageCache cache;
  ImgResInfo* v = cache.AddImgResInfo(kScrollVerticalSkinId, L"PNG", 4, false);
  ImgResInfo* h = cache.AddImgResInfo(kScrollHorizontalSkinId, L"PNG", 4, false);
  ASSERT_NE(v, nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(v->image->Width(), 28);
  EXPECT_EQ(v->image->Height(), 239);
  EXPECT_EQ(v->frame_width, 7);
  EXPECT_EQ(h->image->Width(), 22);
  EXPECT_EQ(h->image->Height(), 20);
  EXPECT_GT(Alpha(v->image->Surface(), 10, 120), 0u);  // a thumb is drawn in picture 1
  EXPECT_EQ(cache.AddImgResInfo(103, L"PNG", 1, false), nullptr);
  // Program resources come from what the program registered.
  EXPECT_EQ(cache.AddImgResInfo(500, L"PNG", 1, true), nullptr);
  render_test::TempDir dir;
  WritePng(dir.path / "r.png", 6, 3);
  const std::string bytes = ReadBytes(dir.path / "r.png");
  RegisterProgramResource(500, L"PNG", std::vector<uint8_t>(bytes.begin(), bytes.end()));
  ImgResInfo* r = cache.AddImgResInfo(500, L"png", 3, true);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->frame_width, 2);
}

TEST(ImageCache, ConcurrentRequestsShareOneEntry) {
  SkinFolder folder;
  WritePng(folder.skins / "shared.png", 40, 10);
  MImageCache cache;
  std::vector<ImgResInfo*> got(4);
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&, i] { got[i] = cache.AddImgResInfo(L"shared.png", i + 1); });
  for (auto& t : threads) t.join();
  for (ImgResInfo* g : got) EXPECT_EQ(g, got[0]);
}

TEST(ImageCache, SkinFolderBesideTheExecutable) {
  SetTesselProgramFolder(L"");
  const std::wstring folder = TesselProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), L'/');
  EXPECT_EQ(TesselSkinFolder(), folder + L"skins/theme1/");
  EXPECT_EQ(fs::path(folder) / fs::read_symlink("/proc/self/exe").filename(),
            fs::read_symlink("/proc/self/exe"));
}

TEST(ImageList, InsertAddAndLookups) {
  render_test::TempDir dir;
  WritePng(dir.path / "a.png", 90, 30, 0xFF0000);
  WritePng(dir.path / "b.png", 40, 20, 0x00FF00);
  MImageList list;
  EXPECT_EQ(list.InsertImage(0, (dir.path / "a.png").wstring(), 1, 3), -1);  // past the end of an empty list
  EXPECT_EQ(list.AddImage((dir.path / "a.png").wstring(), 7, 3), 0);
  EXPECT_EQ(list.AddImage((dir.path / "missing.png").wstring(), 8, 1), -1);
  EXPECT_EQ(list.AddImage(L"", 8, 1), -1);
  EXPECT_EQ(list.InsertImage(-2, (dir.path / "b.png").wstring(), 9, 2), -1);
  EXPECT_EQ(list.InsertImage(5, (dir.path / "b.png").wstring(), 9, 2), -1);
  EXPECT_EQ(list.GetImageCount(), 1);
  // Inserting at index 0 answers -1 although it succeeds.
  EXPECT_EQ(list.InsertImage(0, (dir.path / "b.png").wstring(), 9, 2), -1);
  EXPECT_EQ(list.GetImageCount(), 2);
  EXPECT_EQ(list.GetItemImageData(0)->id, 9);
  EXPECT_EQ(list.GetItemImageData(0)->frame_width, 20);
  EXPECT_EQ(list.GetImageDataByID(7)->frame_width, 30);
  EXPECT_EQ(list.GetImagePath(1), (dir.path / "a.png").wstring());
  EXPECT_EQ(list.GetImagePathByID(9), (dir.path / "b.png").wstring());
  EXPECT_EQ(list.GetImagePath(2), L"");
  EXPECT_EQ(list.GetItemImageData(-1), nullptr);
  EXPECT_EQ(list.GetImageDataByID(42), nullptr);
  list.SetDrawImgSize(16, 12);
  EXPECT_EQ(list.GetIconSize(), MSize(16, 12));
  list.DelAllImages();
  EXPECT_EQ(list.GetImageCount(), 0);
}

TEST(ImageList, DrawItemIconFrames) {
  render_test::TempDir dir;
  // Three 10 x 10 frames: red, green, blue.
  cairo_surface_t* img = NewSurface(30, 10);
  cairo_t* cr = cairo_create(img);
  const double colours[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  for (int i = 0; i < 3; ++i) {
    cairo_set_source_rgb(cr, colours[i][0], colours[i][1], colours[i][2]);
    cairo_rectangle(cr, i * 10, 0, 10, 10);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  cairo_surface_write_to_png(img, (dir.path / "icons.png").c_str());
  cairo_surface_destroy(img);
  MImageList list;
  ASSERT_EQ(list.AddImage((dir.path / "icons.png").wstring(), 1, 3), 0);
  cairo_surface_t* s = NewSurface(80, 20);
  cr = cairo_create(s);
  list.DrawItemIcon(cr, MRect(0, 0, 20, 20), 0);
  list.DrawItemIcon(cr, MRect(20, 0, 40, 20), 0, 1);
  list.DrawItemIcon(cr, MRect(40, 0, 60, 20), 0, 7);  // past the count: last frame
  list.DrawItemIcon(cr, MRect(60, 0, 80, 20), 3);     // bad index: nothing
  cairo_destroy(cr);
  EXPECT_EQ(Pixel(s, 10, 10), 0xFFFF0000u);
  EXPECT_EQ(Pixel(s, 30, 10), 0xFF00FF00u);
  EXPECT_EQ(Pixel(s, 50, 10), 0xFF0000FFu);
  EXPECT_EQ(Pixel(s, 70, 10), 0u);
  cairo_surface_destroy(s);
}

TEST(RenderBmp, WrittenAndReadBack) {
  render_test::TempDir dir;
  cairo_surface_t* s = NewSurface(13, 7, 0x204060);  // odd width: rows still 4-byte aligned
  cairo_t* cr = cairo_create(s);
  MRender::FillSolidRect(cr, MRect(0, 0, 1, 1), MakeColorRef(255, 0, 0));     // top-left red
  MRender::FillSolidRect(cr, MRect(12, 6, 13, 7), MakeColorRef(0, 0, 255));   // bottom-right blue
  cairo_destroy(cr);
  const fs::path path = dir.path / "shot.bmp";
  WriteBytes(path, "old contents that must be replaced");
  ASSERT_TRUE(MRender::SaveBitmapToFile(s, path.wstring()));
  const std::string bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 54u + 13 * 7 * 4);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  auto image = MRender::LoadImageFromFile(path.wstring());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 13);
  EXPECT_EQ(image->Height(), 7);
  EXPECT_EQ(Pixel(image->Surface(), 0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(Pixel(image->Surface(), 12, 6) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(Pixel(image->Surface(), 5, 3) & 0xFFFFFF, 0x204060u);
  EXPECT_FALSE(MRender::SaveBitmapToFile(nullptr, path.wstring()));
  EXPECT_FALSE(MRender::SaveBitmapToFile(s, (dir.path / "no" / "such" / "x.bmp").wstring()));
  cairo_surface_destroy(s);
}
