#include "tessel/core/mcontrol_font.h"

#include "tessel/core/manager.h"

MControlFont::MControlFont(MObject* parent, unsigned id, const MRect& rect,
                           const std::wstring& title, int visible, int enabled, int response)
    : MControl(parent, id, rect, visible, enabled, response),
      title_(title),
      font_face_(Manager::GetFontName()),
      font_size_(Manager::GetFontWidth()) {}

MControlFont::~MControlFont() = default;

void MControlFont::SetTextFont(const std::wstring& face) {
  font_face_ = face;
  font_built_ = false;
}

void MControlFont::SetTextColor(ARGB colour) { text_colour_ = colour; }

int MControlFont::TakeImage(ImgResInfo* info, int count) {
  if (info != nullptr && info->image != nullptr) {
    image_ = info->image;
    image_width_ = info->image->Width();
    image_height_ = info->image->Height();
  } else {
    image_ = nullptr;
    image_width_ = 0;
    image_height_ = 0;
  }
  image_count_ = count;
  cache_valid_ = 0;
  if (visible_) UpdateControl(1);
  return image_ != nullptr ? 1 : 0;
}

int MControlFont::SetImage(int resource_id, const std::wstring& type, int count) {
  image_path_.clear();
  ImgResInfo* info = nullptr;
  if (manager_ != nullptr) {
    info = manager_->AddImgResInfo(resource_id, type, count, true);
    if (info == nullptr) info = manager_->AddImgResInfo(resource_id, type, count, false);
  }
  return TakeImage(info, count);
}

int MControlFont::SetImage(const std::wstring& path, int count) {
  image_path_ = path;
  ImgResInfo* info = manager_ != nullptr ? manager_->AddImgResInfo(path, count) : nullptr;
  return TakeImage(info, count);
}

void MControlFont::SetControlTitle(const std::wstring& title) { title_ = title; }

std::wstring MControlFont::GetControlTitle() const { return title_; }

void MControlFont::SetTitle(const std::wstring& title) {
  SetControlTitle(title);
  cache_valid_ = 0;
  if (visible_) UpdateControl(1);
}

void MControlFont::SetAlignment(int horizontal) {
  h_align_ = horizontal;
  cache_valid_ = 0;
  if (visible_) UpdateControl(1);
}

void MControlFont::SetVAlignment(int vertical) {
  v_align_ = vertical;
  cache_valid_ = 0;
  if (visible_) UpdateControl(1);
}

void MControlFont::SetFont(const std::wstring& face, int size, int style) {
  font_face_ = face;
  font_size_ = size;
  font_style_ = style;
  font_built_ = false;
}

void MControlFont::SetFontWidth(int size) {
  font_size_ = size;
  font_built_ = false;
}

void MControlFont::SetFontStyle(int style) {
  font_style_ = style;
  font_built_ = false;
}

std::wstring MControlFont::GetFontFamily(const std::wstring& face) const {
  if (manager_ == nullptr) return std::wstring();
  return face == Manager::GetFontName() ? face : std::wstring();
}

const MFont& MControlFont::GetGDIFont() {
  if (!font_built_) {
    font_.face = font_face_;
    font_.size = font_size_;
    font_.style = font_style_;
    font_built_ = true;
  }
  return font_;
}
