#include "platform/ui/PictureBounds.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform::ui {

void PixelBox::Add(long long x, long long y) {
  left = std::min(left, x);
  top = std::min(top, y);
  right = std::max(right, x);
  bottom = std::max(bottom, y);
}

PixelBox TextBoxOf(const Picture& picture, const DrawRecord& r) {
  const double angle = picture.fonts[r.font].escapement * M_PI / 1800.0;
  const double c = std::cos(angle), s = std::sin(angle);
  PixelBox box;
  for (const auto& [dx, dy] : {std::pair{0, 0}, {r.x2, 0}, {0, r.y2}, {r.x2, r.y2}})
    box.Add(std::llround(r.x1 + dx * c + dy * s), std::llround(r.y1 - dx * s + dy * c));
  return box;
}

PixelBox DrawnBounds(const Picture& picture) {
  PixelBox box;
  for (const DrawRecord& r : picture.records) {
    switch (r.op) {
      case DrawOp::Line:
        box.Add(r.x1, r.y1);
        box.Add(r.x2, r.y2);
        break;
      case DrawOp::Rectangle:
      case DrawOp::FillRect:
      case DrawOp::Invert:
        if (r.x2 <= r.x1 || r.y2 <= r.y1) break;
        box.Add(r.x1, r.y1);
        box.Add(r.x2 - 1LL, r.y2 - 1LL);
        break;
      case DrawOp::Pixel: box.Add(r.x1, r.y1); break;
      case DrawOp::Text:
        // A text without characters draws nothing.
        if (r.textLength == 0) break;
        if (const PixelBox text = TextBoxOf(picture, r); !text.Empty()) {
          box.Add(text.left, text.top);
          box.Add(text.right, text.bottom);
        }
        break;
    }
  }
  return box;
}

Picture CutToDrawing(const Picture& picture) {
  Picture cut = picture;
  const PixelBox box = DrawnBounds(picture);
  if (box.Empty()) {
    cut.caps.width = cut.caps.height = 0;
    return cut;
  }
  const auto moveX = [&box](std::int32_t& x) { x = Clamp32(x - box.left); };
  const auto moveY = [&box](std::int32_t& y) { y = Clamp32(y - box.top); };
  for (DrawRecord& r : cut.records) {
    moveX(r.x1);
    moveY(r.y1);
    // Pixels and texts keep only their corner in (x1, y1).
    if (r.op != DrawOp::Pixel && r.op != DrawOp::Text) {
      moveX(r.x2);
      moveY(r.y2);
    }
  }
  for (CRect& clip : cut.clips) {
    moveX(clip.left);
    moveY(clip.top);
    moveX(clip.right);
    moveY(clip.bottom);
  }
  cut.caps.width = Clamp32(box.right - box.left + 1);
  cut.caps.height = Clamp32(box.bottom - box.top + 1);
  return cut;
}

}  // namespace platform::ui
