#pragma once
// Geometry of the toolkit: rectangle, point and size with 32-bit signed members,
// passed by value across the library boundary.
//
// MRect follows the Windows RECT convention: right and bottom are exclusive, so a
// rectangle covers the pixels x in [left, right) and y in [top, bottom).
#include <algorithm>
#include <cstdint>

struct MPoint {
  int32_t x = 0;
  int32_t y = 0;

  constexpr MPoint() = default;
  constexpr MPoint(int32_t px, int32_t py) : x(px), y(py) {}
  friend constexpr bool operator==(MPoint a, MPoint b) { return a.x == b.x && a.y == b.y; }
  friend constexpr bool operator!=(MPoint a, MPoint b) { return !(a == b); }
};

struct MSize {
  int32_t cx = 0;
  int32_t cy = 0;

  constexpr MSize() = default;
  constexpr MSize(int32_t w, int32_t h) : cx(w), cy(h) {}
  friend constexpr bool operator==(MSize a, MSize b) { return a.cx == b.cx && a.cy == b.cy; }
  friend constexpr bool operator!=(MSize a, MSize b) { return !(a == b); }
};

struct MRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  constexpr MRect() = default;
  constexpr MRect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}
  // From position and size.
  static constexpr MRect FromXYWH(int32_t x, int32_t y, int32_t w, int32_t h) {
    return MRect(x, y, x + w, y + h);
  }

  constexpr int32_t Width() const { return right - left; }
  constexpr int32_t Height() const { return bottom - top; }
  constexpr MSize Size() const { return MSize(Width(), Height()); }
  constexpr MPoint TopLeft() const { return MPoint(left, top); }
  constexpr MPoint BottomRight() const { return MPoint(right, bottom); }
  // True when the rectangle covers no pixel (IsRectEmpty).
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  // PtInRect: left and top inclusive, right and bottom exclusive.
  constexpr bool Contains(MPoint p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  constexpr bool Contains(int32_t x, int32_t y) const { return Contains(MPoint(x, y)); }
  // True when the two rectangles share at least one pixel.
  constexpr bool Intersects(const MRect& o) const {
    return !IsEmpty() && !o.IsEmpty() && left < o.right && o.left < right && top < o.bottom &&
           o.top < bottom;
  }
  // IntersectRect: the common part, or an empty (all zero) rectangle.
  constexpr MRect Intersect(const MRect& o) const {
    MRect r(std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom));
    return r.IsEmpty() ? MRect() : r;
  }
  // UnionRect: the smallest rectangle covering both; an empty side is ignored.
  constexpr MRect Union(const MRect& o) const {
    if (IsEmpty()) return o.IsEmpty() ? MRect() : o;
    if (o.IsEmpty()) return *this;
    return MRect(std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                 std::max(bottom, o.bottom));
  }
  // OffsetRect.
  constexpr MRect Offset(int32_t dx, int32_t dy) const {
    return MRect(left + dx, top + dy, right + dx, bottom + dy);
  }
  // InflateRect (negative values deflate).
  constexpr MRect Inflate(int32_t dx, int32_t dy) const {
    return MRect(left - dx, top - dy, right + dx, bottom + dy);
  }
  friend constexpr bool operator==(const MRect& a, const MRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
  friend constexpr bool operator!=(const MRect& a, const MRect& b) { return !(a == b); }
};
