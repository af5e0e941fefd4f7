#pragma once
// The device pixels a recorded picture draws on: the bounds an enhanced
// metafile states for it, and the picture cut to them, as a program that
// pastes the metafile shows it.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/ui/RecordingCanvas.h"

namespace platform::ui {

// A 64-bit pixel coordinate held in the 32 bits records and metafiles have.
[[nodiscard]] inline std::int32_t Clamp32(long long v) {
  return std::int32_t(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

// Pixels from (left, top) to (right, bottom), both corners inside; empty
// while nothing was added.
struct PixelBox {
  long long left = LLONG_MAX, top = LLONG_MAX, right = LLONG_MIN, bottom = LLONG_MIN;
  void Add(long long x, long long y);
  [[nodiscard]] bool Empty() const { return left > right; }
};

// The box of text record `r`: its box turned about its corner by the
// escapement of its font.
[[nodiscard]] PixelBox TextBoxOf(const Picture& picture, const DrawRecord& r);
// The pixels every record draws on: both ends of lines, the pixels inside
// rectangles, fills and inversions, set pixels and the boxes of texts.
[[nodiscard]] PixelBox DrawnBounds(const Picture& picture);
// `picture` moved so that the top-left corner of its drawn bounds lies at
// (0, 0), on a device just as large as they are (0 by 0 when nothing is drawn).
[[nodiscard]] Picture CutToDrawing(const Picture& picture);

}  // namespace platform::ui
