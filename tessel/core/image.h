#pragma once
// Skin images and the per-window image cache.
//
// An MImage is a decoded picture held as Cairo ARGB32 (premultiplied) image
// surfaces, one per frame of the time dimension (GIF animations have several,
// every other picture one). Images are decoded by gdk-pixbuf (PNG, JPEG, GIF,
// ICO, BMP ...). The skin folder is <program folder>/skins/<Manager::GetTheme()>,
// where the program folder is the folder of the running executable, read from
// /proc/self/exe, unless the program (or a test) sets it with SetProgramFolder.
#include <cairo.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tessel/core/export.h"

class TESSEL_API MImage {
 public:
  // Takes ownership of the surfaces (ARGB32 image surfaces of one size); delays in ms.
  MImage(std::vector<cairo_surface_t*> frames, std::vector<int> delays_ms);
  ~MImage();
  MImage(const MImage&) = delete;
  MImage& operator=(const MImage&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The surface of the active frame (borrowed).
  cairo_surface_t* Surface() const { return frames_[active_]; }
  cairo_surface_t* FrameSurface(int index) const;
  // Frames of the time dimension; 1 for a still picture.
  int FrameCount() const { return static_cast<int>(frames_.size()); }
  int FrameDelayMs(int index) const;
  // Makes a frame the active one (GDI+ SelectActiveFrame); false when out of range.
  bool SelectActiveFrame(int index);
  int ActiveFrame() const { return active_; }

  // A source piece for nine-grid drawing: a copy of the rectangle (x, y, w, h) of
  // the active frame in a pattern with EXTEND_PAD, so that stretched pieces never
  // sample outside their piece, and what is known about its pixels (uniform rows
  // or columns stretch exactly with the fast nearest filter; a single-colour piece
  // is a solid fill). Cached per image; borrowed. Null outside the image.
  struct Piece {
    cairo_pattern_t* pattern = nullptr;
    bool rows_uniform = false;  // every row is one colour
    bool cols_uniform = false;  // every column is one colour
  };
  const Piece* GetPiece(int x, int y, int w, int h) const;

 private:
  std::vector<cairo_surface_t*> frames_;
  std::vector<int> delays_;
  int width_ = 0;
  int height_ = 0;
  int active_ = 0;
  mutable std::mutex piece_lock_;
  mutable std::map<uint64_t, Piece> pieces_;
};

// An entry of a window's image cache.
struct ImgResInfo {
  MImage* image = nullptr;  // owned by the cache
  int frame_width = 0;      // image width / count (integer division)
  int frame_height = 0;     // image height
  int count = 1;
  std::wstring key;         // file name, or "#<id>" for resources
  std::unique_ptr<MImage> holder;  // owns image
};

// Program folder (ends with '/'): the executable's folder unless set.
TESSEL_API std::wstring TesselProgramFolder();
// Sets the program folder (a trailing '/' is added); an empty text goes back to
// the executable's folder.
TESSEL_API void SetTesselProgramFolder(const std::wstring& folder);
// <program folder>skins/<theme>, ending with '/'.
TESSEL_API std::wstring TesselSkinFolder();

// Resources of the program module (Windows' FindResource on Manager's instance):
// the program registers bytes under an id and type name before asking for them.
TESSEL_API void RegisterProgramResource(int id, const std::wstring& type, std::vector<uint8_t> bytes);

// The image cache of one paint manager. Thread-safe.
class TESSEL_API MImageCache {
 public:
  MImageCache();
  ~MImageCache();
  MImageCache(const MImageCache&) = delete;
  MImageCache& operator=(const MImageCache&) = delete;

  // Skin folder + name. A cached name answers its first entry (first count wins);
  // a failed load answers null and is not remembered. Count below 1 counts as 1.
  ImgResInfo* AddImgResInfo(const std::wstring& name, int count);
  // A resource image: of the program (from_program) or of the toolkit (101, 102).
  ImgResInfo* AddImgResInfo(int id, const std::wstring& type, int count, bool from_program);
  // Frees every cached image.
  void ClearImgResInfo();
  size_t Size() const;

 private:
  ImgResInfo* Store(std::map<std::wstring, std::unique_ptr<ImgResInfo>>& map,
                    const std::wstring& key, std::unique_ptr<MImage> image, int count);
  mutable std::mutex lock_;
  std::map<std::wstring, std::unique_ptr<ImgResInfo>> files_;
  std::map<std::wstring, std::unique_ptr<ImgResInfo>> program_res_;
  std::map<std::wstring, std::unique_ptr<ImgResInfo>> toolkit_res_;
};
