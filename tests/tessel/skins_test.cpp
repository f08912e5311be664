// The generated skins: every picture the program and the toolkit load exists in
// the program folder's theme, loads, and splits into the state pictures its
// control expects; the keyboard pictures line up with their layouts' key
// rectangles; the generator is reproducible and copes with broken layouts.
#include <cairo.h>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/skingen/keyboard_style.h"
#include "tools/skingen/layout_reader.h"
#include "tools/skingen/skin_manifest.h"

#if defined(SKINGEN_PATH) && defined(SKINGEN_LAYOUTS)

namespace {

using skingen::kSkinImages;
using skingen::SkinImage;

const std::string kProgramFolder = VANTOR_PROGRAM_DIR;
const std::string kTheme = kProgramFolder + "/" + skingen::kThemeFolder + "/";

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream buffer;
  buffer << file.rdbuf();
  return buffer.str();
}

// A PNG read through Cairo, as the toolkit reads skins; null when it does not load.
struct Png {
  explicit Png(const std::string& path) : surface(cairo_image_surface_create_from_png(path.c_str())) {}
  ~Png() { cairo_surface_destroy(surface); }
  bool Loaded() const { return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS; }
  int Width() const { return cairo_image_surface_get_width(surface); }
  int Height() const { return cairo_image_surface_get_height(surface); }
  std::uint32_t Pixel(int x, int y) const {
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const std::uint32_t*>(row)[x];
  }
  // The pixels of one cell, for comparing state pictures.
  std::vector<std::uint32_t> Cell(const SkinImage& image, int index) const {
    std::vector<std::uint32_t> out;
    const int x0 = (index % image.columns) * image.frame_width;
    const int y0 = (index / image.columns) * image.frame_height;
    for (int y = y0; y < y0 + image.frame_height; ++y)
      for (int x = x0; x < x0 + image.frame_width; ++x) out.push_back(Pixel(x, y));
    return out;
  }
  cairo_surface_t* surface;
};

bool Opaque(const std::vector<std::uint32_t>& pixels) {
  for (std::uint32_t p : pixels)
    if (p >> 24) return true;
  return false;
}

// Files below a folder, relative paths, sorted.
void ListFiles(const std::string& root, const std::string& below, std::vector<std::string>* out) {
  DIR* dir = opendir((root + "/" + below).c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string relative = below.empty() ? name : below + "/" + name;
    struct stat info {};
    stat((root + "/" + relative).c_str(), &info);
    if (S_ISDIR(info.st_mode)) ListFiles(root, relative, out);
    else out->push_back(relative);
  }
  closedir(dir);
  std::sort(out->begin(), out->end());
}

class SkinGenerator : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/skins_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    temp_ = pattern;
  }
  void TearDown() override {
    nftw(temp_.c_str(), [](const char* path, const struct stat*, int, FTW*) { return remove(path); }, 16,
         FTW_DEPTH | FTW_PHYS);
  }

  // Runs skingen with the arguments; answers its exit status, stderr in `errors`.
  int Run(const std::vector<std::string>& args, std::string* errors = nullptr) {
    const std::string log = temp_ + "/stderr.txt";
    std::vector<char*> argv{const_cast<char*>(SKINGEN_PATH)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // Fontconfig keeps its cache below XDG_CACHE_HOME: keep it out of the home folder.
    std::vector<std::string> env_text{"XDG_CACHE_HOME=" + temp_ + "/cache"};
    for (char** e = environ; *e; ++e)
      if (std::strncmp(*e, "XDG_CACHE_HOME=", 15) != 0) env_text.push_back(*e);
    std::vector<char*> envp;
    for (auto& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, SKINGEN_PATH, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    if (errors) *errors = ReadBytes(log);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string temp_;
};

}  // namespace

// Every manifest picture, drawn by the build into the program folder's theme.
TEST(Skins, EveryManifestPictureLoadsWithItsStatePictures) {
  for (const SkinImage& image : kSkinImages) {
    SCOPED_TRACE(image.name);
    Png png(kTheme + image.name);
    if (!png.Loaded()) {
      ADD_FAILURE() << "missing or unreadable skin: " << image.name;
      continue;
    }
    EXPECT_EQ(png.Width(), image.Width());
    EXPECT_EQ(png.Height(), image.Height());
    EXPECT_EQ(png.Width() % image.count, 0) << "width not divisible by the picture count";
    EXPECT_EQ(png.Width() % image.columns, 0);
    EXPECT_EQ(png.Height() % image.rows, 0);
    // Every state picture shows something, and the normal, hover, pressed and
    // disabled pictures of a state skin differ from one another.
    const int cells = image.columns * image.rows;
    for (int i = 0; i < cells; ++i) EXPECT_TRUE(Opaque(png.Cell(image, i))) << "cell " << i << " is empty";
    if (image.count >= 4 && image.columns == image.count) {
      for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
          EXPECT_NE(png.Cell(image, a), png.Cell(image, b)) << "states " << a << " and " << b << " look alike";
    }
    if (image.count == 8) {  // checked pictures differ from the unchecked ones
      for (int s = 0; s < 4; ++s) EXPECT_NE(png.Cell(image, s), png.Cell(image, s + 4)) << "state " << s;
    }
  }
}

TEST(Skins, ManifestNamesAreUniqueAndStayInsideTheTheme) {
  std::map<std::string, int> seen;
  for (const SkinImage& image : kSkinImages) {
    std::string name = image.name;
    EXPECT_TRUE(skingen::NormaliseImageName(&name)) << image.name;
    EXPECT_EQ(name, image.name) << "manifest names are written normalised";
    EXPECT_EQ(++seen[name], 1) << "listed twice: " << name;
  }
}

TEST(Skins, LoadingAnimationIsALoopingGif) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName((kTheme + skingen::kLoadingGif).c_str(), &error);
  ASSERT_NE(gif, nullptr) << "loading.gif missing";
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  EXPECT_EQ(gif->SWidth, skingen::kLoadingGifSize);
  EXPECT_EQ(gif->SHeight, skingen::kLoadingGifSize);
  EXPECT_EQ(gif->ImageCount, skingen::kLoadingGifFrames);
  for (int i = 0; i < gif->ImageCount; ++i) {
    GraphicsControlBlock control{};
    ASSERT_EQ(DGifSavedExtensionToGCB(gif, i, &control), GIF_OK);
    EXPECT_GT(control.DelayTime, 0);
  }
  // Consecutive frames differ: the animation moves.
  const long pixels = long(gif->SWidth) * gif->SHeight;
  for (int i = 1; i < gif->ImageCount; ++i)
    EXPECT_NE(std::string(reinterpret_cast<char*>(gif->SavedImages[i - 1].RasterBits), pixels),
              std::string(reinterpret_cast<char*>(gif->SavedImages[i].RasterBits), pixels));
  DGifCloseFile(gif, &error);
  // The toolkit decodes GIF frames with gdk-pixbuf.
  GdkPixbufAnimation* animation = gdk_pixbuf_animation_new_from_file((kTheme + skingen::kLoadingGif).c_str(), nullptr);
  ASSERT_NE(animation, nullptr);
  EXPECT_FALSE(gdk_pixbuf_animation_is_static_image(animation));
  g_object_unref(animation);
}

TEST(Skins, ProgramIconsLieInTheProgramFolder) {
  const std::string ico = ReadBytes(kProgramFolder + "/" + skingen::kProgramIcon);
  ASSERT_GE(ico.size(), 6u) << "Vantor.ico missing";
  auto u16 = [&](std::size_t at) { return unsigned(std::uint8_t(ico[at])) | unsigned(std::uint8_t(ico[at + 1])) << 8; };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  EXPECT_EQ(u16(0), 0u);
  EXPECT_EQ(u16(2), 1u);
  const unsigned count = u16(4);
  ASSERT_EQ(count, std::size(skingen::kIconSizes));
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16 * i;
    const unsigned size = skingen::kIconSizes[i];
    EXPECT_EQ(unsigned(std::uint8_t(ico[entry])), size == 256 ? 0 : size);
    const unsigned length = u32(entry + 8), offset = u32(entry + 12);
    ASSERT_LE(std::size_t(offset) + length, ico.size());
    // A 32-bit DIB of twice the height (colour rows, then the mask).
    ASSERT_GE(length, 40u + size * size * 4);
    EXPECT_EQ(u32(offset), 40u) << "entry " << i;
    EXPECT_EQ(u32(offset + 4), size);
    EXPECT_EQ(u32(offset + 8), 2 * size);
    EXPECT_EQ(u16(offset + 14), 32u);
  }
  // The toolkit loads icons through gdk-pixbuf.
  GdkPixbuf* icon = gdk_pixbuf_new_from_file((kProgramFolder + "/" + skingen::kProgramIcon).c_str(), nullptr);
  ASSERT_NE(icon, nullptr) << "gdk-pixbuf cannot read Vantor.ico";
  EXPECT_TRUE(gdk_pixbuf_get_has_alpha(icon));
  // A corner of the rounded icon is transparent.
  EXPECT_EQ(gdk_pixbuf_get_pixels(icon)[3], 0);
  g_object_unref(icon);
  Png desktop(kProgramFolder + "/" + skingen::kDesktopIcon);
  ASSERT_TRUE(desktop.Loaded());
  EXPECT_EQ(desktop.Width(), 256);
  EXPECT_EQ(desktop.Height(), 256);
}

// Samples each key of each shipped layout: the face colour at the centre, the
// skirt just inside every edge, the plate just outside (where no other key is).
TEST(Skins, KeyboardPicturesLineUpWithTheirLayouts) {
  using namespace skingen::keyboard_style;
  std::vector<std::string> layouts;
  ListFiles(SKINGEN_LAYOUTS, "", &layouts);
  int checked = 0;
  for (const std::string& file : layouts) {
    if (file.size() < 4 || file.substr(file.size() - 4) != ".xml") continue;
    SCOPED_TRACE(file);
    skingen::LayoutPicture layout;
    std::string error;
    ASSERT_TRUE(skingen::ReadLayoutPicture(std::string(SKINGEN_LAYOUTS) + "/" + file, &layout, &error)) << error;
    ASSERT_FALSE(layout.keys.empty());
    Png png(kTheme + layout.image);  // the keyboard control loads skin folder + image name
    ASSERT_TRUE(png.Loaded()) << "keyboard picture missing: " << layout.image;
    ASSERT_EQ(png.Width(), layout.width);
    ASSERT_EQ(png.Height(), layout.height);
    auto rgb = [&](int x, int y) { return png.Pixel(x, y) & 0xFFFFFF; };
    auto in_some_key = [&](int x, int y) {
      for (const auto& k : layout.keys)
        if (x >= k.x - 1 && x <= k.x + k.w && y >= k.y - 1 && y <= k.y + k.h) return true;
      return false;
    };
    for (const auto& key : layout.keys) {
      SCOPED_TRACE(key.name);
      const int cx = key.x + key.w / 2, cy = key.y + key.h / 2;
      EXPECT_EQ(rgb(cx, cy), kKeyFace);
      EXPECT_EQ(rgb(key.x, cy), kKeySkirt);
      EXPECT_EQ(rgb(key.x + key.w - 1, cy), kKeySkirt);
      EXPECT_EQ(rgb(cx, key.y), kKeySkirt);
      EXPECT_EQ(rgb(cx, key.y + key.h - 1), kKeySkirt);
      const std::pair<int, int> outside[] = {
          {key.x - 2, cy}, {key.x + key.w + 1, cy}, {cx, key.y - 2}, {cx, key.y + key.h + 1}};
      for (auto [x, y] : outside) {
        if (x < 0 || y < 0 || x >= png.Width() || y >= png.Height() || in_some_key(x, y)) continue;
        EXPECT_EQ(rgb(x, y), kPlate) << "at " << x << "," << y;
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 100);
}

TEST_F(SkinGenerator, TwoRunsWriteIdenticalFilesAndTheSheet) {
  const std::string a = temp_ + "/a", b = temp_ + "/b";
  const std::string sheet = kProgramFolder + "/../skins_sheet.png";
  ASSERT_EQ(Run({"--out", a, "--layouts", SKINGEN_LAYOUTS, "--sheet", sheet}), 0);
  ASSERT_EQ(Run({"--out", b, "--layouts", SKINGEN_LAYOUTS}), 0);
  std::vector<std::string> files_a, files_b;
  ListFiles(a, "", &files_a);
  ListFiles(b, "", &files_b);
  ASSERT_EQ(files_a, files_b);
  // Every manifest picture, the animation and both icons, plus the keyboard pictures.
  EXPECT_GE(files_a.size(), std::size(kSkinImages) + 3);
  for (const std::string& file : files_a) {
    SCOPED_TRACE(file);
    EXPECT_TRUE(ReadBytes(a + "/" + file) == ReadBytes(b + "/" + file)) << "differs between runs";
    // And the build's own output is the same.
    EXPECT_TRUE(ReadBytes(a + "/" + file) == ReadBytes(kProgramFolder + "/" + file)) << "differs from the build";
  }
  Png contact(sheet);
  ASSERT_TRUE(contact.Loaded());
  EXPECT_GT(contact.Height(), 1000);
}

TEST_F(SkinGenerator, BrokenLayoutsAreReportedAndTheRestIsWritten) {
  const std::string layouts = temp_ + "/layouts", out = temp_ + "/out";
  ASSERT_EQ(mkdir(layouts.c_str(), 0755), 0);
  const std::map<std::string, std::string> files = {
      {"a_good.xml", R"(<device.info><Keyboard width="120" height="60" image="kb_good.png">)"
                     R"(<KeyItems><key name="A&amp;B" rect="10#10#40#40"/><key name="bad" rect="1#2#x#4"/>)"
                     R"(</KeyItems></Keyboard></device.info>)"},
      {"b_no_keyboard.xml", "<device.info></device.info>"},
      {"c_bad_size.xml", R"(<Keyboard width="wide" height="60" image="kb_c.png"/>)"},
      {"d_escape.xml", R"(<Keyboard width="10" height="10" image="..\..\escape.png"/>)"},
      {"e_truncated.xml", R"(<Keyboard width="10" height="10" ima)"},
      {"f_huge.xml", R"(<Keyboard width="99999999" height="10" image="kb_f.png"/>)"},
  };
  for (const auto& [name, text] : files) std::ofstream(layouts + "/" + name) << text;
  std::string errors;
  EXPECT_EQ(Run({"--out", out, "--layouts", layouts}, &errors), 1);
  for (const char* name : {"b_no_keyboard.xml", "c_bad_size.xml", "d_escape.xml", "e_truncated.xml", "f_huge.xml"})
    EXPECT_NE(errors.find(name), std::string::npos) << name << " not reported in:\n" << errors;
  EXPECT_EQ(errors.find("a_good.xml"), std::string::npos) << errors;
  // The good layout and all skins are written; nothing lands outside the theme.
  Png good(out + "/" + skingen::kThemeFolder + "/kb_good.png");
  ASSERT_TRUE(good.Loaded());
  EXPECT_EQ(good.Width(), 120);
  EXPECT_EQ(good.Pixel(30, 30) & 0xFFFFFF, skingen::keyboard_style::kKeyFace);
  for (const SkinImage& image : kSkinImages)
    EXPECT_TRUE(Png(out + "/" + skingen::kThemeFolder + "/" + image.name).Loaded()) << image.name;
  struct stat info {};
  EXPECT_NE(stat((temp_ + "/escape.png").c_str(), &info), 0);
  EXPECT_NE(stat((out + "/escape.png").c_str(), &info), 0);
  // Without arguments it explains itself and fails.
  EXPECT_EQ(Run({}, &errors), 2);
  EXPECT_NE(errors.find("usage"), std::string::npos);
}

// Cut-off copies of a shipped layout: the reader never crashes, and whatever it
// accepts is a prefix of the full key list with the full picture size.
TEST_F(SkinGenerator, TruncatedLayoutsReadSafely) {
  const std::string source = std::string(SKINGEN_LAYOUTS) + "/vantor_k1_68.xml";
  const std::string text = ReadBytes(source);
  ASSERT_FALSE(text.empty());
  skingen::LayoutPicture full;
  std::string error;
  ASSERT_TRUE(skingen::ReadLayoutPicture(source, &full, &error)) << error;
  const std::string cut = temp_ + "/cut.xml";
  for (std::size_t length = 0; length < text.size(); length += 61) {
    std::ofstream(cut, std::ios::binary | std::ios::trunc) << text.substr(0, length);
    skingen::LayoutPicture layout;
    if (!skingen::ReadLayoutPicture(cut, &layout, &error)) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    EXPECT_EQ(layout.width, full.width) << length;
    EXPECT_EQ(layout.image, full.image) << length;
    ASSERT_LE(layout.keys.size(), full.keys.size());
    for (std::size_t i = 0; i < layout.keys.size(); ++i) EXPECT_EQ(layout.keys[i].name, full.keys[i].name);
  }
}

#endif  // SKINGEN_PATH
