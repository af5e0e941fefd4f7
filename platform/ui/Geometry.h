#pragma once
// Points, sizes, rectangles and colours in the framework's shape. Rectangles
// exclude their right and bottom edges, as every drawing call here does.
#include <algorithm>
#include <cstdint>

#include "platform/Types.h"

struct POINT {
  LONG x = 0;
  LONG y = 0;
};
struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
};
struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

class CPoint : public POINT {
 public:
  constexpr CPoint() = default;
  constexpr CPoint(LONG x0, LONG y0) : POINT{x0, y0} {}
  constexpr CPoint(POINT p) : POINT(p) {}
  void Offset(LONG dx, LONG dy) { x += dx; y += dy; }
  friend constexpr bool operator==(const CPoint& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
  constexpr CPoint operator+(const CPoint& o) const { return {x + o.x, y + o.y}; }
  constexpr CPoint operator-(const CPoint& o) const { return {x - o.x, y - o.y}; }
};

class CSize : public SIZE {
 public:
  constexpr CSize() = default;
  constexpr CSize(LONG cx0, LONG cy0) : SIZE{cx0, cy0} {}
  constexpr CSize(SIZE s) : SIZE(s) {}
  friend constexpr bool operator==(const CSize& a, const CSize& b) { return a.cx == b.cx && a.cy == b.cy; }
};

class CRect : public RECT {
 public:
  constexpr CRect() = default;
  constexpr CRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
  constexpr CRect(const RECT& r) : RECT(r) {}
  constexpr CRect(CPoint topLeft, CSize size)
      : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}

  [[nodiscard]] constexpr LONG Width() const { return right - left; }
  [[nodiscard]] constexpr LONG Height() const { return bottom - top; }
  [[nodiscard]] constexpr CSize Size() const { return {Width(), Height()}; }
  [[nodiscard]] constexpr CPoint TopLeft() const { return {left, top}; }
  [[nodiscard]] constexpr CPoint BottomRight() const { return {right, bottom}; }
  [[nodiscard]] constexpr CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }
  [[nodiscard]] constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
  [[nodiscard]] constexpr bool PtInRect(POINT p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  void SetRect(LONG l, LONG t, LONG r, LONG b) { left = l; top = t; right = r; bottom = b; }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void OffsetRect(LONG dx, LONG dy) { left += dx; right += dx; top += dy; bottom += dy; }
  void InflateRect(LONG dx, LONG dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
  void NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  friend constexpr bool operator==(const CRect& a, const CRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};

// 0x00BBGGRR, as the program's settings store colours.
using COLORREF = DWORD;
constexpr COLORREF RGB(int r, int g, int b) {
  return COLORREF(BYTE(r)) | (COLORREF(BYTE(g)) << 8) | (COLORREF(BYTE(b)) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE((c >> 16) & 0xFF); }
