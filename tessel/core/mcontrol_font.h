#pragma once
// A control with a title text, a font, text colour and alignment, and one skin image
// holding its state pictures; the base of the concrete controls.
#include <string>

#include "tessel/core/colour.h"
#include "tessel/core/export.h"
#include "tessel/core/image.h"
#include "tessel/core/mcontrol.h"
#include "tessel/core/render.h"

class TESSEL_API MControlFont : public MControl {
 public:
  MControlFont(MObject* parent, unsigned id, const MRect& rect, const std::wstring& title = L"",
               int visible = 1, int enabled = 1, int response = 1);
  ~MControlFont() override;

  // ---- Virtual operations added by this class ---------------------------------------------
  // Face name of the text (drops the cached font).
  virtual void SetTextFont(const std::wstring& face);
  // ARGB text colour.
  virtual void SetTextColor(ARGB colour);
  // The picture from a resource (of the program, or the toolkit's own when the program has
  // none of that id) or from a skin file, through the window's image cache; count pictures
  // stacked in it. Answers 1 when it loaded; redraws when visible either way.
  virtual int SetImage(int resource_id, const std::wstring& type, int count);
  virtual int SetImage(const std::wstring& path, int count);
  virtual void SetControlTitle(const std::wstring& title);
  virtual std::wstring GetControlTitle() const;

  // ---- Text -------------------------------------------------------------------------------
  // SetControlTitle, then a redraw (redraw 1) when visible.
  void SetTitle(const std::wstring& title);
  const std::wstring& GetTitle() const { return title_; }
  // Horizontal 0 left, 1 centre, 2 right; vertical 0 top, 4 centre, 8 bottom.
  void SetAlignment(int horizontal);
  void SetVAlignment(int vertical);
  int GetAlignment() const { return h_align_; }
  int GetVAlignment() const { return v_align_; }
  ARGB GetTextColor() const { return text_colour_; }
  void SetFont(const std::wstring& face, int size, int style);
  const std::wstring& GetTextFont() const { return font_face_; }
  void SetFontWidth(int size);
  int GetFontWidth() const { return font_size_; }
  void SetFontStyle(int style);
  int GetFontStyle() const { return font_style_; }
  void SetTextRenderingHint(int hint) { rendering_hint_ = hint; }
  int GetTextRenderingHint() const { return rendering_hint_; }
  // The face of the window's private font when it is the toolkit face, else empty.
  std::wstring GetFontFamily(const std::wstring& face) const;
  // The font the text is drawn with (face, size in pixels, style bits); built once.
  const MFont& GetGDIFont();
  void ClearGDIFont() { font_built_ = false; }

  // ---- Image ------------------------------------------------------------------------------
  const std::wstring& GetImagePath() const { return image_path_; }
  // Width and height of the whole image (0, 0 without one).
  MSize GetImageSize() const { return MSize(image_width_, image_height_); }
  void SetImageCount(int count) { image_count_ = count; }
  int GetImageCount() const { return image_count_; }
  // Borrowed from the window's image cache; null without a picture.
  MImage* GetImage() const { return image_; }

 protected:
  // Stores the loaded picture (or none) and redraws.
  int TakeImage(ImgResInfo* info, int count);

  std::wstring title_;
  std::wstring font_face_;
  std::wstring image_path_;
  int font_size_ = 14;
  ARGB text_colour_ = 0xFFFFFFFF;
  int font_style_ = 0;
  std::wstring font_family_;
  int h_align_ = 0;
  int v_align_ = 4;
  int rendering_hint_ = 5;
  MFont font_;
  bool font_built_ = false;
  MImage* image_ = nullptr;
  int image_width_ = 0;
  int image_height_ = 0;
  int image_count_ = 4;
};
