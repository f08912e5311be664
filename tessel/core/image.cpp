#include "tessel/core/image.h"

#include <algorithm>

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gif_lib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <climits>
#include <cstring>

#include "tessel/core/embedded_skins.h"
#include "tessel/core/manager.h"
#include "tessel/core/render.h"
#include "tessel/core/text_utf.h"

// ---------------------------------------------------------------------------
// MImage

MImage::MImage(std::vector<cairo_surface_t*> frames, std::vector<int> delays_ms)
    : frames_(std::move(frames)), delays_(std::move(delays_ms)) {
  if (!frames_.empty()) {
    width_ = cairo_image_surface_get_width(frames_[0]);
    height_ = cairo_image_surface_get_height(frames_[0]);
  }
  delays_.resize(frames_.size(), 100);
}

MImage::~MImage() {
  for (auto& [key, piece] : pieces_) cairo_pattern_destroy(piece.pattern);
  for (cairo_surface_t* s : frames_) cairo_surface_destroy(s);
}

cairo_surface_t* MImage::FrameSurface(int index) const {
  if (index < 0 || index >= FrameCount()) return nullptr;
  return frames_[index];
}

int MImage::FrameDelayMs(int index) const {
  if (index < 0 || index >= FrameCount()) return 0;
  return delays_[index];
}

bool MImage::SelectActiveFrame(int index) {
  if (index < 0 || index >= FrameCount()) return false;
  if (index != active_) {
    std::lock_guard guard(piece_lock_);
    active_ = index;
    for (auto& [key, piece] : pieces_) cairo_pattern_destroy(piece.pattern);
    pieces_.clear();
  }
  return true;
}

const MImage::Piece* MImage::GetPiece(int x, int y, int w, int h) const {
  // Compared as w > width_ - x so that a huge w cannot wrap x + w around.
  if (w <= 0 || h <= 0 || x < 0 || y < 0 || w > width_ - x || h > height_ - y) return nullptr;
  // 16 bits each are plenty for skin pictures; larger images still work (the key
  // only has to be unique per rectangle).
  const uint64_t key = (static_cast<uint64_t>(x & 0xFFFF) << 48) |
                       (static_cast<uint64_t>(y & 0xFFFF) << 32) |
                       (static_cast<uint64_t>(w & 0xFFFF) << 16) | static_cast<uint64_t>(h & 0xFFFF);
  std::lock_guard guard(piece_lock_);
  auto it = pieces_.find(key);
  if (it != pieces_.end()) return &it->second;
  cairo_surface_t* source = frames_[active_];
  cairo_surface_flush(source);
  const unsigned char* data = cairo_image_surface_get_data(source);
  const int stride = cairo_image_surface_get_stride(source);
  auto at = [&](int px, int py) {
    return *reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y + py) * stride + (x + px) * 4);
  };
  Piece piece;
  piece.rows_uniform = true;
  for (int py = 0; py < h && piece.rows_uniform; ++py)
    for (int px = 1; px < w; ++px)
      if (at(px, py) != at(0, py)) {
        piece.rows_uniform = false;
        break;
      }
  piece.cols_uniform = true;
  for (int py = 1; py < h && piece.cols_uniform; ++py)
    for (int px = 0; px < w; ++px)
      if (at(px, py) != at(px, 0)) {
        piece.cols_uniform = false;
        break;
      }
  if (piece.rows_uniform && piece.cols_uniform) {
    const uint32_t p = at(0, 0);  // premultiplied
    const double a = (p >> 24) / 255.0;
    piece.pattern = a == 0 ? cairo_pattern_create_rgba(0, 0, 0, 0)
                           : cairo_pattern_create_rgba(((p >> 16) & 0xFF) / 255.0 / a,
                                                       ((p >> 8) & 0xFF) / 255.0 / a,
                                                       (p & 0xFF) / 255.0 / a, a);
  } else {
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(copy);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, source, -x, -y);
    cairo_paint(cr);
    cairo_destroy(cr);
    piece.pattern = cairo_pattern_create_for_surface(copy);
    cairo_surface_destroy(copy);
    cairo_pattern_set_extend(piece.pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(piece.pattern, CAIRO_FILTER_BILINEAR);
  }
  return &(pieces_[key] = piece);
}

// ---------------------------------------------------------------------------
// Decoding

namespace {

cairo_surface_t* SurfaceFromPixbuf(const GdkPixbuf* pixbuf) {
  if (!pixbuf) return nullptr;
  const int w = gdk_pixbuf_get_width(pixbuf);
  const int h = gdk_pixbuf_get_height(pixbuf);
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
  if (w <= 0 || h <= 0 || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels < 3) return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_surface_flush(surface);
  const guchar* src = gdk_pixbuf_read_pixels(pixbuf);
  const int src_stride = gdk_pixbuf_get_rowstride(pixbuf);
  unsigned char* dst = cairo_image_surface_get_data(surface);
  const int dst_stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < h; ++y) {
    const guchar* s = src + static_cast<size_t>(y) * src_stride;
    uint32_t* d = reinterpret_cast<uint32_t*>(dst + static_cast<size_t>(y) * dst_stride);
    for (int x = 0; x < w; ++x, s += channels) {
      const uint32_t a = alpha ? s[3] : 255;
      if (a == 255) {
        d[x] = 0xFF000000u | (uint32_t(s[0]) << 16) | (uint32_t(s[1]) << 8) | s[2];
      } else if (a == 0) {
        d[x] = 0;
      } else {
        auto pm = [a](uint32_t v) { return (v * a + 127) / 255; };
        d[x] = (a << 24) | (pm(s[0]) << 16) | (pm(s[1]) << 8) | pm(s[2]);
      }
    }
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

struct GifReadState {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

int GifRead(GifFileType* gif, GifByteType* out, int len) {
  auto* st = static_cast<GifReadState*>(gif->UserData);
  const size_t n = std::min(static_cast<size_t>(len), st->size - st->pos);
  memcpy(out, st->data + st->pos, n);
  st->pos += n;
  return static_cast<int>(n);
}

// Number of frames of a GIF held in memory, 0 when it does not decode.
int GifFrameCount(const uint8_t* data, size_t size) {
  GifReadState st{data, size, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&st, GifRead, &error);
  if (!gif) return 0;
  int count = 0;
  if (DGifSlurp(gif) == GIF_OK) count = gif->ImageCount;
  DGifCloseFile(gif, &error);
  return count;
}

std::unique_ptr<MImage> ImageFromAnimation(GdkPixbufAnimation* anim, int gif_frames) {
  std::vector<cairo_surface_t*> frames;
  std::vector<int> delays;
  if (gdk_pixbuf_animation_is_static_image(anim) || gif_frames <= 1) {
    cairo_surface_t* s = SurfaceFromPixbuf(gdk_pixbuf_animation_get_static_image(anim));
    if (!s) return nullptr;
    frames.push_back(s);
    delays.push_back(0);
  } else {
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    GTimeVal t{0, 0};
    GdkPixbufAnimationIter* iter = gdk_pixbuf_animation_get_iter(anim, &t);
    for (int i = 0; i < gif_frames && i < 4096; ++i) {
      cairo_surface_t* s = SurfaceFromPixbuf(gdk_pixbuf_animation_iter_get_pixbuf(iter));
      if (!s) break;
      int delay = gdk_pixbuf_animation_iter_get_delay_time(iter);
      frames.push_back(s);
      delays.push_back(delay < 0 ? 0 : delay);
      if (delay < 0) break;
      const long step = std::max(delay, 1);
      t.tv_usec += step * 1000;
      t.tv_sec += t.tv_usec / 1000000;
      t.tv_usec %= 1000000;
      gdk_pixbuf_animation_iter_advance(iter, &t);
    }
    g_object_unref(iter);
    G_GNUC_END_IGNORE_DEPRECATIONS
    if (frames.empty()) return nullptr;
  }
  return std::make_unique<MImage>(std::move(frames), std::move(delays));
}

struct ProgramResources {
  std::mutex lock;
  std::map<std::wstring, std::vector<uint8_t>> bytes;
};

ProgramResources& Resources() {
  static ProgramResources r;
  return r;
}

std::wstring ResourceKey(int id, const std::wstring& type) {
  std::wstring key = L"#" + std::to_wstring(id) + L":";
  for (wchar_t c : type) key += static_cast<wchar_t>(towupper(c));
  return key;
}

struct FolderState {
  std::mutex lock;
  std::wstring program_folder;  // empty = executable's folder
};

FolderState& Folders() {
  static FolderState f;
  return f;
}

std::wstring ExecutableFolder() {
  char buf[PATH_MAX + 1];
  ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
  if (n <= 0) return L"./";
  buf[n] = 0;
  std::string path(buf);
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return L"./";
  return WideFromUtf8(path.substr(0, slash + 1));
}

struct PngReadState {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

cairo_status_t PngRead(void* closure, unsigned char* out, unsigned int length) {
  auto* st = static_cast<PngReadState*>(closure);
  if (st->size - st->pos < length) return CAIRO_STATUS_READ_ERROR;
  memcpy(out, st->data + st->pos, length);
  st->pos += length;
  return CAIRO_STATUS_SUCCESS;
}

// PNG through Cairo's reader: straight to premultiplied ARGB32, and a truncated
// or corrupt file is an error (gdk-pixbuf's incremental loader accepts a
// truncated PNG silently).
std::unique_ptr<MImage> LoadPng(const uint8_t* data, size_t size) {
  PngReadState st{data, size, 0};
  cairo_surface_t* s = cairo_image_surface_create_from_png_stream(PngRead, &st);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS || cairo_image_surface_get_width(s) <= 0 ||
      cairo_image_surface_get_height(s) <= 0) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  if (cairo_image_surface_get_format(s) != CAIRO_FORMAT_ARGB32) {
    cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(s),
                                                       cairo_image_surface_get_height(s));
    cairo_t* cr = cairo_create(argb);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    s = argb;
  }
  return std::make_unique<MImage>(std::vector<cairo_surface_t*>{s}, std::vector<int>{0});
}

}  // namespace

std::unique_ptr<MImage> MRender::LoadImageFromMemory(const uint8_t* data, size_t size) {
  if (!data || size == 0) return nullptr;
  static const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size >= 8 && memcmp(data, kPngSignature, 8) == 0) return LoadPng(data, size);
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
  GError* error = nullptr;
  bool ok = gdk_pixbuf_loader_write(loader, data, size, &error);
  if (error) {
    g_error_free(error);
    error = nullptr;
    ok = false;
  }
  // Always close (a loader must be closed before it is freed); a truncated file
  // fails here.
  if (!gdk_pixbuf_loader_close(loader, &error)) ok = false;
  if (error) {
    g_error_free(error);
    ok = false;
  }
  std::unique_ptr<MImage> image;
  if (ok) {
    GdkPixbufAnimation* anim = gdk_pixbuf_loader_get_animation(loader);
    if (anim) {
      int gif_frames = 1;
      if (size >= 6 && memcmp(data, "GIF8", 4) == 0) gif_frames = GifFrameCount(data, size);
      if (gif_frames >= 1) image = ImageFromAnimation(anim, gif_frames);
    }
  }
  g_object_unref(loader);
  return image;
}

std::unique_ptr<MImage> MRender::LoadImageFromFile(const std::string& utf8_path) {
  if (utf8_path.empty()) return nullptr;
  // Only regular files (a folder or a device is no picture); read with stdio, which
  // reports errors by return value.
  struct stat st{};
  if (stat(utf8_path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
      st.st_size > (512ll << 20))
    return nullptr;
  FILE* f = fopen(utf8_path.c_str(), "rb");
  if (!f) return nullptr;
  std::vector<uint8_t> bytes(static_cast<size_t>(st.st_size));
  const size_t got = fread(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  if (got == 0) return nullptr;
  return LoadImageFromMemory(bytes.data(), got);
}

std::unique_ptr<MImage> MRender::LoadImageFromFile(const std::wstring& path) {
  return LoadImageFromFile(Utf8FromWide(path));
}

std::unique_ptr<MImage> MRender::LoadIconFromFile(const std::wstring& path) {
  return LoadImageFromFile(path);
}

std::unique_ptr<MImage> MRender::LoadImageFromIDResource(int id, const std::wstring& type,
                                                         const void* module) {
  if (!module) {
    cairo_surface_t* s = TesselCreateEmbeddedSkin(id);
    if (!s) return nullptr;
    return std::make_unique<MImage>(std::vector<cairo_surface_t*>{s}, std::vector<int>{0});
  }
  std::vector<uint8_t> bytes;
  {
    auto& r = Resources();
    std::lock_guard guard(r.lock);
    auto it = r.bytes.find(ResourceKey(id, type));
    if (it == r.bytes.end()) return nullptr;
    bytes = it->second;
  }
  return LoadImageFromMemory(bytes.data(), bytes.size());
}

void RegisterProgramResource(int id, const std::wstring& type, std::vector<uint8_t> bytes) {
  auto& r = Resources();
  std::lock_guard guard(r.lock);
  r.bytes[ResourceKey(id, type)] = std::move(bytes);
}

// ---------------------------------------------------------------------------
// Folders

std::wstring TesselProgramFolder() {
  {
    auto& f = Folders();
    std::lock_guard guard(f.lock);
    if (!f.program_folder.empty()) return f.program_folder;
  }
  static const std::wstring exe_folder = ExecutableFolder();
  return exe_folder;
}

void SetTesselProgramFolder(const std::wstring& folder) {
  auto& f = Folders();
  std::lock_guard guard(f.lock);
  f.program_folder = folder;
  if (!folder.empty() && folder.back() != L'/') f.program_folder += L'/';
}

std::wstring TesselSkinFolder() {
  std::wstring theme = Manager::GetTheme();
  if (!theme.empty() && theme.back() != L'/') theme += L'/';
  return TesselProgramFolder() + L"skins/" + theme;
}

// ---------------------------------------------------------------------------
// MImageCache

MImageCache::MImageCache() = default;
MImageCache::~MImageCache() { ClearImgResInfo(); }

ImgResInfo* MImageCache::Store(std::map<std::wstring, std::unique_ptr<ImgResInfo>>& map,
                               const std::wstring& key, std::unique_ptr<MImage> image, int count) {
  auto info = std::make_unique<ImgResInfo>();
  info->count = count;
  info->frame_width = image->Width() / count;
  info->frame_height = image->Height();
  info->key = key;
  info->image = image.get();
  info->holder = std::move(image);
  ImgResInfo* raw = info.get();
  map[key] = std::move(info);
  return raw;
}

ImgResInfo* MImageCache::AddImgResInfo(const std::wstring& name, int count) {
  if (name.empty()) return nullptr;
  if (count < 1) count = 1;
  std::lock_guard guard(lock_);
  auto it = files_.find(name);
  if (it != files_.end()) return it->second.get();
  // Skin names keep the Windows separator ("icon\\tab_home.png"); the files lie in sub-folders.
  std::wstring relative = name;
  std::replace(relative.begin(), relative.end(), L'\\', L'/');
  auto image = MRender::LoadImageFromFile(TesselSkinFolder() + relative);
  if (!image) return nullptr;
  return Store(files_, name, std::move(image), count);
}

ImgResInfo* MImageCache::AddImgResInfo(int id, const std::wstring& type, int count,
                                       bool from_program) {
  if (count < 1) count = 1;
  std::lock_guard guard(lock_);
  auto& map = from_program ? program_res_ : toolkit_res_;
  const std::wstring key = L"#" + std::to_wstring(id);
  auto it = map.find(key);
  if (it != map.end()) return it->second.get();
  // The program's module is Manager's instance; a program that registered no
  // instance still reaches its registered resources.
  static const int kProgramModule = 0;
  const void* module = from_program
                           ? (Manager::GetInstance() ? Manager::GetInstance() : &kProgramModule)
                           : nullptr;
  auto image = MRender::LoadImageFromIDResource(id, type, module);
  if (!image) return nullptr;
  return Store(map, key, std::move(image), count);
}

void MImageCache::ClearImgResInfo() {
  std::lock_guard guard(lock_);
  files_.clear();
  program_res_.clear();
  toolkit_res_.clear();
}

size_t MImageCache::Size() const {
  std::lock_guard guard(lock_);
  return files_.size() + program_res_.size() + toolkit_res_.size();
}
