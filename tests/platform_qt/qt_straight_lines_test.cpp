// One-pixel horizontal and vertical lines go straight into the raster
// canvas's image: each sets its pixels from its start up to, not including,
// its end, whichever way it runs, and nothing outside the image.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/qt/RasterCanvas.h"

namespace {

TEST(RasterStraightLinesTest, LinesSetTheirPixelsUpToTheirEndAndClipAtTheImage) {
  const COLORREF ink = RGB(10, 20, 30);
  const struct {
    int x1, y1, x2, y2;
    std::set<std::pair<int, int>> pixels;
  } lines[] = {
      {2, 3, 6, 3, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}},
      {6, 4, 2, 4, {{6, 4}, {5, 4}, {4, 4}, {3, 4}}},
      {-5, 5, 2, 5, {{0, 5}, {1, 5}}},
      {12, 6, 13, 6, {}},          // wholly right of the image
      {9, 7, 40, 7, {{9, 7}}},
      {1, -3, 1, 2, {{1, 0}, {1, 1}}},
      {8, 9, 8, 7, {{8, 9}, {8, 8}}},
      {3, 8, 3, 8, {}},            // no length
      {-1, 0, -1, 9, {}},          // left of the image
  };
  for (const auto& line : lines) {
    platform::qt::RasterCanvas canvas(10, 10);
    CPen pen(PS_SOLID, 1, ink);
    canvas.SelectObject(&pen);
    canvas.MoveTo(line.x1, line.y1);
    canvas.LineTo(line.x2, line.y2);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x)
        EXPECT_EQ(canvas.PixelAt(x, y) == ink, line.pixels.count({x, y}) == 1)
            << line.x1 << "," << line.y1 << " to " << line.x2 << "," << line.y2 << " at " << x << "," << y;
  }
}

}  // namespace
