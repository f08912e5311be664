#pragma once
// MImageList: an icon list. Thread-safe.
#include <cairo.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tessel/core/export.h"
#include "tessel/core/geometry.h"
#include "tessel/core/image.h"

// An entry (_M_IAMGELIST).
struct MImageListEntry {
  std::unique_ptr<MImage> image;
  int frame_width = 0;  // image width / count
  int height = 0;
  int id = 0;
  int count = 1;
  std::wstring path;
};

class TESSEL_API MImageList {
 public:
  MImageList();
  ~MImageList();
  MImageList(const MImageList&) = delete;
  MImageList& operator=(const MImageList&) = delete;

  // InsertImage(-1, ...): the new index, or -1 when the image does not load.
  int AddImage(const std::wstring& path, int id, int count);
  // Index -1 appends and answers the new index; another valid index inserts there
  // and answers -1 (as designed, although it succeeded). A null (empty) path, an
  // index below -1 or past the last entry, or a failed load answer -1.
  int InsertImage(int index, const std::wstring& path, int id, int count);
  // Frame 0 of the entry stretched into rect; nothing for a bad index.
  void DrawItemIcon(cairo_t* cr, MRect rect, int index);
  // Frame min(state, count - 1): a state at or past the count shows the last frame.
  void DrawItemIcon(cairo_t* cr, MRect rect, int index, int state);
  void SetDrawImgSize(int width, int height);
  MSize GetIconSize() const;
  // Borrowed entries; null when out of range / unknown.
  const MImageListEntry* GetItemImageData(int index) const;
  const MImageListEntry* GetImageDataByID(int id) const;
  std::wstring GetImagePath(int index) const;
  std::wstring GetImagePathByID(int id) const;
  int GetImageCount() const;
  void DelAllImages();

 private:
  mutable std::mutex lock_;
  std::vector<std::unique_ptr<MImageListEntry>> entries_;
  int draw_width_ = 0;
  int draw_height_ = 0;
};
