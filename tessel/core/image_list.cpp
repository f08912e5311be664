#include "tessel/core/image_list.h"

#include <algorithm>

#include "tessel/core/render.h"

MImageList::MImageList() = default;
MImageList::~MImageList() { DelAllImages(); }

int MImageList::AddImage(const std::wstring& path, int id, int count) {
  return InsertImage(-1, path, id, count);
}

int MImageList::InsertImage(int index, const std::wstring& path, int id, int count) {
  if (path.empty() || index < -1) return -1;
  {
    std::lock_guard guard(lock_);
    if (index >= static_cast<int>(entries_.size())) return -1;
  }
  auto image = MRender::LoadImageFromFile(path);
  if (!image) return -1;
  if (count < 1) count = 1;
  auto entry = std::make_unique<MImageListEntry>();
  entry->frame_width = image->Width() / count;
  entry->height = image->Height();
  entry->id = id;
  entry->count = count;
  entry->path = path;
  entry->image = std::move(image);
  std::lock_guard guard(lock_);
  if (index == -1) {
    entries_.push_back(std::move(entry));
    return static_cast<int>(entries_.size()) - 1;
  }
  if (index > static_cast<int>(entries_.size())) return -1;
  entries_.insert(entries_.begin() + index, std::move(entry));
  return -1;  // as designed: an insertion at an index answers -1
}

void MImageList::DrawItemIcon(cairo_t* cr, MRect rect, int index) { DrawItemIcon(cr, rect, index, 0); }

void MImageList::DrawItemIcon(cairo_t* cr, MRect rect, int index, int state) {
  std::lock_guard guard(lock_);
  if (!cr || index < 0 || index >= static_cast<int>(entries_.size())) return;
  const MImageListEntry& e = *entries_[index];
  if (!e.image || e.frame_width <= 0) return;
  const int frame = std::clamp(state, 0, e.count - 1);
  MRender::DrawImage(cr, e.image.get(), rect, frame * e.frame_width, 0, e.frame_width, e.height);
}

void MImageList::SetDrawImgSize(int width, int height) {
  std::lock_guard guard(lock_);
  draw_width_ = width;
  draw_height_ = height;
}

MSize MImageList::GetIconSize() const {
  std::lock_guard guard(lock_);
  return MSize(draw_width_, draw_height_);
}

const MImageListEntry* MImageList::GetItemImageData(int index) const {
  std::lock_guard guard(lock_);
  if (index < 0 || index >= static_cast<int>(entries_.size())) return nullptr;
  return entries_[index].get();
}

const MImageListEntry* MImageList::GetImageDataByID(int id) const {
  std::lock_guard guard(lock_);
  for (const auto& e : entries_)
    if (e->id == id) return e.get();
  return nullptr;
}

// The path is copied under the lock: another thread may delete the entries right after.
std::wstring MImageList::GetImagePath(int index) const {
  std::lock_guard guard(lock_);
  if (index < 0 || index >= static_cast<int>(entries_.size())) return std::wstring();
  return entries_[index]->path;
}

std::wstring MImageList::GetImagePathByID(int id) const {
  std::lock_guard guard(lock_);
  for (const auto& e : entries_)
    if (e->id == id) return e->path;
  return std::wstring();
}

int MImageList::GetImageCount() const {
  std::lock_guard guard(lock_);
  return static_cast<int>(entries_.size());
}

void MImageList::DelAllImages() {
  std::lock_guard guard(lock_);
  entries_.clear();
}
