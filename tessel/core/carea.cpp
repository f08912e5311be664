#include "tessel/core/carea.h"

#include "tessel/core/render.h"

CArea::CArea(MObject* parent, unsigned id, const MRect& rect, int visible, int enabled)
    : MControl(parent, id, rect, visible, enabled, 1) {}

CArea::~CArea() = default;

void CArea::DrawControl(cairo_t* cr, const MRect& paint) { DrawThroughCache(cr, paint); }

void CArea::SetTransparent(int start_alpha, int end_alpha, COLORREF fill_colour) {
  start_alpha_ = start_alpha;
  end_alpha_ = end_alpha;
  fill_colour_ = fill_colour;
  cache_valid_ = 0;
  if (visible_) UpdateControl(1);
}

void CArea::SetFrame(int frame, ARGB frame_colour, int) {
  frame_ = frame;
  frame_colour_ = frame_colour;
  cache_valid_ = 0;
  if (visible_) UpdateControl(1);
}

void CArea::SetOrientation(int orientation) {
  orientation_ = orientation;
  cache_valid_ = 0;
  if (visible_) UpdateControl(1);
}

void CArea::BuildCache(cairo_t* cache, cairo_t* target) {
  const int w = rect_.Width();
  const int h = rect_.Height();
  const MRect local(0, 0, w, h);

  // What is already painted under the area.
  if (target != nullptr) {
    double x = rect_.left;
    double y = rect_.top;
    cairo_user_to_device(target, &x, &y);
    cairo_surface_t* below = cairo_get_target(target);
    cairo_surface_flush(below);
    cairo_save(cache);
    cairo_set_operator(cache, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cache, below, -x, -y);
    cairo_rectangle(cache, 0, 0, w, h);
    cairo_fill(cache);
    cairo_restore(cache);
  }

  if (start_alpha_ != 0 || end_alpha_ != 0) {
    cairo_surface_t* fill = MRender::CreateARGB32Bitmap(w, h);
    cairo_t* fcr = cairo_create(fill);
    MRender::FillSolidRect(fcr, local, fill_colour_);
    cairo_destroy(fcr);
    cairo_surface_flush(fill);
    if (orientation_ == 1)
      MRender::DrawVerticalTransition(cache, fill, local, local, start_alpha_, end_alpha_);
    else
      MRender::DrawHorizontalTransition(cache, fill, local, local, start_alpha_, end_alpha_);
    cairo_surface_destroy(fill);
    return;
  }
  if (frame_) {
    MRender::DrawColor(cache, local, frame_colour_);
    MRender::FillSolidRect(cache, local.Inflate(-1, -1), fill_colour_);
  } else {
    MRender::FillSolidRect(cache, local, fill_colour_);
  }
}
