#pragma once
// The raster canvas: a drawing context that renders into an image and writes
// it as PNG. It draws with QPainter (so it needs no display: it starts an
// offscreen Qt application when none runs), yet its header keeps Qt out of
// the code that uses it.
#include <memory>
#include <string_view>

#include "platform/ui/DC.h"

namespace platform::qt {

class RasterCanvas : public CDC {
 public:
  RasterCanvas(int width, int height, COLORREF background = RGB(255, 255, 255), int dpi = 96);
  ~RasterCanvas() override;

  [[nodiscard]] int Width() const;
  [[nodiscard]] int Height() const;
  [[nodiscard]] COLORREF PixelAt(int x, int y) const;
  // Writes the image as PNG to a program path; false when it cannot be written.
  bool SavePng(std::string_view path);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Starts a Qt application for the process if none runs (offscreen when there
// is no display).
void EnsureQtApplication();

}  // namespace platform::qt
